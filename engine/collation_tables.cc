#include "engine/collation_tables.h"

#include "engine/collation.h"

namespace lexora {

// Row = high hex digit of the lower-case character, column = low digit. The zeros of rows
// 4_, 5_, C_ and D_ belong to capitals, which lower-casing moves elsewhere.
const std::array<uint8_t, 256> kLatin1Weights = {
    0,   1,   2,   3,   4,   5,   6,   7,   8,   65,  66,  67,  68,  69,  9,   10,   // 0_
    11,  12,  13,  14,  15,  16,  17,  18,  19,  20,  21,  22,  23,  24,  25,  26,   // 1_
    63,  70,  71,  72,  73,  74,  75,  60,  76,  77,  78,  103, 79,  61,  80,  81,   // 2_
    124, 128, 130, 132, 134, 135, 136, 137, 138, 139, 82,  83,  104, 105, 106, 84,   // 3_
    85,  0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,    // 4_
    0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   86,  87,  88,  89,  90,   // 5_
    91,  141, 158, 160, 164, 168, 178, 180, 182, 184, 194, 196, 198, 200, 202, 206,  // 6_
    221, 223, 225, 227, 230, 234, 244, 246, 248, 250, 255, 92,  93,  94,  95,  27,   // 7_
    28,  29,  30,  31,  32,  33,  34,  35,  36,  37,  38,  39,  40,  41,  42,  43,   // 8_
    44,  45,  46,  47,  48,  49,  50,  51,  52,  53,  54,  55,  56,  57,  58,  59,   // 9_
    64,  96,  112, 113, 114, 115, 97,  116, 98,  117, 142, 108, 118, 62,  119, 99,   // A_
    120, 107, 131, 133, 100, 121, 122, 123, 101, 129, 207, 109, 125, 126, 127, 102,  // B_
    0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,    // C_
    0,   0,   0,   0,   0,   0,   0,   110, 0,   0,   0,   0,   0,   0,   0,   228,  // D_
    146, 144, 148, 152, 150, 154, 156, 162, 172, 170, 174, 176, 188, 186, 190, 192,  // E_
    166, 204, 211, 209, 213, 217, 215, 111, 219, 238, 236, 240, 242, 252, 232, 253,  // F_
};

const std::array<uint8_t, 256>& latin1LoweredWeights() {
  static const std::array<uint8_t, 256> table = [] {
    std::array<uint8_t, 256> t{};
    for (unsigned c = 0; c < 256; ++c) {
      const char16_t lowered = towlowerUnit(static_cast<char16_t>(c));
      // Lower-casing keeps Latin-1 inside Latin-1; guard anyway.
      t[c] = lowered < 256 ? kLatin1Weights[lowered] : kLatin1Weights[c];
    }
    return t;
  }();
  return table;
}

namespace {

constexpr int kColumns = 14;
const char16_t* const kCodes[kColumns] = {u"aa", u"ab", u"ac", u"ea", u"eb", u"i",  u"oa",
                                          u"ob", u"oc", u"ua", u"ub", u"y",  u"da", u"db"};

// Lower-case letters, row (tone) by row; the d and đ of the toned rows repeat row 0 and are
// never reached, since a letter is found at its first place.
constexpr char16_t kLetters[6][kColumns] = {
    {0x0061, 0x0103, 0x00E2, 0x0065, 0x00EA, 0x0069, 0x006F, 0x00F4, 0x01A1, 0x0075, 0x01B0, 0x0079,
     0x0064, 0x0111},
    {0x00E0, 0x1EB1, 0x1EA7, 0x00E8, 0x1EC1, 0x00EC, 0x00F2, 0x1ED3, 0x1EDD, 0x00F9, 0x1EEB, 0x1EF3,
     0x0064, 0x0111},
    {0x00E1, 0x1EAF, 0x1EA5, 0x00E9, 0x1EBF, 0x00ED, 0x00F3, 0x1ED1, 0x1EDB, 0x00FA, 0x1EE9, 0x00FD,
     0x0064, 0x0111},
    {0x1EA3, 0x1EB3, 0x1EA9, 0x1EBB, 0x1EC3, 0x1EC9, 0x1ECF, 0x1ED5, 0x1EDF, 0x1EE7, 0x1EED, 0x1EF7,
     0x0064, 0x0111},
    {0x00E3, 0x1EB5, 0x1EAB, 0x1EBD, 0x1EC5, 0x0129, 0x00F5, 0x1ED7, 0x1EE1, 0x0169, 0x1EEF, 0x1EF9,
     0x0064, 0x0111},
    {0x1EA1, 0x1EB7, 0x1EAD, 0x1EB9, 0x1EC7, 0x1ECB, 0x1ECD, 0x1ED9, 0x1EE3, 0x1EE5, 0x1EF1, 0x1EF5,
     0x0064, 0x0111},
};

// The capital of a letter of the table.
constexpr char16_t capitalOf(char16_t u) {
  if (u >= 0x1E00) return static_cast<char16_t>(u - 1);  // Latin Extended Additional pairs
  if (u < 0x80 || (u >= 0xE0 && u <= 0xFE)) return static_cast<char16_t>(u - 0x20);
  switch (u) {
    case 0x0103:
      return 0x0102;
    case 0x0111:
      return 0x0110;
    case 0x0129:
      return 0x0128;
    case 0x0169:
      return 0x0168;
    case 0x01A1:
      return 0x01A0;
    case 0x01B0:
      return 0x01AF;
  }
  return u;
}

// Entries: 0 for no letter, otherwise (column + 1) | tone << 4.
constexpr char16_t kLowRangeEnd = 0x0200;
constexpr char16_t kHighRangeStart = 0x1EA0;
constexpr char16_t kHighRangeEnd = 0x1F00;

struct LetterIndex {
  std::array<uint8_t, kLowRangeEnd> low{};
  std::array<uint8_t, kHighRangeEnd - kHighRangeStart> high{};

  uint8_t& at(char16_t u) { return u < kLowRangeEnd ? low[u] : high[u - kHighRangeStart]; }
};

const LetterIndex& letterIndex() {
  static const LetterIndex index = [] {
    LetterIndex ix;
    for (int row = 0; row < 6; ++row) {
      for (int col = 0; col < kColumns; ++col) {
        const uint8_t entry = static_cast<uint8_t>((col + 1) | (row << 4));
        for (char16_t u : {kLetters[row][col], capitalOf(kLetters[row][col])}) {
          uint8_t& slot = ix.at(u);
          if (slot == 0) slot = entry;  // first place wins: d and đ stay in row 0
        }
      }
    }
    return ix;
  }();
  return index;
}

}  // namespace

VietnameseLetter vietnameseLetter(char16_t unit) {
  uint8_t entry = 0;
  const LetterIndex& ix = letterIndex();
  if (unit < kLowRangeEnd) {
    entry = ix.low[unit];
  } else if (unit >= kHighRangeStart && unit < kHighRangeEnd) {
    entry = ix.high[unit - kHighRangeStart];
  }
  VietnameseLetter letter;
  if (entry != 0) {
    letter.code = kCodes[(entry & 0x0F) - 1];
    letter.tone = entry >> 4;
  }
  return letter;
}

}  // namespace lexora
