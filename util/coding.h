#pragma once
// Little-endian packing of unsigned integers, one byte at a time, so that fields may lie at any
// offset. Used by the dictionary files, the stored settings and the message channel.

#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace lexora {

// REQUIRES: out holds sizeof(T) bytes.
template <typename T>
inline void storeLittleEndian(uint8_t* out, T value) {
  static_assert(std::is_unsigned_v<T>);
  for (size_t i = 0; i < sizeof(T); ++i) out[i] = static_cast<uint8_t>(value >> (8 * i));
}

// REQUIRES: in holds sizeof(T) bytes.
template <typename T>
inline T loadLittleEndian(const uint8_t* in) {
  static_assert(std::is_unsigned_v<T>);
  T value = 0;
  for (size_t i = 0; i < sizeof(T); ++i) value |= static_cast<T>(static_cast<T>(in[i]) << (8 * i));
  return value;
}

}  // namespace lexora
