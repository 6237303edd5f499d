// lexora-cli dicts [add DATA | remove N | move N M]: the installed dictionaries in opening
// order, and the changes the dictionaries dialog makes to them, written to the settings key
// at once. After a change the working and reverse dictionaries are chosen again the way the
// program does when it reopens its dictionaries: the first one that opens is the working
// dictionary, the last one that opens the reverse dictionary.

#include <filesystem>
#include <ostream>
#include <system_error>

#include "app/dictionary_list.h"
#include "app/settings.h"
#include "cli/arguments.h"
#include "cli/command_support.h"
#include "cli/commands.h"
#include "cli/installed_list.h"
#include "cli/terminal_text.h"
#include "engine/dictionary.h"
#include "platform/registry_location.h"
#include "util/standard_utf8.h"

namespace lexora::cli {
namespace {

namespace fs = std::filesystem;

std::string pathAt(const Settings& s, int slot) { return toUtf8(s.dictionaryPaths[slot]); }

}  // namespace

// The opening rule: every dictionary that opens becomes the reverse one, the first also the
// working one.
void chooseWorkingAndReverse(Settings& s) {
  s.workingDictIndex = -1;
  s.reverseDictIndex = -1;
  for (int k = 0; k < s.totalDict; ++k) {
    Dictionary d;
    if (!d.openDictionary(pathAt(s, k)).isOk()) continue;
    if (s.workingDictIndex == -1) s.workingDictIndex = k;
    s.reverseDictIndex = k;
  }
}

// Writes what the dialog changes: the count, the path table and the two indexes.
bool writeInstalledTable(RegistryKey& key, const Settings& s) {
  bool ok = key.writeDword(u"TotalDict", static_cast<uint32_t>(s.totalDict));
  for (int k = 1; k <= s.totalDict; ++k) {
    ok = key.writeString(dictionaryValueName(k).c_str(), s.dictionaryPaths[k - 1].c_str()) && ok;
  }
  ok = key.writeDword(u"WorkingDictIndex", static_cast<uint32_t>(s.workingDictIndex)) && ok;
  ok = key.writeDword(u"ReverseDictIndex", static_cast<uint32_t>(s.reverseDictIndex)) && ok;
  return ok;
}

int listInstalled(const Settings& s, CommandIo& io) {
  if (s.totalDict == 0) {
    io.out << "no dictionaries installed\n";
    return kExitOk;
  }
  const bool terminal = writesToTerminal(io);
  for (int k = 0; k < s.totalDict; ++k) {
    io.out << (k + 1) << "  " << oneLine(pathAt(s, k), terminal);
    Dictionary d;
    if (const Status opened = d.openDictionary(pathAt(s, k)); opened.isOk()) {
      io.out << "  \"" << oneLine(toUtf8(d.title()), terminal) << "\"  "
             << counted(d.wordCount(), "word", "words");
    } else {
      io.out << "  (cannot open: " << oneLine(opened.message(), terminal) << ")";
    }
    if (k == s.workingDictIndex) io.out << "  [working]";
    if (k == s.reverseDictIndex) io.out << "  [reverse]";
    io.out << "\n";
  }
  return kExitOk;
}

namespace {

// A 1-based position among the installed dictionaries, as a slot index; -1 when out of range.
int slotOf(const std::string& text, const Settings& s) {
  const auto n = parseUnsigned(text);
  if (!n || *n < 1 || *n > static_cast<uint32_t>(s.totalDict)) return -1;
  return static_cast<int>(*n) - 1;
}

int add(Settings& s, const std::string& data, CommandIo& io) {
  if (s.totalDict >= kMaxDictionaries) {
    return failure(io, data,
                   "cannot add: 10 dictionaries are installed already (the most "
                   "there can be); remove one first");
  }
  std::error_code ec;
  if (!fs::is_regular_file(data, ec)) return failure(io, data, "no such dictionary data file");
  fs::path full = fs::absolute(data, ec);
  if (ec) return failure(io, data, ec.message());
  full = full.lexically_normal();
  const std::u16string path = fromUtf8(full.string());
  for (int k = 0; k < s.totalDict; ++k) {
    if (s.dictionaryPaths[k] == path) {
      return failure(io, full.string(), "already installed as dictionary " + std::to_string(k + 1));
    }
  }
  appendDictionaryPath(s, path);  // room checked above
  return kExitOk;
}

}  // namespace

int runDicts(const std::vector<std::string>& args, CommandIo& io) {
  std::string why;
  const auto parsed = parseArguments(args, {}, 0, 3, why);
  if (!parsed) return usageError(io, kDictsUsage, why);
  const std::vector<std::string>& words = parsed->positional;
  const std::string action = words.empty() ? "" : words[0];
  const bool shapeOk = (action.empty()) || (action == "add" && words.size() == 2) ||
                       (action == "remove" && words.size() == 2) ||
                       (action == "move" && words.size() == 3);
  if (!shapeOk) return usageError(io, kDictsUsage, "unknown or incomplete dicts action");

  if (!openSettingsKey(std::string())) {
    return failure(io, defaultRegistryPath(), settingsKeyError());
  }
  RegistryKey& key = settingsKey();
  Settings s;
  loadSettings(key, s);
  if (action.empty()) return listInstalled(s, io);

  if (action == "add") {
    const int status = add(s, words[1], io);
    if (status != kExitOk) return status;
  } else {
    const int from = slotOf(words[1], s);
    if (from < 0) {
      return usageError(
          io, kDictsUsage,
          "no dictionary number " + words[1] + " (there are " + std::to_string(s.totalDict) + ")");
    }
    if (action == "remove") {
      removeDictionaryPath(s, from);
    } else {
      const int to = slotOf(words[2], s);
      if (to < 0) {
        return usageError(io, kDictsUsage,
                          "no dictionary number " + words[2] + " (there are " +
                              std::to_string(s.totalDict) + ")");
      }
      moveDictionaryPath(s, from, to);
    }
  }
  chooseWorkingAndReverse(s);
  if (!writeInstalledTable(key, s)) {
    return failure(io, defaultRegistryPath(), "cannot write the settings");
  }
  return listInstalled(s, io);
}

}  // namespace lexora::cli
