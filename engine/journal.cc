#include "engine/journal.h"

#include <sys/stat.h>
#include <zlib.h>

#include <algorithm>
#include <cstring>

#include "engine/file_format.h"
#include "util/coding.h"

namespace lexora {
namespace {

constexpr char kMagic[8] = {'L', 'X', 'J', 'O', 'U', 'R', 'N', '2'};
constexpr size_t kMagicSize = sizeof kMagic;
constexpr size_t kRangeFields = 1 + 8 + 4;
constexpr size_t kPiece = size_t{1} << 20;

template <typename T>
void put(std::vector<uint8_t>& out, T value) {
  uint8_t bytes[sizeof(T)];
  storeLittleEndian(bytes, value);
  out.insert(out.end(), bytes, bytes + sizeof(T));
}

uint32_t extend(uint32_t crc, const uint8_t* data, size_t size) {
  uLong c = crc;
  while (size > 0) {
    const uInt n = static_cast<uInt>(std::min<size_t>(size, 1u << 30));
    c = crc32(c, data, n);
    data += n;
    size -= n;
  }
  return static_cast<uint32_t>(c);
}

Status torn() { return Status::corruption("the journal is incomplete"); }

}  // namespace

uint32_t journalChecksum(const uint8_t* data, size_t size) {
  return extend(static_cast<uint32_t>(crc32(0L, Z_NULL, 0)), data, size);
}

std::vector<uint8_t> Journal::encode() const {
  std::vector<uint8_t> out(kMagic, kMagic + kMagicSize);
  for (const FileState& f : files) {
    put<uint8_t>(out, f.existed ? 1 : 0);
    put<uint64_t>(out, f.length);
    put<uint64_t>(out, f.reach);
    put<uint32_t>(out, f.oldHeadChecksum);
    put<uint16_t>(out, static_cast<uint16_t>(f.newHead.size()));
    out.insert(out.end(), f.newHead.begin(), f.newHead.end());
  }
  put<uint32_t>(out, static_cast<uint32_t>(ranges.size()));
  for (const Range& r : ranges) {
    put<uint8_t>(out, r.file);
    put<uint64_t>(out, r.offset);
    put<uint32_t>(out, static_cast<uint32_t>(r.bytes.size()));
    out.insert(out.end(), r.bytes.begin(), r.bytes.end());
  }
  put<uint32_t>(out, journalChecksum(out.data(), out.size()));
  return out;
}

Status JournalReader::fill(uint8_t* out, size_t count) {
  if (size_ - 4 - at_ < count) return torn();
  if (Status s = file_.read(at_, out, count); !s.isOk()) return s;
  at_ += count;
  crc_ = extend(crc_, out, count);
  return Status::ok();
}

Status JournalReader::readFiles(std::array<Journal::FileState, 3>& files) {
  if (Status s = file_.size(size_); !s.isOk()) return s;
  uint8_t magic[kMagicSize];
  if (size_ < kMagicSize + 4) return torn();
  at_ = 0;
  crc_ = static_cast<uint32_t>(crc32(0L, Z_NULL, 0));
  if (Status s = fill(magic, kMagicSize); !s.isOk()) return s;
  if (std::memcmp(magic, kMagic, kMagicSize - 1) == 0 && magic[kMagicSize - 1] != kMagic[7]) {
    return Status::invalidArgument("the journal was written in another format");
  }
  if (std::memcmp(magic, kMagic, kMagicSize) != 0) return torn();
  for (Journal::FileState& f : files_) {
    uint8_t fields[1 + 8 + 8 + 4 + 2];
    if (Status s = fill(fields, sizeof fields); !s.isOk()) return s;
    f.existed = fields[0] != 0;
    f.length = loadLittleEndian<uint64_t>(fields + 1);
    f.reach = loadLittleEndian<uint64_t>(fields + 9);
    f.oldHeadChecksum = loadLittleEndian<uint32_t>(fields + 17);
    const uint16_t headLength = loadLittleEndian<uint16_t>(fields + 21);
    if (headLength > HEADER_SIZE) return torn();
    f.newHead.resize(headLength);
    if (Status s = fill(f.newHead.data(), headLength); !s.isOk()) return s;
  }
  rangesAt_ = at_;
  files = files_;
  return Status::ok();
}

Status JournalReader::forEachRange(const Visit& visit) {
  at_ = rangesAt_;
  // The checksum of the file states, again: the walk may be repeated.
  std::vector<uint8_t> front(static_cast<size_t>(rangesAt_));
  if (Status s = file_.read(0, front.data(), front.size()); !s.isOk()) return s;
  crc_ = journalChecksum(front.data(), front.size());

  std::string broken;  // the rule the ranges break
  uint8_t countBytes[4];
  if (Status s = fill(countBytes, 4); !s.isOk()) return s;
  const uint32_t count = loadLittleEndian<uint32_t>(countBytes);
  std::vector<uint8_t> piece;
  int lastFile = 0;
  uint64_t lastEnd = 0;
  for (uint32_t i = 0; i < count; ++i) {
    uint8_t fields[kRangeFields];
    if (Status s = fill(fields, sizeof fields); !s.isOk()) return s;
    const int file = fields[0];
    const uint64_t offset = loadLittleEndian<uint64_t>(fields + 1);
    const uint32_t length = loadLittleEndian<uint32_t>(fields + 9);
    if (file > 2 || length == 0 || offset > files_[file].length ||
        length > files_[file].length - offset) {
      broken = "a range lies outside its file";
    } else if (file < lastFile || (file == lastFile && offset < lastEnd)) {
      broken = "the ranges are out of order";
    }
    if (!broken.empty()) break;
    lastFile = file;
    lastEnd = offset + length;
    for (uint64_t done = 0; done < length;) {
      const size_t n = static_cast<size_t>(std::min<uint64_t>(length - done, kPiece));
      piece.resize(n);
      if (Status s = fill(piece.data(), n); !s.isOk()) return s;
      if (Status s = visit(file, offset + done, piece.data(), n); !s.isOk()) return s;
      done += n;
    }
  }
  if (broken.empty() && at_ != size_ - 4) broken = "bytes follow the last range";
  if (!broken.empty()) return Status::invalidArgument("the journal is malformed: " + broken);
  uint8_t stored[4];
  if (Status s = file_.read(at_, stored, 4); !s.isOk()) return s;
  if (loadLittleEndian<uint32_t>(stored) != crc_) return torn();
  return Status::ok();
}

std::string journalName(const std::string& dataFileName) { return dataFileName + "-journal"; }

Status setJournalAside(FileSystem& fs, const std::string& journal, std::string& aside) {
  aside.clear();
  struct stat st;
  if (::lstat(journal.c_str(), &st) != 0) return Status::ok();
  Status s;
  for (int n = 1; n <= 20; ++n) {
    const std::string name =
        journal + ".set-aside" + (n == 1 ? std::string() : "-" + std::to_string(n));
    s = fs.rename(journal, name);
    if (s.isOk()) {
      aside = name;
      return fs.syncFolder(journal);
    }
    if (s.code() == Status::Code::NotFound) return Status::ok();
  }
  return s;
}

}  // namespace lexora
