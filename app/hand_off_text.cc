#include "app/hand_off_text.h"

#include "app/lookup_flow.h"

namespace lexora {

std::optional<std::u16string> handOffWord(std::u16string_view clipboardText) {
  std::u16string word = normaliseLookupWord(clipboardText);
  // The normalised word is trimmed, but "_" became a space inside it.
  for (char16_t c : word) {
    if (c != u' ') return word;
  }
  return std::nullopt;
}

}  // namespace lexora
