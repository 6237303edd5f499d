#pragma once
// A file mapped read-only into memory: its bytes are read in place, page by page as they are
// touched, without being copied into the process first. The mapping is private, so nothing
// written to it (nothing is) reaches the file.
//
// A mapped file must not shrink while it is mapped: a read beyond its new end would be a bus
// error. Files that the program maps are written under a temporary name and renamed into
// place, which leaves the mapped inode whole.
//
// Usage:
//   MappedFile file;
//   if (file.open("/x/en.psg").isOk()) ... file.bytes() ...

#include <cstdint>
#include <span>
#include <string>

#include "util/status.h"

namespace lexora {

class MappedFile {
 public:
  MappedFile() = default;
  ~MappedFile();
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;
  MappedFile(MappedFile&& other) noexcept;
  MappedFile& operator=(MappedFile&& other) noexcept;

  // Maps the whole file, replacing any file mapped before. An empty file cannot be mapped.
  Status open(const std::string& path);
  void close();

  std::span<const uint8_t> bytes() const { return {data_, size_}; }
  bool isOpen() const { return data_ != nullptr; }

 private:
  const uint8_t* data_ = nullptr;
  size_t size_ = 0;
};

}  // namespace lexora
