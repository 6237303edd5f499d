#include "render/entry_renderer.h"

#include <gtest/gtest.h>

namespace lexora {
namespace {

constexpr std::u16string_view kFolder = u"/opt/lexora/";
const std::u16string kHead = u"<html><body BGCOLOR=\"#ffffff\">";
const std::u16string kEnd = u"</body></html>";

std::u16string page(std::u16string_view text, const DisplaySettings& s = {}, bool unicode = true) {
  return renderEntryPage(text, RenderOptions{s, kFolder, unicode});
}
std::vector<std::u16string> fragments(std::u16string_view text, const DisplaySettings& s = {},
                                      bool unicode = true) {
  std::vector<std::u16string> out{u"stale"};
  renderEntryFragments(text, out, RenderOptions{s, kFolder, unicode});
  return out;
}
std::u16string body(std::u16string_view text, const DisplaySettings& s = {}) {
  const std::u16string p = page(text, s);
  const std::u16string head = pageHead(s);
  EXPECT_EQ(p.substr(0, head.size()), head);
  EXPECT_EQ(p.substr(p.size() - kEnd.size()), kEnd);
  return p.substr(head.size(), p.size() - head.size() - kEnd.size());
}

TEST(ColourToHtml, SwapsRedAndBlueDropsTopByte) {
  EXPECT_EQ(colourToHtml(0x000000FF), 0xFF0000u);
  EXPECT_EQ(colourToHtml(0x00123456), 0x563412u);
  EXPECT_EQ(colourToHtml(0xAB123456), 0x563412u);
}

TEST(PageHead, ColourTextureOrPlain) {
  DisplaySettings s;
  EXPECT_EQ(pageHead(s), kHead);
  s.backColor = 0x00C08000;
  EXPECT_EQ(pageHead(s), u"<html><body BGCOLOR=\"#0080c0\">");
  s.useTexture = 1;
  EXPECT_EQ(pageHead(s), u"<html><body>");
  s.texturePath = u"/pics/paper.jpg";
  EXPECT_EQ(pageHead(s), u"<html><body background=\"file:///pics/paper.jpg\">");
  s.useTexture = 2;  // only 1 means a picture
  EXPECT_EQ(pageHead(s), u"<html><body BGCOLOR=\"#0080c0\">");
}

TEST(RenderEntryPage, EmptyAndPlainTexts) {
  EXPECT_EQ(page(u""), kHead + u"<br>" + kEnd);
  EXPECT_EQ(body(u"abc"), u"abc<br>");
  EXPECT_EQ(body(u"ab\r\n"), u"ab<br><br>");
  EXPECT_EQ(body(u"a\r\n"), u"<br><br>");  // one character is a blank line
  EXPECT_EQ(body(u"=x\r\n!idiom\r\n<i>x</i>"), u"=x<br>!idiom<br><i>x</i><br>");
  EXPECT_EQ(body(u"a\nb"), u"a\nb<br>");
}

TEST(RenderEntryPage, HeadwordLine) {
  EXPECT_EQ(body(u"@cat|k\u00e6t|"),
            u"<font color=\"#000000\"><B>cat</B></font>/<font face=\"Lucida Sans Unicode\" "
            u"color=#ff00ff>k\u00e6t</font>/<br>");
  EXPECT_EQ(
      page(u"@cat|k\u00e6t|", {}, false),
      kHead +
          u"<font color=\"#000000\"><B>cat</B></font>/<font color=#ff00ff>k\u00e6t</font>/<br>" +
          kEnd);
  DisplaySettings s;
  s.style(kPronunciationStyle) = {1, 1, 1, 0x00000080};
  s.style(kWordStyle) = {1, 0, 1, 0x00FF0000};
  EXPECT_EQ(body(u"@a|b", s),
            u"<font color=\"#0000ff\"><I>a</I></font><I><B>/<font face=\"Lucida Sans Unicode\" "
            u"color=#800000>b</font>/</B></I><br>");
}

TEST(RenderEntryPage, ParagraphLinesWithDefaultStyles) {
  EXPECT_EQ(body(u"* noun"),
            u"<font color=\"#ff0000\"><I><B><p "
            u"style=\"margin-top:0em;margin-bottom:0em;margin-left:0em;\">"
            u"<img src=\"file:///opt/lexora/word.gif\"> noun</B></I></font></P>");
  EXPECT_EQ(
      body(u"- meaning"),
      u"<font color=\"#000000\"><p style=\"margin-top:0em;margin-bottom:0em;margin-left:0.7em;\">"
      u"<img src=\"file:///opt/lexora/meaning.gif\"> meaning</font></P>");
  EXPECT_EQ(
      body(u"=$example come here+mean of example"),
      u"<font color=\"#000000\"><p style=\"margin-top:0em;margin-bottom:0em;margin-left:1.4em;\">"
      u"<a href=\"example\">example</a> <a href=\"come\">come</a> <a href=\"here\">here</a><br>"
      u"mean of example</font></p>");
  EXPECT_EQ(
      body(u"!$go on+ti\u1ebfp"),
      u"<font color=\"#000000\"><p style=\"margin-top:0em;margin-bottom:0em;margin-left:0.7em;\">"
      u"<img src=\"file:///opt/lexora/Idiom.gif\"><a href=\"go\">go</a> <a href=\"on\">on</a><br>"
      u"ti\u1ebfp</font></p>");
  EXPECT_EQ(
      body(u"# syn: $big$"),
      u"<font color=\"#000000\"><p style=\"margin-top:0em;margin-bottom:0em;margin-left:1.4em;\">"
      u"<img src=\"file:///opt/lexora/syn-ant.gif\"> syn: <a href=\"big\">big</a></font></P>");
  EXPECT_EQ(body(u"- 3 < 4").find(u" 3 < 4</font></P>") != std::u16string::npos, true);
  // A link target is one link; a quote in it cannot end the attribute.
  EXPECT_NE(body(u"- \uFFF9AT&amp;T \"1\"\uFFFB")
                .find(u"<a href=\"AT&amp;T &quot;1&quot;\">AT&amp;T \"1\"</a></font></P>"),
            std::u16string::npos);
}

TEST(RenderEntryPage, EachParagraphUsesItsOwnStyle) {
  DisplaySettings s;
  s.style(kMeaningStyle).hidden = 1;
  EXPECT_EQ(body(u"- m\r\nxy", s), u"xy<br>");
  s.style(kMeaningStyle).hidden = 0;
  EXPECT_NE(body(u"- m", s).find(u"meaning.gif"), std::u16string::npos);

  s.style(kWordStyle).hidden = 1;
  s.style(kPronunciationStyle).hidden = 1;
  EXPECT_EQ(body(u"@w", s), u"<font color=\"#000000\"><B>w</B></font><br>");

  s.style(kIdiomStyle) = {0, 2, 0, 0xFF00FF00};  // bold 2 counts; the top byte is ignored
  EXPECT_EQ(body(u"!$a", s).substr(0, 27), u"<font color=\"#00ff00\"><B><p");
  s.style(kIdiomStyle).hidden = 1;
  EXPECT_EQ(body(u"!$a", s), u"");
  s.style(kExampleStyle) = {0, 0, 1, 0x000000FF};
  EXPECT_EQ(body(u"=$a", s).substr(0, 27), u"<font color=\"#ff0000\"><I><p");

  s.style(kWordClassStyle) = DisplayStyle{};  // stored as 16 zero bytes
  EXPECT_EQ(body(u"* n", s).substr(0, 24), u"<font color=\"#000000\"><p");
}

TEST(RenderEntryFragments, OnePiecePerShownElement) {
  EXPECT_EQ(fragments(u""), (std::vector<std::u16string>{u"<br>"}));
  const auto f = fragments(u"@cat|k\u00e6t|\r\n* noun\r\nplain\r\n\r\n- m", {}, false);
  ASSERT_EQ(f.size(), 6u);
  EXPECT_EQ(f[0], u"<font color=\"#000000\"><B>cat</B></font>");
  EXPECT_EQ(f[1], u"/<font color=#ff00ff>k\u00e6t</font>/");
  EXPECT_EQ(f[2].substr(0, 25), u"<font color=\"#ff0000\"><I>");
  EXPECT_EQ(f[3], u"plain");
  EXPECT_EQ(f[4], u"<br>");
  EXPECT_EQ(f[5].substr(f[5].size() - 13), u" m</font></P>");
  DisplaySettings s;
  s.style(kWordClassStyle).hidden = 1;
  EXPECT_EQ(fragments(u"* noun\r\n- m", s).size(), 1u);
}

TEST(RenderEntryFragments, MatchPageBody) {
  const std::u16string text =
      u"@run|r\u028cn|\r\n* verb\r\n- to move fast\r\n=$I run.+T\u00f4i ch\u1ea1y.\r\n"
      u"!$run out+h\u1ebft\r\n# syn: $sprint$\r\nnote";
  std::u16string joined;
  for (const auto& piece : fragments(text)) joined += piece;
  std::u16string b = body(text);
  // The page adds a break after the headword line and after the plain line.
  EXPECT_EQ(b.replace(b.find(u"/<br>"), 5, u"/").substr(0, b.size() - 4), joined);
}

TEST(RenderEntryPage, SpeakerLinkAndMediaLinesFromTheResourceFolder) {
  DisplaySettings s;
  const std::u16string text =
      u"\uFFFCimg/cat.png\r\n\uFFFCsnd/cat.mp3\r\n\uFFFC../x.png\r\n\uFFFCa.txt";
  RenderOptions options{s, kFolder, true, u"/d/my \u00E9 #1.res/", true};
  // The first headword line ends in the speaker link, before its break.
  const std::u16string headword = body(u"@cat");
  const std::u16string speaker =
      headword.substr(0, headword.size() - 4) + u" <a href=\"say:\">&#9654;</a><br>";
  EXPECT_EQ(renderEntryPage(u"@cat\r\n@cat\r\n" + text, options),
            pageHead(s) + speaker + headword +
                u"<img src=\"file:///d/my%20%C3%A9%20%231.res/img/cat.png\"><br>"
                u"<a href=\"sound:snd/cat.mp3\">&#9654;</a><br></body></html>");
  // Without a resource folder media lines show nothing; nor do they in the popup's pieces.
  EXPECT_EQ(page(text), pageHead(s) + u"</body></html>");
  std::vector<std::u16string> pieces;
  renderEntryFragments(text, pieces, RenderOptions{s, kFolder, true});
  EXPECT_TRUE(pieces.empty());
}

}  // namespace
}  // namespace lexora
