#include "importers/ripemd128.h"

#include <cstring>
#include <string>

namespace lexora::importers {
namespace {

inline uint32_t rotate(uint32_t x, int n) { return (x << n) | (x >> (32 - n)); }

uint32_t f(int round, uint32_t x, uint32_t y, uint32_t z) {
  switch (round) {
    case 0:
      return x ^ y ^ z;
    case 1:
      return (x & y) | (~x & z);
    case 2:
      return (x | ~y) ^ z;
    default:
      return (x & z) | (y & ~z);
  }
}

constexpr uint8_t kLeftWord[64] = {0, 1,  2,  3,  4,  5,  6,  7, 8,  9, 10, 11, 12, 13, 14, 15,
                                   7, 4,  13, 1,  10, 6,  15, 3, 12, 0, 9,  5,  2,  14, 11, 8,
                                   3, 10, 14, 4,  9,  15, 8,  1, 2,  7, 0,  6,  13, 11, 5,  12,
                                   1, 9,  11, 10, 0,  8,  12, 4, 13, 3, 7,  15, 14, 5,  6,  2};
constexpr uint8_t kRightWord[64] = {5,  14, 7, 0, 9, 2,  11, 4,  13, 6,  15, 8,  1,  10, 3,  12,
                                    6,  11, 3, 7, 0, 13, 5,  10, 14, 15, 8,  12, 4,  9,  1,  2,
                                    15, 5,  1, 3, 7, 14, 6,  9,  11, 8,  12, 2,  10, 0,  4,  13,
                                    8,  6,  4, 1, 3, 11, 15, 0,  5,  12, 2,  13, 9,  7,  10, 14};
constexpr uint8_t kLeftShift[64] = {11, 14, 15, 12, 5,  8,  7,  9,  11, 13, 14, 15, 6,  7,  9,  8,
                                    7,  6,  8,  13, 11, 9,  7,  15, 7,  12, 15, 9,  11, 7,  13, 12,
                                    11, 13, 6,  7,  14, 9,  13, 15, 14, 8,  13, 6,  5,  12, 7,  5,
                                    11, 12, 14, 15, 14, 15, 9,  8,  9,  14, 5,  6,  8,  6,  5,  12};
constexpr uint8_t kRightShift[64] = {8,  9,  9,  11, 13, 15, 15, 5,  7,  7,  8,  11, 14, 14, 12, 6,
                                     9,  13, 15, 7,  12, 8,  9,  11, 7,  7,  12, 7,  6,  15, 13, 11,
                                     9,  7,  15, 11, 8,  6,  6,  14, 12, 13, 5,  14, 13, 13, 7,  5,
                                     15, 5,  8,  11, 14, 14, 6,  14, 6,  9,  12, 9,  12, 5,  15, 8};
constexpr uint32_t kLeftConstant[4] = {0x00000000, 0x5A827999, 0x6ED9EBA1, 0x8F1BBCDC};
constexpr uint32_t kRightConstant[4] = {0x50A28BE6, 0x5C4DD124, 0x6D703EF3, 0x00000000};

void compress(uint32_t h[4], const unsigned char* block) {
  uint32_t x[16];
  for (size_t i = 0; i < 16; ++i) {
    x[i] = block[4 * i] | (block[4 * i + 1] << 8) | (block[4 * i + 2] << 16) |
           (static_cast<uint32_t>(block[4 * i + 3]) << 24);
  }
  uint32_t a = h[0], b = h[1], c = h[2], d = h[3];
  uint32_t ar = h[0], br = h[1], cr = h[2], dr = h[3];
  for (int j = 0; j < 64; ++j) {
    const int round = j / 16;
    uint32_t t =
        rotate(a + f(round, b, c, d) + x[kLeftWord[j]] + kLeftConstant[round], kLeftShift[j]);
    a = d;
    d = c;
    c = b;
    b = t;
    t = rotate(ar + f(3 - round, br, cr, dr) + x[kRightWord[j]] + kRightConstant[round],
               kRightShift[j]);
    ar = dr;
    dr = cr;
    cr = br;
    br = t;
  }
  const uint32_t t = h[1] + c + dr;
  h[1] = h[2] + d + ar;
  h[2] = h[3] + a + br;
  h[3] = h[0] + b + cr;
  h[0] = t;
}

}  // namespace

std::array<uint8_t, 16> ripemd128(std::string_view data) {
  uint32_t h[4] = {0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476};
  size_t at = 0;
  for (; data.size() - at >= 64; at += 64) {
    compress(h, reinterpret_cast<const unsigned char*>(data.data()) + at);
  }
  // The rest, a 1 bit, zeros, and the length in bits (little-endian) in the last 8 bytes.
  unsigned char tail[128] = {};
  const size_t rest = data.size() - at;
  std::memcpy(tail, data.data() + at, rest);
  tail[rest] = 0x80;
  const size_t blocks = rest < 56 ? 1 : 2;
  const uint64_t bits = static_cast<uint64_t>(data.size()) * 8;
  for (int i = 0; i < 8; ++i)
    tail[blocks * 64 - 8 + i] = static_cast<unsigned char>(bits >> (8 * i));
  for (size_t k = 0; k < blocks; ++k) compress(h, tail + 64 * k);
  std::array<uint8_t, 16> out;
  for (int i = 0; i < 16; ++i) out[i] = static_cast<uint8_t>(h[i / 4] >> (8 * (i % 4)));
  return out;
}

}  // namespace lexora::importers
