#include "gui/dialogs/meaning_box_text.h"

#include <QTextBlock>
#include <QTextDocument>

namespace lexora {

QString meaningToBoxText(std::u16string_view meaning) {
  QString box;
  box.reserve(static_cast<qsizetype>(meaning.size()));
  for (size_t i = 0; i < meaning.size(); ++i) {
    const char16_t unit = meaning[i];
    if (meaning.substr(i, 3) == u"\r\r\n") {
      box.append(QChar(u'\n'));
      i += 2;
    } else if (meaning.substr(i, 2) == u"\r\n") {
      box.append(QChar(u'\n'));
      ++i;
    } else if (unit == u'\r') {
      box.append(QChar(kLoneCrSymbol));
    } else if (unit == u'\n') {
      box.append(QChar(kLoneLfSymbol));
    } else {
      box.append(QChar(unit));
    }
  }
  return box;
}

QString boxRawText(const QTextDocument& document) {
  QString text;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    if (block != document.begin()) text.append(QChar(u'\n'));
    text.append(block.text());
  }
  return text;
}

std::u16string boxTextToMeaning(const QString& boxText) {
  std::u16string meaning;
  meaning.reserve(static_cast<size_t>(boxText.size()) + 16);
  for (QChar ch : boxText) {
    const char16_t unit = ch.unicode();
    switch (unit) {
      case u'\n':
      case u'\u2028':
      case u'\u2029':
        meaning.append(u"\r\n");
        break;
      case kLoneCrSymbol:
        meaning.push_back(u'\r');
        break;
      case kLoneLfSymbol:
        meaning.push_back(u'\n');
        break;
      default:
        meaning.push_back(unit);
        break;
    }
  }
  return meaning;
}

}  // namespace lexora
