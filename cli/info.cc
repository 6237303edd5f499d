// lexora-cli info DATA: the header's values, one per line.

#include <ostream>

#include "cli/arguments.h"
#include "cli/command_support.h"
#include "cli/commands.h"
#include "cli/terminal_text.h"
#include "engine/dictionary.h"
#include "util/standard_utf8.h"

namespace lexora::cli {

int runInfo(const std::vector<std::string>& args, CommandIo& io) {
  std::string why;
  const auto parsed = parseArguments(args, {}, 1, 1, why);
  if (!parsed) return usageError(io, kInfoUsage, why);
  Dictionary d;
  if (!openOrReport(d, parsed->positional[0], io)) return kExitFailed;
  const bool terminal = writesToTerminal(io);
  io.out << "title: " << oneLine(toUtf8(d.title()), terminal) << "\n"
         << "description: " << oneLine(toUtf8(d.description()), terminal) << "\n"
         << "collation: " << d.collation() << "\n"
         << "words: " << d.wordCount() << "\n"
         << "max-word-chars: " << d.maxWordChars() << "\n"
         << "max-meaning-chars: " << d.maxMeaningChars() << "\n"
         << "last-block: " << d.header().lastBlock << "\n";
  return kExitOk;
}

}  // namespace lexora::cli
