// Spelling suggestions: ranking, the edit kinds, folding, agreement with a plain distance
// computation over every word, and the index file.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <random>
#include <set>

#include "engine/collation.h"
#include "engine/dictionary.h"
#include "engine/dictionary_builder.h"
#include "lexicon/suggestion_index.h"
#include "lexicon/word_folding.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/status_assertions.h"

namespace lexora {
namespace {

std::vector<std::u16string> headwords(const std::vector<Suggestion>& suggestions) {
  std::vector<std::u16string> out;
  for (const Suggestion& s : suggestions) out.push_back(s.headword);
  return out;
}

// Optimal string alignment distance, computed the plain way.
int distance(std::u16string_view a, std::u16string_view b) {
  std::vector<std::vector<int>> d(a.size() + 1, std::vector<int>(b.size() + 1));
  for (size_t i = 0; i <= a.size(); ++i) d[i][0] = static_cast<int>(i);
  for (size_t j = 0; j <= b.size(); ++j) d[0][j] = static_cast<int>(j);
  for (size_t i = 1; i <= a.size(); ++i) {
    for (size_t j = 1; j <= b.size(); ++j) {
      d[i][j] = std::min(
          {d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1)});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
        d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
      }
    }
  }
  return d[a.size()][b.size()];
}

TEST(Suggestions, BestFirstAndAtMostEight) {
  const auto index = SuggestionIndex::fromWords(
      kLatin1, {u"ruling", u"running", u"run", u"ruing", u"pruning", u"tuning", u"ruining", u"rung",
                u"runny", u"rusting", u"zebra", u"runnings", u"raining"});
  const auto found = index->suggest(u"runing");
  ASSERT_EQ(found.size(), 8u);
  // One letter left out of a doubled pair comes first, then other one-edit words keeping the
  // first letter; two-edit words come last.
  EXPECT_EQ(found[0].headword, u"running");
  EXPECT_EQ(found[0].distance, 1);
  EXPECT_EQ(found[0].position, 1u);
  for (size_t i = 1; i < found.size(); ++i) EXPECT_LE(found[i - 1].distance, found[i].distance);
  const auto words = headwords(found);
  EXPECT_EQ(std::count(words.begin(), words.end(), u"zebra"), 0);
  EXPECT_EQ(headwords(index->suggest(u"runing", 2)),
            (std::vector<std::u16string>{u"running", u"ruining"}));
}

TEST(Suggestions, EveryKindOfEditAndFoldedCase) {
  const auto index = SuggestionIndex::fromWords(kLatin1, {u"The", u"house", u"Éclair", u"cat"});
  EXPECT_EQ(headwords(index->suggest(u"teh")), std::vector<std::u16string>{u"The"});     // swap
  EXPECT_EQ(headwords(index->suggest(u"hose")), std::vector<std::u16string>{u"house"});  // left out
  EXPECT_EQ(headwords(index->suggest(u"houuse")),
            std::vector<std::u16string>{u"house"});  // one more
  EXPECT_EQ(headwords(index->suggest(u"HOUZE")),
            std::vector<std::u16string>{u"house"});  // wrong one
  EXPECT_EQ(headwords(index->suggest(u"ÉCLAIRS")), std::vector<std::u16string>{u"Éclair"});
  // Short words allow one edit only; nothing near, nothing at all.
  EXPECT_TRUE(index->suggest(u"dgo").empty());
  EXPECT_TRUE(index->suggest(u"").empty());
  EXPECT_TRUE(index->suggest(std::u16string(200, u'a')).empty());
  EXPECT_TRUE(SuggestionIndex::fromWords(kLatin1, {})->suggest(u"house").empty());
}

TEST(Suggestions, CodeUnitOrderKeepsCase) {
  const auto index = SuggestionIndex::fromWords(99, {u"House"});
  EXPECT_EQ(index->suggest(u"house")[0].distance, 1);
  const auto vietnamese = SuggestionIndex::fromWords(kVietnamese, {u"Việt Nam"});
  EXPECT_EQ(vietnamese->suggest(u"VIỆT NAN")[0].distance, 1);
}

// The walk leaves out whole groups of words; it must find exactly the words a plain
// computation finds within the allowed distance.
TEST(Suggestions, FindsExactlyTheWordsWithinReach) {
  std::mt19937 random(5);
  std::set<std::u16string> unique;
  while (unique.size() < 3000) {
    std::u16string w;
    const size_t length = 1 + random() % 7;
    for (size_t k = 0; k < length; ++k) w += static_cast<char16_t>(u'a' + random() % 5);
    unique.insert(w);
  }
  const std::vector<std::u16string> words(unique.begin(), unique.end());
  const auto index = SuggestionIndex::fromWords(kLatin1, words);
  for (int q = 0; q < 200; ++q) {
    std::u16string query;
    const size_t length = 1 + random() % 8;
    for (size_t k = 0; k < length; ++k) query += static_cast<char16_t>(u'a' + random() % 6);
    const int reach = query.size() <= 4 ? 1 : 2;
    std::set<std::u16string> expected;
    for (const std::u16string& w : words) {
      if (distance(query, w) <= reach) expected.insert(w);
    }
    std::set<std::u16string> got;
    for (const Suggestion& s : index->suggest(query, 100000)) {
      got.insert(s.headword);
      EXPECT_EQ(s.distance, distance(query, s.headword)) << "query " << q;
    }
    EXPECT_EQ(got, expected) << "query " << q;
  }
}

