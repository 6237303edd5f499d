#include "importers/dictd_text.h"

#include <algorithm>
#include <cctype>

#include "importers/markup_text.h"

namespace lexora::importers::dictd_text {
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string_view trim(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool containsFolded(std::string_view text, std::string_view what) {
  const auto it =
      std::search(text.begin(), text.end(), what.begin(), what.end(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) ==
               std::tolower(static_cast<unsigned char>(b));
      });
  return it != text.end();
}

bool startsWithFolded(std::string_view text, std::string_view prefix) {
  if (prefix.empty() || text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(text[i])) !=
        std::tolower(static_cast<unsigned char>(prefix[i]))) {
      return false;
    }
  }
  return true;
}

std::vector<Line> splitText(std::string_view text) {
  std::vector<Line> lines;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view raw = text.substr(start, end - start);
    Line line;
    size_t k = 0;
    for (; k < raw.size() && isBlank(raw[k]); ++k) {
      line.indent = raw[k] == '\t' ? (line.indent / 8 + 1) * 8 : line.indent + 1;
    }
    line.text = trim(raw.substr(k));
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

// Joins a wrapped line to its paragraph; runs of blanks inside become one space.
void appendJoined(std::string& to, std::string_view more) {
  if (more.empty()) return;
  if (!to.empty()) to += ' ';
  for (char c : more) {
    if (c == '\t') c = ' ';
    if (c == ' ' && !to.empty() && to.back() == ' ') continue;
    to += c;
  }
}

void appendLinked(std::string& out, std::string_view text) {
  size_t from = 0;
  while (from < text.size()) {
    const size_t open = text.find('{', from);
    const size_t close = open == std::string_view::npos ? open : text.find('}', open + 1);
    if (close == std::string_view::npos) {
      appendUnlinked(out, text.substr(from), false, MarkupPlace::Paragraph);
      return;
    }
    appendUnlinked(out, text.substr(from, open - from), false, MarkupPlace::Paragraph);
    std::string target(trim(text.substr(open + 1, close - open - 1)));
    // A target wrapped at its hyphen ("{Saint-\n Bernard's-lily}") is one word again.
    for (size_t at = 1; (at = target.find("- ", at)) != std::string::npos;) {
      if (std::isalpha(static_cast<unsigned char>(target[at - 1])))
        target.erase(at + 1, 1);
      else
        ++at;
    }
    if (!target.empty()) appendLinkWord(out, target);
    from = close + 1;
  }
}

void appendUnlinked(std::string& out, std::string_view text, bool example, MarkupPlace place) {
  if (example) place = MarkupPlace::Example;
  size_t from = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || text[i] == '{' || text[i] == '}') {
      appendMarkupText(out, text.substr(from, i - from), place);
      from = i + 1;
    }
  }
}

void newLine(std::string& out) { out += "\r\n"; }

}  // namespace lexora::importers::dictd_text
