#pragma once
// What a lookup that finds no equal headword can offer instead: the entry of one of the
// word's base forms ("running" -> "run", "went" -> "go"), the headwords that spell the word
// another way ("café" for "cafe"), and spelling suggestions from the dictionary's own
// headwords.
//
// Base forms come from three sources, tried in order: the irregular forms of the word lists
// (English: WordNet's exception lists), then the Hunspell dictionary of the dictionary's
// language together with the language's regular endings (English only; not for a word that
// Hunspell rejects, which is a misspelling rather than a form). Only candidates that
// are headwords count; among those of one step the longest wins ("writers" -> "writer", not
// "writ").
//
// Keeps what it loads for the whole run: the word lists, the Hunspell dictionaries by name,
// and one suggestion index per dictionary, kept in a file in the index folder and built again
// when the dictionary's files change. One thread at a time: the window uses it on its lookup
// thread only.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lexicon/hunspell_files.h"
#include "lexicon/irregular_forms.h"
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
    std::string wordListFolder = IrregularForms::defaultFolder();  // empty: no word lists
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

  // The base form of word that the dictionary holds as a headword (see above). nullopt when
  // the word has no base form there or the dictionary's language has none ("none").
  std::optional<BaseFormEntry> baseFormEntry(Dictionary& dictionary, std::u16string_view word);

  // For a headword that is itself a form of another headword ("went" -> "go", "running" ->
  // "run"): that headword. Only the word lists and the unmistakable endings (a doubled
  // consonant before -ing or -ed, -ies or -ied for -y) count, and only when the language is
  // already known (set, stored or named by the title), so that an exact match stays cheap: no
  // Hunspell dictionary is loaded and no language guessed.
  std::optional<BaseFormEntry> seeAlso(Dictionary& dictionary, std::u16string_view headword);

  // The headwords that spell the word another way (lexicon/loose_key.h), closest first.
  std::vector<BaseFormEntry> variants(Dictionary& dictionary, std::u16string_view word);

  // Up to eight headwords close to the word, best first (empty when the headwords cannot
  // be read).
  std::vector<std::u16string> suggestions(Dictionary& dictionary, std::u16string_view word);

  // Loads now what a lookup that misses in the dictionary would load: its language (guessed
  // and kept when it has none), that language's Hunspell dictionary and word lists, and its
  // suggestion index (built only where lookups build it). The window runs it on its lookup
  // thread at start, so that no lookup waits for it.
  void prepare(Dictionary& dictionary);

 private:
  // The whole Hunspell dictionary of the language.
  WordForms* wordForms(const std::string& language);
  // Word forms that can answer for `word`: the whole dictionary once it is loaded; before, for
  // the first few words, the part of it that the word reaches, which loads in a fraction of the
  // time (a command that looks up one word needs no more).
  WordForms* wordFormsFor(const std::string& language, std::u16string_view word);
  // The language without guessing from the headwords; empty when it is not known yet.
  std::string knownLanguage(Dictionary& dictionary);
  const IrregularForms* irregularForms();
  // The Hunspell dictionaries on the search path, listed once.
  const std::vector<HunspellFiles>& available();
  const SuggestionIndex* suggestionIndex(Dictionary& dictionary);

  Places places_;
  std::string override_;
  std::optional<std::vector<HunspellFiles>> available_;
  std::map<std::string, std::unique_ptr<WordForms>> forms_;  // by Hunspell name; null: unusable
  std::unique_ptr<WordForms> oneWordForms_;  // the last word's, while no whole one is loaded
  int oneWordLoads_ = 0;
  std::optional<std::unique_ptr<IrregularForms>> irregular_;         // null inside: no word lists
  std::map<std::string, std::unique_ptr<SuggestionIndex>> indexes_;  // by data file
};

}  // namespace lexora
