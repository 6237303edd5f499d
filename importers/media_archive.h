#pragma once
// The media files of a DSL dictionary: the zip archive NAME.dsl.files.zip (read with libzip)
// or the folder NAME.dsl.files beside the .dsl (or .dsl.dz). Names are matched without regard
// to case; a name that would leave the folder, a file that is not a regular file and a file
// larger than kMediaFileLimit are not read.

#include <cstdint>
#include <string>
#include <string_view>

struct zip;

namespace lexora::importers {

inline constexpr uint64_t kMediaFileLimit = 64u << 20;

class MediaArchive {
 public:
  explicit MediaArchive(const std::string& dslFile);
  ~MediaArchive();
  MediaArchive(const MediaArchive&) = delete;
  MediaArchive& operator=(const MediaArchive&) = delete;

  bool exists() const { return zip_ != nullptr || !folder_.empty(); }

  // The bytes of the named file; false when there is no such file to read.
  bool read(std::string_view name, std::string& bytes);

 private:
  bool readFromFolder(std::string_view name, std::string& bytes);

  zip* zip_ = nullptr;
  std::string folder_;
};

}  // namespace lexora::importers
