#include "render/entry_outline.h"

namespace lexora {

std::vector<OutlineLine> outlineEntry(std::u16string_view entryText) {
  std::vector<OutlineLine> lines;
  forEachLine(entryText, [&](std::u16string_view line) {
    OutlineLine& out = lines.emplace_back();
    out.kind = classifyLine(line);
    walkLine(line, out.kind, [&](const Token& t) {
      switch (t.kind) {
        case TokenKind::HeadwordSegment:
        case TokenKind::PlainText:
          out.text.append(t.text);
          break;
        case TokenKind::PronunciationSegment:
          if (!out.pronunciation.empty()) out.pronunciation.push_back(u' ');
          out.pronunciation.append(t.text);
          break;
        case TokenKind::LinkWord:
        case TokenKind::LinkWordWithBreak:
          out.text.append(t.text);
          out.links.emplace_back(t.text);
          break;
        case TokenKind::Translation:
          out.translation.assign(t.text);
          out.hasTranslation = true;
          break;
        case TokenKind::LineBreak:
          break;
      }
    });
  });
  return lines;
}

}  // namespace lexora
