#pragma once
// The full-text index of one dictionary: the words of every meaning in an SQLite FTS5 table,
// kept in its own file beside the dictionary (FileSetNames::fullTextFile).
//
// Words are split and folded by FTS5's unicode61 tokenizer (case and accents folded, so the
// index finds at least every entry the lexicon's folding would). The table is contentless and
// keeps no word positions (detail=none): for each word, the entries that hold it; the texts
// stay in the dictionary, and the caller matches a phrase in the few meanings the index names.
// That keeps the index at about half the dictionary's size. An entry is keyed by its
// headword's offset in the word file, which no change of another entry moves.
//
// The index records the dictionary state it was built from (Dictionary::contentStamp). Each
// change of the dictionary updates the index and that stamp in one SQLite transaction after
// the dictionary's own change is on disk; when the process dies in between, the stamps differ
// and the index is stale until it is built again. It never answers for a state it does not
// match.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "util/status.h"

struct sqlite3;
struct sqlite3_stmt;

namespace lexora {

class Dictionary;

class FullTextIndex {
 public:
  ~FullTextIndex();
  FullTextIndex(const FullTextIndex&) = delete;
  FullTextIndex& operator=(const FullTextIndex&) = delete;

  // Opens an existing index file. NotFound when there is none, Corruption when the file is
  // no index of ours.
  static Status open(const std::string& file, std::unique_ptr<FullTextIndex>& index);
  // Creates an empty index file (replacing one of that name) for a one-pass build: it is
  // written without a journal, so it must be renamed into place only once committed.
  static Status createForBuild(const std::string& file, std::unique_ptr<FullTextIndex>& index);

  // The dictionary state the index matches; empty for a new index.
  const std::string& stamp() const { return stamp_; }

  // A batch of changes: begin(), add/remove, then commit(stamp), or rollback(). An entry is
  // removed with the very text it was added with.
  Status begin();
  Status add(uint32_t key, std::u16string_view meaning);
  Status remove(uint32_t key, std::u16string_view meaning);
  Status commit(const std::string& stamp);
  void rollback();
  // Merges the index into its most compact form (after a build).
  Status optimize();

  // The keys of the entries whose meaning holds every word of `text`, the last one possibly as
  // the beginning of a longer word. InvalidArgument when the text holds no word at all (or a
  // word the tokenizer would split).
  Status find(std::u16string_view text, std::vector<uint32_t>& keys);

 private:
  FullTextIndex(sqlite3* db, std::string file) : db_(db), file_(std::move(file)) {}
  Status exec(const char* sql);
  Status failure(const std::string& what) const;
  Status change(uint32_t key, std::u16string_view meaning, bool removal);

  sqlite3* db_;
  // The add and remove statements, prepared on first use (a build adds every entry).
  sqlite3_stmt* insert_ = nullptr;
  sqlite3_stmt* delete_ = nullptr;
  std::string file_;
  std::string stamp_;
  std::string utf8_;  // reused for each meaning
};

// Builds the dictionary's index afresh from every entry, under a temporary name, and puts it in
// place (Dictionary::adoptFullTextIndex). Busy when the dictionary changed during the build;
// progress(done, total) returning false cancels it (Busy too). The old index, if any, stays
// until the new one is complete.
Status buildFullTextIndex(Dictionary& dictionary,
                          const std::function<bool(uint32_t done, uint32_t total)>& progress = {});

}  // namespace lexora
