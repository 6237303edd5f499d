#pragma once
// The plain-text pieces the dictd converters are built from: trimming and folded comparison of
// ASCII text, splitting a source text into indented lines, and writing text into entry markup
// lines (wrapped lines joined, "{word}" as links, every other character shown as it is).

#include <string>
#include <string_view>
#include <vector>

#include "importers/markup_text.h"

namespace lexora::importers::dictd_text {

bool isBlank(char c);  // space, TAB or CR
std::string_view trim(std::string_view s);
bool containsFolded(std::string_view text, std::string_view what);      // ASCII case folded
bool startsWithFolded(std::string_view text, std::string_view prefix);  // ASCII case folded

struct Line {
  std::string_view text;  // without its indentation and trailing blanks
  int indent = 0;         // in columns, a TAB reaching the next multiple of 8
};
std::vector<Line> splitText(std::string_view text);

// Joins a wrapped line to its paragraph; runs of blanks inside become one space.
void appendJoined(std::string& to, std::string_view more);
// Text for a line that takes links: "{a b}" becomes the link word "a b".
void appendLinked(std::string& out, std::string_view text);
// Text for a plain line or an example, where nothing is linked: the braces go.
void appendUnlinked(std::string& out, std::string_view text, bool example,
                    MarkupPlace place = MarkupPlace::PlainLine);
void newLine(std::string& out);  // CR LF

}  // namespace lexora::importers::dictd_text
