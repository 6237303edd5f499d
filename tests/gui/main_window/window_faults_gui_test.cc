// The main window where a person would find it wrong: edits that must hit the entry on screen,
// hand-offs that wait for a dialog or bring nothing, lookups in an empty dictionary, the focus
// after a lookup, the home page after the dictionaries were reopened, and settings that
// cannot be used.

#include <gtest/gtest.h>
#include <QAction>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "app/settings.h"
#include "gui/main_window/menu_bar.h"
#include "gui/main_window/settings_warning.h"
#include "gui/main_window/word_list_model.h"
#include "gui/widgets/html_viewer.h"
#include "gui_test_support.h"
#include "platform/window_identity.h"

namespace lexora::test {
namespace {

const Entries kEnglish = {{u"apple", u"@apple\r\n- a fruit"},
                          {u"banana", u"@banana\r\n- a long fruit"},
                          {u"cherry", u"@cherry\r\n- a small fruit"}};
const Entries kFrench = {{u"poire", u"@poire\r\n- pear"},
                         {u"pomme", u"@pomme\r\n- apple"},
                         {u"prune", u"@prune\r\n- plum"}};

class WindowFaultsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    f.addDictionary("english", kEnglish);
    f.addDictionary("french", kFrench);
  }
  QString page() { return f.window->viewer()->page(); }
  bool enabled(int command) { return f.window->menuBar()->action(command)->isEnabled(); }
  LexoraDialog& openShown() {
    LexoraDialog& w = f.open();
    w.show();
    w.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&w));
    return w;
  }
  WindowFixture f;
};

// A page from the reverse dictionary shares positions with the working dictionary: deleting
// "after" it must not delete the working dictionary's entry at that position.
TEST_F(WindowFaultsTest, APageFromTheReverseDictionaryIsNoEditTarget) {
  LexoraDialog& w = f.open();
  w.lookupWord(u"banana", 0);
  ASSERT_EQ(w.currentEntryIndex(), 1);
  EXPECT_TRUE(enabled(kCmdDeleteWord));

  w.lookupWord(u"pomme", 1);  // position 1 of the reverse dictionary
  ASSERT_TRUE(page().contains("apple"));
  EXPECT_EQ(w.currentEntryIndex(), -1);
  for (int command : {kCmdModifyMeaning, kCmdModifyWord, kCmdDeleteWord}) {
    EXPECT_FALSE(enabled(command)) << command;
  }
  f.entryDialogs.answerYes = true;
  f.entryDialogs.editorResult = EntryTexts{u"x", u"y"};
  for (int command : {kCmdModifyMeaning, kCmdModifyWord, kCmdDeleteWord}) w.runCommand(command);
  EXPECT_TRUE(f.entryDialogs.questions.empty());
  EXPECT_TRUE(f.entryDialogs.editorRuns.empty());
  EXPECT_EQ(w.wordListModel()->rowCount(), 3);
  EXPECT_EQ(w.wordListModel()->word(1), "banana");

  // A link in that page goes on in the reverse dictionary: still no target.
  w.lookupWord(u"poire", 1);
  EXPECT_EQ(w.currentEntryIndex(), -1);
  // A popup leaves the main window's page, and its target, alone.
  w.lookupWord(u"cherry", 0);
  ASSERT_EQ(w.currentEntryIndex(), 2);
  w.setShowInMainWindow(false);
  w.lookupWord(u"prune", 1);
  EXPECT_EQ(w.currentEntryIndex(), 2);
}

TEST_F(WindowFaultsTest, AfterDeleteWordTheHomePageIsShownAndTheEditCommandsGrey) {
  LexoraDialog& w = f.open();
  w.lookupWord(u"banana", 0);
  f.entryDialogs.answerYes = true;
  w.runCommand(kCmdDeleteWord);
  ASSERT_EQ(w.wordListModel()->rowCount(), 2);
  EXPECT_EQ(w.viewMode(), 1);
  EXPECT_FALSE(page().contains("a long fruit"));
  EXPECT_TRUE(page().contains("You got:"));
  EXPECT_EQ(w.currentEntryIndex(), -1);
  EXPECT_FALSE(enabled(kCmdDeleteWord));
  EXPECT_FALSE(enabled(kCmdModifyMeaning));
}

// A word handed over while a dialog of the program is open waits until it has closed: the
// entry an edit was opened on must not change under it.
TEST_F(WindowFaultsTest, AHandOffDuringAModalDialogWaitsUntilItCloses) {
  LexoraDialog& w = openShown();
  w.lookupWord(u"apple", 0);
  f.clipboard.text = u"cherry";
  bool shownInside = true;
  size_t waitingInside = 0;
  QDialog dialog(&w);
  QTimer::singleShot(0, &dialog, [&] {
    w.handleWindowMessage(WindowMessage{kLookupWordMessage, 1, 0});
    QTest::qWait(50);
    shownInside = page().contains("a small fruit");
    waitingInside = w.waitingHandOffs();
    f.clipboard.text = u"banana";  // the word was taken when it arrived
    dialog.reject();
  });
  dialog.exec();
  EXPECT_FALSE(shownInside);
  EXPECT_EQ(waitingInside, 1u);
  EXPECT_EQ(w.currentEntryIndex(), 0);
  for (int i = 0; i < 40 && w.waitingHandOffs() > 0; ++i) QTest::qWait(25);
  EXPECT_EQ(w.waitingHandOffs(), 0u);
  EXPECT_TRUE(page().contains("a small fruit"));
  EXPECT_EQ(w.currentEntryIndex(), 2);
}

