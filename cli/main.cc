// lexora-cli: reads, searches, edits, imports, exports and renders dictionaries from a terminal.

#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "cli/command.h"
#include "cli/commands.h"

#ifndef LEXORA_VERSION
#define LEXORA_VERSION "unknown"
#endif

namespace lexora::cli {
namespace {

const Command kCommands[] = {
    {"info", kInfoUsage, runInfo},
    {"words", kWordsUsage, runWords},
    {"find", kFindUsage, runFind},
    {"meaning", kMeaningUsage, runMeaning},
    {"create", kCreateUsage, runCreate},
    {"add", kAddUsage, runAdd},
    {"set-meaning", kSetMeaningUsage, runSetMeaning},
    {"rename", kRenameUsage, runRename},
    {"delete", kDeleteUsage, runDelete},
    {"set-title", kSetTitleUsage, runSetTitle},
    {"set-description", kSetDescriptionUsage, runSetDescription},
    {"import", kImportUsage, runImport},
    {"install", kInstallUsage, runInstall},
    {"available", kAvailableUsage, runAvailable},
    {"export", kExportUsage, runExport},
    {"render", kRenderUsage, runRender},
    {"lookup", kLookupUsage, runLookup},
    {"search", kSearchUsage, runSearch},
    {"language", kLanguageUsage, runLanguage},
    {"say", kSayUsage, runSay},
    {"settings", kSettingsUsage, runSettings},
    {"dicts", kDictsUsage, runDicts},
};

int printUsage(std::ostream& os) {
  os << "usage: lexora-cli COMMAND [ARGS...]\ncommands:\n";
  for (const Command& c : kCommands) os << "  " << c.usage << "\n";
  return kExitUsage;
}

}  // namespace
}  // namespace lexora::cli

int main(int argc, char** argv) {
  using namespace lexora::cli;
  std::ios::sync_with_stdio(false);
  if (argc < 2) return printUsage(std::cerr);
  const std::string name = argv[1];
  if (name == "help" || name == "--help" || name == "-h") {
    printUsage(std::cout);
    return kExitOk;
  }
  if (name == "--version") {
    std::cout << "lexora-cli " << LEXORA_VERSION << "\n";
    return kExitOk;
  }
  std::vector<std::string> args(argv + 2, argv + argc);
  CommandIo io{std::cin, std::cout, std::cerr};
  for (const Command& c : kCommands) {
    if (name == c.name) {
      const int status = c.run(args, io);
      std::cout.flush();
      return status;
    }
  }
  std::cerr << "lexora-cli: unknown command '" << name << "'\n";
  return printUsage(std::cerr);
}
