#pragma once
// An MDict file (.mdx entries or .mdd resources), versions 2.x and 1.2: its header, its keys
// with their record offsets, and its records, read block by block without loading the file
// whole. Every size and count is checked against the file and the tables before anything is
// allocated, and every block against its checksum; a damaged file fails with a reason that
// names what is wrong.

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "util/status.h"

namespace lexora::importers {

struct MdictHeader {
  bool version2 = true;  // 8-byte numbers; false for version 1.2 (4-byte numbers)
  std::string charset;   // of keys and records, for iconv: "UTF-8", "UTF-16LE", "GBK", "BIG5"
  bool html = true;      // Format="Html" (else plain text)
  bool keyCaseSensitive = false;
  bool stripKey = true;
  std::string title;
  std::string description;
};

struct MdictKey {
  std::string text;  // standard UTF-8
  uint64_t offset = 0;
};

class MdictFile {
 public:
  // Reads the header, the keys and the record table. `resources`: an .mdd (keys in UTF-16LE).
  Status open(const std::string& path, bool resources);
  // Reads the header only (for listing a file's title).
  Status openHeader(const std::string& path, bool resources);

  const MdictHeader& header() const { return header_; }
  const std::vector<MdictKey>& keys() const { return keys_; }

  // The bytes of key `index`'s record, as stored (text in the header's charset for an .mdx).
  Status record(size_t index, std::string& bytes);

 private:
  Status readHeader();
  Status readKeys();
  Status readKeyBlocks(const std::string& keyIndex, uint64_t blockCount, uint64_t blocksSize);
  Status readRecordTable();
  Status readAt(uint64_t offset, uint64_t size, std::string& bytes);
  Status loadRecordBlock(size_t block);
  Status fail(const std::string& what) const;

  std::string path_;
  std::ifstream in_;
  uint64_t fileSize_ = 0;
  uint64_t position_ = 0;  // where the next section starts
  bool resources_ = false;
  bool scrambled_ = false;
  MdictHeader header_;
  std::vector<MdictKey> keys_;
  std::vector<uint64_t> ends_;  // each key's record end, by key index
  struct RecordBlock {
    uint64_t fileOffset = 0;
    uint64_t stored = 0;
    uint64_t start = 0;  // in the decompressed records
    uint64_t size = 0;
  };
  std::vector<RecordBlock> blocks_;
  size_t cached_ = SIZE_MAX;
  std::string cache_;
};

// A stored block (kind, Adler-32 and data) of `expected` bytes once decompressed.
Status decodeMdictBlock(std::string_view block, uint64_t expected, std::string& out);

}  // namespace lexora::importers
