#pragma once
// Copying a dictionary's resource folder (its pictures and sounds) to another place, as an
// export does. Only the folder's own regular files and subfolders are copied: a symbolic link
// (to a file or to a folder) is never followed, and a device, pipe or socket is left out; both
// are counted in ResourceCopy::skipped.
//
// The target is checked whole before anything is written. An existing file of the same name
// is refused unless `replace` is set; a target that is a link, or a folder where a file goes
// (or a file where a folder goes), is always refused.

#include <cstdint>
#include <string>

#include "util/status.h"

namespace lexora::importers {

struct ResourceCopy {
  uint64_t files = 0;    // files copied
  uint64_t skipped = 0;  // links and special files left out
};

// Copies `from` into `to` (made when missing). A missing or empty `from` copies nothing and
// makes no `to`. Fails with a reason naming the file when a target is refused or a transfer
// fails; files copied before a failed transfer stay.
Status copyResourceFolder(const std::string& from, const std::string& to, bool replace,
                          ResourceCopy& done);

// The checks of copyResourceFolder alone: whether the copy would be refused. Nothing is written.
Status checkResourceCopy(const std::string& from, const std::string& to, bool replace);

// The number of files `copyResourceFolder` would copy from `folder` (0 when it is missing).
uint64_t countResourceFiles(const std::string& folder);

}  // namespace lexora::importers
