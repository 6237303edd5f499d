#include "lexicon/word_folding.h"

#include <algorithm>
#include <array>
#include <numeric>

#include "engine/collation.h"

namespace lexora {
namespace {

// The Western European order as a table: the units 0..255 sorted by the order itself and
// numbered by their class of equal units, so that the table agrees with compareWords.
const std::array<char16_t, 256>& latin1Classes() {
  static const std::array<char16_t, 256> classes = [] {
    std::array<char16_t, 256> units;
    std::iota(units.begin(), units.end(), char16_t{0});
    const auto compare = [](char16_t a, char16_t b) {
      return compareWords(kLatin1, std::u16string_view(&a, 1), std::u16string_view(&b, 1),
                          CompareForm::Full);
    };
    std::stable_sort(units.begin(), units.end(),
                     [&](char16_t a, char16_t b) { return compare(a, b) < 0; });
    std::array<char16_t, 256> out{};
    char16_t number = 0;
    for (size_t i = 0; i < units.size(); ++i) {
      if (i > 0 && compare(units[i - 1], units[i]) != 0) ++number;
      out[units[i]] = number;
    }
    return out;
  }();
  return classes;
}

// towlowerUnit for every unit, worked out once: folding long meanings calls it per unit.
const std::u16string& lowerTable() {
  static const std::u16string table = [] {
    std::u16string t(0x10000, u'\0');
    for (uint32_t u = 0; u < 0x10000; ++u) t[u] = towlowerUnit(static_cast<char16_t>(u));
    return t;
  }();
  return table;
}

char16_t cyrillicLower(char16_t u) {
  if (u >= 0x0410 && u <= 0x042F) return static_cast<char16_t>(u + 0x20);
  if (u == 0x0401) return 0x0451;
  return u;
}

}  // namespace

WordFolding::WordFolding(uint32_t collation) : collation_(collation) {
  if (collation_ == kLatin1) latin1Classes();
  if (collation_ == kVietnamese) lowerTable();
}

char16_t WordFolding::fold(char16_t unit) const {
  switch (collation_) {
    case kLatin1:
      return unit < 256 ? latin1Classes()[unit] : unit;
    case kCyrillic:
      return cyrillicLower(unit);
    case kVietnamese:
      return lowerTable()[unit];
    default:
      return unit;
  }
}

void WordFolding::foldInto(std::u16string_view text, std::u16string& out) const {
  out.resize(text.size());
  switch (collation_) {
    case kLatin1: {
      const std::array<char16_t, 256>& classes = latin1Classes();
      for (size_t i = 0; i < text.size(); ++i) {
        const char16_t u = text[i];
        out[i] = u < 256 ? classes[u] : u;
      }
      return;
    }
    case kCyrillic:
      for (size_t i = 0; i < text.size(); ++i) out[i] = cyrillicLower(text[i]);
      return;
    case kVietnamese: {
      const std::u16string& lower = lowerTable();
      for (size_t i = 0; i < text.size(); ++i) out[i] = lower[text[i]];
      return;
    }
    default:
      std::copy(text.begin(), text.end(), out.begin());
      return;
  }
}

std::u16string WordFolding::fold(std::u16string_view text) const {
  std::u16string out;
  foldInto(text, out);
  return out;
}

}  // namespace lexora
