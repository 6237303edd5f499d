#pragma once
// The media files of a dictionary source: for DSL the zip archive NAME.dsl.files.zip (read with
// libzip) or the folder NAME.dsl.files beside the .dsl (or .dsl.dz); for StarDict its res/. Names
// are matched without regard to case; a name that would leave the folder, a file that is not a
// regular file and a file larger than kMediaFileLimit are not read.

#include <cstdint>
#include <string>
#include <string_view>

struct zip;

namespace lexora::importers {

inline constexpr uint64_t kMediaFileLimit = 64u << 20;

class MediaArchive {
 public:
  explicit MediaArchive(const std::string& dslFile);
  // Files from `zipFile` (when not empty) or else from `folder` (when not empty).
  MediaArchive(const std::string& zipFile, const std::string& folder);
  ~MediaArchive();
  MediaArchive(const MediaArchive&) = delete;
  MediaArchive& operator=(const MediaArchive&) = delete;

  bool exists() const { return zip_ != nullptr || !folder_.empty(); }

  // The bytes of the named file; false when there is no such file to read.
  bool read(std::string_view name, std::string& bytes);

 private:
  void openZip(const std::string& file);
  bool readFromFolder(std::string_view name, std::string& bytes);

  zip* zip_ = nullptr;
  std::string folder_;
  std::string realFolder_;  // folder_ with its links resolved, once a file is read from it
};

}  // namespace lexora::importers
