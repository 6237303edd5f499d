#pragma once
// The main window on the desktop's screens: opened where it last was, or at its default size,
// fitted to the screen it opens on (see app/window_placement.h), and its geometry as it is
// kept for the next run.

#include <optional>

#include "app/geometry.h"

class QWidget;

namespace lexora {

// Sizes and places `window` (before it is shown) from `stored`, in the screens' logical pixels.
void placeOnScreen(QWidget& window, const std::optional<Placement>& stored);

// The frame's corner and the window's size, as placeOnScreen takes them back.
Placement keptGeometry(const QWidget& window);

}  // namespace lexora
