#pragma once
// Where the entry editor's controls go, as a plain function of the client rectangle, so the
// geometry can be checked without widgets.

#include "gui/widgets/dialog_geometry.h"

namespace lexora {

struct EntryEditorLayout {
  ControlRect headwordBox;
  ControlRect meaningBox;
  ControlRect okButton;
  ControlRect cancelButton;
};

// The editor's layout in `client`. The boxes reach one pixel past the left and right edges so
// their borders fall outside; a raised input panel of `inputPanelHeight` pixels covers the
// bottom. A client area too small for the meaning box gives it height 0.
EntryEditorLayout layoutEntryEditor(const ClientRect& client, int inputPanelHeight = 0);

}  // namespace lexora
