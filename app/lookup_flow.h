#pragma once
// The rules of the lookup flow that need no window: how a word handed to a lookup is cleaned,
// which dictionary a hand-off or a tapped link goes to, and where previous/next word lead.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lexora {

// Trims white space at both ends, then turns every "_" and U+00A0 (no-break space) into a
// space and every U+2011 (no-break hyphen) into "-", and drops every U+0301 (combining acute
// accent); every other character stays.
std::u16string normaliseLookupWord(std::u16string_view text);

// The first `maxChars` units of `text` (the word box's text as a search key).
std::u16string cutToChars(std::u16string_view text, uint32_t maxChars);

// LOOKUP_WORD's wParam: 1 shows the meaning in the main window; anything else as a popup.
inline bool handOffShowsInMainWindow(uint64_t wParam) { return wParam == 1; }

// LOOKUP_WORD's dictionary: a word picked out of the main program's own page (lParam 1) that
// came from the working dictionary goes to the reverse dictionary; everything else to the
// working dictionary.
int32_t handOffDictionary(int64_t lParam, bool shownFromReverse, int32_t workingDictIndex,
                          int32_t reverseDictIndex);

// A link in a page (or popup) from the reverse dictionary is looked up there again; a link in
// a working-dictionary page in the working dictionary.
inline int32_t linkDictionary(bool fromReverse, int32_t workingDictIndex,
                              int32_t reverseDictIndex) {
  return fromReverse ? reverseDictIndex : workingDictIndex;
}

// The position previous/next word moves to from the last read position, or nullopt at the
// first (previous) or last (next) word.
std::optional<uint32_t> neighbourWordPosition(uint32_t lastReadIndex, uint32_t wordCount,
                                              bool previous);

}  // namespace lexora
