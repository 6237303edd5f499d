#pragma once
// Where the style dialog's controls go, as a plain function of the client rectangle: one
// arrangement for a tall (portrait) client area, another for a wide (landscape) one.

#include "gui/widgets/dialog_geometry.h"

namespace lexora {

struct StyleDialogLayout {
  bool portrait = true;
  ControlRect titleLabel;
  ControlRect okButton;
  ControlRect cancelButton;
  ControlRect popupTimeLabel;
  ControlRect popupTimeBox;   // the number
  ControlRect popupTimeSpin;  // its arrows
  ControlRect backColorButton;
  ControlRect textureButton;
  ControlRect styleList;
  ControlRect hiddenBox;
  ControlRect boldBox;
  ControlRect italicBox;
  ControlRect colorButton;
  ControlRect preview;
};

// Portrait when the client area is at least as tall as it is wide (bottom >= right). Widths and
// heights that would come out negative in a tiny client area are 0.
StyleDialogLayout layoutStyleDialog(const ClientRect& client);

}  // namespace lexora
