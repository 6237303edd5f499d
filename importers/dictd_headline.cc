#include "importers/dictd_headline.h"

#include <cctype>

#include "importers/gcide_notation.h"
#include "importers/source_outline.h"
#include "util/standard_utf8.h"

namespace lexora::importers {
namespace {

using namespace dictd_text;

const char* wordNetClass(std::string_view tag) {
  if (tag == "n") return "noun";
  if (tag == "v") return "verb";
  if (tag == "adj" || tag == "a" || tag == "s") return "adjective";
  if (tag == "adv" || tag == "r") return "adverb";
  return nullptr;
}

// WordNet's "n 1: ", "v : ".
std::optional<DictdSenseStart> wordNetSenseStart(std::string_view t) {
  size_t letters = 0;
  while (letters < t.size() && std::islower(static_cast<unsigned char>(t[letters]))) ++letters;
  if (letters == 0 || letters >= t.size() || t[letters] != ' ') return std::nullopt;
  const char* cls = wordNetClass(t.substr(0, letters));
  if (cls == nullptr) return std::nullopt;
  size_t k = letters + 1;
  while (k < t.size() && std::isdigit(static_cast<unsigned char>(t[k]))) ++k;
  // "n : gloss" for a word with one sense, "n 1: gloss" otherwise.
  if (k >= t.size() || t[k] != ':') return std::nullopt;
  DictdSenseStart s;
  s.wordClass = cls;
  ++k;
  while (k < t.size() && t[k] == ' ') ++k;
  s.length = k;
  return s;
}

// Takes "(...)" with nested brackets off the front of s; what it held, or nullopt.
std::optional<std::string_view> takeParenthesised(std::string_view& s) {
  if (s.empty() || s.front() != '(') return std::nullopt;
  int depth = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '(') ++depth;
    if (s[i] == ')' && --depth == 0) {
      const std::string_view inside = s.substr(1, i - 1);
      s = trim(s.substr(i + 1));
      return inside;
    }
  }
  return std::nullopt;
}

// gcide's headline runs on while a bracket is open; returns it joined.
std::string joinGcideHeadline(const std::vector<Line>& lines, size_t first, size_t& bodyStart) {
  std::string joined(lines[first].text);
  int depth = 0;
  auto count = [&](std::string_view t) {
    for (char c : t) depth += c == '[' ? 1 : c == ']' ? -1 : 0;
  };
  count(lines[first].text);
  bodyStart = first + 1;
  while (depth > 0 && bodyStart < lines.size() && !lines[bodyStart].text.empty() &&
         !dictdSenseStart(lines[bodyStart].text, DictdShape::Gcide)) {
    appendJoined(joined, lines[bodyStart].text);
    count(lines[bodyStart].text);
    ++bodyStart;
  }
  return joined;
}

// gcide: "Ransom \Ran"som\ (r[a^]n"s[u^]m), n. [...]". The respelling in brackets is the
// pronunciation; without one, the syllabified word is, when it marks a stress.
bool readGcidePronunciation(std::string_view headword, std::string_view& rest, DictdHeadline& h) {
  const size_t slash = rest.find('\\');
  if (slash == std::string_view::npos) {
    // No pronunciation: the word runs to the first comma.
    const size_t comma = rest.find(',');
    if (comma == std::string_view::npos && !startsWithFolded(rest, headword)) return false;
    rest = comma == std::string_view::npos ? std::string_view() : trim(rest.substr(comma + 1));
    return true;
  }
  rest = rest.substr(slash);
  const size_t end = rest.find('\\', 1);
  if (end == std::string_view::npos) return true;
  const std::string_view syllables = rest.substr(1, end - 1);
  rest = trim(rest.substr(end + 1));
  if (const auto respelling = takeParenthesised(rest)) {
    h.pronunciation = gcidePronunciation(trim(*respelling));
    h.respelled = true;
  } else if (syllables.find_first_of("\"`") != std::string_view::npos) {
    h.pronunciation = gcidePronunciation(trim(syllables));
  }
  return true;
}

// Other shapes: "word /pron/ <class>", "word [pron], class".
bool readOtherPronunciation(std::string_view line, std::string_view headword,
                            std::string_view& rest, DictdHeadline& h) {
  if (!startsWithFolded(line, headword)) return false;
  rest = line.substr(headword.size());
  if (!rest.empty() && std::string_view(" ,/\\[(<").find(rest.front()) == std::string_view::npos)
    return false;  // the line only starts with the same letters
  rest = trim(rest);
  if (!rest.empty() && (rest.front() == '\\' || rest.front() == '/' || rest.front() == '[')) {
    const char close = rest.front() == '[' ? ']' : rest.front();
    const size_t end = rest.find(close, 1);
    if (end != std::string_view::npos) {
      h.pronunciation = std::string(trim(rest.substr(1, end - 1)));
      rest = trim(rest.substr(end + 1));
    }
  }
  return true;
}

