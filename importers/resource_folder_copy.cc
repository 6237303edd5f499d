#include "importers/resource_folder_copy.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <vector>

namespace lexora::importers {
namespace {

namespace fs = std::filesystem;

struct Planned {
  fs::path relative;
  bool folder = false;
};

// Closes a descriptor when it goes out of scope.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  // Closes now; false when the close reports a failed write.
  bool close() {
    const int fd = fd_;
    fd_ = -1;
    return fd < 0 || ::close(fd) == 0;
  }

 private:
  int fd_;
};

Status systemError(const fs::path& path, const char* what) {
  return Status::ioError(path.string() + ": " + what + ": " + std::strerror(errno));
}

// The folders and regular files below `from`, parents before their contents; links and
// special files are only counted.
Status listFolder(const fs::path& from, std::vector<Planned>& plan, uint64_t& skipped) {
  std::error_code ec;
  fs::recursive_directory_iterator it(from, fs::directory_options::none, ec);
  for (const fs::recursive_directory_iterator end; !ec && it != end; it.increment(ec)) {
    const fs::file_status status = it->symlink_status(ec);
    if (ec) break;
    const fs::path relative = it->path().lexically_relative(from);
    if (fs::is_directory(status)) {
      plan.push_back({relative, true});
    } else if (fs::is_regular_file(status)) {
      plan.push_back({relative, false});
    } else {
      ++skipped;
    }
  }
  if (ec) return Status::ioError(from.string() + ": cannot read: " + ec.message());
  return Status::ok();
}

// Whether something may be written at `target`.
Status checkTarget(const fs::path& target, bool folder, bool replace) {
  std::error_code ec;
  const fs::file_status status = fs::symlink_status(target, ec);
  if (!fs::exists(status)) return Status::ok();
  const std::string name = target.string();
  if (fs::is_symlink(status)) return Status::invalidArgument(name + ": is a link; not written");
  if (folder) {
    if (fs::is_directory(status)) return Status::ok();
    return Status::invalidArgument(name + ": exists and is not a folder");
  }
  if (!fs::is_regular_file(status))
    return Status::invalidArgument(name + ": exists and is not a regular file");
  if (!replace) return Status::invalidArgument(name + ": exists already");
  return Status::ok();
}

Status copyFile(const fs::path& from, const fs::path& to, bool replace) {
  Descriptor in(::open(from.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
  struct stat st {};
  if (in.get() < 0 || ::fstat(in.get(), &st) != 0) return systemError(from, "cannot open");
  if (!S_ISREG(st.st_mode)) return Status::invalidArgument(from.string() + ": not a regular file");
  const int flags = O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC | (replace ? O_TRUNC : O_EXCL);
  Descriptor out(::open(to.c_str(), flags, 0644));
  if (out.get() < 0) return systemError(to, "cannot create");
  std::vector<char> buffer(1 << 16);
  for (;;) {
    const ssize_t got = ::read(in.get(), buffer.data(), buffer.size());
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return systemError(from, "cannot read");
    if (got == 0) break;
    for (ssize_t written = 0; written < got;) {
      const ssize_t put =
          ::write(out.get(), buffer.data() + written, static_cast<size_t>(got - written));
      if (put < 0 && errno == EINTR) continue;
      if (put <= 0) return systemError(to, "cannot write");
      written += put;
    }
  }
  if (!out.close()) return systemError(to, "cannot write");
  return Status::ok();
}

// The files and folders to copy (none when there is no file to copy), after checking every
// target.
Status plannedCopy(const std::string& from, const std::string& to, bool replace,
                   std::vector<Planned>& plan, uint64_t& skipped) {
  std::error_code ec;
  const fs::file_status source = fs::symlink_status(from, ec);
  if (!fs::exists(source)) return Status::ok();
  if (!fs::is_directory(source)) {  // a link to a folder could lead anywhere
    skipped = 1;
    return Status::ok();
  }
  if (Status s = listFolder(from, plan, skipped); !s.isOk()) return s;
  bool anyFile = false;
  for (const Planned& p : plan) anyFile = anyFile || !p.folder;
  if (!anyFile) {
    plan.clear();
    return Status::ok();
  }
  if (Status s = checkTarget(to, true, replace); !s.isOk()) return s;
  for (const Planned& p : plan) {
    if (Status s = checkTarget(fs::path(to) / p.relative, p.folder, replace); !s.isOk()) return s;
  }
  return Status::ok();
}

}  // namespace

Status checkResourceCopy(const std::string& from, const std::string& to, bool replace) {
  std::vector<Planned> plan;
  uint64_t skipped = 0;
  return plannedCopy(from, to, replace, plan, skipped);
}

Status copyResourceFolder(const std::string& from, const std::string& to, bool replace,
                          ResourceCopy& done) {
  done = ResourceCopy{};
  std::vector<Planned> plan;
  if (Status s = plannedCopy(from, to, replace, plan, done.skipped); !s.isOk() || plan.empty())
    return s;
  std::error_code ec;
  fs::create_directories(to, ec);
  if (ec) return Status::ioError(to + ": cannot create: " + ec.message());
  for (const Planned& p : plan) {
    const fs::path target = fs::path(to) / p.relative;
    if (p.folder) {
      fs::create_directory(target, ec);
      if (ec) return Status::ioError(target.string() + ": cannot create: " + ec.message());
      continue;
    }
    if (Status s = copyFile(fs::path(from) / p.relative, target, replace); !s.isOk()) return s;
    ++done.files;
  }
  return Status::ok();
}

uint64_t countResourceFiles(const std::string& folder) {
  std::error_code ec;
  if (!fs::is_directory(fs::symlink_status(folder, ec))) return 0;
  std::vector<Planned> plan;
  uint64_t skipped = 0;
  if (!listFolder(folder, plan, skipped).isOk()) return 0;
  uint64_t files = 0;
  for (const Planned& p : plan) files += p.folder ? 0 : 1;
  return files;
}

}  // namespace lexora::importers
