#include "app/dictionary_menu.h"

#include "app/menu_commands.h"
#include "app/settings.h"

namespace lexora {

namespace {

bool inRange(int32_t index, int32_t count) { return index >= 0 && index < count; }

}  // namespace

int32_t usedSlots(int32_t totalDict) {
  if (totalDict < 0) return 0;
  return totalDict > kMaxDictionaries ? kMaxDictionaries : totalDict;
}

std::vector<DictionaryMenuItem> buildDictionaryMenu(const std::vector<std::u16string>& titles,
                                                    int32_t workingIndex, int32_t reverseIndex) {
  const int32_t count = static_cast<int32_t>(titles.size());
  std::vector<DictionaryMenuItem> items;
  items.reserve(titles.size() * 2 + 1);
  for (int32_t k = 0; k < count; ++k) {
    items.push_back({kDictMenuWorkingBase + k, titles[k], false, k == workingIndex});
  }
  items.push_back({kDictMenuSeparator, u"-", true, false});
  for (int32_t k = 0; k < count; ++k) {
    items.push_back({kDictMenuReverseBase + k, titles[k], false, k == reverseIndex});
  }
  return items;
}

DictionaryChoice applyDictionaryChoice(int result, int32_t totalDict, int32_t& workingIndex,
                                       int32_t& reverseIndex) {
  totalDict = usedSlots(totalDict);
  if (result >= kDictMenuReverseBase) {
    if (!inRange(result - kDictMenuReverseBase, totalDict)) return DictionaryChoice::kNothing;
    reverseIndex = result - kDictMenuReverseBase;
    return DictionaryChoice::kReverse;
  }
  if (!inRange(result - kDictMenuWorkingBase, totalDict)) return DictionaryChoice::kNothing;
  workingIndex = result - kDictMenuWorkingBase;
  return DictionaryChoice::kWorking;
}

void runDictionaryMenu(int32_t totalDict, int32_t& workingIndex, int32_t& reverseIndex,
                       const DictionaryMenuEffects& effects) {
  totalDict = usedSlots(totalDict);
  if (totalDict == 0) {
    if (effects.runDictionariesCommand) effects.runDictionariesCommand();
    return;
  }
  if (effects.enableSelectButton) effects.enableSelectButton(false);
  std::vector<std::u16string> titles;
  titles.reserve(static_cast<size_t>(totalDict));
  for (int32_t k = 0; k < totalDict; ++k) {
    titles.push_back(effects.title ? effects.title(k) : std::u16string());
  }
  const int result =
      effects.trackMenu ? effects.trackMenu(buildDictionaryMenu(titles, workingIndex, reverseIndex))
                        : 0;
  if (effects.enableSelectButton) effects.enableSelectButton(true);
  if (applyDictionaryChoice(result, totalDict, workingIndex, reverseIndex) ==
          DictionaryChoice::kWorking &&
      effects.setWordListCount) {
    effects.setWordListCount(effects.wordCount ? effects.wordCount(workingIndex) : 0);
  }
}

void reopenAfterDictionariesDialog(bool accepted, ReopenTarget target,
                                   const std::function<OpenedDictionaries()>& openAll,
                                   const DictionaryMenuEffects& effects) {
  if (!accepted) return;
  *target.workingIndex = -1;
  *target.reverseIndex = -1;
  *target.currentEntryIndex = -1;
  if (effects.setWordListCount) effects.setWordListCount(0);
  if (openAll) {
    const OpenedDictionaries opened = openAll();
    *target.workingIndex = opened.workingDictIndex;
    *target.reverseIndex = opened.reverseDictIndex;
  }
  uint32_t count = 0;
  if (*target.workingIndex != -1 && effects.wordCount) {
    count = effects.wordCount(*target.workingIndex);
  }
  if (effects.setWordListCount) effects.setWordListCount(count);
}

}  // namespace lexora
