#include "platform/program_folder.h"

#include "util/standard_utf8.h"

#include <sys/stat.h>
#include <unistd.h>

#include <vector>

#ifndef LEXORA_RELATIVE_DATA_DIR
#define LEXORA_RELATIVE_DATA_DIR "../share/lexora"
#endif

namespace lexora {
namespace {

bool isFolder(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// "/usr/bin/" + "../share/lexora" = "/usr/share/lexora/": each ".." drops one trailing name.
std::string joinFolder(std::string base, const std::string& relative) {
  std::size_t start = 0;
  while (start <= relative.size()) {
    std::size_t end = relative.find('/', start);
    if (end == std::string::npos) end = relative.size();
    const std::string step = relative.substr(start, end - start);
    if (step == "..") {
      // base ends with '/'; drop its last name unless nothing is left to drop.
      const std::size_t cut =
          base.size() >= 2 ? base.rfind('/', base.size() - 2) : std::string::npos;
      if (cut != std::string::npos && base.compare(cut + 1, std::string::npos, "../") != 0) {
        base.resize(cut + 1);
      } else {
        base += "../";
      }
    } else if (!step.empty() && step != ".") {
      base += step;
      base += '/';
    }
    start = end + 1;
  }
  return base;
}

}  // namespace

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

std::string dataFolderFor(const std::string& programDir, const std::string& relativeDataDir,
                          const std::function<bool(const std::string&)>& exists) {
  if (relativeDataDir.empty() || relativeDataDir == ".") return programDir;
  std::string installed = joinFolder(programDir, relativeDataDir);
  return exists(installed) ? installed : programDir;
}

std::string dataFolder() {
  static const std::string folder =
      dataFolderFor(programFolder(), LEXORA_RELATIVE_DATA_DIR, isFolder);
  return folder;
}

std::u16string dataFolderText() { return fromUtf8(dataFolder()); }

}  // namespace lexora
