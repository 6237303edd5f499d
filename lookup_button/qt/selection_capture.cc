#include "lookup_button/qt/selection_capture.h"

#include <QClipboard>
#include <QGuiApplication>

namespace lexora {

void captureSelection() {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (clipboard == nullptr || !clipboard->supportsSelection()) return;
  const QString selected = clipboard->text(QClipboard::Selection);
  if (selected.isEmpty()) return;
  clipboard->setText(selected, QClipboard::Clipboard);
}

}  // namespace lexora
