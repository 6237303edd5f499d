#pragma once
// Standard UTF-8 for arguments, terminal output and imported sources: a surrogate pair is one
// 4-byte sequence, a lone surrogate prints as U+FFFD, malformed input bytes read as U+FFFD. Not the
// dictionary files' encoding (see engine/utf8_codec.h).

#include <string>
#include <string_view>

namespace lexora {

std::u16string fromUtf8(std::string_view text);
std::string toUtf8(std::u16string_view text);
// toUtf8(text) appended to out, without a string of its own.
void appendUtf8(std::string& out, std::u16string_view text);

}  // namespace lexora
