#include "engine/block_store.h"
#include "tests/support/status_assertions.h"

#include <gtest/gtest.h>

#include <cstring>

#include "engine/dictionary.h"
#include "engine_test_support.h"

namespace lexora {
namespace {

// Fills the block's slot with `fill` bytes and keeps it.
void put(BlockStore& store, uint32_t block, uint32_t length, uint8_t fill) {
  uint8_t* slot = store.fill(block);
  ASSERT_NE(slot, nullptr);
  std::memset(slot, fill, length);
  store.keep(block, length);
}

bool holds(BlockStore& store, uint32_t block, uint32_t length, uint8_t fill) {
  uint32_t n = 0;
  const uint8_t* p = store.find(block, n);
  if (p == nullptr || n != length) return false;
  for (uint32_t i = 0; i < n; ++i) {
    if (p[i] != fill) return false;
  }
  return true;
}

TEST(BlockStoreTest, KeepsTheMostRecentlyUsedBlocksWithinItsBudget) {
  BlockStore store(3 * BlockStore::SLOT_BYTES + 100);  // room for three blocks
  ASSERT_EQ(store.slotCount(), 3u);
  put(store, 1, 100, 1);
  put(store, 2, CACHE_SIZE, 2);
  put(store, 3, 300, 3);
  ASSERT_TRUE(holds(store, 1, 100, 1));  // 1 is now the most recent, 2 the least
  put(store, 4, 400, 4);
  uint32_t n = 0;
  EXPECT_EQ(store.find(2, n), nullptr);
  EXPECT_TRUE(holds(store, 1, 100, 1));
  EXPECT_TRUE(holds(store, 3, 300, 3));
  EXPECT_TRUE(holds(store, 4, 400, 4));
  EXPECT_EQ(store.blockCount(), 3u);

  put(store, 3, 50, 9);  // replaced, not duplicated; 1 is now the least recent
  EXPECT_TRUE(holds(store, 3, 50, 9));
  EXPECT_EQ(store.blockCount(), 3u);
  put(store, 5, 10, 5);
  EXPECT_EQ(store.find(1, n), nullptr);

  // A fill that is never kept (the block did not inflate) leaves nothing behind, and its slot
  // is used again.
  ASSERT_NE(store.fill(6), nullptr);
  EXPECT_EQ(store.find(6, n), nullptr);
  put(store, 7, 70, 7);
  EXPECT_EQ(store.blockCount(), 3u);
  EXPECT_TRUE(holds(store, 7, 70, 7));

  store.clear();
  EXPECT_EQ(store.find(7, n), nullptr);
  EXPECT_EQ(store.blockCount(), 0u);
  put(store, 7, 80, 8);  // the slots serve again after clearing
  EXPECT_TRUE(holds(store, 7, 80, 8));
}

// A batch over more blocks than the budget holds keeps only as many as fit, and still reads
// every meaning right.
TEST(BlockStoreTest, DictionaryKeepsNoMoreBlocksThanItsBudget) {
  test::ScratchDir dir;
  const std::string data = dir.file("d.pvm");
  Dictionary d;
  ASSERT_OK(d.createDictionary(data, 9));
  std::vector<std::u16string> meanings;
  for (int i = 0; i < 6; ++i) {
    // Each entry fills one block exactly, so entry i lies in block i.
    std::u16string m(BLOCK_CAPACITY, static_cast<char16_t>(u'a' + i));
    ASSERT_OK(d.addEntry(std::u16string(1, static_cast<char16_t>(u'a' + i)), m));
    meanings.push_back(std::move(m));
  }
  d.retainDecompressedBlocks(2 * BlockStore::SLOT_BYTES);
  std::u16string meaning;
  for (int i : {0, 1, 2, 3, 4, 5, 0, 5, 2}) {
    ASSERT_OK(d.readMeaning(static_cast<uint32_t>(i), meaning));
    EXPECT_EQ(meaning, meanings[static_cast<size_t>(i)]);
    EXPECT_LE(d.retainedBlockCount(), 2u);
  }
  EXPECT_EQ(d.retainedBlockCount(), 2u);
}

// Retained blocks must never outlive a change of the data file.
TEST(BlockStoreTest, DictionaryForgetsRetainedBlocksWhenItWrites) {
  test::ScratchDir dir;
  const std::string data = dir.file("d.pvm");
  Dictionary d;
  ASSERT_OK(d.createDictionary(data, 9));
  const std::u16string full(BLOCK_CAPACITY, u'x');  // fills block 0 exactly
  ASSERT_OK(d.addEntry(u"a", full));
  ASSERT_OK(d.addEntry(u"b", u"second"));  // opens block 1
  d.retainDecompressedBlocks(1 << 20);
  std::u16string meaning;
  ASSERT_OK(d.readMeaning(0, meaning));  // block 0, then block 1, both retained
  ASSERT_OK(d.readMeaning(1, meaning));
  ASSERT_OK(d.readMeaning(0, meaning));
  ASSERT_OK(d.modifyMeaning(1, u"changed"));  // block 1 grows
  ASSERT_OK(d.readMeaning(0, meaning));       // the one-block cache moves to block 0
  ASSERT_OK(d.readMeaning(1, meaning));
  EXPECT_EQ(meaning, u"changed");
}

}  // namespace
}  // namespace lexora
