#include "engine/journal.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

#include "util/coding.h"

namespace lexora {
namespace {

constexpr char kMagic[8] = {'L', 'X', 'J', 'O', 'U', 'R', 'N', '1'};

template <typename T>
void put(std::vector<uint8_t>& out, T value) {
  uint8_t bytes[sizeof(T)];
  storeLittleEndian(bytes, value);
  out.insert(out.end(), bytes, bytes + sizeof(T));
}

// Reads fields front to back, refusing to go past the end.
class Cursor {
 public:
  Cursor(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  template <typename T>
  bool get(T& value) {
    if (size_ - at_ < sizeof(T)) return false;
    value = loadLittleEndian<T>(data_ + at_);
    at_ += sizeof(T);
    return true;
  }
  bool take(std::vector<uint8_t>& out, uint64_t count) {
    if (size_ - at_ < count) return false;
    out.assign(data_ + at_, data_ + at_ + count);
    at_ += static_cast<size_t>(count);
    return true;
  }
  bool atEnd() const { return at_ == size_; }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t at_ = 0;
};

uint32_t checksum(const uint8_t* data, size_t size) {
  uLong crc = crc32(0L, Z_NULL, 0);
  while (size > 0) {
    const uInt n = static_cast<uInt>(std::min<size_t>(size, 1u << 30));
    crc = crc32(crc, data, n);
    data += n;
    size -= n;
  }
  return static_cast<uint32_t>(crc);
}

}  // namespace

std::vector<uint8_t> Journal::encode() const {
  std::vector<uint8_t> out(kMagic, kMagic + sizeof kMagic);
  for (const FileState& f : files) {
    put<uint8_t>(out, f.existed ? 1 : 0);
    put<uint64_t>(out, f.length);
  }
  put<uint32_t>(out, static_cast<uint32_t>(ranges.size()));
  for (const Range& r : ranges) {
    put<uint8_t>(out, r.file);
    put<uint64_t>(out, r.offset);
    put<uint32_t>(out, static_cast<uint32_t>(r.bytes.size()));
    out.insert(out.end(), r.bytes.begin(), r.bytes.end());
  }
  put<uint32_t>(out, checksum(out.data(), out.size()));
  return out;
}

Status Journal::decode(const std::vector<uint8_t>& bytes, Journal& out) {
  const auto torn = [] { return Status::corruption("the journal is incomplete"); };
  if (bytes.size() < sizeof kMagic + 4 || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0) {
    return torn();
  }
  const size_t body = bytes.size() - 4;
  if (loadLittleEndian<uint32_t>(bytes.data() + body) != checksum(bytes.data(), body))
    return torn();
  Cursor in(bytes.data() + sizeof kMagic, body - sizeof kMagic);
  Journal j;
  for (FileState& f : j.files) {
    uint8_t existed = 0;
    if (!in.get(existed) || !in.get(f.length) || existed > 1) return torn();
    f.existed = existed == 1;
  }
  uint32_t count = 0;
  if (!in.get(count)) return torn();
  for (uint32_t i = 0; i < count; ++i) {
    Range r;
    uint32_t length = 0;
    if (!in.get(r.file) || !in.get(r.offset) || !in.get(length) || r.file > 2) return torn();
    if (!in.take(r.bytes, length)) return torn();
    // Old bytes always lie inside the file's old length.
    if (r.offset > j.files[r.file].length || length > j.files[r.file].length - r.offset) {
      return torn();
    }
    j.ranges.push_back(std::move(r));
  }
  if (!in.atEnd()) return torn();
  out = std::move(j);
  return Status::ok();
}

std::string journalName(const std::string& dataFileName) { return dataFileName + "-journal"; }

}  // namespace lexora
