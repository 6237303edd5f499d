#include "engine/dictionary_files.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

namespace lexora {
namespace {

std::string errnoText(int error) { return std::strerror(error); }

bool isPermissionError(int error) {
  return error == EACCES || error == EROFS || error == EPERM || error == ETXTBSY;
}

}  // namespace

DictionaryFiles::DictionaryFiles(bool& ioFailed, std::string& error)
    : ioFailed_(ioFailed), error_(error) {}

DictionaryFiles::~DictionaryFiles() { close(); }

bool DictionaryFiles::fail(const std::string& message) {
  error_ = message;
  return false;
}

bool DictionaryFiles::open(const FileSetNames& names) { return openAll(names, false); }

bool DictionaryFiles::create(const FileSetNames& names) { return openAll(names, true); }

bool DictionaryFiles::openAll(const FileSetNames& names, bool create) {
  close();
  names_[slot(DictionaryFile::Index)] = names.indexFile;
  names_[slot(DictionaryFile::Word)] = names.wordFile;
  names_[slot(DictionaryFile::Data)] = names.dataFile;
  int fds[3] = {-1, -1, -1};
  bool readOnly = false;
  auto abandon = [&fds](void) {
    for (int& fd : fds) {
      if (fd >= 0) ::close(fd);
      fd = -1;
    }
    return false;
  };

  // Opened in the order word file, data file, index file.
  for (DictionaryFile file : {DictionaryFile::Word, DictionaryFile::Data, DictionaryFile::Index}) {
    const std::string& path = names_[slot(file)];
    const int flags = O_RDWR | O_CLOEXEC | (create ? O_CREAT : 0);
    int fd = ::open(path.c_str(), flags, 0644);
    if (fd < 0 && !create && isPermissionError(errno)) {
      fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
      if (fd >= 0) readOnly = true;
    }
    if (fd < 0) {
      const int error = errno;
      abandon();
      return fail((create ? "cannot create " : "cannot open ") + path + ": " + errnoText(error));
    }
    fds[slot(file)] = fd;
    struct stat st;
    if (::fstat(fd, &st) == 0 && !S_ISREG(st.st_mode)) {
      abandon();
      return fail("cannot open " + path + ": not a regular file");
    }
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_RANDOM);
  }

  // The three names must be three different files (a data file named like its index file
  // would lock against itself).
  struct stat st[3];
  for (int i = 0; i < 3; ++i) {
    if (::fstat(fds[i], &st[i]) != 0) {
      const int error = errno;
      abandon();
      return fail("cannot open " + names_[i] + ": " + errnoText(error));
    }
  }
  for (int i = 0; i < 3; ++i) {
    for (int j = i + 1; j < 3; ++j) {
      if (st[i].st_dev == st[j].st_dev && st[i].st_ino == st[j].st_ino) {
        abandon();
        return fail("cannot open " + names.dataFile +
                    ": the data file must not be the dictionary's word or index file");
      }
    }
  }

  // Locks belong to the open file description, so a second open in this process is refused
  // as well as one in another program. The index file is locked first.
  for (DictionaryFile file : {DictionaryFile::Index, DictionaryFile::Word, DictionaryFile::Data}) {
    if (::flock(fds[slot(file)], LOCK_EX | LOCK_NB) != 0) {
      const int error = errno;
      abandon();
      const std::string& path = names_[slot(file)];
      if (error == EWOULDBLOCK) {
        return fail(path + " is open in another dictionary slot or program");
      }
      return fail("cannot lock " + path + ": " + errnoText(error));
    }
  }

  if (create) {
    for (int i = 0; i < 3; ++i) {
      if (::ftruncate(fds[i], 0) != 0) {
        const int error = errno;
        abandon();
        return fail("cannot create " + names_[i] + ": " + errnoText(error));
      }
    }
  }

  for (int i = 0; i < 3; ++i) fds_[i] = fds[i];
  readOnly_ = readOnly;
  return true;
}

void DictionaryFiles::close() {
  for (FilePageCache& cache : pageCaches_) cache.clear();
  for (int& fd : fds_) {
    if (fd >= 0) ::close(fd);  // closing the description releases its lock
    fd = -1;
  }
  readOnly_ = false;
}

