#pragma once
// Helpers for the engine tests: a way to write dictionary files
// directly (blocks and records of any shape, including damaged ones).

#include <zlib.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/file_format.h"
#include "tests/support/scratch_dir.h"
#include "util/utf8_codec.h"

namespace lexora::test {

inline std::vector<uint8_t> readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

inline void writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

// Overwrites bytes in place (through a descriptor of its own, like another program would).
inline void patchFile(const std::string& path, size_t offset, const std::vector<uint8_t>& bytes) {
  std::fstream io(path, std::ios::binary | std::ios::in | std::ios::out);
  io.seekp(static_cast<std::streamoff>(offset));
  io.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline uint32_t get32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}
inline uint16_t get16(const std::vector<uint8_t>& b, size_t at) {
  return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}

inline std::vector<uint8_t> compressBlock(const std::string& content) {
  uLongf length = compressBound(content.size());
  std::vector<uint8_t> out(length);
  compress2(out.data(), &length, reinterpret_cast<const Bytef*>(content.data()), content.size(), 9);
  out.resize(length);
  return out;
}

// One entry of a hand-made dictionary: its headword and where its meaning lies.
struct RawEntry {
  std::u16string word;
  uint16_t block = 0;
  uint16_t offset = 0;
  uint16_t length = 0;
};

// Writes the three files of a dictionary whose blocks hold exactly `blocks` (uncompressed
// contents) and whose word table holds `entries` in the given order.
inline void writeRawDictionary(const std::string& dataFile, uint32_t collation,
                               const std::vector<std::string>& blocks,
                               const std::vector<RawEntry>& entries) {
  const FileSetNames names = fileSetNames(dataFile);
  DictionaryHeader header;
  header.collation = collation;
  header.lastBlock = static_cast<uint16_t>(blocks.empty() ? 0 : blocks.size() - 1);
  header.wordCount = static_cast<uint32_t>(entries.size());
  header.maxWordChars = 255;
  header.maxMeaningChars = 65535;
  std::vector<uint8_t> index(WORD_TABLE_OFFSET + WORD_RECORD_SIZE * entries.size());
  std::vector<uint8_t> data;
  for (size_t i = 0; i < blocks.size(); ++i) {
    const std::vector<uint8_t> stream = compressBlock(blocks[i]);
    BlockRecord{static_cast<uint32_t>(data.size()), static_cast<uint16_t>(stream.size())}.encodeTo(
        index.data() + BlockRecord::fileOffset(static_cast<uint32_t>(i)));
    data.insert(data.end(), stream.begin(), stream.end());
  }
  std::vector<uint8_t> words;
  for (size_t i = 0; i < entries.size(); ++i) {
    const std::string bytes = utf8Encode(entries[i].word);
    WordRecord r;
    r.wordOffset = static_cast<uint32_t>(words.size());
    r.wordLength = static_cast<uint8_t>(bytes.size());
    r.block = entries[i].block;
    r.offset = entries[i].offset;
    r.meaningLength = entries[i].length;
    r.encodeTo(index.data() + WordRecord::fileOffset(static_cast<uint32_t>(i)));
    words.insert(words.end(), bytes.begin(), bytes.end());
  }
  header.encodeTo(index.data());
  writeFile(names.indexFile, index);
  writeFile(names.wordFile, words);
  writeFile(names.dataFile, data);
}

// A dictionary of the given words, in the given order, each with the meaning "m:" + word,
// all in block 0.
inline void writeWordList(const std::string& dataFile, uint32_t collation,
                          const std::vector<std::u16string>& words) {
  std::string block;
  std::vector<RawEntry> entries;
  for (const std::u16string& w : words) {
    const std::string meaning = "m:" + utf8Encode(w);
    entries.push_back(
        {w, 0, static_cast<uint16_t>(block.size()), static_cast<uint16_t>(meaning.size())});
    block += meaning;
  }
  writeRawDictionary(dataFile, collation, {block}, entries);
}

}  // namespace lexora::test
