#include "util/status.h"

#include <gtest/gtest.h>

namespace lexora {
namespace {

TEST(Status, ToStringNamesTheCodeBeforeTheMessage) {
  EXPECT_EQ(Status::ok().toString(), "Ok");
  EXPECT_EQ(Status::notFound("entry 7 does not exist").toString(),
            "NotFound: entry 7 does not exist");
  EXPECT_EQ(Status::busy("x").withContext("/d/en.pvm: ").toString(), "Busy: /d/en.pvm: x");
  EXPECT_TRUE(Status::ok().withContext("/d/en.pvm: ").isOk());
}

}  // namespace
}  // namespace lexora
