#include "util/utf8_codec.h"

namespace lexora {

size_t utf8EncodedLength(std::u16string_view text) {
  size_t n = 0;
  for (char16_t u : text) n += u < 0x80 ? 1 : u < 0x800 ? 2 : 3;
  return n;
}

std::string utf8Encode(std::u16string_view text) {
  std::string out;
  out.reserve(utf8EncodedLength(text));
  for (char16_t u : text) {
    if (u < 0x80) {
      out.push_back(static_cast<char>(u));
    } else if (u < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (u >> 6)));
      out.push_back(static_cast<char>(0x80 | (u & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xE0 | (u >> 12)));
      out.push_back(static_cast<char>(0x80 | ((u >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (u & 0x3F)));
    }
  }
  return out;
}

std::optional<std::u16string> utf8Decode(const uint8_t* bytes, size_t length) {
  std::u16string out;
  if (!utf8DecodeInto(bytes, length, out)) return std::nullopt;
  return out;
}

bool utf8DecodeInto(const uint8_t* bytes, size_t length, std::u16string& out) {
  out.clear();
  out.reserve(length);  // never more units than bytes
  size_t i = 0;
  while (i < length) {
    const uint8_t lead = bytes[i];
    if (lead == 0) break;  // a zero lead byte ends the text
    size_t follow;
    uint32_t value;
    if (lead < 0x80) {
      follow = 0;
      value = lead;
    } else if ((lead & 0xE0) == 0xC0) {
      follow = 1;
      value = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
      follow = 2;
      value = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
      follow = 3;
      value = lead & 0x07;
    } else if ((lead & 0xFC) == 0xF8) {
      follow = 4;
      value = lead & 0x03;
    } else if ((lead & 0xFE) == 0xFC) {
      follow = 5;
      value = lead & 0x01;
    } else {
      out.clear();
      return false;  // stray continuation byte, 0xFE or 0xFF
    }
    ++i;
    for (size_t k = 0; k < follow; ++k, ++i) {
      // A sequence cut off by the end of the bytes meets the terminator: malformed.
      if (i >= length || (bytes[i] & 0xC0) != 0x80) {
        out.clear();
        return false;
      }
      value = (value << 6) | (bytes[i] & 0x3F);
    }
    out.push_back(static_cast<char16_t>(value & 0xFFFF));
  }
  return !out.empty();
}

}  // namespace lexora
