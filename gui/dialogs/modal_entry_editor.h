#pragma once
// The editing commands' entry editor, run as an EntryEditorDialog over the main window.

#include <QPointer>
#include <QWidget>

#include "app/entry_commands.h"

namespace lexora {

class ModalEntryEditor : public EntryEditor {
 public:
  // `parent` (the main window, may be null) owns nothing of this object.
  explicit ModalEntryEditor(QWidget* parent) : parent_(parent) {}

  // Builds the dialog, runs it modally and destroys it before returning.
  bool edit(EditMode mode, EntryTexts& texts) override;

 private:
  QPointer<QWidget> parent_;
};

}  // namespace lexora
