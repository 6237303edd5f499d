#include "app/view_mode.h"

#include <utility>

namespace lexora {

PaneVisibility panesFor(ViewMode viewMode) {
  PaneVisibility panes;
  panes.viewer = viewMode == kMeaningPage || viewMode == kHomePage;
  panes.wordList = viewMode == kWordListPane;
  panes.historyTree = viewMode == kHistoryTreePane;
  panes.lowerInputPanel = viewMode != kWordListPane;
  return panes;
}

EditMenuState editMenuStateFor(ViewMode viewMode, int32_t totalDict, bool hasEditTarget) {
  const bool installed = totalDict > 0;
  const bool onPage = installed && viewMode == kMeaningPage && hasEditTarget;
  EditMenuState state;
  state.addNewWord = installed && viewMode == kWordListPane;
  state.modifyMeaning = onPage;
  state.modifyWord = onPage;
  state.deleteWord = onPage;
  return state;
}

ViewModeSwitch::ViewModeSwitch(ViewMode* viewMode, const int32_t* totalDict,
                               ViewModeEffects effects)
    : viewMode_(viewMode), totalDict_(totalDict), effects_(std::move(effects)) {}

void ViewModeSwitch::setButton(int command, ButtonState state) const {
  if (effects_.setButtonState) effects_.setButtonState(command, state);
}

void ViewModeSwitch::start(bool showIndexAtStarting) {
  if (showIndexAtStarting) {
    *viewMode_ = kWordListPane;
    setButton(kCmdShowWordList, ButtonState::kHidden);
    setButton(kCmdShowMeaning, ButtonState::kShown);
  } else {
    *viewMode_ = kHomePage;
    setButton(kCmdShowMeaning, ButtonState::kHidden);
    setButton(kCmdShowWordList, ButtonState::kShown);
  }
  setButton(kCmdHistoryBack, ButtonState::kGreyed);
  setButton(kCmdHistoryForward, ButtonState::kGreyed);
  showPanes();
}

void ViewModeSwitch::showMeaning() {
  *viewMode_ = kMeaningPage;
  showPanes();
  setButton(kCmdShowMeaning, ButtonState::kHidden);
  setButton(kCmdShowWordList, ButtonState::kShown);
}

void ViewModeSwitch::showWordList() {
  *viewMode_ = kWordListPane;
  showPanes();
  setButton(kCmdShowWordList, ButtonState::kHidden);
  setButton(kCmdShowMeaning, ButtonState::kShown);
}

void ViewModeSwitch::showHistory() {
  *viewMode_ = kHistoryTreePane;
  showPanes();
}

void ViewModeSwitch::showPanes() {
  if (*viewMode_ == kHomePage && effects_.showHomePage) effects_.showHomePage();
  if (effects_.showPanes) effects_.showPanes(panesFor(*viewMode_));
  updateEditMenu();
}

void ViewModeSwitch::updateEditMenu() {
  const bool target = !effects_.hasEditTarget || effects_.hasEditTarget();
  if (effects_.setEditMenu) effects_.setEditMenu(editMenuStateFor(*viewMode_, *totalDict_, target));
}

}  // namespace lexora
