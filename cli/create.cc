// lexora-cli create DATA [--collation N] [--title T] [--description D]: an empty dictionary.

#include "cli/arguments.h"
#include "cli/command_support.h"
#include "cli/commands.h"
#include "cli/dictionary_options.h"
#include "engine/dictionary.h"
#include "engine/replace_target.h"
#include "util/standard_utf8.h"

namespace lexora::cli {

int runCreate(const std::vector<std::string>& args, CommandIo& io) {
  std::string why;
  const auto parsed = parseArguments(args, kDictionaryOptionNames, 1, 1, why);
  if (!parsed) return usageError(io, kCreateUsage, why);
  const auto options = readDictionaryOptions(*parsed, why);
  if (!options) return usageError(io, kCreateUsage, why);
  const std::string& file = parsed->positional[0];
  // A dictionary of that name is replaced; anything else there (companion files of another
  // data file with the same base name, a file that is no dictionary) is not.
  Status s = checkReplaceable(file, true);
  Dictionary d;
  if (s.isOk()) s = d.createDictionary(file, options->collation);
  if (s.isOk() && options->title) s = d.setTitle(*options->title);
  if (s.isOk() && options->description) s = d.setDescription(*options->description);
  if (!s.isOk()) return failure(io, file, s.message());
  return kExitOk;
}

}  // namespace lexora::cli
