// lexora-cli find DATA KEY: where the key lies in the word table.

#include <ostream>

#include "cli/arguments.h"
#include "cli/command_support.h"
#include "cli/commands.h"
#include "engine/dictionary.h"
#include "util/standard_utf8.h"

namespace lexora::cli {

int runFind(const std::vector<std::string>& args, CommandIo& io) {
  Dictionary d;
  int exitCode = kExitOk;
  const auto parsed = openDataCommand(args, kFindUsage, 2, 2, d, io, exitCode);
  if (!parsed) return exitCode;
  const std::string& file = parsed->file;
  uint32_t nearest = 0;
  uint32_t position = 0;
  int sign = 0;
  if (!d.findWord(fromUtf8(parsed->positional[1]), nearest, sign, &position).isOk()) {
    return failure(io, file,
                   d.wordCount() == 0 ? "the dictionary has no words"
                                      : "the search failed reading the word table");
  }
  io.out << "nearest=" << nearest << " sign="
         << (sign < 0   ? -1
             : sign > 0 ? 1
                        : 0)
         << " position=" << position << "\n";
  return kExitOk;
}

}  // namespace lexora::cli
