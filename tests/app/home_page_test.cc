#include "app/home_page.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace lexora {
namespace {

// A dictionary slot as the home page sees it.
struct FakeSlot {
  bool open = false;
  std::u16string titleText;
  std::u16string descriptionText;
  uint32_t words = 0;
  bool isOpen() const { return open; }
  std::u16string title() const { return titleText; }
  std::u16string description() const { return descriptionText; }
  uint32_t wordCount() const { return words; }
};

bool contains(const std::u16string& page, const std::u16string& piece) {
  return page.find(piece) != std::u16string::npos;
}

std::size_t count(const std::u16string& page, const std::u16string& piece) {
  std::size_t n = 0;
  for (std::size_t at = page.find(piece); at != std::u16string::npos;
       at = page.find(piece, at + 1)) {
    ++n;
  }
  return n;
}

const std::u16string kAddress = std::u16string(u"<a href=\"help:DictionaryMenu\">") +
                                u"<b>Help: getting and importing dictionaries</b></a>";

TEST(HomePageTest, PointsOnlyAtTheBundledHelp) {
  for (const std::u16string& page :
       {buildHomePage({}), buildHomePage({{u"English-Vietnamese", u"From A to Z", 38000}})}) {
    EXPECT_FALSE(contains(page, u".invalid"));
    EXPECT_FALSE(contains(page, u"http"));
    EXPECT_TRUE(contains(page, u"href=\"help:DictionaryMenu\""));
  }
  EXPECT_TRUE(isDictionaryHelpLink(u"help:DictionaryMenu"));
  EXPECT_FALSE(isDictionaryHelpLink(u"apple"));
}

TEST(HomePageTest, NothingInstalledAsksForDictionaries) {
  const std::u16string page = buildHomePage({});
  const std::u16string expected =
      u"<HTML><TITLE>Homepage</TITLE><BODY><P>"
      u"<p align=\"center\"><font color=\"#FF0000\"><b>Thank you for using<br>Lexora</b></font>"
      u"</center></p><br>"
      u"<p align=\"center\">Firstly, please install some dictionaries.<br>You can find and "
      u"download from:<br><br>" +
      kAddress + u"</center></p><br><br><br><br><br><hr><center><p>";
  EXPECT_EQ(page.substr(0, expected.size()), expected);
  EXPECT_FALSE(contains(page, u"You got:"));
  EXPECT_FALSE(contains(page, u"<OL"));
  EXPECT_TRUE(page.ends_with(u"</p></center></body></html>"));
}

TEST(HomePageTest, OneDictionaryGivesOneListLine) {
  const std::u16string page = buildHomePage({{u"English-Vietnamese", u"From A to Z", 38000}});
  const std::u16string expected =
      u"<HTML><TITLE>Homepage</TITLE><BODY><P><p><b>You got:</b></p><OL START=1 TYPE=1>"
      u"<LI><p><font color=\"#FF0000\"><i>English-Vietnamese</i></font></p></LI>"
      u"<p><i>From A to Z. 38000 words</i></p></OL>"
      u"<p>You can download more dictionaries and find other useful softwares in:</p>"
      u"<p align=\"center\">" +
      kAddress + u"</p><hr><center><p>";
  EXPECT_EQ(page.substr(0, expected.size()), expected);
  EXPECT_FALSE(contains(page, u"Thank you for using"));
}

TEST(HomePageTest, DictionaryThatFailedToOpenShowsEmptyTextsAndNoWords) {
  std::array<FakeSlot, 10> slots;
  slots[0] = {true, u"EV", u"English", 12};
  slots[1] = {false, u"stale", u"stale", 99};  // failed to open
  slots[2] = {true, u"not installed", u"", 1};
  const std::u16string page = buildHomePage(homePageEntries(slots, 2));
  EXPECT_EQ(count(page, u"<LI>"), 2u);
  EXPECT_TRUE(contains(page, u"<i>EV</i></font></p></LI><p><i>English. 12 words</i></p>"));
  EXPECT_TRUE(contains(page,
                       u"<LI><p><font color=\"#FF0000\"><i></i></font></p></LI>"
                       u"<p><i>0 words</i></p></OL>"));
  EXPECT_FALSE(contains(page, u"stale"));
  EXPECT_FALSE(contains(page, u"not installed"));
}

TEST(HomePageTest, TitlesAreWrittenAsTextAndCountsAsUnsigned) {
  const std::u16string page = buildHomePage({{u"<b>A&B</b>", u"say \"hi\"", 4000000000u}});
  EXPECT_TRUE(contains(page, u"<i>&lt;b&gt;A&amp;B&lt;/b&gt;</i>"));
  EXPECT_TRUE(contains(page, u"say &quot;hi&quot;. 4000000000 words"));
  // No description: the count alone, without a stray ". ".
  EXPECT_TRUE(contains(buildHomePage({{u"Jargon", u"", 8763}}), u"<p><i>8763 words</i></p>"));
}

}  // namespace
}  // namespace lexora
