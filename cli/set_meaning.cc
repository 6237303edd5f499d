// lexora-cli set-meaning DATA INDEX [MEANING]: replaces an entry's meaning; MEANING omitted or
// "-" reads stdin.

#include <ostream>

#include "cli/arguments.h"
#include "cli/command_support.h"
#include "cli/commands.h"
#include "util/standard_utf8.h"
#include "engine/dictionary.h"

namespace lexora::cli {

int runSetMeaning(const std::vector<std::string>& args, CommandIo& io) {
  std::string why;
  const auto parsed = parseArguments(args, {}, 2, 3, why);
  if (!parsed) return usageError(io, kSetMeaningUsage, why);
  const auto index = parseUnsigned(parsed->positional[1]);
  if (!index) return usageError(io, kSetMeaningUsage, "INDEX must be a number");
  const std::string& file = parsed->positional[0];
  Dictionary d;
  if (!openAtEntryOrReport(d, file, *index, io)) return kExitFailed;
  const std::string meaning = textArgumentOrStdin(parsed->positional, 2, io);
  return reportEdit(io, file, "set-meaning", d.modifyMeaning(*index, fromUtf8(meaning)));
}

}  // namespace lexora::cli
