#include "engine/meaning_sweep.h"

#include <algorithm>

#include "engine/block_inflater.h"
#include "engine/dictionary.h"
#include "engine/meaning_gather.h"
#include "util/utf8_codec.h"

namespace lexora {

MeaningSweep::MeaningSweep(Dictionary& dictionary, uint64_t state, Order order)
    : dictionary_(dictionary),
      state_(state),
      order_(order),
      inflater_(std::make_unique<BlockInflater>()),
      content_(CACHE_SIZE) {}

MeaningSweep::~MeaningSweep() = default;

Status MeaningSweep::load(uint32_t block, uint32_t needEnd) {
  if (block == cachedBlock_ || (block == prefixBlock_ && needEnd <= contentLength_)) {
    return Status::ok();
  }
  // Only a block's first read inflates its start; a later one that needs more inflates all.
  const bool start =
      order_ == Order::Scattered && needEnd <= BlockInflater::kPrefixLimit && block != prefixBlock_;
  cachedBlock_ = NO_BLOCK;
  prefixBlock_ = NO_BLOCK;
  uint32_t length = 0;
  if (Status s = dictionary_.readCompressedBlock(block, state_, compressed_, length); !s.isOk())
    return s;
  bool inflated = false;
  bool complete = true;
  if (start) {
    const uint32_t wanted = BlockInflater::prefixWanted(needEnd, CACHE_SIZE);
    inflated = inflater_->inflatePrefix(compressed_.data(), length, content_.data(), wanted,
                                        contentLength_, complete);
  } else {
    inflated = inflater_->inflateWhole(compressed_.data(), length, content_.data(), content_.size(),
                                       contentLength_);
  }
  if (!inflated) {
    return Status::corruption("block " + std::to_string(block) + " of " +
                              dictionary_.dataFileName() + " does not decompress");
  }
  (complete ? cachedBlock_ : prefixBlock_) = block;
  return Status::ok();
}

Status MeaningSweep::read(uint32_t position, const WordRecord& record, std::u16string& meaning) {
  meaning.clear();
  const auto content = [this](uint32_t block, uint32_t needEnd, const uint8_t*& bytes,
                              uint32_t& length) {
    if (Status s = load(block, needEnd); !s.isOk()) return s;
    bytes = content_.data();
    length = contentLength_;
    return Status::ok();
  };
  const uint8_t* text = nullptr;
  if (Status s = gatherMeaning(position, record, BLOCK_SLOTS - 1, content, spanning_, text);
      !s.isOk()) {
    return s;
  }
  return decodeMeaning(position, record, text, meaning);
}

}  // namespace lexora
