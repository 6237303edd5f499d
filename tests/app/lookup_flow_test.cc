#include "app/lookup_flow.h"
#include "tests/support/status_assertions.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/dictionary_opening.h"
#include "engine/dictionary.h"

namespace lexora {
namespace {

TEST(LookupFlowRulesTest, NormalisesTrimsUnderscoresAndAcuteAccents) {
  EXPECT_EQ(normaliseLookupWord(u"  ice_cream \t"), u"ice cream");
  EXPECT_EQ(normaliseLookupWord(u"ca\u0301t"), u"cat");
  EXPECT_EQ(normaliseLookupWord(u"\u00a0_a_\u3000"), u" a ");  // trimmed before "_" turns
  EXPECT_EQ(normaliseLookupWord(u"   "), u"");
  EXPECT_EQ(normaliseLookupWord(u"đến"), u"đến");
  // A link word of several words, as the importers join them.
  EXPECT_EQ(normaliseLookupWord(u"MS\u2011DOS\u00a0prompt"), u"MS-DOS prompt");
}

TEST(LookupFlowRulesTest, HandOffGoesToTheReverseOnlyFromAWorkingPage) {
  EXPECT_EQ(handOffDictionary(0, false, 2, 5), 2);
  EXPECT_EQ(handOffDictionary(0, true, 2, 5), 2);
  EXPECT_EQ(handOffDictionary(1, false, 2, 5), 5);
  EXPECT_EQ(handOffDictionary(1, true, 2, 5), 2);
  EXPECT_EQ(handOffDictionary(7, false, 2, 5), 2);
  EXPECT_TRUE(handOffShowsInMainWindow(1));
  EXPECT_FALSE(handOffShowsInMainWindow(0));
  EXPECT_FALSE(handOffShowsInMainWindow(2));
}

TEST(LookupFlowRulesTest, NeighbourPositionsStopAtBothEnds) {
  EXPECT_FALSE(neighbourWordPosition(0, 5, true));
  EXPECT_EQ(neighbourWordPosition(0, 5, false), 1u);
  EXPECT_FALSE(neighbourWordPosition(4, 5, false));
  EXPECT_EQ(neighbourWordPosition(4, 5, true), 3u);
  EXPECT_FALSE(neighbourWordPosition(0, 0, false));
  EXPECT_FALSE(neighbourWordPosition(9, 5, false));  // clipped to the last word
}

class OpeningTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              ("lexora-open-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
               "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override {
    for (Dictionary& d : slots_) d.closeDictionary();
    std::filesystem::remove_all(folder_);
  }
  std::string make(const std::string& name) {
    std::string path = (folder_ / (name + ".pvm")).string();
    Dictionary d;
    EXPECT_OK(d.createDictionary(path, 1));
    EXPECT_OK(d.addEntry(u"word", u"meaning"));
    d.closeDictionary();
    return path;
  }
  std::filesystem::path folder_;
  std::array<Dictionary, 10> slots_;
};

TEST_F(OpeningTest, FirstOpenedIsWorkingLastOpenedIsReverse) {
  std::vector<std::string> paths = {make("a"), make("b"), make("c")};
  auto opened = openInstalledDictionaries(slots_, 3, [&](int32_t k) { return paths[k]; });
  EXPECT_EQ(opened.workingDictIndex, 0);
  EXPECT_EQ(opened.reverseDictIndex, 2);
}

TEST_F(OpeningTest, FailuresAreSkipped) {
  std::string missing = (folder_ / "missing.pvm").string();
  std::vector<std::string> paths = {missing, make("b"), missing};
  auto opened = openInstalledDictionaries(slots_, 3, [&](int32_t k) { return paths[k]; });
  EXPECT_EQ(opened.workingDictIndex, 1);
  EXPECT_EQ(opened.reverseDictIndex, 1);

  auto none = openInstalledDictionaries(slots_, 1, [&](int32_t) { return missing; });
  EXPECT_EQ(none.workingDictIndex, -1);
  EXPECT_EQ(none.reverseDictIndex, -1);
}

TEST_F(OpeningTest, NeverTouchesASlotPastTheTenth) {
  std::string path = make("a");
  int asked = 0;
  auto opened = openInstalledDictionaries(slots_, 40, [&](int32_t) {
    ++asked;
    return std::string();
  });
  EXPECT_EQ(asked, 10);
  EXPECT_EQ(opened.workingDictIndex, -1);
}

}  // namespace
}  // namespace lexora
