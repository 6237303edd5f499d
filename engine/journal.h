#pragma once
// The rollback journal of one write to a dictionary: the length each of the three files had
// (or that it did not exist) and the old bytes of every range the write overwrites or cuts
// off. It lies beside the data file while the write runs; a journal found there at opening
// means the write died, and applying it gives back the dictionary exactly as before.
//
// On disk: "LXJOURN1", then per file (index, word, data) u8 existed and u64 length, then u32
// range count, then per range u8 file, u64 offset, u32 length and the bytes, then the CRC-32
// of everything before it. All little-endian. A journal that does not check out was never
// finished, so no byte of the files had been touched yet.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "util/status.h"

namespace lexora {

struct Journal {
  struct FileState {
    bool existed = true;
    uint64_t length = 0;
  };
  struct Range {
    uint8_t file = 0;  // 0 index, 1 word, 2 data (the order of DictionaryFile)
    uint64_t offset = 0;
    std::vector<uint8_t> bytes;
  };

  std::array<FileState, 3> files;
  std::vector<Range> ranges;

  std::vector<uint8_t> encode() const;
  // Corruption when the bytes are not a whole journal.
  static Status decode(const std::vector<uint8_t>& bytes, Journal& out);
};

// "<data file>-journal".
std::string journalName(const std::string& dataFileName);

}  // namespace lexora
