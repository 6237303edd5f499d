#include "lexicon/file_stamp.h"

#include <sys/stat.h>

#include "engine/file_format.h"

namespace lexora {

std::optional<FileStamp> dictionaryFileStamp(const std::string& dataFileName) {
  const FileSetNames names = fileSetNames(dataFileName);
  const std::string* files[3] = {&names.dataFile, &names.wordFile, &names.indexFile};
  FileStamp stamp;
  for (size_t i = 0; i < 3; ++i) {
    struct stat st {};
    if (::stat(files[i]->c_str(), &st) != 0) return std::nullopt;
    stamp.sizes[i] = static_cast<uint64_t>(st.st_size);
    stamp.modified[i] = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  }
  return stamp;
}

}  // namespace lexora
