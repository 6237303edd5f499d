#include "render/entry_markup.h"

#include <gtest/gtest.h>

namespace lexora {
namespace {

using K = TokenKind;

std::vector<Token> tokens(std::u16string_view line) { return lineTokens(line); }

TEST(SplitLines, CutsAtCrLfOnly) {
  EXPECT_EQ(splitLines(u"abc"), (std::vector<std::u16string_view>{u"abc"}));
  EXPECT_EQ(splitLines(u""), (std::vector<std::u16string_view>{u""}));
  EXPECT_EQ(splitLines(u"a\r\nb"), (std::vector<std::u16string_view>{u"a", u"b"}));
  EXPECT_EQ(splitLines(u"a\r\n"), (std::vector<std::u16string_view>{u"a", u""}));
  EXPECT_EQ(splitLines(u"a\nb\rc"), (std::vector<std::u16string_view>{u"a\nb\rc"}));
  EXPECT_EQ(splitLines(u"\r\r\n\n"), (std::vector<std::u16string_view>{u"\r", u"\n"}));
  EXPECT_EQ(splitLines(u"\r\n\r\n"), (std::vector<std::u16string_view>{u"", u"", u""}));
}

TEST(ClassifyLine, LeadCharacters) {
  EXPECT_EQ(classifyLine(u""), LineKind::Blank);
  EXPECT_EQ(classifyLine(u"@"), LineKind::Blank);
  EXPECT_EQ(classifyLine(u"-"), LineKind::Blank);
  EXPECT_EQ(classifyLine(u"x"), LineKind::Blank);
  EXPECT_EQ(classifyLine(u"@w"), LineKind::Headword);
  EXPECT_EQ(classifyLine(u"* n"), LineKind::WordClass);
  EXPECT_EQ(classifyLine(u"- m"), LineKind::Meaning);
  EXPECT_EQ(classifyLine(u"=$"), LineKind::Example);
  EXPECT_EQ(classifyLine(u"!$i"), LineKind::Idiom);
  EXPECT_EQ(classifyLine(u"# s"), LineKind::Synonym);
  EXPECT_EQ(classifyLine(u"=x"), LineKind::Plain);
  EXPECT_EQ(classifyLine(u"!idiom"), LineKind::Plain);
  EXPECT_EQ(classifyLine(u" - m"), LineKind::Plain);
}

TEST(WordDelimiters, FortyAsciiCharacters) {
  EXPECT_EQ(wordDelimiters.size(), 40u);
  // Punctuation in its stored order, then the digits, then the space.
  const std::u16string expected =
      std::u16string(u"<>?:\"{}|+)(*&^%$#@!~,./;[]\\=-") + u"0123456789" + u" ";
  EXPECT_EQ(std::u16string(wordDelimiters), expected);
  for (char16_t c : wordDelimiters) EXPECT_TRUE(isWordDelimiter(c));
  for (char16_t c : {u'\t', u'\'', u'`', u'_', u'a', u'Z', u'\u0111', u'\u1EBF', u'\r', u'\n'}) {
    EXPECT_FALSE(isWordDelimiter(c)) << static_cast<int>(c);
  }
}

TEST(WalkHeadword, SegmentsFlipAtBars) {
  EXPECT_EQ(tokens(u"@word|pron|"), (std::vector<Token>{{K::HeadwordSegment, u"word"},
                                                        {K::PronunciationSegment, u"pron"}}));
  EXPECT_EQ(tokens(u"@word|pron"), tokens(u"@word|pron|"));
  EXPECT_EQ(tokens(u"@a|b|c"), (std::vector<Token>{{K::HeadwordSegment, u"a"},
                                                   {K::PronunciationSegment, u"b"},
                                                   {K::HeadwordSegment, u"c"}}));
  EXPECT_EQ(tokens(u"@word /pronunciation/"),
            (std::vector<Token>{{K::HeadwordSegment, u"word /pronunciation/"}}));
  EXPECT_EQ(tokens(u"@word|"), (std::vector<Token>{{K::HeadwordSegment, u"word"}}));
  EXPECT_EQ(tokens(u"@|pron"), (std::vector<Token>{{K::PronunciationSegment, u"pron"}}));
  EXPECT_TRUE(tokens(u"@||").empty());
}

TEST(WalkExample, LinksBeforePlusThenTranslation) {
  EXPECT_EQ(tokens(u"=$I go.+T\u00f4i \u0111i."),
            (std::vector<Token>{{K::LinkWord, u"I"},
                                {K::PlainText, u" "},
                                {K::LinkWord, u"go"},
                                {K::PlainText, u"."},
                                {K::Translation, u"T\u00f4i \u0111i."}}));
  EXPECT_EQ(tokens(u"=$come here+\u0111\u1ebfn \u0111\u00e2y"),
            (std::vector<Token>{{K::LinkWord, u"come"},
                                {K::PlainText, u" "},
                                {K::LinkWordWithBreak, u"here"},
                                {K::Translation, u"\u0111\u1ebfn \u0111\u00e2y"}}));
  // Digits are delimiters; "$" marks vanish; the translation keeps its "$" and "+".
  EXPECT_EQ(tokens(u"=$route 66"),
            (std::vector<Token>{{K::LinkWord, u"route"}, {K::PlainText, u" 66"}}));
  EXPECT_EQ(tokens(u"!$$take$ off+a$b+c"), (std::vector<Token>{{K::LinkWord, u"take"},
                                                               {K::PlainText, u" "},
                                                               {K::LinkWordWithBreak, u"off"},
                                                               {K::Translation, u"a$b+c"}}));
  EXPECT_TRUE(tokens(u"=$").empty());
  EXPECT_EQ(tokens(u"=$+t"), (std::vector<Token>{{K::Translation, u"t"}}));
  EXPECT_EQ(tokens(u"=$caf\u00e9"), (std::vector<Token>{{K::LinkWord, u"caf\u00e9"}}));
}

TEST(WalkParagraph, DollarMarksSwitchLinking) {
  EXPECT_EQ(tokens(u"# syn: $synonymI$, $synonymII$"),
            (std::vector<Token>{{K::PlainText, u" syn: "},
                                {K::LinkWord, u"synonymI"},
                                {K::PlainText, u", "},
                                {K::LinkWord, u"synonymII"}}));
  EXPECT_EQ(
      tokens(u"-$come here$"),
      (std::vector<Token>{{K::LinkWord, u"come"}, {K::PlainText, u" "}, {K::LinkWord, u"here"}}));
  EXPECT_EQ(tokens(u"- a$b"), (std::vector<Token>{{K::PlainText, u" a"}, {K::LinkWord, u"b"}}));
  EXPECT_EQ(tokens(u"- 3 < 4"), (std::vector<Token>{{K::PlainText, u" 3 < 4"}}));
  EXPECT_EQ(tokens(u"* a+b"), (std::vector<Token>{{K::PlainText, u" a+b"}}));
}

TEST(WalkLine, LinkTargetIsOneLinkWord) {
  EXPECT_EQ(tokens(u"- see \uFFF9C++\uFFFB, $x y$"), (std::vector<Token>{{K::PlainText, u" see "},
                                                                         {K::LinkWord, u"C++"},
                                                                         {K::PlainText, u", "},
                                                                         {K::LinkWord, u"x"},
                                                                         {K::PlainText, u" "},
                                                                         {K::LinkWord, u"y"}}));
  // In an example its "+" is part of it; without its closing mark it runs to the line's end.
  EXPECT_EQ(tokens(u"=$a\uFFF9OS/2 + b\uFFFB c+t"),
            (std::vector<Token>{{K::LinkWord, u"a"},
                                {K::LinkWord, u"OS/2 + b"},
                                {K::PlainText, u" "},
                                {K::LinkWordWithBreak, u"c"},
                                {K::Translation, u"t"}}));
  EXPECT_EQ(tokens(u"-$ab\uFFF9Perl 5"),
            (std::vector<Token>{{K::LinkWord, u"ab"}, {K::LinkWord, u"Perl 5"}}));
  EXPECT_EQ(tokens(u"- \uFFF9\uFFFB."),
            (std::vector<Token>{{K::PlainText, u" "}, {K::PlainText, u"."}}));
  EXPECT_EQ(tokens(u"a\uFFF9b"), (std::vector<Token>{{K::PlainText, u"a\uFFF9b"}}));
}

TEST(WalkLine, PlainAndBlankLines) {
  EXPECT_EQ(tokens(u"=x"), (std::vector<Token>{{K::PlainText, u"=x"}}));
  EXPECT_EQ(tokens(u"<b>hi</b>"), (std::vector<Token>{{K::PlainText, u"<b>hi</b>"}}));
  EXPECT_EQ(tokens(u"@"), (std::vector<Token>{{K::LineBreak, u""}}));
}

TEST(ToEditText, EveryLfGetsACr) {
  EXPECT_EQ(toEditText(u"a\r\nb"), u"a\r\r\nb");
  EXPECT_EQ(toEditText(u"a\nb"), u"a\r\nb");
  EXPECT_EQ(toEditText(u"\n\n"), u"\r\n\r\n");
  EXPECT_EQ(toEditText(u"a\rb"), u"a\rb");
}

}  // namespace
}  // namespace lexora
