#include "lexicon/meaning_search.h"

#include <locale.h>
#include <regex.h>

#include <algorithm>
#include <fstream>
#include <vector>

#include "engine/collation.h"
#include "engine/dictionary.h"
#include "engine/file_format.h"
#include "lexicon/word_folding.h"
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

// The entries in the order their meanings lie in the data file (by block, then offset), read
// from the word table. Reading meanings in this order inflates each block once with the
// reader's one-block cache, however the headwords are sorted. The table is only a hint: when
// it cannot be read the order is simply the entries' own.
std::vector<uint32_t> readingOrder(Dictionary& dictionary) {
  const uint32_t count = dictionary.wordCount();
  std::vector<uint32_t> order(count);
  for (uint32_t i = 0; i < count; ++i) order[i] = i;
  std::ifstream table(fileSetNames(dictionary.dataFileName()).indexFile, std::ios::binary);
  std::vector<uint8_t> bytes(size_t{count} * WORD_RECORD_SIZE);
  table.seekg(WordRecord::fileOffset(0));
  if (!table || !table.read(reinterpret_cast<char*>(bytes.data()),
                            static_cast<std::streamsize>(bytes.size()))) {
    return order;
  }
  std::vector<uint32_t> place(count);
  for (uint32_t i = 0; i < count; ++i) {
    const WordRecord record = WordRecord::decodeFrom(bytes.data() + size_t{i} * WORD_RECORD_SIZE);
    place[i] = (uint32_t{record.block} << 16) | record.offset;
  }
  std::stable_sort(order.begin(), order.end(),
                   [&](uint32_t a, uint32_t b) { return place[a] < place[b]; });
  return order;
}

// Where a meaning matches: its line and the line's number.
struct LineMatch {
  std::u16string line;
  uint32_t lineNumber = 0;
};
using Matcher = std::function<bool(const std::u16string& meaning, LineMatch& match)>;

// Matches every readable meaning, then reports the matches in the order of the headwords.
Status walkEntries(Dictionary& dictionary, const Matcher& matches,
                   const std::function<bool(const MeaningMatch&)>& found) {
  std::vector<std::pair<uint32_t, LineMatch>> hits;
  std::u16string meaning;
  LineMatch match;
  for (const uint32_t position : readingOrder(dictionary)) {
    if (Status s = dictionary.readMeaning(position, meaning); !s.isOk()) {
      if (s.code() == Status::Code::IoError) return s;
      continue;  // empty or unreadable text: nothing to match
    }
    if (matches(meaning, match)) hits.emplace_back(position, std::move(match));
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

class TextSearch : public MeaningSearch {
 public:
  explicit TextSearch(std::u16string_view text) : text_(text) {}

  Status run(Dictionary& dictionary,
             const std::function<bool(const MeaningMatch&)>& found) override {
    const WordFolding folding(dictionary.collation());
    const std::u16string needle = folding.fold(text_);
    std::u16string folded;
    const Matcher matches = [&](const std::u16string& meaning, LineMatch& match) {
      folding.foldInto(meaning, folded);
      const size_t at = folded.find(needle);
      if (at == std::u16string::npos) return false;
      match.line = lineAround(meaning, at, match.lineNumber);
      return true;
    };
    return walkEntries(dictionary, matches, found);
  }

 private:
  std::u16string text_;
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
    const Matcher matches = [&](const std::u16string& meaning, LineMatch& match) {
      utf8 = toUtf8(meaning);
      regmatch_t where[1];
      if (regexec(regex, utf8.c_str(), 1, where, 0) != 0) return false;
      // The match's offset in UTF-16 units: decode the bytes in front of it.
      const size_t at = fromUtf8(std::string_view(utf8).substr(0, where[0].rm_so)).size();
      match.line = lineAround(meaning, std::min(at, meaning.size()), match.lineNumber);
      return true;
    };
    return walkEntries(dictionary, matches, found);
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
                             std::unique_ptr<MeaningSearch>& search) {
  search.reset();
  if (text.empty()) return Status::invalidArgument("the text to search for is empty");
  if (!regex) {
    search = std::make_unique<TextSearch>(text);
    return Status::ok();
  }
  auto compiled = std::make_unique<RegexSearch>(toUtf8(text));
  if (Status s = compiled->compile(true); !s.isOk()) return s;
  search = std::move(compiled);
  return Status::ok();
}

}  // namespace lexora
