#include <gtest/gtest.h>
#include <zlib.h>

#include "engine/collation.h"
#include "engine/dictionary.h"
#include "engine_test_support.h"
#include "tests/support/status_assertions.h"

namespace lexora {
namespace {

using test::get16;
using test::get32;
using test::readFile;
using test::ScratchDir;

constexpr uint32_t kCodeUnit = 9;

class DictionaryWriterTest : public ::testing::Test {
 protected:
  std::string path(const std::string& name = "d.pvm") const { return dir_.file(name); }
  std::vector<uint8_t> indexBytes() const { return readFile(path("d.pdi")); }
  size_t sizeOf(const std::string& name) const { return readFile(path(name)).size(); }

  void create(uint32_t collation = kCodeUnit) {
    ASSERT_OK(dict_.createDictionary(path(), collation));
  }
  void add(std::u16string_view word, std::u16string_view meaning = u"m") {
    ASSERT_OK(dict_.addEntry(word, meaning));
  }
  std::vector<std::u16string> allWords() {
    std::vector<std::u16string> words;
    dict_.readWords(0, dict_.wordCount(), words);
    return words;
  }
  std::u16string meaningOf(uint32_t index) {
    std::u16string meaning;
    EXPECT_OK(dict_.readMeaning(index, meaning));
    return meaning;
  }
  WordRecord recordOf(uint32_t index) {
    return WordRecord::decodeFrom(indexBytes().data() + WordRecord::fileOffset(index));
  }
  BlockRecord blockRecordOf(uint32_t block) {
    return BlockRecord::decodeFrom(indexBytes().data() + BlockRecord::fileOffset(block));
  }
  // The uncompressed content of a block, straight from the files.
  std::string blockContent(uint32_t block) {
    const BlockRecord r = blockRecordOf(block);
    const std::vector<uint8_t> data = readFile(path());
    std::string out(CACHE_SIZE, '\0');
    uLongf length = out.size();
    EXPECT_EQ(
        uncompress(reinterpret_cast<Bytef*>(out.data()), &length, data.data() + r.offset, r.length),
        Z_OK);
    out.resize(length);
    return out;
  }
  // Opens a dictionary whose last block (block lastBlock) holds `fill` bytes and which has
  // one entry "a" at the start of block 0.
  void openWithLastBlockHolding(uint32_t lastBlock, size_t fill) {
    std::vector<std::string> blocks(lastBlock + 1, "f");  // earlier blocks: content unused
    blocks.back() = std::string(fill, 'l');
    test::writeRawDictionary(path(), kCodeUnit, blocks, {{u"a", 0, 0, 1}});
    ASSERT_OK(dict_.openDictionary(path()));
  }

