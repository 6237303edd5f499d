#include "app/dictionary_opening.h"

#include <algorithm>

namespace lexora {

OpenedDictionaries openInstalledDictionaries(std::span<Dictionary> dictionarySlots,
                                             int32_t totalDict,
                                             const std::function<std::string(int32_t)>& pathOf) {
  OpenedDictionaries opened;
  const int32_t count =
      totalDict < 0 ? 0
                    : std::min<int32_t>(totalDict, static_cast<int32_t>(dictionarySlots.size()));
  for (int32_t k = 0; k < count; ++k) {
    Dictionary& slot = dictionarySlots[static_cast<size_t>(k)];
    if (slot.isOpen()) slot.closeDictionary();
    if (!slot.openDictionary(pathOf(k)).isOk()) continue;
    opened.reverseDictIndex = k;
    if (opened.workingDictIndex < 0) opened.workingDictIndex = k;
  }
  return opened;
}

}  // namespace lexora
