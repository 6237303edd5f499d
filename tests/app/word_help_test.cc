// Lookups that miss: base forms through the dictionary's language, suggestions from an index
// kept in a folder and built again when the dictionary changes, the language setting and its
// guess, and what the page gains.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "app/dictionary_language.h"
#include "app/link_lookup.h"
#include "app/lookup_answer.h"
#include "app/lookup_page.h"
#include "app/registry_key.h"
#include "app/word_help.h"
#include "engine/collation.h"
#include "engine/dictionary.h"
#include "engine/dictionary_builder.h"
#include "render/entry_renderer.h"
#include "tests/support/registry_memory.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/small_hunspell.h"
#include "tests/support/status_assertions.h"

namespace lexora {
namespace {

namespace fs = std::filesystem;

class WordHelpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::writeSmallHunspell(hunspell_);
    path_ = build(u"English words", {u"good", u"house", u"ruling", u"run", u"Running", u"study"});
    ASSERT_OK(dictionary_.openDictionary(path_));
    WordHelp::Places places{
        [this] { return &key_; }, indexes_.path() + "/index", {hunspell_.path()}};
    help_ = std::make_unique<WordHelp>(places);
  }

  std::string build(std::u16string title, std::vector<std::u16string> words,
                    const std::string& name = "d.pvm") {
    DictionaryBuilder builder(kLatin1);
    builder.setTitle(title);
    for (const std::u16string& w : words) builder.add(w, u"@" + w + u"\r\n- meaning of " + w);
    EXPECT_OK(builder.finish(dir_.file(name)));
    return dir_.file(name);
  }

  size_t indexFiles() const {
    std::error_code ignored;
    size_t n = 0;
    for (fs::directory_iterator it(indexes_.path() + "/index", ignored), end; !ignored && it != end;
         it.increment(ignored)) {
      ++n;
    }
    return n;
  }

  test::ScratchDir dir_;
  test::ScratchDir hunspell_;
  test::ScratchDir indexes_;
  RegistryKey key_{std::make_shared<MemoryRegistry>(), kLocalMachine, u"Software\\Test", true};
  std::string path_;
  Dictionary dictionary_;
  std::unique_ptr<WordHelp> help_;
};

TEST_F(WordHelpTest, AnExactMatchIsShownAsBeforeAndCostsNothingMore) {
  const LookupAnswer answer = answerLookup(dictionary_, u"House", false, help_.get());
  ASSERT_TRUE(answer.searched);
  EXPECT_EQ(answer.sign, 0);
  EXPECT_EQ(answer.shown, 1u);
  EXPECT_EQ(answer.historyWord, u"House");
  EXPECT_TRUE(answer.formOf.empty());
  EXPECT_TRUE(answer.suggestions.empty());
  EXPECT_TRUE(pageAdditions(answer).empty());
  EXPECT_EQ(indexFiles(), 0u);                                 // no suggestion index was built
  EXPECT_TRUE(storedDictionaryLanguage(key_, path_).empty());  // nor a language guessed
}

TEST_F(WordHelpTest, ABaseFormIsShownInsteadOfTheNearestHeadword) {
  for (const auto& [typed, base, position] :
       {std::tuple{u"studies", u"study", 5u}, std::tuple{u"houses", u"house", 1u},
        std::tuple{u"better", u"good", 0u}}) {
    const LookupAnswer answer = answerLookup(dictionary_, typed, true, help_.get());
    EXPECT_NE(answer.sign, 0);
    EXPECT_EQ(answer.shown, position) << std::string(typed, typed + 3);
    EXPECT_EQ(answer.formOf, typed);
    EXPECT_EQ(answer.baseForm, base);
    EXPECT_EQ(answer.historyWord, base);  // the history records what was shown
    EXPECT_TRUE(answer.suggestions.empty());
  }
  EXPECT_EQ(storedDictionaryLanguage(key_, path_), "en");  // guessed from the title, kept
}

