// lexora-cli add DATA HEADWORD [MEANING]: adds one entry; MEANING omitted or "-" reads stdin.

#include <ostream>

#include "cli/arguments.h"
#include "cli/command_support.h"
#include "cli/commands.h"
#include "util/standard_utf8.h"
#include "engine/dictionary.h"

namespace lexora::cli {

int runAdd(const std::vector<std::string>& args, CommandIo& io) {
  std::string why;
  const auto parsed = parseArguments(args, {}, 2, 3, why);
  if (!parsed) return usageError(io, kAddUsage, why);
  const std::string& file = parsed->positional[0];
  Dictionary d;
  if (!openOrReport(d, file, io)) return kExitFailed;
  const std::string meaning = textArgumentOrStdin(parsed->positional, 2, io);
  const Status s = d.addEntry(fromUtf8(parsed->positional[1]), fromUtf8(meaning));
  return reportEdit(io, file, "add", s);
}

}  // namespace lexora::cli
