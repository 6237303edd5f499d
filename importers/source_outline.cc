#include "importers/source_outline.h"

#include <algorithm>
#include <cctype>

#include "importers/dictd_markup.h"
#include "importers/markup_text.h"

namespace lexora::importers {
namespace {

bool isSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

std::string_view trim(std::string_view s) {
  while (!s.empty() && isSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && isSpace(s.back())) s.remove_suffix(1);
  // A no-break space at either end is a blank too.
  while (s.size() >= 2 && s.substr(0, 2) == "\xC2\xA0") s = trim(s.substr(2));
  while (s.size() >= 2 && s.substr(s.size() - 2) == "\xC2\xA0") s = trim(s.substr(0, s.size() - 2));
  return s;
}

std::string lowerAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

std::string plainOf(const OutlineParagraph& p) {
  std::string all;
  for (const OutlinePiece& piece : p.pieces) all += piece.text;
  return std::string(trim(all));
}

// Bytes of a leading sense number and the blanks after it ("1. ", "2) ", "IV. "); 0 for none.
size_t senseNumberLength(std::string_view t) {
  size_t k = 0;
  while (k < t.size() && k < 3 && std::isdigit(static_cast<unsigned char>(t[k]))) ++k;
  if (k == 0) {
    while (k < t.size() && k < 4 && std::string_view("IVX").find(t[k]) != std::string_view::npos)
      ++k;
  }
  if (k == 0 || k >= t.size() ||
      (t[k] != '.' && t[k] != ')' &&
       !(t[k] == ':' && std::isdigit(static_cast<unsigned char>(t[0])))))
    return 0;
  ++k;
  if (k < t.size() && !isSpace(t[k])) return 0;
  while (k < t.size() && isSpace(t[k])) ++k;
  return k;
}

// Drops `bytes` bytes from the front of a paragraph's pieces.
void dropFront(OutlineParagraph& p, size_t bytes) {
  // Leading blanks first, so that the count matches the trimmed text.
  for (OutlinePiece& piece : p.pieces) {
    std::string_view t = piece.text;
    size_t blanks = 0;
    while (blanks < t.size() && isSpace(t[blanks])) ++blanks;
    piece.text.erase(0, blanks);
    if (!piece.text.empty()) break;
  }
  for (OutlinePiece& piece : p.pieces) {
    const size_t n = std::min(bytes, piece.text.size());
    piece.text.erase(0, n);
    bytes -= n;
    if (bytes == 0) break;
  }
}

void appendMarked(std::string& out, const OutlineParagraph& p, bool links) {
  // The pieces are trimmed as one line: leading and trailing blanks go.
  size_t first = 0;
  while (first < p.pieces.size() && trim(p.pieces[first].text).empty()) ++first;
  size_t last = p.pieces.size();
  while (last > first && trim(p.pieces[last - 1].text).empty()) --last;
  for (size_t i = first; i < last; ++i) {
    std::string_view text = p.pieces[i].text;
    if (i == first) text = text.substr(text.find_first_not_of(" \t\r\n"));
    if (i + 1 == last) text = text.substr(0, text.find_last_not_of(" \t\r\n") + 1);
    if (links && p.pieces[i].link) {
      // The link marks go around the words, not the blanks beside them.
      const size_t from = text.find_first_not_of(' ');
      const size_t to = text.find_last_not_of(' ') + 1;
      out.append(text.substr(0, from));
      appendLinkWord(out, text.substr(from, to - from));
      out.append(text.substr(to));
    } else {
      appendMarkupText(out, text, links ? MarkupPlace::Paragraph : MarkupPlace::PlainLine);
    }
  }
}

void appendExample(std::string& out, std::string_view text) {
  std::string_view source = text;
  std::string_view translation;
  if (const auto parts = splitExample(text)) {
    source = trim(parts->first);
    translation = trim(parts->second);
  }
  out += "=$";
  appendMarkupText(out, source, MarkupPlace::Example);
  if (!translation.empty()) {
    out += '+';
    appendMarkupText(out, translation, MarkupPlace::PlainLine);
  }
}

// The word-class labels dictionaries put before a sense, folded as foldLabel folds them.
// clang-format off
constexpr std::string_view kWordClassLabels[] = {
    "n", "noun", "nouns", "v", "verb", "vt", "vi", "v t", "v i", "adj", "adjective", "a", "adv",
    "adverb", "prep", "preposition", "pron", "pronoun", "conj", "conjunction", "interj",
    "interjection", "int", "num", "numeral", "art", "article", "abbr", "abbreviation", "pl",
    "plural", "prop n", "phr", "phrase", "suffix", "prefix", "aux", "modal", "part", "particle",
    "det", "determiner", "exclamation", "s", "sing", "m", "f", "nt", "n m", "n f", "n pl",
    "transitive verb", "intransitive verb", "phrasal verb", "idiom", "imp", "prov", "pref",
    "suff", "excl", "quant", "infix", "obs"};
// clang-format on

bool isWordClassLabel(std::string_view folded) {
  return std::find(std::begin(kWordClassLabels), std::end(kWordClassLabels), folded) !=
         std::end(kWordClassLabels);
}

// Lower case, "v. t." and "v.t." read as "v t", a trailing comma or colon gone.
std::string foldLabel(std::string_view text) {
  std::string folded;
  for (char c : lowerAscii(trim(text))) {
    if (c == '.' || c == ',' || c == ':' || c == ';' || c == '(' || c == ')') c = ' ';
    if (c == ' ' && (folded.empty() || folded.back() == ' ')) continue;
    folded += c;
  }
  while (!folded.empty() && folded.back() == ' ') folded.pop_back();
  return folded;
}

}  // namespace

bool looksLikeWordClass(std::string_view text) {
  const std::string folded = foldLabel(text);
  if (folded.empty() || folded.size() > 24) return false;
  if (isWordClassLabel(folded)) return true;
  // Several labels in a row: "n & v", "adj, adv".
  size_t start = 0;
  bool any = false;
  while (start < folded.size()) {
    size_t end = folded.find(' ', start);
    if (end == std::string::npos) end = folded.size();
    const std::string_view word = std::string_view(folded).substr(start, end - start);
    if (word != "&" && word != "and" && word != "or" && !isWordClassLabel(word)) return false;
    any = true;
    start = end + 1;
  }
  return any;
}

void SourceOutline::text(std::string_view text, bool link, bool label) {
  std::string collapsed;
  for (char c : text) {
    if (isSpace(c)) {
      pendingSpace_ = true;
      continue;
    }
    if (pendingSpace_) {
      if (!current_.pieces.empty() || !collapsed.empty()) collapsed += ' ';
      pendingSpace_ = false;
    }
    collapsed += c;
  }
  if (collapsed.empty()) return;
  if (!current_.pieces.empty() && current_.pieces.back().link == link &&
      current_.pieces.back().label == label) {
    current_.pieces.back().text += collapsed;
  } else {
    current_.pieces.push_back({std::move(collapsed), link, label});
  }
}

void SourceOutline::endParagraph() {
  pendingSpace_ = false;
  if (!plainOf(current_).empty()) paragraphs_.push_back(std::move(current_));
  current_ = OutlineParagraph();
}

void SourceOutline::preformattedLine(std::string_view text) {
  endParagraph();
  paragraphs_.emplace_back();
  appendPreformattedLine(paragraphs_.back().line, text, 0);
}

bool SourceOutline::media(std::string_view name) {
  if (!resolveMedia_) return false;
  std::string line = resolveMedia_(name);
  if (line.empty()) return false;
  endParagraph();
  paragraphs_.emplace_back();
  paragraphs_.back().line = std::move(line);
  return true;
}

void SourceOutline::setPronunciation(std::string_view text) {
  std::string_view t = trim(text);
  if (t.size() >= 2 &&
      ((t.front() == '[' && t.back() == ']') || (t.front() == '/' && t.back() == '/'))) {
    t = trim(t.substr(1, t.size() - 2));
  }
  if (!t.empty() && pronunciation_.empty()) pronunciation_ = std::string(t);
}

// The headline: the headword again, perhaps with its pronunciation and class. Its class goes to
// `classes` and the paragraph away.
void SourceOutline::takeHeadline(std::string_view headword, std::vector<std::string>& classes) {
  if (paragraphs_.empty() || paragraphs_.front().listItem || paragraphs_.front().example) return;
  const std::string all = plainOf(paragraphs_.front());
  if (all.size() < headword.size() ||
      lowerAscii(all.substr(0, headword.size())) != lowerAscii(headword) ||
      (all.size() > headword.size() &&
       std::string_view(" ,[/(").find(all[headword.size()]) == std::string_view::npos)) {
    return;
  }
  std::string_view rest = trim(std::string_view(all).substr(headword.size()));
  if (!rest.empty() && (rest.front() == '[' || rest.front() == '/')) {
    const char close = rest.front() == '[' ? ']' : '/';
    const size_t end = rest.find(close, 1);
    if (end != std::string_view::npos) {
      setPronunciation(rest.substr(0, end + 1));
      rest = trim(rest.substr(end + 1));
    }
  }
  if (!rest.empty() && rest.front() == ',') rest = trim(rest.substr(1));
  if (rest.empty() || looksLikeWordClass(rest)) {
    if (!rest.empty()) classes.emplace_back(rest);
    paragraphs_.erase(paragraphs_.begin());
  }
}

// A paragraph that is only "[...]" or "/.../" before the first meaning is the pronunciation.
void SourceOutline::takePronunciationParagraph() {
  for (size_t i = 0; i < paragraphs_.size() && i < 2; ++i) {
    const std::string all = plainOf(paragraphs_[i]);
    const bool bracketed =
        all.size() >= 3 && all.size() <= 80 &&
        ((all.front() == '[' && all.back() == ']' && all.find(']') == all.size() - 1) ||
         (all.front() == '/' && all.back() == '/' && all.find('/', 1) == all.size() - 1));
    if (bracketed && pronunciation_.empty() && !paragraphs_[i].listItem) {
      setPronunciation(all);
      paragraphs_.erase(paragraphs_.begin() + static_cast<std::ptrdiff_t>(i));
      return;
    }
  }
}

void SourceOutline::writeParagraph(std::string& out, OutlineParagraph& p, bool numbered) {
  // A line made whole elsewhere (a picture or a sound) goes as it is.
  if (!p.line.empty()) {
    out += "\r\n";
    out += p.line;
    return;
  }
  // A word-class label in front of the text goes to a line of its own.
  if (p.pieces.size() > 1 && p.pieces.front().label && !p.example &&
      looksLikeWordClass(p.pieces.front().text)) {
    out += "\r\n* ";
    appendMarkupText(out, trim(p.pieces.front().text), MarkupPlace::Paragraph);
    p.pieces.erase(p.pieces.begin());
  }
  const std::string all = plainOf(p);
  const bool allLabel =
      std::all_of(p.pieces.begin(), p.pieces.end(), [](const OutlinePiece& piece) {
        return piece.label || trim(piece.text).empty() ||
               piece.text.find_first_not_of(" ,;.") == std::string::npos;
      });
  out += "\r\n";
  if (p.example) {
    appendExample(out, all);
  } else if (looksLikeWordClass(all) || (allLabel && all.size() <= 40)) {
    out += "* ";
    appendMarked(out, p, true);
  } else if (const char* wordClass = nullptr;
             const size_t mark = wordNetSenseMark(all, wordClass)) {
    out += "* ";
    out += wordClass;
    out += "\r\n- ";
    dropFront(p, mark);
    appendMarked(out, p, true);
  } else if (const size_t number = p.listItem ? 0 : senseNumberLength(all);
             p.listItem || number > 0 || !numbered) {
    dropFront(p, number);
    out += "- ";
    appendMarked(out, p, true);
  } else {
    startPlainLine(out, all);
    appendMarked(out, p, false);
  }
}

std::string SourceOutline::markupOf(std::string_view headword) {
  endParagraph();
  std::vector<std::string> classes;  // word class from the headline
  takeHeadline(headword, classes);
  takePronunciationParagraph();
  std::string out = "@";
  appendMarkupText(out, headword, MarkupPlace::Headword);
  if (!pronunciation_.empty()) {
    out += '|';
    appendMarkupText(out, pronunciation_, MarkupPlace::Headword);
    out += '|';
  }
  for (const std::string& c : classes) {
    out += "\r\n* ";
    appendMarkupText(out, c, MarkupPlace::Paragraph);
  }
  const bool numbered =
      std::any_of(paragraphs_.begin(), paragraphs_.end(), [](const OutlineParagraph& p) {
        const char* wordClass = nullptr;
        return p.listItem || senseNumberLength(plainOf(p)) > 0 ||
               wordNetSenseMark(plainOf(p), wordClass) > 0;
      });
  for (OutlineParagraph& p : paragraphs_) writeParagraph(out, p, numbered);
  return out;
}

}  // namespace lexora::importers
