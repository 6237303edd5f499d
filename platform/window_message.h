#pragma once
// One window message as it travels between two programs, and the answer that comes back.
// Both encode and decode themselves, packed and little-endian.

#include <cstddef>
#include <cstdint>
#include <optional>

namespace lexora {

struct WindowMessage {
  uint32_t message = 0;
  uint64_t wParam = 0;
  int64_t lParam = 0;

  static constexpr std::size_t kEncodedSize = 24;  // magic, message, wParam, lParam
  void encodeTo(uint8_t* out) const;               // REQUIRES: out holds kEncodedSize bytes
  // nullopt when the bytes do not start with the message magic.
  static std::optional<WindowMessage> decodeFrom(
      const uint8_t* in);  // REQUIRES: kEncodedSize bytes

  bool operator==(const WindowMessage&) const = default;
};

struct WindowMessageReply {
  int64_t result = 0;

  static constexpr std::size_t kEncodedSize = 12;  // magic, result
  void encodeTo(uint8_t* out) const;               // REQUIRES: out holds kEncodedSize bytes
  static std::optional<WindowMessageReply> decodeFrom(const uint8_t* in);
};

}  // namespace lexora
