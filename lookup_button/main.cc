// lexora-util: the floating "Lookup" button. A small window that stays above the others; a
// click hands the clipboard's text to the main program (LOOKUP_WORD, shown as a popup),
// starting the main program from this program's folder when it does not run. The window is
// findable as class "LookupClass", title "Lookup"; the stop message (WM_DESTROY) ends the
// program. Only one instance runs.

#include <QApplication>
#include <QMouseEvent>
#include <QThread>
#include <QToolButton>

#include "platform/message_channel.h"
#include "platform/qt/detached_launcher.h"
#include "platform/qt/window_endpoint.h"
#include "platform/window_identity.h"
#include "render/program_folder.h"
#include "resources/icons/icon_painter.h"

namespace {

using namespace lexora;

// The main window, starting the main program first when there is none.
std::optional<WindowIdentity> findOrStartMainWindow() {
  if (auto window = findWindow("", kMainWindowTitle)) return window;
  DetachedLauncher launcher;
  if (!launcher.startProgram(programFolder() + "lexora")) return std::nullopt;
  QThread::msleep(1000);
  return findWindow("", kMainWindowTitle);
}

void handOffLookup() {
  auto window = findOrStartMainWindow();
  if (!window) return;
  // wParam 0: the meaning comes as a popup; lParam 0: the word came from another program.
  sendWindowMessage(*window, WindowMessage{kLookupWordMessage, 0, 0});
}

class LookupButton : public QToolButton {
 public:
  LookupButton() {
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                   Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowTitle(QString::fromLatin1(kLookupButtonTitle));
    setIcon(pictureIcon(Picture::kLookup));
    setIconSize(QSize(28, 28));
    setFixedSize(36, 36);
    setToolTip(QStringLiteral("Look up the copied word"));
    connect(this, &QToolButton::clicked, this, [] { handOffLookup(); });
  }

 protected:
  // Dragging moves the button.
  void mousePressEvent(QMouseEvent* event) override {
    pressPoint_ = event->globalPosition().toPoint();
    startPos_ = pos();
    dragged_ = false;
    QToolButton::mousePressEvent(event);
  }
  void mouseMoveEvent(QMouseEvent* event) override {
    QPoint delta = event->globalPosition().toPoint() - pressPoint_;
    if (dragged_ || delta.manhattanLength() > 4) {
      dragged_ = true;
      move(startPos_ + delta);
    }
  }
  void mouseReleaseEvent(QMouseEvent* event) override {
    if (dragged_) {
      setDown(false);
      return;
    }
    QToolButton::mouseReleaseEvent(event);
  }

 private:
  QPoint pressPoint_;
  QPoint startPos_;
  bool dragged_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Lexora Lookup"));
  LookupButton button;
  WindowEndpoint endpoint(lookupButtonIdentity(), [](const WindowMessage& message) -> int64_t {
    if (message.message == kDestroyMessage) QMetaObject::invokeMethod(qApp, &QApplication::quit, Qt::QueuedConnection);
    return 0;
  });
  if (!endpoint.listen()) return 0;  // another instance runs
  button.move(180, 298);
  button.show();
  return QApplication::exec();
}
