#pragma once
// The running program's own folder, and the folder of its data files (pictures, help file,
// sample dictionaries).

#include <functional>
#include <string>

namespace lexora {

// The folder of /proc/self/exe with a trailing '/', as the file system spells it (UTF-8 on
// this platform); "./" when the link cannot be read. The programs start each other from here.
std::string programFolder();

// The same folder as wide text (malformed bytes read as U+FFFD).
std::u16string programFolderText();

// Where the data files live, with a trailing '/'. Installed, they sit in the data folder beside
// the programs' folder (`bin/../share/lexora/`); in a build tree they sit beside the programs.
std::string dataFolder();

// The same folder as wide text, for use inside pages (malformed bytes read as U+FFFD).
std::u16string dataFolderText();

// The rule behind dataFolder(): `programDir` (ending in '/') joined with `relativeDataDir`
// (e.g. "../share/lexora") when `isFolder` says that folder exists, else `programDir` itself.
// The result ends in '/' and has its ".." steps resolved against the names in `programDir`.
std::string dataFolderFor(const std::string& programDir, const std::string& relativeDataDir,
                          const std::function<bool(const std::string&)>& isFolder);

}  // namespace lexora
