// lexora-cli export DATA: every entry as TSV (headword TAB meaning, escaped) in table order.

#include <algorithm>
#include <ostream>

#include "cli/arguments.h"
#include "cli/command_support.h"
#include "cli/commands.h"
#include "engine/dictionary.h"
#include "importers/tsv_escape.h"
#include "util/standard_utf8.h"

namespace lexora::cli {
namespace {
constexpr uint32_t kChunk = 4096;  // entries per batch of headwords
}

int runExport(const std::vector<std::string>& args, CommandIo& io) {
  Dictionary d;
  int exitCode = kExitOk;
  const auto parsed = openDataCommand(args, kExportUsage, 1, 1, d, io, exitCode);
  if (!parsed) return exitCode;
  const std::string& file = parsed->file;
  const uint32_t total = d.wordCount();
  std::vector<std::u16string> words;
  std::u16string meaning;
  std::string out;
  for (uint32_t first = 0; first < total;) {
    if (Status s = d.readWords(first, std::min(kChunk, total - first), words); !s.isOk()) {
      return failure(io, file, s.message());
    }
    const auto got = static_cast<uint32_t>(words.size());
    out.clear();
    for (uint32_t i = 0; i < got; ++i) {
      // An empty or unreadable meaning is exported empty; only a failed file transfer stops.
      if (Status s = d.readMeaning(first + i, meaning); !s.isOk()) {
        if (s.code() == Status::Code::IoError) return failure(io, file, s.message());
        meaning.clear();
      }
      out += escapeTsvField(toUtf8(words[i]));
      out += '\t';
      out += escapeTsvField(toUtf8(meaning));
      out += '\n';
    }
    io.out << out;
    first += got;
  }
  return kExitOk;
}

}  // namespace lexora::cli
