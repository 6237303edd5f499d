#include "platform/display_session.h"

#include <cstdlib>

namespace lexora {
namespace {

std::string environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::string(value) : std::string();
}

bool startsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

constexpr const char* kNoXWayland =
    "The Lookup button cannot run in this Wayland session. It needs XWayland to stay above "
    "other windows and to read the text selected in other programs, and this session has no "
    "XWayland (DISPLAY is not set). Install XWayland (Debian package \"xwayland\") and log in "
    "again, or use an X11 session.";

constexpr const char* kNoDisplay =
    "The Lookup button cannot run: it needs an X11 display (or XWayland in a Wayland session), "
    "and DISPLAY is not set.";

}  // namespace

SessionEnvironment currentSessionEnvironment() {
  return {environment("WAYLAND_DISPLAY"), environment("DISPLAY"), environment("QT_QPA_PLATFORM")};
}

ButtonDisplayChoice chooseButtonDisplay(const SessionEnvironment& env) {
  ButtonDisplayChoice choice;
  const std::string& platform = env.qpaPlatform;
  const bool asksWayland = startsWith(platform, "wayland");
  // Anything but xcb or wayland (offscreen, minimal, vnc, eglfs, ...) was chosen on purpose.
  if (!platform.empty() && !asksWayland && platform != "xcb") return choice;
  if (!env.display.empty()) {
    if (!env.waylandDisplay.empty() || asksWayland) {
      choice.display = ButtonDisplay::kXWayland;
      choice.platform = "xcb";
    }
    return choice;
  }
  choice.display = ButtonDisplay::kNone;
  choice.reason = env.waylandDisplay.empty() && !asksWayland ? kNoDisplay : kNoXWayland;
  return choice;
}

}  // namespace lexora
