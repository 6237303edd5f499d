#include "importers/dictd_markup.h"

#include <algorithm>
#include <optional>

#include "importers/dictd_headline.h"
#include "importers/dictd_text.h"
#include "importers/gcide_notation.h"
#include "importers/source_outline.h"

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

// "(ftp://host/path)": one address and nothing else.
bool isLoneAddress(std::string_view t) {
  return t.find("://") != std::string_view::npos && t.find(' ') == std::string_view::npos;
}

enum class BlockKind { Sense, Sub, Quote, Paragraph, Idiom, Preformatted, Example, Related };

struct Block {
  BlockKind kind = BlockKind::Paragraph;
  std::string text;
  std::string wordClass;
  int textIndent = 0;       // where its wrapped lines continue; a preformatted block's left edge
  std::vector<Line> lines;  // a preformatted block's lines, as they are
};

// Cuts the body of a text into blocks: senses, paragraphs, quotations, phrases, and text laid
// out by hand, which keeps its lines.
class BlockReader {
 public:
  explicit BlockReader(DictdShape shape) : shape_(shape) {}

  void read(const std::vector<Line>& lines, size_t from) {
    for (size_t i = from; i < lines.size(); ++i) {
      const Line& line = lines[i];
      if (line.text.empty() || isSourceNote(line.text)) {
        open_ = false;
      } else if (open_ && continuesOpenBlock(line)) {
        continue;
      } else if (const auto s = dictdSenseStart(line.text, shape_)) {
        startSense(line, *s);
      } else if (open_ && shape_ != DictdShape::FreeDict) {
        appendJoined(blocks.back().text, line.text);
      } else {
        startOther(line);
      }
    }
  }

  std::vector<Block> blocks;

 private:
  // A line that belongs to the open block whatever it starts with.
  bool continuesOpenBlock(const Line& line) {
    Block& b = blocks.back();
    if (b.kind == BlockKind::Preformatted) {
      b.lines.push_back(line);
      return true;
    }
    // A quotation's wrapped lines, a verse number among them ("--Deut. xxxiv.\n 7.").
    if (b.kind == BlockKind::Quote && line.indent > lastTextIndent_ + 2) {
      appendJoined(b.text, line.text);
      return true;
    }
    return false;
  }

  void startSense(const Line& line, const DictdSenseStart& s) {
    Block b;
    b.kind = s.sub ? BlockKind::Sub : BlockKind::Sense;
    appendJoined(b.text, line.text.substr(s.length));
    b.wordClass = s.wordClass;
    b.textIndent = line.indent + static_cast<int>(s.length == 0 ? 4 : s.length);
    lastTextIndent_ = b.textIndent;
    blocks.push_back(std::move(b));
    open_ = true;
  }

  void startOther(const Line& line) {
    const std::string_view t = line.text;
    Block b;
    b.textIndent = line.indent;
    const bool deeper =
        !blocks.empty() && line.indent > lastTextIndent_ + (shape_ == DictdShape::Generic ? 0 : 2);
    if (shape_ == DictdShape::FreeDict) {
      b.kind = t.front() == '"' ? BlockKind::Example
               : startsWithFolded(t, "synonym") || startsWithFolded(t, "see:")
                   ? BlockKind::Related
                   : BlockKind::Paragraph;
    } else if (deeper && shape_ == DictdShape::Generic) {
      b.kind = BlockKind::Preformatted;
      b.textIndent = lastTextIndent_;
      b.lines.push_back(line);
    } else if (deeper) {
      b.kind = BlockKind::Quote;
    } else if (shape_ == DictdShape::Gcide && t.front() == '{') {
      b.kind = BlockKind::Idiom;
      lastTextIndent_ = line.indent + 3;
    } else if (!(shape_ == DictdShape::Generic && isLoneAddress(t))) {
      // foldoc puts an address too long for its indented lines at the left edge: the text
      // after it is not indented deeper than the text above.
      lastTextIndent_ = line.indent;
    }
    if (b.kind != BlockKind::Preformatted) appendJoined(b.text, t);
    blocks.push_back(std::move(b));
    open_ = true;
  }

  DictdShape shape_;
  bool open_ = false;
  int lastTextIndent_ = 0;
};

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

// FreeDict's example line: "\"ein Haus bauen\"  - build a house".
void writeExampleLine(std::string& out, std::string_view text) {
  std::string_view example = text;
  std::string_view translation;
  const size_t close = text.size() > 1 && text.front() == '"' ? text.find('"', 1) : text.npos;
  if (close != std::string_view::npos) {
    example = text.substr(1, close - 1);
    std::string_view rest = trim(text.substr(close + 1));
    if (rest.size() >= 2 && rest.front() == '-' && rest[1] == ' ') {
      translation = trim(rest.substr(2));
    } else if (!rest.empty()) {
      example = text;
    }
  }
  out += "=$";
  appendUnlinked(out, example, true);
  if (!translation.empty()) {
    out += '+';
    appendUnlinked(out, translation, false);
  }
}

void writeIdiom(std::string& out, std::string_view text) {
  const size_t close = text.find('}');
  if (close == std::string_view::npos) {
    out += "- ";
    appendLinked(out, text);
    return;
  }
  out += "!$";
  appendLinkWord(out, trim(text.substr(1, close - 1)));
  std::string_view rest = trim(text.substr(close + 1));
  if (!rest.empty() && rest.front() == ',') rest = trim(rest.substr(1));
  // "{Phrase}." has nothing after it worth a line.
  if (rest.find_first_not_of(" .,;:") == std::string_view::npos) return;
  newLine(out);
  out += "- ";
  appendLinked(out, rest);
}

