#pragma once
// Builds a whole dictionary in one pass: collects (headword, meaning) pairs in input order,
// then writes the data, word and index files at once. The files come out as creating an
// empty dictionary and adding the entries one by one with Dictionary::addEntry would leave
// them (the data file up to the end of its last block), in O(N log N) instead of N inserts
// and N recompressions of the last block.
//
// Usage:
//   DictionaryBuilder builder(kLatin1);
//   builder.setTitle(u"English");
//   builder.add(u"apple", u"- a fruit");
//   if (Status s = builder.finish("/tmp/en.pvm"); !s.isOk()) ... s.message() ...
//   builder.result(0) == EditResult::Ok

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/edit_result.h"
#include "engine/file.h"
#include "engine/file_format.h"
#include "util/status.h"

namespace lexora {

class DictionaryBuilder {
 public:
  explicit DictionaryBuilder(uint32_t collation);

  // Writes through fileSystem instead of the system's files (tests inject faults here).
  void setFileSystem(FileSystem& fileSystem) { fs_ = &fileSystem; }

  // Kept like Dictionary::setTitle / setDescription: at most 127 / 255 units.
  void setTitle(std::u16string_view text);
  void setDescription(std::u16string_view text);

  // Told how far finish() has come compressing the meaning blocks (done of total), from the
  // thread that called finish().
  void setProgress(std::function<void(uint64_t done, uint64_t total)> progress) {
    progress_ = std::move(progress);
  }

  // Collects one entry; entries are numbered 0, 1, ... in the order they are added.
  void add(std::u16string_view headword, std::u16string_view meaning);
  size_t entryCount() const { return entries_.size(); }

  // Decides every entry's result and writes the three files named by dataFileName,
  // replacing existing ones. The replace is one transaction with a rollback journal, so a
  // failure, or a crash half-way, leaves any previous dictionary of that name whole (and a
  // dictionary that did not exist, absent). A dictionary held open elsewhere is refused.
  // Fails when a file cannot be written (the message says which and why). May be called once.
  Status finish(const std::string& dataFileName);

  // REQUIRES: finish() was called; entry < entryCount().
  // Ok for an entry that was stored; otherwise the reason addEntry would have given
  // (EmptyWord, WordExists, WordTooLong, MeaningTooLong).
  EditResult result(size_t entry) const { return results_[entry]; }
  uint32_t acceptedCount() const { return accepted_; }

 private:
  struct Entry {
    std::u16string headword;
    std::string meaningBytes;   // utf8Encode of the meaning
    uint32_t meaningUnits = 0;  // the meaning's length in UTF-16 units
  };

  struct Layout;

  void decideResults();
  // The steps of writing: the files are laid out in memory, then written in one transaction.
  Status writeFiles(const std::string& dataFileName);
  Status compressBlocks(const std::string& dataFile, Layout& layout) const;
  void layOutHeader(Layout& layout) const;
  void layOutWords(Layout& layout) const;
  void layOutIndex(Layout& layout) const;
  Status replaceFiles(const FileSetNames& names, const Layout& layout);

  uint32_t collation_;
  std::u16string title_;
  std::u16string description_;
  std::vector<Entry> entries_;
  std::vector<EditResult> results_;
  // Where each accepted entry's meaning starts (block, offset); indexed like entries_.
  std::vector<uint16_t> startBlock_;
  std::vector<uint16_t> startOffset_;
  uint64_t streamLength_ = 0;
  uint32_t accepted_ = 0;
  bool finished_ = false;
  FileSystem* fs_ = &systemFileSystem();
  std::function<void(uint64_t done, uint64_t total)> progress_;
};

}  // namespace lexora