void readWordClass(std::string_view rest, DictdHeadline& h) {
  if (!rest.empty() && rest.front() == ',') rest = trim(rest.substr(1));
  if (!rest.empty() && rest.front() == '<') {
    const size_t end = rest.find('>');
    if (end != std::string_view::npos) {
      h.wordClass = std::string(trim(rest.substr(1, end - 1)));
      rest = trim(rest.substr(end + 1));
    }
  } else if (!rest.empty()) {
    size_t end = rest.find_first_of("[({");
    if (end == std::string_view::npos) end = rest.size();
    std::string_view cls = trim(rest.substr(0, end));
    while (!cls.empty() && (cls.back() == ',' || cls.back() == ';'))
      cls = trim(cls.substr(0, cls.size() - 1));
    if (!cls.empty() && cls.size() <= 40) {
      h.wordClass = std::string(cls);
      rest = trim(rest.substr(end));
    }
  }
  h.rest = std::string(rest);
}

// The Jargon File puts the pronunciation and word class on the line under the word:
// " /kruhfts'm@n·ship /, n." or " n.".
void readSecondLine(const std::vector<Line>& lines, DictdHeadline& h) {
  if (h.bodyStart >= lines.size()) return;
  std::string_view line = lines[h.bodyStart].text;
  if (line.size() >= 2 && line.front() == '/') {  // "//": no pronunciation given
    const size_t end = line.find('/', 1);
    if (end == std::string_view::npos) return;
    h.pronunciation = std::string(trim(line.substr(1, end - 1)));
    line = trim(line.substr(end + 1));
    if (!line.empty() && line.front() == ',') line = trim(line.substr(1));
  } else if (!looksLikeWordClass(line)) {
    return;
  }
  h.wordClass = std::string(line);
  ++h.bodyStart;
}

// foldoc's "American Standard Code for Information Interchange\nASCII": the word on a line of
// its own under the first; the other names are the headline's rest.
std::optional<DictdHeadline> readOtherNames(const std::vector<Line>& lines, size_t first,
                                            std::string_view headword) {
  size_t end = first;
  bool named = false;
  while (end < lines.size() && !lines[end].text.empty()) {
    named = named || (lines[end].text.size() == headword.size() &&
                      startsWithFolded(lines[end].text, headword));
    ++end;
  }
  if (!named) return std::nullopt;
  DictdHeadline h;
  for (size_t i = first; i < end; ++i) {
    const std::string_view name = lines[i].text;
    if (name.size() == headword.size() && startsWithFolded(name, headword)) continue;
    if (!h.rest.empty()) h.rest += ", ";
    h.rest += name;
  }
  h.bodyStart = end;
  return h;
}

// Lower case for comparing spellings: ASCII, Latin-1, Greek and Cyrillic capitals.
char16_t lowerLetter(char16_t c) {
  if ((c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7) ||
      (c >= 0x391 && c <= 0x3A9) || (c >= 0x410 && c <= 0x42F))
    return static_cast<char16_t>(c + 32);
  // Latin Extended-A pairs a capital with the small letter after it ("Œ" "œ").
  const bool evenCapital = (c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177);
  const bool oddCapital = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
  if ((evenCapital && c % 2 == 0) || (oddCapital && c % 2 == 1))
    return static_cast<char16_t>(c + 1);
  return c;
}

bool isWordCharacter(char16_t c) {
  if (c < 0x80) return std::isalnum(static_cast<unsigned char>(c)) != 0;
  return c != 0xA0 && !(c >= 0x2000 && c <= 0x206F);  // not a space or general punctuation
}

// The start of `line` that spells `key` when case, blanks and punctuation are not counted;
// empty when the line does not start with the key.
std::u16string spelledPrefix(std::u16string_view key, std::u16string_view line) {
  size_t i = 0;
  size_t j = 0;
  while (j < key.size()) {
    if (i < line.size() && lowerLetter(line[i]) == lowerLetter(key[j])) {
      ++i;
      ++j;
    } else if (i < line.size() && !isWordCharacter(line[i])) {
      ++i;
    } else if (!isWordCharacter(key[j])) {
      ++j;
    } else {
      return {};
    }
  }
  if (i < line.size() && isWordCharacter(line[i]) && i > 0 && isWordCharacter(line[i - 1]))
    return {};  // the line's word goes on
  std::u16string_view spelled = line.substr(0, i);
  while (!spelled.empty() && spelled.back() == u' ') spelled.remove_suffix(1);
  return std::u16string(spelled);
}

// FreeDict spells a headword with marks that its key leaves out at the end ("'Der Wanderer über
// dem Nebelmeer'", "…, wenn dafür …"): `spelled` with the runs of marks after it, when the
// pronunciation or word class follows them.
std::u16string withTrailingMarks(const std::u16string& spelled, std::u16string_view line) {
  size_t end = spelled.size();
  while (true) {
    size_t k = end < line.size() && line[end] == u' ' ? end + 1 : end;
    const size_t start = k;
    if (k < line.size() &&
        std::u16string_view(u"/<[({\\,").find(line[k]) != std::u16string_view::npos)
      break;
    while (k < line.size() && line[k] != u' ' && !isWordCharacter(line[k])) ++k;
    if (k == start) break;
    end = k;
  }
  const std::u16string_view after = line.substr(end);
  for (std::u16string_view next : {u"", u" /", u" <", u" ["}) {
    if (after.substr(0, next.size()) == next && (!next.empty() || after.empty()))
      return std::u16string(line.substr(0, end));
  }
  return spelled;
}

