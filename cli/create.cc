// lexora-cli create DATA [--collation N] [--title T] [--description D]: an empty dictionary.

#include "cli/arguments.h"
#include "cli/command_support.h"
#include "cli/commands.h"
#include "cli/dictionary_options.h"
#include "importers/standard_utf8.h"
#include "engine/dictionary.h"

namespace lexora::cli {

int runCreate(const std::vector<std::string>& args, CommandIo& io) {
  std::string why;
  const auto parsed = parseArguments(args, kDictionaryOptionNames, 1, 1, why);
  if (!parsed) return usageError(io, kCreateUsage, why);
  const auto options = readDictionaryOptions(*parsed, why);
  if (!options) return usageError(io, kCreateUsage, why);
  const std::string& file = parsed->positional[0];
  Dictionary d;
  if (!d.createDictionary(file, options->collation)) {
    return failure(io, file, d.lastError().empty() ? "cannot create the dictionary" : d.lastError());
  }
  if (options->title && !d.setTitle(*options->title)) {
    return failure(io, file, "cannot write the title");
  }
  if (options->description && !d.setDescription(*options->description)) {
    return failure(io, file, "cannot write the description");
  }
  return kExitOk;
}

}  // namespace lexora::cli
