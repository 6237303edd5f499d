#pragma once
// The pictures and sounds that entries name, copied at import into a folder that becomes the
// dictionary's resource folder (fileSetNames(dataFile).resourceFolder). Only the files that
// entries name are kept, each once, under a name that is safe in a path and in a page:
// separators become '/', letters lower case, characters outside [a-z0-9._-/] and non-ASCII
// letters become '_', and no part may be empty or start with a dot.
//
// An entry names a stored file with a media line: U+FFFC, then the stored name.

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "util/status.h"

namespace lexora::importers {

class MediaArchive;
struct SourceInfo;

// The lead of an entry markup line that names a picture or a sound (U+FFFC).
inline constexpr std::string_view kMediaLineLead = "\xEF\xBF\xBC";

// The name a file is stored under; empty for a name that has nothing usable.
std::string storedResourceName(std::string_view name);

class ResourceStore {
 public:
  // Files go to `folder`, which is made when the first one arrives.
  explicit ResourceStore(std::string folder) : folder_(std::move(folder)) {}

  // True when a file of that (source) name is stored already.
  bool has(std::string_view name) const { return stored_.count(storedResourceName(name)) != 0; }

  // Stores a file; fails when it cannot be written. An empty name is refused.
  Status put(std::string_view name, std::string_view bytes);

  // The media line that shows a stored file.
  static std::string mediaLine(std::string_view name);

  const std::string& folder() const { return folder_; }
  uint64_t count() const { return stored_.size(); }
  uint64_t bytes() const { return bytes_; }

 private:
  std::string folder_;
  std::map<std::string, bool, std::less<>> stored_;
  uint64_t bytes_ = 0;
};

// The media line of a file that an entry names, copied from `media` into `store` first (once).
// Empty when the name has nothing usable or `media` lacks the file (both counted in
// info.resourcesSkipped), and when the file cannot be stored (`why` says why).
std::string storeMediaLine(std::string_view name, MediaArchive& media, ResourceStore& store,
                           SourceInfo& info, std::string& why);

}  // namespace lexora::importers
