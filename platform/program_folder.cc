#include "platform/program_folder.h"

#include "util/standard_utf8.h"

#include <unistd.h>

#include <vector>

namespace lexora {

std::string programFolder() {
  std::vector<char> buf(4096);
  const ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size());
  if (n <= 0 || static_cast<std::size_t>(n) >= buf.size()) return "./";
  std::string path(buf.data(), static_cast<std::size_t>(n));
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return "./";
  path.resize(slash + 1);
  return path;
}

std::u16string programFolderText() { return fromUtf8(programFolder()); }

}  // namespace lexora
