#pragma once
// Where the controls of the dictionaries dialog and of the file picker go, as plain functions
// of the client rectangle, so the geometry can be checked without widgets. Both dialogs have a
// 26-pixel header band with the title and the 16 × 16 picture buttons at its right end.

#include "gui/widgets/dialog_geometry.h"

namespace lexora {

constexpr int kDialogHeaderHeight = 26;
constexpr int kDictionaryRowHeight = 18;
constexpr int kBrowseButtonWidth = 20;

struct DictionariesLayout {
  ControlRect list;     // the installed paths, upper half below the header
  ControlRect pathBox;  // the selected row's full path, lower half
  ControlRect addButton;
  ControlRect deleteButton;
  ControlRect cancelButton;
  ControlRect okButton;
};

// The list and the path box share the space below the header equally and reach one pixel
// past the left and right edges. A client too small for them gives them height 0.
DictionariesLayout layoutDictionariesDialog(const ClientRect& client);

struct RowEditorLayout {
  ControlRect editor;        // over the row, leaving room for the browse button
  ControlRect browseButton;  // "...", at the row's right end
};

// The in-place editor over a row whose rectangle (in dialog coordinates) is `row`.
RowEditorLayout placeRowEditor(const ControlRect& row);

struct FilePickerLayout {
  ControlRect tree;  // everything below the header
  ControlRect cancelButton;
  ControlRect okButton;
};

FilePickerLayout layoutFilePicker(const ClientRect& client);

}  // namespace lexora
