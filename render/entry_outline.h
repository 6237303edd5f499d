#pragma once
// An entry's lines as plain data: kind, shown text, translation and link words, with the markup
// marks removed and character references decoded, as the page shows them. Built from the markup
// walk; feeds the terminal renderer and machine output.

#include <string>
#include <string_view>
#include <vector>

#include "render/entry_markup.h"

namespace lexora {

struct OutlineLine {
  LineKind kind = LineKind::Blank;
  std::u16string text;           // headword segments, or the line's shown text before any "+"
  std::u16string pronunciation;  // headword lines: the pronunciation segments, space-separated
  std::u16string translation;    // example and idiom lines: the text after "+"
  bool hasTranslation = false;
  std::vector<std::u16string> links;  // link words in order
};

// One entry per line of the text, in order (blank lines included).
std::vector<OutlineLine> outlineEntry(std::u16string_view entryText);
// The same into `lines`, whose strings keep their memory for the next entry.
void outlineEntry(std::u16string_view entryText, std::vector<OutlineLine>& lines);

}  // namespace lexora
