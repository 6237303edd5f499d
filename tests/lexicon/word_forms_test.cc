// Base forms through a Hunspell dictionary made in the test, and the choice of a Hunspell
// dictionary for a language.

#include <gtest/gtest.h>

#include "lexicon/hunspell_files.h"
#include "lexicon/word_forms.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/small_hunspell.h"

namespace lexora {
namespace {

using test::ScratchDir;

class WordFormsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::writeSmallHunspell(dir_);
    auto files = hunspellForLanguage("en", availableHunspellDictionaries({dir_.path()}));
    ASSERT_TRUE(files);
    forms_ = WordForms::open(*files);
    ASSERT_TRUE(forms_);
  }
  ScratchDir dir_;
  std::unique_ptr<WordForms> forms_;
};

TEST_F(WordFormsTest, InflectedFormsGiveTheirBaseForms) {
  EXPECT_EQ(forms_->baseForms(u"running"), std::vector<std::u16string>{u"run"});
  EXPECT_EQ(forms_->baseForms(u"studies"), std::vector<std::u16string>{u"study"});
  EXPECT_EQ(forms_->baseForms(u"houses"), std::vector<std::u16string>{u"house"});
  EXPECT_EQ(forms_->baseForms(u"better"), std::vector<std::u16string>{u"good"});
}

TEST_F(WordFormsTest, BaseWordsAndUnknownWordsGiveNothing) {
  EXPECT_TRUE(forms_->baseForms(u"run").empty());  // the word itself is no base form
  EXPECT_TRUE(forms_->baseForms(u"qwzx").empty());
  EXPECT_TRUE(forms_->baseForms(u"").empty());
  EXPECT_TRUE(forms_->baseForms(std::u16string(500, u'a')).empty());
  EXPECT_TRUE(forms_->knows(u"walks"));
  EXPECT_FALSE(forms_->knows(u"walkz"));
}

TEST(WordFormsOpen, MissingFilesGiveNoWordForms) {
  ScratchDir dir;
  EXPECT_EQ(WordForms::open(HunspellFiles{"xx", dir.file("xx.aff"), dir.file("xx.dic")}), nullptr);
}

TEST(HunspellFiles, ALanguageFindsItsDictionary) {
  ScratchDir first;
  ScratchDir second;
  for (const char* name : {"en_GB", "en_US", "fr_FR", "de_AT"})
    test::writeSmallHunspell(first, name);
  test::writeSmallHunspell(second, "en_US");
  second.write("pt_BR.aff", "SET UTF-8\n");  // no .dic: not a dictionary
  const auto available = availableHunspellDictionaries({first.path(), second.path()});
  ASSERT_EQ(available.size(), 4u);
  EXPECT_EQ(available[2].aff, first.file("en_US.aff"));  // the first folder wins

  const auto name = [&](const char* language) {
    auto files = hunspellForLanguage(language, available);
    return files ? files->name : std::string("-");
  };
  EXPECT_EQ(name("en"), "en_US");
  EXPECT_EQ(name("en-gb"), "en_GB");
  EXPECT_EQ(name("fr"), "fr_FR");
  EXPECT_EQ(name("fr_CA"), "fr_FR");  // no such region: the language's own
  EXPECT_EQ(name("de"), "de_AT");
  EXPECT_EQ(name("pt"), "-");
  EXPECT_EQ(name("none"), "-");
  EXPECT_EQ(name(""), "-");
}

TEST(HunspellFiles, LanguageTagsAreNormalised) {
  EXPECT_EQ(normaliseLanguageTag("EN-us"), "en_US");
  EXPECT_EQ(normaliseLanguageTag("fr"), "fr");
  EXPECT_EQ(normaliseLanguageTag(""), "");
  EXPECT_EQ(normaliseLanguageTag("en_"), "");
  EXPECT_EQ(normaliseLanguageTag("_US"), "");
  EXPECT_EQ(normaliseLanguageTag("en_US_x"), "");
  EXPECT_EQ(normaliseLanguageTag("../etc"), "");
}

TEST(HunspellFiles, EachLanguageNamesItsDebianPackage) {
  EXPECT_EQ(hunspellPackage("fr_FR"), "hunspell-fr");
  EXPECT_EQ(hunspellPackage("en"), "hunspell-en-us");
  EXPECT_EQ(hunspellPackage("EN-gb"), "hunspell-en-gb");
  EXPECT_EQ(hunspellPackage("nb"), "hunspell-no");
  EXPECT_EQ(hunspellPackage("fi"), "");  // Debian has none
  EXPECT_EQ(hunspellPackage("x/y"), "");
}

}  // namespace
}  // namespace lexora
