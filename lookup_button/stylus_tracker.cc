#include "lookup_button/stylus_tracker.h"

namespace lexora {

void StylusTracker::press(ScreenPoint point) {
  if (down_) return;
  last_ = point;
  down_ = true;
  moveCount_ = 0;
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
  ++moveCount_;
  return rect_;
}

Release StylusTracker::release() {
  if (!down_) return Release::kNone;
  down_ = false;
  return moveCount_ >= 2 ? Release::kDrag : Release::kTap;
}

}  // namespace lexora
