#pragma once
// Help for the program's windows: each window opens the help file "Lexora.htm" at its own
// topic, when the user presses the help key (F1).

#include <string>

class QWidget;

namespace lexora {

class DesktopPrograms;

enum class HelpTopic {
  MainWindow,    // anchor "Interface"
  StyleDialog,   // anchor "InterfaceMenu"
  Dictionaries,  // anchor "DictionaryMenu"
  AboutBox,      // anchor "Introdution" (spelled so in the help file)
};

inline constexpr const char* kHelpFileName = "Lexora.htm";

// The topic's anchor in the help file.
const char* helpAnchor(HelpTopic topic);
// What the help viewer is started with: "file:Lexora.htm#" followed by the anchor.
std::string helpCommandLine(HelpTopic topic);

// Starts the help viewer at `topic`; `programs` tells the user when the help cannot be shown
// (the program's own, HelpWindowPrograms, says why).
void showHelp(DesktopPrograms& programs, HelpTopic topic);

// Makes the help key (F1) in `window` show `topic`. Nothing happens when `programs` is null.
// REQUIRES: `programs` outlives `window`.
void installHelpKey(QWidget* window, DesktopPrograms* programs, HelpTopic topic);

}  // namespace lexora
