#include "render/entry_renderer.h"

#include "render/entry_markup.h"

namespace lexora {
namespace {

constexpr std::u16string_view kBodyEnd = u"</body></html>";
constexpr std::u16string_view kBreak = u"<br>";
constexpr std::u16string_view kFontColourOpen = u"<font color=\"#";
constexpr std::u16string_view kFontClose = u"</font>";

void appendHex6(std::u16string& out, uint32_t value) {
  static constexpr char16_t kDigits[] = u"0123456789abcdef";
  char16_t buf[6];
  for (int i = 5; i >= 0; --i) {
    buf[i] = kDigits[value & 0xF];
    value >>= 4;
  }
  out.append(buf, 6);
}

// Appends `<font color="#rrggbb">`.
void appendFontOpen(std::u16string& out, uint32_t colour) {
  out.append(kFontColourOpen);
  appendHex6(out, colourToHtml(colour));
  out.append(u"\">");
}

// An attribute's value: a link target may hold '"' (a link word never does).
void appendAttribute(std::u16string& out, std::u16string_view text) {
  for (char16_t c : text) {
    if (c == u'"') {
      out.append(u"&quot;");
    } else {
      out.push_back(c);
    }
  }
}

struct ParagraphForm {
  StyleElement element;
  std::u16string_view prefixStart;  // up to the picture's folder, or the whole prefix
  std::u16string_view picture;      // empty: no picture
  std::u16string_view closer;
};

constexpr std::u16string_view kImgSrc = u"><img src=\"file://";

const ParagraphForm* paragraphForm(LineKind kind) {
  static const ParagraphForm kWordClass{
      kWordClassStyle, u"<p style=\"margin-top:0em;margin-bottom:0em;margin-left:0em;\"",
      u"word.gif", u"</P>"};
  static const ParagraphForm kMeaning{
      kMeaningStyle, u"<p style=\"margin-top:0em;margin-bottom:0em;margin-left:0.7em;\"",
      u"meaning.gif", u"</P>"};
  static const ParagraphForm kSynonym{
      kSynonymStyle, u"<p style=\"margin-top:0em;margin-bottom:0em;margin-left:1.4em;\"",
      u"syn-ant.gif", u"</P>"};
  static const ParagraphForm kExample{
      kExampleStyle, u"<p style=\"margin-top:0em;margin-bottom:0em;margin-left:1.4em;\"", u"",
      u"</p>"};
  static const ParagraphForm kIdiom{
      kIdiomStyle, u"<p style=\"margin-top:0em;margin-bottom:0em;margin-left:0.7em;\"",
      u"Idiom.gif", u"</p>"};
  switch (kind) {
    case LineKind::WordClass:
      return &kWordClass;
    case LineKind::Meaning:
      return &kMeaning;
    case LineKind::Synonym:
      return &kSynonym;
    case LineKind::Example:
      return &kExample;
    case LineKind::Idiom:
      return &kIdiom;
    default:
      return nullptr;
  }
}

// Writes the HTML of entry lines. In fragment mode every headword segment and every line is
// delivered as its own piece and the headword line gets no trailing break.
class EntryHtmlWriter {
 public:
  explicit EntryHtmlWriter(const RenderOptions& options) : options_(options) {
    pronunciationOpener_.reserve(64);
    pronunciationOpener_.append(
        options.unicodePronunciation
            ? std::u16string_view(u"/<font face=\"Lucida Sans Unicode\" color=#")
            : std::u16string_view(u"/<font color=#"));
    appendHex6(pronunciationOpener_, colourToHtml(style(kPronunciationStyle).colour));
    pronunciationOpener_.push_back(u'>');
  }

  // Appends the line's HTML to `out`; with `onPiece` set, calls it after each finished piece
  // (headword segment or line) so that the caller can cut fragments.
  template <class OnPiece>
  void writeLine(std::u16string_view line, std::u16string& out, bool fragmentMode,
                 OnPiece&& onPiece) {
    if (isMediaLine(line)) {
      const size_t before = out.size();
      writeMedia(line.substr(1), out);
      if (out.size() > before) onPiece();
      return;
    }
    const LineKind kind = classifyLine(line);
    switch (kind) {
      case LineKind::Blank:
        out.append(kBreak);
        onPiece();
        return;
      case LineKind::Plain:
        out.append(line);
        if (!fragmentMode) out.append(kBreak);
        onPiece();
        return;
      case LineKind::Headword:
        walkLine(line, kind, [&](const Token& t) {
          if (t.kind == TokenKind::PronunciationSegment) {
            writePronunciation(out, t.text);
          } else {
            writeHeadword(out, t.text);
          }
          onPiece();
        });
        if (options_.speakerLink && !fragmentMode && !speakerShown_) {
          out.append(u" <a href=\"say:\">&#9654;</a>");
          speakerShown_ = true;
        }
        if (!fragmentMode) out.append(kBreak);
        return;
      default:
        writeParagraph(line, kind, out);
        onPiece();
        return;
    }
  }

  // True when the line produces nothing (a hidden paragraph element).
  bool isHidden(LineKind kind) const {
    const ParagraphForm* form = paragraphForm(kind);
    return form != nullptr && style(form->element).hidden != 0;
  }

 private:
  const DisplayStyle& style(StyleElement e) const { return options_.settings.style(e); }

  // A picture from the resource folder, or a link that plays a sound from it.
  void writeMedia(std::u16string_view name, std::u16string& out) {
    const MediaKind kind = mediaKindOf(name);
    if (options_.resourceFolder.empty() || kind == MediaKind::Other) return;
    if (kind == MediaKind::Sound) {
      out.append(u"<a href=\"sound:");
      out.append(name);
      out.append(u"\">&#9654;</a><br>");
      return;
    }
    out.append(u"<img src=\"file://");
    appendUrlPath(out, options_.resourceFolder);
    out.append(name);  // only characters that need no escape
    out.append(u"\"><br>");
  }

