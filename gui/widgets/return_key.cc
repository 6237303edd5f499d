#include "gui/widgets/return_key.h"

#include <QDialog>
#include <QKeyEvent>

namespace lexora {
namespace {

class ReturnKeyFilter : public QObject {
 public:
  ReturnKeyFilter(QDialog* dialog, std::function<void()> ok)
      : QObject(dialog), dialog_(dialog), ok_(std::move(ok)) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched != dialog_ || event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    const bool plain = modifiers == Qt::NoModifier || modifiers == Qt::ControlModifier;
    if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) || !plain) return false;
    ok_();
    return true;
  }

 private:
  QDialog* dialog_;
  std::function<void()> ok_;
};

}  // namespace

void acceptOnReturn(QDialog* dialog, std::function<void()> ok) {
  dialog->installEventFilter(new ReturnKeyFilter(dialog, std::move(ok)));
}

}  // namespace lexora
