#pragma once
// The layout functions compute plain rectangles; the windows place their widgets with them.

#include <QRect>

#include "app/geometry.h"

namespace lexora {

inline QRect toQRect(const Placement& p) { return QRect(p.x, p.y, p.width, p.height); }

}  // namespace lexora
