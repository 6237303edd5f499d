#pragma once
// The RIPEMD-128 hash (a published 128-bit hash; no Debian library offers it), which keys the
// scrambling of MDict key indexes.

#include <array>
#include <cstdint>
#include <string_view>

namespace lexora::importers {

std::array<uint8_t, 16> ripemd128(std::string_view data);

}  // namespace lexora::importers
