#include "gui/widgets/resource_guard.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>

#include "platform/program_folder.h"

namespace lexora {
namespace {

// The path with every link and "." or ".." resolved; empty when it names nothing.
std::string resolved(const std::string& path) {
  if (path.empty()) return {};
  char* real = ::realpath(path.c_str(), nullptr);
  if (real == nullptr) return {};
  std::string out = real;
  std::free(real);
  return out;
}

std::string resolvedFolder(const std::string& folder) {
  std::string out = resolved(folder);
  if (!out.empty() && out.back() != '/') out += '/';
  return out;
}

bool startsWith(const std::string& text, const std::string& prefix) {
  return text.size() > prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}

bool isPictureName(const std::string& name) {
  const size_t dot = name.rfind('.');
  if (dot == std::string::npos) return false;
  std::string extension = name.substr(dot + 1);
  for (char& c : extension) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
  return extension == "gif" || extension == "png" || extension == "jpg" || extension == "jpeg" ||
         extension == "bmp";
}

// Resolved, each ending in '/'.
std::vector<std::string>& pictureFolders() {
  static std::vector<std::string> folders = [] {
    std::vector<std::string> out;
    for (const std::string& folder : {dataFolder(), programFolder()}) {
      std::string real = resolvedFolder(folder);
      if (!real.empty()) out.push_back(real);
    }
    return out;
  }();
  return folders;
}

}  // namespace

void ResourceGuard::addPictureFolder(const std::string& folder) {
  std::string real = resolvedFolder(folder);
  std::vector<std::string>& folders = pictureFolders();
  if (!real.empty() && std::find(folders.begin(), folders.end(), real) == folders.end())
    folders.push_back(real);
}

void ResourceGuard::setResourceFolder(const std::string& folder) {
  // The folder itself must be one, not a link: a dictionary that comes with "NAME.res" linked
  // to "/" would open every file to its pages. (The folders above it may be links.)
  std::string name = folder;
  while (name.size() > 1 && name.back() == '/') name.pop_back();
  struct stat st;
  const bool realFolder = ::lstat(name.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
  resourceFolder_ = realFolder ? resolvedFolder(name) : std::string();
}

void ResourceGuard::setBackgroundPicture(const std::string& file) {
  backgroundPicture_ = resolved(file);
}

std::string ResourceGuard::localPath(const std::string& scheme, const std::string& path) const {
  if (scheme != "file" && !scheme.empty()) return {};
  if (!path.empty() && path.front() == '/') return path;
  if (scheme.empty() && !path.empty() && !resourceFolder_.empty()) return resourceFolder_ + path;
  return {};
}

bool ResourceGuard::allowed(const std::string& real) const {
  if (real.empty()) return false;
  if (!backgroundPicture_.empty() && real == backgroundPicture_) return true;
  if (!resourceFolder_.empty() && startsWith(real, resourceFolder_)) return true;
  const size_t slash = real.rfind('/');
  const std::string folder = real.substr(0, slash + 1);
  for (const std::string& pictures : pictureFolders()) {
    if (folder == pictures && isPictureName(real.substr(slash + 1))) return true;
  }
  return false;
}

bool ResourceGuard::read(const std::string& path, std::string& bytes) const {
  bytes.clear();
  const std::string real = resolved(path);
  if (!allowed(real)) return false;
  // Not blocking: a pipe put in place after the check must not hang the window.
  const int fd = ::open(real.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st;
  bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
            static_cast<unsigned long long>(st.st_size) <= kMaxResourceBytes;
  if (ok) {
    bytes.resize(static_cast<size_t>(st.st_size));
    size_t got = 0;
    while (got < bytes.size()) {
      const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
      if (n <= 0) break;
      got += static_cast<size_t>(n);
    }
    bytes.resize(got);  // a file that shrank meanwhile gives what it has
  }
  ::close(fd);
  if (!ok) bytes.clear();
  return ok;
}

}  // namespace lexora
