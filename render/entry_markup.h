#pragma once
// The entry markup: how an entry's text is cut into lines, what kind each line is, and the walk
// that turns one line into tokens. Every renderer (page, fragments, terminal) consumes the same
// walk, so a rule of the markup lives here only.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace lexora {

// ---- Lines ----

// Calls f(line) for each line of `text`. Lines end at CR LF only; a lone CR or LF is an ordinary
// character. A text without CR LF is one line; after the last CR LF comes one more line, empty
// when the text ends with CR LF.
template <class F>
void forEachLine(std::u16string_view text, F&& f) {
  std::size_t start = 0;
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] == u'\r' && text[i + 1] == u'\n') {
      f(text.substr(start, i - start));
      start = i + 2;
      ++i;
    }
  }
  f(text.substr(start));
}

std::vector<std::u16string_view> splitLines(std::u16string_view text);

enum class LineKind {
  Blank,      // fewer than 2 characters
  Headword,   // "@"
  WordClass,  // "*"
  Meaning,    // "-"
  Example,    // "=$"
  Idiom,      // "!$"
  Synonym,    // "#"
  Plain,      // anything else, shown whole
};

LineKind classifyLine(std::u16string_view line);

// A media line: U+FFFC, then the name of a picture or sound inside the dictionary's resource
// folder ("images/cat.png"). It is a plain line to the walk; the renderers show the picture or a
// link that plays the sound (a dictionary without a resource folder shows nothing for it).
inline constexpr char16_t kMediaLineLead = u'\uFFFC';
inline bool isMediaLine(std::u16string_view line) {
  return line.size() >= 2 && line[0] == kMediaLineLead;
}

// What a media line names: Picture, Sound, or Other (a file that is shown as nothing), by the
// name's ending. Unsafe names (anything but a-z, 0-9, "._-/", a part that starts with a dot)
// are Other.
enum class MediaKind { Picture, Sound, Other };
MediaKind mediaKindOf(std::u16string_view name);

// Position of the first content character of a line of that kind (0 for plain lines).
std::size_t contentStart(LineKind kind);

// ---- Word delimiters ----

// The 40 characters that end a link word, in their stored order.
inline constexpr std::u16string_view wordDelimiters = u"<>?:\"{}|+)(*&^%$#@!~,./;[]\\=-0123456789 ";

namespace markup_detail {
struct DelimiterTable {
  std::array<bool, 128> isDelimiter{};
  constexpr DelimiterTable() {
    for (char16_t c : wordDelimiters) isDelimiter[c] = true;
  }
};
inline constexpr DelimiterTable kDelimiterTable{};
}  // namespace markup_detail

inline bool isWordDelimiter(char16_t c) {
  return c < 128 && markup_detail::kDelimiterTable.isDelimiter[c];
}

// ---- Link targets ----

// A link whose target holds characters that end a link word ("C++", "OS/2", "Perl 5"): the
// target stands between U+FFF9 and U+FFFB (the interlinear annotation marks, which text that is
// exchanged never holds) and is one link word, whatever it holds. Word-class, meaning, synonym,
// example and idiom lines take it, in or out of "$" marks; an example's "+" inside it is part
// of the target. Without the closing mark the target runs to the end of the line. The target's
// text reaches the page as it is, so "<", "&" and '"' in it are written as character references.
inline constexpr char16_t kLinkTargetOpen = u'\uFFF9';
inline constexpr char16_t kLinkTargetClose = u'\uFFFB';

// ---- Tokens ----

enum class TokenKind {
  HeadwordSegment,       // shown in the Word style
  PronunciationSegment,  // shown in the /Pronunciation/ style, between slashes
  PlainText,             // shown as it is (adjacent plain characters come as one token)
  LinkWord,              // a link whose target is the word itself
  LinkWordWithBreak,     // a link word followed by a line break (before a translation)
  Translation,           // the rest of an example or idiom line after its "+"
  LineBreak,             // the whole of a blank line
};

struct Token {
  TokenKind kind;
  std::u16string_view text;  // points into the walked line
  bool operator==(const Token&) const = default;
};

