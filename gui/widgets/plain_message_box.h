#pragma once
// Message boxes that show their text as it is. Their texts carry file names, titles and reasons
// that come from dictionaries and sources, and Qt reads a text whose first line holds a tag as
// HTML, loading any file a picture in it names ("<img src=&#47;dev&#47;zero>.pvm" is a valid
// file name).

#include <QMessageBox>

namespace lexora {

// Runs a modal message box and returns the button that closed it.
QMessageBox::StandardButton showPlainMessage(
    QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text,
    QMessageBox::StandardButtons buttons = QMessageBox::Ok,
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);

}  // namespace lexora
