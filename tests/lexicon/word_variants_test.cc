// The other ways a typed word may be written or inflected: loose keys and the index's
// variants, English regular endings, and irregular forms read from word lists.

#include <gtest/gtest.h>

#include "engine/collation.h"
#include "lexicon/file_stamp.h"
#include "lexicon/irregular_forms.h"
#include "lexicon/loose_key.h"
#include "lexicon/suffix_rules.h"
#include "lexicon/suggestion_index.h"
#include "tests/support/scratch_dir.h"

namespace lexora {
namespace {

std::vector<std::u16string> headwords(const std::vector<Suggestion>& suggestions) {
  std::vector<std::u16string> out;
  for (const Suggestion& s : suggestions) out.push_back(s.headword);
  return out;
}

bool contains(const std::vector<std::u16string>& words, std::u16string_view word) {
  return std::find(words.begin(), words.end(), word) != words.end();
}

TEST(LooseKey, SpellingVariantsMeetAndOtherWordsDoNot) {
  for (const auto& [a, b] : {std::pair{u"café", u"CAFE"},
                             {u"Häuser", u"hauser"},
                             {u"œil", u"OEIL"},
                             {u"Æsop", u"aesop"},
                             {u"Straße", u"strasse"},
                             {u"aujourd'hui", u"aujourd\u2019hui"},
                             {u"grand-mère", u"grand mere"},
                             {u"ёлка", u"Елка"},
                             {u"người", u"nguoi"},
                             {u"Đà Nẵng", u"da-nang"},
                             {u"cafe\u0301", u"café"}}) {
    EXPECT_EQ(looseKey(a), looseKey(b)) << std::string(a, a + 3);
  }
  for (const auto& [a, b] : {std::pair{u"йод", u"иод"}, {u"coin", u"coins"}, {u"ab", u"a.b"}}) {
    EXPECT_NE(looseKey(a), looseKey(b));
  }
  EXPECT_EQ(looseKey(u"' - '"), u"");
}

TEST(Variants, OneBinarySearchFindsEverySpellingClosestFirst) {
  const std::vector<std::u16string> words = {u"cafe-bar", u"café", u"résumé", u"resume",
                                             u"Resumé",   u"oeil", u"zebra"};
  const auto index = SuggestionIndex::fromWords(3, words);  // code-unit order: case kept
  EXPECT_EQ(headwords(index->variants(u"cafébar")), std::vector<std::u16string>{u"cafe-bar"});
  EXPECT_EQ(headwords(index->variants(u"œil")), std::vector<std::u16string>{u"oeil"});
  EXPECT_EQ(headwords(index->variants(u"Resume")),
            (std::vector<std::u16string>{u"resume", u"Resumé", u"résumé"}));
  EXPECT_EQ(index->variants(u"Resume")[0].position, 3u);
  EXPECT_TRUE(index->variants(u"zebras").empty());
  EXPECT_TRUE(index->variants(u"''").empty());

  // The keys are kept in the index file with the rest.
  test::ScratchDir dir;
  const std::string file = dir.file("i.suggest");
  ASSERT_TRUE(index->save(file));
  const auto loaded = SuggestionIndex::load(file, FileStamp{});
  ASSERT_TRUE(loaded);
  EXPECT_EQ(headwords(loaded->variants(u"CAFE")), std::vector<std::u16string>{u"café"});
}

TEST(SuffixRules, RegularEndingsGiveTheirStems) {
  for (const auto& [form, base] : {std::pair{u"running", u"run"},
                                   {u"stopped", u"stop"},
                                   {u"hoping", u"hope"},
                                   {u"studies", u"study"},
                                   {u"studied", u"study"},
                                   {u"boxes", u"box"},
                                   {u"writers", u"writer"},
                                   {u"bigger", u"big"},
                                   {u"nicest", u"nice"},
                                   {u"Churches", u"Church"},
                                   {u"firemen", u"fireman"}}) {
    EXPECT_TRUE(contains(englishSuffixBases(form), base)) << std::string(form, form + 4);
  }
  EXPECT_TRUE(englishSuffixBases(u"is").empty());  // no stem of one letter
  EXPECT_TRUE(englishSuffixBases(u"cat").empty());
}

TEST(IrregularForms, ReadFromTheListsOfAFolder) {
  test::ScratchDir dir;
  EXPECT_EQ(IrregularForms::open(dir.path()), nullptr);  // no lists
  dir.write("verb.exc", "went go\nwas be\nbroken_up break_up\n\n");
  dir.write("adj.exc", "better good well\n" + std::string(5000, 'x') + " y\n");
  dir.write("adv.exc", "better well\n");
  const auto forms = IrregularForms::open(dir.path());
  ASSERT_NE(forms, nullptr);
  EXPECT_EQ(forms->baseForms(u"Went"), std::vector<std::u16string>{u"go"});
  EXPECT_EQ(forms->baseForms(u"better"), (std::vector<std::u16string>{u"good", u"well"}));
  EXPECT_EQ(forms->baseForms(u"broken up"), std::vector<std::u16string>{u"break up"});
  EXPECT_TRUE(forms->baseForms(u"go").empty());
  EXPECT_EQ(forms->size(), 4u);  // the overlong line is skipped
}

}  // namespace
}  // namespace lexora
