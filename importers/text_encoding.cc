#include "importers/text_encoding.h"

#include <errno.h>
#include <iconv.h>

#include <algorithm>

namespace lexora::importers {

Status convertToUtf8(std::string_view bytes, const char* charset, std::string& text) {
  text.clear();
  iconv_t cd = ::iconv_open("UTF-8", charset);
  // iconv's own error value is (iconv_t)-1.
  // NOLINTNEXTLINE(performance-no-int-to-ptr)
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    return Status::invalidArgument(std::string("the text encoding ") + charset +
                                   " is not one this system converts");
  }
  // A character of a 2-byte encoding is 2 bytes; a damaged one is skipped that far.
  const std::string_view name(charset);
  const size_t unit = name.rfind("UTF-16", 0) == 0 ? 2 : 1;
  text.reserve(bytes.size() + bytes.size() / 2);
  char* in = const_cast<char*>(bytes.data());
  size_t inLeft = bytes.size();
  char buffer[16384];
  while (inLeft > 0) {
    char* out = buffer;
    size_t outLeft = sizeof buffer;
    const size_t done = ::iconv(cd, &in, &inLeft, &out, &outLeft);
    text.append(buffer, static_cast<size_t>(out - buffer));
    if (done != static_cast<size_t>(-1)) break;
    if (errno == E2BIG) continue;
    // EILSEQ or EINVAL (cut short at the end): a replacement character, then go on.
    text += "\xEF\xBF\xBD";
    const size_t skip = std::min(inLeft, unit);
    in += skip;
    inLeft -= skip;
    ::iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  ::iconv_close(cd);
  return Status::ok();
}

const char* guessUnicodeEncoding(std::string_view bytes, size_t& markLength) {
  markLength = 0;
  if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
    markLength = 2;
    return "UTF-16LE";
  }
  if (bytes.size() >= 2 && bytes[0] == '\xFE' && bytes[1] == '\xFF') {
    markLength = 2;
    return "UTF-16BE";
  }
  if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") {
    markLength = 3;
    return "UTF-8";
  }
  // Without a mark: text of Latin or Cyrillic letters in UTF-16 has a NUL in most units.
  const size_t sample = std::min<size_t>(bytes.size() & ~size_t{1}, 4096);
  size_t odd = 0;
  size_t even = 0;
  for (size_t i = 0; i < sample; i += 2) {
    even += bytes[i] == '\0';
    odd += bytes[i + 1] == '\0';
  }
  const size_t units = sample / 2;
  if (units > 0 && odd * 3 > units && even * 8 < odd) return "UTF-16LE";
  if (units > 0 && even * 3 > units && odd * 8 < even) return "UTF-16BE";
  return "UTF-8";
}

}  // namespace lexora::importers
