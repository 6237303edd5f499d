#include "app/window_placement.h"

#include <algorithm>

#include "app/registry_key.h"
#include "app/settings_schema.h"

namespace lexora {
namespace {

bool contains(const LayoutRect& area, int64_t x, int64_t y) {
  return x >= area.left && x < area.right && y >= area.top && y < area.bottom;
}

// The size no larger than the area leaves for it with its frame.
Placement fittedSize(Placement rect, const LayoutRect& area) {
  rect.width =
      std::max<int32_t>(1, std::min(rect.width, area.right - area.left - kFrameAllowanceWidth));
  rect.height =
      std::max<int32_t>(1, std::min(rect.height, area.bottom - area.top - kFrameAllowanceHeight));
  return rect;
}

}  // namespace

WindowOpening placeMainWindow(const std::optional<Placement>& stored,
                              const std::vector<LayoutRect>& screens, int32_t defaultWidth,
                              int32_t defaultHeight) {
  WindowOpening opening;
  opening.rect = Placement{0, 0, defaultWidth, defaultHeight};
  if (screens.empty()) return opening;
  if (stored && stored->width > 0 && stored->height > 0) {
    // The screen under its title bar, where a person takes hold of a window.
    const int64_t cx = int64_t{stored->x} + std::min(stored->width, 100) / 2;
    const int64_t cy = int64_t{stored->y} + 10;
    for (const LayoutRect& area : screens) {
      if (!contains(area, cx, cy)) continue;
      opening.rect = fittedSize(*stored, area);
      // The whole frame on this screen.
      const int32_t right = area.right - opening.rect.width - kFrameAllowanceWidth;
      const int32_t bottom = area.bottom - opening.rect.height - kFrameAllowanceHeight;
      opening.rect.x = std::clamp(stored->x, area.left, std::max(area.left, right));
      opening.rect.y = std::clamp(stored->y, area.top, std::max(area.top, bottom));
      opening.positioned = true;
      return opening;
    }
  }
  opening.rect = fittedSize(opening.rect, screens.front());
  return opening;
}

std::optional<Placement> readWindowGeometry(RegistryKey& key) {
  const char16_t* names[] = {schema::kWindowX, schema::kWindowY, schema::kWindowWidth,
                             schema::kWindowHeight};
  int32_t values[4] = {};
  for (int k = 0; k < 4; ++k) {
    const uint32_t v = key.readDword(names[k], RegistryKey::kNoWriteBack);
    if (v == RegistryKey::kNoWriteBack) return std::nullopt;
    values[k] = static_cast<int32_t>(v);
  }
  if (values[2] <= 0 || values[3] <= 0) return std::nullopt;
  return Placement{values[0], values[1], values[2], values[3]};
}

bool writeWindowGeometry(RegistryKey& key, const Placement& g) {
  bool ok = key.writeDword(schema::kWindowX, static_cast<uint32_t>(g.x));
  ok = key.writeDword(schema::kWindowY, static_cast<uint32_t>(g.y)) && ok;
  ok = key.writeDword(schema::kWindowWidth, static_cast<uint32_t>(g.width)) && ok;
  return key.writeDword(schema::kWindowHeight, static_cast<uint32_t>(g.height)) && ok;
}

}  // namespace lexora
