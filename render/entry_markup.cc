#include "render/entry_markup.h"

namespace lexora {

std::vector<std::u16string_view> splitLines(std::u16string_view text) {
  std::vector<std::u16string_view> lines;
  forEachLine(text, [&](std::u16string_view line) { lines.push_back(line); });
  return lines;
}

LineKind classifyLine(std::u16string_view line) {
  if (line.size() < 2) return LineKind::Blank;
  switch (line[0]) {
    case u'@':
      return LineKind::Headword;
    case u'*':
      return LineKind::WordClass;
    case u'-':
      return LineKind::Meaning;
    case u'#':
      return LineKind::Synonym;
    case u'=':
      return line[1] == u'$' ? LineKind::Example : LineKind::Plain;
    case u'!':
      return line[1] == u'$' ? LineKind::Idiom : LineKind::Plain;
    default:
      return LineKind::Plain;
  }
}

std::size_t contentStart(LineKind kind) {
  switch (kind) {
    case LineKind::Example:
    case LineKind::Idiom:
      return 2;
    case LineKind::Headword:
    case LineKind::WordClass:
    case LineKind::Meaning:
    case LineKind::Synonym:
      return 1;
    case LineKind::Blank:
    case LineKind::Plain:
      return 0;
  }
  return 0;
}

std::vector<Token> lineTokens(std::u16string_view line) {
  std::vector<Token> tokens;
  walkLine(line, classifyLine(line), [&](const Token& t) { tokens.push_back(t); });
  return tokens;
}

std::u16string toEditText(std::u16string_view stored) {
  std::u16string out;
  out.reserve(stored.size() + stored.size() / 16 + 8);
  for (char16_t c : stored) {
    if (c == u'\n') out.push_back(u'\r');
    out.push_back(c);
  }
  return out;
}

MediaKind mediaKindOf(std::u16string_view name) {
  if (name.empty() || name.size() > 255) return MediaKind::Other;
  bool partStart = true;
  for (char16_t c : name) {
    const bool safe = (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'.' ||
                      c == u'_' || c == u'-' || c == u'/';
    if (!safe || (partStart && (c == u'.' || c == u'/'))) return MediaKind::Other;
    partStart = c == u'/';
  }
  const std::u16string_view ending = name.substr(name.rfind(u'.') + 1);
  for (std::u16string_view e : {u"png", u"jpg", u"jpeg", u"gif", u"bmp", u"svg", u"webp"}) {
    if (ending == e) return MediaKind::Picture;
  }
  for (std::u16string_view e : {u"wav", u"mp3", u"ogg", u"oga", u"spx", u"opus", u"flac", u"m4a"}) {
    if (ending == e) return MediaKind::Sound;
  }
  return MediaKind::Other;
}

}  // namespace lexora
