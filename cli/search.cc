// lexora-cli search TEXT [DATA...] [--regex]
// Full-text search: every entry whose meaning contains TEXT (case and accents folded as the
// dictionary's order folds them; its words found from their beginning through the full-text
// index) or, with --regex, matches a POSIX extended regular expression, one line per entry:
// "HEADWORD: the line that holds the match" (markup marks removed). Each dictionary's matches
// come under its title. Without DATA the installed dictionaries are searched. Exit status 3
// when nothing matches.

#include <ostream>
#include <string>

#include "app/meaning_search_job.h"
#include "cli/arguments.h"
#include "cli/command_support.h"
#include "cli/commands.h"
#include "cli/render_support.h"
#include "engine/dictionary.h"
#include "lexicon/meaning_search.h"
#include "util/standard_utf8.h"

namespace lexora::cli {

int runSearch(const std::vector<std::string>& args, CommandIo& io) {
  std::vector<std::string> rest = args;
  const bool regex = takeFlag(rest, "--regex");
  std::string why;
  const auto parsed = parseArguments(rest, {}, 1, SIZE_MAX, why);
  if (!parsed) return usageError(io, kSearchUsage, why);
  std::unique_ptr<MeaningSearch> search;
  if (Status s = MeaningSearch::create(fromUtf8(parsed->positional[0]), regex, search); !s.isOk()) {
    return usageError(io, kSearchUsage, s.message());
  }
  std::vector<std::string> files(parsed->positional.begin() + 1, parsed->positional.end());
  if (files.empty()) {
    files = installedDictionaryFiles();
    if (files.empty()) return failure(io, "settings", "no dictionaries are installed");
  }

  bool anyFound = false;
  bool anyFailed = false;
  std::string out;
  for (const std::string& file : files) {
    Dictionary d;
    if (!openOrReport(d, file, io)) {
      anyFailed = true;
      continue;
    }
    std::string title = toUtf8(d.title());
    if (title.empty()) title = file;
    bool titled = false;
    const Status searched = search->run(d, [&](const MeaningMatch& match) {
      if (!titled) {
        out.append(title).push_back('\n');
        titled = true;
      }
      out.append(toUtf8(match.headword)).append(": ");
      out.append(toUtf8(readableLine(match.line))).push_back('\n');
      if (out.size() >= (1 << 16)) {
        io.out << out;
        out.clear();
      }
      return true;
    });
    if (titled) {
      out.push_back('\n');
      anyFound = true;
    }
    io.out << out;
    out.clear();
    if (!searched.isOk()) {
      failure(io, file, searched.message());
      anyFailed = true;
    }
  }
  if (anyFailed && !anyFound) return kExitFailed;
  return anyFound ? kExitOk : kExitNotFound;
}

}  // namespace lexora::cli
