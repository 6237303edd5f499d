#pragma once
// The fixed tables behind the word orders: the Western European weights and the Vietnamese
// letter table. Internal to the engine; collation.h is the public face.

#include <array>
#include <cstdint>

namespace lexora {

// The raw weight table, indexed by a lower-case Latin-1 character (0 where a capital sits).
extern const std::array<uint8_t, 256> kLatin1Weights;

// Weight of each Latin-1 unit after lower-casing it, built once from kLatin1Weights.
const std::array<uint8_t, 256>& latin1LoweredWeights();

// One Vietnamese letter's place in the letter table.
struct VietnameseLetter {
  const char16_t* code = nullptr;  // its column's code ("aa", "ab", ... "db"); null: no letter
  int tone = 0;                    // its row, 0 ... 5
};

// The letter table entry of unit, in either case; code is null for any other unit.
VietnameseLetter vietnameseLetter(char16_t unit);

}  // namespace lexora
