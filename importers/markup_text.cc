#include "importers/markup_text.h"

#include <algorithm>

namespace lexora::importers {
namespace {

constexpr char kNoBreakSpace[] = "\xC2\xA0";         // U+00A0
constexpr char kNoBreakHyphen[] = "\xE2\x80\x91";    // U+2011
constexpr char kLinkTargetOpen[] = "\xEF\xBF\xB9";   // U+FFF9
constexpr char kLinkTargetClose[] = "\xEF\xBF\xBB";  // U+FFFB

// The characters that end a link word in the walk (ASCII only).
bool endsLinkWord(char c) {
  return std::string_view("<>?:\"{}|+)(*&^%$#@!~,./;[]\\=-0123456789 ").find(c) !=
         std::string_view::npos;
}

// The reference written for c at this place, or nullptr when c goes in as it is.
const char* referenceFor(char c, MarkupPlace place) {
  const bool numeric = place == MarkupPlace::Example;
  switch (c) {
    case '<':
      return numeric ? "&#60;" : "&lt;";
    case '>':
      return numeric ? "&#62;" : "&gt;";
    case '&':
      return numeric ? "&#38;" : "&amp;";
    case '$':
      return place == MarkupPlace::Paragraph || numeric ? "&#36;" : nullptr;
    case '+':
      return numeric ? "&#43;" : nullptr;
    case '|':
      return place == MarkupPlace::Headword ? "&#124;" : nullptr;
    default:
      return nullptr;
  }
}

// U+FFF9 to U+FFFB, which frame a link target in the markup: a source's own are dropped.
bool isLinkTargetMark(std::string_view text, size_t i) {
  return text.compare(i, 2, "\xEF\xBF") == 0 && i + 2 < text.size() &&
         static_cast<unsigned char>(text[i + 2]) >= 0xB9 &&
         static_cast<unsigned char>(text[i + 2]) <= 0xBB;
}

// Whether the target, its blanks and hyphens joined, is still more than one link word.
bool needsLinkTarget(std::string_view target) {
  for (size_t i = 0; i < target.size(); ++i) {
    const char c = target[i];
    const bool joins = i > 0 && i + 1 < target.size() && !endsLinkWord(target[i - 1]) &&
                       !endsLinkWord(target[i + 1]);
    if (endsLinkWord(c) && !((c == ' ' || c == '-') && joins)) return true;
  }
  return false;
}

// "\uFFF9target\uFFFB": one link word, whatever the target holds.
void appendLinkTarget(std::string& out, std::string_view target) {
  out += kLinkTargetOpen;
  for (size_t from = 0; from <= target.size();) {
    const size_t quote = std::min(target.find('"', from), target.size());
    appendMarkupText(out, target.substr(from, quote - from), MarkupPlace::PlainLine);
    if (quote < target.size()) out += "&quot;";
    from = quote + 1;
  }
  out += kLinkTargetClose;
}

}  // namespace

void appendMarkupText(std::string& out, std::string_view text, MarkupPlace place) {
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (isLinkTargetMark(text, i)) {
      i += 2;
    } else if (c == '\r' || c == '\n') {
      out += ' ';
    } else if (const char* reference = referenceFor(c, place)) {
      out += reference;
    } else {
      out += c;
    }
  }
}

void appendLinkWord(std::string& out, std::string_view target) {
  if (needsLinkTarget(target)) {
    appendLinkTarget(out, target);
    return;
  }
  out += '$';
  for (size_t i = 0; i < target.size(); ++i) {
    const char c = target[i];
    const bool joins = i > 0 && i + 1 < target.size() && !endsLinkWord(target[i - 1]) &&
                       !endsLinkWord(target[i + 1]);
    if (c == ' ' && joins) {
      out += kNoBreakSpace;
    } else if (c == '-' && joins) {
      out += kNoBreakHyphen;
    } else {
      // Inside the link marks letters are linked: only numeric references will do.
      appendMarkupText(out, target.substr(i, 1), MarkupPlace::Example);
    }
  }
  out += '$';
}

void appendPreformattedLine(std::string& out, std::string_view text, int indent) {
  std::string line;
  int column = 0;
  auto space = [&](int n) {
    for (; n > 0; --n, ++column) line += kNoBreakSpace;
  };
  space(indent);
  const auto blank = [&](size_t k) {
    return k < text.size() && (text[k] == ' ' || text[k] == '\t');
  };
  size_t units = static_cast<size_t>(indent);  // UTF-16 units of the line
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\t') {
      units += static_cast<size_t>(8 - column % 8);
      space(8 - column % 8);
    } else if (c == ' ' && (i == 0 || blank(i - 1) || blank(i + 1))) {
      ++units;
      space(1);
    } else {
      const auto byte = static_cast<unsigned char>(c);
      if ((byte & 0xC0) != 0x80) {
        ++column;
        units += byte >= 0xF0 ? 2 : 1;
      }
      appendMarkupText(line, text.substr(i, 1), MarkupPlace::PlainLine);
    }
  }
  if (units < 2 || std::string_view("@*-#=!").find(line.front()) != std::string_view::npos)
    out += kNoBreakSpace;
  out += line;
}

void startPlainLine(std::string& out, std::string_view text) {
  if (!text.empty() && std::string_view("@*-#=!").find(text.front()) != std::string_view::npos)
    out += ' ';
}

std::optional<std::pair<std::string_view, std::string_view>> splitExample(std::string_view text) {
  for (std::string_view dash : {" \xE2\x80\x94 ", " \xE2\x80\x93 ", " - "}) {  // — – -
    const size_t at = text.find(dash);
    if (at != std::string_view::npos) {
      return std::pair{text.substr(0, at), text.substr(at + dash.size())};
    }
  }
  return std::nullopt;
}

}  // namespace lexora::importers
