#include "lookup_button/button_options.h"

namespace lexora {

int startupExitCode(RegistryKey& key) {
  return readShowLookupButton(key) == 0 ? kExitButtonOff : 0;
}

ButtonOptions::ButtonOptions(RegistryKey& key)
    : key_(key), values_(readLookupButtonSettings(key)) {}

void ButtonOptions::storePosition(int32_t x, int32_t y) {
  values_.xPos = x;
  values_.yPos = y;
  writeLookupButtonPosition(key_, x, y);
}

void ButtonOptions::toggleFreeze() {
  values_.freeze = !values_.freeze;
  writeFreeze(key_, values_.freeze);
}

void ButtonOptions::toggleShowPopup() {
  values_.showPopup = !values_.showPopup;
  writeShowPopup(key_, values_.showPopup);
}

}  // namespace lexora
