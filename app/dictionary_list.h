#pragma once
// The installed dictionaries as the settings hold them: `totalDict` full paths of data files
// in slots 0 .. totalDict - 1 of the path table, in opening order. These are the changes that
// the dictionaries dialog and `lexora-cli dicts` make to that list; each keeps the count and
// the table in step and clears the slots past the count.

#include <string>
#include <vector>

#include "app/settings.h"

namespace lexora {

// The paths of slots 0 .. totalDict - 1 (a count outside 0..10 is taken as the nearest bound).
std::vector<std::u16string> installedDictionaryPaths(const Settings& settings);

// Makes `paths` the installed list: totalDict = their number, slot K = path K, the slots past
// them emptied. False, with nothing changed, when there are more than 10 paths.
bool setInstalledDictionaryPaths(Settings& settings, const std::vector<std::u16string>& paths);

// Puts `path` into the slot after the last one and counts it. False, with nothing changed,
// when 10 dictionaries are installed already.
bool appendDictionaryPath(Settings& settings, std::u16string path);

// Removes slot `slot`: the following paths move down by one, the count decreases and the slot
// it frees is emptied.
// REQUIRES: 0 <= slot < settings.totalDict.
void removeDictionaryPath(Settings& settings, int slot);

// Moves the path of slot `from` to slot `to`; the paths between shift by one toward `from`.
// REQUIRES: both within 0 .. settings.totalDict - 1.
void moveDictionaryPath(Settings& settings, int from, int to);

}  // namespace lexora
