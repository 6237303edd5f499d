#pragma once
// Rectangles of the pixel layouts: a client area given by its edges, and a child's position and
// size within it.

#include <cstdint>

namespace lexora {

// Edges in client pixels.
struct LayoutRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;

  bool operator==(const LayoutRect&) const = default;
};

// A child's position and size.
struct Placement {
  int32_t x = 0;
  int32_t y = 0;
  int32_t width = 0;
  int32_t height = 0;

  bool operator==(const Placement&) const = default;
};

}  // namespace lexora
