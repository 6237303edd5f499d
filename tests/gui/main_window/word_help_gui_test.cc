// The main window's lookups that miss: a base form's entry under a note of the typed form,
// suggestions as links under the nearest entry or alone with Strict Compare, a tap on a
// suggestion, and Return with Strict Compare.

#include <gtest/gtest.h>
#include <QLineEdit>
#include <QListView>
#include <QTest>

#include "app/word_help.h"
#include "gui/main_window/popup_bubble.h"
#include "gui/widgets/html_viewer.h"
#include "gui_test_support.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/small_hunspell.h"

namespace lexora::test {
namespace {

const Entries kWords = {
    {u"ruling", u"@ruling\r\n- a decision"},
    {u"run", u"@run\r\n- to move swiftly"},
    {u"running", u"@running\r\n- a race"},
    {u"study", u"@study\r\n- to learn"},
};

class WordHelpWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    writeSmallHunspell(hunspell_);
    f.addDictionary("english", kWords);
    f.wordHelp =
        std::make_shared<WordHelp>(WordHelp::Places{nullptr, indexes_.path(), {hunspell_.path()}});
  }
  // Lookups with word help are answered on the window's lookup thread.
  QString page() {
    EXPECT_TRUE(QTest::qWaitFor([this] { return !f.window->lookupsBusy(); }, 10000));
    return f.window->viewer()->page();
  }
  void settle() { page(); }
  int selectedRow() { return f.window->wordList()->currentIndex().row(); }

  ScratchDir hunspell_;
  ScratchDir indexes_;
  WindowFixture f;
};

TEST_F(WordHelpWindowTest, ABaseFormIsShownUnderANoteOfTheTypedForm) {
  LexoraDialog& w = f.open();
  w.lookupWord(u"studies", 0);
  settle();
  EXPECT_EQ(w.currentEntryIndex(), 3);
  EXPECT_EQ(selectedRow(), 3);  // the word list selects the base form
  EXPECT_EQ(w.wordBox()->text(), "studies");
  EXPECT_TRUE(page().contains(QString::fromUtf8("<i>studies</i> \u2192 <b>study</b>")));
  EXPECT_TRUE(page().contains("to learn"));
  ASSERT_EQ(w.history().words(0).size(), 1u);
  EXPECT_EQ(w.history().words(0)[0], u"study");  // what was shown

  w.lookupWord(u"run", 0);  // an exact match: the page as it always was
  settle();
  EXPECT_FALSE(page().contains(QString::fromUtf8("\u2192")));
  EXPECT_FALSE(page().contains("Did you mean"));
}

TEST_F(WordHelpWindowTest, ATappedWordIsShownWhereItIsHeld) {
  f.addDictionary("vietnamese", {{u"ch\u1ea1y", u"@ch\u1ea1y\r\n- to run"}});
  LexoraDialog& w = f.open();
  w.lookupWord(u"run", 0);
  settle();
  // Held by the page's dictionary as a form of a headword: shown there, with no note.
  emit w.viewer()->linkTapped(QStringLiteral("studies"));
  EXPECT_TRUE(page().contains("to learn"));
  EXPECT_FALSE(page().contains("is not in"));
  // Held only by the other dictionary of the pair: shown from there, and it says so.
  emit w.viewer()->linkTapped(QString::fromUtf8("ch\u1ea1y"));
  EXPECT_TRUE(page().contains("- to run") || page().contains("to run"));
  EXPECT_TRUE(page().contains("is not in")) << page().toStdString();
  EXPECT_TRUE(w.shownFromReverse());
}

TEST_F(WordHelpWindowTest, AHandOffShowsItsPopupOnceAnswered) {
  LexoraDialog& w = f.open();
  f.clipboard.text = u"studies";
  w.receiveLookupWord(0, 0);  // a popup, answered on the lookup thread
  settle();
  EXPECT_FALSE(w.showInMainWindow());
  EXPECT_TRUE(w.popupBubble()->isShowingNotification());
  EXPECT_TRUE(w.popupBubble()->page().contains("to learn"));
}

