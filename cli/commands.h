#pragma once
// The commands of lexora-cli, one function per command, each in its own file.

#include "cli/command.h"

namespace lexora::cli {

// Declared as the commands are written, e.g.:
// int runInfo(const std::vector<std::string>& args, CommandIo& io);   // info.cc

}  // namespace lexora::cli
