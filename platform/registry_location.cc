#include "platform/registry_location.h"

#include <cstdlib>

namespace lexora {
namespace {

std::string environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? std::string(value) : std::string();
}

}  // namespace

std::string defaultRegistryPath() {
  const std::string explicitPath = environment("LEXORA_REGISTRY");
  if (!explicitPath.empty()) return explicitPath;
  std::string configHome = environment("XDG_CONFIG_HOME");
  if (configHome.empty() || configHome[0] != '/') {
    const std::string home = environment("HOME");
    if (home.empty()) return std::string();
    configHome = home + "/.config";
  }
  return configHome + "/lexora/registry.sqlite";
}

}  // namespace lexora
