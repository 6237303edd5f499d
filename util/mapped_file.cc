#include "util/mapped_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace lexora {

MappedFile::~MappedFile() { close(); }

MappedFile::MappedFile(MappedFile&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)) {}

MappedFile& MappedFile::operator=(MappedFile&& other) noexcept {
  if (this != &other) {
    close();
    data_ = std::exchange(other.data_, nullptr);
    size_ = std::exchange(other.size_, 0);
  }
  return *this;
}

Status MappedFile::open(const std::string& path) {
  close();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return Status::notFound(path + ": " + std::strerror(errno));
  struct stat about {};
  if (::fstat(fd, &about) != 0 || !S_ISREG(about.st_mode) || about.st_size <= 0) {
    ::close(fd);
    return Status::corruption(path + ": not a file that can be mapped");
  }
  const auto size = static_cast<size_t>(about.st_size);
  void* p = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
  const int mapError = errno;
  ::close(fd);  // the mapping keeps the file
  if (p == MAP_FAILED) return Status::ioError(path + ": cannot map: " + std::strerror(mapError));
  data_ = static_cast<const uint8_t*>(p);
  size_ = size;
  return Status::ok();
}

void MappedFile::close() {
  // munmap takes a pointer it may write through; the pages were mapped for reading only.
  if (data_ != nullptr) ::munmap(const_cast<uint8_t*>(data_), size_);
  data_ = nullptr;
  size_ = 0;
}

}  // namespace lexora
