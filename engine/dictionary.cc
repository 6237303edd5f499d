#include "engine/dictionary.h"

#include <limits.h>

#include <algorithm>
#include <cstring>

#include "engine/block_inflater.h"
#include "engine/block_store.h"
#include "engine/collation.h"
#include "engine/dictionary_files.h"
#include "engine/full_text_index.h"
#include "engine/meaning_gather.h"
#include "util/utf8_codec.h"

namespace lexora {

Dictionary::Dictionary()
    : files_(std::make_unique<DictionaryFiles>()), inflater_(std::make_unique<BlockInflater>()) {}

Dictionary::Dictionary(FileSystem& fileSystem) : Dictionary() { files_->setFileSystem(fileSystem); }

Dictionary::~Dictionary() { closeDictionary(); }

// ---- Opening and closing ----

Status Dictionary::openDictionary(const std::string& dataFileName) {
  const Hold hold(mutex_);
  closeDictionary();
  ++state_;
  const FileSetNames names = fileSetNames(dataFileName);
  for (const std::string* name : {&names.dataFile, &names.wordFile, &names.indexFile}) {
    if (name->size() + 1 > PATH_MAX) {
      return Status::invalidArgument("cannot open " + *name +
                                     ": the name is longer than the path limit");
    }
  }
  cacheBuffer_.assign(CACHE_SIZE, 0);
  uint8_t headerBytes[HEADER_SIZE];
  Status s = files_->open(names);
  if (s.isOk() && !files_->read(DictionaryFile::Index, 0, headerBytes, HEADER_SIZE).isOk()) {
    s = Status::corruption("cannot read the header of " + names.indexFile +
                           ": the file is shorter than its 846-byte header or unreadable");
  }
  if (s.isOk()) {
    header_ = DictionaryHeader::decodeFrom(headerBytes);
    s = checkHeader();
  }
  if (!s.isOk()) {
    files_->close();
    std::vector<uint8_t>().swap(cacheBuffer_);
    return s;
  }
  dataFileName_ = dataFileName;
  lastReadIndex_ = 0;
  emptyCache();
  isOpen_ = true;
  return Status::ok();
}

void Dictionary::closeDictionary() {
  const Hold hold(mutex_);
  if (!isOpen_ && !files_->isOpen()) return;
  ++state_;
  std::vector<uint8_t>().swap(cacheBuffer_);
  emptyCache();
  if (retainedBlocks_) retainedBlocks_->clear();
  closeFullText();
  files_->close();
  isOpen_ = false;
}

Status Dictionary::checkHeader() {
  uint64_t indexSize = 0;
  uint64_t dataSize = 0;
  if (Status s = files_->size(DictionaryFile::Index, indexSize); !s.isOk()) return s;
  if (Status s = files_->size(DictionaryFile::Data, dataSize); !s.isOk()) return s;
  const std::string& indexName = files_->name(DictionaryFile::Index);
  const std::string damaged = indexName + " is damaged: ";
  const uint32_t last = header_.lastBlock;
  if (last >= BLOCK_SLOTS) {
    return Status::corruption(damaged + "its header names block " + std::to_string(last) +
                              " as the last one, past the block table's last slot " +
                              std::to_string(BLOCK_SLOTS - 1));
  }
  const uint64_t tableEnd = BlockRecord::fileOffset(last) + BLOCK_RECORD_SIZE;
  if (tableEnd > indexSize) {
    return Status::corruption(damaged + "its header counts " + std::to_string(last + 1) +
                              " blocks, but the file ends before their block table does");
  }
  if (header_.wordCount > 0) {
    const uint64_t tableNeeds = WordRecord::fileOffset(header_.wordCount);
    if (tableNeeds > indexSize) {
      const uint64_t held =
          indexSize <= WORD_TABLE_OFFSET ? 0 : (indexSize - WORD_TABLE_OFFSET) / WORD_RECORD_SIZE;
      return Status::corruption(damaged + "its header counts " + std::to_string(header_.wordCount) +
                                " words, but the file holds only " + std::to_string(held));
    }
  }
  uint8_t bytes[BLOCK_RECORD_SIZE];
  if (Status s = files_->read(DictionaryFile::Index, BlockRecord::fileOffset(last), bytes,
                              BLOCK_RECORD_SIZE);
      !s.isOk()) {
    return s;
  }
  const BlockRecord record = BlockRecord::decodeFrom(bytes);
  if (uint64_t{record.offset} + record.length > dataSize) {
    return Status::corruption(damaged + "its last block (" + std::to_string(last) +
                              ") lies at bytes " + std::to_string(record.offset) + " to " +
                              std::to_string(uint64_t{record.offset} + record.length) +
                              ", beyond the end of " + files_->name(DictionaryFile::Data) + " (" +
                              std::to_string(dataSize) + " bytes)");
  }
  return Status::ok();
}

// ---- Getters ----

bool Dictionary::isReadOnly() const {
  const Hold hold(mutex_);
  return isOpen_ && files_->isReadOnly();
}
uint32_t Dictionary::wordCount() const {
  const Hold hold(mutex_);
  return isOpen_ ? header_.wordCount : 0;
}
uint32_t Dictionary::maxWordChars() const {
  const Hold hold(mutex_);
  return isOpen_ ? header_.maxWordChars : 0;
}
uint32_t Dictionary::maxMeaningChars() const {
  const Hold hold(mutex_);
  return isOpen_ ? header_.maxMeaningChars : 0;
}
std::u16string Dictionary::title() const {
  const Hold hold(mutex_);
  return isOpen_ ? header_.titleText() : u"";
}
std::u16string Dictionary::description() const {
  const Hold hold(mutex_);
  return isOpen_ ? header_.descriptionText() : u"";
}
uint32_t Dictionary::collation() const {
  const Hold hold(mutex_);
  return isOpen_ ? header_.collation : kLatin1;
}
uint32_t Dictionary::nodeData() const {
  const Hold hold(mutex_);
  return isOpen_ ? header_.nodeData : 0;
}
std::string Dictionary::openNotice() const {
  const Hold hold(mutex_);
  return files_->notice();
}
std::string Dictionary::dataFileName() const {
  const Hold hold(mutex_);
  return dataFileName_;
}
uint64_t Dictionary::state() const {
  const Hold hold(mutex_);
  return state_;
}
uint32_t Dictionary::lastReadIndex() const {
  const Hold hold(mutex_);
  const uint32_t count = wordCount();
  if (count == 0) return 0;
  return std::min(lastReadIndex_, count - 1);
}

// ---- Records, headwords and blocks ----

Status Dictionary::checkState(uint64_t state) const {
  if (isOpen_ && state == state_) return Status::ok();
  return Status::busy(dataFileName_ + " changed while it was read");
}

Status Dictionary::readRecord(uint32_t index, WordRecord& record) {
  if (!isOpen_ || index >= header_.wordCount) {
    return Status::notFound("entry " + std::to_string(index) + " does not exist");
  }
  uint8_t bytes[WORD_RECORD_SIZE];
  if (Status s = files_->read(DictionaryFile::Index, WordRecord::fileOffset(index), bytes,
                              WORD_RECORD_SIZE);
      !s.isOk()) {
    return s;
  }
  record = WordRecord::decodeFrom(bytes);
  return Status::ok();
}

Status Dictionary::readRecordBytes(uint32_t first, uint32_t count, std::vector<uint8_t>& bytes) {
  bytes.clear();
  if (count == 0) return Status::ok();
  // Sized only once the records are known to exist (the header was checked against the file).
  if (!isOpen_ || first >= header_.wordCount || count > header_.wordCount - first) {
    return Status::notFound("entries " + std::to_string(first) + " to " +
                            std::to_string(uint64_t{first} + count - 1) + " do not exist");
  }
  bytes.resize(static_cast<size_t>(count) * WORD_RECORD_SIZE);
  return files_->read(DictionaryFile::Index, WordRecord::fileOffset(first), bytes.data(),
                      bytes.size());
}

Status Dictionary::readHeadword(uint32_t index, std::u16string& word) {
  WordRecord record;
  if (Status s = readRecord(index, record); !s.isOk()) return s;
  uint8_t bytes[MAX_WORD_BYTES];
  if (Status s = files_->read(DictionaryFile::Word, record.wordOffset, bytes, record.wordLength);
      !s.isOk()) {
    return s;
  }
  utf8DecodeInto(bytes, record.wordLength, word);  // unreadable: an empty string
  return Status::ok();
}

Status Dictionary::readBlockRecord(uint32_t block, BlockRecord& record) {
  // Only blocks 0 ... lastBlock exist, and the table has no slot past 1022.
  if (!isOpen_ || block > header_.lastBlock || block >= BLOCK_SLOTS) {
    return Status::corruption("block " + std::to_string(block) + " does not exist in " +
                              files_->name(DictionaryFile::Index));
  }
  uint8_t bytes[BLOCK_RECORD_SIZE];
  if (Status s = files_->read(DictionaryFile::Index, BlockRecord::fileOffset(block), bytes,
                              BLOCK_RECORD_SIZE);
      !s.isOk()) {
    return s;
  }
  record = BlockRecord::decodeFrom(bytes);
  return Status::ok();
}

void Dictionary::emptyCache() {
  cacheBlock_ = NO_BLOCK;
  prefixBlock_ = NO_BLOCK;
  cacheLength_ = 0;
}

void Dictionary::retainDecompressedBlocks(size_t maxBytes) {
  const Hold hold(mutex_);
  retainedBlocks_ = maxBytes > 0 ? std::make_unique<BlockStore>(maxBytes) : nullptr;
}

size_t Dictionary::retainedBlockCount() const {
  const Hold hold(mutex_);
  return retainedBlocks_ ? retainedBlocks_->blockCount() : 0;
}

Status Dictionary::readCompressed(uint32_t block, std::vector<uint8_t>& bytes, uint32_t& length) {
  BlockRecord record;
  if (Status s = readBlockRecord(block, record); !s.isOk()) return s;
  bytes.resize(std::max<size_t>(bytes.size(), record.length));
  if (Status s = files_->read(DictionaryFile::Data, record.offset, bytes.data(), record.length);
      !s.isOk()) {
    return s;
  }
  length = record.length;
  return Status::ok();
}

Status Dictionary::readCompressedBlock(uint32_t block, uint64_t state, std::vector<uint8_t>& bytes,
                                       uint32_t& length) {
  const Hold hold(mutex_);
  length = 0;
  if (Status s = checkState(state); !s.isOk()) return s;
  return readCompressed(block, bytes, length);
}

Status Dictionary::inflateFailed(uint32_t block) const {
  return Status::corruption("block " + std::to_string(block) + " of " +
                            files_->name(DictionaryFile::Data) + " does not decompress");
}

Status Dictionary::loadBlock(uint32_t block, uint32_t capacity) {
  emptyCache();
  capacity = std::min<uint32_t>(capacity, static_cast<uint32_t>(cacheBuffer_.size()));
  if (retainedBlocks_) {
    uint32_t length = 0;
    const uint8_t* kept = retainedBlocks_->find(block, length);
    if (kept != nullptr && length <= capacity) {
      std::memcpy(cacheBuffer_.data(), kept, length);
      cacheLength_ = length;
      cacheBlock_ = static_cast<uint16_t>(block);
      return Status::ok();
    }
  }
  uint32_t compressedLength = 0;
  if (Status s = readCompressed(block, compressed_, compressedLength); !s.isOk()) return s;
  uint32_t length = 0;
  if (!inflater_->inflateWhole(compressed_.data(), compressedLength, cacheBuffer_.data(), capacity,
                               length)) {
    return inflateFailed(block);
  }
  cacheLength_ = length;
  cacheBlock_ = static_cast<uint16_t>(block);
  return Status::ok();
}

Status Dictionary::blockContent(uint32_t block, uint32_t needEnd, const uint8_t*& content,
                                uint32_t& length) {
  // Whatever put a whole block into the buffer (a read, or the writer filling its last block)
  // has overwritten any start that was there.
  if (cacheBlock_ != NO_BLOCK) prefixBlock_ = NO_BLOCK;
  if (block == cacheBlock_ ||
      (cacheBlock_ == NO_BLOCK && block == prefixBlock_ && needEnd <= cacheLength_)) {
    content = cacheBuffer_.data();
    length = cacheLength_;
    return Status::ok();
  }
  if (retainedBlocks_) {
    content = retainedBlocks_->find(block, length);
    if (content != nullptr) return Status::ok();
    // Inflated straight into the block's own slot: no copy through the cache.
    if (uint8_t* slot = retainedBlocks_->fill(block)) {
      uint32_t compressedLength = 0;
      if (Status s = readCompressed(block, compressed_, compressedLength); !s.isOk()) return s;
      if (!inflater_->inflateWhole(compressed_.data(), compressedLength, slot, CACHE_SIZE,
                                   length)) {
        return inflateFailed(block);
      }
      retainedBlocks_->keep(block, length);
      content = slot;
      return Status::ok();
    }
  }
  // Only a block's first read inflates its start: reading on into a block whose start is
  // cached (the next entries, in turn) inflates the whole block once, not ever longer starts.
  const bool startCached = cacheBlock_ == NO_BLOCK && block == prefixBlock_;
  if (needEnd <= BlockInflater::kPrefixLimit && !startCached) {
    const uint32_t wanted = BlockInflater::prefixWanted(needEnd, CACHE_SIZE);
    emptyCache();
    uint32_t compressedLength = 0;
    if (Status s = readCompressed(block, compressed_, compressedLength); !s.isOk()) return s;
    bool complete = false;
    if (!inflater_->inflatePrefix(compressed_.data(), compressedLength, cacheBuffer_.data(), wanted,
                                  length, complete)) {
      return inflateFailed(block);
    }
    // A stream that ended within the bytes asked for is the whole block.
    cacheLength_ = length;
    if (complete) {
      cacheBlock_ = static_cast<uint16_t>(block);
    } else {
      prefixBlock_ = static_cast<uint16_t>(block);
    }
    content = cacheBuffer_.data();
    return Status::ok();
  }
  if (Status s = loadBlock(block, CACHE_SIZE); !s.isOk()) return s;
  content = cacheBuffer_.data();
  length = cacheLength_;
  return Status::ok();
}

// ---- Reading ----

Status Dictionary::readWords(uint32_t first, uint32_t count, std::vector<std::u16string>& words) {
  const Hold hold(mutex_);
  words.clear();
  if (!isOpen_ || header_.wordCount == 0 || first > header_.wordCount - 1 || count == 0) {
    return Status::notFound("no headwords from " + std::to_string(first) + " on");
  }
  const uint64_t last =
      std::min<uint64_t>(static_cast<uint64_t>(first) + count - 1, header_.wordCount - 1);
  const uint32_t n = static_cast<uint32_t>(last - first + 1);
  // Grown as the headwords are read, never sized from the count alone.
  std::u16string word;
  for (uint32_t i = 0; i < n; ++i) {
    if (Status s = readHeadword(first + i, word); !s.isOk()) {
      words.clear();
      return s;
    }
    words.push_back(std::move(word));
  }
  return Status::ok();
}

Status Dictionary::findWord(std::u16string_view key, uint32_t& nearest, int& sign,
                            uint32_t* listPosition) {
  const Hold hold(mutex_);
  if (!isOpen_ || header_.wordCount == 0) return Status::notFound("the dictionary is empty");
  const uint32_t collation = header_.collation;
  std::u16string word;
  uint32_t lo = 0;
  uint32_t hi = header_.wordCount - 1;
  uint32_t mid = hi / 2;
  int c = 0;
  for (;;) {
    if (Status s = readHeadword(mid, word); !s.isOk()) return s;
    c = compareWords(collation, key, word, CompareForm::Full);
    if (c == 0 || lo == hi) break;
    if (c < 0) {
      hi = mid;
      if (mid == lo + 1) hi = lo;
    } else {
      lo = mid;
      if (hi == mid + 1) lo = hi;
    }
    mid = lo + (hi - lo) / 2;
  }
  nearest = mid;
  sign = c < 0 ? -1 : c > 0 ? 1 : 0;
  if (listPosition != nullptr) {
    *listPosition = nearest;
    if (c != 0 && nearest < header_.wordCount - 1 &&
        compareWords(collation, key, word, CompareForm::Prefix) != 0) {
      if (Status s = readHeadword(nearest + 1, word); !s.isOk()) return s;
      if (compareWords(collation, key, word, CompareForm::Prefix) == 0) {
        *listPosition = nearest + 1;
      }
    }
  }
  return Status::ok();
}

Status Dictionary::readMeaning(uint32_t index, std::u16string& meaning) {
  const Hold hold(mutex_);
  meaning.clear();
  WordRecord record;
  if (Status s = readRecord(index, record); !s.isOk()) return s;
  const auto content = [this](uint32_t block, uint32_t needEnd, const uint8_t*& bytes,
                              uint32_t& length) {
    return blockContent(block, needEnd, bytes, length);
  };
  const uint8_t* text = nullptr;
  if (Status s = gatherMeaning(index, record, header_.lastBlock, content, meaningBytes_, text);
      !s.isOk()) {
    return s;
  }
  lastReadIndex_ = index;
  return decodeMeaning(index, record, text, meaning);
}

}  // namespace lexora
