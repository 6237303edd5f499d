#pragma once
// Where the registry hive lives: $LEXORA_REGISTRY when set and not empty, else
// $XDG_CONFIG_HOME/lexora/registry.sqlite, with $HOME/.config when XDG_CONFIG_HOME is unset
// or not absolute. Empty when neither variable gives a place.

#include <string>

namespace lexora {

std::string defaultRegistryPath();

}  // namespace lexora
