#include "gui/dialogs/style_dialog_layout.h"

#include <algorithm>

namespace lexora {

namespace {

constexpr int kHeaderBandHeight = 26;

ControlRect rect(int x, int y, int width, int height) {
  return {x, y, std::max(width, 0), std::max(height, 0)};
}

}  // namespace

StyleDialogLayout layoutStyleDialog(const ClientRect& c) {
  const int L = c.left, T = c.top, R = c.right, B = c.bottom;
  StyleDialogLayout l;
  l.portrait = B >= R;
  // The header band: the title left of the two picture buttons.
  l.cancelButton = rect(R - 40, T + 5, kPictureButtonSize, kPictureButtonSize);
  l.okButton = rect(R - 20, T + 5, kPictureButtonSize, kPictureButtonSize);
  l.titleLabel = rect(L + 4, T, R - 44 - (L + 4), kHeaderBandHeight);
  l.popupTimeLabel = rect(L + 2, T + 27, 120, 16);
  if (l.portrait) {
    l.popupTimeBox = rect(R - 37, T + 26, 20, 18);
    l.popupTimeSpin = rect(R - 17, T + 26, 15, 18);
    l.backColorButton = rect(L + 22, T + 47, 75, 18);
    l.textureButton = rect(R - 97, T + 47, 75, 18);
    l.styleList = rect(L + 2, T + 67, R - L - 4, 18);
    l.hiddenBox = rect(L + 2, T + 87, 58, 18);
    l.boldBox = rect(L + 62, T + 87, 58, 18);
    l.italicBox = rect(L + 122, T + 87, 58, 18);
    l.colorButton = rect(L + 182, T + 88, 58, 16);
    l.preview = rect(L - 1, T + 107, R - L + 2, B - T - 107);
  } else {
    l.popupTimeBox = rect(L + 122, T + 26, 20, 18);
    l.popupTimeSpin = rect(L + 142, T + 26, 15, 18);
    l.backColorButton = rect(L + 163, T + 26, 75, 18);
    l.textureButton = rect(L + 242, T + 26, 75, 18);
    l.styleList = rect(L + 2, T + 47, R - L - 4, 18);
    l.hiddenBox = rect(L + 2, T + 67, 76, 18);
    l.boldBox = rect(L + 82, T + 67, 76, 18);
    l.italicBox = rect(L + 162, T + 67, 76, 18);
    l.colorButton = rect(L + 242, T + 68, 76, 16);
    l.preview = rect(L - 1, T + 87, R - L + 2, B - T - 87);
  }
  return l;
}

}  // namespace lexora
