#include "importers/dictd_markup.h"

#include "importers/dictd_text.h"

#include <algorithm>
#include <cctype>
#include <optional>

namespace lexora::importers {
namespace {

using namespace dictd_text;

// "[1913 Webster]", "[WordNet 1.5]", "[PJC]", "[1913 Webster +PJC]": where a text came from.
bool isSourceNote(std::string_view t) {
  if (t.size() < 3 || t.front() != '[' || t.back() != ']') return false;
  if (t.find(']') != t.size() - 1) return false;
  for (std::string_view mark : {"Webster", "PJC", "WordNet", "Century", "Chambers", "Johnson"}) {
    if (t.find(mark) != std::string_view::npos) return true;
  }
  return false;
}

const char* wordNetClass(std::string_view tag) {
  if (tag == "n") return "noun";
  if (tag == "v") return "verb";
  if (tag == "adj" || tag == "a" || tag == "s") return "adjective";
  if (tag == "adv" || tag == "r") return "adverb";
  return nullptr;
}

struct SenseStart {
  size_t length = 0;      // bytes of the number and the blanks after it
  std::string wordClass;  // WordNet's "n 1:" names one
  bool sub = false;       // "(a)"
};

std::optional<SenseStart> senseStart(std::string_view t, DictdShape shape) {
  SenseStart s;
  size_t k = 0;
  if (shape == DictdShape::WordNet) {
    size_t letters = 0;
    while (letters < t.size() && std::islower(static_cast<unsigned char>(t[letters]))) ++letters;
    if (letters > 0 && letters < t.size() && t[letters] == ' ') {
      if (const char* cls = wordNetClass(t.substr(0, letters))) {
        size_t j = letters + 1;
        if (j < t.size() && t[j] == ':') {  // "n : gloss", a word with one sense
          s.wordClass = cls;
          k = j + 1;
          while (k < t.size() && t[k] == ' ') ++k;
          s.length = k;
          return s;
        }
        size_t digits = j;
        while (digits < t.size() && std::isdigit(static_cast<unsigned char>(t[digits]))) ++digits;
        if (digits > j && digits < t.size() && t[digits] == ':') {
          s.wordClass = cls;
          k = digits + 1;
          while (k < t.size() && t[k] == ' ') ++k;
          s.length = k;
          return s;
        }
      }
    }
  }
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

enum class BlockKind { Sense, Sub, Quote, Paragraph, Idiom };

struct Block {
  BlockKind kind = BlockKind::Paragraph;
  std::string text;
  std::string wordClass;
  int textIndent = 0;  // where its wrapped lines continue
};

struct Headline {
  std::string pronunciation;
  std::string wordClass;
  std::string rest;      // forms, etymology and the like
  size_t bodyStart = 0;  // the first line after the headline
};

// Takes "(...)" with nested brackets off the front of s.
bool dropParenthesised(std::string_view& s) {
  if (s.empty() || s.front() != '(') return false;
  int depth = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '(') ++depth;
    if (s[i] == ')' && --depth == 0) {
      s = trim(s.substr(i + 1));
      return true;
    }
  }
  return false;
}

std::optional<Headline> readHeadline(DictdShape shape, std::string_view headword,
                                     const std::vector<Line>& lines) {
  size_t first = 0;
  while (first < lines.size() && lines[first].text.empty()) ++first;
  if (first == lines.size()) return std::nullopt;
  std::string_view line = lines[first].text;
  Headline h;
  h.bodyStart = first + 1;
  std::string joined;
  std::string_view rest;
  if (shape == DictdShape::Gcide) {
    // The headline runs on while a bracket is open.
    joined = std::string(line);
    int depth = 0;
    auto count = [&](std::string_view t) {
      for (char c : t) depth += c == '[' ? 1 : c == ']' ? -1 : 0;
    };
    count(line);
    while (depth > 0 && h.bodyStart < lines.size() && !lines[h.bodyStart].text.empty() &&
           !senseStart(lines[h.bodyStart].text, shape)) {
      appendJoined(joined, lines[h.bodyStart].text);
      count(lines[h.bodyStart].text);
      ++h.bodyStart;
    }
    rest = joined;
    const size_t slash = rest.find('\\');
    if (slash == std::string_view::npos) {
      // No pronunciation: the word runs to the first comma.
      const size_t comma = rest.find(',');
      if (!startsWithFolded(rest, headword) && comma == std::string_view::npos) return std::nullopt;
      rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
    } else {
      rest = rest.substr(slash);
    }
  } else {
    if (!startsWithFolded(line, headword)) return std::nullopt;
    rest = line.substr(headword.size());
    if (!rest.empty() &&
        std::string_view(" ,/\\[(<").find(rest.front()) == std::string_view::npos) {
      return std::nullopt;  // the line only starts with the same letters
    }
  }
  rest = trim(rest);
  if (!rest.empty() && (rest.front() == '\\' || rest.front() == '/' ||
                        (rest.front() == '[' && shape != DictdShape::Gcide))) {
    const char close = rest.front() == '[' ? ']' : rest.front();
    const size_t end = rest.find(close, 1);
    if (end != std::string_view::npos) {
      h.pronunciation = std::string(trim(rest.substr(1, end - 1)));
      rest = trim(rest.substr(end + 1));
    }
  }
  // gcide repeats the pronunciation in its own respelling: "(r[a^]n"s[u^]m)".
  if (shape == DictdShape::Gcide && !h.pronunciation.empty()) dropParenthesised(rest);
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
  return h;
}

// WordNet's sense text: "gloss; "example"; "example" [syn: {a}, {b}] [ant: {c}]".
void emitWordNetSense(std::string& out, std::string_view text) {
  std::vector<std::string_view> lists;
  // The bracketed lists come last.
  while (!text.empty() && text.back() == ']') {
    const size_t open = text.rfind('[');
    if (open == std::string_view::npos) break;
    const std::string_view list = text.substr(open + 1, text.size() - open - 2);
    if (list.find(':') == std::string_view::npos) break;
    lists.insert(lists.begin(), list);
    text = trim(text.substr(0, open));
  }
  std::vector<std::string_view> examples;
  const size_t firstQuote = text.find("; \"");
  std::string_view gloss = text;
  if (firstQuote != std::string_view::npos) {
    gloss = text.substr(0, firstQuote);
    std::string_view tail = text.substr(firstQuote + 2);
    while (!tail.empty()) {
      if (tail.front() != '"') break;
      const size_t close = tail.find('"', 1);
      if (close == std::string_view::npos) break;
      examples.push_back(tail.substr(1, close - 1));
      tail = trim(tail.substr(close + 1));
      if (!tail.empty() && tail.front() == ';') tail = trim(tail.substr(1));
    }
    if (!tail.empty()) gloss = text;  // not the shape we know: keep it whole
    if (!tail.empty()) examples.clear();
  }
  newLine(out);
  out += "- ";
  appendLinked(out, trim(gloss));
  for (std::string_view e : examples) {
    newLine(out);
    out += "=$";
    appendUnlinked(out, e, true);
  }
  for (std::string_view list : lists) {
    newLine(out);
    out += "# ";
    appendLinked(out, trim(list));
  }
}

void emitText(std::string& out, DictdShape shape, std::string_view headword, std::string_view text,
              const std::optional<Headline>& headline) {
  const std::vector<Line> lines = splitText(text);
  if (headline) {
    if (!headline->wordClass.empty()) {
      newLine(out);
      out += "* ";
      appendLinked(out, headline->wordClass);
    }
    if (!headline->rest.empty()) {
      newLine(out);
      startPlainLine(out, headline->rest);
      appendUnlinked(out, headline->rest, false);
    }
  }
  std::vector<Block> blocks;
  bool open = false;
  int lastTextIndent = 0;
  for (size_t i = headline ? headline->bodyStart : 0; i < lines.size(); ++i) {
    const Line& line = lines[i];
    if (line.text.empty()) {
      open = false;
      continue;
    }
    if (isSourceNote(line.text)) {
      open = false;
      continue;
    }
    if (const auto s = senseStart(line.text, shape)) {
      Block b;
      b.kind = s->sub ? BlockKind::Sub : BlockKind::Sense;
      appendJoined(b.text, line.text.substr(s->length));
      b.wordClass = s->wordClass;
      b.textIndent = line.indent + static_cast<int>(s->length == 0 ? 4 : s->length);
      lastTextIndent = b.textIndent;
      blocks.push_back(std::move(b));
      open = true;
      continue;
    }
    if (open) {
      appendJoined(blocks.back().text, line.text);
      continue;
    }
    Block b;
    b.textIndent = line.indent;
    if (!blocks.empty() && line.indent > lastTextIndent + 2) {
      b.kind = BlockKind::Quote;
    } else if (shape == DictdShape::Gcide && line.text.front() == '{') {
      b.kind = BlockKind::Idiom;
      lastTextIndent = line.indent + 3;
    } else {
      b.kind = BlockKind::Paragraph;
      lastTextIndent = line.indent;
    }
    appendJoined(b.text, line.text);
    blocks.push_back(std::move(b));
    open = true;
  }
  (void)headword;
  const bool numbered = std::any_of(blocks.begin(), blocks.end(),
                                    [](const Block& b) { return b.kind == BlockKind::Sense; });
  for (const Block& b : blocks) {
    switch (b.kind) {
      case BlockKind::Sense:
        if (!b.wordClass.empty()) {
          newLine(out);
          out += "* ";
          out += b.wordClass;
        }
        if (shape == DictdShape::WordNet) {
          emitWordNetSense(out, b.text);
        } else {
          newLine(out);
          out += "- ";
          appendLinked(out, b.text);
        }
        break;
      case BlockKind::Sub:
      case BlockKind::Paragraph:
        newLine(out);
        if (b.kind == BlockKind::Paragraph && !numbered) {
          out += "- ";
          appendLinked(out, b.text);
        } else {
          startPlainLine(out, b.text);
          appendUnlinked(out, b.text, false);
        }
        break;
      case BlockKind::Quote:
        newLine(out);
        out += "=$";
        appendUnlinked(out, b.text, true);
        break;
      case BlockKind::Idiom: {
        const size_t close = b.text.find('}');
        if (close == std::string::npos) {
          newLine(out);
          out += "- ";
          appendLinked(out, b.text);
          break;
        }
        newLine(out);
        out += "!$";
        appendUnlinked(out, std::string_view(b.text).substr(1, close - 1), true);
        std::string_view rest = trim(std::string_view(b.text).substr(close + 1));
        if (!rest.empty() && rest.front() == ',') rest = trim(rest.substr(1));
        if (!rest.empty()) {
          newLine(out);
          out += "- ";
          appendLinked(out, rest);
        }
        break;
      }
    }
  }
}

}  // namespace

