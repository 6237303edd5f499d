// lexora-cli set-title DATA TEXT: the dictionary's title (at most 127 units are kept).

#include "cli/arguments.h"
#include "cli/command_support.h"
#include "cli/commands.h"
#include "util/standard_utf8.h"
#include "engine/dictionary.h"

namespace lexora::cli {

int runSetTitle(const std::vector<std::string>& args, CommandIo& io) {
  std::string why;
  const auto parsed = parseArguments(args, {}, 2, 2, why);
  if (!parsed) return usageError(io, kSetTitleUsage, why);
  const std::string& file = parsed->positional[0];
  Dictionary d;
  if (!openOrReport(d, file, io)) return kExitFailed;
  if (const Status s = d.setTitle(fromUtf8(parsed->positional[1])); !s.isOk()) {
    return failure(io, file, s.message());
  }
  return kExitOk;
}

}  // namespace lexora::cli
