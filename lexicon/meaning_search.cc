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
// Whether a text matches, and where (in UTF-16 units).
using Matcher = std::function<bool(const std::u16string& text, size_t& at)>;

// The meaning as a reader of the page sees it: character references decoded, and the no-break
// spaces and hyphens that join the words of a link read as plain ones. False when the meaning
// reads as it is stored; else `sources` maps each unit of `readable` to its place in `meaning`.
bool readableText(const std::u16string& meaning, std::u16string& readable,
                  std::vector<size_t>& sources) {
  if (meaning.find_first_of(u"&\u00A0\u2011") == std::u16string::npos) return false;
  readable = decodeCharacterReferences(meaning, &sources);
  for (char16_t& c : readable) {
    if (c == 0x00A0) c = u' ';
    if (c == 0x2011) c = u'-';
  }
  return true;
}

// Matches every readable meaning, then reports the matches in the order of the headwords.
Status walkEntries(Dictionary& dictionary, const Matcher& matches,
                   const std::function<bool(const MeaningMatch&)>& found) {
  std::vector<std::pair<uint32_t, LineMatch>> hits;
  std::u16string meaning;
  std::u16string readable;
  std::vector<size_t> sources;
  LineMatch match;
  for (const uint32_t position : readingOrder(dictionary)) {
    if (Status s = dictionary.readMeaning(position, meaning); !s.isOk()) {
      if (s.code() == Status::Code::IoError) return s;
      continue;  // empty or unreadable text: nothing to match
    }
    const bool mapped = readableText(meaning, readable, sources);
    size_t at = 0;
    if (!matches(mapped ? readable : meaning, at)) continue;
    if (mapped) at = at < sources.size() ? sources[at] : meaning.size();
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

class TextSearch : public MeaningSearch {
 public:
  explicit TextSearch(std::u16string_view text) : text_(text) {}

  Status run(Dictionary& dictionary,
             const std::function<bool(const MeaningMatch&)>& found) override {
    const WordFolding folding(dictionary.collation());
    const std::u16string needle = folding.fold(text_);
    std::u16string folded;
    const Matcher matches = [&](const std::u16string& text, size_t& at) {
      folding.foldInto(text, folded);
      at = folded.find(needle);
      return at != std::u16string::npos;
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
    const Matcher matches = [&](const std::u16string& text, size_t& at) {
      utf8 = toUtf8(text);
      regmatch_t where[1];
      if (regexec(regex, utf8.c_str(), 1, where, 0) != 0) return false;
      // The match's offset in UTF-16 units: decode the bytes in front of it.
      at = fromUtf8(std::string_view(utf8).substr(0, where[0].rm_so)).size();
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
