#pragma once
// The engine's one file layer: every read, write, flush and folder change of the dictionary
// files and their journal goes through a FileSystem. The default one is the system's own;
// tests put a fault-injecting one in its place to stop a write at any point.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "util/status.h"

namespace lexora {

class File {
 public:
  virtual ~File() = default;

  virtual const std::string& name() const = 0;
  // Opened for reading only (asked for, or writing was not allowed): writes fail.
  virtual bool isReadOnly() const = 0;

  // Reads up to count bytes at offset; done tells how many (fewer only at the end of the file).
  virtual Status readSome(uint64_t offset, void* buffer, size_t count, size_t& done) = 0;
  // Writes exactly count bytes at offset, growing the file as needed.
  virtual Status write(uint64_t offset, const void* buffer, size_t count) = 0;
  virtual Status size(uint64_t& bytes) = 0;
  virtual Status truncate(uint64_t length) = 0;
  // The file's bytes and length reach the disk.
  virtual Status sync() = 0;
  // An exclusive lock held until the file is closed; Busy when someone else holds it.
  virtual Status lock() = 0;
  // Two open files with the same identity are one file under two names.
  virtual Status identity(uint64_t& device, uint64_t& inode) = 0;

  // Reads exactly count bytes; a file that ends first is an IoError.
  Status read(uint64_t offset, void* buffer, size_t count);
};

enum class OpenMode {
  ReadOnly,
  ReadWrite,        // an existing file; opened read-only when writing is not allowed
  ReadWriteCreate,  // created when missing; existing bytes are kept
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // NotFound when the file does not exist (and the mode does not create it), ReadOnly when
  // only reading is allowed, IoError otherwise.
  virtual Status open(const std::string& path, OpenMode mode, std::unique_ptr<File>& file) = 0;
  virtual Status remove(const std::string& path) = 0;
  // The folder that holds path reaches the disk (a file created or removed in it stays so).
  virtual Status syncFolder(const std::string& path) = 0;
};

// The system's files (POSIX).
FileSystem& systemFileSystem();

}  // namespace lexora
