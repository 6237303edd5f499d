#pragma once
// The body of a DSL card as entry markup. Each body line becomes one line of the entry:
// a line that is all example ("[ex]...[/ex]") an example line, its translation after a dash
// going behind the "+"; a line of labels only ("[p]n[/p]") a word-class line, the labels
// expanded with the abbreviations; any other a meaning line, indented by no-break spaces for
// "[m2]" and deeper. "[ref]" and "<<...>>" targets are links, a multi-word target joined
// with no-break spaces into one link word; the first "[t]" is the pronunciation; "[s]" files
// are handed to the caller; other tags keep their text and lose their looks. Tags left open or
// closed out of order end with their line.

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace lexora::importers {

struct DslBodyContext {
  std::string headword;  // what "~" stands for
  std::string shown;     // the title; a first line that repeats it is left out
  const std::map<std::string, std::string, std::less<>>* abbreviations = nullptr;
  // A media file that an "[s]" tag names; returns the entry markup line that shows it, or
  // an empty text to leave it out.
  std::function<std::string(std::string_view file)> media;
};

struct DslBodyMarkup {
  std::string pronunciation;  // from the first "[t]"
  std::vector<std::string> lines;
};

// Converts body lines (their leading blanks and "[m]" tags included) into entry lines.
void convertDslBody(const std::vector<std::string_view>& body, const DslBodyContext& context,
                    DslBodyMarkup& out);

// The whole entry: "@shown|pronunciation|" and the lines.
std::string dslEntryMarkup(std::string_view shown, const DslBodyMarkup& body);

// The plain text of a body (tags dropped, lines joined by "; "): an abbreviation's meaning.
std::string dslPlainText(const std::vector<std::string_view>& body);

// An idiom line that names and links a sub-card's headword.
std::string dslSubCardLine(std::string_view shown);

}  // namespace lexora::importers
