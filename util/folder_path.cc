#include "util/folder_path.h"

#include <string>
#include <system_error>

namespace lexora {

namespace fs = std::filesystem;

std::optional<fs::path> relativeInFolder(std::string_view name) {
  fs::path relative = fs::path(std::string(name)).lexically_normal();
  if (relative.empty() || relative.is_absolute() || *relative.begin() == "..") return std::nullopt;
  return relative;
}

std::string realFolder(const fs::path& folder) {
  std::error_code ec;
  const fs::path real = fs::canonical(folder, ec);
  return ec ? std::string() : real.string() + "/";
}

bool resolvesInto(const fs::path& path, const std::string& real) {
  std::error_code ec;
  const std::string resolved = fs::canonical(path, ec).string();
  return !ec && !real.empty() && resolved.compare(0, real.size(), real) == 0;
}

}  // namespace lexora
