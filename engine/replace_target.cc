#include "engine/replace_target.h"

#include <sys/stat.h>

#include "engine/dictionary.h"
#include "engine/file_format.h"

namespace lexora {

Status checkReplaceable(const std::string& dataFile, bool replaceDictionary) {
  const FileSetNames names = fileSetNames(dataFile);
  bool exists[3] = {false, false, false};
  const std::string* files[3] = {&names.dataFile, &names.wordFile, &names.indexFile};
  for (int i = 0; i < 3; ++i) {
    struct stat st;
    if (::stat(files[i]->c_str(), &st) != 0) continue;
    exists[i] = true;
    if (!S_ISREG(st.st_mode)) {
      return Status::invalidArgument(*files[i] + " exists and is not a regular file");
    }
  }
  if (!exists[0]) {
    for (int i = 1; i < 3; ++i) {
      if (exists[i]) {
        return Status::invalidArgument(
            *files[i] +
            " belongs to another dictionary (a dictionary's companion files take "
            "only the base name of its data file); choose another name");
      }
    }
    // The new dictionary's resource folder would replace it, and it is nobody's.
    struct stat st;
    if (::lstat(names.resourceFolder.c_str(), &st) == 0) {
      return Status::invalidArgument(names.resourceFolder +
                                     " exists and belongs to no dictionary; choose another name");
    }
    return Status::ok();
  }
  Dictionary existing;
  if (Status s = existing.openDictionary(dataFile); !s.isOk()) {
    if (s.code() == Status::Code::Busy) return s;
    return Status::invalidArgument(dataFile + " exists and is not a dictionary (" + s.message() +
                                   ")");
  }
  if (!replaceDictionary) {
    return Status::invalidArgument(dataFile +
                                   " is a dictionary already (import replaces it with --force)");
  }
  return Status::ok();
}

}  // namespace lexora
