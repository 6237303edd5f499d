// dictd texts of each shape become entries that read well: headline, senses, examples, notes.

#include <gtest/gtest.h>

#include "importers/dictd_headline.h"
#include "importers/dictd_markup.h"
#include "importers/gcide_notation.h"

namespace lexora::importers {
namespace {

std::string convert(DictdShape shape, std::string_view word, std::vector<std::string_view> texts) {
  std::string out = dictdEntryMarkup(shape, word, texts);
  for (size_t at; (at = out.find("\r\n")) != std::string::npos;) out.replace(at, 2, "\n");
  return out;
}

TEST(DictdShape, ChosenFromTheHeaderEntries) {
  EXPECT_EQ(dictdShapeFromHeader("The Collaborative International Dictionary of English v.0.48",
                                 "ftp://ftp.gnu.org/gnu/gcide", ""),
            DictdShape::Gcide);
  EXPECT_EQ(dictdShapeFromHeader("WordNet (r) 3.0 (2006)", "", ""), DictdShape::WordNet);
  EXPECT_EQ(dictdShapeFromHeader("English-French FreeDict Dictionary", "https://freedict.org/", ""),
            DictdShape::FreeDict);
  EXPECT_EQ(dictdShapeFromHeader("The Jargon File (version 4.4.7, 29 Dec 2003)", "", ""),
            DictdShape::Generic);
}

TEST(DictdMarkup, GcideHeadlineSensesQuotationsPhrasesAndNotes) {
  const std::string_view verb =
      "Ransom \\Ran\"som\\, v. t. [imp. & p. p. {Ransomed}; p.\n"
      "   pr. & vb. n. {Ransoming}.] [Cf. F. ran[,c]onner. See\n"
      "   {Ransom}, n.]\n"
      "   1. To redeem from captivity, servitude, punishment, or\n"
      "      forfeit, by paying a price.\n"
      "      [1913 Webster]\n"
      "\n"
      "   2. To exact a ransom for. [R.]\n"
      "      [1913 Webster]\n"
      "\n"
      "            Such lands as he had rule of he ransomed them so\n"
      "            grievously.                           --Deut. xxxiv.\n"
      "                                                  7.\n"
      "      [1913 Webster]\n";
  const std::string_view noun =
      "Ransom \\Ran\"som\\ (r[a^]n\"s[u^]m), n. [OE. raunson.]\n"
      "   1. The release of a captive.\n"
      "      (a) by payment;\n"
      "      (b) by force.\n"
      "      [1913 Webster]\n"
      "\n"
      "   {Ransom bill} (Law), a war contract.\n"
      "      [1913 Webster +PJC]\n"
      "\n"
      "   {To ransom out}.\n";
  // The respelling is the pronunciation, in Unicode; the forms keep their links on a synonym
  // line; a verse number in a quotation is no sense; an idiom with nothing after it stands
  // alone; the phrase is one link word.
  EXPECT_EQ(convert(DictdShape::Gcide, "Ransom", {verb, noun}),
            "@Ransom|r\u0103n\u2033s\u016dm|\n"
            "* v. t.\n"
            "# [imp. &amp; p. p. $Ransomed$; p. pr. &amp; vb. n. $Ransoming$.] [Cf. F. "
            "ran\u00e7onner. See $Ransom$, n.]\n"
            "- To redeem from captivity, servitude, punishment, or forfeit, by paying a price.\n"
            "- To exact a ransom for. [R.]\n"
            "=$Such lands as he had rule of he ransomed them so grievously. --Deut. xxxiv. 7.\n"
            "\n"
            "* n.\n"
            "[OE. raunson.]\n"
            "- The release of a captive.\n"
            "(a) by payment;\n"
            "(b) by force.\n"
            "!$$Ransom\u00a0bill$\n"
            "- (Law), a war contract.\n"
            "!$$To\u00a0ransom\u00a0out$");
}

TEST(DictdMarkup, GcideNotationAndHeadwordSpelling) {
  EXPECT_EQ(decodeGcideNotation("[ae]on, [=e]ra, caf['e], ran[,c]on, [oe]il, [Obs.], [R.]"),
            "\u00e6on, \u0113ra, caf\u00e9, ran\u00e7on, \u0153il, [Obs.], [R.]");
  EXPECT_EQ(decodeGcideText("-- {Dic*ta\"to*ri*al*ly\"}, adv. \"Hi\", he said"),
            "-- {Dictatorially}, adv. \"Hi\", he said");
  EXPECT_EQ(decodeGcideText("{Regulated}\n (-l[=a]`t[e^]d); {A} (\"a\" {b})"),
            "{Regulated}\n (-l\u0101\u2032t\u0115d); {A} (\"a\" {b})");
  EXPECT_EQ(dictdSpelledHeadword(DictdShape::Gcide, "Caf'e",
                                 "Caf'e \\Ca`f['e]\"\\ (k[a^]*f[=a]\"), n. [F.]\n"),
            "Caf\u00e9");
  EXPECT_EQ(dictdSpelledHeadword(DictdShape::Gcide, "'Eclair", "'Eclair \\['E]`clair\"\\, n.\n"),
            "\u00c9clair");
  // An apostrophe that is one stays.
  EXPECT_EQ(dictdSpelledHeadword(DictdShape::Gcide, "Jet d'eau", "Jet d'eau \\Jet` d'eau\"\\;"),
            "Jet d'eau");
  EXPECT_EQ(dictdSpelledHeadword(DictdShape::WordNet, "new york", "New York\n    n 1: a city"),
            "New York");
  EXPECT_EQ(dictdSpelledHeadword(DictdShape::FreeDict, "aujourdhui", "aujourd'hui /o/\ntoday"),
            "aujourd'hui");
  EXPECT_EQ(dictdSpelledHeadword(DictdShape::FreeDict, " haus", "Haus /ha\u028as/ <n>\nhouse"),
            "Haus");
  EXPECT_EQ(dictdSpelledHeadword(DictdShape::FreeDict, "\u0153dipe", "\u0152dipe <n>\nOedipus"),
            "\u0152dipe");
  // Marks at the end that the key leaves out, up to the pronunciation.
  EXPECT_EQ(dictdSpelledHeadword(DictdShape::FreeDict, "der wald", "'Der Wald' /d/\nforest"),
            "'Der Wald'");
  EXPECT_EQ(dictdSpelledHeadword(DictdShape::FreeDict, "ja wenn ", "Ja, wenn \u2026 /j/\nyes"),
            "Ja, wenn \u2026");
  EXPECT_EQ(dictdSpelledHeadword(DictdShape::FreeDict, "so", "So! Ja /s/"), "So");
  // Another name of the entry, on a line of its own under the first.
  const std::string_view ascii = "American Standard Code\nASCII\n\n   The basis of {Unicode}.\n";
  EXPECT_EQ(dictdSpelledHeadword(DictdShape::Generic, "ascii", ascii), "ASCII");
  EXPECT_EQ(convert(DictdShape::Generic, "ASCII", {ascii}),
            "@ASCII\nAmerican Standard Code\n- The basis of $Unicode$.");
  EXPECT_EQ(convert(DictdShape::Generic, "run", {"run\nexecute\n\n   The {process}.\n"}),
            "@run\nexecute\n- The $process$.");
  // A text that starts with another word names no spelling.
  EXPECT_EQ(dictdSpelledHeadword(DictdShape::Generic, "bug", "bugs\n  plural"), "");
}

TEST(DictdMarkup, FreeDictPronunciationAndNumberedTranslations) {
  EXPECT_EQ(convert(DictdShape::FreeDict, "run", {"run /r\xCA\x8Cn/\n1. fonctionner\n2. fuite\n"}),
            "@run|r\xCA\x8Cn|\n- fonctionner\n- fuite");
  // A headline with a word class in angle brackets.
  EXPECT_EQ(convert(DictdShape::FreeDict, "chat",
                    {"chat /\xCA\x83"
                     "a/ <n, masc>\nchat; cat\n"}),
            "@chat|\xCA\x83"
            "a|\n* n, masc\n- chat; cat");
}

TEST(DictdMarkup, WordNetClassesExamplesAndSynonyms) {
  const std::string_view text =
      "tally\n"
      "    n 1: a score in baseball; \"the Yankees scored 3 runs\"; \"their\n"
      "         first tally\" [syn: {run}, {tally}]\n"
      "    2: a bill for an amount due\n"
      "    v 1: be compatible [syn: {match}, {fit-\n         together}] [ant: {disagree}]\n";
  // A synonym wrapped at its hyphen is one link word.
  EXPECT_EQ(convert(DictdShape::WordNet, "tally", {text}),
            "@tally\n* noun\n- a score in baseball\n=$the Yankees scored 3 runs\n"
            "=$their first tally\n# syn: $run$, $tally$\n- a bill for an amount due\n* verb\n"
            "- be compatible\n# syn: $match$, $fit\u2011together$\n# ant: $disagree$");
}

TEST(DictdMarkup, PlainTextJoinsParagraphsAndKeepsLinks) {
  const std::string_view numbered =
      "hack\n\n\n    [very common]\n\n    1. n. Originally, a quick job\n    that works.\n\n"
      "    2. See {nethack}.\n\n    Constructions on this term abound: {neat hack}.\n";
  // A paragraph between senses keeps its link on a meaning line; the target is one link word.
  EXPECT_EQ(convert(DictdShape::Generic, "hack", {numbered}),
            "@hack\n[very common]\n- n. Originally, a quick job that works.\n- See $nethack$.\n"
            "- Constructions on this term abound: $neat\u00a0hack$.");
  // Without numbers each paragraph is a meaning; a line that would read as markup stays plain.
  EXPECT_EQ(convert(DictdShape::Generic, "foo", {"foo\n   first\n   part\n\n   second\n"}),
            "@foo\n- first part\n- second");
  EXPECT_EQ(convert(DictdShape::Generic, "x", {"something else\n"}), "@x\n- something else");
  // The Jargon File's second line: a word class, or an empty pronunciation; the body below.
  EXPECT_EQ(convert(DictdShape::Generic, "eat", {"eat\n imp.\n\n    Go {x}.\n"}),
            "@eat\n* imp.\n- Go $x$.");
  EXPECT_EQ(convert(DictdShape::Generic, "foo", {"foo\n //\n\n    Go {x}.\n"}), "@foo\n- Go $x$.");
  // An address at the left edge does not make the text after it laid out by hand.
  EXPECT_EQ(convert(DictdShape::Generic, "x", {"x\n\n   see\n\n{(ftp://h/p)}.\n\n   b {c}\n"}),
            "@x\n- see\n- \uFFF9(ftp://h/p)\uFFFB.\n- b $c$");
  // A target with other delimiters goes between link target marks; the source's own go.
  EXPECT_EQ(convert(DictdShape::Generic, "x", {"x\n   see {OS/2} or {a \"b\"}\uFFFB.\n"}),
            "@x\n- see \uFFF9OS/2\uFFFB or \uFFF9a &quot;b&quot;\uFFFB.");
}

TEST(DictdMarkup, EveryCharacterAndLineOfThePlainTextIsKept) {
  // A word class alone under the headword; text in angle brackets, "$", "+" and "&" as
  // character references; text indented deeper keeps its lines, blanks and braces.
  const std::string_view text =
      "fork bomb\n n.\n\n   <programming> Costs $3 + {C++} & {AT&T}:\n\n"
      "    main() {for(;;)fork();}\n      x  =  1;\n\n   See {MS-DOS}.\n";
  EXPECT_EQ(convert(DictdShape::Generic, "fork bomb", {text}),
            "@fork bomb\n* n.\n"
            "- &lt;programming&gt; Costs &#36;3 + \uFFF9C++\uFFFB &amp; \uFFF9AT&amp;T\uFFFB:\n"
            "\u00a0main() {for(;;)fork();}\n"
            "\u00a0\u00a0\u00a0x\u00a0\u00a0=\u00a0\u00a01;\n"
            "- See $MS\u2011DOS$.");
  // FreeDict: each line its own; quoted examples with their translations, synonym lists.
  const std::string_view haus =
      "Haus /ha\u028as/ <neut, n, sg>\nhouse <n>\n      \"ein Haus bauen\"  - build a house\n"
      "   Synonyms: {Einrichtung}, {Zuhause}\n";
  EXPECT_EQ(convert(DictdShape::FreeDict, "Haus", {haus}),
            "@Haus|ha\u028as|\n* neut, n, sg\n- house &lt;n&gt;\n=$ein Haus bauen+build a house\n"
            "# Synonyms: $Einrichtung$, $Zuhause$");
  // A second text with its own pronunciation keeps it.
  EXPECT_EQ(convert(DictdShape::FreeDict, "Haus", {"Haus /a/\nhouse\n", "Haus /b/\nhome\n"}),
            "@Haus|a|\n- house\n\n/b/\n- home");
}

}  // namespace
}  // namespace lexora::importers
