#pragma once
// Opening the installed dictionaries (at start-up, and again after the dictionaries dialog):
// every slot that opens becomes the reverse dictionary, so the last one wins, and the first
// one that opens also becomes the working dictionary. Slots that fail are skipped silently;
// when none opens both indexes stay -1.

#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "engine/dictionary.h"

namespace lexora {

struct OpenedDictionaries {
  int32_t workingDictIndex = -1;
  int32_t reverseDictIndex = -1;
};

// Opens slots 0 ... totalDict - 1 (never past the end of `dictionarySlots`) from pathOf(K).
OpenedDictionaries openInstalledDictionaries(std::span<Dictionary> dictionarySlots,
                                             int32_t totalDict,
                                             const std::function<std::string(int32_t)>& pathOf);

}  // namespace lexora
