#pragma once
// A write-through cache of one file's contents in 4 KiB pages. The dictionary holds its files
// locked, so nothing but its own transfers change them: a search then reads the word table
// and the headwords from memory instead of asking the system for every 12-byte record.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <unordered_map>

#include "engine/file.h"

namespace lexora {

class FilePageCache {
 public:
  static constexpr size_t kPageSize = 4096;
  static constexpr size_t kMaxPages = 16384;  // 64 MiB; past that the cache starts over

  // Copies count bytes at offset from the file into out, loading missing pages from it.
  // Fails when the file ends before offset + count or a read fails.
  Status read(File& file, uint64_t offset, uint8_t* out, size_t count);

  // The file changed in [offset, offset + count): forget those pages and the partial page at
  // the file's end, whose length may have changed.
  void invalidate(uint64_t offset, uint64_t count);
  // The file was cut (or grown) to length.
  void truncated(uint64_t length);
  void clear();

 private:
  struct Page {
    size_t length = 0;  // valid bytes; below kPageSize only for the page at the file's end
    uint8_t bytes[kPageSize];
  };
  const Page* page(File& file, uint64_t index, Status& status);

  std::unordered_map<uint64_t, std::unique_ptr<Page>> pages_;
  uint64_t partialPage_ = UINT64_MAX;  // index of the cached page shorter than kPageSize
};

}  // namespace lexora
