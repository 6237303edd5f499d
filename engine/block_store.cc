#include "engine/block_store.h"

#include <sys/mman.h>

#include <algorithm>

namespace lexora {
namespace {

// Slots are filled one after the other, so large pages fill densely: one fault per 2 MiB
// instead of one per 4 KiB, which matters when a batch inflates hundreds of blocks.
constexpr size_t kLargePage = size_t{2} << 20;

}  // namespace

BlockStore::BlockStore(size_t maxBytes) : slotCount_(std::max<size_t>(1, maxBytes / SLOT_BYTES)) {
  mappedBytes_ = slotCount_ * SLOT_BYTES + kLargePage;
  void* p = ::mmap(nullptr, mappedBytes_, PROT_READ | PROT_WRITE,
                   MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  if (p == MAP_FAILED) {
    // Nothing can be kept; fill() reports null and the reader inflates into its own cache.
    slotCount_ = 0;
    mappedBytes_ = 0;
    return;
  }
  memory_ = static_cast<uint8_t*>(p);
  const size_t misalignment = reinterpret_cast<uintptr_t>(memory_) % kLargePage;
  uint8_t* aligned = misalignment == 0 ? memory_ : memory_ + (kLargePage - misalignment);
  ::madvise(aligned, slotCount_ * SLOT_BYTES, MADV_HUGEPAGE);  // a hint; failure is harmless
  slots_.resize(slotCount_);
  base_ = aligned;
}

BlockStore::~BlockStore() {
  if (memory_ != nullptr) ::munmap(memory_, mappedBytes_);
}

void BlockStore::unlink(uint32_t slot) {
  Slot& s = slots_[slot];
  if (s.newer != NONE)
    slots_[s.newer].older = s.older;
  else
    newest_ = s.older;
  if (s.older != NONE)
    slots_[s.older].newer = s.newer;
  else
    oldest_ = s.newer;
  s.newer = s.older = NONE;
}

void BlockStore::pushNewest(uint32_t slot) {
  Slot& s = slots_[slot];
  s.newer = NONE;
  s.older = newest_;
  if (newest_ != NONE)
    slots_[newest_].newer = slot;
  else
    oldest_ = slot;
  newest_ = slot;
}

void BlockStore::forget(uint32_t block) {
  if (block >= slotOfBlock_.size() || slotOfBlock_[block] == NONE) return;
  const uint32_t slot = slotOfBlock_[block];
  slotOfBlock_[block] = NONE;
  unlink(slot);
  slots_[slot].block = NONE;
  free_.push_back(slot);
  --kept_;
}

const uint8_t* BlockStore::find(uint32_t block, uint32_t& length) {
  if (block >= slotOfBlock_.size() || slotOfBlock_[block] == NONE) return nullptr;
  const uint32_t slot = slotOfBlock_[block];
  if (newest_ != slot) {
    unlink(slot);
    pushNewest(slot);
  }
  length = slots_[slot].length;
  return base_ + size_t{slot} * SLOT_BYTES;
}

uint8_t* BlockStore::fill(uint32_t block) {
  if (pending_ != NONE) free_.push_back(pending_);  // the last fill was never kept
  pending_ = NONE;
  if (slotCount_ == 0) return nullptr;
  forget(block);
  uint32_t slot;
  if (!free_.empty()) {
    slot = free_.back();
    free_.pop_back();
  } else if (used_ < slotCount_) {
    slot = used_++;
  } else {
    slot = oldest_;  // every slot holds a block: the least recently used one goes
    forget(slots_[slot].block);
    free_.pop_back();
  }
  pending_ = slot;
  return base_ + size_t{slot} * SLOT_BYTES;
}

void BlockStore::keep(uint32_t block, uint32_t length) {
  if (pending_ == NONE || length > SLOT_BYTES) return;
  const uint32_t slot = pending_;
  pending_ = NONE;
  if (block >= slotOfBlock_.size()) slotOfBlock_.resize(size_t{block} + 1, NONE);
  slots_[slot].block = block;
  slots_[slot].length = length;
  slotOfBlock_[block] = slot;
  pushNewest(slot);
  ++kept_;
}

void BlockStore::clear() {
  // Give the memory back; the slots stay reserved and are touched again as they fill.
  if (used_ > 0) ::madvise(base_, size_t{used_} * SLOT_BYTES, MADV_DONTNEED);
  std::fill(slots_.begin(), slots_.end(), Slot{});
  slotOfBlock_.clear();
  free_.clear();
  used_ = 0;
  kept_ = 0;
  newest_ = oldest_ = NONE;
  pending_ = NONE;
}

}  // namespace lexora
