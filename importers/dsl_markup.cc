#include "importers/dsl_markup.h"

#include <algorithm>

#include "importers/markup_text.h"

namespace lexora::importers {
namespace {

constexpr std::string_view kNoBreakSpace = "\xC2\xA0";

enum class PieceKind { Text, Link, Label };

struct Piece {
  std::string text;
  PieceKind kind = PieceKind::Text;
  bool example = false;
};

struct LineReading {
  int indent = 0;
  std::vector<Piece> pieces;
  std::vector<std::string> media;  // entry lines
};

bool isBlankText(std::string_view t) {
  return t.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

std::string_view trim(std::string_view t) {
  const size_t first = t.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return {};
  return t.substr(first, t.find_last_not_of(" \t\r\n") - first + 1);
}

// Reads one body line's tags into pieces. Collecting tags ([ref], [p], [t], [s], [video])
// gather their text; a new one, or the line's end, ends the one that is open.
class LineReader {
 public:
  LineReader(const DslBodyContext& context, std::string& pronunciation, LineReading& out)
      : context_(context), pronunciation_(pronunciation), out_(out) {}

  void read(std::string_view line) {
    for (size_t i = 0; i < line.size(); ++i) {
      const char c = line[i];
      if (c == '\\' && i + 1 < line.size()) {
        add(line.substr(++i, 1));
      } else if (c == '~') {
        add(context_.headword);
      } else if (line.compare(i, 2, "<<") == 0 && mode_ == Mode::None) {
        mode_ = Mode::Ref;
        ++i;
      } else if (line.compare(i, 2, ">>") == 0 && mode_ == Mode::Ref) {
        finish();
        ++i;
      } else if (c == '[' && line.find(']', i) != std::string_view::npos) {
        const size_t close = line.find(']', i);
        tag(line.substr(i + 1, close - i - 1));
        i = close;
      } else {
        add(line.substr(i, 1));
      }
    }
    finish();
  }

 private:
  enum class Mode { None, Ref, Label, Pronunciation, Media, Video };

  void add(std::string_view text) {
    if (mode_ != Mode::None) {
      collected_ += text;
    } else if (!out_.pieces.empty() && out_.pieces.back().kind == PieceKind::Text &&
               out_.pieces.back().example == (example_ > 0)) {
      out_.pieces.back().text += text;
    } else {
      out_.pieces.push_back({std::string(text), PieceKind::Text, example_ > 0});
    }
  }

  void tag(std::string_view tag) {
    const bool closing = !tag.empty() && tag.front() == '/';
    if (closing) tag.remove_prefix(1);
    const size_t end = tag.find_first_of(" \t=");
    const std::string_view name = tag.substr(0, end);
    if (name.size() <= 2 && !name.empty() && name.front() == 'm' &&
        (name.size() == 1 || (name[1] >= '0' && name[1] <= '9'))) {
      if (!closing) out_.indent = name.size() == 2 ? name[1] - '0' : 0;
      return;
    }
    if (name == "ex") {
      example_ = std::max(0, example_ + (closing ? -1 : 1));
      return;
    }
    Mode mode = Mode::None;
    if (name == "ref") mode = Mode::Ref;
    if (name == "p") mode = Mode::Label;
    if (name == "t") mode = Mode::Pronunciation;
    if (name == "s") mode = Mode::Media;
    if (name == "video") mode = Mode::Video;
    if (mode == Mode::None) return;  // looks only: [b], [i], [c red], [trn], [lang id=1], ...
    if (closing) {
      if (mode_ == mode) finish();
      return;
    }
    finish();
    mode_ = mode;
  }

  void finish() {
    const std::string text(trim(collected_));
    const Mode mode = mode_;
    mode_ = Mode::None;
    collected_.clear();
    if (text.empty()) return;
    switch (mode) {
      case Mode::Ref:
        out_.pieces.push_back({text, PieceKind::Link, example_ > 0});
        break;
      case Mode::Label: {
        std::string shown = text;
        if (context_.abbreviations != nullptr) {
          const auto it = context_.abbreviations->find(text);
          if (it != context_.abbreviations->end()) shown = it->second;
        }
        out_.pieces.push_back({shown, PieceKind::Label, example_ > 0});
        break;
      }
      case Mode::Pronunciation:
        if (pronunciation_.empty()) {
          pronunciation_ = text;
        } else {
          add("[" + text + "]");
        }
        break;
      case Mode::Media:
        if (context_.media) {
          std::string line = context_.media(text);
          if (!line.empty()) out_.media.push_back(std::move(line));
        }
        break;
      case Mode::Video:
      case Mode::None:
        break;
    }
  }

  const DslBodyContext& context_;
  std::string& pronunciation_;
  LineReading& out_;
  Mode mode_ = Mode::None;
  std::string collected_;
  int example_ = 0;
};

// Text for a place whose words become links: no character that the walk gives a meaning.
void appendLinkable(std::string& out, std::string_view text) {
  for (char c : text) {
    switch (c) {
      case '+':
        out += "\xEF\xBC\x8B";  // U+FF0B
        break;
      case '$':
        out += "\xEF\xBC\x84";  // U+FF04
        break;
      case '<':
        out += "\xEF\xBC\x9C";  // U+FF1C
        break;
      case '>':
        out += "\xEF\xBC\x9E";  // U+FF1E
        break;
      case '&':
        out += "\xEF\xBC\x86";  // U+FF06
        break;
      case '\r':
      case '\n':
        out += ' ';
        break;
      default:
        out += c;
    }
  }
}

// One link word that looks up the whole target.
void appendLink(std::string& out, std::string_view target) {
  std::string word(trim(target));
  std::replace(word.begin(), word.end(), '\t', ' ');
  if (!word.empty()) appendLinkWord(out, word);
}

std::string exampleLine(const LineReading& r) {
  std::string all;
  for (const Piece& p : r.pieces) all += p.text;
  const std::string_view text = trim(all);
  std::string_view source = text;
  std::string_view translation;
  if (const auto parts = splitExample(text)) {
    source = trim(parts->first);
    translation = trim(parts->second);
  }
  std::string out = "=$";
  appendLinkable(out, source);
  if (!translation.empty()) {
    out += '+';
    appendMarkupText(out, translation, MarkupPlace::Paragraph);
  }
  return out;
}

std::string meaningLine(const LineReading& r) {
  std::string out = "- ";
  for (int level = 1; level < r.indent; ++level) {
    out += kNoBreakSpace;
    out += kNoBreakSpace;
  }
  const size_t start = out.size();
  for (const Piece& p : r.pieces) {
    if (p.kind == PieceKind::Link) {
      appendLink(out, p.text);
    } else {
      appendMarkupText(out, p.text, MarkupPlace::Paragraph);
    }
  }
  // Blanks at the ends of the text go; those inside stay.
  const std::string body(trim(std::string_view(out).substr(start)));
  out.resize(start);
  out += body;
  return out;
}

// Leaves out the title at the start of the first line ("[b]colo(u)r[/b] [t]...[/t]").
void dropRepeatedTitle(LineReading& r, const DslBodyContext& context) {
  auto first = std::find_if(r.pieces.begin(), r.pieces.end(),
                            [](const Piece& p) { return !isBlankText(p.text); });
  if (first == r.pieces.end() || first->kind != PieceKind::Text || first->example) return;
  std::string& text = first->text;
  const std::string_view t = trim(text);
  for (const std::string& title : {context.shown, context.headword}) {
    if (title.empty() || t.rfind(title, 0) != 0) continue;
    const std::string_view rest = t.substr(title.size());
    if (!rest.empty() && rest.front() != ' ' && rest.front() != ',') continue;
    text = std::string(rest);
    return;
  }
}

}  // namespace

void convertDslBody(const std::vector<std::string_view>& body, const DslBodyContext& context,
                    DslBodyMarkup& out) {
  bool first = true;
  for (std::string_view line : body) {
    LineReading r;
    LineReader(context, out.pronunciation, r).read(line);
    if (first) dropRepeatedTitle(r, context);
    const auto shown = [](const Piece& p) { return !isBlankText(p.text); };
    const bool hasText = std::any_of(r.pieces.begin(), r.pieces.end(), shown);
    if (hasText) {
      first = false;
      const bool allExample = std::all_of(r.pieces.begin(), r.pieces.end(), [](const Piece& p) {
        return p.example || isBlankText(p.text);
      });
      const bool allLabels = std::all_of(r.pieces.begin(), r.pieces.end(), [](const Piece& p) {
        return p.kind == PieceKind::Label || p.text.find_first_not_of(" ,;.") == std::string::npos;
      });
      if (allExample) {
        out.lines.push_back(exampleLine(r));
      } else if (allLabels) {
        std::string labels = "* ";
        for (const Piece& p : r.pieces) {
          if (p.kind != PieceKind::Label) continue;
          if (labels.size() > 2) labels += ", ";
          appendMarkupText(labels, p.text, MarkupPlace::Paragraph);
        }
        out.lines.push_back(std::move(labels));
      } else {
        out.lines.push_back(meaningLine(r));
      }
    }
    for (std::string& m : r.media) out.lines.push_back(std::move(m));
  }
}

std::string dslEntryMarkup(std::string_view shown, const DslBodyMarkup& body) {
  std::string out = "@";
  std::string escaped;
  appendMarkupText(escaped, shown, MarkupPlace::Paragraph);
  for (char c : escaped) out += c == '|' ? '/' : c;
  if (!body.pronunciation.empty()) {
    escaped.clear();
    appendMarkupText(escaped, body.pronunciation, MarkupPlace::Paragraph);
    out += '|';
    for (char c : escaped) out += c == '|' ? '/' : c;
    out += '|';
  }
  for (const std::string& line : body.lines) {
    out += "\r\n";
    out += line;
  }
  return out;
}

std::string dslPlainText(const std::vector<std::string_view>& body) {
  DslBodyContext context;
  std::string pronunciation;
  std::string out;
  for (std::string_view line : body) {
    LineReading r;
    LineReader(context, pronunciation, r).read(line);
    std::string text;
    for (const Piece& p : r.pieces) text += p.text;
    const std::string_view t = trim(text);
    if (t.empty()) continue;
    if (!out.empty()) out += "; ";
    out += t;
  }
  return out;
}

std::string dslSubCardLine(std::string_view key) {
  std::string word;
  for (char c : trim(key)) {
    if (c == ' ' || c == '\t') {
      word += kNoBreakSpace;
    } else {
      word += c;
    }
  }
  std::string out = "!$";
  appendLinkable(out, word);
  return out;
}

}  // namespace lexora::importers
