#include "gui/main_window/menu_bar.h"

#include <gtest/gtest.h>

#include "tests/gui/main_window/gui_test_support.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QSignalSpy>
#include <QToolButton>
#include <vector>

#include "app/options.h"
#include "gui/main_window/select_dict_menu.h"

namespace lexora {
namespace {

void ensureApplication() { test::application(); }

struct MenuRow {
  int command;  // 0 for a separator, -1 for a sub-menu
  QString text;
  bool operator==(const MenuRow&) const = default;
};

std::vector<MenuRow> rowsOf(const QMenu* menu) {
  std::vector<MenuRow> rows;
  for (QAction* item : menu->actions()) {
    if (item->isSeparator()) {
      rows.push_back({0, QString()});
    } else if (item->menu() != nullptr) {
      rows.push_back({-1, item->text()});
    } else {
      rows.push_back({item->data().toInt(), item->text()});
    }
  }
  return rows;
}

class MenuBarTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ensureApplication(); }
};

TEST_F(MenuBarTest, TenItemsInOrderWithPictures) {
  MenuBar bar;
  const QList<QAction*> items = bar.actions();
  ASSERT_EQ(items.size(), 10);
  const int kExpected[10] = {32777, 32780, 32838, 32814, 32816, 32815, 0, 32835, 32836, 32837};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(MenuBar::kButtonCommands[i], kExpected[i]) << i;
  for (int i = 0; i < 10; ++i) {
    if (i == 6) {
      EXPECT_TRUE(items[i]->isSeparator());
      continue;
    }
    EXPECT_EQ(items[i]->data().toInt(), MenuBar::kButtonCommands[i]) << i;
    ASSERT_NE(bar.button(MenuBar::kButtonCommands[i]), nullptr) << i;
    EXPECT_FALSE(bar.button(MenuBar::kButtonCommands[i])->icon().isNull()) << i;
  }
  EXPECT_EQ(bar.button(kCmdShowMeaning)->toolTip(), "Show meaning window");
  EXPECT_EQ(bar.button(kCmdShowWordList)->toolTip(), "Show word window");
  EXPECT_EQ(bar.button(kCmdShowHistory)->toolTip(), "Show history - bookmark");
  EXPECT_EQ(bar.button(kCmdOptionsMenu)->menu(), bar.optionsMenu());
  EXPECT_EQ(bar.button(kCmdEditMenu)->menu(), bar.editMenu());
}

TEST_F(MenuBarTest, MenusHoldTheExactTextsAndCommands) {
  MenuBar bar;
  EXPECT_EQ(rowsOf(bar.optionsMenu()), (std::vector<MenuRow>{{32785, "Use ClearType"},
                                                             {32843, "Show Lookup Button"},
                                                             {32784, "Show Index at Starting"},
                                                             {32786, "Interface"},
                                                             {-1, "Text size"},
                                                             {0, ""},
                                                             {32787, "Dictionary (ies)"},
                                                             {32841, "Strict Compare"},
                                                             {32844, "Speak Headwords"},
                                                             {32783, "About"},
                                                             {0, ""},
                                                             {32781, "Quit"}}));
  QMenu* sizes = bar.optionsMenu()->actions()[4]->menu();
  EXPECT_EQ(rowsOf(sizes), (std::vector<MenuRow>{{32792, "Largest"},
                                                 {32791, "Large"},
                                                 {32790, "Medium"},
                                                 {32789, "Smaller"},
                                                 {32788, "Smallest"}}));
  EXPECT_EQ(rowsOf(bar.editMenu()), (std::vector<MenuRow>{{32831, "Add New Word"},
                                                          {32832, "Modify Meaning"},
                                                          {32834, "Modify Word"},
                                                          {32833, "Delete Word"}}));
}

TEST_F(MenuBarTest, ADropDownIsFlatAgainOnceItsMenuCloses) {
  MenuBar bar;
  bar.show();
  QCursor::setPos(5000, 5000);    // the pointer went on, away from the bar
  QApplication::processEvents();  // the bar is on screen
  for (int command : {kCmdOptionsMenu, kCmdEditMenu}) {
    QToolButton* button = bar.button(command);
    ASSERT_NE(button, nullptr);
    button->setAttribute(Qt::WA_UnderMouse, true);  // as the press that opened the menu left it
    emit button->menu()->aboutToHide();
    QApplication::processEvents();
    EXPECT_FALSE(button->underMouse()) << command;
  }
}

