#pragma once
// What the main window reads and changes of the process-wide state: the 10 dictionary slots,
// the working/reverse choice, the installed paths and the display settings. The program points
// it at its settings record; tests point it at their own values.

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "engine/dictionary.h"
#include "render/display_settings.h"

namespace lexora {

class Clipboard;
class ProgramLauncher;
class WordHelp;

struct WindowState {
  std::span<Dictionary> dictionaries;  // the 10 slots
  int32_t* workingDictIndex = nullptr;
  int32_t* reverseDictIndex = nullptr;
  int32_t* totalDict = nullptr;
  std::function<std::string(int32_t)> dictionaryPath;  // path of installed dictionary K
  DisplaySettings* display = nullptr;
  bool showIndexAtStarting = false;
  // The settings the options menu toggles (null: the window keeps values of its own, starting
  // from showIndexAtStarting and 0).
  uint32_t* showLookupButtonSetting = nullptr;
  uint32_t* showIndexAtStartingSetting = nullptr;
  // "SpeakHeadwords": the page's headword gets a speaker link that says it (off: the page is
  // exactly the renderer's; recordings in the page still play). The options menu's "Speak
  // Headwords" switches the window's own copy; the next page shown follows it.
  bool speakHeadwords = false;
};

// The desktop services the main window uses.
struct WindowServices {
  Clipboard* clipboard = nullptr;
  ProgramLauncher* launcher = nullptr;
  std::string programFolder;  // with its trailing '/'; lexora-util is started from here
  std::string dataFolder;     // the pictures' folder, with its trailing '/' (empty: programFolder)
  bool listenForHandOff = true;  // make the window findable as "Lexora"
  // Write "ShowLookupButton" and "SpeakHeadwords" to the settings store at once (null: nothing
  // is written).
  std::function<bool(uint32_t value)> writeShowLookupButton;
  std::function<bool(uint32_t value)> writeSpeakHeadwords;
  // The lookup button and the desktop session (null: nothing asked, nothing written): why the
  // button cannot run here (empty when it can), and writing or removing its autostart entry.
  std::function<std::string()> lookupButtonBlocker;
  std::function<bool(bool start)> setLookupButtonAutostart;
  // Base forms and suggestions for lookups that miss (null: the nearest headword only).
  std::shared_ptr<WordHelp> wordHelp;
  // Opens the help on getting and importing dictionaries (the home page's link; null: nothing).
  std::function<void()> showDictionaryHelp;
  // Takes into the settings the installed list as another program (lexora-cli install, the
  // dictionaries dialog of another window) changed it since this run read it; true when the
  // list changed (null: never asked). Asked whenever the window becomes the active one.
  std::function<bool()> takeInstalledListFromStore;
  // Builds the indexes the open dictionaries lack on a worker thread (reading them meanwhile).
  bool prepareIndexes = true;
};

}  // namespace lexora