TEST_F(WordHelpWindowTest, TheNewestLookupWins) {
  LexoraDialog& w = f.open();
  w.lookupWord(u"studies", 0);  // worked out on the lookup thread, but by the time it is
  w.lookupWord(u"run", 0);      // answered another lookup was asked for
  settle();
  EXPECT_TRUE(page().contains("to move swiftly"));
  EXPECT_FALSE(page().contains("to learn"));
  EXPECT_EQ(w.currentEntryIndex(), 1);
  EXPECT_EQ(w.history().words(0), std::vector<std::u16string>{u"run"});
}

TEST_F(WordHelpWindowTest, TypingOnAfterReturnDropsTheAnswer) {
  LexoraDialog& w = f.open();
  w.wordBox()->setFocus();
  QTest::keyClicks(w.wordBox(), "studies");
  QTest::keyClick(w.wordBox(), Qt::Key_Return);  // answered on the lookup thread...
  QTest::keyClicks(w.wordBox(), "x");            // ...after the next keystroke
  settle();
  EXPECT_FALSE(page().contains("to learn"));
  EXPECT_EQ(w.currentEntryIndex(), -1);
  EXPECT_EQ(w.wordBox()->text(), "studiesx");
}

TEST_F(WordHelpWindowTest, ReturnInTheWordBoxShowsTheBaseForm) {
  LexoraDialog& w = f.open();
  w.wordBox()->setFocus();
  QTest::keyClicks(w.wordBox(), "studies");
  QTest::keyClick(w.wordBox(), Qt::Key_Return);
  settle();
  EXPECT_TRUE(page().contains(QString::fromUtf8("<i>studies</i> \u2192 <b>study</b>")));
  EXPECT_EQ(selectedRow(), 3);
  EXPECT_EQ(w.currentEntryIndex(), 3);

  QTest::keyClicks(w.wordBox(), "run");  // a headword: its row, as it always was
  QTest::keyClick(w.wordBox(), Qt::Key_Return);
  settle();
  EXPECT_TRUE(page().contains("to move swiftly"));
  EXPECT_FALSE(page().contains(QString::fromUtf8("\u2192")));
}

TEST_F(WordHelpWindowTest, SuggestionsAreLinksUnderTheEntryOrAlone) {
  LexoraDialog& w = f.open();
  w.lookupWord(u"runing", 0);
  settle();
  EXPECT_GE(w.currentEntryIndex(), 0);  // the nearest entry, as before
  EXPECT_TRUE(
      page().contains("<p>Did you mean: <a href=\"running\">running</a>, "
                      "<a href=\"ruling\">ruling</a>"));
  EXPECT_EQ(w.history().words(0)[0], u"runing");  // the typed word, as before

  w.setStrictCompare(true);
  w.lookupWord(u"studdy", 0);
  settle();
  EXPECT_EQ(w.currentEntryIndex(), -1);  // no entry shown
  EXPECT_EQ(w.viewMode(), 0);
  EXPECT_TRUE(page().contains("<a href=\"study\">study</a>"));
  EXPECT_FALSE(page().contains("to learn"));

  emit w.viewer()->linkTapped("study");  // a tap on a suggestion looks it up
  settle();
  EXPECT_EQ(w.currentEntryIndex(), 3);
  EXPECT_TRUE(page().contains("to learn"));
  EXPECT_TRUE(f.errors.empty());
}

TEST_F(WordHelpWindowTest, StrictCompareReturnOpensTheHighlightedRowAndNotesSayHow) {
  LexoraDialog& w = f.open();
  w.setStrictCompare(true);
  w.wordBox()->setFocus();
  QTest::keyClicks(w.wordBox(), "stu");  // no entry, no form: the list highlights "study"
  QTest::keyClick(w.wordBox(), Qt::Key_Return);
  settle();
  EXPECT_EQ(w.currentEntryIndex(), 3);
  EXPECT_TRUE(page().contains("to learn"));
  EXPECT_FALSE(page().contains("Did you mean"));

  w.lookupWord(u"run-ning", 0);  // another spelling is shown with Strict Compare too
  settle();
  EXPECT_EQ(w.currentEntryIndex(), 2);
  EXPECT_TRUE(page().contains("<p>Showing <b>running</b> for <i>run-ning</i></p>"));
}

}  // namespace
}  // namespace lexora::test
