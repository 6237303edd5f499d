#pragma once
// Spelling suggestions for a word that a dictionary does not hold: its headwords within a
// small edit distance (insertions, deletions, substitutions and transpositions of neighbours,
// counted on texts folded as the dictionary's order folds them), best first.
//
// The index is every headword folded and sorted, so that words sharing a beginning are
// neighbours: the search walks them as a trie, computing one row of the distance table per
// new letter and leaving out every word below a beginning that is already too far away.
// Built once from the dictionary (one pass over its word table) and kept in a file, keyed on
// the dictionary files' sizes and times.
//
// Usage:
//   std::unique_ptr<SuggestionIndex> index;
//   if (SuggestionIndex::build(dictionary, index).isOk())
//     for (const Suggestion& s : index->suggest(u"runing")) ... s.headword ...

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "lexicon/file_stamp.h"
#include "util/status.h"

namespace lexora {

class Dictionary;

struct Suggestion {
  std::u16string headword;
  uint32_t position = 0;  // the headword's index in the dictionary
  int distance = 0;
};

class SuggestionIndex {
 public:
  static constexpr size_t kDefaultCount = 8;
  // Longer words get no suggestions (their distance table would be long for little use).
  static constexpr size_t kLongestWord = 64;

  // Reads every headword of the open dictionary into `index`; fails when a read fails.
  static Status build(Dictionary& dictionary, std::unique_ptr<SuggestionIndex>& index);
  // From the words given in dictionary order (for tests and benchmarks).
  static std::unique_ptr<SuggestionIndex> fromWords(uint32_t collation,
                                                    const std::vector<std::u16string>& words);
  // Null when the file is missing, damaged, or was made from files with another stamp.
  static std::unique_ptr<SuggestionIndex> load(const std::string& file, const FileStamp& stamp);
  // Written under a temporary name and renamed into place. False when it cannot be written.
  bool save(const std::string& file) const;

  // Up to `count` headwords close to `word`: the smallest distance first; among equals the
  // ones that keep the word's first letter, then the ones closest in length, then dictionary
  // order. Words of up to 4 units allow one edit, longer ones two.
  std::vector<Suggestion> suggest(std::u16string_view word, size_t count = kDefaultCount) const;

  uint32_t collation() const { return collation_; }
  size_t size() const { return positions_.size(); }
  const FileStamp& stamp() const { return stamp_; }
  void setStamp(const FileStamp& stamp) { stamp_ = stamp; }

 private:
  SuggestionIndex() = default;
  void sortByFolded(const std::vector<std::u16string>& words);
  std::u16string_view folded(size_t i) const {
    return std::u16string_view(folded_).substr(foldedStart_[i],
                                               foldedStart_[i + 1] - foldedStart_[i]);
  }
  std::u16string_view headword(size_t i) const {
    return std::u16string_view(headwords_).substr(wordStart_[i], wordStart_[i + 1] - wordStart_[i]);
  }
  // The first index at or after `from` whose folded word does not begin with `prefix`.
  size_t endOfPrefix(size_t from, std::u16string_view prefix) const;

  uint32_t collation_ = 1;
  FileStamp stamp_;
  std::u16string folded_;              // every folded headword, in folded order
  std::vector<uint32_t> foldedStart_;  // size + 1 offsets into folded_
  std::u16string headwords_;           // the headwords as stored, same order
  std::vector<uint32_t> wordStart_;
  std::vector<uint32_t> positions_;  // each one's index in the dictionary
};

}  // namespace lexora
