#pragma once
// The geometry the dialogs' layout functions share.

#include "app/geometry.h"

namespace lexora {

using ClientRect = LayoutRect;  // right and bottom lie just outside the area
using ControlRect = Placement;

// The 16 x 16 picture buttons (OK, Cancel, Add, Delete) at a dialog's top right.
constexpr int kPictureButtonSize = 16;

}  // namespace lexora
