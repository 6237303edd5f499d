#include "render/popup_page.h"

#include <gtest/gtest.h>

namespace lexora {
namespace {

const std::u16string kPrev = u"<input type=button name='cmd:3' value='Prev'>";
const std::u16string kNext = u"<input type=button name='cmd:4' value='Next'>";
const std::u16string kHead = u"<html><body BGCOLOR=\"#ffffff\">";

std::vector<std::u16string> numbered(int n) {
  std::vector<std::u16string> f;
  for (int i = 0; i < n; ++i) f.push_back(u"[" + std::u16string(1, u'a' + i) + u"]");
  return f;
}

std::u16string run(std::u16string_view from, int first, int count) {
  std::u16string s;
  for (int i = first; i < first + count; ++i) s += u"[" + std::u16string(1, u'a' + i) + u"]";
  return std::u16string(from) + s;
}

TEST(PopupPage, SixFragmentsFitOnePageWithoutButtons) {
  EXPECT_EQ(assemblePopupPage(numbered(6), 0, {}), run(kHead, 0, 6) + u"</body></html>");
}

// A single fragment left after a full page must still be reachable.
TEST(PopupPage, SevenFragmentsReachTheLastOne) {
  const auto f = numbered(7);
  EXPECT_EQ(assemblePopupPage(f, 0, {}),
            run(kHead, 0, 6) + u"<p align=right>" + kNext + u"</body></html>");
  EXPECT_EQ(assemblePopupPage(f, 1, {}),
            run(kHead, 6, 1) + u"<p align=right>" + kPrev + u"</body></html>");
}

TEST(PopupPage, EightFragmentsPageTwice) {
  const auto f = numbered(8);
  EXPECT_EQ(assemblePopupPage(f, 0, {}),
            run(kHead, 0, 6) + u"<p align=right>" + kNext + u"</body></html>");
  EXPECT_EQ(assemblePopupPage(f, 1, {}),
            run(kHead, 6, 2) + u"<p align=right>" + kPrev + u"</body></html>");
}

TEST(PopupPage, ThirteenFragments) {
  const auto f = numbered(13);
  EXPECT_EQ(assemblePopupPage(f, 0, {}),
            run(kHead, 0, 6) + u"<p align=right>" + kNext + u"</body></html>");
  EXPECT_EQ(assemblePopupPage(f, 1, {}),
            run(kHead, 6, 6) + u"<p align=right>" + kPrev + kNext + u"</body></html>");
  EXPECT_EQ(assemblePopupPage(f, 2, {}),
            run(kHead, 12, 1) + u"<p align=right>" + kPrev + u"</body></html>");
  const auto mid = numbered(20);
  EXPECT_EQ(assemblePopupPage(mid, 1, {}),
            run(kHead, 6, 6) + u"<p align=right>" + kPrev + kNext + u"</body></html>");
}

TEST(PopupPage, OutOfRangePagesShowNothingAndReadNothing) {
  const auto f = numbered(3);
  EXPECT_EQ(popupPageFragmentCount(3, -1), 0u);
  EXPECT_EQ(popupPageFragmentCount(3, 5), 0u);
  EXPECT_EQ(assemblePopupPage(f, -1, {}), kHead + u"<p align=right>" + kNext + u"</body></html>");
  EXPECT_EQ(assemblePopupPage(f, 2, {}), kHead + u"<p align=right>" + kPrev + u"</body></html>");
  EXPECT_EQ(assemblePopupPage({}, 0, {}), kHead + u"</body></html>");
  EXPECT_FALSE(popupButtons(0, 0x7FFFFFFF).next);
}

TEST(PopupPage, UsesTheBackground) {
  DisplaySettings s;
  s.useTexture = 1;
  EXPECT_EQ(assemblePopupPage(numbered(1), 0, s), u"<html><body>[a]</body></html>");
}

}  // namespace
}  // namespace lexora
