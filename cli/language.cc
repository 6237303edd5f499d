// lexora-cli language DATA [TAG|none|auto]
// The language of a dictionary's headwords, which chooses the Hunspell dictionary that finds
// base forms for its lookups. Without TAG it prints the stored language (guessing and storing
// it when none is stored yet) and the Hunspell dictionary that serves it:
//   en (Hunspell en_US)
//   fr (no Hunspell dictionary for fr: install the Debian package hunspell-fr)
// TAG stores a language ("en", "en_GB", "fr"); "none" turns word forms off for the
// dictionary; "auto" forgets the stored language and guesses it again.

#include <ostream>

#include "app/dictionary_language.h"
#include "app/settings.h"
#include "app/settings_schema.h"
#include "cli/arguments.h"
#include "cli/command_support.h"
#include "cli/commands.h"
#include "engine/dictionary.h"
#include "lexicon/hunspell_files.h"
#include "util/standard_utf8.h"

namespace lexora::cli {

int runLanguage(const std::vector<std::string>& args, CommandIo& io) {
  Dictionary d;
  int exitCode = kExitOk;
  const auto parsed = openDataCommand(args, kLanguageUsage, 1, 2, d, io, exitCode);
  if (!parsed) return exitCode;
  const std::string& file = parsed->file;
  RegistryKey& key = settingsKey();
  if (!key.isOpen()) return failure(io, "settings", settingsKeyError());
  const std::string none = toUtf8(schema::kNoLanguage);
  if (parsed->positional.size() == 2) {
    const std::string& tag = parsed->positional[1];
    std::string language;
    if (tag != "auto") {
      language = tag == none ? tag : normaliseLanguageTag(tag);
      if (language.empty()) return usageError(io, kLanguageUsage, "bad language '" + tag + "'");
    }
    if (!storeDictionaryLanguage(key, file, language)) {
      return failure(io, "settings", "cannot store the language");
    }
  }
  const std::vector<HunspellFiles> available = availableHunspellDictionaries();
  const std::string language = dictionaryLanguage(key, d, available);
  io.out << language;
  if (language != none) {
    const std::optional<HunspellFiles> files = hunspellForLanguage(language, available);
    io.out << (files ? " (Hunspell " + files->name + ")"
                     : " (" + missingLanguageData(language, available) + ")");
  }
  io.out << "\n";
  return kExitOk;
}

}  // namespace lexora::cli
