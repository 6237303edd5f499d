#include "render/terminal_renderer.h"

#include <gtest/gtest.h>

#include "render/entry_outline.h"

namespace lexora {
namespace {

std::u16string draw(std::u16string_view text, const DisplaySettings& s = {}, bool ansi = false) {
  std::u16string out;
  renderEntryForTerminal(text, s, ansi, out);
  return out;
}

const std::u16string kEntry =
    u"@run|r\u028cn|\r\n* verb\r\n- ch\u1ea1y\r\n=$I run.+T\u00f4i ch\u1ea1y.\r\n- v\u1eadn "
    u"h\u00e0nh\r\n"
    u"!$run out+h\u1ebft\r\n- c\u1ea1n\r\n# syn: $dash$\r\nnote <b>";

TEST(TerminalRenderer, PlainLayout) {
  EXPECT_EQ(draw(kEntry),
            u"run /r\u028cn/\n"
            u"verb\n"
            u"  1. ch\u1ea1y\n"
            u"      \u2022 I run.\n"
            u"        \u2192 T\u00f4i ch\u1ea1y.\n"
            u"  2. v\u1eadn h\u00e0nh\n"
            u"   \u25c6 run out\n"
            u"     \u2192 h\u1ebft\n"
            u"      - c\u1ea1n\n"
            u"   \u2248 syn: dash\n"
            u"note <b>\n");
}

TEST(TerminalRenderer, NumberingRestartsPerWordClassAndHiddenLinesVanish) {
  DisplaySettings s;
  EXPECT_EQ(draw(u"* a\r\n- x\r\n* b\r\n- y", s), u"a\n  1. x\nb\n  1. y\n");
  EXPECT_EQ(draw(u"- x\r\n- y\r\n\r\n- z", s), u"  1. x\n  2. y\n\n  1. z\n");
  // Character references read as the page shows them.
  EXPECT_EQ(draw(u"@a&amp;b|p&lt;|\r\n- x &lt;n&gt; &#36;1\r\n&lt;i&gt;", s),
            u"a&b /p</\n  1. x <n> $1\n<i>\n");
  s.style(kMeaningStyle).hidden = 1;
  s.style(kWordStyle).hidden = 1;  // the headword is always shown
  EXPECT_EQ(draw(u"@w\r\n- x\r\n\r\n\r\nxy", s), u"w\n\nxy\n");
}

TEST(TerminalRenderer, AnsiStylesFollowDisplayStyles) {
  DisplaySettings s;
  // Word: bold black -> bold only (black is left to the terminal's own colour).
  EXPECT_EQ(draw(u"@w", s, true), u"\x1b[1mw\x1b[0m\n");
  // Word class: bold italic red (0x000000FF is red).
  EXPECT_EQ(draw(u"* n", s, true), u"\x1b[1;3;38;2;255;0;0mn\x1b[0m\n");
  EXPECT_EQ(draw(u"@|p", s, true), u"\x1b[38;2;255;0;255m/p/\x1b[0m\n");
  EXPECT_EQ(draw(u"- m", s, true), u"  1. m\n");
}

TEST(EntryOutline, CollectsTextTranslationAndLinks) {
  const auto lines = outlineEntry(u"@a|b|c\r\n=$x y+t$+\r\n\r\n- p $q$");
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0].text, u"ac");
  EXPECT_EQ(lines[0].pronunciation, u"b");
  EXPECT_EQ(lines[1].text, u"x y");
  EXPECT_EQ(lines[1].translation, u"t$+");
  EXPECT_EQ(lines[1].links, (std::vector<std::u16string>{u"x", u"y"}));
  EXPECT_EQ(lines[2].kind, LineKind::Blank);
  EXPECT_EQ(lines[3].text, u" p q");
  EXPECT_EQ(lines[3].links, (std::vector<std::u16string>{u"q"}));
}

}  // namespace
}  // namespace lexora
