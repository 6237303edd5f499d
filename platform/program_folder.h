#pragma once
// The running program's own folder, where its pictures are installed.

#include <string>

namespace lexora {

// The folder of /proc/self/exe with a trailing '/', as the file system spells it (UTF-8 on
// this platform); "./" when the link cannot be read.
std::string programFolder();

// The same folder as wide text, for use inside pages (malformed bytes read as U+FFFD).
std::u16string programFolderText();

}  // namespace lexora
