#pragma once
// Entry markup → HTML: one complete page for the viewer, or a list of fragments (one per shown
// element) for the popup bubble. Both read the display settings at each call and never fail.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "render/display_settings.h"

namespace lexora {

// A Windows colour value 0x00BBGGRR as 0xRRGGBB (the top byte is dropped).
uint32_t colourToHtml(uint32_t colour);

// The page head: a background picture, a plain body, or a background colour.
std::u16string pageHead(const DisplaySettings& settings);

// What every rendering call reads besides the entry text.
struct RenderOptions {
  const DisplaySettings& settings;
  // Folder holding the four pictures, with its trailing separator; pictures are addressed as
  // "file://" + folder + name.
  std::u16string_view programFolder;
  // Set: pronunciations use the phonetic font "Lucida Sans Unicode".
  bool unicodePronunciation = true;
  // The dictionary's resource folder with its trailing separator; media lines name files in
  // it (pictures as "file://" + folder + name, sounds as links "sound:" + name). Empty: media
  // lines show nothing.
  std::u16string_view resourceFolder = {};
  // Set: the page's first headword line ends in a link "say:" that plays the headword.
  bool speakerLink = false;
};

std::u16string renderEntryPage(std::u16string_view entryText, const RenderOptions& options);

// Empties `fragments`, then appends one fragment per shown element in display order.
void renderEntryFragments(std::u16string_view entryText, std::vector<std::u16string>& fragments,
                          const RenderOptions& options);

}  // namespace lexora
