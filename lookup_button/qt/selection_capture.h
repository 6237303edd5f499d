#pragma once
// Putting the front application's selection on the clipboard, where the main program reads
// the word. On X11 selected text is already published as the PRIMARY selection, so it is
// copied from there; with no selection (or a desktop without one) the clipboard keeps what
// the user copied last.

namespace lexora {

void captureSelection();

}  // namespace lexora
