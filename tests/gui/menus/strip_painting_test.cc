// The strip behind the word box as it lands on pixels.

#include "gui/main_window/strip_painting.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

namespace lexora {
namespace {

TEST(StripPaintingTest, FilledStripEndsJustBeforeItsFarCorner) {
  QImage image(80, 40, QImage::Format_RGB32);
  image.fill(Qt::green);
  {
    QPainter painter(&image);
    paintTopStrip(painter, LayoutRect{0, 0, 50, 60});  // fill from (-1, 0) to (52, 25)
  }
  const QRgb black = qRgb(0, 0, 0);
  const QRgb background = qRgb(0, 255, 0);
  EXPECT_EQ(image.pixel(51, 12), black);       // right edge of the outline
  EXPECT_EQ(image.pixel(52, 12), background);  // the corner itself stays outside
  EXPECT_EQ(image.pixel(40, 24), black);       // bottom edge
  EXPECT_EQ(image.pixel(40, 25), background);
  EXPECT_EQ(image.pixel(2, 2), qRgb(0xDE, 0xCF, 0xC6));  // the strip's colour inside
}

}  // namespace
}  // namespace lexora
