#include "importers/install_folder.h"

#include <cstdlib>

namespace lexora::importers {

std::string homeFolder() {
  const char* home = std::getenv("HOME");
  return home != nullptr ? home : "";
}

std::string installedDictionaryFolder() {
  const char* xdg = std::getenv("XDG_DATA_HOME");
  const std::string base =
      xdg != nullptr && *xdg != '\0' ? std::string(xdg) : homeFolder() + "/.local/share";
  return base + "/lexora/dictionaries";
}

}  // namespace lexora::importers
