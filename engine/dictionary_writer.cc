// The writer's half of Dictionary: text is appended (headwords to the word file, meanings into
// the last block of the data file), the index file is changed in place. Every operation
// writes new text first, then word records, then the header, inside one transaction that
// commits them all or none (dictionary_files.h).

#include <limits.h>
#include <zlib.h>

#include <algorithm>
#include <cstring>

#include "engine/collation.h"
#include "engine/dictionary.h"

#include "engine/block_store.h"
#include "engine/dictionary_files.h"
#include "util/utf8_codec.h"

namespace lexora {
namespace {

constexpr int kCompressionLevel = 9;
constexpr uLong kEmptyStreamCapacity = 24;

// Texts handed to the writer end at their first NUL, as stored texts do.
std::u16string_view upToNul(std::u16string_view text) {
  const size_t nul = text.find(u'\0');
  return nul == std::u16string_view::npos ? text : text.substr(0, nul);
}

}  // namespace

// ---- Shared steps ----

EditResult Dictionary::planFor(const std::string& meaningBytes, MeaningPlan& plan) {
  switch (planMeaning(static_cast<uint32_t>(meaningBytes.size()), plan)) {
    case PlanResult::Ok: return EditResult::Ok;
    case PlanResult::ReadFailed: return EditResult::DataWriteFailed;
    case PlanResult::NoBlockSlot: return EditResult::MeaningTooLong;
  }
  return EditResult::DataWriteFailed;
}

void Dictionary::placeMeaning(const MeaningPlan& plan, const std::string& meaningBytes,
                              WordRecord& record) {
  record.block = plan.startBlock;
  record.offset = plan.startOffset;
  record.meaningLength = static_cast<uint16_t>(meaningBytes.size());
}

Dictionary::PlanResult Dictionary::planMeaning(uint32_t byteCount, MeaningPlan& plan) {
  const uint32_t b = header_.lastBlock;
  BlockRecord record;
  if (!readBlockRecord(b, record)) return PlanResult::ReadFailed;
  if (cacheBlock_ != b && !loadBlock(b, BLOCK_CAPACITY)) return PlanResult::ReadFailed;

  plan = MeaningPlan{};
  if (cacheLength_ < BLOCK_CAPACITY || byteCount == 0) {
    // An empty meaning never opens a block: it is recorded at the end of the last one.
    plan.startBlock = static_cast<uint16_t>(b);
    plan.startOffset = static_cast<uint16_t>(cacheLength_);
    plan.blockFileOffset = record.offset;
  } else {
    const uint64_t next = static_cast<uint64_t>(record.offset) + record.length;
    if (next > UINT32_MAX) {
      lastError_ = files_->name(DictionaryFile::Data) + " cannot grow past 4 GiB";
      return PlanResult::ReadFailed;
    }
    plan.startsNewBlock = true;
    plan.startBlock = static_cast<uint16_t>(b + 1);
    plan.startOffset = 0;
    plan.blockFileOffset = static_cast<uint32_t>(next);
  }
  uint32_t last = plan.startBlock;
  if (byteCount > 0) last += (plan.startOffset + byteCount - 1) / BLOCK_CAPACITY;
  if (last >= BLOCK_SLOTS) {
    lastError_ = "the block table of " + files_->name(DictionaryFile::Index) + " is full";
    return PlanResult::NoBlockSlot;
  }
  plan.lastBlock = static_cast<uint16_t>(last);
  return PlanResult::Ok;
}

bool Dictionary::appendMeaning(const MeaningPlan& plan, std::string_view bytes,
                               uint16_t& newLastBlock) {
  newLastBlock = header_.lastBlock;
  if (bytes.empty()) return true;
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
                  kCompressionLevel) != Z_OK) {
      lastError_ = "block " + std::to_string(block) + " does not compress into " +
                   std::to_string(BLOCK_CAPACITY) + " bytes";
      emptyCache();
      return false;
    }
    BlockRecord record{fileOffset, static_cast<uint16_t>(length)};
    uint8_t recordBytes[BLOCK_RECORD_SIZE];
    record.encodeTo(recordBytes);
    if (!files_->write(DictionaryFile::Data, fileOffset, compressed.data(), length) ||
        !files_->write(DictionaryFile::Index, BlockRecord::fileOffset(block), recordBytes,
                       BLOCK_RECORD_SIZE)) {
      emptyCache();
      return false;
    }
    if (position == bytes.size()) break;
    const uint64_t next = static_cast<uint64_t>(fileOffset) + length;
    if (next > UINT32_MAX || block + 1 >= BLOCK_SLOTS) {
      emptyCache();
      return false;
    }
    fileOffset = static_cast<uint32_t>(next);
    ++block;
    cacheBlock_ = static_cast<uint16_t>(block);
    cacheLength_ = 0;
  }
  newLastBlock = static_cast<uint16_t>(block);
  return true;
}

