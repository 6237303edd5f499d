// A second program for the hand-off tests: sends one window message to a window found by its
// title and prints the outcome.
// Usage: lexora-test-send-message TITLE MESSAGE WPARAM LPARAM

#include <cstdio>
#include <cstdlib>

#include "platform/message_channel.h"

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: lexora-test-send-message TITLE MESSAGE WPARAM LPARAM\n");
    return 2;
  }
  auto window = lexora::findWindow("", argv[1]);
  if (!window) {
    std::fprintf(stderr, "no window titled %s\n", argv[1]);
    return 1;
  }
  lexora::WindowMessage message{static_cast<uint32_t>(std::strtoul(argv[2], nullptr, 0)),
                                std::strtoull(argv[3], nullptr, 0),
                                std::strtoll(argv[4], nullptr, 0)};
  int64_t result = -1;
  if (lexora::sendWindowMessage(*window, message, &result, 30000) != lexora::SendStatus::kHandled) {
    std::fprintf(stderr, "message not handled\n");
    return 1;
  }
  std::printf("handled %lld\n", static_cast<long long>(result));
  return 0;
}
