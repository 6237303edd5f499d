#include "engine/collation.h"

#include <gtest/gtest.h>

#include <vector>

#include "engine/collation_tables.h"

namespace lexora {
namespace {

int full(uint32_t collation, std::u16string_view key, std::u16string_view word) {
  return compareWords(collation, key, word, CompareForm::Full);
}
int prefix(uint32_t collation, std::u16string_view key, std::u16string_view word) {
  return compareWords(collation, key, word, CompareForm::Prefix);
}

// Every neighbour pair of `words` must sort strictly ascending, both ways round.
void expectAscending(uint32_t collation, const std::vector<std::u16string>& words) {
  for (size_t i = 0; i + 1 < words.size(); ++i) {
    EXPECT_LT(full(collation, words[i], words[i + 1]), 0) << "at " << i;
    EXPECT_GT(full(collation, words[i + 1], words[i]), 0) << "at " << i;
  }
}

constexpr uint32_t kCodeUnit = 7;

// ---- Vietnamese ----

TEST(VietnameseKeyTest, CodesLettersAndPutsTheToneAfterTheSyllable) {
  EXPECT_EQ(vietnameseKey(u"ma"), u"maa");
  EXPECT_EQ(vietnameseKey(u"m\u00E0"), u"maa1");
  EXPECT_EQ(vietnameseKey(u"mai"), u"maai");
  EXPECT_EQ(vietnameseKey(u"vi\u1EC7t nam"), u"viebt5 naam");
  EXPECT_EQ(vietnameseKey(u"\u0110\u00E0-N\u1EB5ng"), u"dbaa1-nabng4");
  EXPECT_EQ(vietnameseKey(u"m\u00E0-b"), u"maa1-b");
  EXPECT_EQ(vietnameseKey(u"B\u1EA0C"), u"baac5");  // capitals outside the table are lowered
}

TEST(VietnameseKeyTest, WholeLetterTableInBothCases) {
  const char16_t* codes[] = {u"aa", u"ab", u"ac", u"ea", u"eb", u"i",  u"oa",
                             u"ob", u"oc", u"ua", u"ub", u"y",  u"da", u"db"};
  const char16_t lower[6][12] = {{0x0061, 0x0103, 0x00E2, 0x0065, 0x00EA, 0x0069, 0x006F, 0x00F4,
                                  0x01A1, 0x0075, 0x01B0, 0x0079},
                                 {0x00E0, 0x1EB1, 0x1EA7, 0x00E8, 0x1EC1, 0x00EC, 0x00F2, 0x1ED3,
                                  0x1EDD, 0x00F9, 0x1EEB, 0x1EF3},
                                 {0x00E1, 0x1EAF, 0x1EA5, 0x00E9, 0x1EBF, 0x00ED, 0x00F3, 0x1ED1,
                                  0x1EDB, 0x00FA, 0x1EE9, 0x00FD},
                                 {0x1EA3, 0x1EB3, 0x1EA9, 0x1EBB, 0x1EC3, 0x1EC9, 0x1ECF, 0x1ED5,
                                  0x1EDF, 0x1EE7, 0x1EED, 0x1EF7},
                                 {0x00E3, 0x1EB5, 0x1EAB, 0x1EBD, 0x1EC5, 0x0129, 0x00F5, 0x1ED7,
                                  0x1EE1, 0x0169, 0x1EEF, 0x1EF9},
                                 {0x1EA1, 0x1EB7, 0x1EAD, 0x1EB9, 0x1EC7, 0x1ECB, 0x1ECD, 0x1ED9,
                                  0x1EE3, 0x1EE5, 0x1EF1, 0x1EF5}};
  const char16_t upper[6][12] = {{0x0041, 0x0102, 0x00C2, 0x0045, 0x00CA, 0x0049, 0x004F, 0x00D4,
                                  0x01A0, 0x0055, 0x01AF, 0x0059},
                                 {0x00C0, 0x1EB0, 0x1EA6, 0x00C8, 0x1EC0, 0x00CC, 0x00D2, 0x1ED2,
                                  0x1EDC, 0x00D9, 0x1EEA, 0x1EF2},
                                 {0x00C1, 0x1EAE, 0x1EA4, 0x00C9, 0x1EBE, 0x00CD, 0x00D3, 0x1ED0,
                                  0x1EDA, 0x00DA, 0x1EE8, 0x00DD},
                                 {0x1EA2, 0x1EB2, 0x1EA8, 0x1EBA, 0x1EC2, 0x1EC8, 0x1ECE, 0x1ED4,
                                  0x1EDE, 0x1EE6, 0x1EEC, 0x1EF6},
                                 {0x00C3, 0x1EB4, 0x1EAA, 0x1EBC, 0x1EC4, 0x0128, 0x00D5, 0x1ED6,
                                  0x1EE0, 0x0168, 0x1EEE, 0x1EF8},
                                 {0x1EA0, 0x1EB6, 0x1EAC, 0x1EB8, 0x1EC6, 0x1ECA, 0x1ECC, 0x1ED8,
                                  0x1EE2, 0x1EE4, 0x1EF0, 0x1EF4}};
  for (int row = 0; row < 6; ++row) {
    for (int col = 0; col < 12; ++col) {
      std::u16string expected = codes[col];
      if (row != 0) expected += static_cast<char16_t>(u'0' + row);
      EXPECT_EQ(vietnameseKey(std::u16string(1, lower[row][col])), expected) << row << "," << col;
      EXPECT_EQ(vietnameseKey(std::u16string(1, upper[row][col])), expected) << row << "," << col;
    }
  }
  EXPECT_EQ(vietnameseKey(u"d\u0111D\u0110"), u"dadbdadb");
}

TEST(VietnameseCompareTest, TonesSortAfterTheToneless) {
  expectAscending(kVietnamese,
                  {u"ma", u"m\u00E0", u"m\u00E1", u"m\u1EA3", u"m\u00E3", u"m\u1EA1", u"mai"});
  expectAscending(kVietnamese, {u"da", u"d\u00E2u", u"\u0111a", u"e"});
  expectAscending(kVietnamese, {u"a b", u"a-b"});
}

TEST(VietnameseCompareTest, CapitalsCompareEqual) {
  EXPECT_EQ(full(kVietnamese, u"Vi\u1EC6t", u"vi\u1EC7t"), 0);
}

TEST(VietnameseCompareTest, PrefixFormWorksOnTheKeys) {
  EXPECT_EQ(prefix(kVietnamese, u"vi\u00EAt", u"vi\u1EC7t"), 0);
  EXPECT_NE(prefix(kVietnamese, u"vi\u1EC7", u"vi\u1EC7t"), 0);
  EXPECT_LT(full(kVietnamese, u"vi\u00EAt", u"vi\u1EC7t"), 0);
}

TEST(VietnameseCompareTest, KeysOfAnyLengthCompare) {
  // Far longer than any fixed scratch buffer of 765 units.
  std::u16string a(5000, u'\u1EC7');
  std::u16string b = a;
  EXPECT_EQ(full(kVietnamese, a, b), 0);
  b.back() = u'\u1EC5';
  EXPECT_GT(full(kVietnamese, a, b), 0);
  a += u'x';
  EXPECT_GT(full(kVietnamese, a, a.substr(0, 4000)), 0);
  const std::u16string toneless(4000, u'\u00EA');
  EXPECT_EQ(prefix(kVietnamese, toneless.substr(0, 3000), toneless), 0);
  std::u16string cyr(3000, u'\u0416');
  EXPECT_EQ(full(kCyrillic, cyr, std::u16string(3000, u'\u0436')), 0);
}

// ---- Latin1 ----

TEST(Latin1CompareTest, WeightTableValues) {
  // A few values straight from the table, and the count of distinct weights.
  EXPECT_EQ(kLatin1Weights[0x20], 63);
  EXPECT_EQ(kLatin1Weights[0x27], 60);
  EXPECT_EQ(kLatin1Weights[0x2D], 61);
  EXPECT_EQ(kLatin1Weights[0x61], 141);
  EXPECT_EQ(kLatin1Weights[0xAA], 142);
  EXPECT_EQ(kLatin1Weights[0xE1], 144);
  EXPECT_EQ(kLatin1Weights[0x7A], 255);
  EXPECT_EQ(kLatin1Weights[0xD7], 110);
  EXPECT_EQ(kLatin1Weights[0xDF], 228);
  EXPECT_EQ(kLatin1Weights[0xFF], 253);
  std::vector<bool> seen(256);
  int distinct = 0;
  for (int c = 0; c < 256; ++c) {
    const bool capital = (c >= 0x41 && c <= 0x5A) || (c >= 0xC0 && c <= 0xDE && c != 0xD7);
    if (capital) continue;
    EXPECT_FALSE(seen[kLatin1Weights[c]]) << c;
    seen[kLatin1Weights[c]] = true;
    ++distinct;
  }
  EXPECT_EQ(distinct, 200);
}

TEST(Latin1CompareTest, CaseFoldsAndAccentsFollowTheirLetter) {
  EXPECT_EQ(full(kLatin1, u"\u00C9clair", u"\u00E9clair"), 0);
  EXPECT_EQ(full(kLatin1, u"Z", u"z"), 0);
  expectAscending(kLatin1, {u"e", u"\u00E9", u"f"});
  expectAscending(kLatin1, {u"'", u"-", u" ", u"!", u"0", u"1", u"\u00B9", u"a", u"\u00AA",
                            u"\u00E1", u"\u00E0", u"b", u"t", u"\u00DE", u"u", u"\u00FF", u"z"});
}

TEST(Latin1CompareTest, EndsOfTextAndForms) {
  EXPECT_EQ(full(kLatin1, u"ab", u"abc"), -1);
  EXPECT_EQ(prefix(kLatin1, u"ab", u"abc"), 0);
  EXPECT_EQ(full(kLatin1, u"abc", u"ab"), 1);
  EXPECT_EQ(prefix(kLatin1, u"abc", u"ab"), 1);
  EXPECT_EQ(prefix(kLatin1, u"AB", u"abc"), 0);
}

TEST(Latin1CompareTest, UnitsFrom256CompareByNumber) {
  EXPECT_LT(full(kLatin1, u"a\u0100", u"a\u0101"), 0);
  EXPECT_GT(full(kLatin1, u"\u0100", u"z"), 0);
  EXPECT_LT(full(kLatin1, u"z", u"\u0100"), 0);
  EXPECT_LT(full(kLatin1, u"\u0100", u"\u0101"), 0);  // no lower-casing above 255
}

// ---- Cyrillic and CodeUnit ----

TEST(CyrillicCompareTest, RussianCapitalsFoldAndYoSortsLast) {
  EXPECT_EQ(full(kCyrillic, u"\u0401\u0436", u"\u0451\u0436"), 0);
  EXPECT_EQ(full(kCyrillic, u"\u0416", u"\u0436"), 0);
  expectAscending(kCyrillic, {u"\u0430", u"\u044F", u"\u0451"});
  EXPECT_NE(full(kCyrillic, u"A", u"a"), 0);            // Latin capitals stay
  EXPECT_NE(full(kCyrillic, u"\u0404", u"\u0454"), 0);  // other Cyrillic capitals stay
  EXPECT_EQ(prefix(kCyrillic, u"\u0416", u"\u0436\u0430"), 0);
}

TEST(CodeUnitCompareTest, PlainUnitOrder) {
  EXPECT_LT(full(kCodeUnit, u"B", u"a"), 0);
  EXPECT_LT(full(3, u"ab", u"abc"), 0);
  EXPECT_EQ(prefix(0xFFFFFFFF, u"ab", u"abc"), 0);
  EXPECT_GT(prefix(kCodeUnit, u"abd", u"abc"), 0);
  EXPECT_GT(full(kCodeUnit, u"\uFFFF", u"a"), 0);  // unsigned
}

// Texts end at a NUL in every order: comparing them is comparing what comes before it.
TEST(CompareWordsTest, ANulEndsEitherText) {
  const std::u16string texts[] = {u"",    std::u16string(u"\0", 1),   u"ab",
                                  u"abc", std::u16string(u"ab\0", 3), std::u16string(u"ab\0c", 4),
                                  u"AB",  std::u16string(u"a\0z", 3), u"b"};
  const auto cut = [](const std::u16string& t) { return t.substr(0, t.find(u'\0')); };
  for (const uint32_t collation :
       {uint32_t{kVietnamese}, uint32_t{kLatin1}, uint32_t{kCyrillic}, kCodeUnit}) {
    for (const std::u16string& key : texts) {
      for (const std::u16string& word : texts) {
        EXPECT_EQ(full(collation, key, word), full(collation, cut(key), cut(word)));
        EXPECT_EQ(prefix(collation, key, word), prefix(collation, cut(key), cut(word)));
      }
    }
  }
}

TEST(TowlowerUnitTest, SimpleMappingIndependentOfLocale) {
  EXPECT_EQ(towlowerUnit(u'A'), u'a');
  EXPECT_EQ(towlowerUnit(0x00C9), 0x00E9);
  EXPECT_EQ(towlowerUnit(0x0416), 0x0436);
  EXPECT_EQ(towlowerUnit(0x1EC6), 0x1EC7);
  EXPECT_EQ(towlowerUnit(0xD800), 0xD800);
  EXPECT_EQ(towlowerUnit(0xDFFF), 0xDFFF);
  EXPECT_EQ(towlowerUnit(u'1'), u'1');
}

}  // namespace
}  // namespace lexora