namespace markup_detail {

template <class Sink>
void walkHeadword(std::u16string_view line, Sink& sink) {
  bool headwordMode = true;
  std::size_t start = 1;
  auto emit = [&](std::size_t end) {
    if (end > start) {
      sink(Token{headwordMode ? TokenKind::HeadwordSegment : TokenKind::PronunciationSegment,
                 line.substr(start, end - start)});
    }
  };
  for (std::size_t i = 1; i < line.size(); ++i) {
    if (line[i] == u'|') {
      emit(i);
      headwordMode = !headwordMode;
      start = i + 1;
    }
  }
  emit(line.size());
}

// Emits plain characters in runs: [plainStart, end) of the line.
template <class Sink>
struct PlainRun {
  std::u16string_view line;
  Sink& sink;
  std::size_t start = 0;
  std::size_t end = 0;
  void add(std::size_t i) {
    if (end == start || end != i) {
      flush();
      start = i;
    }
    end = i + 1;
  }
  void flush() {
    if (end > start) sink(Token{TokenKind::PlainText, line.substr(start, end - start)});
    start = end = 0;
  }
};

// Emits the link target that opens at `open` (a non-empty one) as one link word; returns the
// position of its closing mark (the line's last position when it has none).
template <class Sink>
std::size_t emitLinkTarget(std::u16string_view line, std::size_t open, Sink& sink) {
  std::size_t close = line.find(kLinkTargetClose, open + 1);
  if (close == std::u16string_view::npos) close = line.size();
  if (close > open + 1) sink(Token{TokenKind::LinkWord, line.substr(open + 1, close - open - 1)});
  return close == line.size() ? close - 1 : close;
}

template <class Sink>
void walkExample(std::u16string_view line, Sink& sink) {
  PlainRun<Sink> plain{line, sink};
  std::size_t wordStart = 2;
  std::size_t i = 2;
  for (; i < line.size(); ++i) {
    const char16_t c = line[i];
    if (c == kLinkTargetOpen) {
      plain.flush();
      if (i > wordStart) sink(Token{TokenKind::LinkWord, line.substr(wordStart, i - wordStart)});
      i = emitLinkTarget(line, i, sink);
      wordStart = i + 1;
      continue;
    }
    if (!isWordDelimiter(c)) {
      if (i == wordStart) plain.flush();
      continue;
    }
    const bool hasWord = i > wordStart;
    if (c == u'+') {
      if (hasWord)
        sink(Token{TokenKind::LinkWordWithBreak, line.substr(wordStart, i - wordStart)});
      else
        plain.flush();
      sink(Token{TokenKind::Translation, line.substr(i + 1)});
      return;
    }
    if (hasWord) sink(Token{TokenKind::LinkWord, line.substr(wordStart, i - wordStart)});
    if (c != u'$') plain.add(i);
    wordStart = i + 1;
  }
  if (i > wordStart) {
    sink(Token{TokenKind::LinkWord, line.substr(wordStart, i - wordStart)});
  } else {
    plain.flush();
  }
}

template <class Sink>
void walkParagraph(std::u16string_view line, Sink& sink) {
  PlainRun<Sink> plain{line, sink};
  bool linkMode = false;
  std::size_t wordStart = 1;
  std::size_t wordEnd = 1;  // pending word is [wordStart, wordEnd)
  for (std::size_t i = 1; i < line.size(); ++i) {
    const char16_t c = line[i];
    if (c == kLinkTargetOpen) {
      plain.flush();
      if (wordEnd > wordStart) {
        sink(Token{TokenKind::LinkWord, line.substr(wordStart, wordEnd - wordStart)});
      }
      i = emitLinkTarget(line, i, sink);
      wordStart = wordEnd = i + 1;
      continue;
    }
    if (isWordDelimiter(c)) {
      if (wordEnd > wordStart) {
        sink(Token{TokenKind::LinkWord, line.substr(wordStart, wordEnd - wordStart)});
      }
      wordStart = wordEnd = i + 1;
      if (c == u'$') {
        linkMode = !linkMode;
      } else {
        plain.add(i);
      }
    } else if (linkMode) {
      if (wordEnd == wordStart) {
        plain.flush();
        wordStart = i;
      }
      wordEnd = i + 1;
    } else {
      plain.add(i);
      wordStart = wordEnd = i + 1;
    }
  }
  if (wordEnd > wordStart) {
    sink(Token{TokenKind::LinkWord, line.substr(wordStart, wordEnd - wordStart)});
  } else {
    plain.flush();
  }
}

}  // namespace markup_detail

// Walks one line of the given kind, calling sink(Token) for each token in order.
// Headword lines yield segments; example and idiom lines link every word before "+" and end in
// a translation; word-class, meaning and synonym lines link the words between "$" marks; a plain
// line is one plain token holding the whole line; a blank line is one LineBreak.
// REQUIRES: kind == classifyLine(line).
template <class Sink>
void walkLine(std::u16string_view line, LineKind kind, Sink&& sink) {
  switch (kind) {
    case LineKind::Blank:
      sink(Token{TokenKind::LineBreak, {}});
      return;
    case LineKind::Plain:
      sink(Token{TokenKind::PlainText, line});
      return;
    case LineKind::Headword:
      markup_detail::walkHeadword(line, sink);
      return;
    case LineKind::Example:
    case LineKind::Idiom:
      markup_detail::walkExample(line, sink);
      return;
    case LineKind::WordClass:
    case LineKind::Meaning:
    case LineKind::Synonym:
      markup_detail::walkParagraph(line, sink);
      return;
  }
}

// The tokens of one line as a list (convenient where speed does not matter).
std::vector<Token> lineTokens(std::u16string_view line);

// Stored text → text for the editing box: every LF becomes CR LF, whatever precedes it
// (so a stored CR LF becomes CR CR LF); all other characters are copied.
std::u16string toEditText(std::u16string_view stored);

}  // namespace lexora
