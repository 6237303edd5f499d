#include "engine/block_store.h"

namespace lexora {

const std::vector<uint8_t>* BlockStore::find(uint32_t block) {
  const auto it = byBlock_.find(block);
  if (it == byBlock_.end()) return nullptr;
  entries_.splice(entries_.begin(), entries_, it->second);
  return &it->second->content;
}

void BlockStore::put(uint32_t block, const uint8_t* data, size_t length) {
  if (const auto it = byBlock_.find(block); it != byBlock_.end()) {
    bytes_ -= it->second->content.size();
    entries_.erase(it->second);
    byBlock_.erase(it);
  }
  if (length > maxBytes_) return;
  while (bytes_ + length > maxBytes_ && !entries_.empty()) {
    bytes_ -= entries_.back().content.size();
    byBlock_.erase(entries_.back().block);
    entries_.pop_back();
  }
  entries_.push_front(Entry{block, std::vector<uint8_t>(data, data + length)});
  byBlock_[block] = entries_.begin();
  bytes_ += length;
}

void BlockStore::clear() {
  entries_.clear();
  byBlock_.clear();
  bytes_ = 0;
}

}  // namespace lexora
