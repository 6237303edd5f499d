// lexora-cli export DATA [-o FILE] [--force]: every entry as TSV (headword TAB meaning, escaped)
// in table order, on stdout or into FILE. With -o, the dictionary's pictures and sounds (its
// resource folder) are copied into FILE's resource folder (FILE's name without its ending, then
// ".res"), where `import tsv FILE` finds them again. Stdout has no place for them: a note on
// stderr says how many are left out. An existing FILE, or a file in FILE's resource folder, is
// replaced only with --force; a link or a file of the exported dictionary never.

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <ostream>

#include "cli/arguments.h"
#include "cli/command_support.h"
#include "cli/commands.h"
#include "engine/dictionary.h"
#include "engine/file_format.h"
#include "importers/resource_folder_copy.h"
#include "importers/tsv_escape.h"
#include "util/standard_utf8.h"

namespace lexora::cli {
namespace {

namespace fs = std::filesystem;

constexpr uint32_t kChunk = 4096;  // entries per batch of headwords

// Every entry as TSV lines; false after reporting a failure.
bool writeEntries(Dictionary& d, const std::string& file, std::ostream& os, CommandIo& io) {
  const uint32_t total = d.wordCount();
  std::vector<std::u16string> words;
  std::u16string meaning;
  std::string out;
  for (uint32_t first = 0; first < total;) {
    if (Status s = d.readWords(first, std::min(kChunk, total - first), words); !s.isOk()) {
      failure(io, file, s.message());
      return false;
    }
    const auto got = static_cast<uint32_t>(words.size());
    out.clear();
    for (uint32_t i = 0; i < got; ++i) {
      // An empty or unreadable meaning is exported empty; only a failed file transfer stops.
      if (Status s = d.readMeaning(first + i, meaning); !s.isOk()) {
        if (s.code() == Status::Code::IoError) {
          failure(io, file, s.message());
          return false;
        }
        meaning.clear();
      }
      out += escapeTsvField(toUtf8(words[i]));
      out += '\t';
      out += escapeTsvField(toUtf8(meaning));
      out += '\n';
    }
    os << out;
    first += got;
  }
  return true;
}

bool sameFile(const std::string& a, const std::string& b) {
  std::error_code ec;
  return fs::equivalent(a, b, ec) && !ec;
}

// Why FILE may not be written; empty when it may.
std::string refusedOutput(const std::string& output, const std::string& dataFile, bool force) {
  std::error_code ec;
  const fs::file_status status = fs::symlink_status(output, ec);
  if (!fs::exists(status)) return {};
  if (fs::is_symlink(status)) return "is a link; not written";
  if (!fs::is_regular_file(status)) return "exists and is not a regular file";
  const FileSetNames names = fileSetNames(dataFile);
  for (const std::string& own : {names.dataFile, names.wordFile, names.indexFile,
                                 names.fullTextFile, names.suggestionFile}) {
    if (sameFile(output, own)) return "is a file of the dictionary being exported";
  }
  return force ? std::string() : "exists already (--force replaces it)";
}

// The TSV written under a temporary name beside FILE, then renamed over it.
bool writeOutput(Dictionary& d, const std::string& file, const std::string& output, CommandIo& io) {
  const fs::path target(output);
  // A new file of its own: nothing that is there already is overwritten.
  std::string pattern =
      (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
  const int fd = ::mkstemp(pattern.data());
  if (fd >= 0) {
    const mode_t mask = ::umask(0);  // the permissions any new file gets, not mkstemp's 0600
    ::umask(mask);
    [[maybe_unused]] const int changed = ::fchmod(fd, 0666 & ~mask);
    ::close(fd);
  }
  const fs::path temporary(pattern);
  std::error_code ec;
  std::ofstream os;
  if (fd >= 0) os.open(temporary, std::ios::binary | std::ios::trunc);
  if (!os) {
    if (fd >= 0) fs::remove(temporary, ec);
    failure(io, output, "cannot create (is its folder there, and writable?)");
    return false;
  }
  const bool written = writeEntries(d, file, os, io);
  os.close();
  if (written && !os) failure(io, temporary.string(), "cannot write");
  if (written && os) fs::rename(temporary, target, ec);
  if (!written || !os || ec) {
    if (ec) failure(io, output, "cannot rename into place: " + ec.message());
    fs::remove(temporary, ec);
    return false;
  }
  return true;
}

}  // namespace

int runExport(const std::vector<std::string>& args, CommandIo& io) {
  std::vector<std::string> rest = args;
  std::replace(rest.begin(), rest.end(), std::string("-o"), std::string("--output"));
  const bool force = takeFlag(rest, "--force");
  std::string why;
  const auto parsed = parseArguments(rest, {"--output"}, 1, 1, why);
  if (!parsed) return usageError(io, kExportUsage, why);
  if (force && !parsed->has("--output")) return usageError(io, kExportUsage, "--force needs -o");
  const std::string& file = parsed->positional[0];
  Dictionary d;
  if (!openOrReport(d, file, io)) return kExitFailed;
  const std::string resources = fileSetNames(file).resourceFolder;
  if (!parsed->has("--output")) {
    if (!writeEntries(d, file, io.out, io)) return kExitFailed;
    if (const uint64_t n = importers::countResourceFiles(resources); n > 0) {
      io.err << "lexora-cli: " << resources << ": "
             << counted(n, "picture or sound is", "pictures and sounds are")
             << " not in the output (-o FILE copies them)\n";
    }
    return kExitOk;
  }
  const std::string& output = parsed->option("--output");
  if (const std::string refused = refusedOutput(output, file, force); !refused.empty())
    return failure(io, output, refused);
  // Exported beside the dictionary, the TSV's resource folder is the dictionary's own.
  const std::string copyTo = fileSetNames(output).resourceFolder;
  const bool copy = !sameFile(resources, copyTo);
  if (Status s = copy ? importers::checkResourceCopy(resources, copyTo, force) : Status::ok();
      !s.isOk()) {
    const bool exists = s.message().find("exists already") != std::string::npos;
    return failure(io, output, s.message() + (exists ? " (--force replaces it)" : ""));
  }
  if (!writeOutput(d, file, output, io)) return kExitFailed;
  io.out << "exported " << counted(d.wordCount(), "entry", "entries") << " to " << output << "\n";
  importers::ResourceCopy done;
  if (Status s =
          copy ? importers::copyResourceFolder(resources, copyTo, force, done) : Status::ok();
      !s.isOk()) {
    return failure(io, output, s.message());
  }
  if (done.files > 0)
    io.out << "copied " << counted(done.files, "picture or sound", "pictures and sounds") << " to "
           << copyTo << "\n";
  if (done.skipped > 0)
    io.out << "left out "
           << counted(done.skipped, "link or special file", "links and special files") << " of "
           << resources << "\n";
  return kExitOk;
}

}  // namespace lexora::cli
