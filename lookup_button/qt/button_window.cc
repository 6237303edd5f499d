#include "lookup_button/qt/button_window.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include "gui/widgets/icon_painter.h"
#include "platform/window_identity.h"

namespace lexora {
namespace {

ScreenPoint screenPoint(const QMouseEvent* event) {
  const QPoint p = event->globalPosition().toPoint();
  return {p.x(), p.y()};
}

// The stored position, or the default place when it lies on none of the screens now attached.
ScreenPoint startPosition(const ButtonOptions& options) {
  std::vector<LayoutRect> screens;
  for (const QScreen* screen : QGuiApplication::screens()) {
    const QRect g = screen->geometry();
    screens.push_back({g.left(), g.top(), g.left() + g.width(), g.top() + g.height()});
  }
  return placeOnScreens({options.x(), options.y()}, screens,
                        {schema::kDefaultButtonX, schema::kDefaultButtonY});
}

}  // namespace

ButtonWindow::ButtonWindow(ButtonOptions& options)
    : options_(options),
      stylus_(buttonRectAt(startPosition(options).x, startPosition(options).y),
              QApplication::startDragDistance()) {
  setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                 Qt::WindowDoesNotAcceptFocus | Qt::X11BypassWindowManagerHint);
  setAttribute(Qt::WA_ShowWithoutActivating);
  setFocusPolicy(Qt::NoFocus);
  setWindowTitle(QString::fromLatin1(kLookupButtonTitle));
  setFixedSize(kButtonSize, kButtonSize);
  move(stylus_.rect().left, stylus_.rect().top);
  holdTimer_.setSingleShot(true);
  holdTimer_.setInterval(kHoldMs);
  connect(&holdTimer_, &QTimer::timeout, this, &ButtonWindow::holdRecognised);
}

void ButtonWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  painter.drawPixmap(rect(), paintPicture(Picture::kLookup, kButtonSize, devicePixelRatioF()));
}

void ButtonWindow::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) {
    showMenu();
    return;
  }
  if (event->button() != Qt::LeftButton) return;
  stylus_.press(screenPoint(event));
  holdTimer_.start();
}

void ButtonWindow::mouseMoveEvent(QMouseEvent* event) {
  if (!(event->buttons() & Qt::LeftButton)) return;
  std::optional<ButtonRect> moved = stylus_.dragStep(screenPoint(event), options_.freeze());
  if (!moved) return;
  if (stylus_.isDragging()) holdTimer_.stop();
  options_.storePosition(moved->left, moved->top);
  move(moved->left, moved->top);
}

void ButtonWindow::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  holdTimer_.stop();
  if (stylus_.release() == Release::kTap) emit tapped();
}

void ButtonWindow::holdRecognised() {
  // A press that has started a drag is no hold.
  if (!stylus_.isDown() || stylus_.isDragging()) return;
  stylus_.cancel();
  showMenu();
}

void ButtonWindow::showMenu() {
  QMenu menu;
  QAction* showPopup = menu.addAction(QStringLiteral("Show popup"));
  showPopup->setCheckable(true);
  showPopup->setChecked(options_.showPopup());
  QAction* freeze = menu.addAction(QStringLiteral("Freeze"));
  freeze->setCheckable(true);
  freeze->setChecked(options_.freeze());
  menu.addSeparator();
  QAction* exit = menu.addAction(pictureIcon(Picture::kQuit), QStringLiteral("Exit"));

  QAction* chosen = menu.exec(mapToGlobal(QPoint(0, 0)));
  if (chosen == showPopup) {
    options_.toggleShowPopup();
  } else if (chosen == freeze) {
    options_.toggleFreeze();
  } else if (chosen == exit) {
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
  }
}

}  // namespace lexora
