// How a miss is answered: another spelling, a base form from the word lists, Hunspell or the
// regular endings, a part of a phrase, or the nearest headword, and the note that says which.

#include <gtest/gtest.h>

#include <memory>

#include "app/lookup_answer.h"
#include "app/lookup_page.h"
#include "app/word_help.h"
#include "engine/collation.h"
#include "engine/dictionary.h"
#include "engine/dictionary_builder.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/small_hunspell.h"
#include "tests/support/status_assertions.h"

namespace lexora {
namespace {

class LookupMatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::writeSmallHunspell(hunspell_);
    lists_.write("verb.exc", "went go\n");
    lists_.write("noun.exc", "children child\n");
    DictionaryBuilder builder(kLatin1);
    builder.setTitle(u"English words");
    for (const char16_t* w : {u"bet", u"café", u"child", u"go", u"good", u"make up", u"new", u"run",
                              u"Resumé", u"résumé", u"writ", u"writer"}) {
      builder.add(w, u"@" + std::u16string(w) + u"\r\n- meaning");
    }
    ASSERT_OK(builder.finish(dir_.file("d.pvm")));
    ASSERT_OK(dictionary_.openDictionary(dir_.file("d.pvm")));
    help_ = std::make_unique<WordHelp>(
        WordHelp::Places{nullptr, "", {hunspell_.path()}, lists_.path()});
  }

  LookupAnswer answer(std::u16string_view word, bool strict = false) {
    return answerLookup(dictionary_, word, strict, help_.get());
  }

  test::ScratchDir dir_;
  test::ScratchDir hunspell_;
  test::ScratchDir lists_;
  Dictionary dictionary_;
  std::unique_ptr<WordHelp> help_;
};

TEST_F(LookupMatchTest, EachWayOfFindingTheWordIsNamed) {
  for (const auto& [typed, match, shown] : {
           std::tuple{u"went", MatchKind::Form, u"go"},  // word list
           {u"children", MatchKind::Form, u"child"},     // word list
           {u"better", MatchKind::Form, u"good"},        // Hunspell beats the longer "bett"
           {u"runs", MatchKind::Form, u"run"},           // Hunspell
           {u"CAFE", MatchKind::Folded, u"café"},        // one other spelling
           {u"make up one's mind", MatchKind::PhrasePart, u"make up"},
           {u"new yorkers", MatchKind::PhrasePart, u"new"},
           {u"the running", MatchKind::PhrasePart, u"run"},  // word by word
       }) {
    const LookupAnswer a = answer(typed, true);
    ASSERT_TRUE(a.shown) << std::string(typed, typed + 4);
    EXPECT_EQ(a.match, match) << std::string(typed, typed + 4);
    EXPECT_EQ(a.baseForm, shown);
    EXPECT_EQ(a.formOf, typed);
    EXPECT_TRUE(a.suggestions.empty());
  }
  // Without Hunspell the regular endings still serve English; the longest headword wins.
  WordHelp plain(WordHelp::Places{nullptr, "", {}, lists_.path()});
  const LookupAnswer writers = answerLookup(dictionary_, u"writers", true, &plain);
  EXPECT_EQ(writers.match, MatchKind::Form);
  EXPECT_EQ(writers.baseForm, u"writer");
  EXPECT_EQ(answerLookup(dictionary_, u"went", true, &plain).baseForm, u"go");

  const LookupAnswer exact = answer(u"Writer");
  EXPECT_EQ(exact.match, MatchKind::Exact);
  EXPECT_TRUE(exact.formOf.empty());
}

TEST_F(LookupMatchTest, AHeadwordThatIsAFormNamesItsBaseCheaply) {
  EXPECT_EQ(help_->seeAlso(dictionary_, u"went")->headword, u"go");
  EXPECT_EQ(help_->seeAlso(dictionary_, u"Running")->headword, u"run");
  EXPECT_FALSE(help_->seeAlso(dictionary_, u"better"));   // "bet" is no form it has
  EXPECT_FALSE(help_->seeAlso(dictionary_, u"writers"));  // plain endings are too loose
  help_->setLanguageOverride("fr");
  EXPECT_FALSE(help_->seeAlso(dictionary_, u"went"));
}

TEST_F(LookupMatchTest, SeveralSpellingsComeFirstAmongTheSuggestions) {
  LookupAnswer a = answer(u"resume");
  EXPECT_EQ(a.match, MatchKind::Nearest);
  ASSERT_GE(a.suggestions.size(), 2u);
  EXPECT_EQ(a.suggestions[0], u"Resumé");
  EXPECT_EQ(a.suggestions[1], u"résumé");
  EXPECT_EQ(a.shown, a.listPosition);
  EXPECT_FALSE(a.nearest.empty());  // the note names the nearest headword

  a = answer(u"resume", true);  // Strict Compare: nothing shown, the suggestions stay
  EXPECT_FALSE(a.shown);
  EXPECT_EQ(a.suggestions[0], u"Resumé");
}

TEST_F(LookupMatchTest, TheNoteSaysHowTheEntryWasFound) {
  const auto note = [&](std::u16string_view typed) {
    const std::u16string page =
        addToPage(u"<html><body>x</body></html>", pageAdditions(answer(typed)));
    return page.substr(12, page.find(u"</p>") - 12);
  };
  EXPECT_EQ(note(u"cafe"), u"<p>Showing <b>café</b> for <i>cafe</i>");
  EXPECT_EQ(note(u"went"), u"<p><i>went</i> \u2192 <b>go</b>");
  EXPECT_EQ(note(u"xylophone"), u"<p>No entry for <i>xylophone</i>; nearest is <b>writer</b>");
  EXPECT_EQ(matchNote(MatchKind::Folded, u"nguoi", u"người"), u"Showing người for nguoi");
  EXPECT_EQ(std::string(matchName(MatchKind::PhrasePart)), "nearest");
}

}  // namespace
}  // namespace lexora
