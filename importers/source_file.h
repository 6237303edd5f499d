#pragma once
// Reading a whole source file into memory: a gzip file (a dictd ".dict.dz", a StarDict
// ".idx.gz" or ".dict.dz") is inflated, any other file is read as it is.

#include <string>

#include "util/status.h"

namespace lexora::importers {

// The whole (decompressed) content of `file`; on failure a reason that names the file.
Status readSourceFile(const std::string& file, std::string& text);

}  // namespace lexora::importers
