// The full-text index's half of Dictionary: the stamp that ties an index to the files, the
// index opened beside the dictionary, and its update after each change.

#include <libdeflate.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "engine/dictionary.h"
#include "engine/dictionary_files.h"
#include "engine/full_text_index.h"

namespace lexora {
namespace {

// What a pass reads under the lock at a time: about 20 µs of copying from the page cache.
constexpr size_t kPieceBytes = 1 << 16;
constexpr uint32_t kRecordsPerPiece = kPieceBytes / WORD_RECORD_SIZE;

}  // namespace

Status Dictionary::readWordRecords(uint32_t first, uint32_t count, std::vector<WordRecord>& records,
                                   uint64_t state) {
  records.clear();
  std::vector<uint8_t> bytes;
  {
    const Hold hold(mutex_);
    if (Status s = checkState(state); !s.isOk()) return s;
    if (Status s = readRecordBytes(first, count, bytes); !s.isOk()) return s;
  }
  records.resize(bytes.size() / WORD_RECORD_SIZE);
  for (size_t i = 0; i < records.size(); ++i) {
    records[i] = WordRecord::decodeFrom(bytes.data() + i * WORD_RECORD_SIZE);
  }
  return Status::ok();
}

Status Dictionary::readWordRecords(std::vector<WordRecord>& records, uint64_t state) {
  records.clear();
  uint32_t count = 0;
  {
    const Hold hold(mutex_);
    if (Status s = checkState(state); !s.isOk()) {
      if (!isOpen_)
        return Status::ioError("cannot read the word table: the dictionary is not open");
      return s;
    }
    count = header_.wordCount;
  }
  // Sized only once each piece has read.
  std::vector<WordRecord> piece;
  for (uint32_t first = 0; first < count; first += kRecordsPerPiece) {
    const uint32_t n = std::min(kRecordsPerPiece, count - first);
    if (Status s = readWordRecords(first, n, piece, state); !s.isOk()) {
      records.clear();
      return s;
    }
    records.insert(records.end(), piece.begin(), piece.end());
  }
  return Status::ok();
}

Status Dictionary::contentStamp(std::string& stamp) { return contentStamp(stamp, state()); }

Status Dictionary::contentStamp(std::string& stamp, uint64_t state) {
  stamp.clear();
  uint64_t sizes[3] = {};
  // The header as the file holds it, without the texts that no entry depends on.
  std::vector<uint8_t> bytes(kPieceBytes);
  {
    const Hold hold(mutex_);
    if (!isOpen_) return Status::ioError("cannot read the dictionary: it is not open");
    if (Status s = checkState(state); !s.isOk()) return s;
    const DictionaryFile files[3] = {DictionaryFile::Index, DictionaryFile::Word,
                                     DictionaryFile::Data};
    for (int i = 0; i < 3; ++i) {
      if (Status s = files_->size(files[i], sizes[i]); !s.isOk()) return s;
    }
    if (Status s = files_->read(DictionaryFile::Index, 0, bytes.data(), HEADER_SIZE); !s.isOk())
      return s;
  }
  DictionaryHeader header = DictionaryHeader::decodeFrom(bytes.data());
  header.title.fill(u'\0');
  header.description.fill(u'\0');
  header.encodeTo(bytes.data());
  // zlib's CRC-32 and Adler-32, computed by libdeflate (several times faster).
  uint32_t crc = libdeflate_crc32(0, bytes.data(), HEADER_SIZE);
  uint32_t adler = libdeflate_adler32(1, bytes.data(), HEADER_SIZE);
  for (uint64_t at = HEADER_SIZE; at < sizes[0];) {
    const size_t n = static_cast<size_t>(std::min<uint64_t>(kPieceBytes, sizes[0] - at));
    {
      const Hold hold(mutex_);
      if (Status s = checkState(state); !s.isOk()) return s;
      if (Status s = files_->read(DictionaryFile::Index, at, bytes.data(), n); !s.isOk()) return s;
    }
    crc = libdeflate_crc32(crc, bytes.data(), n);
    adler = libdeflate_adler32(adler, bytes.data(), n);
    at += n;
  }
  char text[96];
  std::snprintf(
      text, sizeof text, "1 %llu %llu %llu %08lx%08lx", static_cast<unsigned long long>(sizes[0]),
      static_cast<unsigned long long>(sizes[1]), static_cast<unsigned long long>(sizes[2]),
      static_cast<unsigned long>(crc), static_cast<unsigned long>(adler));
  stamp = text;
  return Status::ok();
}

bool Dictionary::fullTextCurrent() {
  uint64_t state = 0;
  uint64_t epoch = 0;
  std::string file;
  {
    const Hold hold(mutex_);
    if (!isOpen_) return false;
    if (fullTextChecked_) return fullText_ != nullptr;
    state = state_;
    epoch = fullTextEpoch_;
    file = fileSetNames(dataFileName_).fullTextFile;
  }
  // Compared outside the lock (the stamp reads the whole index file in pieces); what changed
  // meanwhile is compared again next time.
  std::unique_ptr<FullTextIndex> index;
  std::string stamp;
  const bool matches = FullTextIndex::open(file, index).isOk() &&
                       contentStamp(stamp, state).isOk() && stamp == index->stamp();
  const Hold hold(mutex_);
  if (state != state_ || epoch != fullTextEpoch_) return false;
  if (!fullTextChecked_) {
    fullTextChecked_ = true;
    if (matches) fullText_ = std::move(index);
  }
  return fullText_ != nullptr;
}

Dictionary::FullTextState Dictionary::fullTextState() {
  if (fullTextCurrent()) return FullTextState::Current;
  const Hold hold(mutex_);
  std::error_code ignored;
  const bool exists =
      isOpen_ && std::filesystem::exists(fileSetNames(dataFileName_).fullTextFile, ignored);
  return exists ? FullTextState::Stale : FullTextState::Missing;
}

Status Dictionary::findInMeanings(std::u16string_view text, std::vector<uint32_t>& positions) {
  positions.clear();
  std::vector<uint32_t> keys;
  uint64_t state = 0;
  {
    const bool current = fullTextCurrent();
    const Hold hold(mutex_);
    if (!current || !fullText_) {
      return Status::notFound(fileSetNames(dataFileName_).fullTextFile +
                              ": no full-text index that matches the dictionary");
    }
    state = state_;
    if (Status s = fullText_->find(text, keys); !s.isOk()) return s;
  }
  if (keys.empty()) return Status::ok();
  std::sort(keys.begin(), keys.end());
  return positionsOfKeys(keys, state, positions);
}

Status Dictionary::positionsOfKeys(const std::vector<uint32_t>& keys, uint64_t state,
                                   std::vector<uint32_t>& positions) {
  // Only each record's headword offset is wanted: it is read straight from the table's bytes,
  // a piece at a time.
  uint32_t count = 0;
  {
    const Hold hold(mutex_);
    if (Status s = checkState(state); !s.isOk()) return s;
    count = header_.wordCount;
  }
  std::vector<uint8_t> bytes;
  for (uint32_t first = 0; first < count; first += kRecordsPerPiece) {
    const uint32_t n = std::min(kRecordsPerPiece, count - first);
    {
      const Hold hold(mutex_);
      if (Status s = checkState(state); !s.isOk()) return s;
      if (Status s = readRecordBytes(first, n, bytes); !s.isOk()) return s;
    }
    for (uint32_t i = 0; i < n; ++i) {
      const uint32_t key = WordRecord::wordOffsetIn(bytes.data() + size_t{i} * WORD_RECORD_SIZE);
      if (std::binary_search(keys.begin(), keys.end(), key)) positions.push_back(first + i);
    }
  }
  return Status::ok();
}

Status Dictionary::adoptFullTextIndex(const std::string& builtFile, uint64_t state) {
  const Hold hold(mutex_);
  // The stamp was read in `state`: unchanged since, it is still the stamp of the files.
  Status s = checkState(state);
  if (!s.isOk()) s = Status::busy(dataFileName_ + " changed while its full-text index was built");
  const std::string target = fileSetNames(dataFileName_).fullTextFile;
  closeFullText();
  if (s.isOk() && std::rename(builtFile.c_str(), target.c_str()) != 0) {
    s = Status::ioError("cannot rename " + builtFile + " to " + target);
  }
  if (!s.isOk()) std::remove(builtFile.c_str());
  return s;
}

void Dictionary::closeFullText() {
  fullText_.reset();
  fullTextChecked_ = false;
  ++fullTextEpoch_;
}

Status Dictionary::indexedText(uint32_t index, IndexedText& text) {
  WordRecord record;
  if (Status s = readRecord(index, record); !s.isOk()) return s;
  text.key = record.wordOffset;
  Status s = readMeaning(index, text.meaning);
  if (s.code() == Status::Code::NotFound) {
    text.meaning.clear();
    return Status::ok();
  }
  return s;
}

void Dictionary::updateFullText(const std::vector<IndexedText>& removed,
                                const std::vector<IndexedText>& added) {
  if (!fullText_) return;
  std::string stamp;
  Status s = contentStamp(stamp);
  if (s.isOk()) s = fullText_->begin();
  for (const IndexedText& t : removed) {
    if (s.isOk()) s = fullText_->remove(t.key, t.meaning);
  }
  for (const IndexedText& t : added) {
    if (s.isOk()) s = fullText_->add(t.key, t.meaning);
  }
  if (s.isOk()) s = fullText_->commit(stamp);
  if (!s.isOk()) {
    // The index keeps the stamp of the state before the change: it reads as stale from now on.
    fullText_->rollback();
    fullText_.reset();
  }
}

void Dictionary::followChange(const Status& result, bool known,
                              const std::vector<IndexedText>& removed,
                              std::optional<uint32_t> added) {
  if (!fullText_) return;
  std::vector<IndexedText> texts;
  if (result.isOk() && known && added) {
    texts.resize(1);
    known = indexedText(*added, texts[0]).isOk();
  }
  if (!result.isOk() || !known) {
    closeFullText();
    return;
  }
  updateFullText(removed, texts);
}

}  // namespace lexora
