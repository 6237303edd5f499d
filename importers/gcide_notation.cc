#include "importers/gcide_notation.h"

#include <cstdint>

namespace lexora::importers {
namespace {

// Letters and the combining marks the notation puts on them, with the precomposed character.
struct Composed {
  char base;
  uint16_t mark;
  uint16_t character;
};

constexpr Composed kComposed[] = {
    {'a', 0x0306, 0x0103}, {'a', 0x0304, 0x0101}, {'a', 0x0307, 0x0227}, {'a', 0x0303, 0x00E3},
    {'a', 0x0301, 0x00E1}, {'a', 0x0300, 0x00E0}, {'a', 0x0308, 0x00E4}, {'a', 0x0302, 0x00E2},
    {'a', 0x030A, 0x00E5}, {'a', 0x0323, 0x1EA1}, {'e', 0x0306, 0x0115}, {'e', 0x0304, 0x0113},
    {'e', 0x0307, 0x0117}, {'e', 0x0303, 0x1EBD}, {'e', 0x0301, 0x00E9}, {'e', 0x0300, 0x00E8},
    {'e', 0x0308, 0x00EB}, {'e', 0x0302, 0x00EA}, {'e', 0x0327, 0x0229}, {'e', 0x0323, 0x1EB9},
    {'i', 0x0306, 0x012D}, {'i', 0x0304, 0x012B}, {'i', 0x0303, 0x0129}, {'i', 0x0301, 0x00ED},
    {'i', 0x0300, 0x00EC}, {'i', 0x0308, 0x00EF}, {'i', 0x0302, 0x00EE}, {'i', 0x0323, 0x1ECB},
    {'o', 0x0306, 0x014F}, {'o', 0x0304, 0x014D}, {'o', 0x0307, 0x022F}, {'o', 0x0303, 0x00F5},
    {'o', 0x0301, 0x00F3}, {'o', 0x0300, 0x00F2}, {'o', 0x0308, 0x00F6}, {'o', 0x0302, 0x00F4},
    {'o', 0x0323, 0x1ECD}, {'u', 0x0306, 0x016D}, {'u', 0x0304, 0x016B}, {'u', 0x0303, 0x0169},
    {'u', 0x0301, 0x00FA}, {'u', 0x0300, 0x00F9}, {'u', 0x0308, 0x00FC}, {'u', 0x0302, 0x00FB},
    {'u', 0x030A, 0x016F}, {'u', 0x0323, 0x1EE5}, {'y', 0x0304, 0x0233}, {'y', 0x0307, 0x1E8F},
    {'y', 0x0303, 0x1EF9}, {'y', 0x0301, 0x00FD}, {'y', 0x0300, 0x1EF3}, {'y', 0x0308, 0x00FF},
    {'y', 0x0302, 0x0177}, {'y', 0x030A, 0x1E99}, {'y', 0x0323, 0x1EF5}, {'A', 0x0306, 0x0102},
    {'A', 0x0304, 0x0100}, {'A', 0x0307, 0x0226}, {'A', 0x0303, 0x00C3}, {'A', 0x0301, 0x00C1},
    {'A', 0x0300, 0x00C0}, {'A', 0x0308, 0x00C4}, {'A', 0x0302, 0x00C2}, {'A', 0x030A, 0x00C5},
    {'A', 0x0323, 0x1EA0}, {'E', 0x0306, 0x0114}, {'E', 0x0304, 0x0112}, {'E', 0x0307, 0x0116},
    {'E', 0x0303, 0x1EBC}, {'E', 0x0301, 0x00C9}, {'E', 0x0300, 0x00C8}, {'E', 0x0308, 0x00CB},
    {'E', 0x0302, 0x00CA}, {'E', 0x0327, 0x0228}, {'E', 0x0323, 0x1EB8}, {'I', 0x0306, 0x012C},
    {'I', 0x0304, 0x012A}, {'I', 0x0307, 0x0130}, {'I', 0x0303, 0x0128}, {'I', 0x0301, 0x00CD},
    {'I', 0x0300, 0x00CC}, {'I', 0x0308, 0x00CF}, {'I', 0x0302, 0x00CE}, {'I', 0x0323, 0x1ECA},
    {'O', 0x0306, 0x014E}, {'O', 0x0304, 0x014C}, {'O', 0x0307, 0x022E}, {'O', 0x0303, 0x00D5},
    {'O', 0x0301, 0x00D3}, {'O', 0x0300, 0x00D2}, {'O', 0x0308, 0x00D6}, {'O', 0x0302, 0x00D4},
    {'O', 0x0323, 0x1ECC}, {'U', 0x0306, 0x016C}, {'U', 0x0304, 0x016A}, {'U', 0x0303, 0x0168},
    {'U', 0x0301, 0x00DA}, {'U', 0x0300, 0x00D9}, {'U', 0x0308, 0x00DC}, {'U', 0x0302, 0x00DB},
    {'U', 0x030A, 0x016E}, {'U', 0x0323, 0x1EE4}, {'Y', 0x0304, 0x0232}, {'Y', 0x0307, 0x1E8E},
    {'Y', 0x0303, 0x1EF8}, {'Y', 0x0301, 0x00DD}, {'Y', 0x0300, 0x1EF2}, {'Y', 0x0308, 0x0178},
    {'Y', 0x0302, 0x0176}, {'Y', 0x0323, 0x1EF4}, {'c', 0x0307, 0x010B}, {'c', 0x0301, 0x0107},
    {'c', 0x0302, 0x0109}, {'c', 0x0327, 0x00E7}, {'n', 0x0307, 0x1E45}, {'n', 0x0303, 0x00F1},
    {'n', 0x0301, 0x0144}, {'n', 0x0300, 0x01F9}, {'n', 0x0331, 0x1E49}, {'n', 0x0327, 0x0146},
    {'n', 0x0323, 0x1E47}, {'r', 0x0307, 0x1E59}, {'r', 0x0301, 0x0155}, {'r', 0x0331, 0x1E5F},
    {'r', 0x0327, 0x0157}, {'r', 0x0323, 0x1E5B}, {'t', 0x0307, 0x1E6B}, {'t', 0x0308, 0x1E97},
    {'t', 0x0331, 0x1E6F}, {'t', 0x0327, 0x0163}, {'t', 0x0323, 0x1E6D}, {'d', 0x0307, 0x1E0B},
    {'d', 0x0331, 0x1E0F}, {'d', 0x0327, 0x1E11}, {'d', 0x0323, 0x1E0D}, {'h', 0x0307, 0x1E23},
    {'h', 0x0308, 0x1E27}, {'h', 0x0302, 0x0125}, {'h', 0x0331, 0x1E96}, {'h', 0x0327, 0x1E29},
    {'h', 0x0323, 0x1E25}, {'s', 0x0307, 0x1E61}, {'s', 0x0301, 0x015B}, {'s', 0x0302, 0x015D},
    {'s', 0x0327, 0x015F}, {'s', 0x0323, 0x1E63}, {'z', 0x0307, 0x017C}, {'z', 0x0301, 0x017A},
    {'z', 0x0302, 0x1E91}, {'z', 0x0331, 0x1E95}, {'z', 0x0323, 0x1E93}, {'g', 0x0306, 0x011F},
    {'g', 0x0304, 0x1E21}, {'g', 0x0307, 0x0121}, {'g', 0x0301, 0x01F5}, {'g', 0x0302, 0x011D},
    {'g', 0x0327, 0x0123}};

// Signs that are not a letter with a mark.
struct NamedSign {
  std::string_view code;
  std::string_view text;     // UTF-8
  std::string_view letters;  // for comparing spellings
};

constexpr NamedSign kNamed[] = {
    {"ae", "\u00E6", "ae"},    {"AE", "\u00C6", "AE"},    {"oe", "\u0153", "oe"},
    {"OE", "\u0152", "OE"},    {"=ae", "\u01E3", "ae"},   {"eth", "\u00F0", "th"},
    {"thorn", "\u00FE", "th"}, {"th", "t\u035Fh", "th"},  {"ng", "\u014B", "ng"},
    {"yogh", "\u021D", "y"},   {"imac", "\u012B", "i"},   {"aum", "\u00E4", "a"},
    {"add", "a\u0324", "a"},   {"udd", "\u1E73", "u"},    {"asl", "\u0101", "a"},
    {"oo^", "o\u035Do", "oo"}, {"=oo", "o\u035Eo", "oo"}, {"dsdot", "\u1E0D", "d"},
    {"zdot", "\u017C", "z"},   {"root", "\u221A", ""},    {"deg", "\u00B0", ""},
    {"sect", "\u00A7", ""},    {"para", "\u00B6", ""},    {"sharp", "\u266F", ""},
    {"flat", "\u266D", ""},    {"times", "\u00D7", ""},   {"divby", "\u00F7", ""},
    {"div", "\u00F7", ""},     {"rarr", "\u2192", ""},    {"ldqo", "\u201C", ""},
    {"min", "\u2032", ""},     {"sec", "\u2033", ""},     {"hand", "\u261E", ""},
    {"nbsp", "\u00A0", " "},   {"alpha", "\u03B1", ""},   {"beta", "\u03B2", ""},
    {"gamma", "\u03B3", ""},   {"Gamma", "\u0393", ""},   {"delta", "\u03B4", ""},
    {"Delta", "\u0394", ""},   {"eta", "\u03B7", ""},     {"theta", "\u03B8", ""},
    {"iota", "\u03B9", ""},    {"kappa", "\u03BA", ""},   {"mu", "\u03BC", ""},
    {"pi", "\u03C0", ""},      {"rho", "\u03C1", ""},     {"sigma", "\u03C3", ""},
    {"tau", "\u03C4", ""},     {"phi", "\u03C6", ""},     {"chi", "\u03C7", ""}};

bool isAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool isConsonantWithDotBelow(char c) {
  return std::string_view("rtnhdsRTNHDS").find(c) != std::string_view::npos;
}

// The combining mark of a one-letter sign ("a^", "=e", "'e", ",c" ...); 0 when it is not one.
uint16_t markOf(std::string_view code, char& letter) {
  if (code.size() != 2) return 0;
  if (isAsciiLetter(code[0]) && code[1] == '^') {
    letter = code[0];
    return 0x0306;  // breve
  }
  letter = code[1];
  if (!isAsciiLetter(letter)) return 0;
  switch (code[0]) {
    case '=':
      return 0x0304;
    case '.':
      return isConsonantWithDotBelow(letter) ? 0x0323 : 0x0307;
    case '~':
      return 0x0303;
    case '\'':
      return 0x0301;
    case '`':
      return 0x0300;
    case '"':
      return 0x0308;
    case '^':
      return 0x0302;
    case '-':
      return 0x0331;
    case '*':
      return 0x030A;
    case ',':
      return 0x0327;
    default:
      return 0;
  }
}

void appendUtf8(std::string& out, uint32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Appends the sign's text for `code` (the text between the brackets); false when unknown.
bool appendSign(std::string& out, std::string_view code, bool lettersOnly) {
  char letter = 0;
  if (const uint16_t mark = markOf(code, letter)) {
    out += letter;
    if (lettersOnly) return true;
    for (const Composed& c : kComposed) {
      if (c.base == letter && c.mark == mark) {
        out.pop_back();
        appendUtf8(out, c.character);
        return true;
      }
    }
    appendUtf8(out, mark);
    return true;
  }
  for (const NamedSign& sign : kNamed) {
    if (sign.code == code) {
      out += lettersOnly ? sign.letters : sign.text;
      return true;
    }
  }
  return false;
}

}  // namespace

std::string decodeGcideNotation(std::string_view text, bool lettersOnly) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '[') {
      const size_t close = text.find(']', i + 1);
      if (close != std::string_view::npos && close - i <= 6 &&
          appendSign(out, text.substr(i + 1, close - i - 1), lettersOnly)) {
        i = close;
        continue;
      }
    }
    out += text[i];
  }
  return out;
}

