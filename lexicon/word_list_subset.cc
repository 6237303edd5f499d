#include "lexicon/word_list_subset.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "util/text_file.h"

namespace lexora {
namespace {

// Case folded code points, so that every case Hunspell tries for a word meets the stem's: the
// simple lower case, with the sharp s as "ss" (German words in capitals spell it so) and the
// final sigma as sigma. With `stemOnly`, stops where a word list's stem ends (a slash, a tab, a
// space, a carriage return); returns where it stopped.
size_t foldInto(std::string_view text, std::u32string& out, bool stemOnly = false) {
  out.clear();
  const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
  const auto length = static_cast<int32_t>(text.size());
  int32_t at = 0;
  while (at < length) {
    if (bytes[at] < 0x80) {
      const uint8_t c = bytes[at];
      if (stemOnly && (c == '/' || c == '\t' || c == ' ' || c == '\r')) break;
      out.push_back(c >= 'A' && c <= 'Z' ? c + 32u : c);
      ++at;
      continue;
    }
    UChar32 c = 0;
    U8_NEXT(bytes, at, length, c);
    if (c < 0) c = 0xFFFD;
    if (c == 0xDF || c == 0x1E9E) {
      out.append(U"ss");
    } else {
      out.push_back(c == 0x3C2 ? U'\u03C3' : static_cast<char32_t>(u_tolower(c)));
    }
  }
  return static_cast<size_t>(at);
}

int foldedLength(std::string_view text) {
  std::u32string folded;
  foldInto(text, folded);
  return static_cast<int>(folded.size());
}

bool isCount(std::string_view field) {
  return !field.empty() &&
         std::all_of(field.begin(), field.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool startsWith(std::string_view text, std::string_view start) {
  return text.substr(0, start.size()) == start;
}

// The letters an affix rule line strips ("PFX A 0 re ." strips none), 0 for a block's header.
int stripOf(const std::vector<std::string_view>& fields) {
  if (fields.size() < 4) return 0;
  const bool header = (fields[2] == "Y" || fields[2] == "N") && isCount(fields[3]);
  if (header || fields[2] == "0") return 0;
  return foldedLength(fields[2]);
}

struct AffixScan {
  bool utf8 = false;
  bool unsupported = false;
  bool tripleSimplified = false;
  int prefixStrip = 0;
  int suffixStrip = 0;
  std::string inputConversions;

  void take(const std::vector<std::string_view>& f) {
    const std::string_view key = f[0];
    if (key == "SET") utf8 = f.size() > 1 && (f[1] == "UTF-8" || f[1] == "utf-8");
    if (key == "IGNORE" || key == "CHECKCOMPOUNDPATTERN" || key == "CHECKCOMPOUNDREP")
      unsupported = true;
    if (key == "LANG" && f.size() > 1 &&
        (startsWith(f[1], "tr") || startsWith(f[1], "az") || startsWith(f[1], "crh")))
      unsupported = true;
    if (key == "ICONV" && f.size() > 2) inputConversions.append(f[1]).push_back('\n');
    if (key == "SIMPLIFIEDTRIPLE") tripleSimplified = true;
    if (key == "PFX") prefixStrip = std::max(prefixStrip, stripOf(f));
    if (key == "SFX") suffixStrip = std::max(suffixStrip, stripOf(f));
  }
};

bool usesInputConversion(std::string_view word, std::string_view conversions) {
  size_t at = 0;
  while (at < conversions.size()) {
    const size_t end = conversions.find('\n', at);
    if (word.find(conversions.substr(at, end - at)) != std::string_view::npos) return true;
    at = end + 1;
  }
  return false;
}

bool isStemEnd(uint8_t c) { return c == '/' || c == '\t' || c == ' ' || c == '\r'; }

// Whether a word list's line can take part in checking the word. The stem is judged, or its
// beginning: Hunspell's ends at an unescaped slash or at the description, and judging a
// beginning keeps at least what judging the whole would.
class StemReach {
 public:
  StemReach(std::string_view word, const AffixReach& reach)
      : front_(static_cast<size_t>(reach.prefixStrip)),
        back_(static_cast<size_t>(reach.suffixStrip)) {
    foldInto(word, word_);
    for (char32_t c : word_) {
      if (c < 0x80) inWord_[c] = true;
    }
  }

  bool keeps(std::string_view line) const {
    // Most stems are ASCII: a letter of the core that the word lacks rules them out unfolded.
    size_t end = 0;
    while (end < line.size() && !isStemEnd(static_cast<uint8_t>(line[end]))) {
      if (static_cast<uint8_t>(line[end]) >= 0x80) return foldedKeeps(line);
      ++end;
    }
    if (end <= front_ + back_) return true;
    for (size_t i = front_; i < end - back_; ++i) {
      const auto c = static_cast<uint8_t>(line[i]);
      if (!inWord_[c >= 'A' && c <= 'Z' ? c + 32 : c]) return false;
    }
    return foldedKeeps(line);
  }

 private:
  bool foldedKeeps(std::string_view line) const {
    foldInto(line, stem_, /*stemOnly=*/true);
    if (stem_.size() <= front_ + back_) return true;
    const std::u32string_view core =
        std::u32string_view(stem_).substr(front_, stem_.size() - front_ - back_);
    return word_.find(core) != std::u32string::npos;
  }

  size_t front_;
  size_t back_;
  std::u32string word_;
  std::array<bool, 128> inWord_{};
  mutable std::u32string stem_;
};

}  // namespace

AffixReach readAffixReach(std::string_view affText) {
  if (startsWith(affText, "\xEF\xBB\xBF")) affText.remove_prefix(3);
  AffixScan scan;
  size_t at = 0;
  while (at < affText.size()) {
    const size_t end = std::min(affText.find('\n', at), affText.size());
    const std::vector<std::string_view> fields = textFields(affText.substr(at, end - at));
    if (!fields.empty()) scan.take(fields);
    at = end + 1;
  }
  AffixReach reach;
  reach.subsetAllowed = scan.utf8 && !scan.unsupported;
  // Two affixes may stand on one side of a stem (twofold suffixes, complex prefixes).
  const int triple = scan.tripleSimplified ? 1 : 0;
  reach.prefixStrip = 2 * scan.prefixStrip + triple;
  reach.suffixStrip = 2 * scan.suffixStrip + triple;
  reach.inputConversions = std::move(scan.inputConversions);
  return reach;
}

std::optional<std::string> wordListSubset(std::string_view dicText, std::string_view word,
                                          const AffixReach& reach) {
  if (!reach.subsetAllowed || usesInputConversion(word, reach.inputConversions))
    return std::nullopt;
  if (startsWith(dicText, "\xEF\xBB\xBF")) dicText.remove_prefix(3);
  const StemReach stems(word, reach);
  std::string lines;
  size_t kept = 0;
  size_t at = std::min(dicText.find('\n'), dicText.size()) + 1;  // past the count line
  while (at < dicText.size()) {
    const size_t end = std::min(dicText.find('\n', at), dicText.size());
    const std::string_view line = dicText.substr(at, end - at);
    at = end + 1;
    if (!stems.keeps(line)) continue;
    lines.append(line).push_back('\n');
    ++kept;
  }
  return std::to_string(kept) + "\n" + lines;
}

}  // namespace lexora
