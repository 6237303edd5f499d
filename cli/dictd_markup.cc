#include "cli/dictd_markup.h"

namespace lexora::cli {
namespace {

constexpr char16_t kFullwidthDollar = 0xFF04;

std::u16string_view trim(std::u16string_view line) {
  const auto isSpace = [](char16_t c) { return c == u' ' || c == u'\t' || c == u'\r'; };
  while (!line.empty() && isSpace(line.front())) line.remove_prefix(1);
  while (!line.empty() && isSpace(line.back())) line.remove_suffix(1);
  return line;
}

std::vector<std::u16string_view> splitLines(std::u16string_view text) {
  std::vector<std::u16string_view> lines;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(u'\n', start);
    if (end == std::u16string_view::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

}  // namespace

std::u16string dictdEntryMarkup(std::u16string_view headword,
                                const std::vector<std::u16string>& texts,
                                const std::vector<std::u16string>& references) {
  std::u16string out = u"@";
  out += headword;
  bool firstText = true;
  for (const std::u16string& text : texts) {
    std::vector<std::u16string_view> lines = splitLines(text);
    // Leading and trailing blank lines of a text carry nothing.
    size_t first = 0;
    size_t last = lines.size();
    while (first < last && trim(lines[first]).empty()) ++first;
    while (last > first && trim(lines[last - 1]).empty()) --last;
    if (first == last) continue;
    if (!firstText) out += u"\r\n";  // a blank line between two texts
    firstText = false;
    bool inReference = false;
    for (size_t i = first; i < last; ++i) {
      const std::u16string_view line = trim(lines[i]);
      out += u"\r\n";
      if (line.empty()) continue;
      out += u"- ";
      // A link span does not carry over a line end: reopen it on the next line.
      if (inReference) out += u'$';
      for (char16_t c : line) {
        if (c == u'{') {
          if (!inReference) out += u'$';
          inReference = true;
        } else if (c == u'}') {
          if (inReference) out += u'$';
          inReference = false;
        } else if (c == u'$') {
          out += kFullwidthDollar;
        } else {
          out += c;
        }
      }
    }
  }
  if (!references.empty()) {
    if (!firstText) out += u"\r\n";
    out += u"\r\n- See ";
    for (size_t i = 0; i < references.size(); ++i) {
      if (i > 0) out += u"; ";
      out += u'$';
      for (char16_t c : references[i]) out += c == u'$' ? kFullwidthDollar : c;
      out += u'$';
    }
  }
  return out;
}

std::u16string dictdShortTitle(std::u16string_view text) {
  std::u16string title;
  bool first = true;
  for (std::u16string_view line : splitLines(text)) {
    line = trim(line);
    if (line.empty()) continue;
    if (first && (line.rfind(u"00-database-", 0) == 0 || line.rfind(u"00database", 0) == 0)) {
      first = false;
      continue;
    }
    first = false;
    if (!title.empty()) title += u' ';
    title += line;
  }
  return title;
}

}  // namespace lexora::cli
