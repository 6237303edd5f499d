#include "app/menu_commands.h"

namespace lexora {

namespace {

void run(const std::function<void()>& handler) {
  if (handler) handler();
}

}  // namespace

bool dispatchMenuCommand(int command, const MenuCommandHandlers& h) {
  if (command >= kCmdTextSmallest && command <= kCmdTextLargest) {
    if (h.textSize) h.textSize(command - kCmdTextSmallest);
    return true;
  }
  switch (command) {
    case kCmdUseClearType:
      run(h.useClearType);
      return true;
    case kCmdShowLookupButton:
      run(h.showLookupButton);
      return true;
    case kCmdShowIndexAtStarting:
      run(h.showIndexAtStarting);
      return true;
    case kCmdInterface:
      run(h.interfaceStyles);
      return true;
    case kCmdDictionaries:
      run(h.dictionaries);
      return true;
    case kCmdStrictCompare:
      run(h.strictCompare);
      return true;
    case kCmdSpeakHeadwords:
      run(h.speakHeadwords);
      return true;
    case kCmdAbout:
      run(h.about);
      return true;
    case kCmdQuit:
      run(h.quit);
      return true;
    case kCmdAddNewWord:
      run(h.addNewWord);
      return true;
    case kCmdModifyMeaning:
      run(h.modifyMeaning);
      return true;
    case kCmdModifyWord:
      run(h.modifyWord);
      return true;
    case kCmdDeleteWord:
      run(h.deleteWord);
      return true;
    case kCmdShowMeaning:
      run(h.showMeaning);
      return true;
    case kCmdShowWordList:
      run(h.showWordList);
      return true;
    case kCmdShowHistory:
      run(h.showHistory);
      return true;
    case kCmdPreviousWord:
      run(h.previousWord);
      return true;
    case kCmdNextWord:
      run(h.nextWord);
      return true;
    case kCmdHistoryBack:
      run(h.historyBack);
      return true;
    case kCmdHistoryForward:
      run(h.historyForward);
      return true;
    case kCmdSelectDict:
      run(h.selectDict);
      return true;
    case kCmdOptionsMenu:
    case kCmdEditMenu:
      return true;  // the drop-downs only open their menus
    default:
      return false;
  }
}

}  // namespace lexora
