#pragma once
// Turns dictd entry texts into this program's entry markup: a headword line "@word", then one
// meaning line "- ..." per non-blank text line and a blank line for each blank one. A
// cross-reference, a {braced} text, becomes a "$...$" link span (a brace may close on a later
// line); a literal "$" becomes U+FF04 (fullwidth dollar sign) since "$" marks links. Several
// texts of one headword follow each other, separated by a blank line. Lines end in CR LF.

#include <string>
#include <string_view>
#include <vector>

namespace lexora::cli {

// references: headwords whose entries hold texts that this headword shares with them; they
// end the entry as one "- See $A$; $B$" line.
std::u16string dictdEntryMarkup(std::u16string_view headword,
                                const std::vector<std::u16string>& texts,
                                const std::vector<std::u16string>& references = {});

// The title a database gives itself in its 00-database-short entry: the entry's non-blank lines
// after the one that repeats its name, trimmed and joined by spaces.
std::u16string dictdShortTitle(std::u16string_view text);

}  // namespace lexora::cli
