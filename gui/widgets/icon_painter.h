#pragma once
// The program's own pictures, drawn with QPainter at any size so they stay sharp: the program
// icon, the lookup (magnifying glass) button, the dictionary chooser, previous/next arrows, and
// the menu bar's buttons.

#include <QColor>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QString>

#include <functional>

namespace lexora {

enum class Picture {
  kProgram,       // an open book on a navy tile
  kLookup,        // magnifying glass
  kSelectDict,    // a stack of two books
  kPreviousWord,  // arrow left
  kNextWord,      // arrow right
  kQuit,          // power symbol
};

QPixmap paintPicture(Picture picture, int size, qreal devicePixelRatio = 1.0);
QIcon pictureIcon(Picture picture);  // sizes 16 to 64

// An icon `size` pixels square, drawn by `draw` on a 16 × 16 grid with antialiasing, at one and
// at two times the size so that it stays sharp on dense screens.
QIcon drawnIcon(int size, const std::function<void(QPainter&)>& draw);

// The navy of the program's title bands and icon.
inline QColor lexoraNavy() { return QColor(0x1F, 0x3A, 0x68); }

}  // namespace lexora
