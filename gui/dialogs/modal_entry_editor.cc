#include "gui/dialogs/modal_entry_editor.h"

#include "gui/dialogs/entry_editor_dialog.h"

namespace lexora {

bool ModalEntryEditor::edit(EditMode mode, EntryTexts& texts) {
  EntryEditorDialog dialog(mode, texts.headword, texts.meaning, parent_.data());
  if (dialog.exec() != QDialog::Accepted) return false;
  texts.headword = dialog.headword();
  texts.meaning = dialog.meaning();
  return true;
}

}  // namespace lexora
