#include "engine/dictionary_builder.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <thread>

#include "engine/collation.h"
#include "engine/dictionary_files.h"
#include "engine/file_format.h"
#include "util/utf8_codec.h"

namespace lexora {
namespace {

// The order under which headwords are stored; two headwords that are neither before nor after
// each other compare equal and cannot both be stored.
struct HeadwordLess {
  uint32_t collation;
  bool operator()(std::u16string_view a, std::u16string_view b) const {
    return compareWords(collation, a, b, CompareForm::Full) < 0;
  }
};

// compress2 at COMPRESSION_LEVEL, as the writer does. False when the text does not compress into
// BLOCK_CAPACITY bytes (the writer's output capacity) or zlib fails.
bool compressBlock(const uint8_t* text, size_t length, std::vector<uint8_t>& out) {
  uLongf outLength = compressBound(static_cast<uLong>(length));
  out.resize(outLength);
  if (compress2(out.data(), &outLength, text, static_cast<uLong>(length), COMPRESSION_LEVEL) !=
      Z_OK)
    return false;
  if (outLength > BLOCK_CAPACITY) return false;
  out.resize(outLength);
  return true;
}

// Texts end at their first NUL, as addEntry takes them.
std::u16string_view upToNul(std::u16string_view text) {
  const size_t nul = text.find(u'\0');
  return nul == std::u16string_view::npos ? text : text.substr(0, nul);
}

}  // namespace

DictionaryBuilder::DictionaryBuilder(uint32_t collation) : collation_(collation) {}

void DictionaryBuilder::setTitle(std::u16string_view text) {
  title_ = std::u16string(upToNul(text).substr(0, TITLE_UNITS - 1));
}

void DictionaryBuilder::setDescription(std::u16string_view text) {
  description_ = std::u16string(upToNul(text).substr(0, DESCRIPTION_UNITS - 1));
}

void DictionaryBuilder::add(std::u16string_view headword, std::u16string_view meaning) {
  headword = upToNul(headword);
  meaning = upToNul(meaning);
  Entry e;
  e.headword = std::u16string(headword);
  e.meaningBytes = utf8Encode(meaning);
  e.meaningUnits = static_cast<uint32_t>(meaning.size());
  entries_.push_back(std::move(e));
}

// Walks the entries in input order exactly as addEntry would meet them: an equal headword
// already stored first, then the two length limits, then the room in the block table.
// The set holds the accepted headwords, so each test costs O(log N).
void DictionaryBuilder::decideResults() {
  const size_t n = entries_.size();
  results_.assign(n, EditResult::Ok);
  startBlock_.assign(n, 0);
  startOffset_.assign(n, 0);
  std::set<std::u16string_view, HeadwordLess> stored(HeadwordLess{collation_});
  uint64_t s = 0;  // stream offset where the next meaning starts
  for (size_t i = 0; i < n; ++i) {
    const Entry& e = entries_[i];
    if (e.headword.empty()) {
      results_[i] = EditResult::EmptyWord;
      continue;
    }
    if (stored.count(e.headword) != 0) {
      results_[i] = EditResult::WordExists;
      continue;
    }
    if (utf8EncodedLength(e.headword) > MAX_WORD_BYTES) {
      results_[i] = EditResult::WordTooLong;
      continue;
    }
    const uint64_t length = e.meaningBytes.size();
    if (length > MAX_MEANING_BYTES) {
      results_[i] = EditResult::MeaningTooLong;
      continue;
    }
    if (length > 0) {
      // The last block the meaning touches must still have a slot in the block table.
      if ((s + length - 1) / BLOCK_CAPACITY >= BLOCK_SLOTS) {
        results_[i] = EditResult::MeaningTooLong;
        continue;
      }
      startBlock_[i] = static_cast<uint16_t>(s / BLOCK_CAPACITY);
      startOffset_[i] = static_cast<uint16_t>(s % BLOCK_CAPACITY);
    } else if (s > 0 && s % BLOCK_CAPACITY == 0) {
      // An empty meaning after an exactly full block stays at that block's end: it needs no
      // new block.
      startBlock_[i] = static_cast<uint16_t>(s / BLOCK_CAPACITY - 1);
      startOffset_[i] = static_cast<uint16_t>(BLOCK_CAPACITY);
    } else {
      startBlock_[i] = static_cast<uint16_t>(s / BLOCK_CAPACITY);
      startOffset_[i] = static_cast<uint16_t>(s % BLOCK_CAPACITY);
    }
    s += length;
    stored.insert(e.headword);
    ++accepted_;
  }
  streamLength_ = s;
}

Status DictionaryBuilder::finish(const std::string& dataFileName) {
  if (finished_) {
    return Status::invalidArgument("the dictionary was already written");
  }
  finished_ = true;
  decideResults();
  return writeFiles(dataFileName);
}

Status DictionaryBuilder::writeFiles(const std::string& dataFileName) {
  const FileSetNames names = fileSetNames(dataFileName);
  const size_t n = entries_.size();

  // The meaning stream and the block table. Block 0 exists even when the stream is empty.
  std::string stream;
  stream.reserve(streamLength_);
  for (size_t i = 0; i < n; ++i) {
    if (results_[i] == EditResult::Ok) stream += entries_[i].meaningBytes;
  }
  const uint32_t blockCount =
      stream.empty() ? 1 : static_cast<uint32_t>((stream.size() - 1) / BLOCK_CAPACITY + 1);
  std::vector<std::vector<uint8_t>> compressed(blockCount);
  std::vector<char> compressedOk(blockCount, 0);
  auto compressRange = [&](uint32_t first, uint32_t step) {
    for (uint32_t b = first; b < blockCount; b += step) {
      const size_t begin = static_cast<size_t>(b) * BLOCK_CAPACITY;
      const size_t length = std::min<size_t>(BLOCK_CAPACITY, stream.size() - begin);
      compressedOk[b] = compressBlock(reinterpret_cast<const uint8_t*>(stream.data()) + begin,
                                      length, compressed[b]);
    }
  };
  if (blockCount > 1) {
    std::thread helper(compressRange, 1, 2);
    compressRange(0, 2);
    helper.join();
  } else {
    compressRange(0, 1);
  }
  for (uint32_t b = 0; b < blockCount; ++b) {
    if (!compressedOk[b]) {
      return Status::ioError("block " + std::to_string(b) + " of " + names.dataFile +
                             " does not compress into " + std::to_string(BLOCK_CAPACITY) +
                             " bytes");
    }
  }

  // The header, as create + setTitle/setDescription + the adds leave it.
  DictionaryHeader header;
  std::memcpy(header.signature.data(), "QUILLDAT", 8);
  header.marker = 256;
  header.collation = collation_;
  header.lastBlock = static_cast<uint16_t>(blockCount - 1);
  header.wordCount = accepted_;
  std::copy(title_.begin(), title_.end(), header.title.begin());
  std::copy(description_.begin(), description_.end(), header.description.begin());

  // Word file in input order; word records sorted by headword.
  std::string words;
  std::vector<WordRecord> records(n);
  std::vector<uint32_t> order;
  order.reserve(accepted_);
  for (size_t i = 0; i < n; ++i) {
    if (results_[i] != EditResult::Ok) continue;
    const Entry& e = entries_[i];
    const std::string bytes = utf8Encode(e.headword);
    WordRecord& r = records[i];
    r.wordOffset = static_cast<uint32_t>(words.size());
    r.wordLength = static_cast<uint8_t>(bytes.size());
    r.reserved = 0;
    r.block = startBlock_[i];
    r.offset = startOffset_[i];
    r.meaningLength = static_cast<uint16_t>(e.meaningBytes.size());
    words += bytes;
    header.maxWordChars =
        std::max<uint32_t>(header.maxWordChars, static_cast<uint32_t>(e.headword.size()));
    header.maxMeaningChars = std::max(header.maxMeaningChars, e.meaningUnits);
    order.push_back(static_cast<uint32_t>(i));
  }
  const HeadwordLess less{collation_};
  std::stable_sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
    return less(entries_[a].headword, entries_[b].headword);
  });

  // Index file: header, block records 0 ... lastBlock, and with any word the zero-filled rest
  // of the block table followed by the word table.
  const size_t indexLength =
      accepted_ == 0 ? BLOCK_TABLE_OFFSET + BLOCK_RECORD_SIZE
                     : WORD_TABLE_OFFSET + static_cast<size_t>(WORD_RECORD_SIZE) * accepted_;
  std::vector<uint8_t> index(indexLength, 0);
  header.encodeTo(index.data());
  uint32_t dataOffset = 0;
  for (uint32_t b = 0; b < blockCount; ++b) {
    BlockRecord block;
    block.offset = dataOffset;
    block.length = static_cast<uint16_t>(compressed[b].size());
    block.encodeTo(index.data() + BlockRecord::fileOffset(b));
    dataOffset += block.length;
  }
  for (size_t slot = 0; slot < order.size(); ++slot) {
    records[order[slot]].encodeTo(index.data() +
                                  WordRecord::fileOffset(static_cast<uint32_t>(slot)));
  }

  // The old files (if any) are replaced in one transaction: a failure, or a crash half-way,
  // leaves them as they were.
  DictionaryFiles files;
  files.setFileSystem(*fs_);
  if (Status s = files.openForReplace(names); !s.isOk()) return s;
  files.begin();
  Status s;
  for (DictionaryFile file : {DictionaryFile::Index, DictionaryFile::Word, DictionaryFile::Data}) {
    if (s.isOk()) s = files.truncate(file, 0);
  }
  uint64_t at = 0;
  for (const auto& block : compressed) {
    if (s.isOk()) s = files.write(DictionaryFile::Data, at, block.data(), block.size());
    at += block.size();
  }
  if (s.isOk()) s = files.write(DictionaryFile::Word, 0, words.data(), words.size());
  if (s.isOk()) s = files.write(DictionaryFile::Index, 0, index.data(), index.size());
  if (!s.isOk()) {
    files.abandon();
    return s;
  }
  return files.commit();
}

}  // namespace lexora
