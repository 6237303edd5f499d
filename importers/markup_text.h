#pragma once
// Source text written into entry markup so that the page shows every character of it. The
// markup has no escapes, but the page passes a line's plain text through to the viewer, which
// reads character references: "<", ">" and "&" are written as references, and so are the
// marks that would change what a line means ("$" starts a link, "+" an example's translation,
// "|" the pronunciation). Where the walk links every word (an example, a link), only numeric
// references are used: they hold no letters, so the walk passes them through as plain text.
//
// A link's target may have several words: they are joined with no-break spaces (and its
// hyphens written as no-break hyphens), which do not end a link word; a lookup reads them as a
// space and a hyphen again. A target that holds other characters that end a link word ("C++",
// "OS/2", "Perl 5") goes between the link target marks U+FFF9 and U+FFFB instead, which make
// all of it one link word; a source's own marks are dropped.

#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace lexora::importers {

enum class MarkupPlace {
  PlainLine,  // a plain line, an example's translation
  Headword,   // the headword or pronunciation of an "@" line
  Paragraph,  // a word-class, meaning or synonym line, outside its links
  Example,    // an example or idiom line before its "+"
};

// Appends `text` (standard UTF-8; a line end becomes a space) for the given place.
void appendMarkupText(std::string& out, std::string_view text, MarkupPlace place);

// Appends "$target$", or the target between link target marks: one link word on the page that
// looks up the whole target. For a paragraph line.
void appendLinkWord(std::string& out, std::string_view target);

// A plain line must not start like another kind of line: a space goes before such a start.
void startPlainLine(std::string& out, std::string_view text);

// One line of text laid out by hand (code, a table drawn in characters), as a plain line that
// keeps every character and the line's layout: `indent` columns and runs of blanks become
// no-break spaces (a TAB reaching the next multiple of 8), a lone space between words stays.
// A line that would read as a blank line or as another kind of line gets a no-break space in
// front.
void appendPreformattedLine(std::string& out, std::string_view text, int indent);

// An example written "source — translation" (an em dash, an en dash or " - " between them): the
// text before the first such dash and the text after it, untrimmed; nullopt without one.
std::optional<std::pair<std::string_view, std::string_view>> splitExample(std::string_view text);

}  // namespace lexora::importers
