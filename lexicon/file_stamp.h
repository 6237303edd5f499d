#pragma once
// The sizes and modification times of a dictionary's three files: what a cache built from a
// dictionary is keyed on, so that any change to the dictionary makes the cache stale.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace lexora {

struct FileStamp {
  std::array<uint64_t, 3> sizes{};
  std::array<int64_t, 3> modified{};  // nanoseconds since the epoch

  bool operator==(const FileStamp&) const = default;
};

// nullopt when one of the three files cannot be examined.
std::optional<FileStamp> dictionaryFileStamp(const std::string& dataFileName);

}  // namespace lexora
