#pragma once
// Text that a page hides from its reader is shown. A dictionary from anywhere can hide words
// in type too small to see, in the colour of what lies behind them (or a transparent one), or
// in lines and letters drawn over one another. The page as the Qt text engine read it is
// looked over, whatever markup or style sheet made it:
// - type smaller than kMinTextPixels is drawn at that size;
// - text whose colour (blended by its opacity) stands out from its background (its own, its
//   paragraph's, its table cell's, or the page's) by less than kMinContrast is drawn in black
//   or white, whichever stands out more;
// - letters squeezed together (letter and word spacing, stretch), lines closer than one line
//   and indents or margins that push text off its place are set back to normal.
// Everything else, the colours of the user's own styles among it, is left as it is.

#include <QColor>
#include <QTextDocument>

namespace lexora {

inline constexpr int kMinTextPixels = 8;
inline constexpr double kMinContrast = 1.5;  // luminance contrast, 1 (none) ... 21

// `base` and `text` are the viewer's own colours: behind a page without a background, and of
// text without a colour.
void revealHiddenText(QTextDocument& document, const QColor& base, const QColor& text);

}  // namespace lexora
