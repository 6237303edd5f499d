#pragma once
// The installed dictionaries as the settings store keeps them (dicts.cc), shared with install.

#include "app/settings.h"
#include "cli/command.h"

namespace lexora::cli {

// The opening rule: every dictionary that opens becomes the reverse one, the first also the
// working one.
void chooseWorkingAndReverse(Settings& s);

// Writes what the dictionaries dialog changes: the count, the path table and the two indexes.
bool writeInstalledTable(RegistryKey& key, const Settings& s);

// Prints the installed dictionaries, one line each.
int listInstalled(const Settings& s, CommandIo& io);

}  // namespace lexora::cli
