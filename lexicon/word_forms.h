#pragma once
// The base forms of a word ("running" -> "run", "studies" -> "study") from a Hunspell
// dictionary's affix rules and stems.
//
// Usage:
//   auto forms = WordForms::open(*hunspellForLanguage("en", availableHunspellDictionaries()));
//   if (forms) for (auto& base : forms->baseForms(u"houses")) ...

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lexicon/hunspell_files.h"

class Hunspell;

namespace lexora {

class WordForms {
 public:
  // Null when either file cannot be read.
  static std::unique_ptr<WordForms> open(const HunspellFiles& files);
  // Word forms that answer for `word` alone, loaded from the lines of the word list that it can
  // reach (lexicon/word_list_subset.h); the whole dictionary when the files allow no subset.
  static std::unique_ptr<WordForms> openForWord(const HunspellFiles& files,
                                                std::u16string_view word);
  ~WordForms();
  WordForms(const WordForms&) = delete;
  WordForms& operator=(const WordForms&) = delete;

  // The word's base forms, most likely first, without the word itself and without repeats.
  // Empty when the word is not a form the dictionary knows.
  std::vector<std::u16string> baseForms(std::u16string_view word);
  // True when the dictionary accepts the word as spelt.
  bool knows(std::u16string_view word);

  const std::string& name() const { return name_; }
  // False for a word that word forms opened for another word cannot answer.
  bool covers(std::u16string_view word) const { return !onlyWord_ || *onlyWord_ == word; }
  bool isWhole() const { return !onlyWord_; }

 private:
  WordForms(std::unique_ptr<Hunspell> hunspell, std::string name);
  // The word in the dictionary's encoding; false when it has no such spelling there.
  bool encode(std::u16string_view word, std::string& out) const;
  std::u16string decode(const std::string& text) const;

  std::unique_ptr<Hunspell> hunspell_;
  std::string name_;
  std::string encoding_;  // empty for UTF-8
  std::optional<std::u16string> onlyWord_;
};

}  // namespace lexora
