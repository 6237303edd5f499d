#include "importers/dsl_include.h"

#include <algorithm>
#include <filesystem>
#include <set>

#include "importers/source_file.h"

namespace lexora::importers {
namespace {

namespace fs = std::filesystem;

struct IncludeWalk {
  std::string root;                // the source's real folder, ending in '/'
  std::vector<std::string> chain;  // real paths of the files being read, outermost first
  std::set<std::string> read;      // real paths of every file read
  uint64_t budget = kMaxSourceBytes;
  std::vector<std::unique_ptr<DslFile>>* files = nullptr;
};

Status readIncluded(const std::string& shown, const std::string& real, IncludeWalk& walk);

// The real path of the file `include` names in the file at `real`, after every check.
Status resolveInclude(const DslInclude& include, const std::string& real, const std::string& where,
                      const IncludeWalk& walk, std::string& target) {
  if (walk.chain.size() > kMaxDslIncludeDepth) {
    return Status::invalidArgument(where + "included files nest deeper than " +
                                   std::to_string(kMaxDslIncludeDepth));
  }
  const fs::path name(include.name);
  if (include.name.empty() || name.is_absolute())
    return Status::invalidArgument(where + "names no file in the source's folder");
  std::error_code ec;
  const fs::path resolved = fs::canonical(fs::path(real).parent_path() / name, ec);
  if (ec) return Status::notFound(where + "cannot open: " + ec.message());
  target = resolved.string();
  if (target.compare(0, walk.root.size(), walk.root) != 0)
    return Status::invalidArgument(where + "lies outside the source's folder");
  if (std::find(walk.chain.begin(), walk.chain.end(), target) != walk.chain.end())
    return Status::invalidArgument(where + "includes a file that is being read (a loop)");
  return Status::ok();
}

Status readIncluded(const std::string& shown, const std::string& real, IncludeWalk& walk) {
  std::string bytes;
  // The source is read under the name it was given; the reason names the file.
  if (Status s = readSourceFile(walk.chain.empty() ? shown : real, bytes, walk.budget); !s.isOk())
    return s;
  walk.budget -= std::min<uint64_t>(walk.budget, bytes.size());
  auto file = std::make_unique<DslFile>();
  file->path = shown;
  if (Status s = parseDslText(bytes, file->text); !s.isOk())
    return Status::invalidArgument(shown + ": " + s.message());
  const std::vector<DslInclude> includes = file->text.includes;
  walk.files->push_back(std::move(file));
  walk.chain.push_back(real);
  walk.read.insert(real);
  for (const DslInclude& include : includes) {
    const std::string where =
        shown + ":" + std::to_string(include.line) + ": #INCLUDE \"" + include.name + "\": ";
    std::string target;
    if (Status s = resolveInclude(include, real, where, walk, target); !s.isOk()) return s;
    if (walk.read.count(target) != 0) continue;  // read once
    const std::string child =
        (fs::path(shown).parent_path() / include.name).lexically_normal().string();
    if (Status s = readIncluded(child, target, walk); !s.isOk()) return s;
  }
  walk.chain.pop_back();
  return Status::ok();
}

}  // namespace

Status readDslFiles(const std::string& file, std::vector<std::unique_ptr<DslFile>>& files) {
  files.clear();
  if (Status s = checkSourceFile(file); !s.isOk()) return s;
  std::error_code ec;
  const fs::path real = fs::canonical(file, ec);
  if (ec) return Status::notFound(file + ": cannot open: " + ec.message());
  IncludeWalk walk;
  walk.root = real.parent_path().string();
  if (walk.root.empty() || walk.root.back() != '/') walk.root += '/';
  walk.files = &files;
  return readIncluded(file, real.string(), walk);
}

}  // namespace lexora::importers
