#pragma once
// The program's own pictures, drawn with QPainter at any size so they stay sharp: the program
// icon, the lookup (magnifying glass) button, the dictionary chooser, previous/next arrows, and
// the menu bar's buttons.

#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QString>

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

// The navy of the program's title bands and icon.
inline QColor lexoraNavy() { return QColor(0x1F, 0x3A, 0x68); }

}  // namespace lexora
