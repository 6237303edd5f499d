#pragma once
// The 16 × 16 picture buttons at the top right of the secondary dialogs. Their pictures are
// drawn in code, so no image file has to travel with the program.

#include <QIcon>
#include <QToolButton>

namespace lexora {

enum class ButtonPicture {
  Ok,      // a green tick
  Cancel,  // a red cross
  Add,     // a blue plus
  Remove,  // a blue minus
};

// The picture of `picture` at 16 × 16 pixels (and at twice that for high-density screens).
QIcon buttonPictureIcon(ButtonPicture picture);

// A flat 16 × 16 button showing `picture`; `name` is its tool tip and accessible name.
QToolButton* makePictureButton(ButtonPicture picture, const QString& name, QWidget* parent);

}  // namespace lexora
