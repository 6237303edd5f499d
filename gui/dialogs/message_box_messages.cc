#include "gui/dialogs/message_box_messages.h"

#include <QMessageBox>

#include "gui/widgets/plain_message_box.h"

namespace lexora {

void MessageBoxMessages::showMessage(const std::u16string& text, MessageIcon icon) {
  showPlainMessage(parent_.data(),
                   icon == MessageIcon::Error ? QMessageBox::Critical : QMessageBox::NoIcon,
                   QString::fromLatin1(kMessageBoxTitle), QString::fromStdU16String(text));
}

bool MessageBoxMessages::askYesNo(const std::u16string& text) {
  QMessageBox box(QMessageBox::NoIcon, QString::fromLatin1(kMessageBoxTitle),
                  QString::fromStdU16String(text), QMessageBox::Yes | QMessageBox::No,
                  parent_.data());
  box.setTextFormat(Qt::PlainText);
  box.setDefaultButton(QMessageBox::No);
  box.setEscapeButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

}  // namespace lexora