TEST_F(WindowFaultsTest, ABlankHandOffDoesNothing) {
  LexoraDialog& w = f.open();
  const QString home = page();
  for (const char16_t* blank : {u"", u"  \r\n\t", u"\u00a0_"}) {
    f.clipboard.text = blank;
    w.receiveLookupWord(1, 0);
  }
  EXPECT_EQ(page(), home);
  EXPECT_EQ(w.viewMode(), 1);
  EXPECT_EQ(w.historyTree()->topLevelItemCount(), 0);
  EXPECT_TRUE(f.errors.empty());
  f.clipboard.text = u" cherry ";
  w.receiveLookupWord(1, 0);
  EXPECT_TRUE(page().contains("a small fruit"));
}

TEST(WindowEmptyDictionaryTest, ALookupInAnEmptyDictionaryIsAMiss) {
  WindowFixture f;
  f.addDictionary("new", {});
  LexoraDialog& w = f.open();
  ASSERT_EQ(f.workingDictIndex, 0);
  w.lookupWord(u"anything", 0);
  f.clipboard.text = u"word";
  w.receiveLookupWord(1, 0);
  EXPECT_TRUE(f.errors.empty());
  EXPECT_EQ(w.viewMode(), 1);
  EXPECT_EQ(w.currentEntryIndex(), -1);
}

TEST_F(WindowFaultsTest, AfterALookupFromTheWordBoxTheNextWordCanBeTypedAtOnce) {
  LexoraDialog& w = openShown();
  QTest::keyClicks(w.wordBox(), "ban");
  QTest::keyClick(w.wordBox(), Qt::Key_Return);
  QTest::qWait(20);  // as between two key strokes
  ASSERT_TRUE(page().contains("a long fruit"));
  EXPECT_TRUE(w.wordBox()->hasFocus());
  EXPECT_EQ(w.wordBox()->selectedText(), "banana");
  QTest::keyClicks(w.wordBox(), "ch");
  EXPECT_EQ(w.wordBox()->text(), "ch");

  // With the page focused (a link, a tap on it), a typed letter starts a new word.
  w.lookupWord(u"apple", 0);
  w.viewer()->setFocus();
  ASSERT_TRUE(w.viewer()->hasFocus());
  QTest::keyClick(w.viewer(), Qt::Key_P);
  EXPECT_TRUE(w.wordBox()->hasFocus());
  EXPECT_EQ(w.wordBox()->text(), "p");
  QTest::qWait(20);  // a deferred select-all must not swallow what was typed
  QTest::keyClicks(w.wordBox(), "lu");
  EXPECT_EQ(w.wordBox()->text(), "plu");
}

TEST_F(WindowFaultsTest, TheHomePageFollowsTheDictionariesReopened) {
  LexoraDialog& w = f.open();
  ASSERT_EQ(w.viewMode(), 1);
  ASSERT_FALSE(page().contains("german"));
  LexoraDialog::CommandDialogs dialogs;
  dialogs.dictionaries = [this] {
    f.addDictionary("german", {{u"apfel", u"- apple"}});
    return true;
  };
  w.setCommandDialogs(dialogs);
  w.runDictionariesCommand();
  EXPECT_TRUE(page().contains("german"));
  EXPECT_TRUE(page().contains("1 words"));
}

// A store the settings cannot be read from is the user's: the window says why it runs on the
// defaults, and neither reading nor saving touches the file.
TEST(SettingsWarningTest, SettingsThatCannotBeUsedAreNamedAndKept) {
  application();
  QTemporaryDir dir;
  const QString store = dir.filePath(QStringLiteral("registry.sqlite"));
  const QByteArray bytes = QByteArray("SQLite format 3") + QByteArray(4096, 'x');
  QFile file(store);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
  file.close();
  ASSERT_FALSE(openSettingsKey(store.toStdString()));
  loadSettings();
  settings().display.textSize = 4;
  saveSettings();

  QWidget window;
  window.show();
  sayWhenSettingsAreNotUsed(&window);
  auto* box = window.findChild<QMessageBox*>();
  ASSERT_NE(box, nullptr);
  EXPECT_TRUE(box->isVisible());
  EXPECT_TRUE(box->text().startsWith(QStringLiteral("Lexora cannot use its settings: ")));
  EXPECT_TRUE(box->text().contains(store)) << box->text().toStdString();
  EXPECT_TRUE(box->text().contains(QStringLiteral("changes made now are not saved")));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), bytes);
  box->close();

  // Settings that open say nothing.
  ASSERT_TRUE(openSettingsKey(dir.filePath(QStringLiteral("good.sqlite")).toStdString()));
  sayWhenSettingsAreNotUsed(&window);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(window.findChild<QMessageBox*>(), nullptr);
}

}  // namespace
}  // namespace lexora::test
