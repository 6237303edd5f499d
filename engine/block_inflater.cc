#include "engine/block_inflater.h"

#include <libdeflate.h>
#include <zlib.h>

#include <climits>

namespace lexora {

struct BlockInflater::State {
  libdeflate_decompressor* whole = nullptr;
  z_stream stream{};
  bool streamReady = false;  // inflateInit succeeded; later uses only reset it

  ~State() {
    if (whole != nullptr) libdeflate_free_decompressor(whole);
    if (streamReady) inflateEnd(&stream);
  }
};

BlockInflater::BlockInflater() : state_(std::make_unique<State>()) {}

BlockInflater::~BlockInflater() = default;

bool BlockInflater::inflateWhole(const uint8_t* in, size_t inLength, uint8_t* out, size_t capacity,
                                 uint32_t& length) {
  length = 0;
  if (state_->whole == nullptr) {
    state_->whole = libdeflate_alloc_decompressor();
    if (state_->whole == nullptr) return false;
  }
  size_t produced = 0;
  if (libdeflate_zlib_decompress(state_->whole, in, inLength, out, capacity, &produced) !=
      LIBDEFLATE_SUCCESS) {
    return false;
  }
  length = static_cast<uint32_t>(produced);
  return true;
}

bool BlockInflater::inflatePrefix(const uint8_t* in, size_t inLength, uint8_t* out, uint32_t wanted,
                                  uint32_t& length, bool& complete) {
  length = 0;
  complete = false;
  if (inLength > UINT_MAX) return false;
  z_stream& s = state_->stream;
  if (!state_->streamReady) {
    s = z_stream{};
    if (inflateInit(&s) != Z_OK) return false;
    state_->streamReady = true;
  } else if (inflateReset(&s) != Z_OK) {
    return false;
  }
  s.next_in = const_cast<Bytef*>(in);
  s.avail_in = static_cast<uInt>(inLength);
  s.next_out = out;
  s.avail_out = wanted;
  // One call runs until the output is full, the stream ends, or the input runs out.
  const int result = wanted == 0 ? Z_OK : inflate(&s, Z_FINISH);
  length = wanted - s.avail_out;
  if (result == Z_STREAM_END) {
    complete = true;
    return true;
  }
  // Z_BUF_ERROR with output room left means the input ended inside the stream.
  if ((result == Z_OK || result == Z_BUF_ERROR) && s.avail_out == 0) return true;
  length = 0;
  return false;
}

}  // namespace lexora
