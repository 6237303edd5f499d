#include "gui/dialogs/entry_editor_layout.h"

#include <algorithm>

namespace lexora {

EntryEditorLayout layoutEntryEditor(const ClientRect& client, int inputPanelHeight) {
  const int bottom = client.bottom - std::max(inputPanelHeight, 0);
  const int width = client.right - client.left + 2;
  EntryEditorLayout layout;
  layout.headwordBox = {client.left - 1, client.top + 26, width, 18};
  layout.meaningBox = {client.left - 1, client.top + 48, width,
                       std::max(bottom - client.top - 48, 0)};
  layout.cancelButton = {client.right - 40, 5, kPictureButtonSize, kPictureButtonSize};
  layout.okButton = {client.right - 20, 5, kPictureButtonSize, kPictureButtonSize};
  return layout;
}

}  // namespace lexora
