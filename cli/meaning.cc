// lexora-cli meaning DATA INDEX: the stored meaning of one entry, exactly.

#include <ostream>

#include "cli/arguments.h"
#include "cli/command_support.h"
#include "cli/commands.h"
#include "engine/dictionary.h"
#include "util/standard_utf8.h"

namespace lexora::cli {

int runMeaning(const std::vector<std::string>& args, CommandIo& io) {
  Dictionary d;
  int exitCode = kExitOk;
  const auto entry = openEntryCommand(args, kMeaningUsage, 2, 2, d, io, exitCode);
  if (!entry) return exitCode;
  std::u16string meaning;
  if (!d.readMeaning(entry->index, meaning).isOk()) {
    return failure(
        io, entry->file,
        "the meaning of entry " + std::to_string(entry->index) + " is empty or does not read");
  }
  io.out << toUtf8(meaning);
  return kExitOk;
}

}  // namespace lexora::cli
