// The menus, options, dictionary menu and history as the main window runs them.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <algorithm>

#include "gui/main_window/history_tree.h"
#include "gui/main_window/menu_bar.h"
#include "gui/main_window/word_list_model.h"
#include "gui/widgets/html_viewer.h"
#include "tests/gui/main_window/gui_test_support.h"

namespace lexora::test {
namespace {

const Entries kEnglish = {{u"apple", u"@apple\r\n- a fruit"},
                          {u"banana", u"@banana\r\n- a long fruit"},
                          {u"cherry", u"@cherry\r\n- a small fruit"}};
const Entries kFrench = {{u"pomme", u"@pomme\r\n- apple"}, {u"poire", u"@poire\r\n- pear"}};

class WindowMenusTest : public ::testing::Test {
 protected:
  void SetUp() override {
    f.addDictionary("english", kEnglish);
    f.addDictionary("french", kFrench);
  }
  QString page() { return f.window->viewer()->page(); }
  MenuBar& bar() { return *f.window->menuBar(); }
  void command(int id) { bar().action(id)->trigger(); }
  WindowFixture f;
};

// Chooses row `row` of the next pop-up menu with the keyboard, once it is open.
void chooseInNextMenu(int row) {
  QTimer::singleShot(0, [row] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (menu == nullptr) return;
    for (int i = 0; i <= row; ++i) QTest::keyClick(menu, Qt::Key_Down);
    QTest::keyClick(menu, Qt::Key_Return);
  });
}

TEST_F(WindowMenusTest, StartsWithGreyHistoryButtonsAndMarksFromTheSettings) {
  f.display.textSize = 3;
  f.display.useClearType = 0;
  LexoraDialog& w = f.open();
  EXPECT_EQ(w.viewMode(), 1);
  EXPECT_EQ(bar().buttonState(kCmdHistoryBack), ButtonState::kGreyed);
  EXPECT_EQ(bar().buttonState(kCmdHistoryForward), ButtonState::kGreyed);
  EXPECT_EQ(bar().buttonState(kCmdShowMeaning), ButtonState::kHidden);
  EXPECT_TRUE(bar().isMarked(kCmdTextLarge));
  EXPECT_FALSE(bar().isMarked(kCmdUseClearType));
  EXPECT_FALSE(bar().action(kCmdAddNewWord)->isEnabled());  // home page: all greyed
}

TEST_F(WindowMenusTest, StartsWithTheFocusInTheWordBoxAndTheHomePageTakesIt) {
  LexoraDialog& w = f.open();
  EXPECT_EQ(w.focusWidget(), w.wordBox());
  w.setViewMode(kHomePage);
  EXPECT_EQ(w.focusWidget(), w.viewer());
  w.wordBox()->setFocus();
  ASSERT_EQ(w.focusWidget(), w.wordBox());
  w.setViewMode(kHomePage);
  EXPECT_EQ(w.focusWidget(), w.viewer());
  EXPECT_TRUE(page().contains("You got:"));
}

TEST_F(WindowMenusTest, KeysReachTheCommandsAndShowInTheMenus) {
  LexoraDialog& w = f.open();
  w.show();
  w.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
  w.lookupWord(u"apple", 0);
  w.lookupWord(u"banana", 0);
  QTest::keyClick(w.viewer(), Qt::Key_Left, Qt::AltModifier);
  EXPECT_TRUE(page().contains("a fruit"));
  QTest::keyClick(w.viewer(), Qt::Key_Right, Qt::AltModifier);
  EXPECT_TRUE(page().contains("a long fruit"));
  QTest::keyClick(w.viewer(), Qt::Key_L, Qt::ControlModifier);
  EXPECT_TRUE(w.wordBox()->hasFocus());
  w.wordBox()->setText(QStringLiteral("cherry"));
  QTest::keyClick(w.wordBox(), Qt::Key_F3);
  EXPECT_TRUE(page().contains("a small fruit"));
  QTest::keyClick(w.wordBox(), Qt::Key_2, Qt::ControlModifier);
  EXPECT_EQ(w.viewMode(), kWordListPane);
  bool menuOpened = false;
  QTimer::singleShot(0, [&menuOpened] {
    if (QWidget* menu = QApplication::activePopupWidget()) {
      menuOpened = true;
      menu->close();
    }
  });
  QTest::keyClick(w.wordBox(), Qt::Key_D, Qt::ControlModifier);  // Select Dict
  EXPECT_TRUE(menuOpened);

  // Shown where a person looks for them: beside menu items, in the buttons' tooltips.
  EXPECT_EQ(bar().action(kCmdQuit)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
  EXPECT_FALSE(bar().action(kCmdDictionaries)->shortcut().isEmpty());
  EXPECT_TRUE(bar().action(kCmdHistoryBack)->toolTip().contains(QStringLiteral("Alt")));
  EXPECT_TRUE(w.selectDictButton()->toolTip().contains(QStringLiteral("Ctrl+D")));
}

TEST_F(WindowMenusTest, TabReachesEveryButtonBeforeThePage) {
  LexoraDialog& w = f.open();
  w.show();
  w.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
  w.lookupWord(u"apple", 0);
  w.lookupWord(u"banana", 0);  // Back is usable, and so reachable
  w.wordBox()->setFocus();
  std::vector<QWidget*> reached;
  for (int k = 0; k < 30 && (reached.empty() || reached.back() != w.viewer()); ++k) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    reached.push_back(QApplication::focusWidget());
  }
  const auto at = [&reached](QWidget* widget) {
    return std::find(reached.begin(), reached.end(), widget) - reached.begin();
  };
  ASSERT_LT(at(w.viewer()), static_cast<long>(reached.size()));
  for (QWidget* button :
       {static_cast<QWidget*>(w.lookupButton()), static_cast<QWidget*>(w.selectDictButton()),
        static_cast<QWidget*>(bar().button(kCmdOptionsMenu)),
        static_cast<QWidget*>(bar().button(kCmdHistoryBack))}) {
    EXPECT_LT(at(button), at(w.viewer()));
  }
}

TEST_F(WindowMenusTest, HistoryBackAndForwardShowOlderAndNewerWords) {
  LexoraDialog& w = f.open();
  w.lookupWord(u"apple", 0);
  EXPECT_EQ(bar().buttonState(kCmdHistoryBack), ButtonState::kGreyed);
  w.lookupWord(u"banana", 0);
  EXPECT_EQ(bar().buttonState(kCmdHistoryBack), ButtonState::kShown);
  const QString wordBox = w.wordBox()->text();

  command(kCmdHistoryBack);
  EXPECT_TRUE(page().contains("a fruit"));
  EXPECT_EQ(bar().buttonState(kCmdHistoryBack), ButtonState::kGreyed);
  EXPECT_EQ(bar().buttonState(kCmdHistoryForward), ButtonState::kShown);
  command(kCmdHistoryForward);
  EXPECT_TRUE(page().contains("a long fruit"));
  EXPECT_EQ(bar().buttonState(kCmdHistoryForward), ButtonState::kGreyed);
  EXPECT_EQ(w.wordBox()->text(), wordBox);  // back and forward leave the word box alone

  auto* tree = static_cast<HistoryTree*>(w.historyTree());
  ASSERT_NE(tree->rootItem(0), nullptr);
  EXPECT_EQ(tree->rootItem(0)->text(0), "english");
  EXPECT_EQ(tree->rootItem(0)->childCount(), 2);
}

TEST_F(WindowMenusTest, TapOnAWordShowsItFromItsRootsDictionary) {
  LexoraDialog& w = f.open();
  w.lookupWord(u"poire", 1);  // from the reverse dictionary
  w.lookupWord(u"apple", 0);
  command(kCmdShowHistory);
  EXPECT_EQ(w.viewMode(), 3);
  EXPECT_FALSE(bar().action(kCmdModifyMeaning)->isEnabled());
  auto* tree = static_cast<HistoryTree*>(w.historyTree());
  tree->resize(300, 300);
  QTreeWidgetItem* word = tree->rootItem(1)->child(0);
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(word).center());
  EXPECT_TRUE(page().contains("pear"));
  EXPECT_TRUE(w.shownFromReverse());
  EXPECT_EQ(w.viewMode(), 0);
  // A page from another dictionary is no entry of the working one: nothing to edit.
  EXPECT_FALSE(bar().action(kCmdModifyMeaning)->isEnabled());
  EXPECT_FALSE(bar().action(kCmdDeleteWord)->isEnabled());
  EXPECT_EQ(w.currentEntryIndex(), -1);
}