TEST_F(WordHelpTest, AMissWithoutABaseFormGetsSuggestions) {
  LookupAnswer answer = answerLookup(dictionary_, u"runing", false, help_.get());
  EXPECT_EQ(answer.shown, answer.listPosition);  // the nearest entry, as before
  EXPECT_EQ(answer.historyWord, u"runing");
  EXPECT_TRUE(answer.formOf.empty());
  ASSERT_GE(answer.suggestions.size(), 2u);
  EXPECT_EQ(answer.suggestions[0], u"Running");  // as the dictionary spells it
  EXPECT_EQ(answer.suggestions[1], u"ruling");
  EXPECT_EQ(indexFiles(), 1u);

  answer = answerLookup(dictionary_, u"runing", true, help_.get());  // Strict Compare
  EXPECT_FALSE(answer.shown);
  EXPECT_FALSE(answer.suggestions.empty());

  answer = answerLookup(dictionary_, u"runing", false, nullptr);  // no help: as before
  EXPECT_EQ(answer.shown, answer.listPosition);
  EXPECT_TRUE(answer.suggestions.empty());
}

TEST_F(WordHelpTest, TheIndexFollowsChangesToTheDictionary) {
  EXPECT_TRUE(help_->suggestions(dictionary_, u"hoarse").size() == 1);
  ASSERT_OK(dictionary_.addEntry(u"horse", u"- an animal"));
  const auto found = help_->suggestions(dictionary_, u"hoarse");
  EXPECT_EQ(found, (std::vector<std::u16string>{u"horse", u"house"}));
  // A second helper (another run) reads the kept index of the changed files.
  WordHelp again(WordHelp::Places{nullptr, indexes_.path() + "/index", {hunspell_.path()}});
  EXPECT_EQ(again.suggestions(dictionary_, u"hoarse"), found);
  EXPECT_EQ(indexFiles(), 1u);
}

TEST_F(WordHelpTest, NoHunspellDictionaryForTheLanguageChangesNothing) {
  ASSERT_TRUE(storeDictionaryLanguage(key_, path_, "fr"));
  LookupAnswer answer = answerLookup(dictionary_, u"studies", false, help_.get());
  EXPECT_TRUE(answer.formOf.empty());
  EXPECT_EQ(answer.shown, answer.listPosition);
  ASSERT_TRUE(storeDictionaryLanguage(key_, path_, "none"));
  EXPECT_TRUE(answerLookup(dictionary_, u"studies", false, help_.get()).formOf.empty());
  help_->setLanguageOverride("en_US");  // the command line's choice wins
  EXPECT_EQ(answerLookup(dictionary_, u"studies", false, help_.get()).baseForm, u"study");
}

TEST_F(WordHelpTest, TheLanguageIsGuessedFromTitleOrHeadwords) {
  EXPECT_EQ(languageNamedInTitle(u"English–Vietnamese"), "en");
  EXPECT_EQ(languageNamedInTitle(u"Từ điển Việt - Anh"), "vi");
  EXPECT_EQ(languageNamedInTitle(u"The Collaborative International Dictionary of English"), "en");
  EXPECT_EQ(languageNamedInTitle(u"Dictionnaire Français-Allemand"), "fr");
  EXPECT_EQ(languageNamedInTitle(u"Englishmen"), "");
  EXPECT_EQ(languageNamedInTitle(u""), "");

  const std::vector<HunspellFiles> available = availableHunspellDictionaries({hunspell_.path()});
  const auto guess = [&](std::vector<std::u16string> words) {
    Dictionary d;
    EXPECT_OK(d.openDictionary(build(u"", std::move(words), "g.pvm")));
    return guessDictionaryLanguage(d, available);
  };
  EXPECT_EQ(guess({u"хлеб", u"дом", u"вода"}), "ru");
  EXPECT_EQ(guess({u"nhà", u"nước", u"bánh mì", u"xe"}), "vi");
  EXPECT_EQ(guess({u"house", u"walks", u"study", u"xyzzy"}), "en_US");
  EXPECT_EQ(guess({u"xyzzy", u"plugh", u"house"}), "none");
  EXPECT_EQ(guess({}), "none");
}

