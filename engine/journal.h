#pragma once
// The rollback journal of one change to a dictionary: what each of the three files was before
// the change (its length, whether it existed, a checksum of its head) and what the change makes
// of it (the greatest length it reaches, its new head), and the old bytes of every range the
// change overwrites or cuts off. It lies beside the data file while the change runs; a journal
// found there at opening means the change died, and applying it gives back the dictionary
// exactly as before. The heads and lengths let the opening tell whether the journal belongs to
// the files it finds: a journal of other files is never applied.
//
// On disk: "LXJOURN2"; per file (index, word, data) u8 existed, u64 old length, u64 reach,
// u32 CRC-32 of the old head (the first HEADER_SIZE bytes or fewer), u16 new head length and
// the new head; u32 range count; per range u8 file, u64 offset, u32 length (at least 1) and the
// old bytes, the ranges ordered by file and then by offset, without overlap, inside the file's
// old length; then the CRC-32 of everything before it. All little-endian. A journal that does
// not check out was never finished, so no byte of the files had been touched yet.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/file.h"
#include "util/status.h"

namespace lexora {

struct Journal {
  struct FileState {
    bool existed = true;
    uint64_t length = 0;  // before the change
    uint64_t reach = 0;   // the greatest length the change gives the file
    uint32_t oldHeadChecksum = 0;
    std::vector<uint8_t> newHead;  // the file's first bytes after the change
  };
  struct Range {
    uint8_t file = 0;  // 0 index, 1 word, 2 data (the order of DictionaryFile)
    uint64_t offset = 0;
    std::vector<uint8_t> bytes;
  };

  std::array<FileState, 3> files;
  std::vector<Range> ranges;

  std::vector<uint8_t> encode() const;
};

// The CRC-32 of bytes (the checksum of heads and of the whole journal).
uint32_t journalChecksum(const uint8_t* data, size_t size);

// Reads a journal from its file a piece at a time, so that a journal of any size (a huge or a
// crafted one) costs at most one piece of memory.
class JournalReader {
 public:
  // Called with the old bytes of the ranges in order, in pieces of at most 1 MiB; pieces of
  // one range come one after the other.
  using Visit = std::function<Status(int file, uint64_t offset, const uint8_t* bytes, size_t n)>;

  explicit JournalReader(File& file) : file_(file) {}

  // Reads the file states. Corruption when the journal is not whole (it never reached the
  // disk); InvalidArgument when it was written in another format.
  Status readFiles(std::array<Journal::FileState, 3>& files);
  // REQUIRES: readFiles() succeeded. Walks every range, then checks the checksum: Corruption
  // when the journal ends early or does not check out (it is not whole), InvalidArgument as
  // soon as its ranges break the rules above (it is no journal of ours, whatever the rest
  // holds). The visitor may stop the walk by failing; a failed walk may have visited ranges.
  Status forEachRange(const Visit& visit);

 private:
  Status fill(uint8_t* out, size_t count);  // the next count bytes, into the checksum

  File& file_;
  std::array<Journal::FileState, 3> files_;
  uint64_t size_ = 0;
  uint64_t at_ = 0;
  uint64_t rangesAt_ = 0;
  uint32_t crc_ = 0;
};

// "<data file>-journal".
std::string journalName(const std::string& dataFileName);

// Moves a journal found under `journal` out of the way, to "<journal>.set-aside" (or
// "-2", "-3", ... after it), before files it does not belong to take its dictionary's name.
// Ok with aside empty when there is none.
Status setJournalAside(FileSystem& fs, const std::string& journal, std::string& aside);

}  // namespace lexora
