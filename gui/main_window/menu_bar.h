#pragma once
// The main window's menu bar: ten items (the options and edit drop-downs, meaning and word
// window, previous and next word, a separator, history, history back and forward) and the two
// menus behind the drop-downs. Every choice comes out as commandTriggered(identifier); check
// and radio marks, enabled items and button states change only when the owner sets them, so
// that they always show the program's state.

#include <QHash>
#include <QKeySequence>
#include <QToolBar>
#include <utility>
#include <vector>

#include "app/menu_commands.h"
#include "app/view_mode.h"

class QAction;
class QMenu;
class QToolButton;

namespace lexora {

class MenuBar : public QToolBar {
  Q_OBJECT
 public:
  explicit MenuBar(QWidget* parent = nullptr);

  // The commands of the bar's buttons, in order (0 for the separator).
  static const int kButtonCommands[10];

  // Hidden, shown (enabled) or greyed; for the bar's buttons only.
  void setButtonState(int command, ButtonState state);
  ButtonState buttonState(int command) const;

  // Check and radio marks of the options menu.
  void setMarked(int command, bool marked);
  bool isMarked(int command) const;

  // Gives commands their keys: a menu item shows its key beside its text, a bar button in
  // its tooltip.
  void setShortcuts(const std::vector<std::pair<int, QKeySequence>>& shortcuts);

  // The edit menu's usable items.
  void setEditMenu(const EditMenuState& state);

  QMenu* optionsMenu() const { return optionsMenu_; }
  QMenu* editMenu() const { return editMenu_; }
  // The item of any command of the bar or its menus, or null.
  QAction* action(int command) const { return actions_.value(command, nullptr); }
  // The tool button that shows a bar command, or null.
  QToolButton* button(int command) const;

 signals:
  void commandTriggered(int command);

 private:
  QAction* addMenuItem(QMenu* menu, int command, const QString& text, bool checkable);
  void addBarButton(int command, int image, const QString& toolTip);
  QToolButton* addDropDown(int command, int image, QMenu* menu, const QString& toolTip);
  void buildOptionsMenu();
  void buildEditMenu();
  void onTriggered(int command);

  QMenu* optionsMenu_ = nullptr;
  QMenu* editMenu_ = nullptr;
  QHash<int, QAction*> actions_;
  QHash<int, bool> marks_;  // the marks as the owner set them
};

}  // namespace lexora
