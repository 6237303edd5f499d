#include "cli/terminal_text.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <iostream>

namespace lexora::cli {
namespace {

void appendEscape(std::string& out, const char* format, unsigned value) {
  char text[8];
  std::snprintf(text, sizeof text, format, value);
  out += text;
}

// Bytes of the UTF-8 character that `lead` starts (0: no lead byte).
size_t sequenceLength(unsigned char lead) {
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

std::string escaped(std::string_view utf8, bool keepLineEnds, bool controls) {
  std::string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    if (c == '\n' || c == '\r') {
      if (keepLineEnds && (c == '\n' || !controls)) {
        out += static_cast<char>(c);
      } else {
        out += c == '\n' ? "\\n" : "\\r";
      }
      ++i;
    } else if (c < 0x20 || c == 0x7F) {
      if (controls && c != '\t') {
        appendEscape(out, "\\x%02x", c);
      } else {
        out += static_cast<char>(c);
      }
      ++i;
    } else if (c < 0x80) {
      out += static_cast<char>(c);
      ++i;
    } else {
      size_t n = sequenceLength(c);
      for (size_t k = 1; k < n; ++k) {
        if (i + k >= utf8.size() || (static_cast<unsigned char>(utf8[i + k]) & 0xC0) != 0x80) n = 0;
      }
      if (!controls) n = std::max<size_t>(n, 1);
      if (n == 0) {
        appendEscape(out, "\\x%02x", c);  // a stray byte: some terminals read 0x9b as CSI
        ++i;
      } else if (controls && n == 2 && c == 0xC2 &&
                 static_cast<unsigned char>(utf8[i + 1]) < 0xA0) {
        appendEscape(out, "\\u%04x", static_cast<unsigned char>(utf8[i + 1]));
        i += 2;
      } else {
        out.append(utf8.substr(i, n));
        i += n;
      }
    }
  }
  return out;
}

}  // namespace

std::string visibleControls(std::string_view utf8) { return escaped(utf8, true, true); }

std::string entryWithVisibleControls(std::string_view markup) {
  std::string out;
  out.reserve(markup.size());
  for (size_t start = 0;;) {
    const size_t end = markup.find("\r\n", start);
    out += visibleControls(markup.substr(start, end == std::string_view::npos ? end : end - start));
    if (end == std::string_view::npos) return out;
    out += "\r\n";
    start = end + 2;
  }
}

std::string oneLine(std::string_view utf8, bool terminal) { return escaped(utf8, false, terminal); }

bool writesToTerminal(const CommandIo& io) {
  return &io.out == &std::cout && ::isatty(STDOUT_FILENO) == 1;
}

}  // namespace lexora::cli
