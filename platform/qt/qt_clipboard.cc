#include "platform/qt/qt_clipboard.h"
#include "platform/qt/qt_text.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace lexora {

bool QtClipboard::readUnicodeText(std::u16string& text) {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
  if (!data || !data->hasText()) return false;
  QString value = data->text();
  text = toU16String(value);
  return true;
}

void QtClipboard::writeUnicodeText(std::u16string_view text) {
  QGuiApplication::clipboard()->setText(toQString(text));
}

}  // namespace lexora
