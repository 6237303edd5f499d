// lexora-cli find DATA KEY: where the key lies in the word table.

#include <ostream>

#include "cli/arguments.h"
#include "cli/command_support.h"
#include "cli/commands.h"
#include "util/standard_utf8.h"
#include "engine/dictionary.h"

namespace lexora::cli {

int runFind(const std::vector<std::string>& args, CommandIo& io) {
  std::string why;
  const auto parsed = parseArguments(args, {}, 2, 2, why);
  if (!parsed) return usageError(io, kFindUsage, why);
  const std::string& file = parsed->positional[0];
  Dictionary d;
  if (!openOrReport(d, file, io)) return kExitFailed;
  uint32_t nearest = 0;
  uint32_t position = 0;
  int sign = 0;
  if (!d.findWord(fromUtf8(parsed->positional[1]), nearest, sign, &position).isOk()) {
    return failure(io, file, d.wordCount() == 0 ? "the dictionary has no words"
                                                : "the search failed reading the word table");
  }
  io.out << "nearest=" << nearest << " sign=" << (sign < 0 ? -1 : sign > 0 ? 1 : 0)
         << " position=" << position << "\n";
  return kExitOk;
}

}  // namespace lexora::cli
