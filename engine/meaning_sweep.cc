#include "engine/meaning_sweep.h"

#include <algorithm>

#include "engine/block_inflater.h"
#include "engine/dictionary.h"
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
    const uint32_t wanted = std::min(
        (needEnd / BlockInflater::kPrefixStep + 1) * BlockInflater::kPrefixStep, CACHE_SIZE);
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
  uint32_t remaining = record.meaningLength;
  uint32_t block = record.block;
  uint32_t offset = record.offset;
  // Within one block the text is decoded where it lies; across blocks it is put together.
  const uint8_t* single = nullptr;
  spanning_.clear();
  while (remaining > 0) {
    if (block >= BLOCK_SLOTS) {
      return Status::corruption("the meaning of entry " + std::to_string(position) +
                                " runs past the last block");
    }
    const uint32_t needEnd = std::min<uint32_t>(offset + remaining, CACHE_SIZE);
    if (Status s = load(block, needEnd); !s.isOk()) return s;
    if (offset > contentLength_) {
      return Status::corruption("the meaning of entry " + std::to_string(position) +
                                " starts beyond the content of block " + std::to_string(block));
    }
    const uint32_t n = std::min(remaining, contentLength_ - offset);
    if (n == record.meaningLength) {
      single = content_.data() + offset;
    } else {
      spanning_.insert(spanning_.end(), content_.data() + offset, content_.data() + offset + n);
    }
    remaining -= n;
    ++block;
    offset = 0;
  }
  const bool readable = single != nullptr
                            ? utf8DecodeInto(single, record.meaningLength, meaning)
                            : utf8DecodeInto(spanning_.data(), spanning_.size(), meaning);
  if (readable) return Status::ok();
  if (record.meaningLength == 0) {
    return Status::notFound("entry " + std::to_string(position) + " has no meaning");
  }
  return Status::corruption("the meaning of entry " + std::to_string(position) +
                            " is not readable text");
}

}  // namespace lexora
