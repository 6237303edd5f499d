// lexora-cli delete DATA INDEX: removes one entry from the word table.

#include <ostream>

#include "cli/arguments.h"
#include "cli/command_support.h"
#include "cli/commands.h"
#include "engine/dictionary.h"

namespace lexora::cli {

int runDelete(const std::vector<std::string>& args, CommandIo& io) {
  Dictionary d;
  int exitCode = kExitOk;
  const auto entry = openEntryCommand(args, kDeleteUsage, 2, 2, d, io, exitCode);
  if (!entry) return exitCode;
  if (const EditStatus s = d.deleteEntry(entry->index); !s.isOk()) {
    return failure(io, entry->file, s.message());
  }
  io.out << "Ok\n";
  return kExitOk;
}

}  // namespace lexora::cli
