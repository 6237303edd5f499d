#pragma once
// The option commands of the options menu: the ClearType switch, the five text sizes, the
// lookup button, the start pane, strict comparison, the voice and "Quit", with their effects on the
// settings and on the window. The window's side of each effect is injected as a function, so
// that the options run (and are tested) without a window.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace lexora {

// The settings the options change, living in the process-wide settings record.
// REQUIRES: every pointer is non-null and outlives the Options object.
struct OptionFields {
  uint32_t* useClearType;         // "UseClearType"
  uint32_t* textSize;             // "TextSize", 0 smallest ... 4 largest
  uint32_t* showLookupButton;     // "ShowLookupButton"
  uint32_t* showIndexAtStarting;  // "ShowIndexAtStarting"
  // "SpeakHeadwords" (null: the option is not offered and its mark stays off).
  uint32_t* speakHeadwords = nullptr;
};

struct Settings;
// The option fields of the process-wide settings record.
OptionFields optionFieldsOf(Settings& settings);

// What the options do outside the settings record. Empty functions do nothing.
struct OptionEffects {
  // Hands UseClearType and TextSize to the viewers (antialiasing and zoom) and repaints them.
  std::function<void()> applyViewerOptions;
  // Writes one DWORD value to the settings store at once: "ShowLookupButton" and
  // "SpeakHeadwords", which other programs read and lexora-cli sets.
  std::function<bool(std::u16string_view name, uint32_t value)> writeDword;
  // Starts (true) or stops (false) the lookup button program.
  std::function<void(bool run)> setLookupButtonRunning;
  // Sets the check or radio mark of an options menu command.
  std::function<void(int command, bool checked)> setCheck;
  // "Quit": removes the popup bubble now on screen, then closes the main window.
  std::function<void()> removePopup;
  std::function<void()> closeMainWindow;

  // The lookup button and the desktop session (empty functions: nothing to ask or write).
  // Why the button cannot run in this session; empty when it can. Asked before switching on.
  std::function<std::string()> lookupButtonBlocker;
  // Tells the user why the option stays off.
  std::function<void(const std::string& text)> showMessage;
  // Writes (true) or removes (false) the entry that starts the button with the session.
  std::function<bool(bool start)> setLookupButtonAutostart;
};

class Options {
 public:
  Options(OptionFields fields, OptionEffects effects);

  // Puts every check and radio mark of the options menu in line with the settings (at the
  // main window's initialisation). A stored text size out of range marks no size.
  void syncMarks() const;

  void toggleClearType();
  // Chooses text size `size` (0 to 4). The size already chosen, or one out of range, changes
  // nothing and does not touch the viewers; returns whether anything changed.
  bool chooseTextSize(int size);
  // Writes "ShowLookupButton" before the lookup button program is started, so that the
  // program, which stops itself when the value reads 0, sees the new value. The session's
  // autostart entry follows the option. When the session cannot show the button, switching
  // it on changes nothing and shows why.
  void toggleLookupButton();
  void toggleIndexAtStarting();
  void toggleStrictCompare();
  // Switches the voice beside every headword on or off and writes "SpeakHeadwords" at once.
  void toggleSpeakHeadwords();
  void quit();

  // Not stored: false at the start of every run.
  bool strictCompare() const { return strictCompare_; }
  // The mark an options menu command should carry now.
  bool isMarked(int command) const;

 private:
  void mark(int command) const;

  OptionFields fields_;
  OptionEffects effects_;
  bool strictCompare_ = false;
};

}  // namespace lexora
