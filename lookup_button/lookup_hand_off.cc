#include "lookup_button/lookup_hand_off.h"

namespace lexora {
namespace {

std::optional<WindowIdentity> startAndFind(const MainProgramAccess& access) {
  if (!access.startMainProgram()) return std::nullopt;
  access.sleep(kMainProgramStartWaitMs);
  return access.findMainWindow();
}

}  // namespace

bool copiesSelectionOf(std::u16string_view frontTitle) {
  return frontTitle != u"Microsoft Reader" && frontTitle != u"Mobipocket Reader";
}

bool isMainWindowTitle(std::u16string_view frontTitle) { return frontTitle == u"Lexora"; }

WindowMessage lookupWordMessage(bool showPopup, bool mainWindowWasInFront) {
  return WindowMessage{kLookupWordMessage, showPopup ? 0u : 1u, mainWindowWasInFront ? 1 : 0};
}

void startOrActivateMainProgram(const MainProgramAccess& access) {
  std::optional<WindowIdentity> window = access.findMainWindow();
  if (!window) window = startAndFind(access);
  if (window) access.bringForward(*window);
}

bool handOffLookup(const MainProgramAccess& access, const WindowMessage& message) {
  std::optional<WindowIdentity> window = access.findMainWindow();
  if (!window) window = startAndFind(access);
  if (!window) return false;
  access.send(*window, message);
  return true;
}

}  // namespace lexora