bool Dictionary::appendWordText(std::string_view bytes, uint32_t& offset) {
  uint64_t end = 0;
  if (!files_->size(DictionaryFile::Word, end)) return false;
  if (end + bytes.size() > UINT32_MAX) {
    lastError_ = files_->name(DictionaryFile::Word) + " cannot grow past 4 GiB";
    return false;
  }
  offset = static_cast<uint32_t>(end);
  return files_->write(DictionaryFile::Word, offset, bytes.data(), bytes.size());
}

bool Dictionary::writeRecordBytes(uint32_t first, const std::vector<uint8_t>& bytes) {
  return files_->write(DictionaryFile::Index, WordRecord::fileOffset(first), bytes.data(),
                       bytes.size());
}

bool Dictionary::writeHeader() {
  uint8_t bytes[HEADER_SIZE];
  header_.encodeTo(bytes);
  return files_->write(DictionaryFile::Index, 0, bytes, HEADER_SIZE);
}

bool Dictionary::refuseReadOnly() {
  if (!files_->isReadOnly()) return false;
  lastError_ = "cannot change " + files_->name(DictionaryFile::Index) +
               ": the dictionary is open read-only";
  return true;
}

DictionaryHeader Dictionary::beginChange() {
  files_->begin();
  return header_;
}

EditResult Dictionary::finishChange(EditResult result, const DictionaryHeader& before) {
  if (result == EditResult::Ok) {
    DictionaryFile failed = DictionaryFile::Index;
    if (files_->commit(&failed)) return EditResult::Ok;
    switch (failed) {
      case DictionaryFile::Word: result = EditResult::WordWriteFailed; break;
      case DictionaryFile::Data: result = EditResult::DataWriteFailed; break;
      case DictionaryFile::Index: result = EditResult::IndexWriteFailed; break;
    }
  } else {
    files_->abandon();
  }
  // Nothing of the change reached the files: neither may it stay in memory.
  header_ = before;
  emptyCache();
  if (retainedBlocks_) retainedBlocks_->clear();
  return result;
}

// ---- Operations ----

EditResult Dictionary::addEntry(std::u16string_view headword, std::u16string_view meaning) {
  const DictionaryHeader before = beginChange();
  return finishChange(addEntrySteps(headword, meaning), before);
}

EditResult Dictionary::modifyMeaning(uint32_t index, std::u16string_view meaning) {
  const DictionaryHeader before = beginChange();
  return finishChange(modifyMeaningSteps(index, meaning), before);
}

EditResult Dictionary::modifyWord(uint32_t& index, std::u16string_view headword) {
  const DictionaryHeader before = beginChange();
  uint32_t moved = index;
  const EditResult result = finishChange(modifyWordSteps(moved, headword), before);
  if (result == EditResult::Ok) index = moved;
  return result;
}

bool Dictionary::deleteEntry(uint32_t index) {
  const DictionaryHeader before = beginChange();
  const bool deleted = deleteEntrySteps(index);
  return finishChange(deleted ? EditResult::Ok : EditResult::IndexWriteFailed, before) ==
         EditResult::Ok;
}

