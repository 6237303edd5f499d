#pragma once
// The desktop's front window. On X11 it is the root window's _NET_ACTIVE_WINDOW and its title
// _NET_WM_NAME (else WM_NAME), read over a connection of its own; elsewhere (Wayland, no
// display) nothing can be learnt about other programs' windows and there is no source.

#include <memory>

#include "lookup_button/foreground_tracker.h"

namespace lexora {

// Null when the desktop offers no way to read the front window.
std::unique_ptr<ForegroundSource> makeDesktopForegroundSource();

}  // namespace lexora
