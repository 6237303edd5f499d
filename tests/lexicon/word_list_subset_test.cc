// Word forms loaded for one word from part of a Hunspell word list answer for that word exactly
// as the whole dictionary does.

#include <gtest/gtest.h>

#include "lexicon/hunspell_files.h"
#include "lexicon/word_forms.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/small_hunspell.h"

namespace lexora {
namespace {

// Each installed dictionary against itself, over forms, misspellings, case, compounds, hyphens,
// numbers, the sharp s and apostrophes (some of which the files convert, so the whole serves).
TEST(WordListSubset, AnswersForItsWordAsTheWholeDictionary) {
  const std::vector<std::pair<std::string, std::vector<std::u16string>>> cases = {
      {"en_US", {u"running",     u"runing",
                 u"studies",     u"Unhappiness",
                 u"UNHAPPINESS", u"better",
                 u"went",        u"1st",
                 u"22nd",        u"113th",
                 u"don't",       u"don\u2019t",
                 u"O'Brien",     u"NASA",
                 u"nasa",        u"Paris's",
                 u"well-known",  u"mother-in-law",
                 u"re-enter",    u"na\u00efve",
                 u"caf\u00e9s",  u"misunderstandings",
                 u"a",           u"I",
                 u"zzzq"}},
      {"de_DE",
       {u"H\u00e4user", u"Stra\u00dfe", u"STRASSE", u"Strasse", u"Schifffahrt", u"Haust\u00fcr",
        u"Kinderg\u00e4rten", u"Donaudampfschifffahrtsgesellschaft", u"lief", u"B\u00fccher",
        u"M\u00fcller-L\u00fcdenscheidt", u"zzzq"}},
      {"fr",
       {u"maisons", u"\u00e9taient", u"l'homme", u"l\u2019homme", u"aujourd'hui", u"chevaux",
        u"grands-m\u00e8res", u"\u0152UVRE", u"\u00c9L\u00c8VE", u"mangeassions", u"zzzq"}},
  };
  const std::vector<HunspellFiles> available = availableHunspellDictionaries();
  int compared = 0;
  for (const auto& [name, words] : cases) {
    const auto files = hunspellForLanguage(name, available);
    if (!files || files->name != name) continue;
    const auto whole = WordForms::open(*files);
    ASSERT_TRUE(whole);
    bool partial = false;
    for (const std::u16string& word : words) {
      const auto part = WordForms::openForWord(*files, word);
      ASSERT_TRUE(part);
      partial = partial || !part->isWhole();
      EXPECT_TRUE(part->covers(word));
      EXPECT_EQ(part->knows(word), whole->knows(word)) << name << " " << word.size();
      EXPECT_EQ(part->baseForms(word), whole->baseForms(word)) << name << " " << word.size();
    }
    EXPECT_TRUE(partial) << name;
    ++compared;
  }
  if (compared == 0) GTEST_SKIP() << "no Hunspell dictionaries installed";
}

TEST(WordListSubset, FeaturesThatReachOtherStemsLoadTheWholeList) {
  test::ScratchDir dir;
  test::writeSmallHunspell(dir);
  const auto files = hunspellForLanguage("en", availableHunspellDictionaries({dir.path()}));
  ASSERT_TRUE(files);
  const auto part = WordForms::openForWord(*files, u"running");
  ASSERT_TRUE(part);
  EXPECT_FALSE(part->isWhole());
  EXPECT_FALSE(part->covers(u"studies"));
  EXPECT_EQ(part->baseForms(u"running"), std::vector<std::u16string>{u"run"});

  dir.write("en_US.aff", dir.read("en_US.aff") + "IGNORE '\n");
  EXPECT_TRUE(WordForms::openForWord(*files, u"running")->isWhole());
}

}  // namespace
}  // namespace lexora
