#pragma once
// One entry's meaning from the blocks that hold it, for the dictionary's own reads and for a
// sweep over all its entries. A meaning within one block is decoded where it lies; one that
// runs across blocks is put together in `spanning` first.

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/file_format.h"
#include "util/status.h"
#include "util/utf8_codec.h"

namespace lexora {

// The meaning's UTF-8 bytes: `text` points into the block or into `spanning`, valid until the
// next read. `content(block, needEnd, bytes, length)` gives a block's inflated bytes, at least
// its first needEnd where the block has that many; blocks after `lastBlock` are not there.
// `position` names the entry in the messages.
template <typename BlockContent>
Status gatherMeaning(uint32_t position, const WordRecord& record, uint32_t lastBlock,
                     BlockContent&& content, std::vector<uint8_t>& spanning, const uint8_t*& text) {
  spanning.clear();
  // Only for the messages: a read that succeeds builds no text.
  const auto entry = [position] { return "the meaning of entry " + std::to_string(position); };
  uint32_t remaining = record.meaningLength;
  uint32_t block = record.block;
  uint32_t offset = record.offset;
  const uint8_t* single = nullptr;
  while (remaining > 0) {
    if (block >= BLOCK_SLOTS || block > lastBlock) {
      return Status::corruption(entry() + " runs past the last block");
    }
    const uint8_t* bytes = nullptr;
    uint32_t length = 0;
    const uint32_t needEnd = std::min<uint32_t>(offset + remaining, CACHE_SIZE);
    if (Status s = content(block, needEnd, bytes, length); !s.isOk()) return s;
    if (offset > length) {  // the record points beyond the block's content: a damaged file
      return Status::corruption(entry() + " starts beyond the content of block " +
                                std::to_string(block));
    }
    const uint32_t n = std::min(remaining, length - offset);
    if (n == record.meaningLength) {
      single = bytes + offset;
    } else {
      spanning.insert(spanning.end(), bytes + offset, bytes + offset + n);
    }
    remaining -= n;
    ++block;
    offset = 0;
  }
  text = single != nullptr ? single : spanning.data();
  return Status::ok();
}

// The gathered bytes as text; an empty meaning is NotFound, bytes that are not UTF-8 damage.
inline Status decodeMeaning(uint32_t position, const WordRecord& record, const uint8_t* text,
                            std::u16string& meaning) {
  if (utf8DecodeInto(text, record.meaningLength, meaning)) return Status::ok();
  if (record.meaningLength == 0) {
    return Status::notFound("entry " + std::to_string(position) + " has no meaning");
  }
  return Status::corruption("the meaning of entry " + std::to_string(position) +
                            " is not readable text");
}

}  // namespace lexora
