#include "lookup_button/single_instance.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

namespace lexora {
namespace {

std::string scratchLockPath() {
  const auto dir =
      std::filesystem::temp_directory_path() / ("lexora-lock-test-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  return (dir / "LookupClass.lock").string();
}

TEST(InstanceLockTest, OnlyOneHolderAtATimeAndTheLockGoesWithItsHolder) {
  const std::string path = scratchLockPath();
  {
    InstanceLock first;
    EXPECT_EQ(first.acquire(path), InstanceLock::Result::kAcquired);
    EXPECT_TRUE(first.isHeld());
    InstanceLock second;
    EXPECT_EQ(second.acquire(path), InstanceLock::Result::kHeldElsewhere);
    EXPECT_FALSE(second.isHeld());
  }
  InstanceLock again;
  EXPECT_EQ(again.acquire(path), InstanceLock::Result::kAcquired);
  std::filesystem::remove_all(std::filesystem::path(path).parent_path());
}

TEST(InstanceLockTest, AnUnusablePlaceFails) {
  InstanceLock lock;
  EXPECT_EQ(lock.acquire(""), InstanceLock::Result::kFailed);
  EXPECT_EQ(lock.acquire("/nonexistent-folder/x/LookupClass.lock"), InstanceLock::Result::kFailed);
}

struct Script {
  std::vector<InstanceLock::Result> locks;  // one per attempt
  std::vector<bool> finds;                  // one per look-up
  int lockCalls = 0, findCalls = 0, forwards = 0;

  InstanceCheck run() {
    return checkSingleInstance([this] { return locks[static_cast<size_t>(lockCalls++)]; },
                               [this] { return finds[static_cast<size_t>(findCalls++)]; },
                               [this] { ++forwards; });
  }
};

using R = InstanceLock::Result;

TEST(SingleInstanceCheckTest, TheFirstInstanceRunsAndASecondFindsItOnEitherLookUp) {
  Script only{{R::kAcquired}, {}};
  EXPECT_EQ(only.run(), InstanceCheck::kOnlyInstance);
  EXPECT_EQ(only.findCalls, 0);

  Script secondLookUp{{R::kHeldElsewhere}, {false, true}};
  EXPECT_EQ(secondLookUp.run(), InstanceCheck::kOtherRuns);
  EXPECT_EQ(secondLookUp.forwards, 1);
}

TEST(SingleInstanceCheckTest, GivesUpAfterFiveAttemptsWithoutAWindowOrAtOnceOnFailure) {
  Script hidden{std::vector<R>(5, R::kHeldElsewhere), std::vector<bool>(10, false)};
  EXPECT_EQ(hidden.run(), InstanceCheck::kFailed);
  EXPECT_EQ(hidden.lockCalls, 5);
  EXPECT_EQ(hidden.findCalls, 10);
  EXPECT_EQ(hidden.forwards, 0);

  // The other instance ended between attempts: the lock is taken on the next one.
  Script ended{{R::kHeldElsewhere, R::kAcquired}, {false, false}};
  EXPECT_EQ(ended.run(), InstanceCheck::kOnlyInstance);

  Script broken{{R::kFailed}, {}};
  EXPECT_EQ(broken.run(), InstanceCheck::kFailed);
  EXPECT_EQ(broken.findCalls, 0);
}

}  // namespace
}  // namespace lexora
