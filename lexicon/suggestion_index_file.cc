// The suggestion index's file: a header, then the tables, each in the machine's byte order.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>

#include "lexicon/suggestion_index.h"

namespace lexora {

// Reads from a byte buffer, failing (and staying failed) when it runs out.
class IndexFileReader {
 public:
  explicit IndexFileReader(const std::string& bytes) : bytes_(bytes) {}
  template <typename T>
  bool get(T& value) {
    return getArray(&value, 1);
  }
  template <typename T>
  bool getArray(T* data, size_t count) {
    const size_t n = count * sizeof(T);
    if (!ok_ || bytes_.size() - at_ < n) return ok_ = false;
    if (n > 0) std::memcpy(data, bytes_.data() + at_, n);
    at_ += n;
    return true;
  }
  bool atEnd() const { return ok_ && at_ == bytes_.size(); }
  size_t left() const { return ok_ ? bytes_.size() - at_ : 0; }

 private:
  const std::string& bytes_;
  size_t at_ = 0;
  bool ok_ = true;
};

namespace {

constexpr char kMagic[8] = {'L', 'X', 'S', 'U', 'G', 'G', '0', '2'};

template <typename T>
void put(std::string& out, const T& value) {
  out.append(reinterpret_cast<const char*>(&value), sizeof value);
}

template <typename T>
void putArray(std::string& out, const T* data, size_t count) {
  out.append(reinterpret_cast<const char*>(data), count * sizeof(T));
}

// Offsets must start at 0, never fall and end at the text's length.
bool offsetsFit(const std::vector<uint32_t>& starts, size_t textSize) {
  if (starts.empty() || starts.front() != 0 || starts.back() != textSize) return false;
  return std::is_sorted(starts.begin(), starts.end());
}

}  // namespace

std::unique_ptr<SuggestionIndex> SuggestionIndex::load(const std::string& file,
                                                       const FileStamp& stamp) {
  std::ifstream in(file, std::ios::binary | std::ios::ate);
  if (!in) return nullptr;
  const std::streamoff size = in.tellg();
  if (size <= 0) return nullptr;
  std::string bytes(static_cast<size_t>(size), '\0');
  in.seekg(0);
  if (!in.read(bytes.data(), size)) return nullptr;
  IndexFileReader r(bytes);
  char magic[sizeof kMagic];
  std::unique_ptr<SuggestionIndex> index(new SuggestionIndex());
  if (!r.getArray(magic, sizeof magic) || std::memcmp(magic, kMagic, sizeof magic) != 0)
    return nullptr;
  if (!r.get(index->collation_) || !r.getArray(index->stamp_.sizes.data(), 3) ||
      !r.getArray(index->stamp_.modified.data(), 3)) {
    return nullptr;
  }
  if (!(index->stamp_ == stamp) || !index->readTables(r, bytes.size())) return nullptr;
  return index;
}

bool SuggestionIndex::readTables(IndexFileReader& r, size_t fileSize) {
  uint64_t count = 0, foldedUnits = 0, wordUnits = 0, looseUnits = 0;
  if (!r.get(count) || !r.get(foldedUnits) || !r.get(wordUnits) || !r.get(looseUnits)) return false;
  // Every count is checked against the file's size before anything is allocated for it.
  if (count > UINT32_MAX || foldedUnits > fileSize || wordUnits > fileSize || looseUnits > fileSize)
    return false;
  const uint64_t needed = (count + 1) * 12 + count * 8 + (foldedUnits + wordUnits + looseUnits) * 2;
  if (needed != r.left()) return false;
  Storage& s = storage_;
  s.foldedStart.resize(count + 1);
  s.wordStart.resize(count + 1);
  s.positions.resize(count);
  s.folded.resize(foldedUnits);
  s.headwords.resize(wordUnits);
  s.looseStart.resize(count + 1);
  s.looseOrder.resize(count);
  s.loose.resize(looseUnits);
  r.getArray(s.foldedStart.data(), count + 1);
  r.getArray(s.wordStart.data(), count + 1);
  r.getArray(s.positions.data(), count);
  r.getArray(s.folded.data(), foldedUnits);
  r.getArray(s.headwords.data(), wordUnits);
  r.getArray(s.looseStart.data(), count + 1);
  r.getArray(s.looseOrder.data(), count);
  r.getArray(s.loose.data(), looseUnits);
  viewStorage();
  const bool ordersFit = std::all_of(s.looseOrder.begin(), s.looseOrder.end(),
                                     [&](uint32_t at) { return at < count; });
  return r.atEnd() && ordersFit && offsetsFit(s.foldedStart, foldedUnits) &&
         offsetsFit(s.wordStart, wordUnits) && offsetsFit(s.looseStart, looseUnits);
}

bool SuggestionIndex::save(const std::string& file) const {
  std::string out;
  out.append(kMagic, sizeof kMagic);
  put(out, collation_);
  putArray(out, stamp_.sizes.data(), 3);
  putArray(out, stamp_.modified.data(), 3);
  const Tables& t = tables_;
  put(out, static_cast<uint64_t>(size()));
  put(out, static_cast<uint64_t>(t.folded.size()));
  put(out, static_cast<uint64_t>(t.headwords.size()));
  put(out, static_cast<uint64_t>(t.loose.size()));
  putArray(out, t.foldedStart.data(), t.foldedStart.size());
  putArray(out, t.wordStart.data(), t.wordStart.size());
  putArray(out, t.positions.data(), t.positions.size());
  putArray(out, t.folded.data(), t.folded.size());
  putArray(out, t.headwords.data(), t.headwords.size());
  putArray(out, t.looseStart.data(), t.looseStart.size());
  putArray(out, t.looseOrder.data(), t.looseOrder.size());
  putArray(out, t.loose.data(), t.loose.size());
  const std::string temporary = file + ".new";
  {
    std::ofstream o(temporary, std::ios::binary | std::ios::trunc);
    if (!o.write(out.data(), static_cast<std::streamsize>(out.size())) || !o.flush()) {
      std::remove(temporary.c_str());
      return false;
    }
  }
  if (std::rename(temporary.c_str(), file.c_str()) != 0) {
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace lexora
