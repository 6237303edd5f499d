#include "render/terminal_wrap.h"

#include <algorithm>

namespace lexora {
namespace {

constexpr int kNarrowest = 20;

bool isCombining(char16_t c) {
  return (c >= 0x0300 && c <= 0x036F) || (c >= 0x1AB0 && c <= 0x1AFF) ||
         (c >= 0x1DC0 && c <= 0x1DFF) || (c >= 0x20D0 && c <= 0x20FF) || c == 0x200B ||
         c == 0x200D || (c >= 0xFE20 && c <= 0xFE2F);
}

bool isWide(char16_t c) {
  return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) ||
         (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
         (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
         (c >= 0xFFE0 && c <= 0xFFE6);
}

// Length of the escape sequence at `at` ("ESC [ ... final"), 0 when none starts there.
size_t escapeLength(std::u16string_view s, size_t at) {
  if (s[at] != 0x1B) return 0;
  size_t k = at + 1;
  if (k < s.size() && s[k] == u'[') {
    ++k;
    while (k < s.size() && !(s[k] >= 0x40 && s[k] <= 0x7E)) ++k;
  }
  return std::min(k + 1, s.size()) - at;
}

int columnsOf(char16_t c) {
  if (c >= 0xDC00 && c <= 0xDFFF) return 0;  // the second half of a pair was counted
  if (isCombining(c)) return 0;
  return isWide(c) ? 2 : 1;
}

// The column where a line's text starts after its leading spaces and marker.
int hangingIndent(std::u16string_view line) {
  size_t k = 0;
  int column = 0;
  auto skipEscapes = [&] {
    while (k < line.size()) {
      const size_t n = escapeLength(line, k);
      if (n == 0) break;
      k += n;
    }
  };
  skipEscapes();
  while (k < line.size() && line[k] == u' ') {
    ++k;
    ++column;
  }
  skipEscapes();
  size_t digits = 0;
  while (k + digits < line.size() && line[k + digits] >= u'0' && line[k + digits] <= u'9') {
    ++digits;
  }
  if (digits > 0 && k + digits + 1 < line.size() && line[k + digits] == u'.' &&
      line[k + digits + 1] == u' ') {
    return column + static_cast<int>(digits) + 2;
  }
  static constexpr std::u16string_view kMarkers = u"\u2022\u25c6\u2192\u2248-";
  if (k + 1 < line.size() && kMarkers.find(line[k]) != std::u16string_view::npos &&
      line[k + 1] == u' ') {
    return column + 2;
  }
  return column;
}

void wrapLine(std::u16string_view line, int width, std::u16string& out) {
  if (terminalColumns(line) <= width) {
    out.append(line);
    return;
  }
  const int indent = std::min(hangingIndent(line), width / 2);
  int column = 0;
  size_t k = 0;
  bool lineHasWord = false;
  while (k < line.size()) {
    // One word (with the escapes inside it), then the spaces after it.
    size_t end = k;
    int wordColumns = 0;
    while (end < line.size() && line[end] != u' ') {
      const size_t n = escapeLength(line, end);
      if (n > 0) {
        end += n;
        continue;
      }
      wordColumns += columnsOf(line[end]);
      ++end;
    }
    if (lineHasWord && column + wordColumns > width) {
      while (!out.empty() && out.back() == u' ') out.pop_back();
      out.push_back(u'\n');
      out.append(static_cast<size_t>(indent), u' ');
      column = indent;
    }
    out.append(line.substr(k, end - k));
    column += wordColumns;
    // The marker before the hanging indent ("12.") is no place to break after.
    lineHasWord = lineHasWord || (wordColumns > 0 && column > indent);
    k = end;
    while (k < line.size() && line[k] == u' ') {
      out.push_back(u' ');
      ++column;
      ++k;
    }
  }
}

}  // namespace

int terminalColumns(std::u16string_view text) {
  int columns = 0;
  for (size_t k = 0; k < text.size();) {
    const size_t n = escapeLength(text, k);
    if (n > 0) {
      k += n;
      continue;
    }
    columns += columnsOf(text[k]);
    ++k;
  }
  return columns;
}

std::u16string wrapForTerminal(std::u16string_view text, int width) {
  width = std::max(width, kNarrowest);
  std::u16string out;
  out.reserve(text.size() + text.size() / 16);
  size_t start = 0;
  while (start < text.size()) {
    const size_t newline = text.find(u'\n', start);
    const size_t end = newline == std::u16string_view::npos ? text.size() : newline;
    wrapLine(text.substr(start, end - start), width, out);
    if (newline == std::u16string_view::npos) break;
    out.push_back(u'\n');
    start = newline + 1;
  }
  return out;
}

}  // namespace lexora
