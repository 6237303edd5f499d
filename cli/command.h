#pragma once
// What every lexora-cli command gets and returns. One command per file; the table in main.cc
// names them all.

#include <iosfwd>
#include <string>
#include <vector>

namespace lexora::cli {

// Exit statuses shared by all commands.
constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;  // the operation failed; one line on stderr names file and reason
constexpr int kExitUsage = 2;   // the arguments are wrong

struct CommandIo {
  std::istream& in;
  std::ostream& out;
  std::ostream& err;
};

// args: the words after the command's name.
using CommandFunction = int (*)(const std::vector<std::string>& args, CommandIo& io);

struct Command {
  const char* name;
  const char* usage;  // one line, shown by `lexora-cli help`
  CommandFunction run;
};

}  // namespace lexora::cli
