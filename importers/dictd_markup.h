#pragma once
// Turns the texts of a dictd database into this program's entry markup. A database says what
// it is in its own header entries (00-database-short, -url, -info); the shape chosen from them
// decides how the first line of a text is read and which lines are notes or examples:
//
//   gcide      "Ransom \Ran"som\ (r[a^]n"s[u^]m), n. [...]": the respelling in brackets is
//              the pronunciation (the word between backslashes when there is none), word
//              class after it, forms and etymology in brackets (which may wrap); quotations
//              indented below a sense; "{Phrase} (Law), ..." paragraphs are idioms.
//   WordNet    "n 1: gloss; "example" [syn: {a}, {b}]": the word class starts each group of
//              senses; quoted examples and the synonym lists get lines of their own.
//   FreeDict   "run /rʌn/" then "1. fonctionner": pronunciation between slashes.
//   plain text everything else (the Jargon File, FOLDOC, ...): the generic rule.
//
// The generic rule, which every shape builds on: wrapped lines are joined into one paragraph;
// a numbered sense ("1.", "2)", "n 1:", "3:") becomes one meaning line without its number; a
// lettered sub-sense ("(a)") stays a plain line under its sense; source notes such as
// "[1913 Webster]" are dropped; a paragraph indented deeper than the text above it is laid out
// by hand and keeps its lines (gcide: a quotation, an example); "{word}" becomes one link
// word, however many words the target has; every other character is shown as the source has
// it (markup_text.h). Texts without numbered senses give one meaning per paragraph; a
// paragraph with links keeps them on a meaning line. FreeDict's lines are each a line of their
// own: quoted examples with their translations, synonym and "see:" lists. gcide's notation
// for accented letters is decoded. Lines end in CR LF. All texts are standard UTF-8.

#include <string>
#include <string_view>
#include <vector>

namespace lexora::importers {

enum class DictdShape { Generic, Gcide, WordNet, FreeDict };

// The shape a database's header entries describe; empty texts where an entry is missing.
DictdShape dictdShapeFromHeader(std::string_view shortName, std::string_view url,
                                std::string_view info);

const char* dictdShapeName(DictdShape shape);

// One entry: "@headword|pronunciation|", then each text's word class, meanings, examples and
// notes; texts are separated by a blank line. references: headwords that hold texts this
// headword shares with them; they end the entry as one "- See $A$; $B$" line.
std::string dictdEntryMarkup(DictdShape shape, std::string_view headword,
                             const std::vector<std::string_view>& texts,
                             const std::vector<std::string>& references = {});

// "[1913 Webster]", "[WordNet 1.5]", "[PJC]": a line that only says where a text came from.
bool isDictdSourceNote(std::string_view line);

// The bytes of a leading WordNet sense mark ("n 1: ", "adj 2: ", "v : ") and the word class it
// names ("noun", ...); 0 and nullptr when the text does not start with one.
size_t wordNetSenseMark(std::string_view text, const char*& wordClass);

// The title a database gives itself in its 00-database-short entry: the entry's non-blank lines
// after the one that repeats its name, trimmed and joined by spaces.
std::string dictdShortTitle(std::string_view text);

}  // namespace lexora::importers
