// lexora-cli rename DATA INDEX NEWWORD: changes a headword; prints "Ok N" with its new index.

#include <ostream>

#include "cli/arguments.h"
#include "cli/command_support.h"
#include "cli/commands.h"
#include "util/standard_utf8.h"
#include "engine/dictionary.h"

namespace lexora::cli {

int runRename(const std::vector<std::string>& args, CommandIo& io) {
  std::string why;
  const auto parsed = parseArguments(args, {}, 3, 3, why);
  if (!parsed) return usageError(io, kRenameUsage, why);
  auto index = parseUnsigned(parsed->positional[1]);
  if (!index) return usageError(io, kRenameUsage, "INDEX must be a number");
  const std::string& file = parsed->positional[0];
  Dictionary d;
  if (!openAtEntryOrReport(d, file, *index, io)) return kExitFailed;
  uint32_t at = *index;
  const Status s = d.modifyWord(at, fromUtf8(parsed->positional[2]));
  if (!s.isOk()) return reportEdit(io, file, "rename", s);
  io.out << "Ok " << at << "\n";
  return kExitOk;
}

}  // namespace lexora::cli
