#pragma once
// Where the lookup button can show itself. It needs X11: only there can a window float above
// the others without taking the focus and read the text selected in other programs. In a
// Wayland session that means XWayland, reached through Qt's xcb platform; the main program
// runs natively either way.

#include <string>

namespace lexora {

// The environment values the choice depends on ("" for an unset variable).
struct SessionEnvironment {
  std::string waylandDisplay;  // WAYLAND_DISPLAY
  std::string display;         // DISPLAY
  std::string qpaPlatform;     // QT_QPA_PLATFORM
};

SessionEnvironment currentSessionEnvironment();

enum class ButtonDisplay {
  kAsChosen,  // a platform chosen on purpose (offscreen, vnc, ...) or plain X11: nothing to change
  kXWayland,  // a Wayland session with XWayland: the button runs on the xcb platform
  kNone,      // no X11 display: the button cannot run
};

struct ButtonDisplayChoice {
  ButtonDisplay display = ButtonDisplay::kAsChosen;
  std::string platform;  // the Qt platform to run the button on; empty: Qt's own choice
  std::string reason;    // for kNone: why the button cannot run, as shown to the user
};

ButtonDisplayChoice chooseButtonDisplay(const SessionEnvironment& environment);

}  // namespace lexora
