#include "platform/message_channel.h"

#include <dirent.h>
#include <errno.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>

#include "platform/private_folder.h"

namespace lexora {
namespace {

constexpr char kHex[] = "0123456789ABCDEF";

std::string encodePart(std::string_view part) {
  if (part.empty()) return "%";
  std::string out;
  for (unsigned char c : part) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
        c == '-') {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::optional<std::string> decodePart(std::string_view part) {
  if (part == "%") return std::string();
  std::string out;
  for (size_t i = 0; i < part.size(); ++i) {
    if (part[i] != '%') {
      out += part[i];
      continue;
    }
    if (i + 2 >= part.size()) return std::nullopt;
    int hi = hexValue(part[i + 1]);
    int lo = hexValue(part[i + 2]);
    if (hi < 0 || lo < 0) return std::nullopt;
    out += static_cast<char>(hi * 16 + lo);
    i += 2;
  }
  return out;
}

// The private folder for the endpoints: `usual`, or with `standIn` the folder that stands in
// for it when another user made it first (or it cannot be private). Empty when there is none;
// said once per program on stderr, since the programs cannot find each other until it is fixed.
std::string privateFolder(const std::string& usual, bool standIn) {
  const std::string problem = privateFolderProblem(usual);
  if (problem.empty()) return usual;
  const std::string instead = standIn ? privateFolderInPlaceOf(usual) : std::string();
  static bool told = false;
  if (!told) {
    told = true;
    if (!instead.empty()) {
      std::fprintf(stderr,
                   "lexora: %s cannot hold the sockets of the Lexora programs: %s. They use %s "
                   "instead.\n",
                   usual.c_str(), problem.c_str(), instead.c_str());
    } else {
      std::fprintf(stderr,
                   "lexora: %s cannot hold the sockets of the Lexora programs: %s. The programs "
                   "will not reach each other until it is removed (or XDG_RUNTIME_DIR is set).\n",
                   usual.c_str(), problem.c_str());
    }
  }
  return instead;
}

std::string environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? std::string(value) : std::string();
}

// The desktop session's own subfolder: its display (without an X screen number) and, where
// the session manager names one, its session.
std::string sessionFolderName() {
  std::string name;
  if (const std::string wayland = environment("WAYLAND_DISPLAY"); !wayland.empty()) {
    name = "wayland-" + encodePart(wayland);
  } else if (std::string display = environment("DISPLAY"); !display.empty()) {
    const size_t colon = display.rfind(':');
    const size_t dot = display.find('.', colon == std::string::npos ? 0 : colon);
    if (colon != std::string::npos && dot != std::string::npos) display.erase(dot);
    name = "x11-" + encodePart(display);
  } else {
    name = "no-display";
  }
  if (const std::string session = environment("XDG_SESSION_ID"); !session.empty())
    name += ".session-" + encodePart(session);
  // A socket's path has room for 107 bytes: a long display name (a Wayland socket's path) is
  // spelled by its hash.
  if (name.size() > 40) name = "session-" + std::to_string(std::hash<std::string>{}(name));
  return name;
}

bool fillAddress(const std::string& path, sockaddr_un& address) {
  std::memset(&address, 0, sizeof address);
  address.sun_family = AF_UNIX;
  if (path.empty() || path.size() >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, path.c_str(), path.size());
  return true;
}

// A connected socket to the endpoint at `path`, or -1. `refused` tells a stale endpoint.
int connectTo(const std::string& path, bool* refused) {
  if (refused) *refused = false;
  sockaddr_un address;
  if (!fillAddress(path, address)) return -1;
  int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    if (refused) *refused = (errno == ECONNREFUSED);
    close(fd);
    return -1;
  }
  return fd;
}

bool isLive(const std::string& path) {
  bool refused = false;
  int fd = connectTo(path, &refused);
  if (fd >= 0) {
    close(fd);  // the receiver sees a connection closed before a message and drops it
    return true;
  }
  if (refused) unlink(path.c_str());
  return false;
}

std::vector<std::string> endpointNames(const std::string& folder) {
  std::vector<std::string> names;
  DIR* dir = opendir(folder.c_str());
  if (!dir) return names;
  while (dirent* entry = readdir(dir)) {
    std::string name = entry->d_name;
    if (name.rfind("w.", 0) == 0) names.push_back(name);
  }
  closedir(dir);
  std::sort(names.begin(), names.end());
  return names;
}

int64_t nowMs() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

}  // namespace

