// The suggestion index's file: a header, then the tables of 32-bit values, then the texts,
// each in the machine's byte order. The header's size is a multiple of 4 and a mapping starts
// on a page, so every table is read in place, aligned.

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>

#include "lexicon/suggestion_index.h"

namespace lexora {

namespace {

constexpr char kMagic[8] = {'L', 'X', 'S', 'U', 'G', 'G', '0', '3'};
// The magic, the collation, the stamp and four counts: the words, then the units of the
// folded words, the headwords and the loose keys.
constexpr size_t kHeaderSize = sizeof kMagic + sizeof(uint32_t) + sizeof(FileStamp::sizes) +
                               sizeof(FileStamp::modified) + 4 * sizeof(uint64_t);
static_assert(kHeaderSize % alignof(uint32_t) == 0 && alignof(char16_t) <= alignof(uint32_t));

// Reads from the start of a byte buffer, failing (and staying failed) when it runs out.
class HeaderReader {
 public:
  explicit HeaderReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}
  template <typename T>
  bool get(T& value) {
    return getArray(&value, 1);
  }
  template <typename T>
  bool getArray(T* data, size_t count) {
    const size_t n = count * sizeof(T);
    if (!ok_ || bytes_.size() - at_ < n) return ok_ = false;
    std::memcpy(data, bytes_.data() + at_, n);
    at_ += n;
    return true;
  }

 private:
  std::span<const uint8_t> bytes_;
  size_t at_ = 0;
  bool ok_ = true;
};

// The next `count` values of type T at `at`, which moves past them.
template <typename T>
std::span<const T> take(const uint8_t*& at, size_t count) {
  const auto* first = reinterpret_cast<const T*>(at);
  at += count * sizeof(T);
  return {first, count};
}

// Offsets must start at 0 and end at the text's length: what can be told from their ends
// alone. Those between are checked where they are read.
bool endsFit(std::span<const uint32_t> starts, size_t textSize) {
  return !starts.empty() && starts.front() == 0 && starts.back() == textSize;
}

template <typename T>
void put(std::string& out, const T& value) {
  out.append(reinterpret_cast<const char*>(&value), sizeof value);
}

template <typename T>
void putArray(std::string& out, std::span<const T> values) {
  out.append(reinterpret_cast<const char*>(values.data()), values.size_bytes());
}

}  // namespace

std::unique_ptr<SuggestionIndex> SuggestionIndex::load(const std::string& file,
                                                       const FileStamp& stamp) {
  // The index reads the file where it lies for as long as it lives. Nothing here rewrites an
  // index file in place (save renames a new one over it), so the mapping never loses its end.
  std::unique_ptr<SuggestionIndex> index(new SuggestionIndex());
  if (!index->mapping_.open(file).isOk() || !index->viewFile(stamp)) return nullptr;
  return index;
}

bool SuggestionIndex::viewFile(const FileStamp& stamp) {
  const std::span<const uint8_t> bytes = mapping_.bytes();
  HeaderReader r(bytes);
  char magic[sizeof kMagic];
  uint64_t count = 0, foldedUnits = 0, wordUnits = 0, looseUnits = 0;
  if (!r.getArray(magic, sizeof magic) || std::memcmp(magic, kMagic, sizeof magic) != 0 ||
      !r.get(collation_) || !r.getArray(stamp_.sizes.data(), 3) ||
      !r.getArray(stamp_.modified.data(), 3) || !(stamp_ == stamp) || !r.get(count) ||
      !r.get(foldedUnits) || !r.get(wordUnits) || !r.get(looseUnits)) {
    return false;
  }
  // Every count is checked against the file's size before it is used.
  const size_t fileSize = bytes.size();
  if (count > UINT32_MAX || foldedUnits > fileSize || wordUnits > fileSize || looseUnits > fileSize)
    return false;
  const uint64_t needed = (count + 1) * 12 + count * 8 + (foldedUnits + wordUnits + looseUnits) * 2;
  if (needed != fileSize - kHeaderSize ||
      reinterpret_cast<uintptr_t>(bytes.data()) % alignof(uint32_t) != 0) {
    return false;
  }
  const uint8_t* at = bytes.data() + kHeaderSize;
  Tables& t = tables_;
  t.foldedStart = take<uint32_t>(at, count + 1);
  t.wordStart = take<uint32_t>(at, count + 1);
  t.positions = take<uint32_t>(at, count);
  t.looseStart = take<uint32_t>(at, count + 1);
  t.looseOrder = take<uint32_t>(at, count);
  t.folded = take<char16_t>(at, foldedUnits);
  t.headwords = take<char16_t>(at, wordUnits);
  t.loose = take<char16_t>(at, looseUnits);
  return endsFit(t.foldedStart, foldedUnits) && endsFit(t.wordStart, wordUnits) &&
         endsFit(t.looseStart, looseUnits);
}

bool SuggestionIndex::save(const std::string& file) const {
  const Tables& t = tables_;
  std::string out;
  out.append(kMagic, sizeof kMagic);
  put(out, collation_);
  putArray<uint64_t>(out, stamp_.sizes);
  putArray<int64_t>(out, stamp_.modified);
  put(out, static_cast<uint64_t>(size()));
  put(out, static_cast<uint64_t>(t.folded.size()));
  put(out, static_cast<uint64_t>(t.headwords.size()));
  put(out, static_cast<uint64_t>(t.loose.size()));
  for (std::span<const uint32_t> table :
       {t.foldedStart, t.wordStart, t.positions, t.looseStart, t.looseOrder}) {
    putArray(out, table);
  }
  for (std::span<const char16_t> text : {t.folded, t.headwords, t.loose}) putArray(out, text);
  // A new file under another name, renamed into place: a reader that has the old one mapped
  // keeps reading it whole.
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
