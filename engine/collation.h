#pragma once
// The four word orders a dictionary's headwords can be sorted under, and the one comparison
// that the search and the writer use.

#include <cstdint>
#include <string>
#include <string_view>

namespace lexora {

// The header's collation value. Any value other than 0, 1 and 2 means plain code-unit order.
enum CollationValue : uint32_t {
  kVietnamese = 0,
  kLatin1 = 1,
  kCyrillic = 2,
};

enum class CompareForm {
  Full,    // the order itself
  Prefix,  // 0 when word begins with key under the collation
};

// Negative, zero or positive as key sorts before, equal to or after word under `collation`.
int compareWords(uint32_t collation, std::u16string_view key, std::u16string_view word,
                 CompareForm form);

// The Vietnamese sort key: base letters coded so that plain order follows the Vietnamese
// alphabet, each syllable's tone as a digit after it.
std::u16string vietnameseKey(std::u16string_view text);

// Simple Unicode lower-case mapping of one UTF-16 unit, independent of the process locale.
char16_t towlowerUnit(char16_t unit);

}  // namespace lexora
