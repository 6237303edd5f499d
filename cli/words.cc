// lexora-cli words DATA [--from N] [--count K]: headwords in table order, one per line.

#include <algorithm>
#include <ostream>

#include "cli/arguments.h"
#include "cli/command_support.h"
#include "cli/commands.h"
#include "cli/terminal_text.h"
#include "engine/dictionary.h"
#include "util/standard_utf8.h"

namespace lexora::cli {
namespace {
constexpr uint32_t kChunk = 4096;  // headwords read per call
}

int runWords(const std::vector<std::string>& args, CommandIo& io) {
  std::string why;
  const auto parsed = parseArguments(args, {"--from", "--count"}, 1, 1, why);
  if (!parsed) return usageError(io, kWordsUsage, why);
  uint32_t from = 0;
  std::optional<uint32_t> count;
  if (parsed->has("--from")) {
    const auto n = parseUnsigned(parsed->option("--from"));
    if (!n) return usageError(io, kWordsUsage, "--from needs a number");
    from = *n;
  }
  if (parsed->has("--count")) {
    count = parseUnsigned(parsed->option("--count"));
    if (!count) return usageError(io, kWordsUsage, "--count needs a number");
  }
  const std::string& file = parsed->positional[0];
  Dictionary d;
  if (!openOrReport(d, file, io)) return kExitFailed;
  const uint32_t total = d.wordCount();
  if (from >= total && !(from == 0 && total == 0)) {
    return failure(io, file,
                   "--from " + std::to_string(from) +
                       " is past the last word (the dictionary has " + std::to_string(total) + ")");
  }
  uint64_t remaining = std::min<uint64_t>(count.value_or(total), total - from);
  std::vector<std::u16string> words;
  uint32_t at = from;
  std::string out;
  const bool terminal = writesToTerminal(io);
  while (remaining > 0) {
    const uint32_t want = static_cast<uint32_t>(std::min<uint64_t>(remaining, kChunk));
    if (Status s = d.readWords(at, want, words); !s.isOk()) return failure(io, file, s.message());
    const auto got = static_cast<uint32_t>(words.size());
    out.clear();
    for (uint32_t i = 0; i < got; ++i) {
      out += terminal ? visibleControls(toUtf8(words[i])) : toUtf8(words[i]);
      out += '\n';
    }
    io.out << out;
    at += got;
    remaining -= got;
  }
  return kExitOk;
}

}  // namespace lexora::cli
