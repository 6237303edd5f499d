#pragma once
// Return (or Enter) as the OK of a dialog whose OK is a picture button, which Qt does not press
// by itself: a Return that no control of the dialog took runs `ok`. Ctrl+Return does too, for
// the multi-line boxes where a plain Return starts a new line.

#include <functional>

class QDialog;

namespace lexora {

void acceptOnReturn(QDialog* dialog, std::function<void()> ok);

}  // namespace lexora
