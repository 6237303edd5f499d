#include "app/edit_target.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>

#include "app/hand_off_text.h"
#include "app/lookup_button_control.h"

namespace lexora {
namespace {

TEST(EditTargetTest, OnlyAnEntryShownFromTheWorkingDictionaryIsATarget) {
  const int32_t working = 0;
  const int32_t reverse = 1;
  EditTarget t = editTargetAfterShowing({}, working, 7, true, working);
  EXPECT_EQ(t, (EditTarget{0, 7}));
  EXPECT_EQ(editableEntry(t, working), 7);

  // A popup leaves the page on screen, and so its target.
  EXPECT_EQ(editTargetAfterShowing(t, reverse, 3, false, working), t);
  // A page from the reverse dictionary (lookup, link, history tap) leaves no target, even
  // though its position is a valid position of the working dictionary.
  t = editTargetAfterShowing(t, reverse, 3, true, working);
  EXPECT_EQ(editableEntry(t, working), -1);
  EXPECT_EQ(editableEntry(editTargetAfterShowing({}, -1, 0, true, -1), -1), -1);

  // A change of the working dictionary takes the target away.
  t = editTargetAfterShowing({}, working, 7, true, working);
  EXPECT_EQ(editableEntry(t, reverse), -1);
}

TEST(HandOffWordTest, BlankTextBringsNoWord) {
  for (std::u16string_view blank : {u"", u"   ", u"\t\r\n", u"\u00a0 \u3000", u"_ _", u"\u0301"}) {
    EXPECT_FALSE(handOffWord(blank).has_value());
  }
  EXPECT_EQ(handOffWord(u"  ice_cream\n"), u"ice cream");
  EXPECT_EQ(handOffWord(u"x"), u"x");
}

class RecordingLauncher : public ProgramLauncher {
 public:
  std::vector<std::string> started;
  bool startProgram(const std::string& path) override {
    started.push_back(path);
    return true;
  }
};

TEST(LookupButtonStartUpTest, TheButtonStartsWithTheProgramWhenItIsShown) {
  RecordingLauncher launcher;
  startLookupButtonIfShown(0, launcher, "/opt/lexora/");
  EXPECT_TRUE(launcher.started.empty());
  startLookupButtonIfShown(1, launcher, "/opt/lexora/");
  EXPECT_EQ(launcher.started, std::vector<std::string>{"/opt/lexora/lexora-util"});

  // With no safe channel the button could not find the program and would start another. (No
  // folder stands in for the open one: the settings' folder, where its name would be kept, is
  // open to all too.)
  char open[] = "/tmp/lexora-open-XXXXXX";
  ASSERT_NE(::mkdtemp(open), nullptr);
  ::chmod(open, 0777);
  setenv("LEXORA_ENDPOINT_DIR", open, 1);
  setenv("LEXORA_REGISTRY", (std::string(open) + "/registry.sqlite").c_str(), 1);
  startLookupButtonIfShown(1, launcher, "/opt/lexora/");
  unsetenv("LEXORA_ENDPOINT_DIR");
  unsetenv("LEXORA_REGISTRY");
  ::rmdir(open);
  EXPECT_EQ(launcher.started.size(), 1u);
}

}  // namespace
}  // namespace lexora
