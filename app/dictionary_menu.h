#pragma once
// The "Select Dict" menu that chooses the working and the reverse dictionary, and the reopening
// of the installed dictionaries after the dictionaries dialog. Both work on dictionary slots
// through injected functions, so that they run without a window and without open files.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/dictionary_opening.h"

namespace lexora {

// The number of slots that `totalDict` installed dictionaries really use: a stored count above
// the ten slots is cut to ten, a negative one counts as none.
int32_t usedSlots(int32_t totalDict);

// One row of the pop-up menu.
struct DictionaryMenuItem {
  int command = 0;
  std::u16string text;  // the dictionary's title; "-" for the separator
  bool separator = false;
  bool checked = false;  // the radio mark

  bool operator==(const DictionaryMenuItem&) const = default;
};

// The menu for `titles` (one per installed dictionary, empty for a closed one): the titles with
// 1000 + K, a separator (2000), the titles again with 3000 + K. The first group marks the working
// dictionary, the second the reverse one; an index of -1 (or out of range) marks nothing.
std::vector<DictionaryMenuItem> buildDictionaryMenu(const std::vector<std::u16string>& titles,
                                                    int32_t workingIndex, int32_t reverseIndex);

// What a choice in that menu changed.
enum class DictionaryChoice { kNothing, kWorking, kReverse };

// Applies the menu's result (0 = dismissed) for `totalDict` installed dictionaries. A result
// that names no installed dictionary (the separator, an unknown number) changes nothing.
DictionaryChoice applyDictionaryChoice(int result, int32_t totalDict, int32_t& workingIndex,
                                       int32_t& reverseIndex);

// The window's side of the "Select Dict" button. Empty functions do nothing.
struct DictionaryMenuEffects {
  std::function<void()> runDictionariesCommand;  // with no dictionary installed
  std::function<void(bool enabled)> enableSelectButton;
  // Shows the pop-up menu and returns the chosen command, 0 when dismissed.
  std::function<int(const std::vector<DictionaryMenuItem>& items)> trackMenu;
  std::function<std::u16string(int32_t slot)> title;
  std::function<uint32_t(int32_t slot)> wordCount;
  std::function<void(uint32_t count)> setWordListCount;
};

// The "Select Dict" button: with no installed dictionary runs the dictionaries command;
// otherwise shows the menu with the button disabled and applies the choice. A new working
// dictionary sets the word list's length; nothing else is refreshed.
void runDictionaryMenu(int32_t totalDict, int32_t& workingIndex, int32_t& reverseIndex,
                       const DictionaryMenuEffects& effects);

// The main window's state that a reopen resets.
struct ReopenTarget {
  int32_t* workingIndex;
  int32_t* reverseIndex;
  int32_t* currentEntryIndex;
};

// After the dictionaries dialog: with `accepted` false nothing changes. Otherwise the indexes
// and the current entry become -1 and the word list empty, `openAll` opens the installed
// dictionaries again with the start-up rule (openInstalledDictionaries), and the word list gets
// the working dictionary's word count (0 with none).
// REQUIRES: the pointers of `target` are non-null.
void reopenAfterDictionariesDialog(bool accepted, ReopenTarget target,
                                   const std::function<OpenedDictionaries()>& openAll,
                                   const DictionaryMenuEffects& effects);

}  // namespace lexora