TEST_F(WindowMenusTest, SelectDictChoosesTheWorkingDictionaryAndKeepsThePage) {
  LexoraDialog& w = f.open();
  w.lookupWord(u"cherry", 0);
  const QString shown = page();
  chooseInNextMenu(1);  // the second title of the first group
  w.selectDictButton()->click();
  EXPECT_EQ(f.workingDictIndex, 1);
  EXPECT_EQ(w.wordListModel()->rowCount(), 2);
  EXPECT_EQ(page(), shown);
  EXPECT_TRUE(w.selectDictButton()->isEnabled());
  // The page stays, but it is no entry of the new working dictionary: no edit target.
  EXPECT_EQ(w.currentEntryIndex(), -1);
  EXPECT_FALSE(bar().action(kCmdDeleteWord)->isEnabled());
  w.runCommand(kCmdDeleteWord);
  EXPECT_TRUE(f.entryDialogs.questions.empty());

  // Choosing the working dictionary again also takes the target away.
  w.lookupWord(u"poire", 1);
  ASSERT_EQ(w.currentEntryIndex(), 0);
  chooseInNextMenu(1);
  w.selectDictButton()->click();
  EXPECT_EQ(w.currentEntryIndex(), -1);
}

TEST_F(WindowMenusTest, SelectDictWithNothingInstalledRunsTheDictionariesDialog) {
  f.paths.clear();
  f.totalDict = 0;
  LexoraDialog& w = f.open();
  int runs = 0;
  w.setCommandDialogs({[&] {
    ++runs;
    return false;
  }});
  w.selectDictButton()->click();
  EXPECT_EQ(runs, 1);
}

