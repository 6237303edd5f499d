#pragma once
// What a lookup that finds no equal headword can offer instead: the entry of one of the
// word's base forms ("running" -> "run"), found through the Hunspell dictionary of the
// dictionary's language, and spelling suggestions from the dictionary's own headwords.
//
// Keeps what it loads for the whole run: the Hunspell dictionaries by name, and one
// suggestion index per dictionary, kept in a file in the index folder and built again when
// the dictionary's files change.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lexicon/hunspell_files.h"
#include "lexicon/suggestion_index.h"

namespace lexora {

class Dictionary;
class RegistryKey;
class WordForms;

struct BaseFormEntry {
  std::u16string headword;  // the base form as the dictionary spells it
  uint32_t position = 0;
};

class WordHelp {
 public:
  struct Places {
    // Where the languages are kept, asked for only when a language is needed; null (or a
    // function giving null): guessed each run, not kept.
    std::function<RegistryKey*()> settings;
    std::string indexFolder;  // empty: suggestion indexes stay in memory
    std::vector<std::string> hunspellPath = hunspellSearchPath();
    // False: a lookup only loads a suggestion index kept in a file and never builds one (the
    // window builds them in the background, so that no lookup waits).
    bool buildOnLookup = true;
  };

  explicit WordHelp(Places places);
  ~WordHelp();
  WordHelp(const WordHelp&) = delete;
  WordHelp& operator=(const WordHelp&) = delete;

  // The folder beside the settings store that keeps the suggestion indexes ("" when the
  // settings have no place).
  static std::string defaultIndexFolder();
  // The file in `folder` that keeps the suggestion index of a dictionary that cannot keep it
  // beside itself ("" for an empty folder).
  static std::string keptIndexFile(const std::string& folder, const std::string& dataFile);
  const std::string& indexFolder() const { return places_.indexFolder; }

  // Forces one language for every dictionary (a command-line override); empty: stored or
  // guessed per dictionary.
  void setLanguageOverride(std::string language) { override_ = std::move(language); }

  // The dictionary's language tag: the override, the stored one, or the guess.
  std::string language(Dictionary& dictionary);

  // The first base form of word that the dictionary holds as a headword. nullopt when there
  // is no Hunspell dictionary for the language, the word has no base forms, or none of them is
  // in the dictionary.
  std::optional<BaseFormEntry> baseFormEntry(Dictionary& dictionary, std::u16string_view word);

  // Up to eight headwords close to the word, best first (empty when the headwords cannot
  // be read).
  std::vector<std::u16string> suggestions(Dictionary& dictionary, std::u16string_view word);

 private:
  WordForms* wordForms(Dictionary& dictionary);
  // The Hunspell dictionaries on the search path, listed once.
  const std::vector<HunspellFiles>& available();
  const SuggestionIndex* suggestionIndex(Dictionary& dictionary);

  Places places_;
  std::string override_;
  std::optional<std::vector<HunspellFiles>> available_;
  std::map<std::string, std::unique_ptr<WordForms>> forms_;  // by Hunspell name; null: unusable
  std::map<std::string, std::unique_ptr<SuggestionIndex>> indexes_;  // by data file
};

}  // namespace lexora
