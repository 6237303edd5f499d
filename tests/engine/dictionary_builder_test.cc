// The builder must leave exactly the files that create + addEntry one by one leave.

#include "engine/dictionary_builder.h"
#include "tests/support/status_assertions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "engine/collation.h"

#include "engine/dictionary.h"
#include "engine_test_support.h"

namespace lexora {
namespace {

using test::readFile;
using test::ScratchDir;

struct Input {
  std::u16string headword;
  std::u16string meaning;
};

std::u16string ascii(const std::string& s) { return std::u16string(s.begin(), s.end()); }

// Text of `bytes` UTF-8 bytes that compresses like real text, not like one repeated letter.
std::u16string filler(std::mt19937& random, size_t bytes) {
  static const char* const kWords[] = {"the ", "fruit ", "of ",   "a ",     "tree ", "river ",
                                       "- ",   "\r\n",   "=$go+", "stone ", "light "};
  std::string out;
  while (out.size() < bytes) out += kWords[random() % std::size(kWords)];
  out.resize(bytes);
  return ascii(out);
}

// A few hundred entries that cross block boundaries, meet an exactly full block with an empty
// meaning and with a non-empty one, and include every kind of refusal.
std::vector<Input> mixedEntries(uint32_t collation) {
  std::mt19937 random(7);
  std::vector<Input> in;
  // Exactly one full block: 30000 + 34867 bytes, then an empty meaning, then text that opens
  // block 1 at offset 0.
  in.push_back({u"alpha", filler(random, 30000)});
  in.push_back({u"beta", filler(random, 34867)});
  in.push_back({u"empty-at-full-block", u""});
  in.push_back({u"gamma", filler(random, 500)});
  for (int i = 0; i < 160; ++i) {
    const std::u16string word = ascii("w" + std::to_string((i * 7919) % 1000));
    in.push_back({word, i % 17 == 0 ? u"" : filler(random, 100 + random() % 3000)});
    if (i % 40 == 0) in.push_back({ascii("W" + std::to_string((i * 7919) % 1000)), u"case twin"});
    if (i % 50 == 0) in.push_back({word, u"exact duplicate"});
    if (i % 60 == 0) in.push_back({std::u16string(256, u'x') + word, u"too long a word"});
    if (i % 70 == 0) in.push_back({ascii("huge" + std::to_string(i)), filler(random, 65536)});
    if (i % 80 == 0) in.push_back({u"", u"no headword"});
  }
  // Non-ASCII text: 3-byte units, a surrogate pair, Vietnamese words that fold together.
  in.push_back({u"việt", u"- Vi\u1EC7t \U0001F600"});
  in.push_back({u"Việt", u"folds to the same key under Vietnamese"});
  in.push_back({std::u16string(85, u'\u1EC7'), u"85 letters of 3 bytes: exactly 255"});
  in.push_back({std::u16string(86, u'\u1EC7'), u"one letter too many"});
  in.push_back({std::u16string(u"nul\0cut", 7), std::u16string(u"cut\0here", 8)});
  (void)collation;
  return in;
}

struct Sequential {
  std::vector<EditResult> results;
};

Sequential addOneByOne(const std::string& dataFile, uint32_t collation,
                       const std::vector<Input>& in) {
  Sequential s;
  Dictionary d;
  EXPECT_OK(d.createDictionary(dataFile, collation));
  EXPECT_OK(d.setTitle(u"Title"));
  EXPECT_OK(d.setDescription(u"Description"));
  for (const Input& e : in) s.results.push_back(d.addEntry(e.headword, e.meaning).editResult());
  return s;
}

std::vector<EditResult> build(const std::string& dataFile, uint32_t collation,
                              const std::vector<Input>& in) {
  DictionaryBuilder builder(collation);
  builder.setTitle(u"Title");
  builder.setDescription(u"Description");
  for (const Input& e : in) builder.add(e.headword, e.meaning);
  EXPECT_OK(builder.finish(dataFile));
  std::vector<EditResult> results;
  for (size_t i = 0; i < in.size(); ++i) results.push_back(builder.result(i));
  return results;
}

// The data file may hold stale bytes past the end of its last block (the writer rewrites the
// last block in place); only the blocks count.
size_t dataEnd(const std::vector<uint8_t>& index) {
  const uint16_t last = test::get16(index, 24);
  const size_t at = BlockRecord::fileOffset(last);
  return test::get32(index, at) + test::get16(index, at + 4);
}

void expectSameFiles(const std::string& built, const std::string& added) {
  const FileSetNames b = fileSetNames(built);
  const FileSetNames a = fileSetNames(added);
  const std::vector<uint8_t> builtIndex = readFile(b.indexFile);
  const std::vector<uint8_t> addedIndex = readFile(a.indexFile);
  EXPECT_TRUE(builtIndex == addedIndex) << "index files differ";
  EXPECT_TRUE(readFile(b.wordFile) == readFile(a.wordFile)) << "word files differ";
  std::vector<uint8_t> builtData = readFile(b.dataFile);
  std::vector<uint8_t> addedData = readFile(a.dataFile);
  ASSERT_GE(addedData.size(), dataEnd(addedIndex));
  addedData.resize(dataEnd(addedIndex));
  EXPECT_EQ(builtData.size(), dataEnd(builtIndex));
  EXPECT_TRUE(builtData == addedData) << "data files differ";
}

class DictionaryBuilderTest : public ::testing::TestWithParam<uint32_t> {};

TEST_P(DictionaryBuilderTest, WritesWhatSequentialAddsWrite) {
  ScratchDir dir;
  const uint32_t collation = GetParam();
  const std::vector<Input> in = mixedEntries(collation);
  const Sequential sequential = addOneByOne(dir.file("added.pvm"), collation, in);
  const std::vector<EditResult> built = build(dir.file("built.pvm"), collation, in);
  ASSERT_EQ(built.size(), sequential.results.size());
  for (size_t i = 0; i < built.size(); ++i) {
    EXPECT_EQ(built[i], sequential.results[i]) << "entry " << i;
  }
  expectSameFiles(dir.file("built.pvm"), dir.file("added.pvm"));

  // The built dictionary reads back: several blocks, every kind of refusal met.
  Dictionary d;
  ASSERT_OK(d.openDictionary(dir.file("built.pvm")));
  EXPECT_GE(d.header().lastBlock, 3);
  for (EditResult r : {EditResult::WordExists, EditResult::WordTooLong, EditResult::MeaningTooLong,
                       EditResult::EmptyWord}) {
    EXPECT_NE(std::find(built.begin(), built.end(), r), built.end()) << editResultName(r);
  }
}

INSTANTIATE_TEST_SUITE_P(Collations, DictionaryBuilderTest,
                         ::testing::Values(kVietnamese, kLatin1, 7u));

TEST(DictionaryBuilder, NoAcceptedEntryGivesTheFilesOfAnEmptyDictionary) {
  ScratchDir dir;
  const std::vector<Input> in = {{u"", u"x"}, {std::u16string(300, u'a'), u"y"}};
  addOneByOne(dir.file("added.pvm"), kLatin1, in);
  const std::vector<EditResult> built = build(dir.file("built.pvm"), kLatin1, in);
  EXPECT_EQ(built, (std::vector<EditResult>{EditResult::EmptyWord, EditResult::WordTooLong}));
  expectSameFiles(dir.file("built.pvm"), dir.file("added.pvm"));
  EXPECT_EQ(readFile(dir.file("built.pdi")).size(), 852u);
}

TEST(DictionaryBuilder, RefusesMeaningsThatNeedASlotPastTheBlockTable) {
  ScratchDir dir;
  DictionaryBuilder builder(kLatin1);
  const std::u16string full(BLOCK_CAPACITY, u'a');  // each fills one block exactly
  const std::u16string big(MAX_MEANING_BYTES, u'b');
  for (uint32_t i = 0; i < BLOCK_SLOTS; ++i) builder.add(ascii("k" + std::to_string(i)), full);
  builder.add(u"over", u"x");       // would need slot 1023
  builder.add(u"empty-fits", u"");  // needs no new block
  builder.add(u"over2", big);
  ASSERT_OK(builder.finish(dir.file("full.pvm")));
  EXPECT_EQ(builder.result(BLOCK_SLOTS - 1), EditResult::Ok);
  EXPECT_EQ(builder.result(BLOCK_SLOTS), EditResult::MeaningTooLong);
  EXPECT_EQ(builder.result(BLOCK_SLOTS + 1), EditResult::Ok);
  EXPECT_EQ(builder.result(BLOCK_SLOTS + 2), EditResult::MeaningTooLong);

  Dictionary d;
  ASSERT_OK(d.openDictionary(dir.file("full.pvm")));
  EXPECT_EQ(d.header().lastBlock, BLOCK_SLOTS - 1);
  EXPECT_EQ(d.wordCount(), BLOCK_SLOTS + 1);
  uint32_t nearest = 0;
  int sign = 1;
  ASSERT_OK(d.findWord(u"k1022", nearest, sign));
  ASSERT_EQ(sign, 0);
  std::u16string meaning;
  ASSERT_OK(d.readMeaning(nearest, meaning));
  EXPECT_EQ(meaning, full);
  // The writer agrees: the table is full.
  EXPECT_EQ(d.addEntry(u"more", u"y").editResult(), EditResult::MeaningTooLong);
}

TEST(DictionaryBuilder, ReplacesFilesOnlyWhenAllAreWritten) {
  ScratchDir dir;
  Dictionary d;
  ASSERT_OK(d.createDictionary(dir.file("keep.pvm"), kLatin1));
  ASSERT_OK(d.addEntry(u"kept", u"- yes"));
  d.closeDictionary();
  DictionaryBuilder builder(kLatin1);
  builder.add(u"new", u"- no");
  // A data file name inside a folder that does not exist cannot be written.
  const Status s = builder.finish(dir.file("missing/keep.pvm"));
  EXPECT_FALSE(s.isOk());
  EXPECT_NE(s.message().find("missing"), std::string::npos) << s.message();
  ASSERT_OK(d.openDictionary(dir.file("keep.pvm")));
  EXPECT_EQ(d.wordCount(), 1u);
}

}  // namespace
}  // namespace lexora
