#include "gui/widgets/icon_painter.h"

#include <QPainter>
#include <QPainterPath>

namespace lexora {
namespace {

// All pictures are drawn on a 64 x 64 canvas and scaled.
void drawBook(QPainter& p, QRectF r, QColor cover, QColor pages) {
  QPainterPath left, right;
  const qreal mid = r.center().x();
  left.moveTo(mid, r.top() + r.height() * 0.12);
  left.cubicTo(mid - r.width() * 0.2, r.top(), r.left() + r.width() * 0.1, r.top(), r.left(),
               r.top() + r.height() * 0.06);
  left.lineTo(r.left(), r.bottom() - r.height() * 0.06);
  left.cubicTo(r.left() + r.width() * 0.1, r.bottom() - r.height() * 0.12, mid - r.width() * 0.2,
               r.bottom() - r.height() * 0.12, mid, r.bottom());
  left.closeSubpath();
  right = QTransform().translate(2 * mid, 0).scale(-1, 1).map(left);
  p.setPen(QPen(cover, 3.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(pages);
  p.drawPath(left);
  p.drawPath(right);
  p.setPen(QPen(cover.lighter(150), 2.0, Qt::SolidLine, Qt::RoundCap));
  for (int i = 1; i <= 3; ++i) {
    qreal y = r.top() + r.height() * (0.18 + 0.18 * i);
    p.drawLine(QPointF(r.left() + r.width() * 0.1, y), QPointF(mid - r.width() * 0.08, y + 2));
    p.drawLine(QPointF(mid + r.width() * 0.08, y + 2), QPointF(r.right() - r.width() * 0.1, y));
  }
}

void drawArrow(QPainter& p, bool left, QColor colour) {
  QPainterPath path;
  path.moveTo(44, 10);
  path.lineTo(20, 32);
  path.lineTo(44, 54);
  if (!left) path = QTransform().translate(64, 0).scale(-1, 1).map(path);
  p.setPen(QPen(colour, 9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPath(path);
}

void paint(QPainter& p, Picture picture) {
  const QColor navy = lexoraNavy();
  switch (picture) {
    case Picture::kProgram: {
      p.setPen(Qt::NoPen);
      QLinearGradient g(0, 0, 0, 64);
      g.setColorAt(0, navy.lighter(135));
      g.setColorAt(1, navy);
      p.setBrush(g);
      p.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);
      drawBook(p, QRectF(10, 16, 44, 34), QColor(0xF2, 0xB1, 0x34), Qt::white);
      break;
    }
    case Picture::kLookup: {
      p.setPen(QPen(navy, 7, Qt::SolidLine, Qt::RoundCap));
      p.setBrush(QColor(0xE3, 0xEE, 0xFA));
      p.drawEllipse(QPointF(26, 26), 17, 17);
      p.setPen(QPen(navy, 11, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(39, 39), QPointF(56, 56));
      p.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap));
      p.drawArc(QRectF(16, 16, 20, 20), 100 * 16, 70 * 16);
      break;
    }
    case Picture::kSelectDict: {
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(0xC0, 0x39, 0x2B));
      p.drawRoundedRect(QRectF(8, 36, 48, 16), 3, 3);
      p.setBrush(navy);
      p.drawRoundedRect(QRectF(12, 14, 44, 18), 3, 3);
      p.setBrush(Qt::white);
      p.drawRect(QRectF(12, 40, 40, 8));
      p.drawRect(QRectF(16, 18, 36, 10));
      p.setBrush(QColor(0xF2, 0xB1, 0x34));
      p.drawRect(QRectF(22, 10, 6, 14));
      break;
    }
    case Picture::kPreviousWord:
      drawArrow(p, true, navy);
      break;
    case Picture::kNextWord:
      drawArrow(p, false, navy);
      break;
    case Picture::kQuit: {
      p.setPen(QPen(QColor(0xB0, 0x2A, 0x1E), 8, Qt::SolidLine, Qt::RoundCap));
      p.setBrush(Qt::NoBrush);
      p.drawArc(QRectF(12, 14, 40, 40), 120 * 16, 300 * 16);
      p.drawLine(QPointF(32, 8), QPointF(32, 32));
      break;
    }
  }
}

}  // namespace

QPixmap paintPicture(Picture picture, int size, qreal devicePixelRatio) {
  QPixmap pixmap(qRound(size * devicePixelRatio), qRound(size * devicePixelRatio));
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(pixmap.width() / 64.0, pixmap.height() / 64.0);
  paint(p, picture);
  p.end();
  pixmap.setDevicePixelRatio(devicePixelRatio);
  return pixmap;
}

QIcon pictureIcon(Picture picture) {
  QIcon icon;
  for (int size : {16, 20, 24, 32, 48, 64}) icon.addPixmap(paintPicture(picture, size));
  return icon;
}

QIcon drawnIcon(int size, const std::function<void(QPainter&)>& draw) {
  QIcon icon;
  for (int scale : {1, 2}) {
    QPixmap pixmap(size * scale, size * scale);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(scale * size / 16.0, scale * size / 16.0);
    draw(painter);
    painter.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

}  // namespace lexora
