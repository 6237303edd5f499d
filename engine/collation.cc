#include "engine/collation.h"

#include <locale.h>
#include <wctype.h>

#include <array>

#include "engine/collation_tables.h"

namespace lexora {
namespace {

// The locale whose case mapping towlowerUnit uses, created once for the whole process.
locale_t caseLocale() {
  static const locale_t locale = [] {
    locale_t l = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
    if (l == static_cast<locale_t>(0))
      l = newlocale(LC_CTYPE_MASK, "en_US.UTF-8", static_cast<locale_t>(0));
    return l;
  }();
  return locale;
}

// Texts are NUL-terminated by nature: an embedded NUL ends them.
std::u16string_view upToNul(std::u16string_view text) {
  const size_t nul = text.find(u'\0');
  return nul == std::u16string_view::npos ? text : text.substr(0, nul);
}

// How two texts compare once every unit both have is equal, by their lengths: in the prefix
// form only the key's length counts; a key that runs past the end of the word meets the
// word's terminator, which every (non-NUL) unit exceeds.
int byLength(size_t keyLength, size_t wordLength, CompareForm form) {
  if (keyLength == wordLength) return 0;
  if (keyLength < wordLength) return form == CompareForm::Prefix ? 0 : -1;
  return 1;
}

// A NUL ends a text. The comparisons below look for one only among the units they compare and
// right after the shorter text, rather than searching both texts before every comparison (a
// tenth of an import's sorting): past unit n, only whether a text goes on matters.
size_t lengthAfter(std::u16string_view text, size_t n) {
  return text.size() > n && text[n] == u'\0' ? n : text.size();
}

// The lengths when the first NUL met is at i, in key (a) or word (b) or both.
int endsAt(size_t i, char16_t a, char16_t b, CompareForm form) {
  return byLength(a == u'\0' ? i : i + 1, b == u'\0' ? i : i + 1, form);
}

// Compares two sequences unit by unit as unsigned values, after folding.
template <typename Fold>
int compareUnits(std::u16string_view key, std::u16string_view word, CompareForm form, Fold fold) {
  const size_t n = key.size() < word.size() ? key.size() : word.size();
  for (size_t i = 0; i < n; ++i) {
    if (key[i] == u'\0' || word[i] == u'\0') return endsAt(i, key[i], word[i], form);
    const char16_t a = fold(key[i]);
    const char16_t b = fold(word[i]);
    if (a != b) return a < b ? -1 : 1;
  }
  return byLength(lengthAfter(key, n), lengthAfter(word, n), form);
}

char16_t identity(char16_t u) { return u; }

char16_t cyrillicFold(char16_t u) {
  if (u >= 0x0410 && u <= 0x042F) return static_cast<char16_t>(u + 0x20);
  if (u == 0x0401) return 0x0451;
  return u;
}

int compareLatin1(std::u16string_view key, std::u16string_view word, CompareForm form) {
  const std::array<uint8_t, 256>& weight = latin1LoweredWeights();
  const size_t n = key.size() < word.size() ? key.size() : word.size();
  for (size_t i = 0; i < n; ++i) {
    const char16_t a = key[i];
    const char16_t b = word[i];
    if (a == u'\0' || b == u'\0') return endsAt(i, a, b, form);
    if (a >= 256 || b >= 256) {
      if (a != b) return a < b ? -1 : 1;
      continue;
    }
    if (weight[a] != weight[b]) return weight[a] < weight[b] ? -1 : 1;
  }
  return byLength(lengthAfter(key, n), lengthAfter(word, n), form);
}

void appendDigit(std::u16string& out, int tone) {
  if (tone != 0) out.push_back(static_cast<char16_t>(u'0' + tone));
}

// Builds text's Vietnamese sort key into out (cleared first); out's capacity is reused.
void buildVietnameseKey(std::u16string_view text, std::u16string& out) {
  out.clear();
  int tone = 0;
  for (char16_t u : text) {
    const VietnameseLetter letter = vietnameseLetter(u);
    if (letter.code != nullptr) {
      out.append(letter.code);
      if (letter.tone != 0) tone = letter.tone;
    } else if (u == u' ' || u == u'-') {
      appendDigit(out, tone);
      tone = 0;
      out.push_back(u);
    } else {
      out.push_back(towlowerUnit(u));
    }
  }
  appendDigit(out, tone);
}

}  // namespace

char16_t towlowerUnit(char16_t unit) {
  if (unit >= 0xD800 && unit <= 0xDFFF) return unit;
  const locale_t locale = caseLocale();
  if (locale == static_cast<locale_t>(0)) {
    // No Unicode locale on this system: at least keep the Latin-1 capitals (which the Western
    // European order relies on) folding onto their small letters.
    const bool latin1Capital =
        (unit >= u'A' && unit <= u'Z') || (unit >= 0x00C0 && unit <= 0x00DE && unit != 0x00D7);
    return latin1Capital ? static_cast<char16_t>(unit + 0x20) : unit;
  }
  const wint_t lowered = towlower_l(static_cast<wint_t>(unit), locale);
  return lowered > 0xFFFF ? unit : static_cast<char16_t>(lowered);
}

std::u16string vietnameseKey(std::u16string_view text) {
  std::u16string key;
  buildVietnameseKey(text, key);
  return key;
}

int compareWords(uint32_t collation, std::u16string_view key, std::u16string_view word,
                 CompareForm form) {
  switch (collation) {
    case kVietnamese: {
      key = upToNul(key);
      word = upToNul(word);
      // Reusable per-thread buffers: keys of any length, no allocation once they have grown.
      thread_local std::u16string keyBuffer;
      thread_local std::u16string wordBuffer;
      buildVietnameseKey(key, keyBuffer);
      buildVietnameseKey(word, wordBuffer);
      return compareUnits(keyBuffer, wordBuffer, form, identity);
    }
    case kLatin1:
      return compareLatin1(key, word, form);
    case kCyrillic:
      return compareUnits(key, word, form, cyrillicFold);
    default:
      return compareUnits(key, word, form, identity);
  }
}

}  // namespace lexora
