#include "app/window_layout.h"

namespace lexora {

namespace {

constexpr int32_t kButtonSize = 19;

int32_t nonNegative(int32_t value) { return value < 0 ? 0 : value; }

}  // namespace

WindowLayout computeLayout(const LayoutRect& r) {
  const int32_t width = r.right - r.left;
  WindowLayout layout;
  layout.selectDictButton = {r.left + 2, r.top + 3, kButtonSize, kButtonSize};
  layout.wordBox = {r.left + 31, r.top + 5, nonNegative(width - 62), 15};
  layout.lookupButton = {r.right - 22, r.top + 3, kButtonSize, kButtonSize};
  layout.pane = {r.left - 1, r.top + kTopStripHeight, nonNegative(width + 2),
                 nonNegative(r.bottom - r.top - kTopStripHeight)};
  layout.wordListColumnWidth = nonNegative(width - 11);
  return layout;
}

Placement mainWindowPlacement(const LayoutRect& workArea, int32_t menuBarHeight) {
  return {workArea.left, workArea.top, nonNegative(workArea.right - workArea.left),
          nonNegative(workArea.bottom - workArea.top - menuBarHeight)};
}

LayoutRect layoutRectangle(const LayoutRect& client, bool panelUp, int32_t panelHeight) {
  LayoutRect rect = client;
  if (panelUp && panelHeight > 0) rect.bottom -= panelHeight;
  return rect;
}

TopStripFigures computeTopStripFigures(const LayoutRect& r) {
  TopStripFigures strip;
  strip.fillFrom = {r.left - 1, r.top};
  strip.fillTo = {r.right - r.left + 2, kTopStripHeight};
  strip.frameFrom = {r.left + 25, r.top + 4};
  strip.frameTo = {r.right - r.left - 25, r.top + 21};
  strip.line[0] = {r.left, r.top + 22};
  strip.line[1] = {r.left, r.top};
  strip.line[2] = {r.right, r.top};
  return strip;
}

}  // namespace lexora