void writePreformatted(std::string& out, const Block& b) {
  for (size_t i = 0; i < b.lines.size(); ++i) {
    if (i > 0) newLine(out);
    const Line& line = b.lines[i];
    appendPreformattedLine(out, line.text, std::max(line.indent - b.textIndent, 0));
  }
}

// A paragraph that is not a sense of its own: it keeps its links on a meaning line (or, for
// gcide's "Syn." notes, a synonym line); without links it is a plain line.
void writeOtherParagraph(std::string& out, DictdShape shape, std::string_view text, bool numbered) {
  const bool links = text.find('{') != std::string_view::npos;
  if (!numbered || links) {
    out += shape == DictdShape::Gcide && text.rfind("Syn.", 0) == 0 ? "# " : "- ";
    appendLinked(out, text);
  } else {
    startPlainLine(out, text);
    appendUnlinked(out, text, false);
  }
}

void writeBlock(std::string& out, DictdShape shape, const Block& b, bool numbered) {
  if (b.kind == BlockKind::Sense && !b.wordClass.empty()) {
    newLine(out);
    out += "* ";
    appendMarkupText(out, b.wordClass, MarkupPlace::Paragraph);
  }
  if (b.kind == BlockKind::Sense && shape == DictdShape::WordNet) {
    emitWordNetSense(out, b.text);
    return;
  }
  newLine(out);
  switch (b.kind) {
    case BlockKind::Sense:
      out += "- ";
      appendLinked(out, b.text);
      break;
    case BlockKind::Sub:
    case BlockKind::Paragraph:
      writeOtherParagraph(out, shape, b.text, numbered || b.kind == BlockKind::Sub);
      break;
    case BlockKind::Related:
      out += "# ";
      appendLinked(out, b.text);
      break;
    case BlockKind::Quote:
      out += "=$";
      appendUnlinked(out, b.text, true);
      break;
    case BlockKind::Example:
      writeExampleLine(out, b.text);
      break;
    case BlockKind::Idiom:
      writeIdiom(out, b.text);
      break;
    case BlockKind::Preformatted:
      writePreformatted(out, b);
      break;
  }
}

// `shown`: the pronunciation that the headword line shows.
void writeHeadline(std::string& out, DictdShape shape, const DictdHeadline& headline,
                   std::string_view shown) {
  // A merged text with a pronunciation of its own keeps it, on a plain line (gcide's
  // syllabified word is none).
  if (!headline.pronunciation.empty() && headline.pronunciation != shown &&
      (headline.respelled || shape != DictdShape::Gcide)) {
    newLine(out);
    out += '/';
    appendMarkupText(out, headline.pronunciation, MarkupPlace::PlainLine);
    out += '/';
  }
  if (!headline.wordClass.empty()) {
    newLine(out);
    out += "* ";
    appendLinked(out, headline.wordClass);
  }
  if (headline.rest.empty()) return;
  newLine(out);
  // Forms and etymology; when they name other entries they keep the links on a synonym line.
  if (headline.rest.find('{') != std::string::npos) {
    out += "# ";
    appendLinked(out, headline.rest);
  } else {
    startPlainLine(out, headline.rest);
    appendUnlinked(out, headline.rest, false);
  }
}

void emitText(std::string& out, DictdShape shape, std::string_view text,
              const std::optional<DictdHeadline>& headline, std::string_view pronunciation) {
  const std::vector<Line> lines = splitText(text);
  BlockReader reader(shape);
  reader.read(lines, headline ? headline->bodyStart : 0);
  writeHeadline(out, shape, headline.value_or(DictdHeadline()), pronunciation);
  const bool numbered = std::any_of(reader.blocks.begin(), reader.blocks.end(),
                                    [](const Block& b) { return b.kind == BlockKind::Sense; });
  for (const Block& b : reader.blocks) writeBlock(out, shape, b, numbered);
}

}  // namespace

bool isDictdSourceNote(std::string_view line) { return isSourceNote(trim(line)); }

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
  std::vector<std::string> decoded;  // gcide's notation in Unicode
  std::vector<std::optional<DictdHeadline>> headlines;
  std::string pronunciation;
  for (std::string_view text : texts) {
    decoded.push_back(shape == DictdShape::Gcide ? decodeGcideText(text) : std::string(text));
    headlines.push_back(readDictdHeadline(shape, headword, splitText(decoded.back())));
  }
  // The first respelling, else the first pronunciation of any kind.
  for (bool respelled : {true, false}) {
    for (const auto& h : headlines) {
      if (pronunciation.empty() && h && (h->respelled || !respelled))
        pronunciation = h->pronunciation;
    }
  }
  std::string out = "@";
  appendMarkupText(out, headword, MarkupPlace::Headword);
  if (!pronunciation.empty()) {
    out += '|';
    appendMarkupText(out, pronunciation, MarkupPlace::Headword);
    out += '|';
  }
  bool first = true;
  for (size_t t = 0; t < texts.size(); ++t) {
    if (trim(texts[t]).empty()) continue;
    if (!first) newLine(out);  // a blank line between two texts
    first = false;
    emitText(out, shape, decoded[t], headlines[t], pronunciation);
  }
  if (!references.empty()) {
    if (!first) newLine(out);
    newLine(out);
    out += "- See ";
    for (size_t i = 0; i < references.size(); ++i) {
      if (i > 0) out += "; ";
      appendLinkWord(out, references[i]);
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
