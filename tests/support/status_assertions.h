#pragma once
// EXPECT_OK / ASSERT_OK: a Status (or an EditStatus) that must be ok, with its message shown
// when it is not.

#include <gtest/gtest.h>

#include "util/status.h"

namespace lexora::testing {

template <typename S>
::testing::AssertionResult isOk(const S& status) {
  if (status.isOk()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << status.message();
}

}  // namespace lexora::testing

#define EXPECT_OK(expression) EXPECT_TRUE(::lexora::testing::isOk(expression))
#define ASSERT_OK(expression) ASSERT_TRUE(::lexora::testing::isOk(expression))
