// lexora-cli import tsv|dictd|stardict|dsl|mdict SOURCE DATA [--collation N] [--title T]
//   [--description D] [--split]

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
  return importAndReport(source, parsed->positional[1], parsed->positional[2],
                         importOptionsFrom(*options, split), io);
}

}  // namespace lexora::cli
