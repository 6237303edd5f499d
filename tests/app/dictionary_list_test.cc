#include "app/dictionary_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lexora {
namespace {

using Paths = std::vector<std::u16string>;

Settings withPaths(const Paths& paths) {
  Settings s;
  EXPECT_TRUE(setInstalledDictionaryPaths(s, paths));
  return s;
}

TEST(DictionaryListTest, SetAndReadBackClearsSlotsPastTheCount) {
  Settings s = withPaths({u"/a.pvm", u"/b.pvm", u"/c.pvm"});
  ASSERT_TRUE(setInstalledDictionaryPaths(s, {u"/x.pvm"}));
  EXPECT_EQ(s.totalDict, 1);
  EXPECT_EQ(installedDictionaryPaths(s), (Paths{u"/x.pvm"}));
  EXPECT_TRUE(s.dictionaryPaths[1].empty());
  EXPECT_TRUE(s.dictionaryPaths[2].empty());

  // Eleven paths are refused without touching anything.
  EXPECT_FALSE(setInstalledDictionaryPaths(s, Paths(11, u"/y.pvm")));
  EXPECT_EQ(installedDictionaryPaths(s), (Paths{u"/x.pvm"}));

  // A count outside the table reads as its nearest bound.
  s.totalDict = 42;
  EXPECT_EQ(installedDictionaryPaths(s).size(), 10u);
  s.totalDict = -3;
  EXPECT_TRUE(installedDictionaryPaths(s).empty());
}

TEST(DictionaryListTest, AppendStopsAtTen) {
  Settings s;
  for (int k = 0; k < kMaxDictionaries; ++k) EXPECT_TRUE(appendDictionaryPath(s, u"/d.pvm"));
  EXPECT_EQ(s.totalDict, 10);
  EXPECT_FALSE(appendDictionaryPath(s, u"/eleventh.pvm"));
  EXPECT_EQ(s.totalDict, 10);
  EXPECT_EQ(s.dictionaryPaths[9], u"/d.pvm");
}

TEST(DictionaryListTest, RemoveMovesFollowingPathsUp) {
  Settings s = withPaths({u"/a.pvm", u"/b.pvm", u"/c.pvm"});
  removeDictionaryPath(s, 1);
  EXPECT_EQ(installedDictionaryPaths(s), (Paths{u"/a.pvm", u"/c.pvm"}));
  EXPECT_TRUE(s.dictionaryPaths[2].empty());
  removeDictionaryPath(s, 1);  // the last one
  EXPECT_EQ(installedDictionaryPaths(s), (Paths{u"/a.pvm"}));
  removeDictionaryPath(s, 5);  // out of range: nothing
  removeDictionaryPath(s, -1);
  EXPECT_EQ(installedDictionaryPaths(s), (Paths{u"/a.pvm"}));
  removeDictionaryPath(s, 0);
  EXPECT_EQ(s.totalDict, 0);
}

TEST(DictionaryListTest, MoveShiftsTheRowsBetween) {
  Settings s = withPaths({u"/a", u"/b", u"/c", u"/d"});
  moveDictionaryPath(s, 0, 2);
  EXPECT_EQ(installedDictionaryPaths(s), (Paths{u"/b", u"/c", u"/a", u"/d"}));
  moveDictionaryPath(s, 3, 0);
  EXPECT_EQ(installedDictionaryPaths(s), (Paths{u"/d", u"/b", u"/c", u"/a"}));
  moveDictionaryPath(s, 1, 4);  // beyond the count: nothing
  EXPECT_EQ(installedDictionaryPaths(s), (Paths{u"/d", u"/b", u"/c", u"/a"}));
}

}  // namespace
}  // namespace lexora