TEST_F(MenuBarTest, ButtonsAreHiddenShownAndGreyed) {
  MenuBar bar;
  EXPECT_EQ(bar.buttonState(kCmdHistoryBack), ButtonState::kShown);  // all start enabled
  bar.setButtonState(kCmdHistoryBack, ButtonState::kGreyed);
  EXPECT_EQ(bar.buttonState(kCmdHistoryBack), ButtonState::kGreyed);
  EXPECT_FALSE(bar.action(kCmdHistoryBack)->isEnabled());
  bar.setButtonState(kCmdShowMeaning, ButtonState::kHidden);
  EXPECT_EQ(bar.buttonState(kCmdShowMeaning), ButtonState::kHidden);
  bar.setButtonState(kCmdShowMeaning, ButtonState::kShown);
  EXPECT_EQ(bar.buttonState(kCmdShowMeaning), ButtonState::kShown);
  EXPECT_TRUE(bar.action(kCmdShowMeaning)->isEnabled());
}

TEST_F(MenuBarTest, EditMenuFollowsTheGivenState) {
  MenuBar bar;
  bar.setEditMenu({true, false, false, false});
  EXPECT_TRUE(bar.action(kCmdAddNewWord)->isEnabled());
  EXPECT_FALSE(bar.action(kCmdModifyMeaning)->isEnabled());
  EXPECT_FALSE(bar.action(kCmdModifyWord)->isEnabled());
  EXPECT_FALSE(bar.action(kCmdDeleteWord)->isEnabled());
  bar.setEditMenu({false, true, true, true});
  EXPECT_FALSE(bar.action(kCmdAddNewWord)->isEnabled());
  EXPECT_TRUE(bar.action(kCmdDeleteWord)->isEnabled());
}

// The bar wired to the options as the main window wires them.
TEST_F(MenuBarTest, MarksChangeOnlyThroughTheOptions) {
  MenuBar bar;
  uint32_t clearType = 1, textSize = 2, lookupButton = 0, indexAtStarting = 0;
  Options options({&clearType, &textSize, &lookupButton, &indexAtStarting},
                  {{}, {}, {}, [&](int command, bool on) { bar.setMarked(command, on); }, {}, {}});
  options.syncMarks();
  QSignalSpy spy(&bar, &MenuBar::commandTriggered);
  QObject::connect(&bar, &MenuBar::commandTriggered, [&](int command) {
    if (command >= kCmdTextSmallest && command <= kCmdTextLargest) {
      options.chooseTextSize(command - kCmdTextSmallest);
    } else if (command == kCmdUseClearType) {
      options.toggleClearType();
    }
  });

  EXPECT_TRUE(bar.isMarked(kCmdUseClearType));
  EXPECT_TRUE(bar.isMarked(kCmdTextMedium));

  bar.action(kCmdTextMedium)->trigger();  // the current size: the mark stays
  EXPECT_TRUE(bar.isMarked(kCmdTextMedium));
  bar.action(kCmdTextSmallest)->trigger();
  EXPECT_TRUE(bar.isMarked(kCmdTextSmallest));
  EXPECT_FALSE(bar.isMarked(kCmdTextMedium));
  EXPECT_EQ(textSize, 0u);

  bar.action(kCmdUseClearType)->trigger();
  EXPECT_FALSE(bar.isMarked(kCmdUseClearType));
  EXPECT_EQ(clearType, 0u);

  // An option nobody answers keeps its mark as it was.
  bar.action(kCmdStrictCompare)->trigger();
  EXPECT_FALSE(bar.isMarked(kCmdStrictCompare));

  ASSERT_EQ(spy.count(), 4);
  EXPECT_EQ(spy.at(0).at(0).toInt(), kCmdTextMedium);
  EXPECT_EQ(spy.at(3).at(0).toInt(), kCmdStrictCompare);
}

TEST_F(MenuBarTest, DictionaryPopupHasOneMarkPerGroup) {
  QMenu menu;
  fillDictionaryMenu(menu, buildDictionaryMenu({u"EV", u"VE", u"FV"}, 0, 2));
  const QList<QAction*> items = menu.actions();
  ASSERT_EQ(items.size(), 7);
  EXPECT_TRUE(items[3]->isSeparator());
  std::vector<int> marked;
  for (QAction* item : items) {
    if (item->isChecked()) marked.push_back(item->data().toInt());
  }
  EXPECT_EQ(marked, (std::vector<int>{1000, 3002}));
  EXPECT_EQ(items[5]->text(), "VE");
  EXPECT_EQ(items[5]->data().toInt(), 3001);
}

}  // namespace
}  // namespace lexora
