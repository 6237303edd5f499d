// The progress line of terminal imports.

#include "cli/terminal_progress.h"

#include <gtest/gtest.h>

namespace lexora::cli {
namespace {

TEST(TerminalProgress, LineShowsCountBarShareAndTimeLeft) {
  EXPECT_EQ(TerminalProgress::line(50, 200, 30.0),
            "50/200 entries [#######.......................]  25%  1:30 left");
  // Unknown total: only the count; no estimate in the first half second.
  EXPECT_EQ(TerminalProgress::line(1234, 0, 3.0), "1234 entries");
  EXPECT_EQ(TerminalProgress::line(0, 10, 0.1),
            "0/10 entries [..............................]   0%");
  // More done than the total (a reader's estimate) stays at a full bar.
  EXPECT_EQ(TerminalProgress::line(12, 10, 2.0),
            "10/10 entries [##############################] 100%  0:00 left");
}

}  // namespace
}  // namespace lexora::cli
