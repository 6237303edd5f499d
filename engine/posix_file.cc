// The system's files: descriptors, pread/pwrite, fsync and flock.

#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "engine/file.h"

namespace lexora {
namespace {

std::string why(int error) { return std::strerror(error); }

bool isPermissionError(int error) {
  return error == EACCES || error == EROFS || error == EPERM || error == ETXTBSY;
}

// The folder part of a path ("." for a bare name).
std::string folderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

class PosixFile : public File {
 public:
  PosixFile(std::string name, int fd, bool readOnly)
      : name_(std::move(name)), fd_(fd), readOnly_(readOnly) {}
  ~PosixFile() override { ::close(fd_); }  // closing the description releases its lock

  const std::string& name() const override { return name_; }
  bool isReadOnly() const override { return readOnly_; }

  Status readSome(uint64_t offset, void* buffer, size_t count, size_t& done) override {
    auto* out = static_cast<uint8_t*>(buffer);
    done = 0;
    while (done < count) {
      const ssize_t n = ::pread(fd_, out + done, count - done, static_cast<off_t>(offset + done));
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) {
        return Status::ioError("cannot read " + std::to_string(count) + " bytes at offset " +
                               std::to_string(offset) + " of " + name_ + ": " + why(errno));
      }
      if (n == 0) break;
      done += static_cast<size_t>(n);
    }
    return Status::ok();
  }

  Status write(uint64_t offset, const void* buffer, size_t count) override {
    const auto* in = static_cast<const uint8_t*>(buffer);
    size_t done = 0;
    while (done < count) {
      const ssize_t n = ::pwrite(fd_, in + done, count - done, static_cast<off_t>(offset + done));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        const int error = n < 0 ? errno : ENOSPC;
        const std::string text = "cannot write " + std::to_string(count) + " bytes at offset " +
                                 std::to_string(offset) + " of " + name_ + ": ";
        if (readOnly_ && error == EBADF) return Status::readOnly(text + "the file is read-only");
        return Status::ioError(text + why(error));
      }
      done += static_cast<size_t>(n);
    }
    return Status::ok();
  }

  Status size(uint64_t& bytes) override {
    struct stat st;
    if (::fstat(fd_, &st) != 0) {
      return Status::ioError("cannot find the size of " + name_ + ": " + why(errno));
    }
    bytes = static_cast<uint64_t>(st.st_size);
    return Status::ok();
  }

  Status truncate(uint64_t length) override {
    if (::ftruncate(fd_, static_cast<off_t>(length)) != 0) {
      const int error = errno;
      if (readOnly_)
        return Status::readOnly("cannot truncate " + name_ + ": the file is read-only");
      return Status::ioError("cannot truncate " + name_ + ": " + why(error));
    }
    return Status::ok();
  }

  Status sync() override {
    if (::fsync(fd_) != 0) return Status::ioError("cannot flush " + name_ + ": " + why(errno));
    return Status::ok();
  }

  Status lock() override {
    if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) return Status::ok();
    const int error = errno;
    if (error == EWOULDBLOCK) {
      return Status::busy(name_ + " is open in another dictionary slot or program");
    }
    return Status::ioError("cannot lock " + name_ + ": " + why(error));
  }

  Status identity(uint64_t& device, uint64_t& inode) override {
    struct stat st;
    if (::fstat(fd_, &st) != 0) return Status::ioError("cannot open " + name_ + ": " + why(errno));
    device = static_cast<uint64_t>(st.st_dev);
    inode = static_cast<uint64_t>(st.st_ino);
    return Status::ok();
  }

 private:
  std::string name_;
  int fd_;
  bool readOnly_;
};

class PosixFileSystem : public FileSystem {
 public:
  Status open(const std::string& path, OpenMode mode, std::unique_ptr<File>& file) override {
    file.reset();
    bool readOnly = mode == OpenMode::ReadOnly;
    // Without O_NONBLOCK a FIFO in a file's place would keep the open waiting for a writer.
    int flags = O_CLOEXEC | O_NONBLOCK | (readOnly ? O_RDONLY : O_RDWR);
    if (mode == OpenMode::ReadWriteCreate) flags |= O_CREAT;
    if (mode == OpenMode::CreateNew) flags |= O_CREAT | O_EXCL | O_NOFOLLOW;
    int fd = ::open(path.c_str(), flags, 0644);
    int error = fd < 0 ? errno : 0;
    if (fd < 0 && mode == OpenMode::ReadWrite && isPermissionError(error)) {
      fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
      if (fd >= 0) readOnly = true;
    }
    if (fd < 0) {
      const std::string text =
          (mode == OpenMode::ReadOnly || mode == OpenMode::ReadWrite ? "cannot open "
                                                                     : "cannot create ") +
          path + ": " + why(error);
      if (error == ENOENT) return Status::notFound(text);
      if (isPermissionError(error)) return Status::readOnly(text);
      return Status::ioError(text);
    }
    struct stat st;
    if (::fstat(fd, &st) == 0 && !S_ISREG(st.st_mode)) {
      ::close(fd);
      return Status::ioError("cannot open " + path + ": not a regular file");
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_RANDOM);
    file = std::make_unique<PosixFile>(path, fd, readOnly);
    return Status::ok();
  }

  Status remove(const std::string& path) override {
    if (::unlink(path.c_str()) == 0) return Status::ok();
    const int error = errno;
    const std::string text = "cannot remove " + path + ": " + why(error);
    if (error == ENOENT) return Status::notFound(text);
    if (isPermissionError(error)) return Status::readOnly(text);
    return Status::ioError(text);
  }

  Status rename(const std::string& from, const std::string& to) override {
    int result = ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE);
    if (result != 0 && (errno == EINVAL || errno == ENOSYS)) {
      // A file system without RENAME_NOREPLACE: a new hard link never replaces anything.
      result = ::link(from.c_str(), to.c_str());
      if (result == 0) ::unlink(from.c_str());
    }
    if (result == 0) return Status::ok();
    const int error = errno;
    const std::string text = "cannot rename " + from + " to " + to + ": " + why(error);
    if (error == ENOENT) return Status::notFound(text);
    if (isPermissionError(error)) return Status::readOnly(text);
    return Status::ioError(text);
  }

  Status syncFolder(const std::string& path) override {
    const std::string folder = folderOf(path);
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return Status::ioError("cannot open the folder " + folder + ": " + why(errno));
    const bool ok = ::fsync(fd) == 0;
    const int error = errno;
    ::close(fd);
    if (!ok) return Status::ioError("cannot flush the folder " + folder + ": " + why(error));
    return Status::ok();
  }
};

}  // namespace

Status File::read(uint64_t offset, void* buffer, size_t count) {
  size_t done = 0;
  Status s = readSome(offset, buffer, count, done);
  if (!s.isOk()) return s;
  if (done < count) {
    return Status::ioError("cannot read " + std::to_string(count) + " bytes at offset " +
                           std::to_string(offset) + " of " + name() + ": the file ends first");
  }
  return Status::ok();
}

FileSystem& systemFileSystem() {
  static PosixFileSystem fs;
  return fs;
}

}  // namespace lexora