bool isDictdSourceNote(std::string_view line) { return isSourceNote(trim(line)); }

size_t wordNetSenseMark(std::string_view text, const char*& wordClass) {
  wordClass = nullptr;
  const auto s = senseStart(text, DictdShape::WordNet);
  if (!s || s->wordClass.empty()) return 0;
  std::string_view tag = text.substr(0, text.find(' '));
  wordClass = wordNetClass(tag);
  return wordClass != nullptr ? s->length : 0;
}

DictdShape dictdShapeFromHeader(std::string_view shortName, std::string_view url,
                                std::string_view info) {
  if (containsFolded(shortName, "Collaborative International Dictionary") ||
      containsFolded(url, "gcide")) {
    return DictdShape::Gcide;
  }
  if (containsFolded(shortName, "WordNet") || containsFolded(url, "wordnet")) {
    return DictdShape::WordNet;
  }
  if (containsFolded(url, "freedict") || containsFolded(info, "freedict") ||
      containsFolded(shortName, "freedict")) {
    return DictdShape::FreeDict;
  }
  return DictdShape::Generic;
}

const char* dictdShapeName(DictdShape shape) {
  switch (shape) {
    case DictdShape::Gcide:
      return "gcide";
    case DictdShape::WordNet:
      return "WordNet";
    case DictdShape::FreeDict:
      return "FreeDict";
    case DictdShape::Generic:
      break;
  }
  return "plain text";
}

