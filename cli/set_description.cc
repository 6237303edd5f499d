// lexora-cli set-description DATA TEXT: the dictionary's description (at most 255 units kept).

#include "cli/arguments.h"
#include "cli/command_support.h"
#include "cli/commands.h"
#include "util/standard_utf8.h"
#include "engine/dictionary.h"

namespace lexora::cli {

int runSetDescription(const std::vector<std::string>& args, CommandIo& io) {
  std::string why;
  const auto parsed = parseArguments(args, {}, 2, 2, why);
  if (!parsed) return usageError(io, kSetDescriptionUsage, why);
  const std::string& file = parsed->positional[0];
  Dictionary d;
  if (!openOrReport(d, file, io)) return kExitFailed;
  if (const Status s = d.setDescription(fromUtf8(parsed->positional[1])); !s.isOk()) {
    return failure(io, file, s.message());
  }
  return kExitOk;
}

}  // namespace lexora::cli
