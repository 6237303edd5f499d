// The program's place on the desktop: where its data files are found, the autostart entry of
// the lookup button, and the display the button can run on.

#include <stdlib.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <set>
#include <string>

#include "platform/autostart.h"
#include "platform/display_session.h"
#include "platform/program_folder.h"
#include "tests/support/scratch_dir.h"

namespace lexora {
namespace {

TEST(DataFolderTest, InstalledProgramsUseTheShareFolderBesideBin) {
  std::set<std::string> folders{"/opt/lx/share/lexora/"};
  const auto exists = [&](const std::string& path) { return folders.count(path) > 0; };
  EXPECT_EQ(dataFolderFor("/opt/lx/bin/", "../share/lexora", exists), "/opt/lx/share/lexora/");
  // A build tree has no such folder: the data files sit beside the programs.
  EXPECT_EQ(dataFolderFor("/home/me/lexora/build/bin/", "../share/lexora", exists),
            "/home/me/lexora/build/bin/");
  // Programs and data in one folder, and a bin folder at the root.
  EXPECT_EQ(dataFolderFor("/opt/lx/bin/", "", exists), "/opt/lx/bin/");
  folders.insert("/share/lexora/");
  EXPECT_EQ(dataFolderFor("/bin/", "../share/lexora", exists), "/share/lexora/");
  // Deeper relative folders and a relative program folder.
  folders.insert("/usr/lib/lexora/data/");
  EXPECT_EQ(dataFolderFor("/usr/lib/lexora/bin/", "../data", exists), "/usr/lib/lexora/data/");
  EXPECT_EQ(dataFolderFor("./", "../share/lexora", exists), "./");
}

TEST(DataFolderTest, RunningTestProgramFindsItsBuiltDataFiles) {
  // The tests run from the build tree, where the pictures are copied beside the programs.
  namespace fs = std::filesystem;
  ASSERT_EQ(dataFolder().back(), '/');
  EXPECT_EQ(fs::canonical(dataFolder()), fs::canonical(LEXORA_PROGRAM_DIR));
  EXPECT_EQ(dataFolder(), programFolder());
}

// Sets an environment variable for one test and puts the old value back.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = ::getenv(name)) old_ = old;
    value ? ::setenv(name, value, 1) : ::unsetenv(name);
  }
  ~ScopedEnv() { old_ ? ::setenv(name_, old_->c_str(), 1) : ::unsetenv(name_); }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(AutostartTest, EntryIsWrittenAndRemovedUnderXdgConfigHome) {
  test::ScratchDir scratch("lexora-autostart");
  const std::string config = scratch.file("config");
  ScopedEnv xdg("XDG_CONFIG_HOME", config.c_str());
  const std::string entry = config + "/autostart/lexora-util.desktop";
  ASSERT_EQ(autostartEntryPath(), entry);

  ASSERT_TRUE(writeAutostartEntry("/opt/lexora/bin/lexora-util"));  // creates both folders
  const std::string text = scratch.read("config/autostart/lexora-util.desktop");
  EXPECT_EQ(text.rfind("[Desktop Entry]\n", 0), 0u);
  EXPECT_NE(text.find("\nType=Application\n"), std::string::npos);
  EXPECT_NE(text.find("\nExec=/opt/lexora/bin/lexora-util\n"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(entry + ".part"));

  // Writing again replaces the entry; removing twice is fine.
  ASSERT_TRUE(writeAutostartEntry("/usr/bin/lexora-util"));
  EXPECT_NE(
      scratch.read("config/autostart/lexora-util.desktop").find("\nExec=/usr/bin/lexora-util\n"),
      std::string::npos);
  EXPECT_TRUE(removeAutostartEntry());
  EXPECT_FALSE(std::filesystem::exists(entry));
  EXPECT_TRUE(removeAutostartEntry());
}

TEST(AutostartTest, FolderFallsBackToHomeAndFailsWithoutOne) {
  ScopedEnv home("HOME", "/home/someone");
  {
    ScopedEnv xdg("XDG_CONFIG_HOME", "relative/config");  // not absolute: ignored
    EXPECT_EQ(autostartEntryPath(), "/home/someone/.config/autostart/lexora-util.desktop");
  }
  ScopedEnv xdg("XDG_CONFIG_HOME", nullptr);
  EXPECT_EQ(autostartEntryPath(), "/home/someone/.config/autostart/lexora-util.desktop");
  ScopedEnv noHome("HOME", nullptr);
  EXPECT_EQ(autostartEntryPath(), "");
  EXPECT_FALSE(writeAutostartEntry("/usr/bin/lexora-util"));
}

TEST(AutostartTest, BlockedFolderIsReportedAndLeavesNothing) {
  test::ScratchDir scratch("lexora-autostart");
  scratch.write("autostart", "a file where the folder should be");
  ScopedEnv xdg("XDG_CONFIG_HOME", scratch.path().c_str());
  EXPECT_FALSE(writeAutostartEntry("/usr/bin/lexora-util"));
  EXPECT_EQ(scratch.read("autostart"), "a file where the folder should be");
  EXPECT_TRUE(removeAutostartEntry());  // there is no entry to remove
}

TEST(AutostartTest, ExecArgumentSurvivesSpacesQuotesAndFieldCodes) {
  EXPECT_EQ(desktopExecArgument("/usr/bin/lexora-util"), "/usr/bin/lexora-util");
  EXPECT_EQ(desktopExecArgument("/home/me/My Apps/lexora-util"),
            "\"/home/me/My Apps/lexora-util\"");
  EXPECT_EQ(desktopExecArgument("/opt/100%/lexora-util"), "/opt/100%%/lexora-util");
  // A literal '$' is "\\$" and a literal '\' four backslashes inside the quotes.
  EXPECT_EQ(desktopExecArgument("/a$b/x"), "\"/a\\\\$b/x\"");
  EXPECT_EQ(desktopExecArgument("/a\\b/x"), "\"/a\\\\\\\\b/x\"");
  EXPECT_EQ(desktopExecArgument("/a\"b/x"), "\"/a\\\\\"b/x\"");
  // Tabs and line ends are string escapes inside the quotes.
  EXPECT_EQ(desktopExecArgument("/a\tb\rc/x"), "\"/a\\tb\\rc/x\"");
}

// GLib looks for the program named first before it expands "%%": env is named first then.
// The validator accepts every entry.
TEST(AutostartTest, EntriesWithOddPathsAreValidAndStartAProgramThatExists) {
  EXPECT_EQ(desktopExecCommand("/usr/bin/lexora-util"), "/usr/bin/lexora-util");
  EXPECT_EQ(desktopExecCommand("/opt/100%/lexora-util"), "env /opt/100%%/lexora-util");
  if (std::system("command -v desktop-file-validate >/dev/null") != 0)
    GTEST_SKIP() << "desktop-file-validate is not installed";
  test::ScratchDir scratch("lexora-autostart");
  ScopedEnv xdg("XDG_CONFIG_HOME", scratch.path().c_str());
  for (const char* path : {"/opt/100%/lexora-util", "/a\tb/lexora-util", "/a\rb/lexora-util",
                           "/My Apps/$x\\y\"z`/lexora-util"}) {
    ASSERT_TRUE(writeAutostartEntry(path));
    const std::string command = "desktop-file-validate '" + autostartEntryPath() + "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << path;
  }
}

TEST(ButtonDisplayTest, WaylandWithXWaylandRunsTheButtonOnXcb) {
  const ButtonDisplayChoice c = chooseButtonDisplay({"wayland-0", ":0", ""});
  EXPECT_EQ(c.display, ButtonDisplay::kXWayland);
  EXPECT_EQ(c.platform, "xcb");
  EXPECT_EQ(c.reason, "");
  // A session-wide QT_QPA_PLATFORM=wayland is overridden for the button as well.
  EXPECT_EQ(chooseButtonDisplay({"wayland-0", ":0", "wayland"}).platform, "xcb");
  EXPECT_EQ(chooseButtonDisplay({"wayland-0", ":0", "wayland-egl"}).platform, "xcb");
}

TEST(ButtonDisplayTest, PlainX11AndChosenPlatformsAreLeftAlone) {
  for (const SessionEnvironment& env :
       {SessionEnvironment{"", ":0", ""}, SessionEnvironment{"", ":0", "xcb"},
        SessionEnvironment{"wayland-0", "", "offscreen"}, SessionEnvironment{"", "", "offscreen"},
        SessionEnvironment{"wayland-0", ":0", "vnc"}}) {
    const ButtonDisplayChoice c = chooseButtonDisplay(env);
    EXPECT_EQ(c.display, ButtonDisplay::kAsChosen) << env.waylandDisplay << "|" << env.display;
    EXPECT_EQ(c.platform, "");
    EXPECT_EQ(c.reason, "");
  }
}

TEST(ButtonDisplayTest, WaylandWithoutXWaylandSaysWhy) {
  for (const SessionEnvironment& env :
       {SessionEnvironment{"wayland-0", "", ""}, SessionEnvironment{"wayland-1", "", "wayland"},
        SessionEnvironment{"wayland-0", "", "xcb"}}) {
    const ButtonDisplayChoice c = chooseButtonDisplay(env);
    EXPECT_EQ(c.display, ButtonDisplay::kNone);
    EXPECT_NE(c.reason.find("Wayland"), std::string::npos) << c.reason;
    EXPECT_NE(c.reason.find("XWayland"), std::string::npos) << c.reason;
  }
  const ButtonDisplayChoice none = chooseButtonDisplay({"", "", ""});
  EXPECT_EQ(none.display, ButtonDisplay::kNone);
  EXPECT_NE(none.reason.find("DISPLAY"), std::string::npos);
}

}  // namespace
}  // namespace lexora
