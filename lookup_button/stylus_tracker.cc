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
  pressRect_ = rect_;
  down_ = true;
  travelled_ = 0;
}

std::optional<ButtonRect> StylusTracker::dragStep(ScreenPoint point, bool frozen) {
  if (!down_ || frozen) return std::nullopt;
  const int64_t dx = int64_t{point.x} - pressPoint_.x;
  const int64_t dy = int64_t{point.y} - pressPoint_.y;
  travelled_ = static_cast<int32_t>(
      std::max<int64_t>(travelled_, std::min<int64_t>(std::llabs(dx) + std::llabs(dy), INT32_MAX)));
  // Jitter within the drag distance leaves the button where it is.
  if (!isDragging()) return std::nullopt;
  const auto shift = [](int32_t edge, int64_t by) {
    return static_cast<int32_t>(std::clamp<int64_t>(edge + by, INT32_MIN, INT32_MAX));
  };
  rect_ = ButtonRect{shift(pressRect_.left, dx), shift(pressRect_.top, dy),
                     shift(pressRect_.right, dx), shift(pressRect_.bottom, dy)};
  return rect_;
}

Release StylusTracker::release() {
  if (!down_) return Release::kNone;
  down_ = false;
  return isDragging() ? Release::kDrag : Release::kTap;
}

}  // namespace lexora
