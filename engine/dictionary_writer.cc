// The writer's half of Dictionary: text is appended (headwords to the word file, meanings into
// the last block of the data file), the index file is changed in place. Every operation
// writes new text first, then word records, then the header, inside one transaction that
// commits them all or none (dictionary_files.h).

#include <zlib.h>

#include <algorithm>
#include <cstring>

#include "engine/collation.h"
#include "engine/dictionary.h"

#include "engine/block_store.h"
#include "engine/dictionary_files.h"
#include "util/standard_utf8.h"
#include "util/utf8_codec.h"

namespace lexora {
namespace {

// Texts handed to the writer end at their first NUL, as stored texts do.
std::u16string_view upToNul(std::u16string_view text) {
  const size_t nul = text.find(u'\0');
  return nul == std::u16string_view::npos ? text : text.substr(0, nul);
}

}  // namespace

// ---- Shared steps ----

void Dictionary::placeMeaning(const MeaningPlan& plan, const std::string& meaningBytes,
                              WordRecord& record) {
  record.block = plan.startBlock;
  record.offset = plan.startOffset;
  record.meaningLength = static_cast<uint16_t>(meaningBytes.size());
}

EditStatus Dictionary::planMeaning(uint32_t byteCount, MeaningPlan& plan) {
  const uint32_t b = header_.lastBlock;
  BlockRecord record;
  if (Status s = readBlockRecord(b, record); !s.isOk()) return {EditResult::DataWriteFailed, s};
  if (cacheBlock_ != b) {
    if (Status s = loadBlock(b, BLOCK_CAPACITY); !s.isOk()) {
      return {EditResult::DataWriteFailed, s};
    }
  }

  plan = MeaningPlan{};
  if (cacheLength_ < BLOCK_CAPACITY || byteCount == 0) {
    // An empty meaning never opens a block: it is recorded at the end of the last one.
    plan.startBlock = static_cast<uint16_t>(b);
    plan.startOffset = static_cast<uint16_t>(cacheLength_);
    plan.blockFileOffset = record.offset;
  } else {
    const uint64_t next = static_cast<uint64_t>(record.offset) + record.length;
    if (next > UINT32_MAX) {
      return {
          EditResult::DataWriteFailed,
          Status::invalidArgument(files_->name(DictionaryFile::Data) + " cannot grow past 4 GiB")};
    }
    plan.startsNewBlock = true;
    plan.startBlock = static_cast<uint16_t>(b + 1);
    plan.startOffset = 0;
    plan.blockFileOffset = static_cast<uint32_t>(next);
  }
  uint32_t last = plan.startBlock;
  if (byteCount > 0) last += (plan.startOffset + byteCount - 1) / BLOCK_CAPACITY;
  if (last >= BLOCK_SLOTS) {
    return {EditResult::MeaningTooLong,
            Status::invalidArgument("the block table of " + files_->name(DictionaryFile::Index) +
                                    " is full")};
  }
  plan.lastBlock = static_cast<uint16_t>(last);
  return EditStatus::ok();
}

Status Dictionary::appendMeaning(const MeaningPlan& plan, std::string_view bytes,
                                 uint16_t& newLastBlock) {
  newLastBlock = header_.lastBlock;
  if (bytes.empty()) return Status::ok();
  if (retainedBlocks_) retainedBlocks_->clear();  // the last block is about to change
  if (plan.startsNewBlock) {
    cacheBlock_ = plan.startBlock;
    cacheLength_ = 0;
  }
  std::vector<uint8_t> compressed(BLOCK_CAPACITY);
  uint32_t block = plan.startBlock;
  uint32_t fileOffset = plan.blockFileOffset;
  size_t position = 0;
  for (;;) {
    const size_t take = std::min<size_t>(bytes.size() - position, BLOCK_CAPACITY - cacheLength_);
    std::memcpy(cacheBuffer_.data() + cacheLength_, bytes.data() + position, take);
    cacheLength_ += static_cast<uint32_t>(take);
    position += take;

    uLongf length = BLOCK_CAPACITY;
    if (compress2(compressed.data(), &length, cacheBuffer_.data(), cacheLength_,
                  COMPRESSION_LEVEL) != Z_OK) {
      emptyCache();
      return Status::ioError("block " + std::to_string(block) + " does not compress into " +
                             std::to_string(BLOCK_CAPACITY) + " bytes");
    }
    BlockRecord record{fileOffset, static_cast<uint16_t>(length)};
    uint8_t recordBytes[BLOCK_RECORD_SIZE];
    record.encodeTo(recordBytes);
    Status s = files_->write(DictionaryFile::Data, fileOffset, compressed.data(), length);
    if (s.isOk()) {
      s = files_->write(DictionaryFile::Index, BlockRecord::fileOffset(block), recordBytes,
                        BLOCK_RECORD_SIZE);
    }
    if (!s.isOk()) {
      emptyCache();
      return s;
    }
    if (position == bytes.size()) break;
    const uint64_t next = static_cast<uint64_t>(fileOffset) + length;
    if (next > UINT32_MAX || block + 1 >= BLOCK_SLOTS) {
      emptyCache();
      return Status::invalidArgument("the meaning does not fit in " +
                                     files_->name(DictionaryFile::Data));
    }
    fileOffset = static_cast<uint32_t>(next);
    ++block;
    cacheBlock_ = static_cast<uint16_t>(block);
    cacheLength_ = 0;
  }
  newLastBlock = static_cast<uint16_t>(block);
  return Status::ok();
}

Status Dictionary::appendWordText(std::string_view bytes, uint32_t& offset) {
  uint64_t end = 0;
  if (Status s = files_->size(DictionaryFile::Word, end); !s.isOk()) return s;
  if (end + bytes.size() > UINT32_MAX) {
    return Status::invalidArgument(files_->name(DictionaryFile::Word) + " cannot grow past 4 GiB");
  }
  offset = static_cast<uint32_t>(end);
  return files_->write(DictionaryFile::Word, offset, bytes.data(), bytes.size());
}

Status Dictionary::writeRecordBytes(uint32_t first, const std::vector<uint8_t>& bytes) {
  return files_->write(DictionaryFile::Index, WordRecord::fileOffset(first), bytes.data(),
                       bytes.size());
}

Status Dictionary::writeHeader() {
  uint8_t bytes[HEADER_SIZE];
  header_.encodeTo(bytes);
  return files_->write(DictionaryFile::Index, 0, bytes, HEADER_SIZE);
}

Status Dictionary::refuseChange() const {
  if (!isOpen_) return Status::ioError("cannot change the dictionary: it is not open");
  if (!files_->isReadOnly()) return Status::ok();
  return Status::readOnly("cannot change " + files_->name(DictionaryFile::Index) +
                          ": the dictionary is open read-only");
}

DictionaryHeader Dictionary::beginChange() {
  ++state_;  // passes that read the state before fail from here on
  files_->begin();
  return header_;
}

EditStatus Dictionary::refuseEdit() const {
  if (Status s = refuseChange(); !s.isOk()) return {EditResult::ReadOnly, s};
  return EditStatus::ok();
}

EditStatus Dictionary::refuseEdit(uint32_t index) const {
  if (EditStatus s = refuseEdit(); !s.isOk()) return s;
  if (index < header_.wordCount) return EditStatus::ok();
  return {EditResult::NoSuchEntry,
          Status::notFound("entry " + std::to_string(index) + " does not exist")};
}

Status Dictionary::finishChange(const Status& result, const DictionaryHeader& before,
                                DictionaryFile* failed) {
  Status outcome = result;
  if (outcome.isOk()) {
    outcome = files_->commit(failed);
    if (outcome.isOk()) return outcome;
  } else {
    files_->abandon();
  }
  // Nothing of the change reached the files: neither may it stay in memory.
  header_ = before;
  emptyCache();
  if (retainedBlocks_) retainedBlocks_->clear();
  return outcome;
}

EditStatus Dictionary::finishEdit(EditStatus result, const DictionaryHeader& before) {
  DictionaryFile failed = DictionaryFile::Index;
  Status committed = finishChange(result.status(), before, &failed);
  if (committed.isOk() || !result.isOk()) return result;
  switch (failed) {
    case DictionaryFile::Word:
      return {EditResult::WordWriteFailed, committed};
    case DictionaryFile::Data:
      return {EditResult::DataWriteFailed, committed};
    case DictionaryFile::Index:
      break;
  }
  return {EditResult::IndexWriteFailed, committed};
}

// ---- Operations ----

// addEntry, modifyMeaning, modifyWord and deleteEntry run these steps in a transaction and
// keep the full-text index in step (dictionary_changes.cc).

namespace {

// The refusals of the entry changes, before anything is written.
EditStatus refused(EditResult edit, std::string message) {
  return {edit, Status::invalidArgument(std::move(message))};
}

EditStatus headwordRefusal(std::u16string_view headword) {
  if (headword.empty()) return refused(EditResult::EmptyWord, "the headword is empty");
  if (utf8EncodedLength(headword) > MAX_WORD_BYTES) {
    return refused(EditResult::WordTooLong,
                   "the headword is longer than " + std::to_string(MAX_WORD_BYTES) + " bytes");
  }
  return EditStatus::ok();
}

EditStatus meaningRefusal(std::u16string_view meaning) {
  if (utf8EncodedLength(meaning) > MAX_MEANING_BYTES) {
    return refused(EditResult::MeaningTooLong,
                   "the meaning is longer than " + std::to_string(MAX_MEANING_BYTES) + " bytes");
  }
  return EditStatus::ok();
}

EditStatus wordExists(std::u16string_view headword) {
  return refused(EditResult::WordExists,
                 "\"" + toUtf8(headword) + "\" is already in the dictionary");
}

}  // namespace

EditStatus Dictionary::addEntrySteps(std::u16string_view headword, std::u16string_view meaning) {
  headword = upToNul(headword);
  meaning = upToNul(meaning);
  if (EditStatus s = refuseEdit(); !s.isOk()) return s;
  if (headword.empty()) return headwordRefusal(headword);
  if (header_.wordCount == UINT32_MAX) {
    return refused(EditResult::DictionaryFull, "the dictionary is full");
  }

  uint32_t position = 0;
  if (header_.wordCount != 0) {
    uint32_t nearest = 0;
    int c = 0;
    if (Status s = findWord(headword, nearest, c); !s.isOk()) {
      return {EditResult::SearchFailed, s};
    }
    if (c == 0) return wordExists(headword);
    position = nearest + (c > 0 ? 1 : 0);
  }
  if (EditStatus s = headwordRefusal(headword); !s.isOk()) return s;
  if (EditStatus s = meaningRefusal(meaning); !s.isOk()) return s;

  const std::string wordBytes = utf8Encode(headword);
  const std::string meaningBytes = utf8Encode(meaning);
  // Worked out before anything is written, so a meaning that needs a block past the table's
  // last slot is refused with nothing written.
  MeaningPlan plan;
  if (EditStatus s = planMeaning(static_cast<uint32_t>(meaningBytes.size()), plan); !s.isOk()) {
    return s;
  }

  WordRecord record;
  if (Status s = appendWordText(wordBytes, record.wordOffset); !s.isOk()) {
    return {EditResult::WordWriteFailed, s};
  }
  uint16_t newLastBlock = 0;
  if (Status s = appendMeaning(plan, meaningBytes, newLastBlock); !s.isOk()) {
    return {EditResult::DataWriteFailed, s};
  }
  record.wordLength = static_cast<uint8_t>(wordBytes.size());
  placeMeaning(plan, meaningBytes, record);

  std::vector<uint8_t> tail;
  if (Status s = readRecordBytes(position, header_.wordCount - position, tail); !s.isOk()) {
    return {EditResult::IndexWriteFailed, s};
  }
  std::vector<uint8_t> out(WORD_RECORD_SIZE + tail.size());
  record.encodeTo(out.data());
  std::copy(tail.begin(), tail.end(), out.begin() + WORD_RECORD_SIZE);
  if (Status s = writeRecordBytes(position, out); !s.isOk()) {
    return {EditResult::IndexWriteFailed, s};
  }

  header_.maxWordChars = std::max(header_.maxWordChars, static_cast<uint32_t>(headword.size()));
  header_.maxMeaningChars =
      std::max(header_.maxMeaningChars, static_cast<uint32_t>(meaning.size()));
  header_.lastBlock = newLastBlock;
  header_.wordCount += 1;
  if (Status s = writeHeader(); !s.isOk()) return {EditResult::HeaderWriteFailed, s};
  return EditStatus::ok();
}

EditStatus Dictionary::modifyMeaningSteps(uint32_t index, std::u16string_view meaning) {
  meaning = upToNul(meaning);
  if (EditStatus s = refuseEdit(index); !s.isOk()) return s;
  if (EditStatus s = meaningRefusal(meaning); !s.isOk()) return s;
  WordRecord record;
  if (Status s = readRecord(index, record); !s.isOk()) {
    return {EditResult::RecordReadFailed, s};
  }

  const std::string meaningBytes = utf8Encode(meaning);
  MeaningPlan plan;
  if (EditStatus s = planMeaning(static_cast<uint32_t>(meaningBytes.size()), plan); !s.isOk()) {
    return s;
  }
  uint16_t newLastBlock = 0;
  if (Status s = appendMeaning(plan, meaningBytes, newLastBlock); !s.isOk()) {
    return {EditResult::DataWriteFailed, s};
  }
  placeMeaning(plan, meaningBytes, record);
  std::vector<uint8_t> bytes(WORD_RECORD_SIZE);
  record.encodeTo(bytes.data());
  if (Status s = writeRecordBytes(index, bytes); !s.isOk()) {
    return {EditResult::IndexWriteFailed, s};
  }

  header_.maxMeaningChars =
      std::max(header_.maxMeaningChars, static_cast<uint32_t>(meaning.size()));
  header_.lastBlock = std::max(header_.lastBlock, newLastBlock);
  if (Status s = writeHeader(); !s.isOk()) return {EditResult::HeaderWriteFailed, s};
  return EditStatus::ok();
}

EditStatus Dictionary::modifyWordSteps(uint32_t& index, std::u16string_view headword) {
  headword = upToNul(headword);
  if (EditStatus s = refuseEdit(index); !s.isOk()) return s;
  if (EditStatus s = headwordRefusal(headword); !s.isOk()) return s;
  uint32_t nearest = 0;
  int c = 0;
  if (Status s = findWord(headword, nearest, c); !s.isOk()) {
    return {EditResult::SearchFailed, s};
  }
  if (c == 0) return wordExists(headword);
  WordRecord record;
  if (Status s = readRecord(index, record); !s.isOk()) {
    return {EditResult::RecordReadFailed, s};
  }

  const std::string wordBytes = utf8Encode(headword);
  if (Status s = appendWordText(wordBytes, record.wordOffset); !s.isOk()) {
    return {EditResult::WordWriteFailed, s};
  }
  record.wordLength = static_cast<uint8_t>(wordBytes.size());

  // p: the insertion point in the table that still holds the old record.
  const uint32_t p = nearest + (c > 0 ? 1 : 0);
  std::vector<uint8_t> moving;
  std::vector<uint8_t> out;
  uint32_t firstSlot = 0;
  uint32_t newSlot = 0;
  if (p <= index) {
    if (Status s = readRecordBytes(p, index - p, moving); !s.isOk()) {
      return {EditResult::RecordReadFailed, s};
    }
    out.resize(WORD_RECORD_SIZE);
    record.encodeTo(out.data());
    out.insert(out.end(), moving.begin(), moving.end());
    firstSlot = p;
    newSlot = p;
  } else {
    if (Status s = readRecordBytes(index + 1, p - 1 - index, moving); !s.isOk()) {
      return {EditResult::RecordReadFailed, s};
    }
    out = moving;
    out.resize(moving.size() + WORD_RECORD_SIZE);
    record.encodeTo(out.data() + moving.size());
    firstSlot = index;
    newSlot = p - 1;
  }
  if (Status s = writeRecordBytes(firstSlot, out); !s.isOk()) {
    return {EditResult::IndexWriteFailed, s};
  }

  if (headword.size() > header_.maxWordChars) {
    header_.maxWordChars = static_cast<uint32_t>(headword.size());
    if (Status s = writeHeader(); !s.isOk()) return {EditResult::HeaderWriteFailed, s};
  }
  index = newSlot;
  return EditStatus::ok();
}

EditStatus Dictionary::deleteEntrySteps(uint32_t index) {
  if (EditStatus s = refuseEdit(index); !s.isOk()) return s;
  // Every step changes the index file: a failure is IndexWriteFailed.
  const uint32_t count = header_.wordCount;
  Status s;
  if (index != count - 1) {
    std::vector<uint8_t> tail;
    s = readRecordBytes(index + 1, count - 1 - index, tail);
    if (s.isOk()) s = writeRecordBytes(index, tail);
  }
  if (s.isOk()) s = files_->truncate(DictionaryFile::Index, WordRecord::fileOffset(count - 1));
  if (s.isOk()) {
    header_.wordCount = count - 1;
    s = writeHeader();
  }
  if (!s.isOk()) return {EditResult::IndexWriteFailed, s};
  return EditStatus::ok();
}

namespace {

template <size_t N>
void storeText(std::array<char16_t, N>& field, std::u16string_view text) {
  const size_t n = std::min(text.size(), N - 1);
  std::copy(text.begin(), text.begin() + n, field.begin());
  std::fill(field.begin() + n, field.end(), u'\0');
}

}  // namespace

Status Dictionary::setTitle(std::u16string_view text) {
  const Hold hold(mutex_);
  if (Status s = refuseChange(); !s.isOk()) return s;
  const DictionaryHeader before = beginChange();
  storeText(header_.title, upToNul(text));
  return finishChange(writeHeader(), before);
}

Status Dictionary::setDescription(std::u16string_view text) {
  const Hold hold(mutex_);
  if (Status s = refuseChange(); !s.isOk()) return s;
  const DictionaryHeader before = beginChange();
  storeText(header_.description, upToNul(text));
  return finishChange(writeHeader(), before);
}

}  // namespace lexora
