#pragma once
// A plain listening socket at a window's endpoint, for tests that stand in for another
// program's window without Qt's event loop.

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "platform/message_channel.h"

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

}  // namespace lexora::test
