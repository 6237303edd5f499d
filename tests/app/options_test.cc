#include "app/options.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "app/menu_commands.h"

namespace lexora {
namespace {

// Records every effect in the order it happened.
class OptionsTest : public ::testing::Test {
 protected:
  OptionsTest()
      : options_({&useClearType_, &textSize_, &showLookupButton_, &showIndexAtStarting_,
                  &speakHeadwords_},
                 {[this] { events_.push_back("apply"); },
                  [this](std::u16string_view name, uint32_t value) {
                    events_.push_back("write " + std::string(name.begin(), name.end()) + "=" +
                                      std::to_string(value));
                    return true;
                  },
                  [this](bool run) { events_.push_back(run ? "start" : "stop"); },
                  [this](int command, bool checked) { marks_[command] = checked; },
                  [this] { events_.push_back("remove popup"); },
                  [this] { events_.push_back("close"); }}) {}

  uint32_t useClearType_ = 1;
  uint32_t textSize_ = 2;
  uint32_t showLookupButton_ = 0;
  uint32_t showIndexAtStarting_ = 0;
  uint32_t speakHeadwords_ = 1;
  std::vector<std::string> events_;
  std::map<int, bool> marks_;
  Options options_;
};

TEST_F(OptionsTest, SyncMarksFollowsTheSettings) {
  showIndexAtStarting_ = 1;
  textSize_ = 4;
  options_.syncMarks();
  EXPECT_TRUE(marks_[kCmdUseClearType]);
  EXPECT_FALSE(marks_[kCmdShowLookupButton]);
  EXPECT_TRUE(marks_[kCmdShowIndexAtStarting]);
  EXPECT_FALSE(marks_[kCmdStrictCompare]);
  for (int size = 0; size < kTextSizeCount; ++size) {
    EXPECT_EQ(marks_[kCmdTextSmallest + size], size == 4) << size;
  }
  // A stored size out of range marks none of the five.
  textSize_ = 9;
  options_.syncMarks();
  for (int size = 0; size < kTextSizeCount; ++size) EXPECT_FALSE(marks_[kCmdTextSmallest + size]);
}

TEST_F(OptionsTest, ClearTypeTogglesMarksAndAppliesToViewers) {
  options_.toggleClearType();
  EXPECT_EQ(useClearType_, 0u);
  EXPECT_FALSE(marks_[kCmdUseClearType]);
  options_.toggleClearType();
  EXPECT_EQ(useClearType_, 1u);
  EXPECT_TRUE(marks_[kCmdUseClearType]);
  EXPECT_EQ(events_, (std::vector<std::string>{"apply", "apply"}));
}

TEST_F(OptionsTest, TextSizeMovesTheRadioMarkAndSkipsTheCurrentSize) {
  options_.syncMarks();
  EXPECT_FALSE(options_.chooseTextSize(2));  // already Medium: nothing at all
  EXPECT_TRUE(events_.empty());
  EXPECT_TRUE(marks_[kCmdTextMedium]);

  EXPECT_TRUE(options_.chooseTextSize(4));
  EXPECT_EQ(textSize_, 4u);
  EXPECT_FALSE(marks_[kCmdTextMedium]);
  EXPECT_TRUE(marks_[kCmdTextLargest]);
  EXPECT_EQ(events_, (std::vector<std::string>{"apply"}));

  EXPECT_FALSE(options_.chooseTextSize(5));
  EXPECT_FALSE(options_.chooseTextSize(-1));
  EXPECT_EQ(textSize_, 4u);
  EXPECT_EQ(events_.size(), 1u);
}

TEST_F(OptionsTest, LookupButtonIsWrittenBeforeTheProgramStartsOrStops) {
  options_.toggleLookupButton();
  EXPECT_EQ(showLookupButton_, 1u);
  EXPECT_TRUE(marks_[kCmdShowLookupButton]);
  options_.toggleLookupButton();
  EXPECT_EQ(showLookupButton_, 0u);
  EXPECT_FALSE(marks_[kCmdShowLookupButton]);
  EXPECT_EQ(events_, (std::vector<std::string>{"write ShowLookupButton=1", "start",
                                               "write ShowLookupButton=0", "stop"}));
}

// The session's side of the option: the autostart entry follows it, and a session that cannot
// show the button keeps the option off and says why.
class LookupButtonSessionTest : public OptionsTest {
 protected:
  LookupButtonSessionTest() {
    OptionEffects effects;
    effects.writeDword = [this](std::u16string_view, uint32_t value) {
      events_.push_back("write " + std::to_string(value));
      return true;
    };
    effects.setLookupButtonRunning = [this](bool run) {
      events_.push_back(run ? "start" : "stop");
    };
    effects.setCheck = [this](int command, bool checked) { marks_[command] = checked; };
    effects.lookupButtonBlocker = [this] { return blocker_; };
    effects.showMessage = [this](const std::string& text) { events_.push_back("message " + text); };
    effects.setLookupButtonAutostart = [this](bool start) {
      events_.push_back(start ? "autostart on" : "autostart off");
      return true;
    };
    options_ = Options({&useClearType_, &textSize_, &showLookupButton_, &showIndexAtStarting_},
                       std::move(effects));
  }
  std::string blocker_;
};

TEST_F(LookupButtonSessionTest, AutostartFollowsTheOptionAfterTheProgram) {
  options_.toggleLookupButton();
  options_.toggleLookupButton();
  EXPECT_EQ(events_, (std::vector<std::string>{"write 1", "start", "autostart on", "write 0",
                                               "stop", "autostart off"}));
}

TEST_F(LookupButtonSessionTest, BlockedSessionKeepsTheOptionOffAndSaysWhy) {
  blocker_ = "no XWayland";
  marks_[kCmdShowLookupButton] = true;  // whatever the menu showed, the mark goes back to off
  options_.toggleLookupButton();
  EXPECT_EQ(showLookupButton_, 0u);
  EXPECT_FALSE(marks_[kCmdShowLookupButton]);
  EXPECT_EQ(events_, (std::vector<std::string>{"message no XWayland"}));

  // Switching off is never refused: a value stored by an X11 session can be cleared.
  showLookupButton_ = 1;
  events_.clear();
  options_.toggleLookupButton();
  EXPECT_EQ(showLookupButton_, 0u);
  EXPECT_EQ(events_, (std::vector<std::string>{"write 0", "stop", "autostart off"}));
}

TEST_F(OptionsTest, IndexAtStartingAndStrictCompareOnlyToggle) {
  EXPECT_FALSE(options_.strictCompare());
  options_.toggleStrictCompare();
  options_.toggleIndexAtStarting();
  EXPECT_TRUE(options_.strictCompare());
  EXPECT_TRUE(marks_[kCmdStrictCompare]);
  EXPECT_EQ(showIndexAtStarting_, 1u);
  EXPECT_TRUE(marks_[kCmdShowIndexAtStarting]);
  EXPECT_TRUE(events_.empty());  // nothing written, nothing applied until exit
}

TEST_F(OptionsTest, SpeakHeadwordsIsMarkedAndWrittenAtOnce) {
  options_.syncMarks();
  EXPECT_TRUE(marks_[kCmdSpeakHeadwords]);
  options_.toggleSpeakHeadwords();
  EXPECT_EQ(speakHeadwords_, 0u);
  EXPECT_FALSE(marks_[kCmdSpeakHeadwords]);
  options_.toggleSpeakHeadwords();
  EXPECT_TRUE(marks_[kCmdSpeakHeadwords]);
  EXPECT_EQ(events_,
            (std::vector<std::string>{"write SpeakHeadwords=0", "write SpeakHeadwords=1"}));
}

TEST_F(OptionsTest, QuitRemovesThePopupBeforeClosing) {
  options_.quit();
  EXPECT_EQ(events_, (std::vector<std::string>{"remove popup", "close"}));
}

TEST(MenuDispatchTest, RoutesEveryCommandAndRejectsOthers) {
  std::vector<std::string> calls;
  MenuCommandHandlers handlers;
  handlers.textSize = [&](int size) { calls.push_back("size " + std::to_string(size)); };
  handlers.quit = [&] { calls.push_back("quit"); };
  handlers.historyBack = [&] { calls.push_back("back"); };
  handlers.modifyWord = [&] { calls.push_back("modify word"); };

  EXPECT_TRUE(dispatchMenuCommand(kCmdTextSmallest, handlers));
  EXPECT_TRUE(dispatchMenuCommand(kCmdTextLargest, handlers));
  EXPECT_TRUE(dispatchMenuCommand(kCmdQuit, handlers));
  EXPECT_TRUE(dispatchMenuCommand(kCmdHistoryBack, handlers));
  EXPECT_TRUE(dispatchMenuCommand(32834, handlers));
  // Known commands without a handler are handled and do nothing.
  EXPECT_TRUE(dispatchMenuCommand(kCmdAbout, handlers));
  EXPECT_TRUE(dispatchMenuCommand(kCmdAddNewWord, handlers));
  // Not commands of the main window.
  EXPECT_FALSE(dispatchMenuCommand(32793, handlers));
  EXPECT_FALSE(dispatchMenuCommand(0, handlers));
  EXPECT_EQ(calls, (std::vector<std::string>{"size 0", "size 4", "quit", "back", "modify word"}));
}

}  // namespace
}  // namespace lexora
