#pragma once
// A plain listening socket at a window's endpoint, for tests that stand in for another
// program's window without Qt's event loop.

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <optional>
#include <string>

#include "platform/message_channel.h"
#include "platform/window_message.h"

namespace lexora::test {

// Listens at the endpoint of `id` (replacing a stale one); returns the socket, -1 on failure.
inline int listenAtEndpoint(const WindowIdentity& id) {
  const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  if (fd < 0) return -1;
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string path = endpointPath(id);
  std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
  unlink(path.c_str());
  if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(fd, 4) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

// Reads the one message a sender writes on an accepted connection; nullopt when the sender
// wrote less (a probe that only looked for the window) or something that does not decode.
inline std::optional<WindowMessage> readWindowMessage(int connection) {
  uint8_t in[WindowMessage::kEncodedSize];
  size_t got = 0;
  while (got < sizeof in) {
    const ssize_t n = read(connection, in + got, sizeof in - got);
    if (n <= 0) return std::nullopt;
    got += static_cast<size_t>(n);
  }
  return WindowMessage::decodeFrom(in);
}

}  // namespace lexora::test
