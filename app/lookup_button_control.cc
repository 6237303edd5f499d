#include "app/lookup_button_control.h"

#include "platform/message_channel.h"
#include "platform/window_identity.h"

namespace lexora {
namespace {

// No wait for the answer: the message is in the button's queue once it is written.
constexpr int kStopTimeoutMs = 0;

void sendStop(const WindowIdentity& window) {
  sendWindowMessage(window, WindowMessage{kDestroyMessage, 0, 0}, nullptr, kStopTimeoutMs);
}

}  // namespace

void setLookupButtonRunning(bool run, ProgramLauncher& launcher, const std::string& programFolder) {
  if (run) {
    // Without the channel the button could not find this window and would start another.
    if (!endpointFolder().empty()) launcher.startProgram(programFolder + kLookupButtonProgram);
    return;
  }
  if (auto button = findWindow(kLookupButtonClass, kLookupButtonTitle)) {
    sendStop(*button);
    return;
  }
  for (const WindowIdentity& child : childWindows(kTaskbarClass)) {
    if (child.title == kLookupButtonTitle) {
      sendStop(child);
      return;
    }
  }
}

void startLookupButtonIfShown(uint32_t showLookupButton, ProgramLauncher& launcher,
                              const std::string& programFolder) {
  if (showLookupButton != 0) setLookupButtonRunning(true, launcher, programFolder);
}

}  // namespace lexora
