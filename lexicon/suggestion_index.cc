#include "lexicon/suggestion_index.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <numeric>
#include <tuple>

#include "engine/dictionary.h"
#include "lexicon/loose_key.h"
#include "lexicon/word_folding.h"

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
constexpr uint32_t kWordsPerRead = 128;

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

// The rows of the distance table between the beginnings of a word and every beginning of the
// query, filled one letter of the word at a time. Row k describes the first k letters; words
// sharing a beginning share its rows. Every distance is capped one beyond reach.
class DistanceRows {
 public:
  DistanceRows(std::u16string_view query, int maxDistance)
      : query_(query),
        reach_(static_cast<size_t>(maxDistance)),
        tooFar_(static_cast<uint16_t>(maxDistance + 1)),
        width_(query.size() + 1),
        // Beyond m + reach + 1 letters every row is too far: the walk never needs more.
        rowCount_(query.size() + reach_ + 3),
        rows_(rowCount_ * width_),
        rowMin_(rowCount_, 0) {
    for (size_t j = 0; j < width_; ++j)
      rows_[j] = static_cast<uint16_t>(std::min<size_t>(j, tooFar_));
  }

  // Fills row k for the k-th letter of w (rows 0 .. k-1 describe w's beginning). False when
  // no word beginning like w's first k letters can come within reach.
  bool fill(size_t k, std::u16string_view w) {
    if (k + 1 >= rowCount_) return false;  // cannot happen: the row above was already too far
    const size_t m = query_.size();
    uint16_t* row = &rows_[k * width_];
    const uint16_t* above = row - width_;
    const char16_t letter = w[k - 1];
    // Only the band |j - k| <= reach can hold a distance within reach; the cells on either
    // side of it, which the next rows read, say "too far".
    const size_t lo = k > reach_ ? k - reach_ : 1;
    const size_t hi = std::min(m, k + reach_);
    row[0] = static_cast<uint16_t>(std::min<size_t>(k, tooFar_));
    if (lo >= 2) row[lo - 1] = tooFar_;
    if (hi + 1 <= m) row[hi + 1] = tooFar_;
    uint16_t least = row[0];
    for (size_t j = lo; j <= hi; ++j) {
      uint16_t best = std::min<uint16_t>(above[j] + 1, row[j - 1] + 1);
      best = std::min<uint16_t>(best, above[j - 1] + (letter == query_[j - 1] ? 0 : 1));
      if (k >= 2 && j >= 2 && letter == query_[j - 2] && w[k - 2] == query_[j - 1]) {
        best = std::min<uint16_t>(best, rows_[(k - 2) * width_ + j - 2] + 1);
      }
      row[j] = std::min(best, tooFar_);
      least = std::min(least, row[j]);
    }
    rowMin_[k] = least;
    // A transposition reaches two rows back, so both rows must be out of reach.
    return least < tooFar_ || rowMin_[k - 1] < reach_;
  }

  // The distance between the query and a word of `length` letters whose rows are filled.
  int distanceOf(size_t length) const {
    const size_t m = query_.size();
    if (length > m + reach_ || m > length + reach_) return tooFar_;
    return rows_[length * width_ + m];
  }

 private:
  std::u16string_view query_;
  size_t reach_;
  uint16_t tooFar_;
  size_t width_;
  size_t rowCount_;
  std::vector<uint16_t> rows_;
  std::vector<uint16_t> rowMin_;
};

