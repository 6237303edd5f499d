#pragma once
// The stylus on the button: a tracked press, the drag steps that move the button's rectangle
// and count, and the release that decides between a tap (fewer than two steps) and a drag.

#include <cstdint>
#include <optional>

#include "app/geometry.h"

namespace lexora {

struct ScreenPoint {
  int32_t x = 0;
  int32_t y = 0;
};

// The button's rectangle in screen pixels; right - left and bottom - top stay the button size.
using ButtonRect = LayoutRect;

inline constexpr int32_t kButtonSize = 16;

inline ButtonRect buttonRectAt(int32_t left, int32_t top) {
  return {left, top, left + kButtonSize, top + kButtonSize};
}

enum class Release {
  kNone,  // no press was being tracked
  kTap,   // fewer than two drag steps: look the selection up
  kDrag,  // two or more steps: the button was moved, nothing else happens
};

class StylusTracker {
 public:
  explicit StylusTracker(ButtonRect rect) : rect_(rect) {}

  // A press at `point`. A press while one is tracked changes nothing.
  void press(ScreenPoint point);
  // One drag step to `point`: moves the rectangle by the stylus's movement since the last
  // press or step and returns it. Ignored (nullopt) when no press is tracked or `frozen`.
  std::optional<ButtonRect> dragStep(ScreenPoint point, bool frozen);
  Release release();
  // Drops the tracked press (the hold menu took the stylus); the next release does nothing.
  void cancel() { down_ = false; }

  const ButtonRect& rect() const { return rect_; }
  bool isDown() const { return down_; }
  int32_t moveCount() const { return moveCount_; }

 private:
  ButtonRect rect_;
  ScreenPoint last_;
  bool down_ = false;
  int32_t moveCount_ = 0;
};

}  // namespace lexora
