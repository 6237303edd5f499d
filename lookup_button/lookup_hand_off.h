#pragma once
// Handing a tap to the main program: whether the front application's selection is copied,
// the LOOKUP_WORD message with its wParam and lParam, and finding or starting the main
// program (its window titled "Lexora", its file "lexora" beside this program's).

#include <functional>
#include <optional>
#include <string_view>

#include "platform/window_identity.h"
#include "platform/window_message.h"

namespace lexora {

// False for the two reader programs whose selection is not copied ("Microsoft Reader",
// "Mobipocket Reader", whole title, case-sensitive): their word is already on the clipboard.
bool copiesSelectionOf(std::u16string_view frontTitle);

// True when the front window's title is the main window's ("Lexora", exactly).
bool isMainWindowTitle(std::u16string_view frontTitle);

// LOOKUP_WORD. wParam 1 shows the meaning in the main window (the option "Show popup" off),
// 0 as a popup; lParam 1 when the main window was the front window at the tap, else 0.
WindowMessage lookupWordMessage(bool showPopup, bool mainWindowWasInFront);

// How the main program is reached; every member must be set.
struct MainProgramAccess {
  std::function<std::optional<WindowIdentity>()> findMainWindow;
  std::function<bool()> startMainProgram;  // false when it could not be started
  std::function<void(int milliseconds)> sleep;
  std::function<void(const WindowIdentity&)> bringForward;
  std::function<void(const WindowIdentity&, const WindowMessage&)> send;  // waits for the answer
};

inline constexpr int kMainProgramStartWaitMs = 1000;

// At start-up: brings the main window forward, starting the main program first (and waiting
// a second for its window) when there is none.
void startOrActivateMainProgram(const MainProgramAccess& access);

// Sends `message` to the main window, starting the main program first when there is none.
// False when nothing was sent (it could not be started, or no window a second later).
bool handOffLookup(const MainProgramAccess& access, const WindowMessage& message);

}  // namespace lexora
