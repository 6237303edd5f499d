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

// Everything writeFiles puts into the three files, worked out in memory first.
struct DictionaryBuilder::Layout {
  std::vector<std::vector<uint8_t>> blocks;  // the compressed blocks of the data file
  DictionaryHeader header;
  std::string words;                // the word file
  std::vector<WordRecord> records;  // indexed like entries_
  std::vector<uint32_t> order;      // the accepted entries, sorted by headword
  std::vector<uint8_t> index;       // the index file
};

Status DictionaryBuilder::writeFiles(const std::string& dataFileName) {
  const FileSetNames names = fileSetNames(dataFileName);
  Layout layout;
  if (Status s = compressBlocks(names.dataFile, layout); !s.isOk()) return s;
  layOutHeader(layout);
  layOutWords(layout);
  layOutIndex(layout);
  return replaceFiles(names, layout);
}

// The meaning stream of the accepted entries, in blocks of BLOCK_CAPACITY bytes compressed on
// two threads. Block 0 exists even when the stream is empty.
Status DictionaryBuilder::compressBlocks(const std::string& dataFile, Layout& layout) const {
  std::string stream;
  stream.reserve(streamLength_);
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (results_[i] == EditResult::Ok) stream += entries_[i].meaningBytes;
  }
  const uint32_t blockCount =
      stream.empty() ? 1 : static_cast<uint32_t>((stream.size() - 1) / BLOCK_CAPACITY + 1);
  std::vector<std::vector<uint8_t>>& compressed = layout.blocks;
  compressed.resize(blockCount);
  std::vector<char> compressedOk(blockCount, 0);
  auto compressRange = [&](uint32_t first, uint32_t step) {
    for (uint32_t b = first; b < blockCount; b += step) {
      const size_t begin = static_cast<size_t>(b) * BLOCK_CAPACITY;
      const size_t length = std::min<size_t>(BLOCK_CAPACITY, stream.size() - begin);
      compressedOk[b] = compressBlock(reinterpret_cast<const uint8_t*>(stream.data()) + begin,
                                      length, compressed[b]);
      // Only the calling thread reports; its half of the blocks stands for both halves.
      if (first == 0 && progress_) progress_(b + 1, blockCount);
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
      return Status::ioError("block " + std::to_string(b) + " of " + dataFile +
                             " does not compress into " + std::to_string(BLOCK_CAPACITY) +
                             " bytes");
    }
  }
  return Status::ok();
}

// The header, as create + setTitle/setDescription + the adds leave it (the word maxima come
// with the words).
void DictionaryBuilder::layOutHeader(Layout& layout) const {
  DictionaryHeader& header = layout.header;
  std::memcpy(header.signature.data(), "QUILLDAT", 8);
  header.marker = 256;
  header.collation = collation_;
  header.lastBlock = static_cast<uint16_t>(layout.blocks.size() - 1);
  header.wordCount = accepted_;
  std::copy(title_.begin(), title_.end(), header.title.begin());
  std::copy(description_.begin(), description_.end(), header.description.begin());
}

// The word file in input order, the word records, and their order sorted by headword.
void DictionaryBuilder::layOutWords(Layout& layout) const {
  const size_t n = entries_.size();
  layout.records.resize(n);
  layout.order.reserve(accepted_);
  for (size_t i = 0; i < n; ++i) {
    if (results_[i] != EditResult::Ok) continue;
    const Entry& e = entries_[i];
    const std::string bytes = utf8Encode(e.headword);
    WordRecord& r = layout.records[i];
    r.wordOffset = static_cast<uint32_t>(layout.words.size());
    r.wordLength = static_cast<uint8_t>(bytes.size());
    r.reserved = 0;
    r.block = startBlock_[i];
    r.offset = startOffset_[i];
    r.meaningLength = static_cast<uint16_t>(e.meaningBytes.size());
    layout.words += bytes;
    DictionaryHeader& header = layout.header;
    header.maxWordChars =
        std::max<uint32_t>(header.maxWordChars, static_cast<uint32_t>(e.headword.size()));
    header.maxMeaningChars = std::max(header.maxMeaningChars, e.meaningUnits);
    layout.order.push_back(static_cast<uint32_t>(i));
  }
  const HeadwordLess less{collation_};
  std::stable_sort(layout.order.begin(), layout.order.end(), [&](uint32_t a, uint32_t b) {
    return less(entries_[a].headword, entries_[b].headword);
  });
}

// The index file: header, block records 0 ... lastBlock, and with any word the zero-filled
// rest of the block table followed by the word table.
void DictionaryBuilder::layOutIndex(Layout& layout) const {
  const size_t indexLength =
      accepted_ == 0 ? BLOCK_TABLE_OFFSET + BLOCK_RECORD_SIZE
                     : WORD_TABLE_OFFSET + static_cast<size_t>(WORD_RECORD_SIZE) * accepted_;
  std::vector<uint8_t>& index = layout.index;
  index.assign(indexLength, 0);
  layout.header.encodeTo(index.data());
  uint32_t dataOffset = 0;
  for (uint32_t b = 0; b < layout.blocks.size(); ++b) {
    BlockRecord block;
    block.offset = dataOffset;
    block.length = static_cast<uint16_t>(layout.blocks[b].size());
    block.encodeTo(index.data() + BlockRecord::fileOffset(b));
    dataOffset += block.length;
  }
  for (size_t slot = 0; slot < layout.order.size(); ++slot) {
    layout.records[layout.order[slot]].encodeTo(
        index.data() + WordRecord::fileOffset(static_cast<uint32_t>(slot)));
  }
}

// The old files (if any) are replaced in one transaction: a failure, or a crash half-way,
// leaves them as they were.
Status DictionaryBuilder::replaceFiles(const FileSetNames& names, const Layout& layout) {
  DictionaryFiles files;
  files.setFileSystem(*fs_);
  if (Status s = files.openForReplace(names); !s.isOk()) return s;
  files.begin();
  Status s;
  for (DictionaryFile file : {DictionaryFile::Index, DictionaryFile::Word, DictionaryFile::Data}) {
    if (s.isOk()) s = files.truncate(file, 0);
  }
  uint64_t at = 0;
  for (const auto& block : layout.blocks) {
    if (s.isOk()) s = files.write(DictionaryFile::Data, at, block.data(), block.size());
    at += block.size();
  }
  if (s.isOk()) s = files.write(DictionaryFile::Word, 0, layout.words.data(), layout.words.size());
  if (s.isOk()) s = files.write(DictionaryFile::Index, 0, layout.index.data(), layout.index.size());
  if (!s.isOk()) {
    files.abandon();
    return s;
  }
  return files.commit();
}

}  // namespace lexora
