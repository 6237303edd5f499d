#pragma once
// The text of a DSL dictionary source: its directives ("#NAME", "#INDEX_LANGUAGE", ...), its
// cards (headword lines, then indented body lines), and the headword lines' own syntax:
// "{unsorted parts}" that are shown but not looked up, "(optional parts)" that give one
// headword with and one without them, and backslash escapes.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "util/status.h"

namespace lexora::importers {

struct DslCard {
  std::vector<std::string_view> headwords;  // the headword lines, as written
  std::vector<std::string_view> body;       // the body lines, their leading blanks kept
  size_t line = 0;                          // of the first headword, from 1
};

struct DslInclude {
  std::string name;  // as written: a path relative to the including file's folder
  size_t line = 0;   // of the directive, from 1
};

struct DslText {
  std::string text;  // standard UTF-8, comments removed
  std::string name;
  std::string indexLanguage;
  std::string contentsLanguage;
  std::vector<DslCard> cards;        // point into `text`
  std::vector<DslInclude> includes;  // the "#INCLUDE" directives, in order
};

// Decodes a whole DSL file (UTF-16LE/BE with or without its mark, UTF-8, or the code page a
// "#SOURCE_CODE_PAGE" names), drops "{{comments}}" and cuts it into directives and cards.
Status parseDslText(std::string_view bytes, DslText& dsl);

struct DslHeadword {
  std::string shown;              // unsorted parts without braces, optional parts in parentheses
  std::string full;               // what "~" stands for: no unsorted parts, every optional part
  std::vector<std::string> keys;  // the forms looked up, each once
};

// One headword line (also the text after a sub-card's "@").
DslHeadword parseDslHeadword(std::string_view line);

// The text with its backslash escapes resolved.
std::string unescapeDsl(std::string_view text);

// A language name of the directives ("English", "GermanNewSpelling") as a tag ("en", "de");
// empty for one it does not know.
std::string dslLanguageTag(std::string_view name);

}  // namespace lexora::importers
