// lexora-cli set-meaning DATA INDEX [MEANING]: replaces an entry's meaning; MEANING omitted or
// "-" reads stdin.

#include <ostream>

#include "cli/arguments.h"
#include "cli/command_support.h"
#include "cli/commands.h"
#include "engine/dictionary.h"
#include "util/standard_utf8.h"

namespace lexora::cli {

int runSetMeaning(const std::vector<std::string>& args, CommandIo& io) {
  Dictionary d;
  int exitCode = kExitOk;
  const auto entry = openEntryCommand(args, kSetMeaningUsage, 2, 3, d, io, exitCode);
  if (!entry) return exitCode;
  const std::string meaning = textArgumentOrStdin(entry->positional, 2, io);
  if (const int refused = refuseNul(meaning, entry->file, io); refused != kExitOk) return refused;
  return reportEdit(io, entry->file, "set-meaning",
                    d.modifyMeaning(entry->index, fromUtf8(meaning)));
}

}  // namespace lexora::cli
