#pragma once
// The button's stored values, read once when the button is created and written back as they
// change: the position ("YPos" then "XPos", at every drag step) and the two menu options
// "Freeze" and "ShowPopup" (1 or 0, at once). Write failures are silent.

#include "app/registry_key.h"
#include "app/settings.h"

namespace lexora {

// Exit code of a start that finds "ShowLookupButton" 0 (the value is written when missing).
inline constexpr int kExitButtonOff = 16;
// 0 when the button is to run, else kExitButtonOff.
int startupExitCode(RegistryKey& key);

class ButtonOptions {
 public:
  explicit ButtonOptions(RegistryKey& key);  // reads "YPos", "XPos", "Freeze", "ShowPopup"

  int32_t x() const { return values_.xPos; }
  int32_t y() const { return values_.yPos; }
  bool freeze() const { return values_.freeze; }
  bool showPopup() const { return values_.showPopup; }

  void storePosition(int32_t x, int32_t y);
  void toggleFreeze();
  void toggleShowPopup();

 private:
  RegistryKey& key_;
  LookupButtonSettings values_;
};

}  // namespace lexora
