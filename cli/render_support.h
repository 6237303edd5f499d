#pragma once
// What the render and lookup commands share: the lookup flow's word normalisation, the display
// settings and installed dictionaries taken from the settings store, the search-and-read of one
// entry, and JSON string escaping.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "render/display_settings.h"

namespace lexora {
class Dictionary;
}

namespace lexora::cli {

// Exit status when --strict finds no equal headword, or lookup finds a word nowhere.
inline constexpr int kExitNotFound = 3;

// As a lookup normalises typed or handed-over text: white space trimmed at both ends, every
// "_" and no-break space a space, every no-break hyphen a "-", every U+0301 (combining acute
// accent) dropped.
std::u16string normaliseLookupWord(std::u16string_view text);

// The user's display settings from the settings store (defaults where nothing is stored).
const DisplaySettings& cliDisplaySettings();

// The data files of the installed dictionaries, in their order.
std::vector<std::string> installedDictionaryFiles();

// The search of one word in one dictionary, and the entry at its list position.
struct EntryLookup {
  uint32_t position = 0;  // list position of the search
  int sign = 0;           // -1, 0, 1: the word sorts before, equals, after the headword there
  std::u16string headword;
  std::u16string meaning;
};

enum class LookupStatus { Found, Failed };

// REQUIRES: dictionary is open. On Failed, `why` says what went wrong.
LookupStatus lookupEntry(Dictionary& dictionary, std::u16string_view word, EntryLookup& result,
                         std::string& why);

// Appends `text` (UTF-8) as a quoted JSON string.
void appendJsonString(std::string& out, std::string_view text);
// The same for UTF-16 text.
void appendJsonText(std::string& out, std::u16string_view text);

}  // namespace lexora::cli