std::string dictdEntryMarkup(DictdShape shape, std::string_view headword,
                             const std::vector<std::string_view>& texts,
                             const std::vector<std::string>& references) {
  std::vector<std::optional<Headline>> headlines;
  std::string pronunciation;
  for (std::string_view text : texts) {
    headlines.push_back(readHeadline(shape, headword, splitText(text)));
    if (pronunciation.empty() && headlines.back()) pronunciation = headlines.back()->pronunciation;
  }
  std::string out = "@";
  for (char c : headword) out += c == '|' ? '/' : c;
  if (!pronunciation.empty()) {
    out += '|';
    for (char c : pronunciation) out += c == '|' ? '/' : c;
    out += '|';
  }
  bool first = true;
  for (size_t t = 0; t < texts.size(); ++t) {
    if (trim(texts[t]).empty()) continue;
    if (!first) newLine(out);  // a blank line between two texts
    first = false;
    emitText(out, shape, headword, texts[t], headlines[t]);
  }
  if (!references.empty()) {
    if (!first) newLine(out);
    newLine(out);
    out += "- See ";
    for (size_t i = 0; i < references.size(); ++i) {
      if (i > 0) out += "; ";
      out += '$';
      appendLinked(out, references[i]);
      out += '$';
    }
  }
  return out;
}

std::string dictdShortTitle(std::string_view text) {
  std::string title;
  bool first = true;
  for (const Line& line : splitText(text)) {
    if (line.text.empty()) continue;
    if (first &&
        (line.text.rfind("00-database-", 0) == 0 || line.text.rfind("00database", 0) == 0)) {
      first = false;
      continue;
    }
    first = false;
    appendJoined(title, line.text);
  }
  return title;
}

}  // namespace lexora::importers
