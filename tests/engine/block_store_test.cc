#include "engine/block_store.h"

#include <gtest/gtest.h>

#include "engine/dictionary.h"
#include "engine_test_support.h"

namespace lexora {
namespace {

std::vector<uint8_t> bytes(size_t n, uint8_t fill) { return std::vector<uint8_t>(n, fill); }

TEST(BlockStoreTest, KeepsTheMostRecentlyUsedBlocksWithinItsBudget) {
  BlockStore store(250);
  store.put(1, bytes(100, 1).data(), 100);
  store.put(2, bytes(100, 2).data(), 100);
  ASSERT_NE(store.find(1), nullptr);  // 1 is now the most recent
  store.put(3, bytes(100, 3).data(), 100);
  EXPECT_EQ(store.find(2), nullptr);
  ASSERT_NE(store.find(1), nullptr);
  EXPECT_EQ(*store.find(3), bytes(100, 3));
  store.put(4, bytes(300, 4).data(), 300);  // larger than the budget: not kept
  EXPECT_EQ(store.find(4), nullptr);
  store.put(3, bytes(50, 9).data(), 50);  // replaced, not duplicated
  EXPECT_EQ(*store.find(3), bytes(50, 9));
  store.clear();
  EXPECT_EQ(store.find(1), nullptr);
}

// Retained blocks must never outlive a change of the data file.
TEST(BlockStoreTest, DictionaryForgetsRetainedBlocksWhenItWrites) {
  test::ScratchDir dir;
  const std::string data = dir.file("d.pvm");
  Dictionary d;
  ASSERT_TRUE(d.createDictionary(data, 9));
  const std::u16string full(BLOCK_CAPACITY, u'x');  // fills block 0 exactly
  ASSERT_EQ(d.addEntry(u"a", full), EditResult::Ok);
  ASSERT_EQ(d.addEntry(u"b", u"second"), EditResult::Ok);  // opens block 1
  d.retainDecompressedBlocks(1 << 20);
  std::u16string meaning;
  ASSERT_TRUE(d.readMeaning(0, meaning));  // block 0, then block 1, both retained
  ASSERT_TRUE(d.readMeaning(1, meaning));
  ASSERT_TRUE(d.readMeaning(0, meaning));
  ASSERT_EQ(d.modifyMeaning(1, u"changed"), EditResult::Ok);  // block 1 grows
  ASSERT_TRUE(d.readMeaning(0, meaning));  // the one-block cache moves to block 0
  ASSERT_TRUE(d.readMeaning(1, meaning)) << d.lastError();
  EXPECT_EQ(meaning, u"changed");
}

}  // namespace
}  // namespace lexora
