#include "platform/qt/qt_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace lexora {

bool QtClipboard::readUnicodeText(std::u16string& text) {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
  if (!data || !data->hasText()) return false;
  QString value = data->text();
  text.assign(reinterpret_cast<const char16_t*>(value.utf16()), static_cast<size_t>(value.size()));
  return true;
}

void QtClipboard::writeUnicodeText(std::u16string_view text) {
  QGuiApplication::clipboard()->setText(
      QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())));
}

}  // namespace lexora
