#include "gui/widgets/picture_button.h"

#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPixmap>

#include "gui/widgets/dialog_geometry.h"
#include "gui/widgets/icon_painter.h"

namespace lexora {

namespace {

void drawPicture(ButtonPicture picture, QPainter& painter) {
  switch (picture) {
    case ButtonPicture::Ok: {
      QPainterPath tick;
      tick.moveTo(2.5, 8.5);
      tick.lineTo(6.5, 12.5);
      tick.lineTo(13.5, 3.5);
      painter.setPen(
          QPen(QColor(0x1e, 0x8c, 0x2d), 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      painter.drawPath(tick);
      break;
    }
    case ButtonPicture::Cancel: {
      painter.setPen(QPen(QColor(0xc8, 0x1e, 0x1e), 2.4, Qt::SolidLine, Qt::RoundCap));
      painter.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
      painter.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
      break;
    }
    case ButtonPicture::Add:
    case ButtonPicture::Remove: {
      painter.setPen(QPen(QColor(0x1e, 0x3c, 0xb4), 2.6, Qt::SolidLine, Qt::RoundCap));
      painter.drawLine(QPointF(3, 8), QPointF(13, 8));
      if (picture == ButtonPicture::Add) painter.drawLine(QPointF(8, 3), QPointF(8, 13));
      break;
    }
  }
}

}  // namespace

QIcon buttonPictureIcon(ButtonPicture picture) {
  return drawnIcon(kPictureButtonSize,
                   [picture](QPainter& painter) { drawPicture(picture, painter); });
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