std::string endpointFolder() {
  std::string folder = environment("LEXORA_ENDPOINT_DIR");
  if (folder.empty()) {
    const std::string runtime = environment("XDG_RUNTIME_DIR");
    folder = runtime.empty() ? "/tmp/lexora-" + std::to_string(geteuid()) : runtime + "/lexora";
  }
  folder = privateFolder(folder, true);
  if (folder.empty()) return {};
  // Nobody else can make a name inside a private folder: a session folder stands in for none.
  return privateFolder(folder + "/" + sessionFolderName(), false);
}

std::string endpointFileName(const WindowIdentity& identity) {
  return "w." + encodePart(identity.parentClass) + "." + encodePart(identity.windowClass) + "." +
         encodePart(identity.title);
}

std::optional<WindowIdentity> identityFromEndpointFileName(std::string_view name) {
  if (name.substr(0, 2) != "w.") return std::nullopt;
  name.remove_prefix(2);
  std::string_view parts[3];
  for (int i = 0; i < 3; ++i) {
    size_t dot = name.find('.');
    if (i < 2) {
      if (dot == std::string_view::npos) return std::nullopt;
      parts[i] = name.substr(0, dot);
      name.remove_prefix(dot + 1);
    } else {
      if (dot != std::string_view::npos) return std::nullopt;
      parts[i] = name;
    }
  }
  auto parent = decodePart(parts[0]);
  auto cls = decodePart(parts[1]);
  auto title = decodePart(parts[2]);
  if (!parent || !cls || !title) return std::nullopt;
  return WindowIdentity{*cls, *title, *parent};
}

std::string endpointPath(const WindowIdentity& identity) {
  std::string folder = endpointFolder();
  if (folder.empty()) return {};
  return folder + "/" + endpointFileName(identity);
}

std::optional<WindowIdentity> findWindow(std::string_view windowClass, std::string_view title) {
  std::string folder = endpointFolder();
  if (folder.empty()) return std::nullopt;
  for (const std::string& name : endpointNames(folder)) {
    auto identity = identityFromEndpointFileName(name);
    if (!identity || !identity->parentClass.empty() || identity->title != title) continue;
    if (!windowClass.empty() && identity->windowClass != windowClass) continue;
    if (isLive(folder + "/" + name)) return identity;
  }
  return std::nullopt;
}

std::vector<WindowIdentity> childWindows(std::string_view parentClass) {
  std::vector<WindowIdentity> children;
  std::string folder = endpointFolder();
  if (folder.empty() || parentClass.empty()) return children;
  for (const std::string& name : endpointNames(folder)) {
    auto identity = identityFromEndpointFileName(name);
    if (identity && identity->parentClass == parentClass && isLive(folder + "/" + name)) {
      children.push_back(*identity);
    }
  }
  return children;
}

SendStatus sendWindowMessage(const WindowIdentity& window, const WindowMessage& message,
                             int64_t* result, int timeoutMs) {
  bool refused = false;
  std::string path = endpointPath(window);
  int fd = connectTo(path, &refused);
  if (fd < 0) {
    if (refused) unlink(path.c_str());
    return SendStatus::kNoWindow;
  }
  uint8_t request[WindowMessage::kEncodedSize];
  message.encodeTo(request);
  size_t sent = 0;
  while (sent < sizeof request) {
    ssize_t n = send(fd, request + sent, sizeof request - sent, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      close(fd);
      return SendStatus::kFailed;
    }
    sent += static_cast<size_t>(n);
  }
  uint8_t reply[WindowMessageReply::kEncodedSize];
  size_t got = 0;
  const int64_t deadline = timeoutMs < 0 ? -1 : nowMs() + timeoutMs;
  while (got < sizeof reply) {
    int wait = -1;
    if (deadline >= 0) {
      int64_t left = deadline - nowMs();
      if (left <= 0) break;
      wait = static_cast<int>(left);
    }
    pollfd p{fd, POLLIN, 0};
    int ready = poll(&p, 1, wait);
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) break;
    ssize_t n = recv(fd, reply + got, sizeof reply - got, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += static_cast<size_t>(n);
  }
  close(fd);
  if (got < sizeof reply) return SendStatus::kFailed;
  auto decoded = WindowMessageReply::decodeFrom(reply);
  if (!decoded) return SendStatus::kFailed;
  if (result) *result = decoded->result;
  return SendStatus::kHandled;
}

}  // namespace lexora
