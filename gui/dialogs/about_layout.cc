#include "gui/dialogs/about_layout.h"

#include <algorithm>

namespace lexora {

namespace {

ControlRect rect(int x, int y, int width, int height) {
  return {x, y, std::max(width, 0), std::max(height, 0)};
}

}  // namespace

AboutLayout layoutAboutBox(const ClientRect& c) {
  const int w = c.right - c.left;
  const int h = c.bottom - c.top;
  AboutLayout l;
  l.versionLine = rect(c.left + 35, c.top + 5, w - 35, 15);
  l.homePageLabel = rect(w / 2 - 110, h / 2, 70, 15);
  l.homePageLink = rect(w / 2 - 35, h / 2, w - 90, 15);
  l.supportLabel = rect(w / 2 - 110, h / 2 + 15, 70, 15);
  l.supportLink = rect(w / 2 - 35, h / 2 + 15, w - 90, 15);
  // The credits end at the client area's right edge, so no wide window cuts their lines.
  const int creditsX = w / 2 - 120;
  l.credits = rect(creditsX, c.bottom - 50, std::min(w + 2, c.right - creditsX), 50);
  return l;
}

}  // namespace lexora
