// lexora-cli meaning DATA INDEX: the stored meaning of one entry, exactly.

#include <ostream>

#include "cli/arguments.h"
#include "cli/command_support.h"
#include "cli/commands.h"
#include "util/standard_utf8.h"
#include "engine/dictionary.h"

namespace lexora::cli {

int runMeaning(const std::vector<std::string>& args, CommandIo& io) {
  std::string why;
  const auto parsed = parseArguments(args, {}, 2, 2, why);
  if (!parsed) return usageError(io, kMeaningUsage, why);
  const auto index = parseUnsigned(parsed->positional[1]);
  if (!index) return usageError(io, kMeaningUsage, "INDEX must be a number");
  const std::string& file = parsed->positional[0];
  Dictionary d;
  if (!openAtEntryOrReport(d, file, *index, io)) return kExitFailed;
  std::u16string meaning;
  if (!d.readMeaning(*index, meaning).isOk()) {
    return failure(io, file, "the meaning of entry " + std::to_string(*index) +
                                 " is empty or does not read");
  }
  io.out << toUtf8(meaning);
  return kExitOk;
}

}  // namespace lexora::cli
