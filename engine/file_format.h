#pragma once
// The layout of a dictionary's three files. Every record encodes and decodes itself,
// packed and little-endian; nothing here touches a file.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "util/coding.h"

namespace lexora {

constexpr uint32_t BLOCK_CAPACITY = 64867;     // most uncompressed bytes a block holds
constexpr uint32_t CACHE_SIZE = 65535;         // decompression buffer of a reader
constexpr uint32_t MAX_WORD_BYTES = 255;       // a headword's UTF-8 length
constexpr uint32_t MAX_MEANING_BYTES = 65535;  // a meaning's UTF-8 length

constexpr uint32_t HEADER_SIZE = 846;
constexpr uint32_t BLOCK_RECORD_SIZE = 6;
constexpr uint32_t BLOCK_TABLE_OFFSET = 846;
constexpr uint32_t BLOCK_SLOTS = 1023;  // slots 0 ... 1022
constexpr uint32_t WORD_RECORD_SIZE = 12;
constexpr uint32_t WORD_TABLE_OFFSET = 6984;  // 846 + 6 * 1023
constexpr uint16_t NO_BLOCK = 0xFFFF;
constexpr int COMPRESSION_LEVEL = 9;  // zlib's compress2 level for every stored block

constexpr uint32_t TITLE_UNITS = 128;
constexpr uint32_t DESCRIPTION_UNITS = 256;

// The index file's first 846 bytes, held in memory while a dictionary is open.
struct DictionaryHeader {
  std::array<uint8_t, 8> signature{};  // "QUILLDAT" on creation, never checked
  uint32_t marker = 0;                 // 256 on creation, never read
  uint32_t collation = 0;              // see collation.h
  uint32_t nodeData = 0;
  std::array<uint8_t, 4> reserved1{};
  uint16_t lastBlock = 0;
  uint32_t wordCount = 0;
  uint32_t maxWordChars = 0;
  uint32_t maxMeaningChars = 0;
  std::array<uint8_t, 40> reserved2{};
  std::array<char16_t, TITLE_UNITS> title{};
  std::array<char16_t, DESCRIPTION_UNITS> description{};

  void encodeTo(uint8_t* out) const;                      // REQUIRES: out holds HEADER_SIZE bytes
  static DictionaryHeader decodeFrom(const uint8_t* in);  // REQUIRES: in holds HEADER_SIZE bytes

  // The title and description up to their first NUL.
  std::u16string titleText() const;
  std::u16string descriptionText() const;
};

// Where one block's compressed bytes lie in the data file.
struct BlockRecord {
  uint32_t offset = 0;
  uint16_t length = 0;

  void encodeTo(uint8_t* out) const;  // REQUIRES: out holds BLOCK_RECORD_SIZE bytes
  static BlockRecord decodeFrom(const uint8_t* in);
  static uint64_t fileOffset(uint32_t slot) {
    return BLOCK_TABLE_OFFSET + uint64_t{BLOCK_RECORD_SIZE} * slot;
  }
};

// One entry of the sorted word table.
struct WordRecord {
  uint32_t wordOffset = 0;  // in the word file
  uint8_t wordLength = 0;   // bytes, 1 ... 255
  uint8_t reserved = 0;
  uint16_t block = 0;          // block the meaning starts in
  uint16_t offset = 0;         // within that block's uncompressed content
  uint16_t meaningLength = 0;  // bytes, 0 ... 65535

  void encodeTo(uint8_t* out) const;  // REQUIRES: out holds WORD_RECORD_SIZE bytes
  static WordRecord decodeFrom(const uint8_t* in);
  // The headword offset alone (the first field), from a record's bytes.
  static uint32_t wordOffsetIn(const uint8_t* in) { return loadLittleEndian<uint32_t>(in); }
  // 64 bits: 6984 + 12 x index passes 4 GiB for indexes from 357,913,360 up.
  static uint64_t fileOffset(uint32_t index) {
    return WORD_TABLE_OFFSET + uint64_t{WORD_RECORD_SIZE} * index;
  }
};

// The three file names of a dictionary named by its data file.
struct FileSetNames {
  std::string dataFile;   // the given name, unchanged
  std::string wordFile;   // base name + ".pdw"
  std::string indexFile;  // base name + ".pdi"
  // base name + ".res": the folder of the pictures and sounds its entries name, made by the
  // importers when a source has any and removed with the dictionary.
  std::string resourceFolder;
  // base name + ".pfx": the full-text index of the meanings, built from the three files and
  // removed with them.
  std::string fullTextFile;
  // base name + ".psg": the spelling suggestion index, built from the headwords.
  std::string suggestionFile;
};

// The base name is the given name up to its last '.', when that dot comes after the last '/';
// otherwise the whole name.
FileSetNames fileSetNames(std::string_view dataFileName);

}  // namespace lexora
