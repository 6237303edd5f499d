// Full-text search of the meanings: folding as the order folds, regular expressions, the
// matching line, and stopping early.

#include <gtest/gtest.h>

#include <filesystem>

#include "engine/collation.h"
#include "engine/dictionary.h"
#include "engine/dictionary_builder.h"
#include "lexicon/meaning_search.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/status_assertions.h"

namespace lexora {
namespace {

class MeaningSearchTest : public ::testing::Test {
 protected:
  void build(uint32_t collation) {
    DictionaryBuilder builder(collation);
    builder.add(u"walk", u"@walk\r\n- to move slowly");
    builder.add(u"run", u"@run\r\n* verb\r\n- to move Swiftly on foot\r\n=$run home+chạy về nhà");
    builder.add(u"eclair", u"@eclair\r\n- a long cake; see ÉCLAIR");
    builder.add(u"empty", u"");
    builder.add(u"price", u"@price\r\n- roughly &#36;3,000 &lt;US&gt;; see $gold\u00a0coin$");
    builder.add(u"lang", u"@lang\r\n- see \uFFF9C++ 2\uFFFB");
    ASSERT_OK(builder.finish(dir_.file("d.pvm")));
    ASSERT_OK(dictionary_.openDictionary(dir_.file("d.pvm")));
  }

  std::vector<MeaningMatch> search(std::u16string_view text, bool regex = false) {
    std::unique_ptr<MeaningSearch> s;
    EXPECT_OK(MeaningSearch::create(text, regex, s));
    std::vector<MeaningMatch> out;
    if (!s) return out;
    EXPECT_OK(s->run(dictionary_, [&](const MeaningMatch& m) { return out.push_back(m), true; }));
    return out;
  }

  test::ScratchDir dir_;
  Dictionary dictionary_;
};

TEST_F(MeaningSearchTest, TextIsFoldedAsTheOrderFoldsIt) {
  build(kLatin1);
  auto found = search(u"SWIFTLY");
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].headword, u"run");
  EXPECT_EQ(found[0].line, u"- to move Swiftly on foot");
  EXPECT_EQ(found[0].lineNumber, 2u);
  EXPECT_EQ(search(u"éclair").size(), 1u);  // case folded, accent kept
  // Reported in the order of the headwords, whatever order the meanings lie in.
  const auto both = search(u"to move");
  ASSERT_EQ(both.size(), 2u);
  EXPECT_EQ(both[0].headword, u"run");
  EXPECT_EQ(both[1].headword, u"walk");
  EXPECT_EQ(search(u"chạy về").at(0).line, u"=$run home+chạy về nhà");
  EXPECT_TRUE(search(u"flying").empty());
}

TEST_F(MeaningSearchTest, SearchesTheTextAsThePageShowsIt) {
  build(kLatin1);
  for (std::u16string_view text : {u"$3,000 <us>", u"gold coin"}) {
    const auto found = search(text);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].line, u"- roughly &#36;3,000 &lt;US&gt;; see $gold\u00a0coin$");
  }
  EXPECT_EQ(search(u"\\$3,0+ <US>", true).size(), 1u);
  EXPECT_EQ(search(u"see C++ 2").size(), 1u);  // a link target without its marks
  EXPECT_TRUE(search(u"&#36;").empty());
}

TEST_F(MeaningSearchTest, PlainOrderHeedsCase) {
  build(7);
  EXPECT_TRUE(search(u"swiftly").empty());
  EXPECT_EQ(search(u"Swiftly").size(), 1u);
  EXPECT_TRUE(search(u"swift(ly)?", true).empty());
}

TEST_F(MeaningSearchTest, RegularExpressionsMatchLineByLine) {
  build(kLatin1);
  auto found = search(u"^- to move (swift|slow)ly", true);
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[1].headword, u"walk");
  EXPECT_EQ(found[1].line, u"- to move slowly");
  EXPECT_EQ(search(u"cake; see É", true).at(0).line, u"- a long cake; see ÉCLAIR");
  std::unique_ptr<MeaningSearch> s;
  const Status unclosed = MeaningSearch::create(u"(unclosed", true, s);
  EXPECT_EQ(unclosed.code(), Status::Code::InvalidArgument);
  EXPECT_NE(unclosed.message().find("regular expression"), std::string::npos);
  EXPECT_EQ(s, nullptr);
  EXPECT_FALSE(MeaningSearch::create(u"", false, s).isOk());
}

TEST_F(MeaningSearchTest, StopsWhenAskedAndFindsNothingInAClosedDictionary) {
  build(kLatin1);
  std::unique_ptr<MeaningSearch> s;
  ASSERT_OK(MeaningSearch::create(u"to", false, s));
  int calls = 0;
  EXPECT_OK(s->run(dictionary_, [&](const MeaningMatch&) { return ++calls < 1; }));
  EXPECT_EQ(calls, 1);
  Dictionary closed;
  calls = 0;
  EXPECT_OK(s->run(closed, [&](const MeaningMatch&) { return ++calls, true; }));
  EXPECT_EQ(calls, 0);
}

TEST_F(MeaningSearchTest, IndexesOnFirstUseAndFindsAnEditAtOnce) {
  build(kLatin1);
  EXPECT_EQ(search(u"slowly").size(), 1u);
  EXPECT_EQ(dictionary_.fullTextState(), Dictionary::FullTextState::Current);
  ASSERT_OK(dictionary_.addEntry(u"crawl", u"@crawl\r\n- to move slowly on hands"));
  const auto found = search(u"move slowly");
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0].headword, u"crawl");
  EXPECT_EQ(found[0].line, u"- to move slowly on hands");
}

TEST_F(MeaningSearchTest, WhenNoIndexCanBeBuiltEveryMeaningIsRead) {
  build(kLatin1);
  std::filesystem::create_directories(dir_.file("d.pfx/in-the-way"));
  EXPECT_EQ(search(u"swiftly").size(), 1u);
  EXPECT_EQ(search(u"ove swift").size(), 1u);  // the scan finds a word's middle too
  EXPECT_EQ(dictionary_.fullTextState(), Dictionary::FullTextState::Stale);
}

}  // namespace
}  // namespace lexora
