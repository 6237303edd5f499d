#include "gui/main_window/strip_painting.h"
#include "gui/widgets/qt_geometry.h"

namespace lexora {

namespace {

QColor fromWindowsColour(uint32_t bgr) {
  return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                static_cast<int>((bgr >> 16) & 0xFF));
}

// The rectangle whose 1-pixel outline covers `from` up to, not including, `to` (the right and
// bottom corner lie just outside, as the drawing calls take them). A stroked QRect grows by the
// pen's width, so the rectangle itself is one pixel smaller.
QRect fromCorners(const Point& from, const Point& to) {
  return QRect(from.x, from.y, to.x - from.x - 1, to.y - from.y - 1);
}

}  // namespace

void paintTopStrip(QPainter& painter, const LayoutRect& rect) {
  const TopStripFigures strip = computeTopStripFigures(rect);
  const QColor colour = fromWindowsColour(strip.colour);
  painter.save();
  painter.setPen(QPen(Qt::black, 1));
  painter.setBrush(colour);
  painter.drawRect(fromCorners(strip.fillFrom, strip.fillTo));
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setBrush(Qt::white);
  painter.drawRoundedRect(fromCorners(strip.frameFrom, strip.frameTo), strip.cornerSize / 2.0,
                          strip.cornerSize / 2.0);
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setPen(QPen(colour, 1));
  painter.drawPolyline(
      QPolygon({QPoint(strip.line[0].x, strip.line[0].y), QPoint(strip.line[1].x, strip.line[1].y),
                QPoint(strip.line[2].x, strip.line[2].y)}));
  painter.restore();
}

void placeChildren(const WindowLayout& layout, QWidget* selectDictButton, QWidget* wordBox,
                   QWidget* lookupButton, std::initializer_list<QWidget*> panes) {
  if (selectDictButton) selectDictButton->setGeometry(toQRect(layout.selectDictButton));
  if (wordBox) wordBox->setGeometry(toQRect(layout.wordBox));
  if (lookupButton) lookupButton->setGeometry(toQRect(layout.lookupButton));
  for (QWidget* pane : panes) {
    if (pane) pane->setGeometry(toQRect(layout.pane));
  }
}

}  // namespace lexora
