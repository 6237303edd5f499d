#pragma once
// EXPECT_OK / ASSERT_OK: a Status that must be ok, with its message shown when it is not.

#include <gtest/gtest.h>

#include "engine/status.h"

namespace lexora::testing {

inline ::testing::AssertionResult isOk(const Status& status) {
  if (status.isOk()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << status.message();
}

}  // namespace lexora::testing

#define EXPECT_OK(expression) EXPECT_TRUE(::lexora::testing::isOk(expression))
#define ASSERT_OK(expression) ASSERT_TRUE(::lexora::testing::isOk(expression))
