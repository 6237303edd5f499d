#pragma once
// The entry that "Modify Meaning", "Modify Word" and "Delete Word" act on: the entry the
// person sees in the main window, and only when it came from the working dictionary. A page
// from any other dictionary, or a change of the working dictionary, leaves no target, so an
// edit can never land on an entry of the working dictionary that merely shares a position
// with the page on screen.

#include <cstdint>

namespace lexora {

struct EditTarget {
  int32_t dictionaryIndex = -1;
  int32_t entryIndex = -1;

  bool operator==(const EditTarget&) const = default;
};

// The target after entry `position` of dictionary `shownDictionary` was shown. A popup leaves
// the main window's page, and so the target, as it was.
inline EditTarget editTargetAfterShowing(EditTarget current, int32_t shownDictionary,
                                         uint32_t position, bool inMainWindow,
                                         int32_t workingDictIndex) {
  if (!inMainWindow) return current;
  if (shownDictionary < 0 || shownDictionary != workingDictIndex) return EditTarget{};
  return EditTarget{shownDictionary, static_cast<int32_t>(position)};
}

// The entry of the working dictionary the edit commands may act on, -1 for none.
inline int32_t editableEntry(const EditTarget& target, int32_t workingDictIndex) {
  if (target.dictionaryIndex < 0 || target.dictionaryIndex != workingDictIndex) return -1;
  return target.entryIndex;
}

}  // namespace lexora