bool DictionaryFiles::read(DictionaryFile file, uint32_t offset, void* buffer, size_t count) {
  const int fd = fds_[slot(file)];
  auto* out = static_cast<uint8_t*>(buffer);
  if (fd < 0) {
    error_ = "cannot read " + name(file) + ": the dictionary is not open";
    ioFailed_ = true;
    return false;
  }
  bool ok = true;
  int error = 0;
  if (file != DictionaryFile::Data) {
    ok = pageCaches_[slot(file)].read(fd, offset, out, count);
    error = ok ? 0 : errno;
  } else {
    size_t done = 0;
    while (done < count) {
      const ssize_t n = ::pread(fd, out + done, count - done, static_cast<off_t>(offset) + done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        error = n < 0 ? errno : 0;
        ok = false;
        break;
      }
      done += static_cast<size_t>(n);
    }
  }
  if (!ok) {
    error_ = "cannot read " + std::to_string(count) + " bytes at offset " +
             std::to_string(offset) + " of " + name(file) + ": " +
             (error != 0 ? errnoText(error) : std::string("the file ends first"));
    ioFailed_ = true;
    return false;
  }
  ioFailed_ = false;
  return true;
}

bool DictionaryFiles::write(DictionaryFile file, uint32_t offset, const void* buffer,
                            size_t count) {
  const int fd = fds_[slot(file)];
  const auto* in = static_cast<const uint8_t*>(buffer);
  if (file != DictionaryFile::Data) pageCaches_[slot(file)].invalidate(offset, count);
  // Reserve the space first: the writer rewrites the last block and shifts word records in
  // place, so a write that stops half-way on a full disk would damage bytes that are already
  // referenced. With the space reserved, a full disk fails here and changes nothing.
  if (fd >= 0 && count > 0) {
    const int error = ::posix_fallocate(fd, static_cast<off_t>(offset), static_cast<off_t>(count));
    if (error != 0 && error != EOPNOTSUPP && error != ENOSYS) {
      error_ = "cannot write " + std::to_string(count) + " bytes at offset " +
               std::to_string(offset) + " of " + name(file) + ": " +
               (readOnly_ && error == EBADF ? std::string("the dictionary is read-only")
                                            : errnoText(error));
      ioFailed_ = true;
      return false;
    }
  }
  size_t done = 0;
  while (done < count) {
    if (fd < 0) break;
    const ssize_t n = ::pwrite(fd, in + done, count - done, static_cast<off_t>(offset) + done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      const int error = n < 0 ? errno : ENOSPC;
      error_ = "cannot write " + std::to_string(count) + " bytes at offset " +
               std::to_string(offset) + " of " + name(file) + ": " +
               (readOnly_ && error == EBADF ? std::string("the dictionary is read-only")
                                            : errnoText(error));
      ioFailed_ = true;
      return false;
    }
    done += static_cast<size_t>(n);
  }
  if (done < count) {
    error_ = "cannot write " + name(file) + ": the dictionary is not open";
    ioFailed_ = true;
    return false;
  }
  ioFailed_ = false;
  return true;
}

bool DictionaryFiles::size(DictionaryFile file, uint64_t& bytes) {
  struct stat st;
  const int fd = fds_[slot(file)];
  if (fd < 0 || ::fstat(fd, &st) != 0) {
    error_ = "cannot find the size of " + name(file);
    return false;
  }
  bytes = static_cast<uint64_t>(st.st_size);
  return true;
}

bool DictionaryFiles::truncate(DictionaryFile file, uint32_t length) {
  const int fd = fds_[slot(file)];
  if (file != DictionaryFile::Data) pageCaches_[slot(file)].truncated(length);
  if (fd < 0 || ::ftruncate(fd, static_cast<off_t>(length)) != 0) {
    error_ = "cannot truncate " + name(file) + ": " + errnoText(fd < 0 ? EBADF : errno);
    return false;
  }
  return true;
}

bool DictionaryFiles::flush(DictionaryFile file) {
  const int fd = fds_[slot(file)];
  if (fd < 0 || ::fsync(fd) != 0) {
    error_ = "cannot flush " + name(file) + ": " + errnoText(fd < 0 ? EBADF : errno);
    return false;
  }
  return true;
}

}  // namespace lexora