TEST(WordFolding, FoldsAsTheOrderCompares) {
  const std::vector<std::u16string> words = {u"Éclair", u"éclair", u"eclair", u"ECLAIR",
                                             u"Zebra",  u"zebra",  u"ß",      u"Ёж",
                                             u"ёж",     u"ЕЖ",     u"a-b",    u"a b"};
  for (uint32_t collation : {0u, 1u, 2u, 7u}) {
    const WordFolding folding(collation);
    for (const auto& a : words) {
      for (const auto& b : words) {
        EXPECT_EQ(folding.fold(a) == folding.fold(b),
                  compareWords(collation, a, b, CompareForm::Full) == 0)
            << "collation " << collation;
      }
    }
  }
}

TEST(SuggestionIndexFile, KeptAndRefusedWhenStaleOrDamaged) {
  test::ScratchDir dir;
  DictionaryBuilder builder(kLatin1);
  for (const char16_t* w : {u"house", u"mouse", u"horse"}) builder.add(w, u"- x");
  ASSERT_OK(builder.finish(dir.file("d.pvm")));
  Dictionary d;
  ASSERT_OK(d.openDictionary(dir.file("d.pvm")));
  std::unique_ptr<SuggestionIndex> index;
  ASSERT_OK(SuggestionIndex::build(d, index));
  const FileStamp stamp = *dictionaryFileStamp(dir.file("d.pvm"));
  index->setStamp(stamp);
  ASSERT_TRUE(index->save(dir.file("d.suggest")));

  auto loaded = SuggestionIndex::load(dir.file("d.suggest"), stamp);
  ASSERT_TRUE(loaded);
  EXPECT_EQ(headwords(loaded->suggest(u"hous")), headwords(index->suggest(u"hous")));
  EXPECT_EQ(loaded->suggest(u"hors")[0].position, 0u);
  // A loaded index reads its file in place: a new file saved over it leaves it whole.
  ASSERT_TRUE(SuggestionIndex::fromWords(kLatin1, {u"zebra"})->save(dir.file("d.suggest")));
  EXPECT_EQ(headwords(loaded->suggest(u"hous")), headwords(index->suggest(u"hous")));
  ASSERT_TRUE(index->save(dir.file("d.suggest")));

  FileStamp other = stamp;
  other.sizes[0] += 1;
  EXPECT_EQ(SuggestionIndex::load(dir.file("d.suggest"), other), nullptr);
  EXPECT_EQ(SuggestionIndex::load(dir.file("missing"), stamp), nullptr);
  const std::string bytes = dir.read("d.suggest");
  for (size_t cut : {size_t{0}, size_t{5}, size_t{40}, bytes.size() - 1}) {
    dir.write("cut.suggest", bytes.substr(0, cut));
    EXPECT_EQ(SuggestionIndex::load(dir.file("cut.suggest"), stamp), nullptr) << cut;
  }
  std::string damaged = bytes;
  damaged[damaged.size() - 20] ^= 0x7f;  // inside the texts: still loads, nothing overruns
  dir.write("damaged.suggest", damaged);
  if (auto d2 = SuggestionIndex::load(dir.file("damaged.suggest"), stamp)) d2->suggest(u"hous");
  std::string offsets = bytes;
  offsets[8 + 4 + 48 + 24 + 4] = '\x7f';  // a count that does not fit the file's size
  dir.write("offsets.suggest", offsets);
  EXPECT_EQ(SuggestionIndex::load(dir.file("offsets.suggest"), stamp), nullptr);
}

// A file whose header fits but whose tables were damaged or forged: the index loads without
// reading them all, and whatever they say, it reads nothing outside the file and suggests only
// pieces of its own texts, each standing for a word of the dictionary.
TEST(SuggestionIndexFile, ForgedTablesGiveOddSuggestionsAtWorst) {
  const std::vector<std::u16string> words = {u"house",  u"mouse", u"horse", u"hose",
                                             u"houses", u"louse", u"café",  u"cafe"};
  test::ScratchDir dir;
  ASSERT_TRUE(SuggestionIndex::fromWords(kLatin1, words)->save(dir.file("i.suggest")));
  const std::string bytes = dir.read("i.suggest");
  // The 32-bit tables follow the 92-byte header (three of offsets, the positions, the orders);
  // the texts follow them.
  const size_t header = 92, values = 5 * words.size() + 3;
  std::u16string texts((bytes.size() - header - 4 * values) / 2, u' ');
  std::memcpy(texts.data(), bytes.data() + header + 4 * values, texts.size() * 2);
  const uint32_t forged[] = {0, 3, 7, 8, 9, 40, 0x7fffffff, 0xffffffff};
  std::mt19937 random(5);
  int loaded = 0;
  for (int trial = 0; trial < 100; ++trial) {
    std::string damaged = bytes;
    for (int k = 0; k < 6; ++k) {
      const uint32_t value = forged[random() % std::size(forged)];
      std::memcpy(&damaged[header + 4 * (random() % values)], &value, sizeof value);
    }
    dir.write("forged.suggest", damaged);
    const auto index = SuggestionIndex::load(dir.file("forged.suggest"), FileStamp{});
    if (!index) continue;
    ++loaded;
    for (const char16_t* typed : {u"hous", u"cafe", u"mose", u"houses"}) {
      for (const auto& found : {index->suggest(typed), index->variants(typed)}) {
        for (const Suggestion& s : found) {
          EXPECT_FALSE(s.headword.empty());
          EXPECT_NE(texts.find(s.headword), std::u16string::npos);
          EXPECT_LT(s.position, words.size());
        }
      }
    }
  }
  EXPECT_GT(loaded, 25);  // only the ends of the offsets are checked at load
}

}  // namespace
}  // namespace lexora
