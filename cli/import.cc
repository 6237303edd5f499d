// lexora-cli import tsv|dictd|stardict|dsl|mdict SOURCE DATA [--collation N] [--title T]
//   [--description D] [--split] [--force]

#include "cli/arguments.h"
#include "cli/command_support.h"
#include "cli/commands.h"
#include "cli/import_report.h"

namespace lexora::cli {

importers::ImportOptions importOptionsFrom(const DictionaryOptions& options, bool split) {
  importers::ImportOptions o;
  o.collation = options.collation;
  o.title = options.title;
  o.description = options.description;
  o.split = split;
  return o;
}

int runImport(const std::vector<std::string>& args, CommandIo& io) {
  std::vector<std::string> rest = args;
  const bool split = takeFlag(rest, "--split");
  const bool force = takeFlag(rest, "--force");  // an existing dictionary DATA is replaced
  std::string why;
  const auto parsed = parseArguments(rest, kDictionaryOptionNames, 3, 3, why);
  if (!parsed) return usageError(io, kImportUsage, why);
  const auto options = readDictionaryOptions(*parsed, why);
  if (!options) return usageError(io, kImportUsage, why);
  const std::string& kind = parsed->positional[0];
  importers::SourceKind source;
  if (kind == "tsv") {
    source = importers::SourceKind::Tsv;
  } else if (kind == "dictd") {
    source = importers::SourceKind::Dictd;
  } else if (kind == "stardict") {
    source = importers::SourceKind::Stardict;
  } else if (kind == "dsl") {
    source = importers::SourceKind::Dsl;
  } else if (kind == "mdict") {
    source = importers::SourceKind::Mdict;
  } else {
    return usageError(io, kImportUsage,
                      "unknown import kind '" + kind + "' (tsv, dictd, stardict, dsl or mdict)");
  }
  importers::ImportOptions importOptions = importOptionsFrom(*options, split);
  importOptions.replaceDictionary = force;
  return importAndReport(source, parsed->positional[1], parsed->positional[2], importOptions, io);
}

}  // namespace lexora::cli
