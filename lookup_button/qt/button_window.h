#pragma once
// The button window: 16 × 16 with a magnifying glass, above all other windows, never taking
// the focus. A press and release that stays within the desktop's drag distance is a tap
// (tapped()); the button follows every motion event and stores the position at each unless
// "Freeze" is on; holding it still for a moment, or a right click, opens the menu "Show popup",
// "Freeze", "Exit". A stored position that lies on no screen starts the button at its default
// place.

#include <QTimer>
#include <QWidget>

#include "lookup_button/button_options.h"
#include "lookup_button/stylus_tracker.h"

namespace lexora {

class ButtonWindow : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kHoldMs = 600;

  // REQUIRES: options outlives the window.
  explicit ButtonWindow(ButtonOptions& options);

  // The menu at the button's top-left corner; returns after the choice has been applied.
  void showMenu();

 signals:
  void tapped();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void holdRecognised();

  ButtonOptions& options_;
  StylusTracker stylus_;
  QTimer holdTimer_;
};

}  // namespace lexora
