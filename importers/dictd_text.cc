#include "importers/dictd_text.h"

#include <algorithm>
#include <cctype>

namespace lexora::importers::dictd_text {
namespace {

constexpr char kFullwidthDollar[] = "\xEF\xBC\x84";  // U+FF04
constexpr char kFullwidthPlus[] = "\xEF\xBC\x8B";    // U+FF0B

}  // namespace

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

// Text for a line that takes links: braces become link marks, "$" its fullwidth twin.
void appendLinked(std::string& out, std::string_view text) {
  for (char c : text) {
    if (c == '{' || c == '}') {
      out += '$';
    } else if (c == '$') {
      out += kFullwidthDollar;
    } else if (c == '\n' || c == '\r') {
      out += ' ';
    } else {
      out += c;
    }
  }
}

// A plain line must not start like another kind of line.
void startPlainLine(std::string& out, std::string_view text) {
  if (!text.empty() && std::string_view("@*-#=!").find(text.front()) != std::string_view::npos)
    out += ' ';
}

// Text for a plain line or an example: no link marks. In an example "+" would start the
// translation, so it becomes its fullwidth twin.
void appendUnlinked(std::string& out, std::string_view text, bool example) {
  for (char c : text) {
    if (c == '{' || c == '}') continue;
    if (c == '$') {
      out += kFullwidthDollar;
    } else if (example && c == '+') {
      out += kFullwidthPlus;
    } else if (c == '\n' || c == '\r') {
      out += ' ';
    } else {
      out += c;
    }
  }
}

void newLine(std::string& out) { out += "\r\n"; }

}  // namespace lexora::importers::dictd_text
