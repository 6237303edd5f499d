// lexora-cli add DATA HEADWORD [MEANING]: adds one entry; MEANING omitted or "-" reads stdin.

#include <ostream>

#include "cli/arguments.h"
#include "cli/command_support.h"
#include "cli/commands.h"
#include "engine/dictionary.h"
#include "util/standard_utf8.h"

namespace lexora::cli {

int runAdd(const std::vector<std::string>& args, CommandIo& io) {
  Dictionary d;
  int exitCode = kExitOk;
  const auto parsed = openDataCommand(args, kAddUsage, 2, 3, d, io, exitCode);
  if (!parsed) return exitCode;
  const std::string& file = parsed->file;
  const std::string meaning = textArgumentOrStdin(parsed->positional, 2, io);
  const EditStatus s = d.addEntry(fromUtf8(parsed->positional[1]), fromUtf8(meaning));
  return reportEdit(io, file, "add", s);
}

}  // namespace lexora::cli
