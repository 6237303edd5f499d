#include "gui/main_window/menu_icons.h"

#include "gui/widgets/icon_painter.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>

namespace lexora {

namespace {

const QColor kInk(0x2B, 0x4C, 0x7E);     // strokes
const QColor kFill(0xDE, 0xCF, 0xC6);    // the strip's colour, as red, green, blue
const QColor kAccent(0xD9, 0x82, 0x2B);  // highlights

using Drawing = std::function<void(QPainter&)>;

// The menu pictures share one pen: ink strokes, no fill unless a drawing sets one.
QIcon drawn(const Drawing& draw, int size = 16) {
  return drawnIcon(size, [&draw](QPainter& painter) {
    painter.setPen(QPen(kInk, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    draw(painter);
  });
}

void sliders(QPainter& p) {
  const double ys[] = {3.5, 8, 12.5};
  const double knobs[] = {5, 10.5, 7};
  for (int i = 0; i < 3; ++i) {
    p.drawLine(QPointF(2, ys[i]), QPointF(14, ys[i]));
    p.setBrush(i == 1 ? kAccent : kFill);
    p.drawEllipse(QPointF(knobs[i], ys[i]), 1.8, 1.8);
    p.setBrush(Qt::NoBrush);
  }
}

void pencil(QPainter& p) {
  QPainterPath body;
  body.moveTo(11, 2.5);
  body.lineTo(13.5, 5);
  body.lineTo(5.5, 13);
  body.lineTo(2.5, 13.5);
  body.lineTo(3, 10.5);
  body.closeSubpath();
  p.setBrush(kFill);
  p.drawPath(body);
  p.setBrush(kAccent);
  p.drawPolygon(
      QPolygonF({QPointF(11, 2.5), QPointF(13.5, 5), QPointF(12.2, 6.3), QPointF(9.7, 3.8)}));
}

void page(QPainter& p) {
  QPainterPath sheet;
  sheet.moveTo(3, 1.5);
  sheet.lineTo(10, 1.5);
  sheet.lineTo(13, 4.5);
  sheet.lineTo(13, 14.5);
  sheet.lineTo(3, 14.5);
  sheet.closeSubpath();
  p.setBrush(Qt::white);
  p.drawPath(sheet);
  p.drawPolyline(QPolygonF({QPointF(10, 1.5), QPointF(10, 4.5), QPointF(13, 4.5)}));
  p.setPen(QPen(kAccent, 1.4, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(5, 6.5), QPointF(9, 6.5));
  p.setPen(QPen(kInk, 1.2, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(5, 9), QPointF(11, 9));
  p.drawLine(QPointF(5, 11.5), QPointF(11, 11.5));
}

void list(QPainter& p) {
  for (int i = 0; i < 3; ++i) {
    const double y = 3.5 + i * 4.5;
    p.setBrush(i == 0 ? kAccent : kInk);
    p.drawEllipse(QPointF(3, y), 1.2, 1.2);
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(6, y), QPointF(14, y));
  }
}

void chevron(QPainter& p, bool up) {
  p.setPen(QPen(kInk, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  const double tip = up ? 4 : 12;
  const double base = up ? 10 : 6;
  p.drawPolyline(QPolygonF({QPointF(3, base), QPointF(8, tip), QPointF(13, base)}));
  p.setPen(QPen(kAccent, 1.4, Qt::SolidLine, Qt::RoundCap));
  const double bar = up ? 13.5 : 2.5;
  p.drawLine(QPointF(5, bar), QPointF(11, bar));
}

void clock(QPainter& p) {
  p.setBrush(kFill);
  p.drawEllipse(QPointF(8, 8), 6.3, 6.3);
  p.drawLine(QPointF(8, 8), QPointF(8, 4));
  p.setPen(QPen(kAccent, 1.6, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(8, 8), QPointF(11, 9.5));
}

void arrow(QPainter& p, bool left) {
  p.setPen(QPen(kInk, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  const double head = left ? 2.5 : 13.5;
  const double wing = left ? 7 : 9;
  p.drawLine(QPointF(2.5, 8), QPointF(13.5, 8));
  p.drawPolyline(QPolygonF({QPointF(wing, 3.5), QPointF(head, 8), QPointF(wing, 12.5)}));
  p.setPen(Qt::NoPen);
  p.setBrush(kAccent);
  p.drawEllipse(QPointF(left ? 13.5 : 2.5, 8), 1.5, 1.5);
}

void book(QPainter& p) {
  p.setBrush(kFill);
  p.drawRoundedRect(QRectF(3, 1.5, 10, 13), 1.2, 1.2);
  p.setBrush(kAccent);
  p.setPen(Qt::NoPen);
  p.drawRect(QRectF(5, 1.5, 2, 6));
  p.setPen(QPen(kInk, 1.2));
  p.drawLine(QPointF(3, 12), QPointF(13, 12));
}

void wordMark(QPainter& p) {
  p.setBrush(Qt::white);
  p.drawRoundedRect(QRectF(3.5, 3.5, 9, 9), 2, 2);
  p.setPen(Qt::NoPen);
  p.setBrush(kAccent);
  p.drawEllipse(QPointF(8, 8), 2, 2);
}

}  // namespace

QIcon menuBarIcon(int image) {
  switch (image) {
    case 0:
      return drawn(sliders);
    case 1:
      return drawn(pencil);
    case 2:
      return drawn(page);
    case 3:
      return drawn(list);
    case 4:
      return drawn([](QPainter& p) { chevron(p, true); });
    case 5:
      return drawn([](QPainter& p) { chevron(p, false); });
    case 6:
      return drawn(clock);
    case 7:
      return drawn([](QPainter& p) { arrow(p, true); });
    case 8:
      return drawn([](QPainter& p) { arrow(p, false); });
    default:
      return QIcon();
  }
}

QIcon historyIcon(int image) {
  switch (image) {
    case 1:
      return drawn(book);
    case 2:
      return drawn(wordMark);
    default:
      return QIcon();
  }
}

QIcon selectDictIcon() { return pictureIcon(Picture::kSelectDict); }

QIcon lookupIcon() { return pictureIcon(Picture::kLookup); }

}  // namespace lexora
