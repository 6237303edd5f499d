#include "app/view_mode.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace lexora {
namespace {

TEST(ViewModeTest, EachModeShowsExactlyItsPane) {
  EXPECT_EQ(panesFor(kMeaningPage), (PaneVisibility{true, false, false, true}));
  EXPECT_EQ(panesFor(kHomePage), (PaneVisibility{true, false, false, true}));
  EXPECT_EQ(panesFor(kWordListPane), (PaneVisibility{false, true, false, false}));
  EXPECT_EQ(panesFor(kHistoryTreePane), (PaneVisibility{false, false, true, true}));
}

TEST(ViewModeTest, EditMenuStatesPerPane) {
  EXPECT_EQ(editMenuStateFor(kWordListPane, 1), (EditMenuState{true, false, false, false}));
  EXPECT_EQ(editMenuStateFor(kMeaningPage, 2), (EditMenuState{false, true, true, true}));
  // A page with no edit target (from the reverse dictionary) greys the three.
  EXPECT_EQ(editMenuStateFor(kMeaningPage, 2, false), EditMenuState{});
  EXPECT_EQ(editMenuStateFor(kHistoryTreePane, 3), EditMenuState{});
  EXPECT_EQ(editMenuStateFor(kHomePage, 3), EditMenuState{});
  // Nothing installed: all four greyed wherever the user is.
  for (ViewMode mode : {kMeaningPage, kHomePage, kWordListPane, kHistoryTreePane}) {
    EXPECT_EQ(editMenuStateFor(mode, 0), EditMenuState{}) << mode;
  }
}

class ViewModeSwitchTest : public ::testing::Test {
 protected:
  ViewModeSwitchTest()
      : switch_(&viewMode_, &totalDict_,
                {[this] { events_.push_back("home page"); },
                 [this](const PaneVisibility& panes) {
                   panes_ = panes;
                   events_.push_back("panes");
                 },
                 [this](const EditMenuState& state) { edit_ = state; },
                 [this](int command, ButtonState state) { buttons_[command] = state; }}) {}

  ViewMode viewMode_ = kMeaningPage;
  int32_t totalDict_ = 1;
  std::vector<std::string> events_;
  PaneVisibility panes_;
  EditMenuState edit_;
  std::map<int, ButtonState> buttons_;
  ViewModeSwitch switch_;
};

TEST_F(ViewModeSwitchTest, StartsOnTheHomePageWithGreyHistoryButtons) {
  switch_.start(false);
  EXPECT_EQ(switch_.viewMode(), kHomePage);
  EXPECT_EQ(events_, (std::vector<std::string>{"home page", "panes"}));
  EXPECT_EQ(buttons_[kCmdShowMeaning], ButtonState::kHidden);
  EXPECT_EQ(buttons_[kCmdShowWordList], ButtonState::kShown);
  EXPECT_EQ(buttons_[kCmdHistoryBack], ButtonState::kGreyed);
  EXPECT_EQ(buttons_[kCmdHistoryForward], ButtonState::kGreyed);
}

TEST_F(ViewModeSwitchTest, StartsOnTheWordListWhenAskedTo) {
  switch_.start(true);
  EXPECT_EQ(switch_.viewMode(), kWordListPane);
  EXPECT_EQ(events_, (std::vector<std::string>{"panes"}));  // no home page built
  EXPECT_EQ(buttons_[kCmdShowWordList], ButtonState::kHidden);
  EXPECT_EQ(buttons_[kCmdShowMeaning], ButtonState::kShown);
  EXPECT_TRUE(edit_.addNewWord);
}

TEST_F(ViewModeSwitchTest, SwitchingPanesSwapsTheTwoButtonsAndTheEditMenu) {
  switch_.start(false);
  switch_.showWordList();
  EXPECT_TRUE(panes_.wordList);
  EXPECT_EQ(edit_, (EditMenuState{true, false, false, false}));
  EXPECT_EQ(buttons_[kCmdShowWordList], ButtonState::kHidden);
  EXPECT_EQ(buttons_[kCmdShowMeaning], ButtonState::kShown);

  switch_.showMeaning();
  EXPECT_EQ(switch_.viewMode(), kMeaningPage);
  EXPECT_TRUE(panes_.viewer);
  EXPECT_EQ(edit_, (EditMenuState{false, true, true, true}));
  EXPECT_EQ(buttons_[kCmdShowMeaning], ButtonState::kHidden);
  EXPECT_EQ(buttons_[kCmdShowWordList], ButtonState::kShown);

  // The history pane leaves both buttons as they were and greys every edit command.
  switch_.showHistory();
  EXPECT_EQ(viewMode_, kHistoryTreePane);  // kept in the window's own field
  EXPECT_TRUE(panes_.historyTree);
  EXPECT_EQ(edit_, EditMenuState{});
  EXPECT_EQ(buttons_[kCmdShowMeaning], ButtonState::kHidden);
  EXPECT_EQ(buttons_[kCmdShowWordList], ButtonState::kShown);
}

TEST_F(ViewModeSwitchTest, EditMenuFollowsTheDictionariesInstalledNow) {
  switch_.start(true);
  EXPECT_TRUE(edit_.addNewWord);
  totalDict_ = 0;
  switch_.showPanes();
  EXPECT_FALSE(edit_.addNewWord);
}

}  // namespace
}  // namespace lexora
