#include "render/terminal_renderer.h"

#include "render/entry_outline.h"

namespace lexora {
namespace {

std::u16string_view trimmed(std::u16string_view s) {
  while (!s.empty() && (s.front() == u' ' || s.front() == u'\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == u' ' || s.back() == u'\t' || s.back() == u'\r'))
    s.remove_suffix(1);
  return s;
}

void appendNumber(std::u16string& out, unsigned n) {
  char16_t buf[12];
  int i = 12;
  do {
    buf[--i] = static_cast<char16_t>(u'0' + n % 10);
    n /= 10;
  } while (n != 0);
  out.append(buf + i, static_cast<std::size_t>(12 - i));
}

class TerminalWriter {
 public:
  TerminalWriter(const DisplaySettings& settings, bool ansi, std::u16string& out)
      : settings_(settings), ansi_(ansi), out_(out) {}

  // Text in an element's style. Black (the page's default ink) is left to the terminal's own
  // foreground colour, so that it stays readable on dark backgrounds.
  // `before` and `after` go around the text in the same style (the slashes around a
  // pronunciation).
  void styled(StyleElement element, std::u16string_view text, bool forceBold = false,
              std::u16string_view before = {}, std::u16string_view after = {}) {
    if (text.empty() && before.empty()) return;
    const DisplayStyle& s = settings_.style(element);
    const bool bold = forceBold || s.bold != 0;
    const uint32_t rgb = s.colour & 0x00FFFFFFu;
    const bool any = ansi_ && (bold || s.italic || rgb != 0);
    if (any) {
      out_.append(u"\x1b[");
      bool first = true;
      auto sep = [&] {
        if (!first) out_.push_back(u';');
        first = false;
      };
      if (bold) {
        sep();
        out_.push_back(u'1');
      }
      if (s.italic) {
        sep();
        out_.push_back(u'3');
      }
      if (rgb != 0) {
        sep();
        out_.append(u"38;2;");
        appendNumber(out_, rgb & 0xFF);
        out_.push_back(u';');
        appendNumber(out_, (rgb >> 8) & 0xFF);
        out_.push_back(u';');
        appendNumber(out_, (rgb >> 16) & 0xFF);
      }
      out_.push_back(u'm');
    }
    out_.append(before);
    out_.append(text);
    out_.append(after);
    if (any) out_.append(u"\x1b[0m");
  }

  void plain(std::u16string_view text) { out_.append(text); }
  void number(unsigned n) { appendNumber(out_, n); }
  void indent(std::size_t n) { out_.append(n, u' '); }
  void endLine() {
    out_.push_back(u'\n');
    blankPending_ = false;
  }
  void blank() {
    if (!out_.empty() && !blankPending_) {
      out_.push_back(u'\n');
      blankPending_ = true;
    }
  }

  const DisplaySettings& settings() const { return settings_; }

 private:
  const DisplaySettings& settings_;
  bool ansi_;
  std::u16string& out_;
  bool blankPending_ = false;
};

// One entry's lines as a terminal shows them; the sense numbers and the idiom block under way
// are its state.
class EntryDrawing {
 public:
  EntryDrawing(const DisplaySettings& settings, bool ansi, std::u16string& out)
      : w_(settings, ansi, out), out_(out), startSize_(out.size()) {}

  void draw(const OutlineLine& line) {
    const std::u16string_view text = trimmed(line.text);
    switch (line.kind) {
      case LineKind::Blank:
        blank();
        break;
      case LineKind::Plain:
        plain(line);
        break;
      case LineKind::Headword:
        headword(text, line);
        break;
      case LineKind::WordClass:
        wordClass(text);
        break;
      case LineKind::Meaning:
        meaning(text);
        break;
      case LineKind::Example:
      case LineKind::Idiom:
        exampleOrIdiom(text, line);
        break;
      case LineKind::Synonym:
        synonym(text);
        break;
    }
  }

 private:
  bool hidden(StyleElement e) const { return w_.settings().style(e).hidden != 0; }

  // A blank line parts the texts of a merged entry: each counts its senses from 1.
  void blank() {
    if (out_.size() > startSize_) w_.blank();
    meaningNumber_ = 0;
    underIdiom_ = false;
  }

  void plain(const OutlineLine& line) {
    if (isMediaLine(line.text)) {
      // A picture or sound: its name, for there is nothing to show or play here.
      w_.plain(u"[");
      w_.plain(line.text.substr(1));
      w_.plain(u"]");
    } else {
      w_.plain(line.text);
    }
    w_.endLine();
  }

  void headword(std::u16string_view text, const OutlineLine& line) {
    w_.styled(kWordStyle, text, true);
    if (!line.pronunciation.empty()) {
      if (!text.empty()) w_.plain(u" ");
      w_.styled(kPronunciationStyle, trimmed(line.pronunciation), false, u"/", u"/");
    }
    w_.endLine();
    meaningNumber_ = 0;
    underIdiom_ = false;
  }

  void wordClass(std::u16string_view text) {
    meaningNumber_ = 0;
    underIdiom_ = false;
    if (hidden(kWordClassStyle)) return;
    w_.styled(kWordClassStyle, text);
    w_.endLine();
  }

  void meaning(std::u16string_view text) {
    if (hidden(kMeaningStyle)) return;
    if (underIdiom_) {
      w_.indent(6);
      w_.plain(u"- ");
    } else {
      const unsigned n = ++meaningNumber_;
      const std::size_t digits = n < 10 ? 1 : n < 100 ? 2 : n < 1000 ? 3 : 4;
      w_.indent(digits < 3 ? 3 - digits : 0);  // "N. " right-aligned in five columns
      w_.number(n);
      w_.plain(u". ");
    }
    w_.styled(kMeaningStyle, text);
    w_.endLine();
  }

  void exampleOrIdiom(std::u16string_view text, const OutlineLine& line) {
    const bool idiom = line.kind == LineKind::Idiom;
    const StyleElement e = idiom ? kIdiomStyle : kExampleStyle;
    if (hidden(e)) return;
    const std::size_t depth = idiom ? 3 : (underIdiom_ ? 8 : 6);
    if (idiom) underIdiom_ = true;
    w_.indent(depth);
    w_.plain(idiom ? u"\u25c6 " : u"\u2022 ");
    w_.styled(e, text);
    w_.endLine();
    const std::u16string_view translation = trimmed(line.translation);
    if (line.hasTranslation && !translation.empty()) {
      w_.indent(depth + 2);
      w_.plain(u"\u2192 ");
      w_.plain(translation);
      w_.endLine();
    }
  }

  void synonym(std::u16string_view text) {
    if (hidden(kSynonymStyle)) return;
    w_.indent(3);
    w_.plain(u"\u2248 ");
    w_.styled(kSynonymStyle, text);
    w_.endLine();
  }

  TerminalWriter w_;
  const std::u16string& out_;
  const std::size_t startSize_;
  unsigned meaningNumber_ = 0;
  bool underIdiom_ = false;
};

}  // namespace

void renderEntryForTerminal(std::u16string_view entryText, const DisplaySettings& settings,
                            bool ansi, std::u16string& out) {
  std::vector<OutlineLine> lines;
  renderEntryForTerminal(entryText, settings, ansi, out, lines);
}

void renderEntryForTerminal(std::u16string_view entryText, const DisplaySettings& settings,
                            bool ansi, std::u16string& out, std::vector<OutlineLine>& lines) {
  outlineEntry(entryText, lines);
  EntryDrawing drawing(settings, ansi, out);
  for (const OutlineLine& line : lines) drawing.draw(line);
}

}  // namespace lexora
