#pragma once
// An entry drawn for a terminal: headword in bold with its pronunciation between slashes, word
// classes, numbered meanings, examples and idioms with their translations, synonyms. With
// `ansi` set, each element carries its display style as 24-bit ANSI colour, bold and italic;
// otherwise the text is plain. Hidden paragraph elements are left out either way.

#include <string>
#include <string_view>

#include "render/display_settings.h"

namespace lexora {

// Appends the drawn entry to `out`; every line ends with '\n'.
void renderEntryForTerminal(std::u16string_view entryText, const DisplaySettings& settings,
                            bool ansi, std::u16string& out);

}  // namespace lexora
