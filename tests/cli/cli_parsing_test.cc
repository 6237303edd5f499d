// The argument parser of the commands.

#include <gtest/gtest.h>

#include "cli/arguments.h"

namespace lexora::cli {
namespace {

TEST(Arguments, SplitsOptionsFromPositionalWords) {
  std::string why;
  const auto p = parseArguments({"a", "--from", "3", "-", "b"}, {"--from"}, 1, 3, why);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->positional, (std::vector<std::string>{"a", "-", "b"}));
  EXPECT_EQ(p->option("--from"), "3");
  EXPECT_FALSE(parseArguments({"a", "--from", "1", "--from", "2"}, {"--from"}, 1, 1, why));
  EXPECT_FALSE(parseArguments({"a", "b"}, {}, 1, 1, why));
  EXPECT_EQ(parseUnsigned("4294967295"), 4294967295u);
  EXPECT_FALSE(parseUnsigned("4294967296"));
  EXPECT_FALSE(parseUnsigned("+1"));
}

}  // namespace
}  // namespace lexora::cli
