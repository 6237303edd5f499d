// lexora-cli set-description DATA TEXT: the dictionary's description (at most 255 units kept).

#include "cli/command_support.h"
#include "cli/commands.h"
#include "engine/dictionary.h"

namespace lexora::cli {

int runSetDescription(const std::vector<std::string>& args, CommandIo& io) {
  return runSetHeaderText(args, kSetDescriptionUsage, &Dictionary::setDescription, io);
}

}  // namespace lexora::cli
