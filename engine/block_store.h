#pragma once
// Decompressed blocks kept besides a reader's one-block cache, least recently used first out,
// within a byte budget. Reading meanings in scattered order then inflates each block once.

#include <cstddef>
#include <cstdint>
#include <list>
#include <unordered_map>
#include <vector>

namespace lexora {

class BlockStore {
 public:
  explicit BlockStore(size_t maxBytes) : maxBytes_(maxBytes) {}

  // The block's content, or null when it is not kept. The pointer lives until the next put or
  // clear.
  const std::vector<uint8_t>* find(uint32_t block);

  // Keeps a copy of the block's content, dropping the least recently used blocks to stay
  // within the budget. A block larger than the whole budget is not kept.
  void put(uint32_t block, const uint8_t* data, size_t length);

  void clear();

 private:
  struct Entry {
    uint32_t block;
    std::vector<uint8_t> content;
  };
  size_t maxBytes_;
  size_t bytes_ = 0;
  std::list<Entry> entries_;  // most recently used first
  std::unordered_map<uint32_t, std::list<Entry>::iterator> byBlock_;
};

}  // namespace lexora
