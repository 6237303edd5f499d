// The four edit commands run from the main window's menus on a real dictionary, with the
// message boxes and the entry editor scripted.

#include <gtest/gtest.h>
#include <QAction>
#include <QListView>

#include "gui/main_window/menu_bar.h"
#include "gui/main_window/word_list_model.h"
#include "gui/widgets/html_viewer.h"
#include "gui_test_support.h"

namespace lexora::test {
namespace {

const Entries kEnglish = {{u"apple", u"@apple\r\n- a fruit"},
                          {u"banana", u"@banana\r\n- a long fruit"},
                          {u"cherry", u"@cherry\r\n- a small fruit"}};

class EntryEditingTest : public ::testing::Test {
 protected:
  void SetUp() override { f.addDictionary("english", kEnglish); }
  void command(int id) { f.window->menuBar()->action(id)->trigger(); }
  int rows() { return f.window->wordListModel()->rowCount(); }
  QString page() { return f.window->viewer()->page(); }
  WindowFixture f;
};

TEST_F(EntryEditingTest, AddNewWordStoresItLowerCasedAndShowsIt) {
  LexoraDialog& w = f.open();
  command(kCmdShowWordList);
  f.entryDialogs.editorResult = EntryTexts{u"Hello", u"@hello\r\n- a greeting"};
  command(kCmdAddNewWord);

  ASSERT_EQ(f.entryDialogs.editorRuns.size(), 1u);
  EXPECT_EQ(f.entryDialogs.editorRuns[0].first, EditMode::Add);
  EXPECT_EQ(f.entryDialogs.editorRuns[0].second.headword, u"NewWord");
  ASSERT_EQ(f.entryDialogs.messages.size(), 1u);
  EXPECT_EQ(f.entryDialogs.messages[0].first, u"Add OK!");
  EXPECT_EQ(f.entryDialogs.messages[0].second, MessageIcon::None);

  EXPECT_EQ(rows(), 4);
  EXPECT_EQ(w.wordListModel()->word(3), "hello");
  EXPECT_EQ(w.currentEntryIndex(), 3);
  EXPECT_EQ(w.wordList()->currentIndex().row(), 3);
  EXPECT_EQ(w.viewMode(), 0);
  EXPECT_TRUE(page().contains("a greeting"));
  EXPECT_TRUE(f.errors.empty());
}

TEST_F(EntryEditingTest, AddingAWordThatExistsChangesNothing) {
  LexoraDialog& w = f.open();
  command(kCmdShowWordList);
  f.entryDialogs.editorResult = EntryTexts{u"Banana", u"@banana\r\n- again"};
  command(kCmdAddNewWord);
  ASSERT_EQ(f.entryDialogs.messages.size(), 1u);
  EXPECT_EQ(f.entryDialogs.messages[0].first, u"Word exist in the dictionary!");
  EXPECT_EQ(rows(), 3);
  EXPECT_EQ(w.currentEntryIndex(), -1);
}

TEST_F(EntryEditingTest, ModifyMeaningChangesTheShownEntry) {
  LexoraDialog& w = f.open();
  w.lookupWord(u"apple", 0);
  ASSERT_EQ(w.currentEntryIndex(), 0);
  f.entryDialogs.editorResult = EntryTexts{u"apple", u"@apple\r\n- a crisp fruit"};
  command(kCmdModifyMeaning);
  ASSERT_EQ(f.entryDialogs.editorRuns.size(), 1u);
  EXPECT_EQ(f.entryDialogs.editorRuns[0].first, EditMode::ModifyMeaning);
  EXPECT_EQ(f.entryDialogs.editorRuns[0].second.headword, u"apple");
  ASSERT_EQ(f.entryDialogs.messages.size(), 1u);
  EXPECT_EQ(f.entryDialogs.messages[0].first, u"Modify OK!");
  EXPECT_TRUE(page().contains("a crisp fruit"));
  EXPECT_EQ(w.currentEntryIndex(), 0);
}

TEST_F(EntryEditingTest, DeleteWordAsksFirstAndShrinksTheListOnYes) {
  LexoraDialog& w = f.open();
  w.lookupWord(u"banana", 0);
  ASSERT_EQ(w.currentEntryIndex(), 1);

  command(kCmdDeleteWord);  // answered No
  ASSERT_EQ(f.entryDialogs.questions.size(), 1u);
  EXPECT_EQ(f.entryDialogs.questions[0], u"You want delete entry: \"banana\"");
  EXPECT_EQ(rows(), 3);
  EXPECT_EQ(w.currentEntryIndex(), 1);

  f.entryDialogs.answerYes = true;
  command(kCmdDeleteWord);
  EXPECT_EQ(f.entryDialogs.questions.size(), 2u);
  EXPECT_TRUE(f.entryDialogs.messages.empty());
  EXPECT_EQ(rows(), 2);
  EXPECT_EQ(w.currentEntryIndex(), -1);
  EXPECT_EQ(w.wordListModel()->word(1), "cherry");
  EXPECT_TRUE(f.entryDialogs.editorRuns.empty());
}

TEST_F(EntryEditingTest, WithNoEntryShownOnlyAddActs) {
  LexoraDialog& w = f.open();
  ASSERT_EQ(w.currentEntryIndex(), -1);
  // runCommand passes by the menus' greying: the commands check for themselves.
  for (int id : {kCmdModifyMeaning, kCmdModifyWord, kCmdDeleteWord}) w.runCommand(id);
  EXPECT_TRUE(f.entryDialogs.editorRuns.empty());
  EXPECT_TRUE(f.entryDialogs.questions.empty());
  EXPECT_TRUE(f.entryDialogs.messages.empty());

  w.runCommand(kCmdAddNewWord);  // cancelled
  EXPECT_EQ(f.entryDialogs.editorRuns.size(), 1u);
  EXPECT_TRUE(f.entryDialogs.messages.empty());
  EXPECT_EQ(rows(), 3);
}

TEST(EntryEditingNoDictionaryTest, NoWorkingDictionaryMeansNoCommandActs) {
  WindowFixture f;
  LexoraDialog& w = f.open();
  ASSERT_EQ(f.workingDictIndex, -1);
  f.entryDialogs.editorResult = EntryTexts{u"hello", u"@hello"};
  for (int id : {kCmdAddNewWord, kCmdModifyMeaning, kCmdModifyWord, kCmdDeleteWord}) {
    w.runCommand(id);
  }
  EXPECT_TRUE(f.entryDialogs.editorRuns.empty());
  EXPECT_TRUE(f.entryDialogs.messages.empty());
  EXPECT_TRUE(f.entryDialogs.questions.empty());
}

}  // namespace
}  // namespace lexora::test
