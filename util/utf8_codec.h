#pragma once
// The on-disk text encoding of headwords and meanings: UTF-8 written one UTF-16 unit at a
// time (surrogates included), read back with sequences of 1 to 6 bytes.
// This is not standard UTF-8; use it only for dictionary files.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lexora {

// Every unit becomes 1, 2 or 3 bytes. No terminator.
std::string utf8Encode(std::u16string_view text);

// Number of bytes utf8Encode would produce.
size_t utf8EncodedLength(std::u16string_view text);

// The text, or nullopt when it is not readable (empty, or a malformed sequence).
// A zero byte in the place of a lead byte ends the text there.
std::optional<std::u16string> utf8Decode(const uint8_t* bytes, size_t length);

// utf8Decode into a caller's string (its capacity is reused). False, with out cleared, when
// the text is not readable.
bool utf8DecodeInto(const uint8_t* bytes, size_t length, std::u16string& out);

}  // namespace lexora
