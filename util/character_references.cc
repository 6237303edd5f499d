#include "util/character_references.h"

#include <cstdint>

namespace lexora {
namespace {

constexpr std::size_t kLongestReference = 10;  // "&#x10FFFF;"

struct Named {
  std::u16string_view name;
  char16_t character;
};

constexpr Named kNamed[] = {{u"lt", u'<'},   {u"gt", u'>'},    {u"amp", u'&'},
                            {u"quot", u'"'}, {u"apos", u'\''}, {u"nbsp", u'\u00A0'}};

bool isDigit(char16_t c, bool hex) {
  if (c >= u'0' && c <= u'9') return true;
  return hex && ((c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F'));
}

unsigned digitValue(char16_t c) {
  if (c <= u'9') return c - u'0';
  return (c | 0x20) - u'a' + 10;
}

// The code point of a numeric reference's body ("#36", "#x24"); 0 when it is not one.
uint32_t numericValue(std::u16string_view body) {
  if (body.size() < 2 || body[0] != u'#') return 0;
  const bool hex = body[1] == u'x' || body[1] == u'X';
  const std::u16string_view digits = body.substr(hex ? 2 : 1);
  if (digits.empty()) return 0;
  uint32_t value = 0;
  for (char16_t c : digits) {
    if (!isDigit(c, hex)) return 0;
    value = value * (hex ? 16 : 10) + digitValue(c);
    if (value > 0x10FFFF) return 0;
  }
  if (value >= 0xD800 && value <= 0xDFFF) return 0;
  return value;
}

void appendCodePoint(std::u16string& out, uint32_t c) {
  if (c < 0x10000) {
    out.push_back(static_cast<char16_t>(c));
    return;
  }
  c -= 0x10000;
  out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
  out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
}

// Decodes the reference at text[at] ("&...;") into out; the units read, 0 for none.
std::size_t decodeOne(std::u16string_view text, std::size_t at, std::u16string& out) {
  const std::size_t semicolon = text.substr(at, kLongestReference + 1).find(u';');
  if (semicolon == std::u16string_view::npos || semicolon < 2) return 0;
  const std::u16string_view body = text.substr(at + 1, semicolon - 1);
  if (const uint32_t value = numericValue(body); value != 0) {
    appendCodePoint(out, value);
    return semicolon + 1;
  }
  for (const Named& n : kNamed) {
    if (body == n.name) {
      out.push_back(n.character);
      return semicolon + 1;
    }
  }
  return 0;
}

}  // namespace

std::u16string decodeCharacterReferences(std::u16string_view text,
                                         std::vector<std::size_t>* sources) {
  std::u16string out;
  out.reserve(text.size());
  if (sources != nullptr) {
    sources->clear();
    sources->reserve(text.size());
  }
  for (std::size_t i = 0; i < text.size();) {
    std::size_t read = text[i] == u'&' ? decodeOne(text, i, out) : 0;
    if (read == 0) {
      out.push_back(text[i]);
      read = 1;
    }
    if (sources != nullptr) sources->resize(out.size(), i);
    i += read;
  }
  return out;
}

}  // namespace lexora
