#include "lookup_button/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <cerrno>

namespace lexora {

InstanceLock::~InstanceLock() {
  if (fd_ >= 0) close(fd_);
}

InstanceLock::Result InstanceLock::acquire(const std::string& path) {
  if (path.empty()) return Result::kFailed;
  const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return Result::kFailed;
  if (flock(fd, LOCK_EX | LOCK_NB) == 0) {
    fd_ = fd;
    return Result::kAcquired;
  }
  const int error = errno;
  close(fd);
  return error == EWOULDBLOCK ? Result::kHeldElsewhere : Result::kFailed;
}

InstanceCheck checkSingleInstance(const std::function<InstanceLock::Result()>& tryLock,
                                  const std::function<bool()>& findOther,
                                  const std::function<void()>& bringForward) {
  for (int attempt = 0; attempt < kInstanceCheckAttempts; ++attempt) {
    switch (tryLock()) {
      case InstanceLock::Result::kAcquired:
        return InstanceCheck::kOnlyInstance;
      case InstanceLock::Result::kFailed:
        return InstanceCheck::kFailed;
      case InstanceLock::Result::kHeldElsewhere:
        break;
    }
    if (findOther() || findOther()) {
      bringForward();
      return InstanceCheck::kOtherRuns;
    }
  }
  return InstanceCheck::kFailed;
}

}  // namespace lexora