// gcide: the word between backslashes that spells the key ("Ca`f['e]\"" for "Caf'e").
std::string gcideSpelledHeadword(std::string_view key, std::string_view line) {
  std::u16string bare;  // gcide writes "'e" for é in its index keys
  for (char16_t c : fromUtf8(key)) {
    if (c != u'\'') bare += c;
  }
  for (size_t open = line.find('\\'); open != std::string_view::npos;) {
    const size_t close = line.find('\\', open + 1);
    if (close == std::string_view::npos) break;
    const std::string_view form = line.substr(open + 1, close - open - 1);
    const std::u16string letters = fromUtf8(gcideSpelling(form, true));
    if (!letters.empty() && spelledPrefix(bare, letters).size() == letters.size())
      return gcideSpelling(form);
    open = line.find('\\', close + 1);
  }
  return {};
}

}  // namespace

std::optional<DictdSenseStart> dictdSenseStart(std::string_view t, DictdShape shape) {
  if (shape == DictdShape::WordNet) {
    if (auto s = wordNetSenseStart(t)) return s;
  }
  DictdSenseStart s;
  size_t k = 0;
  while (k < t.size() && k < 3 && std::isdigit(static_cast<unsigned char>(t[k]))) ++k;
  if (k > 0 && k < t.size() && (t[k] == '.' || t[k] == ')' || t[k] == ':') &&
      (k + 1 == t.size() || t[k + 1] == ' ')) {
    k += 1;
    while (k < t.size() && t[k] == ' ') ++k;
    s.length = k;
    return s;
  }
  if (t.size() >= 4 && t[0] == '(' && std::islower(static_cast<unsigned char>(t[1])) &&
      t[2] == ')' && t[3] == ' ') {
    s.sub = true;
    s.length = 0;  // the letter stays
    return s;
  }
  return std::nullopt;
}

size_t wordNetSenseMark(std::string_view text, const char*& wordClass) {
  wordClass = nullptr;
  const auto s = wordNetSenseStart(text);
  if (!s) return 0;
  wordClass = wordNetClass(text.substr(0, text.find(' ')));
  return s->length;
}

std::optional<DictdHeadline> readDictdHeadline(DictdShape shape, std::string_view headword,
                                               const std::vector<Line>& lines) {
  size_t first = 0;
  while (first < lines.size() && lines[first].text.empty()) ++first;
  if (first == lines.size()) return std::nullopt;
  DictdHeadline h;
  h.bodyStart = first + 1;
  std::string joined;
  std::string_view rest;
  if (shape == DictdShape::Gcide) {
    joined = joinGcideHeadline(lines, first, h.bodyStart);
    rest = joined;
    if (!readGcidePronunciation(headword, rest, h)) return std::nullopt;
  } else if (!readOtherPronunciation(lines[first].text, headword, rest, h)) {
    return readOtherNames(lines, first, headword);
  }
  readWordClass(trim(rest), h);
  if (shape != DictdShape::Gcide && h.pronunciation.empty() && h.wordClass.empty() &&
      h.rest.empty()) {
    readSecondLine(lines, h);
  }
  // foldoc lists other names of the entry under the word, as far left as it ("execution",
  // "execute", "run"): they belong to the headline.
  while (shape == DictdShape::Generic && h.bodyStart < lines.size() &&
         !lines[h.bodyStart].text.empty() && lines[h.bodyStart].indent == lines[first].indent) {
    if (!h.rest.empty()) h.rest += ", ";
    h.rest += lines[h.bodyStart++].text;
  }
  return h;
}

std::string dictdSpelledHeadword(DictdShape shape, std::string_view key, std::string_view text) {
  const std::vector<Line> lines = splitText(text);
  size_t first = 0;
  while (first < lines.size() && lines[first].text.empty()) ++first;
  if (first == lines.size()) return {};
  if (shape == DictdShape::Gcide) return gcideSpelledHeadword(key, lines[first].text);
  const std::u16string word = fromUtf8(key);
  const std::u16string line = fromUtf8(lines[first].text);
  if (std::u16string spelled = spelledPrefix(word, line); !spelled.empty())
    return toUtf8(shape == DictdShape::FreeDict ? withTrailingMarks(spelled, line) : spelled);
  // foldoc names an entry's other names on the lines under the first ("American Standard Code
  // for Information Interchange", then "ASCII"): one of them, whole, spells the key too.
  for (size_t i = first + 1; i < lines.size() && !lines[i].text.empty(); ++i) {
    const std::u16string other = fromUtf8(lines[i].text);
    if (spelledPrefix(word, other).size() == other.size()) return toUtf8(other);
  }
  return {};
}

}  // namespace lexora::importers
