#pragma once
// Decompressed blocks kept besides a reader's one-block cache, least recently used first out,
// within a byte budget. Reading meanings in scattered order (a batch of lookups) then inflates
// each block once while the budget holds them all, and memory stays bounded when it does not.
//
// The blocks live in fixed slots of SLOT_BYTES in one mapping that is touched only as slots
// are filled: the budget is reserved address space, not memory, until blocks arrive.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace lexora {

class BlockStore {
 public:
  static constexpr size_t SLOT_BYTES = 65536;  // holds any block (CACHE_SIZE bytes)

  // Keeps at most maxBytes / SLOT_BYTES blocks (at least one).
  explicit BlockStore(size_t maxBytes);
  ~BlockStore();
  BlockStore(const BlockStore&) = delete;
  BlockStore& operator=(const BlockStore&) = delete;

  size_t slotCount() const { return slotCount_; }
  size_t blockCount() const { return kept_; }

  // The content of a kept block (marked most recently used) or null. Valid until the next
  // fill or clear.
  const uint8_t* find(uint32_t block, uint32_t& length);

  // A slot of SLOT_BYTES to inflate the block into, taken from the least recently used block
  // when all slots are in use. The block is forgotten until keep() names it complete.
  uint8_t* fill(uint32_t block);
  // The block given to the last fill() now holds its whole content of length bytes.
  void keep(uint32_t block, uint32_t length);

  void clear();

 private:
  static constexpr uint32_t NONE = UINT32_MAX;
  struct Slot {
    uint32_t block = NONE;
    uint32_t length = 0;
    uint32_t newer = NONE;  // towards the most recently used
    uint32_t older = NONE;
  };
  void unlink(uint32_t slot);
  void pushNewest(uint32_t slot);
  void forget(uint32_t block);

  size_t slotCount_;
  uint8_t* memory_ = nullptr;  // the mapping
  uint8_t* base_ = nullptr;    // slot 0, aligned to a large page
  size_t mappedBytes_ = 0;
  std::vector<Slot> slots_;
  std::vector<uint32_t> slotOfBlock_;  // by block index; grows as blocks arrive
  std::vector<uint32_t> free_;         // slots given back by forget()
  uint32_t used_ = 0;                  // slots handed out at least once
  uint32_t kept_ = 0;                  // slots that hold a block
  uint32_t newest_ = NONE;
  uint32_t oldest_ = NONE;
  uint32_t pending_ = NONE;  // the slot of the last fill()
};

}  // namespace lexora
