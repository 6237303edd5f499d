#pragma once
// Keeping the button to one running instance: an exclusive lock on a file named after the
// button's window class, held until the process ends (the kernel drops it with the process,
// so a crashed instance never blocks the next one).

#include <functional>
#include <string>

namespace lexora {

class InstanceLock {
 public:
  InstanceLock() = default;
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  enum class Result { kAcquired, kHeldElsewhere, kFailed };
  // Takes the lock on `path` (created when missing). REQUIRES: not holding a lock yet.
  Result acquire(const std::string& path);
  bool isHeld() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

enum class InstanceCheck {
  kOnlyInstance,  // the lock is held by this process from now on
  kOtherRuns,     // another instance's window was found and brought forward
  kFailed,        // the lock could not be used, or no other window showed up in 5 attempts
};

inline constexpr int kInstanceCheckAttempts = 5;

// Up to five attempts: the lock taken means this is the only instance; a lock held elsewhere
// looks twice for the other instance's window (`findOther`) and, when found, hands it to
// `bringForward`; not found, the next attempt starts at once.
InstanceCheck checkSingleInstance(const std::function<InstanceLock::Result()>& tryLock,
                                  const std::function<bool()>& findOther,
                                  const std::function<void()>& bringForward);

}  // namespace lexora