// Insertions, deletions and substitutions between two short texts.
int editDistance(std::u16string_view a, std::u16string_view b) {
  std::vector<int> row(b.size() + 1);
  std::iota(row.begin(), row.end(), 0);
  for (size_t i = 1; i <= a.size(); ++i) {
    int diagonal = row[0];
    row[0] = static_cast<int>(i);
    for (size_t j = 1; j <= b.size(); ++j) {
      const int above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
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
  index->sortByLooseKey();
  return index;
}

void SuggestionIndex::sortByLooseKey() {
  const size_t n = positions_.size();
  std::vector<std::u16string> keys(n);
  for (size_t i = 0; i < n; ++i) looseKeyInto(headword(i), keys[i]);
  looseOrder_.resize(n);
  std::iota(looseOrder_.begin(), looseOrder_.end(), 0u);
  std::stable_sort(looseOrder_.begin(), looseOrder_.end(),
                   [&](uint32_t a, uint32_t b) { return keys[a] < keys[b]; });
  loose_.clear();
  looseStart_.assign(1, 0);
  for (uint32_t i : looseOrder_) {
    loose_ += keys[i];
    looseStart_.push_back(static_cast<uint32_t>(loose_.size()));
  }
}

std::vector<Suggestion> SuggestionIndex::variants(std::u16string_view word, size_t count) const {
  if (word.size() > kLongestWord || looseStart_.size() != positions_.size() + 1) return {};
  const std::u16string key = looseKey(word);
  if (key.empty()) return {};
  size_t lo = 0;
  size_t hi = looseOrder_.size();
  while (lo < hi) {
    const size_t mid = lo + (hi - lo) / 2;
    if (looseKeyAt(mid) < key) {
      lo = mid + 1;
    } else {
      hi = mid;
    }
  }
  const WordFolding folding(collation_);
  const std::u16string typed = folding.fold(word);
  std::vector<Candidate> found;
  for (size_t r = lo; r < looseOrder_.size() && looseKeyAt(r) == key; ++r) {
    const size_t at = looseOrder_[r];
    found.push_back({at, editDistance(typed, folded(at))});
  }
  std::stable_sort(found.begin(), found.end(), [&](const Candidate& a, const Candidate& b) {
    return std::tie(a.distance, positions_[a.at]) < std::tie(b.distance, positions_[b.at]);
  });
  return suggestionsOf(found, count);
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
  foldedStart_.resize(count + 1);
  wordStart_.resize(count + 1);
  positions_.resize(count);
  folded_.resize(foldedUnits);
  headwords_.resize(wordUnits);
  looseStart_.resize(count + 1);
  looseOrder_.resize(count);
  loose_.resize(looseUnits);
  r.getArray(foldedStart_.data(), count + 1);
  r.getArray(wordStart_.data(), count + 1);
  r.getArray(positions_.data(), count);
  r.getArray(folded_.data(), foldedUnits);
  r.getArray(headwords_.data(), wordUnits);
  r.getArray(looseStart_.data(), count + 1);
  r.getArray(looseOrder_.data(), count);
  r.getArray(loose_.data(), looseUnits);
  const bool ordersFit =
      std::all_of(looseOrder_.begin(), looseOrder_.end(), [&](uint32_t at) { return at < count; });
  return r.atEnd() && ordersFit && offsetsFit(foldedStart_, foldedUnits) &&
         offsetsFit(wordStart_, wordUnits) && offsetsFit(looseStart_, looseUnits);
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
  put(out, static_cast<uint64_t>(loose_.size()));
  putArray(out, foldedStart_.data(), foldedStart_.size());
  putArray(out, wordStart_.data(), wordStart_.size());
  putArray(out, positions_.data(), positions_.size());
  putArray(out, folded_.data(), folded_.size());
  putArray(out, headwords_.data(), headwords_.size());
  putArray(out, looseStart_.data(), looseStart_.size());
  putArray(out, looseOrder_.data(), looseOrder_.size());
  putArray(out, loose_.data(), loose_.size());
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
  std::vector<Candidate> found = candidatesWithin(query, query.size() <= 4 ? 1 : 2);
  const auto rank = [&](const Candidate& c) {
    const std::u16string_view w = folded(c.at);
    const size_t m = query.size();
    const int firstLetter = !w.empty() && w[0] == query[0] ? 0 : 1;
    const int slip = c.distance == 1 && isTypingSlip(query, w) ? 0 : 1;
    // A letter left out is the commonest slip, a wrong letter the next, one too many the last.
    const int length = w.size() > m ? 0 : (w.size() == m ? 1 : 2);
    return std::tuple(c.distance, firstLetter, slip, length, positions_[c.at]);
  };
  std::sort(found.begin(), found.end(),
            [&](const Candidate& a, const Candidate& b) { return rank(a) < rank(b); });
  return suggestionsOf(found, count);
}

std::vector<Suggestion> SuggestionIndex::suggestionsOf(const std::vector<Candidate>& ranked,
                                                       size_t count) const {
  std::vector<Suggestion> out;
  for (const Candidate& c : ranked) {
    if (out.size() == count) break;
    const std::u16string_view h = headword(c.at);
    const bool repeated =
        std::any_of(out.begin(), out.end(), [&](const Suggestion& s) { return s.headword == h; });
    if (!repeated) out.push_back(Suggestion{std::u16string(h), positions_[c.at], c.distance});
  }
  return out;
}

std::vector<SuggestionIndex::Candidate> SuggestionIndex::candidatesWithin(std::u16string_view query,
                                                                          int maxDistance) const {
  DistanceRows rows(query, maxDistance);
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
      valid = k;
      if (rows.fill(k, w)) continue;
      i = endOfPrefix(i, w.substr(0, k));
      pruned = true;
      break;
    }
    if (pruned) continue;
    const int distance = rows.distanceOf(w.size());
    if (distance <= maxDistance) found.push_back({i, distance});
    ++i;
  }
  return found;
}

}  // namespace lexora
