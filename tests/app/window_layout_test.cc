#include "app/window_layout.h"

#include <gtest/gtest.h>

#include <memory>

#include "app/registry_key.h"
#include "app/window_placement.h"
#include "tests/support/registry_memory.h"

namespace lexora {
namespace {

TEST(WindowLayoutTest, ChildrenFollowTheLayoutRectangle) {
  const WindowLayout layout = computeLayout({0, 0, 240, 268});
  EXPECT_EQ(layout.selectDictButton, (Placement{2, 3, 19, 19}));
  EXPECT_EQ(layout.wordBox, (Placement{31, 5, 178, 15}));
  EXPECT_EQ(layout.lookupButton, (Placement{218, 3, 19, 19}));
  EXPECT_EQ(layout.pane, (Placement{-1, 25, 242, 243}));
  EXPECT_EQ(layout.wordListColumnWidth, 229);

  // An offset rectangle moves everything with it.
  const WindowLayout moved = computeLayout({10, 20, 250, 288});
  EXPECT_EQ(moved.selectDictButton, (Placement{12, 23, 19, 19}));
  EXPECT_EQ(moved.wordBox, (Placement{41, 25, 178, 15}));
  EXPECT_EQ(moved.lookupButton, (Placement{228, 23, 19, 19}));
  EXPECT_EQ(moved.pane, (Placement{9, 45, 242, 243}));
}

TEST(WindowLayoutTest, TinyWindowGetsNoNegativeSizes) {
  const WindowLayout layout = computeLayout({0, 0, 30, 10});
  EXPECT_EQ(layout.wordBox.width, 0);
  EXPECT_EQ(layout.pane.height, 0);
  EXPECT_EQ(layout.wordListColumnWidth, 19);
  EXPECT_EQ(computeLayout({0, 0, 5, 0}).wordListColumnWidth, 0);
}

TEST(WindowLayoutTest, InputPanelShortensThePanesAndLoweringRestoresThem) {
  const LayoutRect client{0, 0, 240, 268};
  const LayoutRect raised = layoutRectangle(client, true, 80);
  EXPECT_EQ(raised, (LayoutRect{0, 0, 240, 188}));
  EXPECT_EQ(computeLayout(raised).pane.height, 163);
  EXPECT_EQ(layoutRectangle(client, false, 80), client);
  EXPECT_EQ(computeLayout(layoutRectangle(client, false, 80)).pane.height, 243);
}

TEST(WindowLayoutTest, MainWindowLeavesRoomForTheMenuBar) {
  EXPECT_EQ(mainWindowPlacement({0, 26, 240, 320}, 26), (Placement{0, 26, 240, 268}));
  EXPECT_EQ(mainWindowPlacement({0, 0, 100, 10}, 26).height, 0);
}

TEST(WindowLayoutTest, TopStripFigures) {
  const TopStripFigures strip = computeTopStripFigures({0, 0, 240, 268});
  EXPECT_EQ(strip.colour, 0x00C6CFDEu);
  EXPECT_EQ(strip.fillFrom, (Point{-1, 0}));
  EXPECT_EQ(strip.fillTo, (Point{242, 25}));
  EXPECT_EQ(strip.frameFrom, (Point{25, 4}));
  EXPECT_EQ(strip.frameTo, (Point{215, 21}));
  EXPECT_EQ(strip.cornerSize, 6);
  EXPECT_EQ(strip.line[0], (Point{0, 22}));
  EXPECT_EQ(strip.line[1], (Point{0, 0}));
  EXPECT_EQ(strip.line[2], (Point{240, 0}));
}

TEST(WindowPlacementTest, TheWindowAndItsFrameFitTheScreenItOpensOn) {
  // 1280 x 900 at scale 2: 640 x 450 device-independent pixels, less a panel at the top.
  const std::vector<LayoutRect> scaled{{0, 24, 640, 450}};
  const WindowOpening first = placeMainWindow(std::nullopt, scaled, 400, 560);
  EXPECT_FALSE(first.positioned);
  EXPECT_EQ(first.rect.width, 400);
  EXPECT_EQ(first.rect.height, 426 - kFrameAllowanceHeight);

  // A stored window taller than the screen is cut down and moved up onto it.
  const WindowOpening restored = placeMainWindow(Placement{300, 200, 500, 1120}, scaled, 400, 560);
  EXPECT_TRUE(restored.positioned);
  EXPECT_EQ(restored.rect, (Placement{132, 24, 500, 386}));

  // On the second monitor it stays there; with that monitor gone it takes the default place.
  const std::vector<LayoutRect> two{{0, 0, 1920, 1080}, {1920, 0, 3200, 1024}};
  const Placement onSecond{2200, 100, 400, 560};
  EXPECT_EQ(placeMainWindow(onSecond, two, 400, 560).rect, onSecond);
  const WindowOpening gone = placeMainWindow(onSecond, {{0, 0, 1920, 1080}}, 400, 560);
  EXPECT_FALSE(gone.positioned);
  EXPECT_EQ(gone.rect.width, 400);
}

TEST(WindowPlacementTest, TheGeometryIsKeptUnderTheSettingsKey) {
  RegistryKey key(std::make_shared<MemoryRegistry>(), kLocalMachine, u"Software\\Test", true);
  EXPECT_FALSE(readWindowGeometry(key));
  ASSERT_TRUE(writeWindowGeometry(key, Placement{-30, 40, 420, 600}));
  EXPECT_EQ(readWindowGeometry(key), (Placement{-30, 40, 420, 600}));
  key.writeDword(u"WindowWidth", 0);
  EXPECT_FALSE(readWindowGeometry(key));  // no size: no stored window
}

}  // namespace
}  // namespace lexora
