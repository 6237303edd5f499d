#include "lookup_button/lookup_hand_off.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lexora {
namespace {

TEST(LookupWordMessageTest, WParamFollowsShowPopupAndLParamTheFrontWindow) {
  EXPECT_EQ(lookupWordMessage(false, false), (WindowMessage{0x9304, 1, 0}));
  EXPECT_EQ(lookupWordMessage(true, false), (WindowMessage{0x9304, 0, 0}));
  EXPECT_EQ(lookupWordMessage(true, true), (WindowMessage{0x9304, 0, 1}));
  EXPECT_EQ(lookupWordMessage(false, true), (WindowMessage{0x9304, 1, 1}));
}

TEST(LookupWordMessageTest, OnlyTheExactReaderTitlesSkipCopyingAndOnlyLexoraIsTheMainWindow) {
  EXPECT_FALSE(copiesSelectionOf(u"Microsoft Reader"));
  EXPECT_FALSE(copiesSelectionOf(u"Mobipocket Reader"));
  EXPECT_TRUE(copiesSelectionOf(u"Microsoft Reader - book"));
  EXPECT_TRUE(copiesSelectionOf(u"microsoft reader"));
  EXPECT_TRUE(copiesSelectionOf(u""));
  EXPECT_TRUE(isMainWindowTitle(u"Lexora"));
  EXPECT_FALSE(isMainWindowTitle(u"Lexora "));
  EXPECT_FALSE(isMainWindowTitle(u""));
}

// The main program as scripted by a test: which look-ups find its window.
struct ScriptedMainProgram {
  std::vector<bool> findResults;  // one per look-up; past the end: not found
  bool startWorks = true;
  std::vector<std::string> calls;
  std::vector<WindowMessage> sent;

  MainProgramAccess access() {
    MainProgramAccess a;
    a.findMainWindow = [this]() -> std::optional<WindowIdentity> {
      const size_t n = static_cast<size_t>(std::count(calls.begin(), calls.end(), "find"));
      calls.push_back("find");
      if (n < findResults.size() && findResults[n]) return mainWindowIdentity();
      return std::nullopt;
    };
    a.startMainProgram = [this] {
      calls.push_back("start");
      return startWorks;
    };
    a.sleep = [this](int ms) { calls.push_back("sleep " + std::to_string(ms)); };
    a.bringForward = [this](const WindowIdentity&) { calls.push_back("forward"); };
    a.send = [this](const WindowIdentity& w, const WindowMessage& m) {
      EXPECT_EQ(w, mainWindowIdentity());
      calls.push_back("send");
      sent.push_back(m);
    };
    return a;
  }
};

using Calls = std::vector<std::string>;

TEST(HandOffLookupTest, SendsToARunningMainWindowWithoutStartingIt) {
  ScriptedMainProgram p{{true}};
  EXPECT_TRUE(handOffLookup(p.access(), lookupWordMessage(true, true)));
  EXPECT_EQ(p.calls, (Calls{"find", "send"}));
  EXPECT_EQ(p.sent, (std::vector<WindowMessage>{{0x9304, 0, 1}}));
}

TEST(HandOffLookupTest, StartsTheMainProgramAndSendsASecondLater) {
  ScriptedMainProgram p{{false, true}};
  EXPECT_TRUE(handOffLookup(p.access(), lookupWordMessage(false, false)));
  EXPECT_EQ(p.calls, (Calls{"find", "start", "sleep 1000", "find", "send"}));
}

TEST(HandOffLookupTest, NothingIsSentWhenTheMainProgramCannotBeReached) {
  ScriptedMainProgram cannotStart{{}, false};
  EXPECT_FALSE(handOffLookup(cannotStart.access(), lookupWordMessage(false, false)));
  EXPECT_EQ(cannotStart.calls, (Calls{"find", "start"}));

  ScriptedMainProgram noWindow{{false, false}};
  EXPECT_FALSE(handOffLookup(noWindow.access(), lookupWordMessage(false, false)));
  EXPECT_EQ(noWindow.calls, (Calls{"find", "start", "sleep 1000", "find"}));
  EXPECT_TRUE(noWindow.sent.empty());
}

TEST(StartOrActivateTest, BringsForwardARunningOrNewlyStartedMainWindow) {
  ScriptedMainProgram running{{true}};
  startOrActivateMainProgram(running.access());
  EXPECT_EQ(running.calls, (Calls{"find", "forward"}));

  ScriptedMainProgram started{{false, true}};
  startOrActivateMainProgram(started.access());
  EXPECT_EQ(started.calls, (Calls{"find", "start", "sleep 1000", "find", "forward"}));

  ScriptedMainProgram failed{{}, false};
  startOrActivateMainProgram(failed.access());
  EXPECT_EQ(failed.calls, (Calls{"find", "start"}));
}

}  // namespace
}  // namespace lexora
