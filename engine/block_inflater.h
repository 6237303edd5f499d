#pragma once
// Inflates the zlib streams of a dictionary's data blocks. A whole block goes through
// libdeflate (about three times faster than zlib's inflate here); the first bytes of a block
// alone go through zlib's streaming inflate, which can stop once it has produced them.
// Writing keeps zlib's compress2, so the stored bytes do not depend on this.

#include <cstddef>
#include <cstdint>
#include <memory>

namespace lexora {

class BlockInflater {
 public:
  // A single read whose bytes end this far into a block inflates only the block's start with
  // zlib's streaming inflate; past it, inflating the whole block with libdeflate costs less
  // (zlib's inflate is about three times slower per byte; see bench/README.md).
  static constexpr uint32_t kPrefixLimit = 20480;
  // The start inflated reaches the next multiple of this, so that the entries right after the
  // one read are usually in it too.
  static constexpr uint32_t kPrefixStep = 4096;
  // How much of a block's start to inflate for a read that ends at needEnd: up to the next
  // step, within `capacity` (the block's most content).
  static constexpr uint32_t prefixWanted(uint32_t needEnd, uint32_t capacity) {
    const uint32_t wanted = (needEnd / kPrefixStep + 1) * kPrefixStep;
    return wanted < capacity ? wanted : capacity;
  }

  BlockInflater();
  ~BlockInflater();
  BlockInflater(const BlockInflater&) = delete;
  BlockInflater& operator=(const BlockInflater&) = delete;

  // Inflates one complete zlib stream into out (capacity bytes) and checks its Adler-32.
  // False on damaged data, a stream cut short, or content longer than capacity.
  bool inflateWhole(const uint8_t* in, size_t inLength, uint8_t* out, size_t capacity,
                    uint32_t& length);

  // Inflates at most `wanted` bytes of a stream's start into out (which holds at least
  // `wanted` bytes). complete tells whether the stream ended within them, and so whether out
  // holds the whole content; otherwise length is `wanted` and the checksum is not seen.
  // False on damaged data or a stream that ends in the input before it ends in the data.
  bool inflatePrefix(const uint8_t* in, size_t inLength, uint8_t* out, uint32_t wanted,
                     uint32_t& length, bool& complete);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace lexora
