#pragma once
// Full-text search: the entries of a dictionary whose meaning contains a text (folded as the
// dictionary's order folds it) or matches a regular expression, each with the line that
// holds the match. A meaning is searched as its page reads: "&#36;3,000" is found by "$3,000".
//
// A text is looked up in the dictionary's full-text index, which names the entries that hold
// all its words (the last possibly as the start of a longer word); only their meanings are
// read and matched, so a text is found from the beginning of a word. A dictionary without an index
// that matches it gets one first; when that cannot be built, or the text holds no word, every
// meaning is read. A regular expression always reads every meaning.
//
// Usage:
//   std::unique_ptr<MeaningSearch> search;
//   Status s = MeaningSearch::create(u"swift", false, search);
//   if (s.isOk()) s = search->run(dictionary, [](const MeaningMatch& m) { ... });

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "util/status.h"

namespace lexora {

class Dictionary;

struct MeaningMatch {
  uint32_t position = 0;  // the entry's index
  std::u16string headword;
  std::u16string line;      // the whole line (markup included) that holds the first match
  uint32_t lineNumber = 0;  // 0-based, counting the entry's lines
};

class MeaningSearch {
 public:
  // InvalidArgument for an empty text or a regular expression that does not compile.
  // A regular expression is POSIX extended syntax, matched line by line, without regard to
  // case unless the dictionary's order heeds case. buildIndex false: a dictionary without a
  // matching full-text index is read whole instead of being indexed first.
  static Status create(std::u16string_view text, bool regex, std::unique_ptr<MeaningSearch>& search,
                       bool buildIndex = true);
  virtual ~MeaningSearch() = default;

  // Reads every entry of the open dictionary in order and reports each match. Fails when the
  // word table or a meaning cannot be read; an entry whose meaning is empty or unreadable
  // text is simply not a match. `found` returns false to stop early.
  virtual Status run(Dictionary& dictionary,
                     const std::function<bool(const MeaningMatch&)>& found) = 0;
};

}  // namespace lexora
