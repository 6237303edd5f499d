#include "render/entry_outline.h"

#include "util/character_references.h"

namespace lexora {
namespace {

// The page shows a character reference as its character; so does the outline.
void appendShown(std::u16string& to, std::u16string_view text) {
  if (text.find(u'&') == std::u16string_view::npos) {
    to.append(text);
  } else {
    to.append(decodeCharacterReferences(text));
  }
}

}  // namespace

std::vector<OutlineLine> outlineEntry(std::u16string_view entryText) {
  std::vector<OutlineLine> lines;
  outlineEntry(entryText, lines);
  return lines;
}

void outlineEntry(std::u16string_view entryText, std::vector<OutlineLine>& lines) {
  size_t used = 0;
  forEachLine(entryText, [&](std::u16string_view line) {
    if (used == lines.size()) lines.emplace_back();
    OutlineLine& out = lines[used++];
    out.text.clear();
    out.pronunciation.clear();
    out.translation.clear();
    out.hasTranslation = false;
    out.links.clear();
    out.kind = classifyLine(line);
    walkLine(line, out.kind, [&](const Token& t) {
      switch (t.kind) {
        case TokenKind::HeadwordSegment:
        case TokenKind::PlainText:
          appendShown(out.text, t.text);
          break;
        case TokenKind::PronunciationSegment:
          if (!out.pronunciation.empty()) out.pronunciation.push_back(u' ');
          appendShown(out.pronunciation, t.text);
          break;
        case TokenKind::LinkWord:
        case TokenKind::LinkWordWithBreak:
          // A link target may hold character references; a link word never does.
          appendShown(out.text, t.text);
          out.links.emplace_back();
          appendShown(out.links.back(), t.text);
          break;
        case TokenKind::Translation:
          out.translation.clear();
          appendShown(out.translation, t.text);
          out.hasTranslation = true;
          break;
        case TokenKind::LineBreak:
          break;
      }
    });
  });
  lines.resize(used);
}

}  // namespace lexora
