// lexora-cli delete DATA INDEX: removes one entry from the word table.

#include <ostream>

#include "cli/arguments.h"
#include "cli/command_support.h"
#include "cli/commands.h"
#include "engine/dictionary.h"

namespace lexora::cli {

int runDelete(const std::vector<std::string>& args, CommandIo& io) {
  std::string why;
  const auto parsed = parseArguments(args, {}, 2, 2, why);
  if (!parsed) return usageError(io, kDeleteUsage, why);
  const auto index = parseUnsigned(parsed->positional[1]);
  if (!index) return usageError(io, kDeleteUsage, "INDEX must be a number");
  const std::string& file = parsed->positional[0];
  Dictionary d;
  if (!openAtEntryOrReport(d, file, *index, io)) return kExitFailed;
  if (const Status s = d.deleteEntry(*index); !s.isOk()) return failure(io, file, s.message());
  io.out << "Ok\n";
  return kExitOk;
}

}  // namespace lexora::cli
