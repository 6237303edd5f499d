// lexora-cli import tsv|dictd SOURCE DATA [--collation N] [--title T] [--description D]

#include "cli/arguments.h"
#include "cli/command_support.h"
#include "cli/commands.h"

namespace lexora::cli {

int runImport(const std::vector<std::string>& args, CommandIo& io) {
  std::string why;
  const auto parsed = parseArguments(args, kDictionaryOptionNames, 3, 3, why);
  if (!parsed) return usageError(io, kImportUsage, why);
  const auto options = readDictionaryOptions(*parsed, why);
  if (!options) return usageError(io, kImportUsage, why);
  const std::string& kind = parsed->positional[0];
  if (kind == "tsv") return importTsv(parsed->positional[1], parsed->positional[2], *options, io);
  if (kind == "dictd") return importDictd(parsed->positional[1], parsed->positional[2], *options, io);
  return usageError(io, kImportUsage, "unknown import kind '" + kind + "' (tsv or dictd)");
}

}  // namespace lexora::cli
