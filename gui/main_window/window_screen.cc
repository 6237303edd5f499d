#include "gui/main_window/window_screen.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <vector>

#include "app/window_placement.h"

namespace lexora {

void placeOnScreen(QWidget& window, const std::optional<Placement>& stored) {
  std::vector<LayoutRect> screens;
  auto add = [&screens](const QScreen* screen) {
    const QRect a = screen->availableGeometry();
    screens.push_back(LayoutRect{a.left(), a.top(), a.left() + a.width(), a.top() + a.height()});
  };
  if (QScreen* primary = QGuiApplication::primaryScreen()) add(primary);
  for (const QScreen* screen : QGuiApplication::screens()) {
    if (screen != QGuiApplication::primaryScreen()) add(screen);
  }
  const QSize size = window.size().isValid() ? window.size() : QSize(400, 560);
  const WindowOpening opening = placeMainWindow(stored, screens, size.width(), size.height());
  window.resize(opening.rect.width, opening.rect.height);
  if (opening.positioned) window.move(opening.rect.x, opening.rect.y);
}

Placement keptGeometry(const QWidget& window) {
  const QRect normal =
      window.isMaximized() || window.isFullScreen() ? window.normalGeometry() : window.geometry();
  const QPoint frame =
      window.isMaximized() || window.isFullScreen() ? normal.topLeft() : window.pos();
  return Placement{frame.x(), frame.y(), normal.width(), normal.height()};
}

}  // namespace lexora
