// StarDict entry data becomes entry markup: each field type, the headline, senses, examples,
// links, entities and the tags that carry nothing.

#include <gtest/gtest.h>

#include "importers/stardict_reader.h"
#include "tests/support/status_assertions.h"

namespace lexora::importers {
namespace {

std::string markup(std::string_view word, std::string_view data, const std::string& types,
                   uint64_t* resources = nullptr) {
  uint64_t count = 0;
  std::string out = stardictEntryMarkup(word, data, types, count);
  if (resources != nullptr) *resources = count;
  return out;
}

TEST(StardictMarkup, PlainTextWithPronunciationField) {
  // t then m: the pronunciation goes to the headword line; a repeated headword line is the
  // headline, and "1." "2)" senses lose their numbers.
  const std::string data = std::string(
                               "r\xCA\x8C"
                               "n") +
                           '\0' + "run\n1. to move fast\n2) to flow";
  EXPECT_EQ(markup("run", data, "tm"), "@run|r\xCA\x8Cn|\r\n- to move fast\r\n- to flow");
  // Without numbers every line is one meaning; "$" is a character, not a link mark.
  EXPECT_EQ(markup("cost", "costs $5\nprice", "m"), "@cost\r\n- costs &#36;5\r\n- price");
}

TEST(StardictMarkup, PlainTextWrappedLikeDictdIsJoined) {
  // Continuation lines are indented at least as far as their paragraph; WordNet's sense marks
  // give word classes; "{...}" references are links, also across a line end; source notes go.
  const std::string text =
      "tally\n    n 1: a score; \"the Yankees\n         scored\" [syn: {run}, {tot\n         up}]\n"
      "    2: a bill\n    [WordNet 1.5]\n    v 1: be compatible";
  EXPECT_EQ(
      markup("tally", text, "m"),
      "@tally\r\n* noun\r\n- a score; \"the Yankees scored\" [syn: $run$, $tot\xC2\xA0up$]\r\n"
      "- a bill\r\n* verb\r\n- be compatible");
}

TEST(StardictMarkup, LocalEncodingFallsBackToLatin1) {
  EXPECT_EQ(markup("cafe", "caf\xE9", "l"), "@cafe\r\n- caf\xC3\xA9");
  EXPECT_EQ(markup("cafe", "caf\xC3\xA9", "l"), "@cafe\r\n- caf\xC3\xA9");
}

TEST(StardictMarkup, HtmlSensesClassesExamplesAndLinks) {
  const std::string html =
      "<b>bank</b> [b&aelig;&#331;k]<br><i>n.</i><ol><li>a <font color=red>place</font> for "
      "money; see <a href=\"bword://vault\">vault</a></li><li>the side of a river</li></ol>"
      "<script>alert(1)</script><img src=\"x.png\">&lt;rare&gt; &amp; old";
  EXPECT_EQ(markup("bank", html, "h"),
            "@bank|b\xC3\xA6\xC5\x8Bk|\r\n* n.\r\n- a place for money; see $vault$\r\n"
            "- the side of a river\r\n&lt;rare&gt; &amp; old");
}

TEST(StardictMarkup, PreformattedTextKeepsItsLinesAndBlanks) {
  const std::string nb = "\xC2\xA0";
  EXPECT_EQ(markup("c",
                   "<p>See:</p><pre>\nint <b>main</b>() {\n\treturn 0;\n}\n\n  x  = 1;\n-v\n</pre>"
                   "<div style=\"white-space: pre\">a<br>  b</div>end",
                   "h"),
            "@c\r\n- See:\r\nint main() {\r\n" + nb + nb + nb + nb + nb + nb + nb + nb +
                "return 0;\r\n" + nb + "}\r\n" + nb + "\r\n" + nb + nb + "x" + nb + nb +
                "= 1;\r\n" + nb + "-v\r\n" + nb + "a\r\n" + nb + nb + "b\r\n- end");
}

TEST(StardictMarkup, HtmlKeepsNoFormsFramesOrDeepNesting) {
  // Forms, frames and embedded documents hold no text of the entry; a table gives its text.
  const std::string html =
      "<table><tr><td>a fish</td></tr></table><form action=\"http://x\"><input value=\"v\">"
      "<select><option>pick</option></select><textarea>typed</textarea><button>go</button>"
      "</form><iframe src=\"file:///etc/passwd\">framed</iframe><svg><text>drawn</text></svg>"
      "<noscript>enable</noscript>";
  EXPECT_EQ(markup("cod", html, "h"), "@cod\r\n- a fish");
  // Far deeper than any entry, the text is still read.
  std::string deep;
  for (int i = 0; i < 100; ++i) deep += "<div><span>";
  EXPECT_EQ(markup("cod", deep + "deep<br>down", "h"), "@cod\r\n- deep down");
}

TEST(StardictMarkup, PangoBreaksLinesAtLineEnds) {
  const std::string pango =
      "<span foreground=\"blue\">house</span>\n<i>noun</i>\n1. a building\n2. a family";
  EXPECT_EQ(markup("house", pango, "g"), "@house\r\n* noun\r\n- a building\r\n- a family");
}

TEST(StardictMarkup, XdxfTranscriptionAbbreviationsExamplesAndReferences) {
  const std::string xdxf =
      "<k>dog</k>\n<tr>d\xC9\x92g</tr>\n<abr>n.</abr>\n<blockquote>1. a domestic animal, see "
      "<kref>wolf</kref></blockquote>\n<blockquote>2. a fellow</blockquote>\n"
      "<ex>lucky dog \xE2\x80\x94 chanceux</ex>";
  EXPECT_EQ(markup("dog", xdxf, "x"),
            "@dog|d\xC9\x92g|\r\n* n.\r\n- a domestic animal, see $wolf$\r\n- a fellow\r\n"
            "=$lucky dog+chanceux");
  // Not well-formed XML (an HTML entity): read by the forgiving parser instead.
  EXPECT_EQ(markup("cat", "<abr>n.</abr> a&nbsp;pet", "x"), "@cat\r\n* n.\r\n- a\xC2\xA0pet");
}

TEST(StardictMarkup, FieldsWithTheirOwnTypesAndResources) {
  // No same-type sequence: each field carries its letter; upper-case fields carry a size.
  std::string data = "t";
  data += std::string("t\xC9\x99st") + '\0';
  data += "P";
  data += std::string("\0\0\0\x03", 4) + std::string("\x89PN", 3);
  data += "r";
  data += std::string("img:a.png\nsnd:a.wav") + '\0';
  data += "m";
  data += std::string("a trial") + '\0';
  uint64_t resources = 0;
  EXPECT_EQ(markup("test", data, "", &resources), "@test|t\xC9\x99st|\r\n- a trial");
  EXPECT_EQ(resources, 3u);
  // A size past the end stops the reading there, without reading beyond the data.
  const std::string cut =
      std::string("m") + "ok" + '\0' + "W" + std::string("\0\0\x10\0", 4) + "ab";
  EXPECT_EQ(markup("cut", cut, ""), "@cut\r\n- ok");
}

TEST(StardictIfo, VersionsOffsetBitsAndRequiredKeys) {
  StardictIfo ifo;
  const std::string head = "StarDict's dict ifo file\n";
  EXPECT_OK(parseStardictIfo(head + "version=3.0.0\nbookname=B\nwordcount=2\nidxfilesize=20\n"
                                    "idxoffsetbits=64\nsametypesequence=h\n",
                             ifo));
  EXPECT_EQ(ifo.offsetBits, 64u);
  EXPECT_EQ(ifo.sameTypeSequence, "h");
  EXPECT_FALSE(parseStardictIfo(head + "version=2.4.2\nbookname=B\nwordcount=2\nidxfilesize=20\n"
                                       "idxoffsetbits=64\n",
                                ifo)
                   .isOk());
  EXPECT_FALSE(
      parseStardictIfo(head + "version=1.0\nbookname=B\nwordcount=2\nidxfilesize=20\n", ifo)
          .isOk());
  EXPECT_FALSE(parseStardictIfo(head + "version=2.4.2\nbookname=B\nidxfilesize=20\n", ifo).isOk());
  const Status other = parseStardictIfo("Some other file\nversion=2.4.2\n", ifo);
  EXPECT_EQ(other.code(), Status::Code::InvalidArgument);
  EXPECT_NE(other.message().find("not a StarDict"), std::string::npos) << other.message();
}

}  // namespace
}  // namespace lexora::importers
