#pragma once
// The stylus on the button: a tracked press, the drag steps that move the button's rectangle,
// and the release that decides between a tap and a drag. The decision rests on how far the
// stylus has travelled from the press point (the desktop's drag distance), never on how many
// motion events arrived: the window system merges them, so counting them turns a quick drag
// into a tap and a few pixels of jitter into a drag.

#include <cstdint>
#include <optional>
#include <vector>

#include "app/geometry.h"

namespace lexora {

struct ScreenPoint {
  int32_t x = 0;
  int32_t y = 0;
};

// The button's rectangle in screen pixels; right - left and bottom - top stay the button size.
using ButtonRect = LayoutRect;

inline constexpr int32_t kButtonSize = 16;
// The drag distance when the desktop does not give one.
inline constexpr int32_t kDefaultDragDistance = 10;

inline ButtonRect buttonRectAt(int32_t left, int32_t top) {
  return {left, top, left + kButtonSize, top + kButtonSize};
}

// Where the button starts: at the stored position when the button's centre lies on one of the
// `screens` (their rectangles in the same pixels), else at `fallback` (the default place), so
// that a position stored on a monitor that is gone never hides the button.
ScreenPoint placeOnScreens(ScreenPoint stored, const std::vector<LayoutRect>& screens,
                           ScreenPoint fallback);

enum class Release {
  kNone,  // no press was being tracked
  kTap,   // the stylus stayed within the drag distance (or the button is frozen): a lookup
  kDrag,  // the stylus went the drag distance or further: the button was moved, no lookup
};

class StylusTracker {
 public:
  explicit StylusTracker(ButtonRect rect, int32_t dragDistance = kDefaultDragDistance)
      : rect_(rect), dragDistance_(dragDistance > 0 ? dragDistance : 1) {}

  // A press at `point`. A press while one is tracked changes nothing.
  void press(ScreenPoint point);
  // One motion event at `point`. Once the stylus has gone the drag distance, the rectangle
  // follows it (moved by the stylus's travel from the press point) and is returned; before
  // that the button stays put (nullopt), so a tap that jitters does not move it. Ignored
  // (nullopt) when no press is tracked or `frozen`.
  std::optional<ButtonRect> dragStep(ScreenPoint point, bool frozen);
  Release release();
  // Drops the tracked press (the hold menu took the stylus); the next release does nothing.
  void cancel() { down_ = false; }

  const ButtonRect& rect() const { return rect_; }
  bool isDown() const { return down_; }
  // True once the stylus has gone the drag distance from the press point (Manhattan length,
  // as the desktop measures it); it stays true until the next press.
  bool isDragging() const { return travelled_ >= dragDistance_; }

 private:
  ButtonRect rect_;
  int32_t dragDistance_;
  ScreenPoint pressPoint_;
  ButtonRect pressRect_;  // where the button was at the press
  bool down_ = false;
  int32_t travelled_ = 0;  // the farthest the stylus has been from the press point
};

}  // namespace lexora
