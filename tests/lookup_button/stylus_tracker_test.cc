#include "lookup_button/stylus_tracker.h"

#include <gtest/gtest.h>

namespace lexora {
namespace {

TEST(StylusTrackerTest, FewerThanTwoStepsIsATapAndOneStepStillMovesTheButton) {
  StylusTracker s(buttonRectAt(180, 298));
  s.press({185, 300});
  EXPECT_EQ(s.release(), Release::kTap);
  EXPECT_EQ(s.rect(), buttonRectAt(180, 298));

  s.press({185, 300});
  EXPECT_EQ(s.dragStep({190, 290}, false), buttonRectAt(185, 288));
  EXPECT_EQ(s.release(), Release::kTap);
  EXPECT_EQ(s.rect(), buttonRectAt(185, 288));
}

TEST(StylusTrackerTest, TwoStepsAreADragFollowingTheStylusFromStepToStep) {
  StylusTracker s(buttonRectAt(100, 100));
  s.press({105, 105});
  s.dragStep({110, 105}, false);
  EXPECT_EQ(s.dragStep({110, 5}, false), buttonRectAt(105, 0));
  EXPECT_EQ(s.dragStep({100, -5}, false), buttonRectAt(95, -10));  // off the screen's edge
  EXPECT_EQ(s.moveCount(), 3);
  EXPECT_EQ(s.release(), Release::kDrag);
  EXPECT_EQ(s.rect().right - s.rect().left, kButtonSize);
  // A new press starts counting again.
  s.press({0, 0});
  EXPECT_EQ(s.moveCount(), 0);
  EXPECT_EQ(s.release(), Release::kTap);
}

TEST(StylusTrackerTest, FrozenStepsAreIgnoredSoEveryReleaseIsATap) {
  StylusTracker s(buttonRectAt(10, 20));
  s.press({12, 22});
  for (int i = 1; i <= 5; ++i) EXPECT_FALSE(s.dragStep({12 + 10 * i, 22}, true));
  EXPECT_EQ(s.release(), Release::kTap);
  EXPECT_EQ(s.rect(), buttonRectAt(10, 20));
}

TEST(StylusTrackerTest, StepsAndReleasesWithoutATrackedPressDoNothing) {
  StylusTracker s(buttonRectAt(10, 20));
  EXPECT_FALSE(s.dragStep({50, 50}, false));
  EXPECT_EQ(s.release(), Release::kNone);
  // A second press while tracking keeps the first press's point and count.
  s.press({10, 10});
  s.dragStep({20, 10}, false);
  s.press({500, 500});
  EXPECT_EQ(s.moveCount(), 1);
  EXPECT_EQ(s.dragStep({30, 10}, false), buttonRectAt(30, 20));
  // The hold menu takes the press away: its release is neither tap nor drag.
  s.cancel();
  EXPECT_EQ(s.release(), Release::kNone);
}

}  // namespace
}  // namespace lexora
