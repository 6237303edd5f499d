#pragma once
// Where the main window's parts go: the "Select Dict" button, the word box, the lookup button
// and the three panes, all computed from one layout rectangle; the window's own placement in
// the work area; and the figures of the strip drawn behind the word box.

#include <cstdint>

#include "app/geometry.h"

namespace lexora {

struct WindowLayout {
  Placement selectDictButton;  // 19 x 19 at the left of the strip
  Placement wordBox;
  Placement lookupButton;  // 19 x 19 at the right of the strip
  Placement pane;          // word list, history tree and viewer all take this
  int32_t wordListColumnWidth = 0;
};

// Height of the strip that holds the word box and the two buttons.
constexpr int32_t kTopStripHeight = 25;

// A width or height below zero (a window squeezed smaller than the strip) is given as zero.
WindowLayout computeLayout(const LayoutRect& rect);

// The main window's place in the work area: at its top left, as wide as it, and as high as it
// minus the menu bar.
Placement mainWindowPlacement(const LayoutRect& workArea, int32_t menuBarHeight);

// The layout rectangle from the client rectangle: an input panel that is up takes its height
// off the bottom.
LayoutRect layoutRectangle(const LayoutRect& client, bool panelUp, int32_t panelHeight);

// The strip behind the word box, drawn in this order. Corner coordinates are given exactly as
// the drawing calls take them.
struct Point {
  int32_t x = 0;
  int32_t y = 0;

  bool operator==(const Point&) const = default;
};

struct TopStripFigures {
  uint32_t colour = 0x00C6CFDE;  // 0x00BBGGRR: red 0xDE, green 0xCF, blue 0xC6
  Point fillFrom, fillTo;        // rectangle filled with `colour`, default pen
  Point frameFrom, frameTo;      // white rounded rectangle around the word box
  int32_t cornerSize = 6;        // width and height of the frame's corner ellipses
  Point line[3];                 // polyline in `colour`, pen width 1
};

TopStripFigures computeTopStripFigures(const LayoutRect& rect);

}  // namespace lexora
