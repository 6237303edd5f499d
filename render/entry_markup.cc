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

}  // namespace lexora
