#pragma once
// The main window's command identifiers (menu bar buttons, the options and edit menus, the
// "Select Dict" button and its pop-up menu), the states a menu bar button can be put in, and
// the one dispatch from a command identifier to the handler that carries it out.

#include <functional>

namespace lexora {

enum MenuCommand : int {
  // Menu bar buttons, in the order they stand on the bar.
  kCmdOptionsMenu = 32777,   // drop-down: the options menu
  kCmdEditMenu = 32780,      // drop-down: the edit menu
  kCmdShowMeaning = 32838,   // "Show meaning window"
  kCmdShowWordList = 32814,  // "Show word window"
  kCmdPreviousWord = 32816,
  kCmdNextWord = 32815,
  kCmdShowHistory = 32835,     // "Show history - bookmark"
  kCmdHistoryBack = 32836,     // towards older words
  kCmdHistoryForward = 32837,  // towards newer words

  // Options menu.
  kCmdUseClearType = 32785,
  kCmdShowLookupButton = 32843,
  kCmdShowIndexAtStarting = 32784,
  kCmdInterface = 32786,
  kCmdTextSmallest = 32788,  // text size N is kCmdTextSmallest + N
  kCmdTextSmaller = 32789,
  kCmdTextMedium = 32790,
  kCmdTextLarge = 32791,
  kCmdTextLargest = 32792,
  kCmdDictionaries = 32787,  // "Dictionary (ies)"
  kCmdStrictCompare = 32841,
  kCmdSpeakHeadwords = 32844,  // "Speak Headwords": the voice beside every headword
  kCmdAbout = 32783,
  kCmdQuit = 32781,

  // Edit menu.
  kCmdAddNewWord = 32831,
  kCmdModifyMeaning = 32832,
  kCmdDeleteWord = 32833,
  kCmdModifyWord = 32834,

  // The "Select Dict" button and the numbers of its pop-up menu.
  kCmdSelectDict = 1054,
  kDictMenuWorkingBase = 1000,  // + K: make dictionary K the working dictionary
  kDictMenuSeparator = 2000,
  kDictMenuReverseBase = 3000,  // + K: make dictionary K the reverse dictionary
};

constexpr int kTextSizeCount = 5;

// States of a menu bar button; the values are those of the bar's button state bits.
enum class ButtonState : int {
  kShown = 4,  // visible and enabled
  kHidden = 8,
  kGreyed = 16,  // visible, not usable
};

// What each command does. A handler left empty makes its command do nothing.
struct MenuCommandHandlers {
  std::function<void()> useClearType;
  std::function<void()> showLookupButton;
  std::function<void()> showIndexAtStarting;
  std::function<void()> interfaceStyles;
  std::function<void(int size)> textSize;  // 0 smallest ... 4 largest
  std::function<void()> dictionaries;
  std::function<void()> strictCompare;
  std::function<void()> speakHeadwords;
  std::function<void()> about;
  std::function<void()> quit;
  std::function<void()> addNewWord;
  std::function<void()> modifyMeaning;
  std::function<void()> modifyWord;
  std::function<void()> deleteWord;
  std::function<void()> showMeaning;
  std::function<void()> showWordList;
  std::function<void()> showHistory;
  std::function<void()> previousWord;
  std::function<void()> nextWord;
  std::function<void()> historyBack;
  std::function<void()> historyForward;
  std::function<void()> selectDict;
};

// Runs the handler of `command`. Returns false for an identifier that is not a command of the
// main window (the caller then lets the default processing have it); a known command whose
// handler is empty counts as handled.
bool dispatchMenuCommand(int command, const MenuCommandHandlers& handlers);

}  // namespace lexora
