#pragma once
// The entry that starts the lookup button with the desktop session: a desktop entry named
// "lexora-util.desktop" in the user's autostart folder, $XDG_CONFIG_HOME/autostart/
// (~/.config/autostart/ when XDG_CONFIG_HOME is unset, empty or not an absolute path).

#include <string>

namespace lexora {

inline constexpr const char* kAutostartEntryName = "lexora-util.desktop";

// The entry's full path, read from the environment at each call; empty when neither
// XDG_CONFIG_HOME nor HOME names a folder.
std::string autostartEntryPath();

// The entry's text, starting the program at `programPath` (an absolute path).
std::string autostartEntryText(const std::string& programPath);

// `path` as one argument of a desktop entry's Exec key, quoted where needed and escaped for
// the key's string value (so that spaces, quotes, '$', '\', '%', tabs and line ends survive).
std::string desktopExecArgument(const std::string& path);

// The Exec line's value that starts `programPath`. A path with a '%' is started through env:
// desktop-file-validate wants it as "%%", and GLib checks that a program of that very name
// exists before it expands the "%%", so it would start nothing.
std::string desktopExecCommand(const std::string& programPath);

// Writes the entry (creating the autostart folder); the old entry stays whole until the new one
// is complete. False when it could not be written.
bool writeAutostartEntry(const std::string& programPath);

// Removes the entry. True when no entry is left (also when there was none).
bool removeAutostartEntry();

}  // namespace lexora
