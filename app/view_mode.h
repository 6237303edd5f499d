#pragma once
// The main window's panes: which of the viewer, the word list and the history tree is shown for
// each `viewMode`, which edit commands are usable there, and the commands that switch panes
// together with the menu bar buttons they hide and show.

#include <cstdint>
#include <functional>

#include "app/menu_commands.h"

namespace lexora {

enum ViewMode : int32_t {
  kMeaningPage = 0,
  kHomePage = 1,
  kWordListPane = 2,
  kHistoryTreePane = 3,
};

struct PaneVisibility {
  bool viewer = false;  // the meaning page and the home page
  bool wordList = false;
  bool historyTree = false;
  bool lowerInputPanel = false;  // every pane but the word list lowers the input panel

  bool operator==(const PaneVisibility&) const = default;
};

PaneVisibility panesFor(ViewMode viewMode);

// The edit menu's usable items: adding only over the word list, the other three only over a
// meaning page, and none of them with no dictionary installed.
struct EditMenuState {
  bool addNewWord = false;
  bool modifyMeaning = false;
  bool modifyWord = false;
  bool deleteWord = false;

  bool operator==(const EditMenuState&) const = default;
};

// Modify Meaning, Modify Word and Delete Word also need an edit target: an entry on screen
// from the working dictionary.
EditMenuState editMenuStateFor(ViewMode viewMode, int32_t totalDict, bool hasEditTarget = true);

// The window's side of switching panes. Empty functions do nothing.
struct ViewModeEffects {
  std::function<void()> showHomePage;  // builds the home page and puts it in the viewer
  std::function<void(const PaneVisibility&)> showPanes;
  std::function<void(const EditMenuState&)> setEditMenu;
  std::function<void(int command, ButtonState)> setButtonState;
  std::function<bool()> hasEditTarget;  // empty: the edit commands follow the pane alone
};

class ViewModeSwitch {
 public:
  // `viewMode` is the window's field that the switch keeps; `totalDict` (the number of
  // installed dictionaries) is read each time the panes are shown.
  // REQUIRES: both are non-null and outlive the object.
  ViewModeSwitch(ViewMode* viewMode, const int32_t* totalDict, ViewModeEffects effects);

  // The start pane: the word list when ShowIndexAtStarting is set, else the home page; the
  // history buttons start greyed. Then the panes are shown.
  void start(bool showIndexAtStarting);

  void showMeaning();   // "Show meaning window"
  void showWordList();  // "Show word window"
  void showHistory();   // "Show history - bookmark"

  // Shows the panes for the current mode (home page first when it is the home page) and
  // updates the edit menu.
  void showPanes();
  // Updates the edit menu alone (after the edit target changed).
  void updateEditMenu();

  ViewMode viewMode() const { return *viewMode_; }

 private:
  void setButton(int command, ButtonState state) const;

  ViewMode* viewMode_;
  const int32_t* totalDict_;
  ViewModeEffects effects_;
};

}  // namespace lexora
