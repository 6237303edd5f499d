#pragma once
// What a page in the viewer may load. Pages carry text from dictionaries that come from
// anywhere, so a page may name any path, device or address; the viewer reads only
//   - the program's own pictures: picture files directly in its data or program folder,
//   - files inside the resource folder of the dictionary whose entry is shown,
//   - the background picture that the page head names (the user's own texture),
// each a regular file once every link is resolved, and none larger than kMaxResourceBytes.
// Everything else (other local files, devices, pipes, the network) is refused.

#include <cstddef>
#include <string>
#include <vector>

namespace lexora {

inline constexpr size_t kMaxResourceBytes = 8u << 20;

class ResourceGuard {
 public:
  // Adds a folder whose picture files (.gif, .png, .jpg, .jpeg, .bmp) every viewer may read,
  // besides the program's data and program folders (which are always in the list).
  static void addPictureFolder(const std::string& folder);
  // The resource folder of the shown dictionary; empty, or a link rather than a folder: none.
  void setResourceFolder(const std::string& folder);
  // The one file named as the page's background; empty: none.
  void setBackgroundPicture(const std::string& file);

  // The local file a page's reference names: an absolute path, a file:// path, or a name
  // relative to the resource folder. Empty for anything else.
  std::string localPath(const std::string& scheme, const std::string& path) const;

  // Reads `path` into `bytes` when the rules above allow it; false (and nothing read) otherwise.
  bool read(const std::string& path, std::string& bytes) const;

 private:
  bool allowed(const std::string& resolved) const;

  std::string resourceFolder_;     // resolved, ending in '/'; empty: none
  std::string backgroundPicture_;  // resolved; empty: none
};

}  // namespace lexora
