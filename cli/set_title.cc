// lexora-cli set-title DATA TEXT: the dictionary's title (at most 127 units are kept).

#include "cli/command_support.h"
#include "cli/commands.h"
#include "engine/dictionary.h"

namespace lexora::cli {

int runSetTitle(const std::vector<std::string>& args, CommandIo& io) {
  return runSetHeaderText(args, kSetTitleUsage, &Dictionary::setTitle, io);
}

}  // namespace lexora::cli