EditResult Dictionary::addEntrySteps(std::u16string_view headword, std::u16string_view meaning) {
  headword = upToNul(headword);
  meaning = upToNul(meaning);
  if (!isOpen_) {
    lastError_ = "the dictionary is not open";
    return EditResult::WordWriteFailed;
  }
  if (headword.empty()) return EditResult::EmptyWord;
  if (header_.wordCount == UINT32_MAX) return EditResult::IndexWriteFailed;

  uint32_t position = 0;
  if (header_.wordCount != 0) {
    uint32_t nearest = 0;
    int c = 0;
    if (!findWord(headword, nearest, c)) return EditResult::SearchFailed;
    if (c == 0) return EditResult::WordExists;
    position = nearest + (c > 0 ? 1 : 0);
  }
  if (utf8EncodedLength(headword) > MAX_WORD_BYTES) return EditResult::WordTooLong;
  if (utf8EncodedLength(meaning) > MAX_MEANING_BYTES) return EditResult::MeaningTooLong;

  const std::string wordBytes = utf8Encode(headword);
  const std::string meaningBytes = utf8Encode(meaning);
  // Worked out before anything is written, so a meaning that needs a block past the table's
  // last slot is refused with nothing written.
  MeaningPlan plan;
  if (const EditResult planned = planFor(meaningBytes, plan); planned != EditResult::Ok) {
    return planned;
  }

  WordRecord record;
  if (!appendWordText(wordBytes, record.wordOffset)) return EditResult::WordWriteFailed;
  uint16_t newLastBlock = 0;
  if (!appendMeaning(plan, meaningBytes, newLastBlock)) return EditResult::DataWriteFailed;
  record.wordLength = static_cast<uint8_t>(wordBytes.size());
  placeMeaning(plan, meaningBytes, record);

  std::vector<uint8_t> tail;
  if (!readRecordBytes(position, header_.wordCount - position, tail)) {
    return EditResult::IndexWriteFailed;
  }
  std::vector<uint8_t> out(WORD_RECORD_SIZE + tail.size());
  record.encodeTo(out.data());
  std::copy(tail.begin(), tail.end(), out.begin() + WORD_RECORD_SIZE);
  if (!writeRecordBytes(position, out)) return EditResult::IndexWriteFailed;

  header_.maxWordChars = std::max<uint32_t>(header_.maxWordChars, headword.size());
  header_.maxMeaningChars = std::max<uint32_t>(header_.maxMeaningChars, meaning.size());
  header_.lastBlock = newLastBlock;
  header_.wordCount += 1;
  if (!writeHeader()) return EditResult::HeaderWriteFailed;
  return EditResult::Ok;
}

EditResult Dictionary::modifyMeaningSteps(uint32_t index, std::u16string_view meaning) {
  meaning = upToNul(meaning);
  if (utf8EncodedLength(meaning) > MAX_MEANING_BYTES) return EditResult::MeaningTooLong;
  WordRecord record;
  if (!readRecord(index, record)) return EditResult::RecordReadFailed;

  const std::string meaningBytes = utf8Encode(meaning);
  MeaningPlan plan;
  if (const EditResult planned = planFor(meaningBytes, plan); planned != EditResult::Ok) {
    return planned;
  }
  uint16_t newLastBlock = 0;
  if (!appendMeaning(plan, meaningBytes, newLastBlock)) return EditResult::DataWriteFailed;
  placeMeaning(plan, meaningBytes, record);
  std::vector<uint8_t> bytes(WORD_RECORD_SIZE);
  record.encodeTo(bytes.data());
  if (!writeRecordBytes(index, bytes)) return EditResult::IndexWriteFailed;

  header_.maxMeaningChars = std::max<uint32_t>(header_.maxMeaningChars, meaning.size());
  header_.lastBlock = std::max(header_.lastBlock, newLastBlock);
  if (!writeHeader()) return EditResult::HeaderWriteFailed;
  return EditResult::Ok;
}

EditResult Dictionary::modifyWordSteps(uint32_t& index, std::u16string_view headword) {
  headword = upToNul(headword);
  if (headword.empty()) return EditResult::EmptyWord;
  if (utf8EncodedLength(headword) > MAX_WORD_BYTES) return EditResult::WordTooLong;
  uint32_t nearest = 0;
  int c = 0;
  if (!findWord(headword, nearest, c)) return EditResult::SearchFailed;
  if (c == 0) return EditResult::WordExists;
  WordRecord record;
  if (!readRecord(index, record)) return EditResult::RecordReadFailed;

  const std::string wordBytes = utf8Encode(headword);
  if (!appendWordText(wordBytes, record.wordOffset)) return EditResult::WordWriteFailed;
  record.wordLength = static_cast<uint8_t>(wordBytes.size());

  // p: the insertion point in the table that still holds the old record.
  const uint32_t p = nearest + (c > 0 ? 1 : 0);
  std::vector<uint8_t> moving;
  std::vector<uint8_t> out;
  uint32_t firstSlot = 0;
  uint32_t newSlot = 0;
  if (p <= index) {
    if (!readRecordBytes(p, index - p, moving)) return EditResult::RecordReadFailed;
    out.resize(WORD_RECORD_SIZE);
    record.encodeTo(out.data());
    out.insert(out.end(), moving.begin(), moving.end());
    firstSlot = p;
    newSlot = p;
  } else {
    if (!readRecordBytes(index + 1, p - 1 - index, moving)) return EditResult::RecordReadFailed;
    out = moving;
    out.resize(moving.size() + WORD_RECORD_SIZE);
    record.encodeTo(out.data() + moving.size());
    firstSlot = index;
    newSlot = p - 1;
  }
  if (!writeRecordBytes(firstSlot, out)) return EditResult::IndexWriteFailed;

  if (headword.size() > header_.maxWordChars) {
    header_.maxWordChars = static_cast<uint32_t>(headword.size());
    if (!writeHeader()) return EditResult::HeaderWriteFailed;
  }
  index = newSlot;
  return EditResult::Ok;
}

