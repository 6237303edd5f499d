#pragma once
// Where the main window opens: the geometry it had when it last closed, or a first window of
// its default size, always fitted to the screen it opens on so that its frame and the menu
// bar at its foot are on screen whatever the scale. A stored position whose title bar lies on
// no screen (a monitor that is gone) falls back to the default place.

#include <cstdint>
#include <optional>
#include <vector>

#include "app/geometry.h"

namespace lexora {

class RegistryKey;

// Room the desktop's frame around a window takes (title bar and borders), in the same units.
inline constexpr int32_t kFrameAllowanceWidth = 8;
inline constexpr int32_t kFrameAllowanceHeight = 40;

struct WindowOpening {
  Placement rect;           // x and y are the frame's corner; width and height the window's
  bool positioned = false;  // false: the desktop chooses the place
};

// `screens` are the screens' available areas, the primary one first (none: the default size
// as it is). `stored` is the last geometry.
WindowOpening placeMainWindow(const std::optional<Placement>& stored,
                              const std::vector<LayoutRect>& screens, int32_t defaultWidth,
                              int32_t defaultHeight);

// The geometry kept under the settings key ("WindowX", "WindowY", "WindowWidth",
// "WindowHeight"); nullopt when any value is missing or the size is not positive.
std::optional<Placement> readWindowGeometry(RegistryKey& key);
bool writeWindowGeometry(RegistryKey& key, const Placement& geometry);

}  // namespace lexora
