#include "lexicon/suggestion_index.h"

#include <algorithm>
#include <iterator>
#include <numeric>
#include <tuple>

#include "engine/dictionary.h"
#include "lexicon/loose_key.h"
#include "lexicon/word_folding.h"

namespace lexora {

namespace {

constexpr uint32_t kWordsPerRead = 128;

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
  index->viewStorage();
  index->sortByLooseKey();
  index->viewStorage();
  return index;
}

void SuggestionIndex::viewStorage() {
  const Storage& s = storage_;
  tables_ = Tables{s.foldedStart, s.wordStart, s.positions, s.looseStart,
                   s.looseOrder,  s.folded,    s.headwords, s.loose};
}

void SuggestionIndex::sortByLooseKey() {
  const size_t n = size();
  std::vector<std::u16string> keys(n);
  for (size_t i = 0; i < n; ++i) looseKeyInto(headword(i), keys[i]);
  Storage& s = storage_;
  s.looseOrder.resize(n);
  std::iota(s.looseOrder.begin(), s.looseOrder.end(), 0u);
  std::stable_sort(s.looseOrder.begin(), s.looseOrder.end(),
                   [&](uint32_t a, uint32_t b) { return keys[a] < keys[b]; });
  s.loose.clear();
  s.looseStart.assign(1, 0);
  for (uint32_t i : s.looseOrder) {
    s.loose += keys[i];
    s.looseStart.push_back(static_cast<uint32_t>(s.loose.size()));
  }
}

std::vector<Suggestion> SuggestionIndex::variants(std::u16string_view word, size_t count) const {
  const size_t n = size();
  if (word.size() > kLongestWord || tables_.looseStart.size() != n + 1) return {};
  const std::u16string key = looseKey(word);
  if (key.empty()) return {};
  size_t lo = 0;
  size_t hi = n;
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
  // No word has thousands of spellings that differ only in accents and case; a forged file's
  // run of equal keys ends here rather than costing a distance for each.
  constexpr size_t kMostVariants = 4096;
  for (size_t r = lo; r < n && r - lo < kMostVariants && looseKeyAt(r) == key; ++r) {
    const size_t at = tables_.looseOrder[r];
    if (at < n) found.push_back({at, editDistance(typed, folded(at))});
  }
  const std::span<const uint32_t> positions = tables_.positions;
  std::stable_sort(found.begin(), found.end(), [&](const Candidate& a, const Candidate& b) {
    return std::tie(a.distance, positions[a.at]) < std::tie(b.distance, positions[b.at]);
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
  Storage& s = storage_;
  s.folded.clear();
  s.headwords.clear();
  s.foldedStart.assign(1, 0);
  s.wordStart.assign(1, 0);
  s.positions.clear();
  for (uint32_t i : order) {
    s.folded += folded[i];
    s.headwords += words[i];
    s.foldedStart.push_back(static_cast<uint32_t>(s.folded.size()));
    s.wordStart.push_back(static_cast<uint32_t>(s.headwords.size()));
    s.positions.push_back(i);
  }
}

size_t SuggestionIndex::endOfPrefix(size_t from, std::u16string_view prefix) const {
  const auto begins = [&](size_t i) { return folded(i).substr(0, prefix.size()) == prefix; };
  // The group below a beginning is usually small: gallop to its end, then halve.
  const size_t n = size();
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
    return std::tuple(c.distance, firstLetter, slip, length, tables_.positions[c.at]);
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
    const uint32_t position = tables_.positions[c.at];
    // A damaged file's word that is empty or stands for no word of the dictionary is left out.
    if (h.empty() || position >= size()) continue;
    const bool repeated =
        std::any_of(out.begin(), out.end(), [&](const Suggestion& s) { return s.headword == h; });
    if (!repeated) out.push_back(Suggestion{std::u16string(h), position, c.distance});
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
  const size_t n = size();
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
