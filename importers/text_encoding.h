#pragma once
// Source texts in other encodings than UTF-8 (UTF-16 with or without its byte-order mark,
// Windows code pages, GBK, Big5) converted to standard UTF-8 through iconv. Bytes that are not
// text in the given encoding become U+FFFD; a conversion never fails half-way.

#include <string>
#include <string_view>

#include "util/status.h"

namespace lexora::importers {

// `bytes` in `charset` (an iconv name: "UTF-16LE", "CP1251", "GBK", ...) as UTF-8 in `text`.
// Fails only for a charset that iconv does not know.
Status convertToUtf8(std::string_view bytes, const char* charset, std::string& text);

// The encoding of a text file read whole: "UTF-16LE" or "UTF-16BE" when it starts with their
// byte-order mark or has NULs at most odd (or even) positions, else "UTF-8". `markLength` gets
// the length of the byte-order mark (0 when there is none).
const char* guessUnicodeEncoding(std::string_view bytes, size_t& markLength);

}  // namespace lexora::importers