  ScratchDir dir_;
  Dictionary dict_;
};

// ---- createDictionary ----

TEST_F(DictionaryWriterTest, CreateWritesAnEmptyDictionaryByteForByte) {
  create(kCyrillic);
  EXPECT_TRUE(dict_.isOpen());
  EXPECT_EQ(dict_.wordCount(), 0u);
  EXPECT_EQ(dict_.collation(), kCyrillic);
  const std::vector<uint8_t> index = indexBytes();
  ASSERT_EQ(index.size(), 852u);
  EXPECT_EQ(std::string(index.begin(), index.begin() + 8), "QUILLDAT");
  EXPECT_EQ(get32(index, 8), 256u);
  EXPECT_EQ(get32(index, 12), kCyrillic);
  EXPECT_EQ(get16(index, 24), 0u);  // lastBlock
  EXPECT_EQ(get32(index, 26), 0u);  // wordCount
  EXPECT_EQ(get32(index, 30), 0u);
  EXPECT_EQ(get32(index, 34), 0u);
  const std::vector<uint8_t> data = readFile(path());
  EXPECT_EQ(get32(index, 846), 0u);
  EXPECT_EQ(get16(index, 850), data.size());
  EXPECT_EQ(sizeOf("d.pdw"), 0u);
  EXPECT_EQ(blockContent(0), "");
}

TEST_F(DictionaryWriterTest, CreateReplacesAnOldDictionaryButNotOneHeldOpen) {
  create();
  add(u"old");
  ASSERT_OK(dict_.createDictionary(path(), kLatin1));
  EXPECT_EQ(dict_.wordCount(), 0u);
  EXPECT_EQ(sizeOf("d.pdi"), 852u);

  add(u"kept");
  Dictionary other;
  const Status s = other.createDictionary(path(), kCodeUnit);
  EXPECT_EQ(s.code(), Status::Code::Busy);
  EXPECT_NE(s.message().find("is open in another dictionary slot or program"), std::string::npos)
      << s.message();
  EXPECT_EQ(dict_.wordCount(), 1u);
  EXPECT_EQ(allWords(), std::vector<std::u16string>{u"kept"});
}

// ---- addEntry ----

TEST_F(DictionaryWriterTest, FirstEntryGoesToTheStartOfTheWordTable) {
  create();
  add(u"word", u"meaning");
  const std::vector<uint8_t> index = indexBytes();
  ASSERT_EQ(index.size(), 6984u + 12);
  const WordRecord r = recordOf(0);
  EXPECT_EQ(r.wordOffset, 0u);
  EXPECT_EQ(r.wordLength, 4u);
  EXPECT_EQ(r.block, 0u);
  EXPECT_EQ(r.offset, 0u);
  EXPECT_EQ(r.meaningLength, 7u);
  EXPECT_EQ(get32(index, 26), 1u);
  EXPECT_EQ(get32(index, 30), 4u);
  EXPECT_EQ(get32(index, 34), 7u);
  EXPECT_EQ(meaningOf(0), u"meaning");
}

TEST_F(DictionaryWriterTest, EntriesStaySortedAndReadBack) {
  create(kVietnamese);
  add(u"m\u00E0", u"second");
  add(u"mai", u"third");
  add(u"ma", u"first");
  EXPECT_EQ(allWords(), (std::vector<std::u16string>{u"ma", u"m\u00E0", u"mai"}));
  EXPECT_EQ(meaningOf(0), u"first");
  EXPECT_EQ(meaningOf(1), u"second");
  EXPECT_EQ(meaningOf(2), u"third");
  EXPECT_EQ(dict_.maxMeaningChars(), 6u);
  EXPECT_EQ(dict_.maxWordChars(), 3u);
  // Reopened, the same.
  dict_.closeDictionary();
  ASSERT_OK(dict_.openDictionary(path()));
  EXPECT_EQ(dict_.wordCount(), 3u);
  EXPECT_EQ(meaningOf(1), u"second");
}

TEST_F(DictionaryWriterTest, RefusalsWriteNothing) {
  create(kLatin1);
  add(u"\u00E9clair");
  const std::vector<uint8_t> index = indexBytes();
  const size_t words = sizeOf("d.pdw");
  const size_t data = sizeOf("d.pvm");
  const EditStatus twin = dict_.addEntry(u"\u00C9CLAIR", u"x");
  EXPECT_EQ(twin.editResult(), EditResult::WordExists);
  EXPECT_EQ(twin.code(), Status::Code::InvalidArgument);
  EXPECT_EQ(twin.message(), "\"\u00C9CLAIR\" is already in the dictionary");
  EXPECT_EQ(dict_.addEntry(std::u16string(256, u'a'), u"x").editResult(), EditResult::WordTooLong);
  EXPECT_EQ(dict_.addEntry(u"b", std::u16string(65536, u'a')).editResult(),
            EditResult::MeaningTooLong);
  EXPECT_EQ(dict_.addEntry(u"", u"x").editResult(), EditResult::EmptyWord);
  uint32_t i = 0;
  EXPECT_EQ(dict_.modifyWord(i, u"").editResult(), EditResult::EmptyWord);
  EXPECT_EQ(dict_.modifyMeaning(0, std::u16string(21846, u'\u1EC7')).editResult(),
            EditResult::MeaningTooLong);
  EXPECT_EQ(indexBytes(), index);
  EXPECT_EQ(sizeOf("d.pdw"), words);
  EXPECT_EQ(sizeOf("d.pvm"), data);
  EXPECT_STREQ(editResultName(EditResult::EmptyWord), "EmptyWord");
}

TEST_F(DictionaryWriterTest, ChangesToAClosedDictionaryFailWithAReason) {
  create(kLatin1);
  add(u"a");
  dict_.closeDictionary();
  // Refusals, not write failures: nothing could be written.
  const EditStatus added = dict_.addEntry(u"b", u"x");
  EXPECT_EQ(added.editResult(), EditResult::ReadOnly);
  EXPECT_NE(added.message().find("not open"), std::string::npos) << added.message();
  EXPECT_EQ(dict_.deleteEntry(0).editResult(), EditResult::ReadOnly);
  for (const Status& s : {dict_.setTitle(u"T"), dict_.setDescription(u"D")}) {
    EXPECT_EQ(s.code(), Status::Code::IoError);
    EXPECT_NE(s.message().find("not open"), std::string::npos) << s.message();
  }
}

TEST_F(DictionaryWriterTest, LimitsAreInclusive) {
  create();
  add(std::u16string(85, u'\u1EC7'), std::u16string(21845, u'\u1EC7'));  // 255 and 65535 bytes
  EXPECT_EQ(recordOf(0).wordLength, 255u);
  EXPECT_EQ(recordOf(0).meaningLength, 65535u);
  EXPECT_EQ(meaningOf(0), std::u16string(21845, u'\u1EC7'));
}

TEST_F(DictionaryWriterTest, EmptyMeaningRecordsThePlaceAndWritesNoData) {
  create();
  add(u"a", u"abc");
  const size_t data = sizeOf("d.pvm");
  add(u"b", u"");
  EXPECT_EQ(sizeOf("d.pvm"), data);
  const WordRecord r = recordOf(1);
  EXPECT_EQ(r.block, 0u);
  EXPECT_EQ(r.offset, 3u);
  EXPECT_EQ(r.meaningLength, 0u);
  std::u16string meaning;
  EXPECT_FALSE(dict_.readMeaning(1, meaning).isOk());
}

// ---- Blocks ----

TEST_F(DictionaryWriterTest, MeaningSplitsAtTheBlockBoundary) {
  openWithLastBlockHolding(0, 64817);
  const std::u16string meaning = std::u16string(50, u'x') + std::u16string(50, u'y');
  add(u"b", meaning);
  const WordRecord r = recordOf(1);
  EXPECT_EQ(r.block, 0u);
  EXPECT_EQ(r.offset, 64817u);
  EXPECT_EQ(dict_.header().lastBlock, 1u);
  EXPECT_EQ(get16(indexBytes(), 24), 1u);
  EXPECT_EQ(blockContent(0), std::string(64817, 'l') + std::string(50, 'x'));
  EXPECT_EQ(blockContent(1), std::string(50, 'y'));
  EXPECT_EQ(blockRecordOf(1).offset, blockRecordOf(0).offset + blockRecordOf(0).length);
  EXPECT_EQ(meaningOf(1), meaning);
  // Reading from a fresh object, without the writer's cache.
  dict_.closeDictionary();
  ASSERT_OK(dict_.openDictionary(path()));
  EXPECT_EQ(meaningOf(1), meaning);
}

TEST_F(DictionaryWriterTest, FullBlockOpensTheNextRightAfterIt) {
  openWithLastBlockHolding(0, BLOCK_CAPACITY);
  add(u"b", u"new");
  const WordRecord r = recordOf(1);
  EXPECT_EQ(r.block, 1u);
  EXPECT_EQ(r.offset, 0u);
  EXPECT_EQ(blockRecordOf(1).offset, blockRecordOf(0).offset + blockRecordOf(0).length);
  EXPECT_EQ(blockContent(0), std::string(BLOCK_CAPACITY, 'l'));
  EXPECT_EQ(meaningOf(1), u"new");
}

TEST_F(DictionaryWriterTest, EmptyMeaningOnAFullBlockKeepsTheLastBlock) {
  openWithLastBlockHolding(0, BLOCK_CAPACITY);
  add(u"b", u"");
  EXPECT_EQ(dict_.header().lastBlock, 0u);
  const WordRecord r = recordOf(1);
  EXPECT_EQ(r.block, 0u);
  EXPECT_EQ(r.offset, BLOCK_CAPACITY);
  EXPECT_EQ(r.meaningLength, 0u);
  // The next meaning opens block 1 behind block 0, which stays whole.
  add(u"c", u"next");
  EXPECT_EQ(recordOf(2).block, 1u);
  EXPECT_EQ(blockRecordOf(1).offset, blockRecordOf(0).offset + blockRecordOf(0).length);
  EXPECT_EQ(blockContent(0), std::string(BLOCK_CAPACITY, 'l'));
  EXPECT_EQ(meaningOf(2), u"next");
  EXPECT_EQ(meaningOf(0), u"l");
}

TEST_F(DictionaryWriterTest, MeaningThatNeedsSlot1023IsRefusedUntouched) {
  openWithLastBlockHolding(BLOCK_SLOTS - 1, BLOCK_CAPACITY - 60);
  const std::vector<uint8_t> index = indexBytes();
  const size_t words = sizeOf("d.pdw");
  const size_t data = sizeOf("d.pvm");
  EXPECT_EQ(dict_.addEntry(u"b", std::u16string(61, u'z')).editResult(),
            EditResult::MeaningTooLong);
  EXPECT_EQ(dict_.modifyMeaning(0, std::u16string(61, u'z')).editResult(),
            EditResult::MeaningTooLong);
  EXPECT_EQ(indexBytes(), index);
  EXPECT_EQ(sizeOf("d.pdw"), words);
  EXPECT_EQ(sizeOf("d.pvm"), data);
  EXPECT_EQ(dict_.wordCount(), 1u);
  // What still fits is written.
  add(u"b", std::u16string(60, u'z'));
  EXPECT_EQ(dict_.header().lastBlock, BLOCK_SLOTS - 1);
  EXPECT_EQ(meaningOf(1), std::u16string(60, u'z'));
  add(u"c", u"");  // an empty meaning still fits on the full last block
  EXPECT_EQ(dict_.addEntry(u"d", u"z").editResult(), EditResult::MeaningTooLong);
}

// ---- modifyMeaning ----

TEST_F(DictionaryWriterTest, ModifyMeaningKeepsHeadwordAndSlot) {
  create();
  add(u"a", u"one");
  add(u"b", u"two");
  const size_t data = sizeOf("d.pvm");
  ASSERT_OK(dict_.modifyMeaning(0, u"uno, eins"));
  EXPECT_EQ(allWords(), (std::vector<std::u16string>{u"a", u"b"}));
  EXPECT_EQ(meaningOf(0), u"uno, eins");
  EXPECT_EQ(recordOf(0).offset, 6u);  // after "one" and "two": the old text stays
  EXPECT_GE(sizeOf("d.pvm"), data);
  EXPECT_EQ(dict_.maxMeaningChars(), 9u);
  EXPECT_EQ(dict_.modifyMeaning(2, u"x").editResult(), EditResult::NoSuchEntry);
}

// ---- modifyWord ----

class RenameTest : public DictionaryWriterTest {
 protected:
  void SetUp() override {
    create();
    for (const char16_t* w : {u"a", u"b", u"c", u"d", u"e"}) add(w, std::u16string(u"m") + w);
  }
  uint32_t rename(uint32_t index, std::u16string_view word) {
    EXPECT_OK(dict_.modifyWord(index, word));
    return index;
  }
};

TEST_F(RenameTest, StaysInPlace) {
  EXPECT_EQ(rename(1, u"bb"), 1u);
  EXPECT_EQ(allWords(), (std::vector<std::u16string>{u"a", u"bb", u"c", u"d", u"e"}));
  EXPECT_EQ(meaningOf(1), u"mb");
}

TEST_F(RenameTest, MovesDown) {
  EXPECT_EQ(rename(1, u"cc"), 2u);
  EXPECT_EQ(allWords(), (std::vector<std::u16string>{u"a", u"c", u"cc", u"d", u"e"}));
  EXPECT_EQ(meaningOf(2), u"mb");
  EXPECT_EQ(meaningOf(1), u"mc");
}

TEST_F(RenameTest, MovesUp) {
  EXPECT_EQ(rename(3, u"bb"), 2u);
  EXPECT_EQ(allWords(), (std::vector<std::u16string>{u"a", u"b", u"bb", u"c", u"e"}));
  EXPECT_EQ(meaningOf(2), u"md");
  EXPECT_EQ(rename(4, u"aa"), 1u);
  EXPECT_EQ(allWords(), (std::vector<std::u16string>{u"a", u"aa", u"b", u"bb", u"c"}));
  EXPECT_EQ(meaningOf(1), u"me");
}

TEST_F(RenameTest, MovesToTheEnds) {
  EXPECT_EQ(rename(0, u"z"), 4u);
  EXPECT_EQ(rename(4, u"0"), 0u);
  EXPECT_EQ(allWords(), (std::vector<std::u16string>{u"0", u"b", u"c", u"d", u"e"}));
  EXPECT_EQ(meaningOf(0), u"ma");
}

TEST_F(RenameTest, RefusalsAndLongerWords) {
  uint32_t index = 1;
  EXPECT_EQ(dict_.modifyWord(index, u"b").editResult(), EditResult::WordExists);
  EXPECT_EQ(dict_.modifyWord(index, u"c").editResult(), EditResult::WordExists);
  EXPECT_EQ(dict_.modifyWord(index, std::u16string(256, u'b')).editResult(),
            EditResult::WordTooLong);
  index = 7;
  EXPECT_EQ(dict_.modifyWord(index, u"x").editResult(), EditResult::NoSuchEntry);
  EXPECT_EQ(rename(1, u"bbbbbbb"), 1u);
  EXPECT_EQ(dict_.maxWordChars(), 7u);
  EXPECT_EQ(get32(indexBytes(), 30), 7u);
}

// ---- deleteEntry ----

TEST_F(RenameTest, DeleteShiftsTheTailAndTruncates) {
  EXPECT_OK(dict_.deleteEntry(1));
  EXPECT_EQ(allWords(), (std::vector<std::u16string>{u"a", u"c", u"d", u"e"}));
  EXPECT_EQ(meaningOf(1), u"mc");
  EXPECT_EQ(sizeOf("d.pdi"), 6984u + 12 * 4);
  EXPECT_OK(dict_.deleteEntry(3));
  EXPECT_EQ(allWords(), (std::vector<std::u16string>{u"a", u"c", u"d"}));
  const EditStatus missing = dict_.deleteEntry(3);
  EXPECT_EQ(missing.editResult(), EditResult::NoSuchEntry);
  EXPECT_EQ(missing.status().toString(), "NotFound: entry 3 does not exist");
  EXPECT_EQ(get32(indexBytes(), 26), 3u);
  EXPECT_EQ(dict_.maxWordChars(), 1u);
}

TEST_F(DictionaryWriterTest, DeletingTheOnlyWordLeavesTheBareTable) {
  create();
  add(u"only");
  EXPECT_OK(dict_.deleteEntry(0));
  EXPECT_EQ(dict_.wordCount(), 0u);
  EXPECT_EQ(sizeOf("d.pdi"), 6984u);
  EXPECT_FALSE(dict_.deleteEntry(0).isOk());
  add(u"again");  // an empty dictionary takes words again
  EXPECT_EQ(allWords(), std::vector<std::u16string>{u"again"});
}

// ---- Title and description ----

TEST_F(DictionaryWriterTest, TitleAndDescriptionAreCutAndNulTerminated) {
  EXPECT_FALSE(dict_.setTitle(u"closed").isOk());
  create();
  ASSERT_OK(dict_.setTitle(std::u16string(200, u'T')));
  ASSERT_OK(dict_.setDescription(std::u16string(300, u'D')));
  EXPECT_EQ(dict_.title(), std::u16string(127, u'T'));
  EXPECT_EQ(dict_.description(), std::u16string(255, u'D'));
  std::vector<uint8_t> index = indexBytes();
  EXPECT_EQ(get16(index, 78 + 2 * 126), u'T');
  EXPECT_EQ(get16(index, 78 + 2 * 127), 0u);
  EXPECT_EQ(get16(index, 334 + 2 * 254), u'D');
  EXPECT_EQ(get16(index, 334 + 2 * 255), 0u);

  ASSERT_OK(dict_.setTitle(u"EV"));
  index = indexBytes();
  EXPECT_EQ(get16(index, 78 + 2 * 2), 0u);
  EXPECT_EQ(get16(index, 78 + 2 * 100), 0u);  // the rest is cleared
  dict_.closeDictionary();
  ASSERT_OK(dict_.openDictionary(path()));
  EXPECT_EQ(dict_.title(), u"EV");
}

}  // namespace
}  // namespace lexora
