#include "lexicon/loose_key.h"

#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include <array>
#include <vector>

namespace lexora {
namespace {

// What one unit becomes: up to two units, `size` of them (0: the unit is left out).
struct Replacement {
  std::array<char16_t, 2> units{};
  uint8_t size = 0;
};

bool isLeftOut(char16_t u) {
  switch (u) {
    case u' ':
    case u'\'':
    case u'-':
    case u'`':
    case 0x00A0:  // no-break space
    case 0x00AD:  // soft hyphen
    case 0x00B4:  // acute accent
    case 0x02BC:  // modifier letter apostrophe
    case 0x2010:  // hyphen
    case 0x2011:  // non-breaking hyphen
    case 0x2018:
    case 0x2019:  // right single quotation mark, the typographic apostrophe
      return true;
    default:
      return u >= 0x0300 && u <= 0x036F;  // combining marks typed apart from their letter
  }
}

// Letters that no decomposition takes apart.
const char16_t* writtenOut(char16_t u) {
  switch (u) {
    case 0x00C6:
    case 0x00E6:
      return u"ae";
    case 0x0152:
    case 0x0153:
      return u"oe";
    case 0x00DF:
    case 0x1E9E:
      return u"ss";
    case 0x0110:
    case 0x0111:
      return u"d";
    case 0x00D8:
    case 0x00F8:
      return u"o";
    case 0x0141:
    case 0x0142:
      return u"l";
    case 0x0401:
    case 0x0451:
      return u"\u0435";  // ё as е
    default:
      return nullptr;
  }
}

// Latin and Greek letters below U+2000 lose their marks: their canonical decomposition
// without the non-spacing marks. Everything else is only case folded.
Replacement replacementFor(char16_t u, const icu::Normalizer2& nfd) {
  Replacement r;
  if (u >= 0xD800 && u <= 0xDFFF) {
    r.units[0] = u;
    r.size = 1;
    return r;
  }
  if (isLeftOut(u)) return r;
  if (const char16_t* out = writtenOut(u)) {
    for (; *out != 0 && r.size < 2; ++out) r.units[r.size++] = *out;
    return r;
  }
  const bool strip = u < 0x2000 && !(u >= 0x0400 && u <= 0x052F);
  if (strip) {
    UErrorCode error = U_ZERO_ERROR;
    const icu::UnicodeString decomposed = nfd.normalize(icu::UnicodeString(UChar(u)), error);
    if (U_SUCCESS(error)) {
      for (int32_t i = 0; i < decomposed.length() && r.size < 2; ++i) {
        const UChar c = decomposed.charAt(i);
        if (u_charType(c) == U_NON_SPACING_MARK) continue;
        r.units[r.size++] = static_cast<char16_t>(u_foldCase(c, U_FOLD_CASE_DEFAULT));
      }
      return r;
    }
  }
  r.units[0] = static_cast<char16_t>(u_foldCase(u, U_FOLD_CASE_DEFAULT));
  r.size = 1;
  return r;
}

// Worked out once for every unit: a key costs one table read per unit.
const std::vector<Replacement>& replacements() {
  static const std::vector<Replacement> table = [] {
    std::vector<Replacement> t(0x10000);
    UErrorCode error = U_ZERO_ERROR;
    const icu::Normalizer2* nfd = icu::Normalizer2::getNFDInstance(error);
    for (uint32_t u = 0; u < t.size(); ++u) {
      const char16_t unit = static_cast<char16_t>(u);
      if (nfd != nullptr && U_SUCCESS(error)) {
        t[u] = replacementFor(unit, *nfd);
      } else {
        t[u].units[0] = unit;
        t[u].size = 1;
      }
    }
    return t;
  }();
  return table;
}

}  // namespace

void looseKeyInto(std::u16string_view word, std::u16string& out) {
  const std::vector<Replacement>& table = replacements();
  out.clear();
  for (char16_t u : word) {
    const Replacement& r = table[u];
    out.append(r.units.data(), r.size);
  }
}

std::u16string looseKey(std::u16string_view word) {
  std::u16string out;
  looseKeyInto(word, out);
  return out;
}

}  // namespace lexora
