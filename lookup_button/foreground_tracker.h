#pragma once
// The window that was in front before the button was tapped. The button never takes the
// focus, so the front window seen at the last timer tick before a tap is the one whose
// selection the tap is about.

#include <cstdint>
#include <optional>
#include <string>

namespace lexora {

using NativeWindow = uint64_t;

// Where the front window is read from; a desktop without that knowledge has none.
class ForegroundSource {
 public:
  virtual ~ForegroundSource() = default;
  virtual std::optional<NativeWindow> foregroundWindow() = 0;
  // Empty when the window is gone or has no title.
  virtual std::u16string titleOf(NativeWindow window) = 0;
};

class ForegroundTracker {
 public:
  // `source` may be null (nothing is ever tracked). REQUIRES: it outlives the tracker.
  ForegroundTracker(ForegroundSource* source, NativeWindow button)
      : source_(source), button_(button) {}

  // One timer tick: the front window, unless it is the button, becomes the last one; no front
  // window clears it.
  void tick();
  const std::optional<NativeWindow>& lastForeground() const { return last_; }
  // The last front window's title, read now; empty when there is none.
  std::u16string lastForegroundTitle();

 private:
  ForegroundSource* source_;
  NativeWindow button_;
  std::optional<NativeWindow> last_;
};

}  // namespace lexora
