// Saving a run's settings keeps what other programs stored while it ran.

#include "app/settings_merge.h"

#include <gtest/gtest.h>

#include <memory>

#include "app/dictionary_list.h"
#include "tests/support/registry_memory.h"

namespace lexora {
namespace {

class SettingsMergeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Settings first;
    setInstalledDictionaryPaths(first, {u"/d/a.pvm", u"/d/b.pvm"});
    first.workingDictIndex = 0;
    first.reverseDictIndex = 1;
    saveSettings(key_, first);
    loadSettings(key_, loaded_);
  }

  Settings stored() {
    Settings s;
    loadSettings(key_, s);
    return s;
  }

  std::shared_ptr<MemoryRegistry> hive_ = std::make_shared<MemoryRegistry>();
  RegistryKey key_{hive_, kLocalMachine, kSettingsKeyPath, true};
  Settings loaded_;
};

TEST_F(SettingsMergeTest, ValuesThisRunLeftAloneKeepWhatOthersStored) {
  // Meanwhile a dictionary is installed from the command line and another window changes the
  // text size and the reverse dictionary.
  Settings other = stored();
  appendDictionaryPath(other, u"/d/c.pvm");
  other.display.textSize = 4;
  other.reverseDictIndex = 2;
  saveSettings(key_, other);

  Settings mine = loaded_;
  mine.display.useClearType = 1 - mine.display.useClearType;
  saveSettingsChanges(key_, loaded_, mine);

  const Settings now = stored();
  EXPECT_EQ(installedDictionaryPaths(now),
            (std::vector<std::u16string>{u"/d/a.pvm", u"/d/b.pvm", u"/d/c.pvm"}));
  EXPECT_EQ(now.display.textSize, 4u);
  EXPECT_EQ(now.reverseDictIndex, 2);
  EXPECT_EQ(now.display.useClearType, mine.display.useClearType);
}

TEST_F(SettingsMergeTest, InstalledListsOfTwoRunsAreMerged) {
  // Another run removes b and installs c; this one removes a, installs d, reorders and picks
  // its working dictionary.
  Settings other = stored();
  setInstalledDictionaryPaths(other, {u"/d/a.pvm", u"/d/c.pvm"});
  other.workingDictIndex = 1;
  saveSettings(key_, other);

  Settings mine = loaded_;
  setInstalledDictionaryPaths(mine, {u"/d/d.pvm", u"/d/b.pvm"});
  mine.workingDictIndex = 0;
  mine.reverseDictIndex = 1;  // still b
  saveSettingsChanges(key_, loaded_, mine);

  const Settings now = stored();
  EXPECT_EQ(installedDictionaryPaths(now), (std::vector<std::u16string>{u"/d/d.pvm", u"/d/c.pvm"}));
  EXPECT_EQ(now.workingDictIndex, 0);  // d, chosen here
  EXPECT_EQ(now.reverseDictIndex, 1);  // c: the other run's slot 1, which this one left alone
}

TEST_F(SettingsMergeTest, ARunningWindowTakesADictionaryInstalledElsewhere) {
  Settings mine = loaded_;
  mine.workingDictIndex = 1;
  EXPECT_FALSE(takeInstalledListFromStore(key_, mine, loaded_));
  Settings other = stored();
  appendDictionaryPath(other, u"/d/c.pvm");
  saveSettings(key_, other);

  ASSERT_TRUE(takeInstalledListFromStore(key_, mine, loaded_));
  EXPECT_EQ(mine.totalDict, 3);
  EXPECT_EQ(mine.dictionaryPaths[2], u"/d/c.pvm");
  EXPECT_EQ(mine.workingDictIndex, 1);  // still this run's choice
  EXPECT_FALSE(takeInstalledListFromStore(key_, mine, loaded_));
}

}  // namespace
}  // namespace lexora