TEST_F(WindowMenusTest, DictionariesDialogOkReopensWithTheStartUpRule) {
  LexoraDialog& w = f.open();
  w.lookupWord(u"apple", 0);
  command(kCmdShowWordList);
  w.setCommandDialogs({[&] {
    f.paths = {f.paths[1], f.paths[0]};  // the dialog reordered them
    return true;
  }});
  command(kCmdDictionaries);
  EXPECT_EQ(f.workingDictIndex, 0);
  EXPECT_EQ(f.reverseDictIndex, 1);
  EXPECT_EQ(w.currentEntryIndex(), -1);
  EXPECT_EQ(w.wordListModel()->rowCount(), 2);  // now the French dictionary
}

TEST_F(WindowMenusTest, OptionsChangeTheSettingsAndTheLookupButton) {
  LexoraDialog& w = f.open();
  command(kCmdTextLarge);
  EXPECT_EQ(f.display.textSize, 3u);
  EXPECT_TRUE(bar().isMarked(kCmdTextLarge));
  EXPECT_FALSE(bar().isMarked(kCmdTextMedium));
  command(kCmdUseClearType);
  EXPECT_EQ(f.display.useClearType, 0u);
  command(kCmdStrictCompare);
  EXPECT_TRUE(w.strictCompare());
  EXPECT_TRUE(bar().isMarked(kCmdStrictCompare));
  command(kCmdShowLookupButton);
  ASSERT_EQ(f.launcher.started.size(), 1u);
  EXPECT_NE(f.launcher.started[0].find("lexora-util"), std::string::npos);
  EXPECT_TRUE(bar().isMarked(kCmdShowLookupButton));
}

TEST_F(WindowMenusTest, LookupButtonFollowsTheSessionOrSaysWhyItCannotRun) {
  std::string blocker;
  std::vector<bool> autostart;
  f.adjustServices = [&](WindowServices& services) {
    services.lookupButtonBlocker = [&] { return blocker; };
    services.setLookupButtonAutostart = [&](bool start) {
      autostart.push_back(start);
      return true;
    };
  };
  f.open();
  command(kCmdShowLookupButton);
  command(kCmdShowLookupButton);
  EXPECT_EQ(autostart, (std::vector<bool>{true, false}));

  // No XWayland: the option stays off, nothing starts, and a message box says why.
  blocker = "no XWayland here";
  f.launcher.started.clear();
  QString shown;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    shown = box->text();
    box->accept();
  });
  command(kCmdShowLookupButton);
  EXPECT_EQ(shown, QStringLiteral("no XWayland here"));
  EXPECT_TRUE(f.launcher.started.empty());
  EXPECT_FALSE(bar().isMarked(kCmdShowLookupButton));
  EXPECT_EQ(autostart.size(), 2u);
}

TEST_F(WindowMenusTest, EditCommandsOpenTheEditorOnlyWhereUsable) {
  f.open();
  command(kCmdShowWordList);
  EXPECT_TRUE(bar().action(kCmdAddNewWord)->isEnabled());
  EXPECT_FALSE(bar().action(kCmdDeleteWord)->isEnabled());
  command(kCmdDeleteWord);  // greyed: nothing happens
  command(kCmdAddNewWord);  // the editor opens and is cancelled
  ASSERT_EQ(f.entryDialogs.editorRuns.size(), 1u);
  EXPECT_EQ(f.entryDialogs.editorRuns[0].first, EditMode::Add);
  EXPECT_TRUE(f.entryDialogs.questions.empty());
  EXPECT_TRUE(f.entryDialogs.messages.empty());
}

}  // namespace
}  // namespace lexora::test
