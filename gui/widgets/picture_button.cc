#include "gui/widgets/picture_button.h"

#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPixmap>

#include "gui/dialogs/entry_editor_layout.h"

namespace lexora {

namespace {

// Draws `picture` on a 16 × 16 canvas scaled by `scale`.
QPixmap drawPicture(ButtonPicture picture, int scale) {
  QPixmap pixmap(kPictureButtonSize * scale, kPictureButtonSize * scale);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(scale, scale);
  switch (picture) {
    case ButtonPicture::Ok: {
      QPainterPath tick;
      tick.moveTo(2.5, 8.5);
      tick.lineTo(6.5, 12.5);
      tick.lineTo(13.5, 3.5);
      painter.setPen(QPen(QColor(0x1e, 0x8c, 0x2d), 2.6, Qt::SolidLine, Qt::RoundCap,
                          Qt::RoundJoin));
      painter.drawPath(tick);
      break;
    }
    case ButtonPicture::Cancel: {
      painter.setPen(QPen(QColor(0xc8, 0x1e, 0x1e), 2.4, Qt::SolidLine, Qt::RoundCap));
      painter.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
      painter.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
      break;
    }
  }
  return pixmap;
}

}  // namespace

QIcon buttonPictureIcon(ButtonPicture picture) {
  QIcon icon;
  icon.addPixmap(drawPicture(picture, 1));
  icon.addPixmap(drawPicture(picture, 2));
  return icon;
}

QToolButton* makePictureButton(ButtonPicture picture, const QString& name, QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setIcon(buttonPictureIcon(picture));
  button->setIconSize(QSize(kPictureButtonSize, kPictureButtonSize));
  button->setFixedSize(kPictureButtonSize, kPictureButtonSize);
  button->setAutoRaise(true);
  button->setToolTip(name);
  button->setAccessibleName(name);
  return button;
}

}  // namespace lexora
