#include "lexicon/meaning_search.h"

#include <locale.h>
#include <regex.h>

#include <algorithm>
#include <vector>

#include "engine/collation.h"
#include "engine/dictionary.h"
#include "engine/file_format.h"
#include "engine/full_text_index.h"
#include "engine/meaning_sweep.h"
#include "lexicon/word_folding.h"
#include "util/character_references.h"
#include "util/standard_utf8.h"

namespace lexora {
namespace {

bool isLineEnd(char16_t c) { return c == u'\r' || c == u'\n'; }

// The line of `text` around offset `at`, and its number.
std::u16string_view lineAround(std::u16string_view text, size_t at, uint32_t& number) {
  size_t start = at;
  while (start > 0 && !isLineEnd(text[start - 1])) --start;
  size_t end = at;
  while (end < text.size() && !isLineEnd(text[end])) ++end;
  number = 0;
  for (size_t i = 0; i < start; ++i) {
    if (text[i] == u'\n' || (text[i] == u'\r' && (i + 1 >= start || text[i + 1] != u'\n'))) {
      ++number;
    }
  }
  return text.substr(start, end - start);
}

// The word table when many entries are read, with the entries sorted in the order their
// meanings lie in the data file (by block, then offset): reading meanings in this order
// inflates each block once, however the headwords are sorted. A few entries (what the
// full-text index names) are read as they come, each with its own record (`table` stays
// empty): reading the whole table for them would cost more than it saves.
Status placeEntries(Dictionary& dictionary, uint64_t state, std::vector<uint32_t>& positions,
                    std::vector<WordRecord>& table) {
  constexpr size_t kFewEntries = 512;
  table.clear();
  if (positions.size() <= kFewEntries) return Status::ok();
  if (Status s = dictionary.readWordRecords(table, state); !s.isOk()) return s;
  std::erase_if(positions, [&](uint32_t position) { return position >= table.size(); });
  const auto place = [&](uint32_t i) { return (uint32_t{table[i].block} << 16) | table[i].offset; };
  std::stable_sort(positions.begin(), positions.end(),
                   [&](uint32_t a, uint32_t b) { return place(a) < place(b); });
  return Status::ok();
}

std::vector<uint32_t> allEntries(Dictionary& dictionary) {
  std::vector<uint32_t> all(dictionary.wordCount());
  for (uint32_t i = 0; i < all.size(); ++i) all[i] = i;
  return all;
}

// Where a meaning matches: its line and the line's number.
struct LineMatch {
  std::u16string line;
  uint32_t lineNumber = 0;
};
// Whether a text matches, and where (in UTF-16 units).
using Matcher = std::function<bool(const std::u16string& text, size_t& at)>;

// The meaning as a reader of the page sees it: character references decoded, and the no-break
// spaces and hyphens that join the words of a link read as plain ones, the marks around a
// link's target (U+FFF9, U+FFFB) left out. False when the meaning reads as it is stored; else
// `sources` maps each unit of `readable` to its place in `meaning`.
bool readableText(const std::u16string& meaning, std::u16string& readable,
                  std::vector<size_t>& sources) {
  if (meaning.find_first_of(u"&\u00A0\u2011\uFFF9\uFFFB") == std::u16string::npos) return false;
  readable = decodeCharacterReferences(meaning, &sources);
  size_t kept = 0;
  for (size_t i = 0; i < readable.size(); ++i) {
    char16_t c = readable[i];
    if (c == u'\uFFF9' || c == u'\uFFFB') continue;
    if (c == 0x00A0) c = u' ';
    if (c == 0x2011) c = u'-';
    if (i < sources.size()) sources[kept] = sources[i];
    readable[kept++] = c;
  }
  readable.resize(kept);
  sources.resize(std::min(sources.size(), kept));
  return true;
}

// Matches every readable meaning of the given entries, then reports the matches in the order
// of the headwords.
Status walkEntries(Dictionary& dictionary, std::vector<uint32_t> positions, const Matcher& matches,
                   const std::function<bool(const MeaningMatch&)>& found) {
  std::vector<std::pair<uint32_t, LineMatch>> hits;
  std::u16string meaning;
  std::u16string readable;
  std::vector<size_t> sources;
  // One state of the dictionary, read beside the window's own reads (engine/meaning_sweep.h).
  const uint64_t state = dictionary.state();
  std::vector<WordRecord> table;
  if (Status s = placeEntries(dictionary, state, positions, table); !s.isOk()) return s;
  MeaningSweep sweep(dictionary, state,
                     table.empty() ? MeaningSweep::Order::Scattered : MeaningSweep::Order::InPlace);
  std::vector<WordRecord> one;
  for (const uint32_t position : positions) {
    Status s = table.empty() ? dictionary.readWordRecords(position, 1, one, state) : Status::ok();
    if (s.isOk()) s = sweep.read(position, table.empty() ? one[0] : table[position], meaning);
    if (!s.isOk()) {
      if (s.code() == Status::Code::IoError || s.code() == Status::Code::Busy) return s;
      continue;  // no such entry, empty or unreadable text: nothing to match
    }
    const bool mapped = readableText(meaning, readable, sources);
    size_t at = 0;
    if (!matches(mapped ? readable : meaning, at)) continue;
    if (mapped) at = at < sources.size() ? sources[at] : meaning.size();
    LineMatch match;
    match.line = lineAround(meaning, std::min(at, meaning.size()), match.lineNumber);
    hits.emplace_back(position, std::move(match));
  }
  std::sort(hits.begin(), hits.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<std::u16string> words;
  MeaningMatch report;
  for (auto& [position, hit] : hits) {
    if (Status s = dictionary.readWords(position, 1, words); !s.isOk()) return s;
    report.position = position;
    report.headword = std::move(words[0]);
    report.line = std::move(hit.line);
    report.lineNumber = hit.lineNumber;
    if (!found(report)) break;
  }
  return Status::ok();
}

// The entries the full-text index names for the text (built first when the dictionary has
// none that matches it), or every entry when the index cannot help.
std::vector<uint32_t> textCandidates(Dictionary& dictionary, std::u16string_view text,
                                     bool buildIndex) {
  std::vector<uint32_t> positions;
  Status s = dictionary.findInMeanings(text, positions);
  if (s.code() == Status::Code::NotFound && buildIndex && buildFullTextIndex(dictionary).isOk()) {
    s = dictionary.findInMeanings(text, positions);
  }
  return s.isOk() ? positions : allEntries(dictionary);
}

class TextSearch : public MeaningSearch {
 public:
  TextSearch(std::u16string_view text, bool buildIndex) : text_(text), buildIndex_(buildIndex) {}

  Status run(Dictionary& dictionary,
             const std::function<bool(const MeaningMatch&)>& found) override {
    if (!dictionary.isOpen()) return Status::ok();
    const WordFolding folding(dictionary.collation());
    const std::u16string needle = folding.fold(text_);
    std::u16string folded;
    const Matcher matches = [&](const std::u16string& text, size_t& at) {
      folding.foldInto(text, folded);
      at = folded.find(needle);
      return at != std::u16string::npos;
    };
    return walkEntries(dictionary, textCandidates(dictionary, text_, buildIndex_), matches, found);
  }

 private:
  std::u16string text_;
  bool buildIndex_;
};

// The C.UTF-8 locale for the regular expressions, so that they read UTF-8 whatever the
// process's locale is.
locale_t utf8Locale() {
  static const locale_t locale = [] {
    locale_t l = newlocale(LC_ALL_MASK, "C.UTF-8", static_cast<locale_t>(0));
    if (l == static_cast<locale_t>(0))
      l = newlocale(LC_ALL_MASK, "en_US.UTF-8", static_cast<locale_t>(0));
    return l;
  }();
  return locale;
}

class LocaleScope {
 public:
  LocaleScope() : previous_(utf8Locale() ? uselocale(utf8Locale()) : static_cast<locale_t>(0)) {}
  ~LocaleScope() {
    if (previous_ != static_cast<locale_t>(0)) uselocale(previous_);
  }

 private:
  locale_t previous_;
};

class RegexSearch : public MeaningSearch {
 public:
  explicit RegexSearch(std::string pattern) : pattern_(std::move(pattern)) {}
  ~RegexSearch() override {
    for (Compiled& c : compiled_) {
      if (c.ready) regfree(&c.regex);
    }
  }

  // Compiled once with and once without case, as the dictionaries need them.
  Status compile(bool ignoreCase) {
    Compiled& c = compiled_[ignoreCase ? 1 : 0];
    if (c.ready) return Status::ok();
    LocaleScope scope;
    const int flags = REG_EXTENDED | REG_NEWLINE | (ignoreCase ? REG_ICASE : 0);
    const int status = regcomp(&c.regex, pattern_.c_str(), flags);
    if (status != 0) {
      char message[256];
      regerror(status, &c.regex, message, sizeof message);
      return Status::invalidArgument(std::string("bad regular expression: ") + message);
    }
    c.ready = true;
    return Status::ok();
  }

  Status run(Dictionary& dictionary,
             const std::function<bool(const MeaningMatch&)>& found) override {
    // The Vietnamese, Western European and Russian orders fold case; plain order does not.
    const bool ignoreCase = dictionary.collation() <= kCyrillic;
    if (Status s = compile(ignoreCase); !s.isOk()) return s;
    const regex_t* regex = &compiled_[ignoreCase ? 1 : 0].regex;
    LocaleScope scope;
    std::string utf8;
    const Matcher matches = [&](const std::u16string& text, size_t& at) {
      utf8 = toUtf8(text);
      regmatch_t where[1];
      if (regexec(regex, utf8.c_str(), 1, where, 0) != 0) return false;
      // The match's offset in UTF-16 units: decode the bytes in front of it.
      at = fromUtf8(std::string_view(utf8).substr(0, where[0].rm_so)).size();
      return true;
    };
    return walkEntries(dictionary, allEntries(dictionary), matches, found);
  }

 private:
  struct Compiled {
    regex_t regex{};
    bool ready = false;
  };
  std::string pattern_;
  Compiled compiled_[2];
};

}  // namespace

Status MeaningSearch::create(std::u16string_view text, bool regex,
                             std::unique_ptr<MeaningSearch>& search, bool buildIndex) {
  search.reset();
  if (text.empty()) return Status::invalidArgument("the text to search for is empty");
  if (!regex) {
    search = std::make_unique<TextSearch>(text, buildIndex);
    return Status::ok();
  }
  auto compiled = std::make_unique<RegexSearch>(toUtf8(text));
  if (Status s = compiled->compile(true); !s.isOk()) return s;
  search = std::move(compiled);
  return Status::ok();
}

}  // namespace lexora
