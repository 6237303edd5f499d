// lexora-cli install SOURCE [--title T] [--collation N] [--split]: imports a StarDict (.ifo),
// dictd (.index), DSL (.dsl, .dsl.dz), MDict (.mdx) or TSV source into the folder of installed
// dictionaries and adds it to the installed list. Nothing installed changes unless the whole import
// succeeds.

#include <algorithm>
#include <filesystem>
#include <ostream>
#include <system_error>

#include "app/dictionary_language.h"
#include "app/dictionary_list.h"
#include "app/settings.h"
#include "cli/arguments.h"
#include "cli/command_support.h"
#include "cli/commands.h"
#include "cli/import_report.h"
#include "cli/installed_list.h"
#include "engine/file_format.h"
#include "importers/install_folder.h"
#include "platform/registry_location.h"
#include "util/standard_utf8.h"

namespace lexora::cli {

importers::ImportOptions importOptionsFrom(const DictionaryOptions& options,
                                           bool split);  // import.cc

namespace {

namespace fs = std::filesystem;

std::string withoutEnding(std::string name, std::initializer_list<const char*> endings) {
  for (const char* e : endings) {
    const std::string ending = e;
    if (name.size() > ending.size() &&
        name.compare(name.size() - ending.size(), ending.size(), ending) == 0) {
      return name.substr(0, name.size() - ending.size());
    }
  }
  return name;
}

void removeFileSet(const std::string& dataFile) {
  const FileSetNames n = fileSetNames(dataFile);
  std::error_code ignored;
  fs::remove(n.dataFile, ignored);
  fs::remove(n.wordFile, ignored);
  fs::remove(n.indexFile, ignored);
  fs::remove_all(n.resourceFolder, ignored);
  fs::remove(n.fullTextFile, ignored);
  fs::remove(n.suggestionFile, ignored);
}

// The settings keep paths as text: a name that is not UTF-8 gets "_" for its stray bytes, so
// that the installed dictionary opens under the name the settings hold.
std::string openableName(const std::string& name) {
  if (toUtf8(fromUtf8(name)) == name) return name;
  std::u16string text = fromUtf8(name);
  std::replace(text.begin(), text.end(), u'\uFFFD', u'_');
  return toUtf8(text);
}

std::string noRoom() {
  return "cannot install: " + std::to_string(kMaxDictionaries) +
         " dictionaries are installed already (the most there can be); remove one first "
         "(lexora-cli dicts remove N)";
}

}  // namespace

int runInstall(const std::vector<std::string>& args, CommandIo& io) {
  std::vector<std::string> rest = args;
  const bool split = takeFlag(rest, "--split");
  std::string why;
  const auto parsed = parseArguments(rest, kDictionaryOptionNames, 1, 1, why);
  if (!parsed) return usageError(io, kInstallUsage, why);
  const auto options = readDictionaryOptions(*parsed, why);
  if (!options) return usageError(io, kInstallUsage, why);
  std::string source = parsed->positional[0];
  std::error_code ec;
  if (!fs::is_regular_file(source, ec)) return failure(io, source, "no such file");
  const auto kind = importers::detectSourceKind(source);
  if (!kind) {
    return failure(io, source,
                   "cannot tell its format (install takes NAME.ifo, NAME.index, NAME.dsl, "
                   "NAME.dsl.dz, NAME.mdx or a TSV file of headword TAB meaning lines)");
  }
  if (*kind == importers::SourceKind::Dictd) {
    source = withoutEnding(source, {".index", ".dict.dz", ".dict"}) + ".index";
  }
  const std::string stem =
      openableName(withoutEnding(fs::path(source).filename().string(),
                                 {".ifo", ".index", ".dsl.dz", ".dsl", ".mdx", ".tsv", ".txt"}));
  const fs::path folder = importers::installedDictionaryFolder();
  const std::string dataFile = (folder / (stem + ".pvm")).string();

  if (!openSettingsKey(std::string()))
    return failure(io, defaultRegistryPath(), settingsKeyError());
  RegistryKey& key = settingsKey();
  Settings s;
  loadSettings(key, s);
  if (s.totalDict >= kMaxDictionaries) return failure(io, source, noRoom());
  for (int k = 0; k < s.totalDict; ++k) {
    const std::string installed = toUtf8(s.dictionaryPaths[k]);
    if (installed == dataFile || installed.rfind((folder / (stem + "-")).string(), 0) == 0) {
      return failure(io, installed,
                     "already installed as dictionary " + std::to_string(k + 1) +
                         "; remove it first (lexora-cli dicts remove " + std::to_string(k + 1) +
                         ")");
    }
  }
  fs::create_directories(folder, ec);
  if (ec) return failure(io, folder.string(), "cannot create: " + ec.message());

  std::vector<std::string> written;
  importers::SourceInfo info;
  const int status = importAndReport(*kind, source, dataFile, importOptionsFrom(*options, split),
                                     io, &written, &info);
  if (status != kExitOk) return status;
  if (s.totalDict + static_cast<int>(written.size()) > kMaxDictionaries) {
    for (const std::string& f : written) removeFileSet(f);
    return failure(io, source,
                   "cannot install: its " + std::to_string(written.size()) +
                       " volumes do not fit beside the " + std::to_string(s.totalDict) +
                       " installed dictionaries (at most " + std::to_string(kMaxDictionaries) +
                       ")");
  }
  for (const std::string& f : written) {
    const std::string path = fs::absolute(f).lexically_normal().string();
    appendDictionaryPath(s, fromUtf8(path));
    // The language the source names; without one it is guessed when first needed.
    if (!info.language.empty()) storeDictionaryLanguage(key, path, info.language);
    io.out << "installed " << f << "\n";
  }
  chooseWorkingAndReverse(s);
  if (!writeInstalledTable(key, s))
    return failure(io, defaultRegistryPath(), "cannot write the settings");
  return listInstalled(s, io);
}

}  // namespace lexora::cli
