#include "lookup_button/stylus_tracker.h"

#include <gtest/gtest.h>

namespace lexora {
namespace {

TEST(StylusTrackerTest, AReleaseWithinTheDragDistanceIsATapWhateverTheNumberOfEvents) {
  StylusTracker s(buttonRectAt(180, 298), 10);
  s.press({185, 300});
  EXPECT_EQ(s.release(), Release::kTap);
  EXPECT_EQ(s.rect(), buttonRectAt(180, 298));

  // Jitter of a few pixels over many motion events is still a tap, and the button stays put.
  s.press({185, 300});
  for (int i = 0; i < 6; ++i) EXPECT_FALSE(s.dragStep({185 + (i % 2) * 2, 300 + (i % 3)}, false));
  EXPECT_FALSE(s.dragStep({191, 303}, false));
  EXPECT_EQ(s.release(), Release::kTap);
  EXPECT_EQ(s.rect(), buttonRectAt(180, 298));
}

TEST(StylusTrackerTest, OneMergedMotionEventAcrossTheDragDistanceIsADrag) {
  StylusTracker s(buttonRectAt(100, 100), 10);
  s.press({105, 105});
  EXPECT_EQ(s.dragStep({145, 125}, false), buttonRectAt(140, 120));
  EXPECT_TRUE(s.isDragging());
  EXPECT_EQ(s.release(), Release::kDrag);
  // Going far and coming back to the press point is still a drag.
  s.press({145, 125});
  s.dragStep({165, 125}, false);
  s.dragStep({145, 125}, false);
  EXPECT_EQ(s.release(), Release::kDrag);
  EXPECT_EQ(s.rect(), buttonRectAt(140, 120));
  // A new press starts measuring again.
  s.press({0, 0});
  EXPECT_FALSE(s.isDragging());
  EXPECT_EQ(s.release(), Release::kTap);
}

TEST(StylusTrackerTest, TheButtonFollowsEveryMotionEventOnceTheDragDistanceIsGone) {
  StylusTracker s(buttonRectAt(100, 100), 4);
  s.press({105, 105});
  EXPECT_FALSE(s.dragStep({106, 105}, false));
  EXPECT_EQ(s.dragStep({108, 106}, false), buttonRectAt(103, 101));
  EXPECT_EQ(s.dragStep({110, 5}, false), buttonRectAt(105, 0));
  EXPECT_EQ(s.dragStep({100, -5}, false), buttonRectAt(95, -10));  // off the screen's edge
  EXPECT_EQ(s.release(), Release::kDrag);
  EXPECT_EQ(s.rect().right - s.rect().left, kButtonSize);
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
  // A second press while tracking keeps the first press's point.
  s.press({10, 10});
  s.dragStep({20, 10}, false);
  s.press({500, 500});
  EXPECT_EQ(s.dragStep({30, 10}, false), buttonRectAt(30, 20));
  // The hold menu takes the press away: its release is neither tap nor drag.
  s.cancel();
  EXPECT_EQ(s.release(), Release::kNone);
}

TEST(ButtonPlacementTest, APositionOnNoScreenFallsBackToTheDefaultPlace) {
  const std::vector<LayoutRect> screens{{0, 0, 1920, 1080}, {1920, 0, 3200, 1024}};
  const ScreenPoint fallback{180, 298};
  EXPECT_EQ(placeOnScreens({2500, 600}, screens, fallback).x, 2500);  // the second monitor
  EXPECT_EQ(placeOnScreens({-4, 100}, screens, fallback).x, -4);      // centre still on screen
  // The second monitor is gone: the stored place lies on no screen.
  const std::vector<LayoutRect> one{{0, 0, 1920, 1080}};
  const ScreenPoint moved = placeOnScreens({2500, 600}, one, fallback);
  EXPECT_EQ(moved.x, 180);
  EXPECT_EQ(moved.y, 298);
  EXPECT_EQ(placeOnScreens({100, -12}, one, fallback).y, 298);  // above the top edge
  EXPECT_EQ(placeOnScreens({100, 100}, {}, fallback).x, 180);
  EXPECT_EQ(placeOnScreens({INT32_MAX, INT32_MAX}, one, fallback).x, 180);
}

}  // namespace
}  // namespace lexora
