#pragma once
// The program's own pictures for the menu bar, the history tree and the two buttons of the
// word box strip, drawn with QPainter in one style: dark blue strokes on the strip's grey-blue,
// with an orange accent.

#include <QIcon>

namespace lexora {

// Menu bar images 0 to 8, in the bar's order: options, edit, meaning window, word window,
// previous word, next word, history, history back, history forward. Out of range: empty icon.
QIcon menuBarIcon(int image);

// History tree images: 1 a dictionary root, 2 a word. Other values: empty icon.
QIcon historyIcon(int image);

QIcon selectDictIcon();  // the "Select Dict" button (19 x 19)
QIcon lookupIcon();      // the lookup button (19 x 19)

}  // namespace lexora