std::string decodeGcideText(std::string_view text) {
  constexpr size_t npos = std::string::npos;
  std::string decoded = decodeGcideNotation(text);
  // "-- {Dic*ta\"to*ri*al*ly}, adv.": a derived word named with its syllables and stress.
  std::string out;
  out.reserve(decoded.size());
  bool inReference = false;
  size_t respellingEnd = 0;  // the ")" of a form's respelling ("{Ransomed} (-s[u^]md)")
  for (size_t i = 0; i < decoded.size(); ++i) {
    const char c = decoded[i];
    if (c == '(' && i >= respellingEnd) {
      size_t before = i;  // the respelling may stand on the next line
      while (before > 0 && std::string_view(" \t\r\n").find(decoded[before - 1]) != npos) --before;
      const size_t close = decoded.find_first_of(")({\n ", i + 1);  // one word
      if (before < i && before > 0 && decoded[before - 1] == '}' && close != npos &&
          decoded[close] == ')')
        respellingEnd = close;
    }
    if (i < respellingEnd) {
      out += c == '"' ? "\u2033" : c == '`' ? "\u2032" : c == '*' ? "-" : std::string(1, c);
      continue;
    }
    if (c == '{' || c == '}') inReference = c == '{';
    const bool mark = c == '"' || c == '`' || c == '*';
    const auto letter = [&](size_t k) {
      return k < decoded.size() && (isAsciiLetter(decoded[k]) || (decoded[k] & 0x80) != 0);
    };
    if (inReference && mark && i > 0 && letter(i - 1) &&
        (letter(i + 1) || (i + 1 < decoded.size() && decoded[i + 1] == '}')))
      continue;
    out += c;
  }
  return out;
}

std::string gcidePronunciation(std::string_view text) {
  std::string out;
  for (char c : decodeGcideNotation(text)) {
    if (c == '"') {
      out += "\u2033";
    } else if (c == '`') {
      out += "\u2032";
    } else if (c == '*') {
      out += '-';
    } else {
      out += c;
    }
  }
  return out;
}

std::string gcideSpelling(std::string_view text, bool lettersOnly) {
  std::string out;
  for (char c : decodeGcideNotation(text, lettersOnly)) {
    if (c != '"' && c != '`' && c != '*') out += c;
  }
  return out;
}

}  // namespace lexora::importers
