#include "gui/dialogs/dictionaries_dialog_layout.h"

#include <algorithm>

namespace lexora {

namespace {

ControlRect pictureButton(const ClientRect& client, int fromRight) {
  return ControlRect{client.right - fromRight, 5, kPictureButtonSize, kPictureButtonSize};
}

}  // namespace

DictionariesLayout layoutDictionariesDialog(const ClientRect& client) {
  DictionariesLayout layout;
  const int width = client.right - client.left + 2;
  const int half = std::max((client.bottom - client.top - kDialogHeaderHeight) / 2, 0);
  layout.list = ControlRect{client.left - 1, client.top + kDialogHeaderHeight, width, half};
  layout.pathBox =
      ControlRect{client.left - 1, client.top + kDialogHeaderHeight + half, width, half};
  layout.addButton = pictureButton(client, 80);
  layout.deleteButton = pictureButton(client, 60);
  layout.cancelButton = pictureButton(client, 40);
  layout.okButton = pictureButton(client, 20);
  return layout;
}

RowEditorLayout placeRowEditor(const ControlRect& row) {
  const int right = row.x + row.width;
  RowEditorLayout layout;
  layout.editor =
      ControlRect{row.x, row.y, std::max(right - kBrowseButtonWidth - row.x, 0), row.height};
  layout.browseButton =
      ControlRect{right - kBrowseButtonWidth, row.y, kBrowseButtonWidth, row.height};
  return layout;
}

FilePickerLayout layoutFilePicker(const ClientRect& client) {
  FilePickerLayout layout;
  layout.tree =
      ControlRect{client.left - 1, client.top + kDialogHeaderHeight, client.right - client.left + 2,
                  std::max(client.bottom - client.top - kDialogHeaderHeight, 0)};
  layout.cancelButton = pictureButton(client, 40);
  layout.okButton = pictureButton(client, 20);
  return layout;
}

}  // namespace lexora
