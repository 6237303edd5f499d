#pragma once
// Folders that only this user can use, for the sockets through which the programs talk. A
// folder in a place that all users share (/tmp) can be made first by someone else, who could
// then listen in the programs' place; such a folder is never used. Instead a folder with a
// random name (made with mkdtemp beside the one that is taken) serves, and its name is kept in
// a record that only the user can write (beside the settings, one per machine), so that every
// program of the user finds the same one.

#include <string>

namespace lexora {

// Why `path` cannot be a private folder ("" when it can): it must be a folder, not a link, of
// this user's own, that nobody else can enter. Made (mode 0700) when missing.
std::string privateFolderProblem(const std::string& path);

// The private folder that stands in for `taken`: the recorded one when it is still private,
// else a new one, recorded. Empty when none can be had (no place for the record that only
// this user can write, or no folder can be made).
std::string privateFolderInPlaceOf(const std::string& taken);

}  // namespace lexora
