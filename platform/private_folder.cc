#include "platform/private_folder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/registry_location.h"

namespace lexora {
namespace {

// The record of the folders that stand in for taken ones on this machine, in the folder of
// the settings when only this user can write there; empty otherwise.
std::string recordPath() {
  const std::string settings = defaultRegistryPath();
  const size_t slash = settings.rfind('/');
  if (slash == std::string::npos || slash == 0) return {};
  const std::string folder = settings.substr(0, slash);
  ::mkdir(folder.c_str(), 0700);
  struct stat st;
  if (::lstat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid() ||
      (st.st_mode & 022) != 0)
    return {};
  char host[256] = {};
  ::gethostname(host, sizeof host - 1);
  std::string name = "sockets-folder-";
  for (const char* c = host; *c != '\0'; ++c) name += *c == '/' ? '_' : *c;
  return folder + "/" + name;
}

// The record holds two lines: the folder that is taken, and the one that stands in for it (its
// name, with a random ending). Empty when the record is missing, not this user's own, or for
// another folder.
std::string readRecord(const std::string& record, const std::string& taken) {
  const int fd = ::open(record.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return {};
  char buffer[8192];
  ssize_t n = 0;
  struct stat st;
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid())
    n = ::read(fd, buffer, sizeof buffer);
  ::close(fd);
  if (n <= 0) return {};
  const std::string text(buffer, static_cast<size_t>(n));
  const std::string head = taken + "\n" + taken + "-";
  if (text.rfind(head, 0) != 0 || text.back() != '\n') return {};
  std::string folder = text.substr(taken.size() + 1, text.size() - taken.size() - 2);
  // mkdtemp's six characters, and nothing more.
  if (folder.size() != taken.size() + 7 ||
      folder.find_first_of("/\n", taken.size() + 1) != std::string::npos)
    return {};
  return folder;
}

bool writeRecord(const std::string& record, const std::string& taken, const std::string& folder) {
  const std::string temp = record + ".new-" + std::to_string(::getpid());
  ::unlink(temp.c_str());
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  const std::string text = taken + "\n" + folder + "\n";
  const bool written = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
  const bool closed = ::close(fd) == 0;
  if (!written || !closed || ::rename(temp.c_str(), record.c_str()) != 0) {
    ::unlink(temp.c_str());
    return false;
  }
  return true;
}

// The recorded folder when it is (or can be made again) a private folder.
std::string recordedFolder(const std::string& record, const std::string& taken) {
  std::string folder = readRecord(record, taken);
  return !folder.empty() && privateFolderProblem(folder).empty() ? folder : std::string();
}

}  // namespace

std::string privateFolderProblem(const std::string& path) {
  if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return std::strerror(errno);
  struct stat st;
  if (::lstat(path.c_str(), &st) != 0) return std::strerror(errno);
  if (S_ISLNK(st.st_mode)) return "it is a symbolic link";
  if (!S_ISDIR(st.st_mode)) return "it is not a folder";
  if (st.st_uid != ::geteuid()) return "it belongs to another user";
  if ((st.st_mode & 077) != 0) return "other users can use it";
  return {};
}

std::string privateFolderInPlaceOf(const std::string& taken) {
  const std::string record = recordPath();
  if (record.empty()) return {};
  if (std::string kept = recordedFolder(record, taken); !kept.empty()) return kept;
  std::string made = taken + "-XXXXXX";
  if (::mkdtemp(made.data()) == nullptr) return {};
  if (!writeRecord(record, taken, made)) {
    ::rmdir(made.c_str());
    return {};
  }
  // Another program that made its own meanwhile and recorded it last: both use that one.
  if (std::string kept = recordedFolder(record, taken); !kept.empty() && kept != made) {
    ::rmdir(made.c_str());
    return kept;
  }
  return made;
}

}  // namespace lexora
