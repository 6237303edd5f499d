#pragma once
// The language of a dictionary's headwords, which chooses the Hunspell dictionary for its
// word forms: stored per dictionary in the settings key ("Language:" + data file path),
// guessed from the title and the headwords when nothing is stored yet.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lexicon/hunspell_files.h"

namespace lexora {

class Dictionary;
class RegistryKey;

// The stored tag; empty when none is stored. "none" means: no word forms for it.
std::string storedDictionaryLanguage(RegistryKey& key, const std::string& dataFile);
// Stores a tag ("none" included); an empty tag removes the value, so that it is guessed again.
bool storeDictionaryLanguage(RegistryKey& key, const std::string& dataFile,
                             const std::string& language);

// The first language that the title names ("English–Vietnamese" -> "en"), in English or in
// the language itself; empty when it names none.
std::string languageNamedInTitle(std::u16string_view title);

// The title's language; else the script of the headwords (Vietnamese letters -> "vi",
// Cyrillic -> "ru"); else the Hunspell dictionary that knows most of a sample of the
// headwords (at least half of them); else "none".
std::string guessDictionaryLanguage(Dictionary& dictionary,
                                    const std::vector<HunspellFiles>& available);

// The stored tag, or the guess, which is then stored.
std::string dictionaryLanguage(RegistryKey& key, Dictionary& dictionary,
                               const std::vector<HunspellFiles>& available);

// What a dictionary of this language lacks for its base forms: empty when a Hunspell
// dictionary serves it (or for "none"), otherwise "no Hunspell dictionary for fr: install the
// Debian package hunspell-fr" (without the second part when Debian has none).
std::string missingLanguageData(const std::string& language,
                                const std::vector<HunspellFiles>& available);

// What a language field holds, as it is stored: empty (guess it), "none", or a normalised
// tag ("EN-gb" -> "en_GB"); nullopt for text that is none of these.
std::optional<std::string> languageFromField(std::string_view text);

// How the dictionaries dialog reads and writes the languages (by data file path).
struct LanguageStore {
  std::function<std::string(const std::string& dataFile)> read;
  std::function<bool(const std::string& dataFile, const std::string& language)> write;
  // missingLanguageData for a language; null: nothing is said.
  std::function<std::string(const std::string& language)> missing;
};

// The store over a settings key.
LanguageStore settingsLanguageStore(const std::function<RegistryKey&()>& key);

}  // namespace lexora
