#pragma once
// Saving a run's settings without undoing what other programs changed meanwhile (a dictionary
// installed from the command line, a second window): only the values this run changed since
// it loaded them are written, and the installed list is merged with the one stored now.

#include "app/registry_key.h"
#include "app/settings.h"

namespace lexora {

// The settings as stored now, merged with what this run changed from `loaded` to `current`:
// each value this run changed takes its value from `current`, every other value stays as
// stored. The installed list keeps the paths this run holds in its order, minus those another
// program removed and this run kept as they were, plus those another program added; the
// working and reverse dictionary follow their paths (this run's choice where it made one).
Settings mergedSettings(const Settings& loaded, const Settings& current, const Settings& stored);

// Reads the stored settings, merges this run's changes into them and writes back the values
// that differ from what is stored. Returns the merged settings.
Settings saveSettingsChanges(RegistryKey& key, const Settings& loaded, const Settings& current);

// While the program runs: when the stored installed list differs from the one in `loaded`
// (another program changed it), `current` gets the merged list with its working and reverse
// dictionary, `loaded` the stored list, and the result is true. Nothing else changes.
bool takeInstalledListFromStore(RegistryKey& key, Settings& current, Settings& loaded);

}  // namespace lexora
