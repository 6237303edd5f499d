#include "gui/main_window/menu_bar.h"

#include <QAction>
#include <QActionGroup>
#include <QCursor>
#include <QMenu>
#include <QTimer>
#include <QToolButton>

#include "gui/main_window/menu_icons.h"

namespace lexora {

const int MenuBar::kButtonCommands[10] = {kCmdOptionsMenu,
                                          kCmdEditMenu,
                                          kCmdShowMeaning,
                                          kCmdShowWordList,
                                          kCmdPreviousWord,
                                          kCmdNextWord,
                                          0,
                                          kCmdShowHistory,
                                          kCmdHistoryBack,
                                          kCmdHistoryForward};

MenuBar::MenuBar(QWidget* parent) : QToolBar(parent) {
  setObjectName(QStringLiteral("menuBar"));
  setMovable(false);
  setFloatable(false);
  setIconSize(QSize(16, 16));
  setToolButtonStyle(Qt::ToolButtonIconOnly);
  setStyleSheet(QStringLiteral("QToolBar#menuBar { background: #FFFFFF; border: none; }"));

  buildOptionsMenu();
  buildEditMenu();
  addDropDown(kCmdOptionsMenu, 0, optionsMenu_, tr("Options"));
  addDropDown(kCmdEditMenu, 1, editMenu_, tr("Edit"));
  addBarButton(kCmdShowMeaning, 2, QStringLiteral("Show meaning window"));
  addBarButton(kCmdShowWordList, 3, QStringLiteral("Show word window"));
  addBarButton(kCmdPreviousWord, 4, tr("Previous word"));
  addBarButton(kCmdNextWord, 5, tr("Next word"));
  addSeparator();
  addBarButton(kCmdShowHistory, 6, QStringLiteral("Show history - bookmark"));
  addBarButton(kCmdHistoryBack, 7, tr("Back"));
  addBarButton(kCmdHistoryForward, 8, tr("Forward"));
}

QAction* MenuBar::addMenuItem(QMenu* menu, int command, const QString& text, bool checkable) {
  QAction* item = menu->addAction(text);
  item->setCheckable(checkable);
  item->setData(command);
  actions_.insert(command, item);
  connect(item, &QAction::triggered, this, [this, command] { onTriggered(command); });
  return item;
}

void MenuBar::buildOptionsMenu() {
  optionsMenu_ = new QMenu(this);
  addMenuItem(optionsMenu_, kCmdUseClearType, QStringLiteral("Use ClearType"), true);
  addMenuItem(optionsMenu_, kCmdShowLookupButton, QStringLiteral("Show Lookup Button"), true);
  addMenuItem(optionsMenu_, kCmdShowIndexAtStarting, QStringLiteral("Show Index at Starting"),
              true);
  addMenuItem(optionsMenu_, kCmdInterface, QStringLiteral("Interface"), false);
  QMenu* textSize = optionsMenu_->addMenu(QStringLiteral("Text size"));
  auto* sizes = new QActionGroup(textSize);
  sizes->setExclusionPolicy(QActionGroup::ExclusionPolicy::Exclusive);
  const struct {
    int command;
    const char* text;
  } kSizes[] = {{kCmdTextLargest, "Largest"},
                {kCmdTextLarge, "Large"},
                {kCmdTextMedium, "Medium"},
                {kCmdTextSmaller, "Smaller"},
                {kCmdTextSmallest, "Smallest"}};
  for (const auto& size : kSizes) {
    sizes->addAction(addMenuItem(textSize, size.command, QString::fromLatin1(size.text), true));
  }
  optionsMenu_->addSeparator();
  addMenuItem(optionsMenu_, kCmdDictionaries, QStringLiteral("Dictionary (ies)"), false);
  addMenuItem(optionsMenu_, kCmdStrictCompare, QStringLiteral("Strict Compare"), true);
  addMenuItem(optionsMenu_, kCmdSpeakHeadwords, QStringLiteral("Speak Headwords"), true);
  addMenuItem(optionsMenu_, kCmdAbout, QStringLiteral("About"), false);
  optionsMenu_->addSeparator();
  addMenuItem(optionsMenu_, kCmdQuit, QStringLiteral("Quit"), false);
}

void MenuBar::buildEditMenu() {
  editMenu_ = new QMenu(this);
  addMenuItem(editMenu_, kCmdAddNewWord, QStringLiteral("Add New Word"), false);
  addMenuItem(editMenu_, kCmdModifyMeaning, QStringLiteral("Modify Meaning"), false);
  addMenuItem(editMenu_, kCmdModifyWord, QStringLiteral("Modify Word"), false);
  addMenuItem(editMenu_, kCmdDeleteWord, QStringLiteral("Delete Word"), false);
}

void MenuBar::addBarButton(int command, int image, const QString& toolTip) {
  QAction* item = addAction(menuBarIcon(image), toolTip);
  item->setToolTip(toolTip);
  item->setData(command);
  actions_.insert(command, item);
  connect(item, &QAction::triggered, this, [this, command] { onTriggered(command); });
}

QToolButton* MenuBar::addDropDown(int command, int image, QMenu* menu, const QString& toolTip) {
  auto* dropDown = new QToolButton(this);
  dropDown->setIcon(menuBarIcon(image));
  dropDown->setToolTip(toolTip);
  dropDown->setMenu(menu);
  dropDown->setPopupMode(QToolButton::InstantPopup);
  dropDown->setAutoRaise(true);
  // The pointer left the button for the menu without the button hearing of it: once the menu
  // closes, the button is flat again unless the pointer is back over it.
  connect(menu, &QMenu::aboutToHide, dropDown, [dropDown] {
    QTimer::singleShot(0, dropDown, [dropDown] {
      if (!dropDown->rect().contains(dropDown->mapFromGlobal(QCursor::pos()))) {
        dropDown->setAttribute(Qt::WA_UnderMouse, false);
        dropDown->update();
      }
    });
  });
  QAction* item = addWidget(dropDown);
  item->setData(command);
  actions_.insert(command, item);
  return dropDown;
}

QToolButton* MenuBar::button(int command) const {
  QAction* item = action(command);
  if (item == nullptr) return nullptr;
  return qobject_cast<QToolButton*>(widgetForAction(item));
}

void MenuBar::onTriggered(int command) {
  // Qt moves a mark by itself when an item is chosen; put back the marks the owner set, so
  // that only the owner's answer to the command changes them.
  for (auto it = marks_.cbegin(); it != marks_.cend(); ++it) {
    if (QAction* item = action(it.key())) item->setChecked(it.value());
  }
  if (QAction* item = action(command);
      item != nullptr && item->isCheckable() && !marks_.contains(command)) {
    item->setChecked(false);
  }
  emit commandTriggered(command);
}

void MenuBar::setButtonState(int command, ButtonState state) {
  QAction* item = action(command);
  if (item == nullptr || item->menu() != nullptr) return;
  item->setVisible(state != ButtonState::kHidden);
  item->setEnabled(state == ButtonState::kShown);
}

ButtonState MenuBar::buttonState(int command) const {
  QAction* item = action(command);
  if (item == nullptr || !item->isVisible()) return ButtonState::kHidden;
  return item->isEnabled() ? ButtonState::kShown : ButtonState::kGreyed;
}

void MenuBar::setMarked(int command, bool marked) {
  QAction* item = action(command);
  if (item == nullptr || !item->isCheckable()) return;
  marks_.insert(command, marked);
  item->setChecked(marked);
}

bool MenuBar::isMarked(int command) const {
  QAction* item = action(command);
  return item != nullptr && item->isChecked();
}

void MenuBar::setShortcuts(const std::vector<std::pair<int, QKeySequence>>& shortcuts) {
  for (const auto& [command, keys] : shortcuts) {
    QAction* item = action(command);
    if (item == nullptr) continue;
    item->setShortcut(keys);
    if (item->parent() == this) {
      item->setToolTip(item->text() + QStringLiteral(" (") +
                       keys.toString(QKeySequence::NativeText) + QStringLiteral(")"));
    }
  }
}

void MenuBar::setEditMenu(const EditMenuState& state) {
  action(kCmdAddNewWord)->setEnabled(state.addNewWord);
  action(kCmdModifyMeaning)->setEnabled(state.modifyMeaning);
  action(kCmdModifyWord)->setEnabled(state.modifyWord);
  action(kCmdDeleteWord)->setEnabled(state.deleteWord);
}

}  // namespace lexora
