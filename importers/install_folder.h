#pragma once
// Where installed dictionaries go: $XDG_DATA_HOME/lexora/dictionaries, with ~/.local/share when
// XDG_DATA_HOME is unset or empty.

#include <string>

namespace lexora::importers {

std::string installedDictionaryFolder();

// Where a user keeps dictionary sources to install: $XDG_DATA_HOME/lexora/sources.
std::string userSourceFolder();

// The user's home folder ($HOME); empty when unset.
std::string homeFolder();

}  // namespace lexora::importers
