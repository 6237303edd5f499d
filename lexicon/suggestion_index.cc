#include "lexicon/suggestion_index.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <numeric>
#include <tuple>

#include "engine/dictionary.h"
#include "lexicon/word_folding.h"

namespace lexora {
namespace {

constexpr char kMagic[8] = {'L', 'X', 'S', 'U', 'G', 'G', '0', '1'};
constexpr uint32_t kWordsPerRead = 4096;

template <typename T>
void put(std::string& out, const T& value) {
  out.append(reinterpret_cast<const char*>(&value), sizeof value);
}

template <typename T>
void putArray(std::string& out, const T* data, size_t count) {
  out.append(reinterpret_cast<const char*>(data), count * sizeof(T));
}

// Reads from a byte buffer, failing (and staying failed) when it runs out.
class Reader {
 public:
  explicit Reader(const std::string& bytes) : bytes_(bytes) {}
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

 private:
  const std::string& bytes_;
  size_t at_ = 0;
  bool ok_ = true;
};

// Offsets must start at 0, never fall and end at the text's length.
bool offsetsFit(const std::vector<uint32_t>& starts, size_t textSize) {
  if (starts.empty() || starts.front() != 0 || starts.back() != textSize) return false;
  return std::is_sorted(starts.begin(), starts.end());
}

// One letter doubled or not doubled ("runing" for "running"), or two neighbours swapped: the
// slips that typing makes most. REQUIRES: the two texts are one edit apart.
bool isTypingSlip(std::u16string_view typed, std::u16string_view word) {
  if (typed.size() == word.size()) {
    size_t i = 0;
    while (i < typed.size() && typed[i] == word[i]) ++i;
    return i + 1 < typed.size() && typed[i] == word[i + 1] && typed[i + 1] == word[i];
  }
  const std::u16string_view longer = typed.size() > word.size() ? typed : word;
  const std::u16string_view shorter = typed.size() > word.size() ? word : typed;
  if (longer.size() != shorter.size() + 1) return false;
  size_t i = 0;
  while (i < shorter.size() && shorter[i] == longer[i]) ++i;
  // longer[i] is the extra letter: a slip when it repeats a neighbour.
  return (i > 0 && longer[i] == longer[i - 1]) ||
         (i + 1 < longer.size() && longer[i] == longer[i + 1]);
}

}  // namespace

Status SuggestionIndex::build(Dictionary& dictionary, std::unique_ptr<SuggestionIndex>& index) {
  index.reset();
  const uint32_t count = dictionary.wordCount();
  std::vector<std::u16string> words;
  words.reserve(count);
  std::vector<std::u16string> chunk;
  for (uint32_t first = 0; first < count; first += kWordsPerRead) {
    const uint32_t want = std::min(kWordsPerRead, count - first);
    if (Status s = dictionary.readWords(first, want, chunk); !s.isOk()) return s;
    for (std::u16string& w : chunk) words.push_back(std::move(w));
  }
  index = fromWords(dictionary.collation(), words);
  return Status::ok();
}

std::unique_ptr<SuggestionIndex> SuggestionIndex::fromWords(
    uint32_t collation, const std::vector<std::u16string>& words) {
  std::unique_ptr<SuggestionIndex> index(new SuggestionIndex());
  index->collation_ = collation;
  index->sortByFolded(words);
  return index;
}

void SuggestionIndex::sortByFolded(const std::vector<std::u16string>& words) {
  const WordFolding folding(collation_);
  std::vector<std::u16string> folded(words.size());
  for (size_t i = 0; i < words.size(); ++i) folding.foldInto(words[i], folded[i]);
  std::vector<uint32_t> order(words.size());
  std::iota(order.begin(), order.end(), 0u);
  std::stable_sort(order.begin(), order.end(),
                   [&](uint32_t a, uint32_t b) { return folded[a] < folded[b]; });
  folded_.clear();
  headwords_.clear();
  foldedStart_.assign(1, 0);
  wordStart_.assign(1, 0);
  positions_.clear();
  for (uint32_t i : order) {
    folded_ += folded[i];
    headwords_ += words[i];
    foldedStart_.push_back(static_cast<uint32_t>(folded_.size()));
    wordStart_.push_back(static_cast<uint32_t>(headwords_.size()));
    positions_.push_back(i);
  }
}

std::unique_ptr<SuggestionIndex> SuggestionIndex::load(const std::string& file,
                                                       const FileStamp& stamp) {
  std::ifstream in(file, std::ios::binary | std::ios::ate);
  if (!in) return nullptr;
  const std::streamoff size = in.tellg();
  if (size <= 0) return nullptr;
  std::string bytes(static_cast<size_t>(size), '\0');
  in.seekg(0);
  if (!in.read(bytes.data(), size)) return nullptr;
  Reader r(bytes);
  char magic[sizeof kMagic];
  std::unique_ptr<SuggestionIndex> index(new SuggestionIndex());
  uint64_t count = 0, foldedUnits = 0, wordUnits = 0;
  if (!r.getArray(magic, sizeof magic) || std::memcmp(magic, kMagic, sizeof magic) != 0)
    return nullptr;
  if (!r.get(index->collation_) || !r.getArray(index->stamp_.sizes.data(), 3) ||
      !r.getArray(index->stamp_.modified.data(), 3) || !r.get(count) || !r.get(foldedUnits) ||
      !r.get(wordUnits)) {
    return nullptr;
  }
  if (!(index->stamp_ == stamp)) return nullptr;
  // Every count is checked against what is left before anything is allocated for it.
  const uint64_t needed = (count + 1) * 8 + count * 4 + (foldedUnits + wordUnits) * 2;
  if (count > UINT32_MAX || needed != bytes.size() - (sizeof kMagic + 4 + 48 + 24)) return nullptr;
  index->foldedStart_.resize(count + 1);
  index->wordStart_.resize(count + 1);
  index->positions_.resize(count);
  index->folded_.resize(foldedUnits);
  index->headwords_.resize(wordUnits);
  r.getArray(index->foldedStart_.data(), count + 1);
  r.getArray(index->wordStart_.data(), count + 1);
  r.getArray(index->positions_.data(), count);
  r.getArray(index->folded_.data(), foldedUnits);
  r.getArray(index->headwords_.data(), wordUnits);
  if (!r.atEnd() || !offsetsFit(index->foldedStart_, foldedUnits) ||
      !offsetsFit(index->wordStart_, wordUnits)) {
    return nullptr;
  }
  return index;
}

bool SuggestionIndex::save(const std::string& file) const {
  std::string out;
  out.append(kMagic, sizeof kMagic);
  put(out, collation_);
  putArray(out, stamp_.sizes.data(), 3);
  putArray(out, stamp_.modified.data(), 3);
  put(out, static_cast<uint64_t>(positions_.size()));
  put(out, static_cast<uint64_t>(folded_.size()));
  put(out, static_cast<uint64_t>(headwords_.size()));
  putArray(out, foldedStart_.data(), foldedStart_.size());
  putArray(out, wordStart_.data(), wordStart_.size());
  putArray(out, positions_.data(), positions_.size());
  putArray(out, folded_.data(), folded_.size());
  putArray(out, headwords_.data(), headwords_.size());
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

size_t SuggestionIndex::endOfPrefix(size_t from, std::u16string_view prefix) const {
  const auto begins = [&](size_t i) { return folded(i).substr(0, prefix.size()) == prefix; };
  // The group below a beginning is usually small: gallop to its end, then halve.
  const size_t n = positions_.size();
  size_t lo = from + 1;
  size_t step = 1;
  while (lo < n && begins(lo)) {
    from = lo;
    lo = from + step;
    step *= 2;
  }
  size_t hi = std::min(lo, n);
  lo = from + 1;
  while (lo < hi) {
    const size_t mid = lo + (hi - lo) / 2;
    if (begins(mid)) {
      lo = mid + 1;
    } else {
      hi = mid;
    }
  }
  return lo;
}

std::vector<Suggestion> SuggestionIndex::suggest(std::u16string_view word, size_t count) const {
  if (word.empty() || word.size() > kLongestWord || count == 0) return {};
  const std::u16string query = WordFolding(collation_).fold(word);
  const size_t m = query.size();
  const int maxDistance = m <= 4 ? 1 : 2;
  // Row k holds the distances between the first k letters of the current word and every
  // beginning of the query. Beyond m + maxDistance + 1 letters every row is too far, so the
  // walk never needs more rows than that.
  const size_t width = m + 1;
  const size_t rowCount = m + static_cast<size_t>(maxDistance) + 3;
  std::vector<uint16_t> rows(rowCount * width);
  std::vector<uint16_t> rowMin(rowCount, 0);
  const size_t reach = static_cast<size_t>(maxDistance);
  const uint16_t tooFar = static_cast<uint16_t>(maxDistance + 1);  // every distance is capped here
  for (size_t j = 0; j <= m; ++j) rows[j] = static_cast<uint16_t>(std::min(j, size_t{tooFar}));

  struct Candidate {
    size_t at;
    int distance;
  };
  std::vector<Candidate> found;
  size_t rowsWord = SIZE_MAX;  // the word whose beginning the valid rows describe
  size_t valid = 0;            // rows 0 .. valid are valid
  size_t i = 0;
  const size_t n = positions_.size();
  while (i < n) {
    const std::u16string_view w = folded(i);
    size_t k = 0;
    if (rowsWord != SIZE_MAX) {
      const std::u16string_view previous = folded(rowsWord);
      const size_t limit = std::min({valid, w.size(), previous.size()});
      while (k < limit && w[k] == previous[k]) ++k;
    }
    rowsWord = i;
    valid = k;
    bool pruned = false;
    for (k = k + 1; k <= w.size(); ++k) {
      uint16_t* row = &rows[k * width];
      const uint16_t* above = row - width;
      const char16_t letter = w[k - 1];
      // Only the band |j - k| <= reach can hold a distance within reach; the cells on either
      // side of it, which the next rows read, say "too far".
      const size_t lo = k > reach ? k - reach : 1;
      const size_t hi = std::min(m, k + reach);
      row[0] = static_cast<uint16_t>(std::min(k, size_t{tooFar}));
      if (lo >= 2) row[lo - 1] = tooFar;
      if (hi + 1 <= m) row[hi + 1] = tooFar;
      uint16_t least = row[0];
      for (size_t j = lo; j <= hi; ++j) {
        uint16_t best = std::min<uint16_t>(above[j] + 1, row[j - 1] + 1);
        best = std::min<uint16_t>(best, above[j - 1] + (letter == query[j - 1] ? 0 : 1));
        if (k >= 2 && j >= 2 && letter == query[j - 2] && w[k - 2] == query[j - 1]) {
          best = std::min<uint16_t>(best, rows[(k - 2) * width + j - 2] + 1);
        }
        best = std::min(best, tooFar);
        row[j] = best;
        least = std::min(least, best);
      }
      rowMin[k] = least;
      valid = k;
      // A transposition reaches two rows back, so both rows must be out of reach.
      if (least > maxDistance && rowMin[k - 1] + 1 > maxDistance) {
        i = endOfPrefix(i, w.substr(0, k));
        pruned = true;
        break;
      }
      if (k + 1 >= rowCount) break;  // cannot happen: the row above was already too far
    }
    if (pruned) continue;
    if (w.size() <= m + reach && m <= w.size() + reach) {
      const int distance = rows[w.size() * width + m];
      if (distance <= maxDistance) found.push_back({i, distance});
    }
    ++i;
  }

  const auto rank = [&](const Candidate& c) {
    const std::u16string_view w = folded(c.at);
    const int firstLetter = !w.empty() && w[0] == query[0] ? 0 : 1;
    const int slip = c.distance == 1 && isTypingSlip(query, w) ? 0 : 1;
    // A letter left out is the commonest slip, a wrong letter the next, one too many the last.
    const int length = w.size() > m ? 0 : (w.size() == m ? 1 : 2);
    return std::tuple(c.distance, firstLetter, slip, length, positions_[c.at]);
  };
  std::sort(found.begin(), found.end(),
            [&](const Candidate& a, const Candidate& b) { return rank(a) < rank(b); });
  std::vector<Suggestion> out;
  for (const Candidate& c : found) {
    if (out.size() == count) break;
    const std::u16string_view h = headword(c.at);
    const bool repeated =
        std::any_of(out.begin(), out.end(), [&](const Suggestion& s) { return s.headword == h; });
    if (!repeated) out.push_back(Suggestion{std::u16string(h), positions_[c.at], c.distance});
  }
  return out;
}

}  // namespace lexora
