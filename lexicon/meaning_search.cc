#include "lexicon/meaning_search.h"

#include <locale.h>
#include <regex.h>

#include <algorithm>
#include <vector>

#include "engine/collation.h"
#include "engine/dictionary.h"
#include "engine/file_format.h"
#include "lexicon/word_folding.h"
#include "util/standard_utf8.h"

namespace lexora {
namespace {

// Meanings are read in order; keep the decompressed blocks of a whole dictionary so that
// entries whose meanings were written out of order do not inflate a block twice.
constexpr size_t kRetainedBytes = size_t{BLOCK_SLOTS} * CACHE_SIZE;

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

// Walks the meanings in index order, handing each readable one on; the headword is read only
// for the entries that match.
class EntryWalk {
 public:
  // Returns false to stop the walk; `headword` reads the current entry's headword.
  using Visit = std::function<bool(uint32_t, const std::u16string&,
                                   const std::function<std::u16string()>& headword)>;

  static bool run(Dictionary& dictionary, const Visit& visit, std::string& why) {
    dictionary.retainDecompressedBlocks(kRetainedBytes);
    const uint32_t count = dictionary.wordCount();
    std::vector<std::u16string> words;
    std::u16string meaning;
    bool ok = true;
    bool headwordFailed = false;
    uint32_t current = 0;
    const std::function<std::u16string()> headword = [&]() -> std::u16string {
      if (dictionary.readWords(current, 1, words) != 1) {
        headwordFailed = true;
        return {};
      }
      return words[0];
    };
    for (current = 0; current < count; ++current) {
      if (!dictionary.readMeaning(current, meaning)) {
        if (dictionary.lastIoFailed()) {
          why = "cannot read the entry at position " + std::to_string(current);
          ok = false;
          break;
        }
        continue;  // empty or unreadable text: nothing to match
      }
      const bool goOn = visit(current, meaning, headword);
      if (headwordFailed) {
        why = "cannot read the headword at position " + std::to_string(current);
        ok = false;
        break;
      }
      if (!goOn) break;
    }
    dictionary.retainDecompressedBlocks(0);
    return ok;
  }
};

class TextSearch : public MeaningSearch {
 public:
  explicit TextSearch(std::u16string_view text) : text_(text) {}

  bool run(Dictionary& dictionary, const std::function<bool(const MeaningMatch&)>& found,
           std::string& why) override {
    const WordFolding folding(dictionary.collation());
    const std::u16string needle = folding.fold(text_);
    std::u16string folded;
    MeaningMatch match;
    return EntryWalk::run(
        dictionary,
        [&](uint32_t position, const std::u16string& meaning, const auto& headword) {
          folding.foldInto(meaning, folded);
          const size_t at = folded.find(needle);
          if (at == std::u16string::npos) return true;
          match.position = position;
          match.headword = headword();
          match.line = lineAround(meaning, at, match.lineNumber);
          return found(match);
        },
        why);
  }

 private:
  std::u16string text_;
};

// The C.UTF-8 locale for the regular expressions, so that they read UTF-8 whatever the
// process's locale is.
locale_t utf8Locale() {
  static const locale_t locale = [] {
    locale_t l = newlocale(LC_ALL_MASK, "C.UTF-8", static_cast<locale_t>(0));
    if (l == static_cast<locale_t>(0)) l = newlocale(LC_ALL_MASK, "en_US.UTF-8", static_cast<locale_t>(0));
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
  bool compile(bool ignoreCase, std::string& why) {
    Compiled& c = compiled_[ignoreCase ? 1 : 0];
    if (c.ready) return true;
    LocaleScope scope;
    const int flags = REG_EXTENDED | REG_NEWLINE | (ignoreCase ? REG_ICASE : 0);
    const int status = regcomp(&c.regex, pattern_.c_str(), flags);
    if (status != 0) {
      char message[256];
      regerror(status, &c.regex, message, sizeof message);
      why = std::string("bad regular expression: ") + message;
      return false;
    }
    c.ready = true;
    return true;
  }

  bool run(Dictionary& dictionary, const std::function<bool(const MeaningMatch&)>& found,
           std::string& why) override {
    // The Vietnamese, Western European and Russian orders fold case; plain order does not.
    const bool ignoreCase = dictionary.collation() <= kCyrillic;
    if (!compile(ignoreCase, why)) return false;
    const regex_t* regex = &compiled_[ignoreCase ? 1 : 0].regex;
    LocaleScope scope;
    MeaningMatch match;
    std::string utf8;
    return EntryWalk::run(
        dictionary,
        [&](uint32_t position, const std::u16string& meaning, const auto& headword) {
          utf8 = toUtf8(meaning);
          regmatch_t where[1];
          if (regexec(regex, utf8.c_str(), 1, where, 0) != 0) return true;
          // The match's offset in UTF-16 units: decode the bytes in front of it.
          const size_t at = fromUtf8(std::string_view(utf8).substr(0, where[0].rm_so)).size();
          match.position = position;
          match.headword = headword();
          match.line = lineAround(meaning, std::min(at, meaning.size()), match.lineNumber);
          return found(match);
        },
        why);
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

std::unique_ptr<MeaningSearch> MeaningSearch::create(std::u16string_view text, bool regex,
                                                     std::string& why) {
  if (text.empty()) {
    why = "the text to search for is empty";
    return nullptr;
  }
  if (!regex) return std::make_unique<TextSearch>(text);
  auto search = std::make_unique<RegexSearch>(toUtf8(text));
  if (!search->compile(true, why)) return nullptr;
  return search;
}

}  // namespace lexora
