#pragma once
// An entry drawn for a terminal: headword in bold with its pronunciation between slashes, word
// classes, numbered meanings, examples and idioms with their translations, synonyms. With
// `ansi` set, each element carries its display style as 24-bit ANSI colour, bold and italic;
// otherwise the text is plain. Hidden paragraph elements are left out either way.

#include <string>
#include <string_view>
#include <vector>

#include "render/display_settings.h"
#include "render/entry_outline.h"

namespace lexora {

// Appends the drawn entry to `out`; every line ends with '\n'.
void renderEntryForTerminal(std::u16string_view entryText, const DisplaySettings& settings,
                            bool ansi, std::u16string& out);
// The same, with the entry's outline built in `lines` (kept by a caller that draws many
// entries, so their memory serves again).
void renderEntryForTerminal(std::u16string_view entryText, const DisplaySettings& settings,
                            bool ansi, std::u16string& out, std::vector<OutlineLine>& lines);

}  // namespace lexora