TEST_F(WordHelpTest, TheLanguageSettingIsKeptPerDictionary) {
  EXPECT_EQ(dictionaryLanguage(key_, dictionary_, {}), "en");
  ASSERT_TRUE(storeDictionaryLanguage(key_, path_, "de"));
  EXPECT_EQ(dictionaryLanguage(key_, dictionary_, {}), "de");
  // The same file named another way shares the setting.
  EXPECT_EQ(storedDictionaryLanguage(key_, dir_.path() + "/./d.pvm"), "de");
  ASSERT_TRUE(storeDictionaryLanguage(key_, path_, ""));  // forget: guessed again
  EXPECT_TRUE(storedDictionaryLanguage(key_, path_).empty());
  EXPECT_EQ(languageFromField(" EN-gb "), "en_GB");
  EXPECT_EQ(languageFromField(""), "");
  EXPECT_EQ(languageFromField("none"), "none");
  EXPECT_FALSE(languageFromField("en/../x"));
}

TEST_F(WordHelpTest, ATappedWordOnlyTheOtherDictionaryHoldsIsShownFromThereWithANote) {
  Dictionary other;
  ASSERT_OK(
      other.openDictionary(build(u"Vietnamese words", {u"c\u00f3", u"n\u01b0\u1edbc"}, "v.pvm")));
  const LinkTarget english{&dictionary_, 0};
  const LinkTarget vietnamese{&other, 1};

  const LinkChoice moved = chooseLinkDictionary(english, vietnamese, u"c\u00f3", help_.get());
  EXPECT_EQ(moved.dictionary, 1);
  EXPECT_TRUE(moved.fromOther);
  EXPECT_EQ(moved.note,
            u"\u201cc\u00f3\u201d is not in English words; shown from Vietnamese words.");
  PageAdditions additions;
  additions.shownFrom = moved.note;
  const std::u16string page = addToPage(u"<html><body>x</body></html>", additions);
  EXPECT_EQ(page,
            u"<html><body><p><i>\u201cc\u00f3\u201d is not in English words; shown from "
            u"Vietnamese words.</i></p>x</body></html>");

  // Held where it was looked for (as a headword or by a base form), or nowhere: it stays.
  for (std::u16string_view word : {u"run", u"studies", u"zzz"}) {
    const LinkChoice kept = chooseLinkDictionary(english, vietnamese, word, help_.get());
    EXPECT_EQ(kept.dictionary, 0);
    EXPECT_FALSE(kept.fromOther);
  }
}

TEST(LookupPage, AdditionsGoAroundTheEntryAndExactPagesStayAsTheyAre) {
  const DisplaySettings display;
  const std::u16string page = renderEntryPage(u"@run\r\n- to move", RenderOptions{display, u"/p/"});
  EXPECT_EQ(addToPage(page, PageAdditions{}), page);

  const std::u16string noted = addToPage(page, PageAdditions{u"running", u"run", {}});
  EXPECT_EQ(noted.find(u"<html><body BGCOLOR=\"#ffffff\"><p><i>running</i> \u2192 <b>run</b></p>"),
            0u);
  EXPECT_EQ(noted.substr(noted.size() - page.size() + 30), page.substr(30));

  const std::u16string linked = addToPage(page, PageAdditions{{}, {}, {u"ruling", u"a<b"}});
  EXPECT_NE(linked.find(u"<p>Did you mean: <a href=\"ruling\">ruling</a>, "
                        u"<a href=\"a&lt;b\">a&lt;b</a></p></body></html>"),
            std::u16string::npos);
  EXPECT_EQ(suggestionsPage({u"ruling"}, display),
            u"<html><body BGCOLOR=\"#ffffff\"><p>Did you mean: <a href=\"ruling\">ruling</a></p>"
            u"</body></html>");
  EXPECT_EQ(formNote(u"running", u"run"), u"running \u2192 run");
  EXPECT_EQ(suggestionLine({u"running", u"ruling"}), u"Did you mean: running, ruling");

  std::vector<std::u16string> fragments = {u"<b>run</b>"};
  addToFragments(fragments, PageAdditions{u"running", u"run", {}});
  EXPECT_EQ(fragments.size(), 2u);
  EXPECT_EQ(fragments[1], u"<b>run</b>");
}

}  // namespace
}  // namespace lexora
