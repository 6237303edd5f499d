#include "render/display_settings.h"

#include <algorithm>
#include <cstring>

#include "util/coding.h"

namespace lexora {
namespace {

void putLittleEndian32(uint32_t value, uint8_t* out) { storeLittleEndian(out, value); }
uint32_t getLittleEndian32(const uint8_t* in) { return loadLittleEndian<uint32_t>(in); }

}  // namespace

std::array<uint8_t, DisplayStyle::kEncodedSize> DisplayStyle::encode() const {
  std::array<uint8_t, kEncodedSize> out{};
  putLittleEndian32(hidden, out.data());
  putLittleEndian32(bold, out.data() + 4);
  putLittleEndian32(italic, out.data() + 8);
  putLittleEndian32(colour, out.data() + 12);
  return out;
}

void DisplayStyle::decode(const uint8_t* data, std::size_t size) {
  std::array<uint8_t, kEncodedSize> bytes = encode();
  const std::size_t n = std::min(size, kEncodedSize);
  if (n > 0) std::memcpy(bytes.data(), data, n);
  hidden = getLittleEndian32(bytes.data());
  bold = getLittleEndian32(bytes.data() + 4);
  italic = getLittleEndian32(bytes.data() + 8);
  colour = getLittleEndian32(bytes.data() + 12);
}

std::array<uint8_t, kBackColorEncodedSize> encodeBackColor(uint32_t colour) {
  std::array<uint8_t, kBackColorEncodedSize> out{};
  putLittleEndian32(colour, out.data());
  return out;
}

void decodeBackColor(const uint8_t* data, std::size_t size, uint32_t& colour) {
  std::array<uint8_t, kBackColorEncodedSize> bytes = encodeBackColor(colour);
  const std::size_t n = std::min(size, kBackColorEncodedSize);
  if (n > 0) std::memcpy(bytes.data(), data, n);
  colour = getLittleEndian32(bytes.data());
}

uint32_t clampTime2Show(uint32_t stored) {
  const int32_t value = static_cast<int32_t>(stored);
  if (value > kMaxTime2Show) return static_cast<uint32_t>(kMaxTime2Show);
  if (value < kMinTime2Show) return static_cast<uint32_t>(kMinTime2Show);
  return stored;
}

}  // namespace lexora
