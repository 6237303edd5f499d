#include "lookup_button/stylus_tracker.h"

#include <algorithm>
#include <cstdlib>

namespace lexora {

ScreenPoint placeOnScreens(ScreenPoint stored, const std::vector<LayoutRect>& screens,
                           ScreenPoint fallback) {
  const int64_t cx = static_cast<int64_t>(stored.x) + kButtonSize / 2;
  const int64_t cy = static_cast<int64_t>(stored.y) + kButtonSize / 2;
  for (const LayoutRect& s : screens) {
    if (cx >= s.left && cx < s.right && cy >= s.top && cy < s.bottom) return stored;
  }
  return fallback;
}

void StylusTracker::press(ScreenPoint point) {
  if (down_) return;
  pressPoint_ = point;
  last_ = point;
  down_ = true;
  travelled_ = 0;
}

std::optional<ButtonRect> StylusTracker::dragStep(ScreenPoint point, bool frozen) {
  if (!down_ || frozen) return std::nullopt;
  const int32_t dx = point.x - last_.x;
  const int32_t dy = point.y - last_.y;
  last_ = point;
  rect_.left += dx;
  rect_.right += dx;
  rect_.top += dy;
  rect_.bottom += dy;
  const int64_t distance = std::llabs(static_cast<int64_t>(point.x) - pressPoint_.x) +
                           std::llabs(static_cast<int64_t>(point.y) - pressPoint_.y);
  travelled_ =
      static_cast<int32_t>(std::max<int64_t>(travelled_, std::min<int64_t>(distance, INT32_MAX)));
  return rect_;
}

Release StylusTracker::release() {
  if (!down_) return Release::kNone;
  down_ = false;
  return isDragging() ? Release::kDrag : Release::kTap;
}

}  // namespace lexora