  // A local path in a URL: bytes outside A-Z a-z 0-9 "-._~/" are %-escaped (as UTF-8).
  static void appendUrlPath(std::u16string& out, std::u16string_view path) {
    static constexpr char16_t kHex[] = u"0123456789ABCDEF";
    auto escape = [&](uint32_t byte) {
      out.push_back(u'%');
      out.push_back(kHex[byte >> 4]);
      out.push_back(kHex[byte & 15]);
    };
    for (size_t i = 0; i < path.size(); ++i) {
      uint32_t c = path[i];
      if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
          c == u'-' || c == u'.' || c == u'_' || c == u'~' || c == u'/') {
        out.push_back(static_cast<char16_t>(c));
        continue;
      }
      if (c >= 0xD800 && c < 0xDC00 && i + 1 < path.size() && path[i + 1] >= 0xDC00 &&
          path[i + 1] < 0xE000) {
        c = 0x10000 + ((c - 0xD800) << 10) + (path[++i] - 0xDC00);
      }
      if (c < 0x80) {
        escape(c);
      } else if (c < 0x800) {
        escape(0xC0 | (c >> 6));
        escape(0x80 | (c & 0x3F));
      } else if (c < 0x10000) {
        escape(0xE0 | (c >> 12));
        escape(0x80 | ((c >> 6) & 0x3F));
        escape(0x80 | (c & 0x3F));
      } else {
        escape(0xF0 | (c >> 18));
        escape(0x80 | ((c >> 12) & 0x3F));
        escape(0x80 | ((c >> 6) & 0x3F));
        escape(0x80 | (c & 0x3F));
      }
    }
  }

  void writePronunciation(std::u16string& out, std::u16string_view text) {
    const DisplayStyle& s = style(kPronunciationStyle);
    if (s.italic) out.append(u"<I>");
    if (s.bold) out.append(u"<B>");
    out.append(pronunciationOpener_);
    out.append(text);
    out.append(u"</font>/");
    if (s.bold) out.append(u"</B>");
    if (s.italic) out.append(u"</I>");
  }

  void writeHeadword(std::u16string& out, std::u16string_view text) {
    const DisplayStyle& s = style(kWordStyle);
    appendFontOpen(out, s.colour);
    if (s.italic) out.append(u"<I>");
    if (s.bold) out.append(u"<B>");
    out.append(text);
    if (s.bold) out.append(u"</B>");
    if (s.italic) out.append(u"</I>");
    out.append(kFontClose);
  }

  void writeParagraph(std::u16string_view line, LineKind kind, std::u16string& out) {
    const ParagraphForm& form = *paragraphForm(kind);
    const DisplayStyle& s = style(form.element);
    if (s.hidden) return;
    appendFontOpen(out, s.colour);
    if (s.italic) out.append(u"<I>");
    if (s.bold) out.append(u"<B>");
    out.append(form.prefixStart);
    if (!form.picture.empty()) {
      out.append(kImgSrc);
      out.append(options_.programFolder);
      out.append(form.picture);
      out.append(u"\">");
    } else {
      out.push_back(u'>');
    }
    walkLine(line, kind, [&](const Token& t) {
      switch (t.kind) {
        case TokenKind::LinkWord:
        case TokenKind::LinkWordWithBreak:
          out.append(u"<a href=\"");
          appendAttribute(out, t.text);
          out.append(u"\">");
          out.append(t.text);
          out.append(u"</a>");
          if (t.kind == TokenKind::LinkWordWithBreak) out.append(kBreak);
          break;
        default:
          out.append(t.text);
          break;
      }
    });
    if (s.bold) out.append(u"</B>");
    if (s.italic) out.append(u"</I>");
    out.append(kFontClose);
    out.append(form.closer);
  }

  const RenderOptions& options_;
  std::u16string pronunciationOpener_;
  bool speakerShown_ = false;
};

}  // namespace

uint32_t colourToHtml(uint32_t colour) {
  return ((colour & 0xFFu) << 16) | (colour & 0xFF00u) | ((colour >> 16) & 0xFFu);
}

std::u16string pageHead(const DisplaySettings& settings) {
  std::u16string head;
  if (settings.useTexture == 1) {
    if (settings.texturePath.empty()) return u"<html><body>";
    head.reserve(40 + settings.texturePath.size());
    head.append(u"<html><body background=\"file://");
    head.append(settings.texturePath);
    head.append(u"\">");
    return head;
  }
  head.reserve(40);
  head.append(u"<html><body BGCOLOR=\"#");
  appendHex6(head, colourToHtml(settings.backColor));
  head.append(u"\">");
  return head;
}

std::u16string renderEntryPage(std::u16string_view entryText, const RenderOptions& options) {
  EntryHtmlWriter writer(options);
  std::u16string page = pageHead(options.settings);
  page.reserve(entryText.size() * 3 + 512);
  forEachLine(entryText,
              [&](std::u16string_view line) { writer.writeLine(line, page, false, [] {}); });
  page.append(kBodyEnd);
  return page;
}

void renderEntryFragments(std::u16string_view entryText, std::vector<std::u16string>& fragments,
                          const RenderOptions& options) {
  fragments.clear();
  EntryHtmlWriter writer(options);
  std::u16string piece;
  forEachLine(entryText, [&](std::u16string_view line) {
    if (writer.isHidden(classifyLine(line))) return;
    piece.reserve(line.size() * 3 + 256);
    writer.writeLine(line, piece, true, [&] {
      fragments.push_back(std::move(piece));
      piece.clear();
    });
  });
}

}  // namespace lexora
