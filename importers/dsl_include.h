#pragma once
// The files of a DSL source: the source itself and the files its "#INCLUDE" directives name,
// whose cards belong to the same dictionary. A name is read relative to the folder of the file
// that includes it. Sources come from anywhere, so what an include may reach is bounded: only
// files inside the source's own folder tree (the folder of the source file, its links resolved)
// are read, whether the way out is "..", an absolute name or a symbolic link; files nest at most
// kMaxDslIncludeDepth deep; a file that includes itself, directly or through others, is refused;
// and all the files together hold at most kMaxSourceBytes. A file included a second time by
// another file is read once.

#include <memory>
#include <string>
#include <vector>

#include "importers/dsl_source.h"
#include "util/status.h"

namespace lexora::importers {

inline constexpr size_t kMaxDslIncludeDepth = 8;

struct DslFile {
  std::string path;  // as reports name it: the source, or its folder joined with the name
  DslText text;
};

// Reads `file` and, depth first in the order of their directives, every file it includes.
// Fails with a reason naming the file and the directive's line when an include is refused or
// cannot be read, and with readSourceFile's or parseDslText's reason for the source itself.
Status readDslFiles(const std::string& file, std::vector<std::unique_ptr<DslFile>>& files);

}  // namespace lexora::importers