bool Dictionary::deleteEntrySteps(uint32_t index) {
  if (!isOpen_ || header_.wordCount == 0 || index > header_.wordCount - 1) return false;
  if (refuseReadOnly()) return false;
  const uint32_t count = header_.wordCount;
  if (index != count - 1) {
    std::vector<uint8_t> tail;
    if (!readRecordBytes(index + 1, count - 1 - index, tail)) return false;
    if (!writeRecordBytes(index, tail)) return false;
  }
  if (!files_->truncate(DictionaryFile::Index, WordRecord::fileOffset(count - 1))) return false;
  header_.wordCount = count - 1;
  return writeHeader();
}

bool Dictionary::createDictionary(const std::string& dataFileName, uint32_t collation) {
  closeDictionary();
  const FileSetNames names = fileSetNames(dataFileName);
  for (const std::string* name : {&names.dataFile, &names.wordFile, &names.indexFile}) {
    if (name->size() + 1 > PATH_MAX) {
      lastError_ = "cannot create " + *name + ": the name is longer than the path limit";
      return false;
    }
  }
  // Existing files of those names are replaced in one transaction, so a failure (or a crash)
  // leaves them as they were.
  if (!files_->openForReplace(names)) return false;
  files_->begin();
  const bool ok = createSteps(collation);
  const bool committed = ok ? files_->commit() : (files_->abandon(), false);
  files_->close();
  return committed && openDictionary(dataFileName);
}

bool Dictionary::createSteps(uint32_t collation) {
  header_ = DictionaryHeader{};
  std::memcpy(header_.signature.data(), "QUILLDAT", 8);
  header_.marker = 256;
  header_.collation = collation;

  for (DictionaryFile file : {DictionaryFile::Index, DictionaryFile::Word, DictionaryFile::Data}) {
    if (!files_->truncate(file, 0)) return false;
  }
  uint8_t stream[kEmptyStreamCapacity];
  uLongf streamLength = kEmptyStreamCapacity;
  const uint8_t nothing = 0;
  if (compress2(stream, &streamLength, &nothing, 0, kCompressionLevel) != Z_OK) {
    lastError_ = "cannot compress an empty block";
    return false;
  }
  if (!files_->write(DictionaryFile::Data, 0, stream, streamLength)) return false;
  uint8_t headerBytes[HEADER_SIZE];
  header_.encodeTo(headerBytes);
  if (!files_->write(DictionaryFile::Index, 0, headerBytes, HEADER_SIZE)) return false;
  uint8_t recordBytes[BLOCK_RECORD_SIZE];
  BlockRecord{0, static_cast<uint16_t>(streamLength)}.encodeTo(recordBytes);
  return files_->write(DictionaryFile::Index, BLOCK_TABLE_OFFSET, recordBytes, BLOCK_RECORD_SIZE);
}

namespace {

template <size_t N>
void storeText(std::array<char16_t, N>& field, std::u16string_view text) {
  const size_t n = std::min(text.size(), N - 1);
  std::copy(text.begin(), text.begin() + n, field.begin());
  std::fill(field.begin() + n, field.end(), u'\0');
}

}  // namespace

bool Dictionary::setTitle(std::u16string_view text) {
  if (!isOpen_ || refuseReadOnly()) return false;
  const DictionaryHeader before = beginChange();
  storeText(header_.title, upToNul(text));
  const EditResult written = writeHeader() ? EditResult::Ok : EditResult::HeaderWriteFailed;
  return finishChange(written, before) == EditResult::Ok;
}

bool Dictionary::setDescription(std::u16string_view text) {
  if (!isOpen_ || refuseReadOnly()) return false;
  const DictionaryHeader before = beginChange();
  storeText(header_.description, upToNul(text));
  const EditResult written = writeHeader() ? EditResult::Ok : EditResult::HeaderWriteFailed;
  return finishChange(written, before) == EditResult::Ok;
}

}  // namespace lexora
