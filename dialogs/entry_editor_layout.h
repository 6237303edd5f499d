#pragma once
// Where the entry editor's controls go, as a plain function of the client rectangle, so the
// geometry can be checked without widgets.

namespace lexora {

// A client rectangle given by its edges; right and bottom lie just outside it.
struct ClientRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

struct ControlRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;

  bool operator==(const ControlRect&) const = default;
};

struct EntryEditorLayout {
  ControlRect headwordBox;
  ControlRect meaningBox;
  ControlRect okButton;
  ControlRect cancelButton;
};

constexpr int kPictureButtonSize = 16;

// The editor's layout in `client`. The boxes reach one pixel past the left and right edges so
// their borders fall outside; a raised input panel of `inputPanelHeight` pixels covers the
// bottom. A client area too small for the meaning box gives it height 0.
EntryEditorLayout layoutEntryEditor(const ClientRect& client, int inputPanelHeight = 0);

}  // namespace lexora
