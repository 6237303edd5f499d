#pragma once
// The main window's parts on screen: the strip drawn behind the word box, and the placing of
// the children from the layout rectangle.

#include <QPainter>
#include <QWidget>
#include <initializer_list>

#include "app/window_layout.h"

namespace lexora {

// Draws the filled strip, the white rounded frame of the word box and the strip's edge line.
void paintTopStrip(QPainter& painter, const LayoutRect& rect);

// Places the children (any may be null); the panes (word list, history tree, viewer) all take
// the pane rectangle.
void placeChildren(const WindowLayout& layout, QWidget* selectDictButton, QWidget* wordBox,
                   QWidget* lookupButton, std::initializer_list<QWidget*> panes);

}  // namespace lexora
