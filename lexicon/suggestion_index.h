#pragma once
// Spelling suggestions for a word that a dictionary does not hold: its headwords within a
// small edit distance (insertions, deletions, substitutions and transpositions of neighbours,
// counted on texts folded as the dictionary's order folds them), best first.
//
// The index is every headword folded and sorted, so that words sharing a beginning are
// neighbours: the search walks them as a trie, computing one row of the distance table per
// new letter and leaving out every word below a beginning that is already too far away.
// Built once from the dictionary (one pass over its word table) and kept in a file, keyed on
// the dictionary files' sizes and times. A loaded index reads its tables in place from the
// mapped file: only the pages a search touches are read. The file is not trusted: every
// offset and order read from it is checked where it is used, so a damaged file gives odd
// suggestions at worst.
//
// Beside it the index keeps every headword's loose key (lexicon/loose_key.h), sorted, so that
// the spelling variants of a typed word ("cafe" for "café", "nguoi" for "người") are found by
// one binary search.
//
// Usage:
//   std::unique_ptr<SuggestionIndex> index;
//   if (SuggestionIndex::build(dictionary, index).isOk())
//     for (const Suggestion& s : index->suggest(u"runing")) ... s.headword ...

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "lexicon/file_stamp.h"
#include "util/mapped_file.h"
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

  // The tables are views into the index's own storage or its mapping: it is neither copied
  // nor moved.
  SuggestionIndex(const SuggestionIndex&) = delete;
  SuggestionIndex& operator=(const SuggestionIndex&) = delete;

  // Reads every headword of the open dictionary into `index`; fails when a read fails.
  static Status build(Dictionary& dictionary, std::unique_ptr<SuggestionIndex>& index);
  // From the words given in dictionary order (for tests and benchmarks).
  static std::unique_ptr<SuggestionIndex> fromWords(uint32_t collation,
                                                    const std::vector<std::u16string>& words);
  // Null when the file is missing, made from files with another stamp, or its header does not
  // fit its size. The file stays mapped while the index lives.
  static std::unique_ptr<SuggestionIndex> load(const std::string& file, const FileStamp& stamp);
  // Written under a temporary name and renamed into place. False when it cannot be written.
  bool save(const std::string& file) const;

  // Up to `count` headwords close to `word`: the smallest distance first; among equals the
  // ones that keep the word's first letter, then the ones closest in length, then dictionary
  // order. Words of up to 4 units allow one edit, longer ones two.
  std::vector<Suggestion> suggest(std::u16string_view word, size_t count = kDefaultCount) const;

  // The headwords whose loose key is the word's, closest to the word as typed first (fewest
  // differences once the dictionary's order has folded both), then in dictionary order.
  // `distance` counts those differences. Empty when the word has no letters to compare.
  std::vector<Suggestion> variants(std::u16string_view word, size_t count = kDefaultCount) const;

  uint32_t collation() const { return collation_; }
  size_t size() const { return tables_.positions.size(); }
  const FileStamp& stamp() const { return stamp_; }
  void setStamp(const FileStamp& stamp) { stamp_ = stamp; }

 private:
  struct Candidate {
    size_t at;  // in folded order
    int distance;
  };
  // What the search reads: views into the storage of an index built here, or into the mapped
  // file. Each text's starts hold size + 1 offsets into it.
  struct Tables {
    std::span<const uint32_t> foldedStart;
    std::span<const uint32_t> wordStart;
    std::span<const uint32_t> positions;  // each word's index in the dictionary
    std::span<const uint32_t> looseStart;
    std::span<const uint32_t> looseOrder;  // for each loose key, its word's place in folded order
    std::span<const char16_t> folded;      // every folded headword, in folded order
    std::span<const char16_t> headwords;   // the headwords as stored, same order
    std::span<const char16_t> loose;       // every loose key, sorted
  };
  // The tables of an index built in memory.
  struct Storage {
    std::vector<uint32_t> foldedStart, wordStart, positions, looseStart, looseOrder;
    std::u16string folded, headwords, loose;
  };

  SuggestionIndex() = default;
  void sortByFolded(const std::vector<std::u16string>& words);
  void sortByLooseKey();
  // Points the tables at the storage.
  void viewStorage();
  // Reads the mapped file's header and points the tables at the rest; false when the file
  // is not an index made from files with this stamp or its tables do not fit its size.
  bool viewFile(const FileStamp& stamp);
  // Every headword within maxDistance of the folded query, in folded order.
  std::vector<Candidate> candidatesWithin(std::u16string_view query, int maxDistance) const;
  // The first `count` of the ranked candidates, each headword once.
  std::vector<Suggestion> suggestionsOf(const std::vector<Candidate>& ranked, size_t count) const;
  // A headword holds at most 255 UTF-8 bytes, so no piece of a sound index comes near this;
  // a forged file's longer pieces would only make each comparison slow.
  static constexpr uint32_t kLongestPiece = 1024;
  // The i-th piece of a text; empty when its offsets are out of order, beyond the text or
  // longer than any headword's. REQUIRES: i < size().
  static std::u16string_view piece(std::span<const char16_t> text, std::span<const uint32_t> starts,
                                   size_t i) {
    const uint32_t from = starts[i];
    const uint32_t to = starts[i + 1];
    if (from > to || to > text.size() || to - from > kLongestPiece) return {};
    return {text.data() + from, to - from};
  }
  std::u16string_view looseKeyAt(size_t rank) const {
    return piece(tables_.loose, tables_.looseStart, rank);
  }
  std::u16string_view folded(size_t i) const {
    return piece(tables_.folded, tables_.foldedStart, i);
  }
  std::u16string_view headword(size_t i) const {
    return piece(tables_.headwords, tables_.wordStart, i);
  }
  // The first index at or after `from` whose folded word does not begin with `prefix`.
  size_t endOfPrefix(size_t from, std::u16string_view prefix) const;

  uint32_t collation_ = 1;
  FileStamp stamp_;
  Storage storage_;
  MappedFile mapping_;
  Tables tables_;
};

}  // namespace lexora
