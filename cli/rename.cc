// lexora-cli rename DATA INDEX NEWWORD: changes a headword; prints "Ok N" with its new index.

#include <ostream>

#include "cli/arguments.h"
#include "cli/command_support.h"
#include "cli/commands.h"
#include "engine/dictionary.h"
#include "util/standard_utf8.h"

namespace lexora::cli {

int runRename(const std::vector<std::string>& args, CommandIo& io) {
  Dictionary d;
  int exitCode = kExitOk;
  const auto entry = openEntryCommand(args, kRenameUsage, 3, 3, d, io, exitCode);
  if (!entry) return exitCode;
  uint32_t at = entry->index;
  const EditStatus s = d.modifyWord(at, fromUtf8(entry->positional[2]));
  if (!s.isOk()) return reportEdit(io, entry->file, "rename", s);
  io.out << "Ok " << at << "\n";
  return kExitOk;
}

}  // namespace lexora::cli
