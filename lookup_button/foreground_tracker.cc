#include "lookup_button/foreground_tracker.h"

namespace lexora {

void ForegroundTracker::tick() {
  if (source_ == nullptr) return;
  std::optional<NativeWindow> front = source_->foregroundWindow();
  if (!front) {
    last_.reset();
  } else if (*front != button_) {
    last_ = front;
  }
}

std::u16string ForegroundTracker::lastForegroundTitle() {
  if (source_ == nullptr || !last_) return {};
  return source_->titleOf(*last_);
}

}  // namespace lexora
