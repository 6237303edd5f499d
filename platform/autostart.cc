#include "platform/autostart.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace lexora {
namespace {

namespace fs = std::filesystem;

std::string environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::string(value) : std::string();
}

}  // namespace

std::string autostartEntryPath() {
  std::string config = environment("XDG_CONFIG_HOME");
  if (config.empty() || config.front() != '/') {
    const std::string home = environment("HOME");
    if (home.empty()) return std::string();
    config = home + "/.config";
  }
  return config + "/autostart/" + kAutostartEntryName;
}

std::string desktopExecArgument(const std::string& path) {
  // Inside double quotes, '"', '`', '$' and '\' take a backslash; the key's string value then
  // doubles every backslash, and a field code's '%' is written "%%".
  bool needsQuotes = path.empty();
  std::string quoted;
  for (const char c : path) {
    switch (c) {
      case '"':
      case '`':
      case '$':
      case '\\':
        quoted += "\\\\";  // the quoting backslash, escaped for the string value
        quoted += c == '\\' ? std::string("\\\\") : std::string(1, c);
        needsQuotes = true;
        break;
      case '%':
        quoted += "%%";
        break;
      case ' ':
      case '\'':
      case '>':
      case '<':
      case '~':
      case '|':
      case '&':
      case ';':
      case '*':
      case '?':
      case '#':
      case '(':
      case ')':
        quoted += c;
        needsQuotes = true;
        break;
      case '\n':
        quoted += "\\n";
        needsQuotes = true;
        break;
      case '\t':
        quoted += "\\t";
        needsQuotes = true;
        break;
      case '\r':
        quoted += "\\r";
        needsQuotes = true;
        break;
      default:
        quoted += c;
    }
  }
  return needsQuotes ? "\"" + quoted + "\"" : quoted;
}

std::string desktopExecCommand(const std::string& programPath) {
  // GLib looks for the program named first before it expands "%%", and finds no such file.
  const bool fieldCode = programPath.find('%') != std::string::npos;
  return (fieldCode ? "env " : "") + desktopExecArgument(programPath);
}

std::string autostartEntryText(const std::string& programPath) {
  return "[Desktop Entry]\n"
         "Type=Application\n"
         "Name=Lexora Lookup Button\n"
         "Comment=A floating button that looks up the selected word in Lexora\n"
         "Exec=" +
         desktopExecCommand(programPath) +
         "\n"
         "Icon=lexora\n"
         "Terminal=false\n"
         "StartupNotify=false\n"
         "X-GNOME-Autostart-enabled=true\n";
}

bool writeAutostartEntry(const std::string& programPath) {
  const std::string path = autostartEntryPath();
  if (path.empty()) return false;
  std::error_code ec;
  fs::create_directories(fs::path(path).parent_path(), ec);
  if (ec) return false;
  const std::string partial = path + ".part";
  {
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    out << autostartEntryText(programPath);
    out.flush();
    if (!out) {
      fs::remove(partial, ec);
      return false;
    }
  }
  fs::rename(partial, path, ec);
  if (ec) {
    std::error_code ignored;
    fs::remove(partial, ignored);
    return false;
  }
  return true;
}

bool removeAutostartEntry() {
  const std::string path = autostartEntryPath();
  if (path.empty()) return true;
  std::error_code ec;
  fs::remove(path, ec);  // a missing entry (or folder) is no failure: what counts is what is left
  return !fs::exists(fs::symlink_status(path, ec));
}

}  // namespace lexora
