#include "engine/block_inflater.h"
#include "tests/support/status_assertions.h"

#include <gtest/gtest.h>

#include <random>

#include "engine/block_store.h"
#include "engine/dictionary.h"
#include "engine_test_support.h"

namespace lexora {
namespace {

constexpr uint32_t kCodeUnit = 9;  // any collation value past the named ones

// Text that compresses about as well as a dictionary's (random words, not one repeated line),
// so that a short start of a block really is a fraction of its stream.
std::string prose(size_t length, unsigned seed) {
  std::mt19937 random(seed);
  std::string out;
  while (out.size() < length) {
    const size_t n = 2 + random() % 8;
    for (size_t k = 0; k < n; ++k) out.push_back(static_cast<char>('a' + random() % 26));
    out.push_back(random() % 12 == 0 ? '\n' : ' ');
  }
  out.resize(length);
  return out;
}

std::u16string wide(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

TEST(BlockInflaterTest, StartOfAStreamIsTheStartOfTheWholeContent) {
  const std::string content = prose(60000, 1);
  const std::vector<uint8_t> stream = test::compressBlock(content);
  BlockInflater inflater;
  std::vector<uint8_t> whole(CACHE_SIZE);
  uint32_t length = 0;
  ASSERT_TRUE(
      inflater.inflateWhole(stream.data(), stream.size(), whole.data(), whole.size(), length));
  ASSERT_EQ(length, content.size());
  EXPECT_EQ(std::string(whole.begin(), whole.begin() + length), content);

  for (uint32_t wanted : {0u, 1u, 4096u, 30000u, 59999u, 60000u, 60001u, 65535u}) {
    std::vector<uint8_t> start(CACHE_SIZE, 0xEE);
    bool complete = true;
    ASSERT_TRUE(inflater.inflatePrefix(stream.data(), stream.size(), start.data(), wanted, length,
                                       complete))
        << wanted;
    EXPECT_EQ(length, std::min<uint32_t>(wanted, 60000)) << wanted;
    EXPECT_EQ(std::string(start.begin(), start.begin() + length), content.substr(0, length));
    EXPECT_EQ(start[length], 0xEE) << "wrote past the bytes asked for, at " << wanted;
    if (wanted > 60000) {
      EXPECT_TRUE(complete) << wanted;  // the stream ended within them
    } else if (wanted < 60000) {
      EXPECT_FALSE(complete) << wanted;
    }
  }
}

TEST(BlockInflaterTest, DamagedOrCutStreamsFail) {
  const std::string content = prose(60000, 2);
  const std::vector<uint8_t> stream = test::compressBlock(content);
  BlockInflater inflater;
  std::vector<uint8_t> out(CACHE_SIZE);
  uint32_t length = 0;
  bool complete = false;

  std::vector<uint8_t> badSum = stream;
  badSum.back() ^= 0x01;  // Adler-32 no longer matches
  EXPECT_FALSE(inflater.inflateWhole(badSum.data(), badSum.size(), out.data(), out.size(), length));

  // The stream ends in the input before its data does.
  EXPECT_FALSE(
      inflater.inflateWhole(stream.data(), stream.size() - 10, out.data(), out.size(), length));
  EXPECT_FALSE(inflater.inflatePrefix(stream.data(), 40, out.data(), 4096, length, complete));

  // Content longer than the room given.
  EXPECT_FALSE(inflater.inflateWhole(stream.data(), stream.size(), out.data(), 59999, length));

  const std::vector<uint8_t> garbage(2000, 0x55);
  EXPECT_FALSE(
      inflater.inflateWhole(garbage.data(), garbage.size(), out.data(), out.size(), length));
  EXPECT_FALSE(
      inflater.inflatePrefix(garbage.data(), garbage.size(), out.data(), 100, length, complete));
  EXPECT_FALSE(inflater.inflateWhole(nullptr, 0, out.data(), out.size(), length));

  // A failure leaves the inflater fit for the next stream.
  ASSERT_TRUE(
      inflater.inflatePrefix(stream.data(), stream.size(), out.data(), 100, length, complete));
  EXPECT_EQ(std::string(out.begin(), out.begin() + 100), content.substr(0, 100));
}

// Block 0 holds 60,000 bytes of text, block 1 another 5,000. Entries a (start of block 0),
// b (within the first 20 KB), c (middle), d (end) and e (block 1).
class BlockReadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    blocks_ = {prose(60000, 3), prose(5000, 4)};
    test::writeRawDictionary(dir_.file("d.pvm"), kCodeUnit, blocks_,
                             {{u"a", 0, 0, 120},
                              {u"b", 0, 9000, 700},
                              {u"c", 0, 30000, 300},
                              {u"d", 0, 59700, 300},
                              {u"e", 1, 100, 50}});
  }
  std::u16string expected(uint32_t entry) const {
    static const struct {
      int block, offset, length;
    } where[] = {{0, 0, 120}, {0, 9000, 700}, {0, 30000, 300}, {0, 59700, 300}, {1, 100, 50}};
    const auto& w = where[entry];
    return wide(blocks_[w.block].substr(w.offset, w.length));
  }
  void ruinBlock(uint32_t block, size_t at, uint8_t value) {
    const std::vector<uint8_t> index = test::readFile(dir_.file("d.pdi"));
    const uint32_t offset = test::get32(index, BlockRecord::fileOffset(block));
    test::patchFile(dir_.file("d.pvm"), offset + at, {value});
  }
  test::ScratchDir dir_;
  std::vector<std::string> blocks_;
};

TEST_F(BlockReadTest, EveryEntryReadsTheSameWhateverPartOfItsBlockIsInflated) {
  // Cold: each entry first, in a dictionary of its own.
  for (uint32_t i = 0; i < 5; ++i) {
    Dictionary d;
    ASSERT_OK(d.openDictionary(dir_.file("d.pvm")));
    std::u16string meaning;
    ASSERT_OK(d.readMeaning(i, meaning)) << i;
    EXPECT_EQ(meaning, expected(i)) << i;
  }
  // In turn and back again: the start of block 0, then beyond it, then the start again;
  // each block in and out of the cache; and with the batch's retained blocks.
  for (size_t retained : {size_t{0}, size_t{4} << 20}) {
    Dictionary d;
    ASSERT_OK(d.openDictionary(dir_.file("d.pvm")));
    d.retainDecompressedBlocks(retained);
    for (uint32_t i : {0u, 1u, 2u, 3u, 0u, 4u, 1u, 4u, 3u, 0u}) {
      std::u16string meaning;
      ASSERT_OK(d.readMeaning(i, meaning)) << i;
      EXPECT_EQ(meaning, expected(i)) << i;
    }
  }
}

TEST_F(BlockReadTest, DamagedBlockFailsCleanlyAndOthersStillRead) {
  ruinBlock(0, 200, 0xFF);  // inside the deflate data near its start
  for (size_t retained : {size_t{0}, size_t{4} << 20}) {
    Dictionary d;
    ASSERT_OK(d.openDictionary(dir_.file("d.pvm")));
    d.retainDecompressedBlocks(retained);
    std::u16string meaning;
    for (uint32_t i : {3u, 2u, 0u, 3u}) {  // whole block, then the start alone
      const Status s = d.readMeaning(i, meaning);
      EXPECT_EQ(s.code(), Status::Code::Corruption) << i;
      EXPECT_NE(s.message().find("block 0"), std::string::npos) << s.message();
    }
    EXPECT_EQ(d.retainedBlockCount(), 0u);
    ASSERT_OK(d.readMeaning(4, meaning));
    EXPECT_EQ(meaning, expected(4));
    EXPECT_FALSE(d.readMeaning(3, meaning).isOk());  // not cached by the good read in between
  }
}

TEST_F(BlockReadTest, BadChecksumFailsAWholeBlockRead) {
  const std::vector<uint8_t> index = test::readFile(dir_.file("d.pdi"));
  const uint16_t length = test::get16(index, BlockRecord::fileOffset(0) + 4);
  ruinBlock(0, length - 1u, 0x00);  // the last byte of the Adler-32
  Dictionary d;
  ASSERT_OK(d.openDictionary(dir_.file("d.pvm")));
  std::u16string meaning;
  EXPECT_FALSE(d.readMeaning(3, meaning).isOk());
  EXPECT_FALSE(d.readMeaning(2, meaning).isOk());
}

// The start of a block in the cache must never stand for the whole block: the writer, which
// rewrites the last block from the cache, would otherwise drop the rest of its content.
TEST(BlockStartTest, WriterAfterAReadOfABlocksStartKeepsTheWholeBlock) {
  test::ScratchDir dir;
  const std::string data = dir.file("w.pvm");
  std::vector<std::u16string> meanings;
  {
    Dictionary d;
    ASSERT_OK(d.createDictionary(data, kCodeUnit));
    for (int i = 0; i < 20; ++i) {
      meanings.push_back(wide(prose(1500, 10 + static_cast<unsigned>(i))));
      ASSERT_EQ(
          d.addEntry(u"w" + std::u16string(1, static_cast<char16_t>(u'a' + i)), meanings.back())
              .editResult(),
          EditResult::Ok);
    }
  }
  Dictionary d;
  ASSERT_OK(d.openDictionary(data));
  std::u16string meaning;
  ASSERT_OK(d.readMeaning(0, meaning));  // only the start of block 0 is inflated
  EXPECT_EQ(meaning, meanings[0]);
  ASSERT_OK(d.addEntry(u"x", u"added"));
  d.closeDictionary();

  ASSERT_OK(d.openDictionary(data));
  for (uint32_t i = 0; i < 20; ++i) {
    ASSERT_OK(d.readMeaning(i, meaning)) << i;
    EXPECT_EQ(meaning, meanings[i]) << i;
  }
  ASSERT_OK(d.readMeaning(20, meaning));
  EXPECT_EQ(meaning, u"added");
}

}  // namespace
}  // namespace lexora
