#pragma once
// Reads the meanings of many entries of a dictionary that another thread keeps using (an
// index build or a search on a worker thread while the window looks words up). Each block's
// compressed bytes are read under the dictionary's lock (Dictionary::readCompressedBlock) and
// inflated outside it into the sweep's own one-block cache, so the window never waits for an
// inflation, its own cache stays as it was, and its last read entry does not move.
//
// A sweep reads one state of the dictionary (Dictionary::state): once the dictionary changes,
// every read fails with Busy. Reading the entries in the order their meanings lie in the data
// file inflates each block once; a sweep over a few scattered entries inflates, as a single
// read does, only a block's start for an entry that ends early in it.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/file_format.h"
#include "util/status.h"

namespace lexora {

class BlockInflater;
class Dictionary;

class MeaningSweep {
 public:
  enum class Order { InPlace, Scattered };
  // InPlace: the entries come in the order their meanings lie in the data file.
  MeaningSweep(Dictionary& dictionary, uint64_t state, Order order = Order::InPlace);
  ~MeaningSweep();
  MeaningSweep(const MeaningSweep&) = delete;
  MeaningSweep& operator=(const MeaningSweep&) = delete;

  // The meaning of the entry with word record `record` (entry `position`, for the messages),
  // as Dictionary::readMeaning reads it: Corruption for a record that points past its blocks
  // or for text that is not readable, NotFound for an empty meaning.
  Status read(uint32_t position, const WordRecord& record, std::u16string& meaning);

 private:
  // The block's content in the sweep's cache, up to at least byte needEnd.
  Status load(uint32_t block, uint32_t needEnd);

  Dictionary& dictionary_;
  uint64_t state_;
  Order order_;
  std::unique_ptr<BlockInflater> inflater_;
  std::vector<uint8_t> compressed_;
  std::vector<uint8_t> content_;
  std::vector<uint8_t> spanning_;  // a meaning that spans blocks, put together
  uint32_t contentLength_ = 0;
  uint32_t cachedBlock_ = NO_BLOCK;  // the whole block is in content_
  uint32_t prefixBlock_ = NO_BLOCK;  // only its first contentLength_ bytes are
};

}  // namespace lexora
