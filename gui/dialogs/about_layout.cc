#include "gui/dialogs/about_layout.h"

#include <algorithm>

namespace lexora {

namespace {

ControlRect rect(int x, int y, int width, int height) {
  return {x, y, std::max(width, 0), std::max(height, 0)};
}

// Lines a link of `textWidth` takes when wrapped at `width`, with one to spare for the words
// that do not break evenly.
int linesFor(int textWidth, int width) {
  if (width >= textWidth) return 1;
  if (width <= 0) return 1;
  return (textWidth + width - 1) / width + 1;
}

}  // namespace

AboutLayout layoutAboutBox(const ClientRect& c, const AboutTextSizes& t) {
  constexpr int kMargin = 4;
  constexpr int kGap = 5;
  const int w = c.right - c.left;
  const int h = c.bottom - c.top;
  AboutLayout l;
  l.versionLine = rect(c.left + 35, c.top + 5, w - 35, 15);
  const int room = std::max(w - 2 * kMargin - t.labelWidth - kGap, 0);
  const int homeWidth = std::min(t.homePageLinkWidth, room);
  const int supportWidth = std::min(t.supportLinkWidth, room);
  const int block = t.labelWidth + kGap + std::max(homeWidth, supportWidth);
  const int labelX = c.left + std::max(kMargin, (w - block) / 2);
  const int linkX = labelX + t.labelWidth + kGap;
  const int homeHeight = t.lineHeight * linesFor(t.homePageLinkWidth, homeWidth);
  const int supportY = c.top + h / 2 + homeHeight;
  l.homePageLabel = rect(labelX, c.top + h / 2, t.labelWidth, t.lineHeight);
  l.homePageLink = rect(linkX, c.top + h / 2, homeWidth, homeHeight);
  l.supportLabel = rect(labelX, supportY, t.labelWidth, t.lineHeight);
  l.supportLink = rect(linkX, supportY, supportWidth,
                       t.lineHeight * linesFor(t.supportLinkWidth, supportWidth));
  // The credits end at the client area's right edge, so no wide window cuts their lines.
  const int creditsX = w / 2 - 120;
  l.credits = rect(creditsX, c.bottom - 50, std::min(w + 2, c.right - creditsX), 50);
  return l;
}

}  // namespace lexora
