#include "platform/window_message.h"

#include "util/coding.h"

namespace lexora {
namespace {

constexpr uint32_t kMessageMagic = 0x4D57584C;  // "LXWM"
constexpr uint32_t kReplyMagic = 0x5257584C;    // "LXWR"

void put32(uint8_t* out, uint32_t v) { storeLittleEndian(out, v); }
void put64(uint8_t* out, uint64_t v) { storeLittleEndian(out, v); }
uint32_t get32(const uint8_t* in) { return loadLittleEndian<uint32_t>(in); }
uint64_t get64(const uint8_t* in) { return loadLittleEndian<uint64_t>(in); }

}  // namespace

void WindowMessage::encodeTo(uint8_t* out) const {
  put32(out, kMessageMagic);
  put32(out + 4, message);
  put64(out + 8, wParam);
  put64(out + 16, static_cast<uint64_t>(lParam));
}

std::optional<WindowMessage> WindowMessage::decodeFrom(const uint8_t* in) {
  if (get32(in) != kMessageMagic) return std::nullopt;
  WindowMessage m;
  m.message = get32(in + 4);
  m.wParam = get64(in + 8);
  m.lParam = static_cast<int64_t>(get64(in + 16));
  return m;
}

void WindowMessageReply::encodeTo(uint8_t* out) const {
  put32(out, kReplyMagic);
  put64(out + 4, static_cast<uint64_t>(result));
}

std::optional<WindowMessageReply> WindowMessageReply::decodeFrom(const uint8_t* in) {
  if (get32(in) != kReplyMagic) return std::nullopt;
  return WindowMessageReply{static_cast<int64_t>(get64(in + 4))};
}

}  // namespace lexora
