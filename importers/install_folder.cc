#include "importers/install_folder.h"

#include <cstdlib>

namespace lexora::importers {

std::string homeFolder() {
  const char* home = std::getenv("HOME");
  return home != nullptr ? home : "";
}

namespace {

std::string dataHome() {
  const char* xdg = std::getenv("XDG_DATA_HOME");
  return xdg != nullptr && *xdg != '\0' ? std::string(xdg) : homeFolder() + "/.local/share";
}

}  // namespace

std::string installedDictionaryFolder() { return dataHome() + "/lexora/dictionaries"; }

std::string userSourceFolder() { return dataHome() + "/lexora/sources"; }

}  // namespace lexora::importers
