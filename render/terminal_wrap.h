#pragma once
// Lines of a drawn entry folded to a terminal's width. A line that runs past the width breaks
// at spaces, and its continuation lines start under the text after the line's marker (the
// leading spaces plus "12. ", "• ", "◆ ", "→ " or "≈ "), so numbered meanings and examples keep
// their hanging indent. Colour and style escapes take no columns; a word longer than the room
// left stays whole on a line of its own.

#include <string>
#include <string_view>

namespace lexora {

// Folds every line of `text` to at most `width` columns (a width below 20 is taken as 20).
std::u16string wrapForTerminal(std::u16string_view text, int width);

// The columns `text` takes on a terminal: escapes and combining marks take none, wide East
// Asian characters two.
int terminalColumns(std::u16string_view text);

}  // namespace lexora
