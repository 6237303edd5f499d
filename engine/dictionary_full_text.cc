// The full-text index's half of Dictionary: the stamp that ties an index to the files, the
// index opened beside the dictionary, and its update after each change.

#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "engine/dictionary.h"
#include "engine/dictionary_files.h"
#include "engine/full_text_index.h"

namespace lexora {
namespace {

constexpr size_t kStampChunk = 1 << 18;

}  // namespace

Status Dictionary::readWordRecords(std::vector<WordRecord>& records) {
  const Hold hold(mutex_);
  records.clear();
  if (!isOpen_) return Status::ioError("cannot read the word table: the dictionary is not open");
  std::vector<uint8_t> bytes;
  if (Status s = readRecordBytes(0, header_.wordCount, bytes); !s.isOk()) return s;
  records.resize(header_.wordCount);
  for (size_t i = 0; i < records.size(); ++i) {
    records[i] = WordRecord::decodeFrom(bytes.data() + i * WORD_RECORD_SIZE);
  }
  return Status::ok();
}

Status Dictionary::contentStamp(std::string& stamp) {
  const Hold hold(mutex_);
  stamp.clear();
  if (!isOpen_) return Status::ioError("cannot read the dictionary: it is not open");
  uint64_t sizes[3] = {};
  const DictionaryFile files[3] = {DictionaryFile::Index, DictionaryFile::Word,
                                   DictionaryFile::Data};
  for (int i = 0; i < 3; ++i) {
    if (Status s = files_->size(files[i], sizes[i]); !s.isOk()) return s;
  }
  // The header as the file holds it, without the texts that no entry depends on.
  std::vector<uint8_t> bytes(kStampChunk);
  if (Status s = files_->read(DictionaryFile::Index, 0, bytes.data(), HEADER_SIZE); !s.isOk())
    return s;
  DictionaryHeader header = DictionaryHeader::decodeFrom(bytes.data());
  header.title.fill(u'\0');
  header.description.fill(u'\0');
  header.encodeTo(bytes.data());
  uLong crc = crc32(0L, bytes.data(), HEADER_SIZE);
  uLong adler = adler32(1L, bytes.data(), HEADER_SIZE);
  for (uint64_t at = HEADER_SIZE; at < sizes[0];) {
    const size_t n = static_cast<size_t>(std::min<uint64_t>(kStampChunk, sizes[0] - at));
    if (Status s = files_->read(DictionaryFile::Index, at, bytes.data(), n); !s.isOk()) return s;
    crc = crc32(crc, bytes.data(), static_cast<uInt>(n));
    adler = adler32(adler, bytes.data(), static_cast<uInt>(n));
    at += n;
  }
  char text[96];
  std::snprintf(text, sizeof text, "1 %llu %llu %llu %08lx%08lx",
                static_cast<unsigned long long>(sizes[0]),
                static_cast<unsigned long long>(sizes[1]),
                static_cast<unsigned long long>(sizes[2]), crc, adler);
  stamp = text;
  return Status::ok();
}

bool Dictionary::fullTextCurrent() {
  if (!isOpen_) return false;
  if (fullTextChecked_) return fullText_ != nullptr;
  fullTextChecked_ = true;
  std::unique_ptr<FullTextIndex> index;
  if (!FullTextIndex::open(fileSetNames(dataFileName_).fullTextFile, index).isOk()) return false;
  std::string stamp;
  if (!contentStamp(stamp).isOk() || stamp != index->stamp()) return false;
  fullText_ = std::move(index);
  return true;
}

Dictionary::FullTextState Dictionary::fullTextState() {
  const Hold hold(mutex_);
  if (fullTextCurrent()) return FullTextState::Current;
  std::error_code ignored;
  const bool exists =
      isOpen_ && std::filesystem::exists(fileSetNames(dataFileName_).fullTextFile, ignored);
  return exists ? FullTextState::Stale : FullTextState::Missing;
}

Status Dictionary::findInMeanings(std::u16string_view text, std::vector<uint32_t>& positions) {
  const Hold hold(mutex_);
  positions.clear();
  if (!fullTextCurrent()) {
    return Status::notFound(fileSetNames(dataFileName_).fullTextFile +
                            ": no full-text index that matches the dictionary");
  }
  std::vector<uint32_t> keys;
  if (Status s = fullText_->find(text, keys); !s.isOk()) return s;
  if (keys.empty()) return Status::ok();
  std::sort(keys.begin(), keys.end());
  std::vector<WordRecord> records;
  if (Status s = readWordRecords(records); !s.isOk()) return s;
  for (uint32_t i = 0; i < records.size(); ++i) {
    if (std::binary_search(keys.begin(), keys.end(), records[i].wordOffset)) {
      positions.push_back(i);
    }
  }
  return Status::ok();
}

Status Dictionary::adoptFullTextIndex(const std::string& builtFile, const std::string& stamp) {
  const Hold hold(mutex_);
  std::string now;
  Status s = contentStamp(now);
  if (s.isOk() && now != stamp) {
    s = Status::busy(dataFileName_ + " changed while its full-text index was built");
  }
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
