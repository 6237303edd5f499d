// The main window's lookup flow, driven as a person would (typing, Return, taps) under the
// offscreen platform.

#include <gtest/gtest.h>
#include <QApplication>
#include <QEnterEvent>
#include <QLineEdit>
#include <QListView>
#include <QTest>
#include <QToolButton>
#include <filesystem>

#include "gui/main_window/popup_bubble.h"
#include "gui/main_window/word_list_model.h"
#include "gui/widgets/html_viewer.h"
#include "gui_test_support.h"
#include "platform/window_identity.h"

namespace lexora::test {
namespace {

const Entries kEnglish = {
    {u"apple", u"@apple|'æpl|\r\n* noun\r\n- a round fruit\r\n=$apple pie+a sweet dish"},
    {u"banana", u"@banana\r\n* noun\r\n- a long yellow fruit"},
    {u"cherry", u"@cherry\r\n* noun\r\n- a small red fruit"},
    {u"ice cream", u"@ice cream\r\n- a frozen sweet"},
    {u"plum", u"@plum\r\n- a purple fruit"},
};
const Entries kVietnamese = {
    {u"chuối", u"@chuối\r\n- banana"},
    {u"táo", u"@táo\r\n- apple"},
};

class LookupFlowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    f.addDictionary("english", kEnglish);
    f.addDictionary("vietnamese", kVietnamese, 0);
  }
  QString page() { return f.window->viewer()->page(); }
  int selectedRow() { return f.window->wordList()->currentIndex().row(); }
  WindowFixture f;
};

TEST_F(LookupFlowTest, OpensDictionariesFirstWorkingLastReverse) {
  LexoraDialog& w = f.open();
  EXPECT_EQ(w.windowTitle(), "Lexora");
  EXPECT_EQ(f.workingDictIndex, 0);
  EXPECT_EQ(f.reverseDictIndex, 1);
  EXPECT_EQ(w.wordListModel()->rowCount(), 5);
  EXPECT_EQ(w.wordListModel()->word(3), "ice cream");
  EXPECT_EQ(w.viewMode(), 1);  // home page
  EXPECT_EQ(w.currentEntryIndex(), -1);
}

TEST_F(LookupFlowTest, TypingMovesTheSelectionAndShowsNothing) {
  LexoraDialog& w = f.open();
  const QString home = page();
  QTest::keyClicks(w.wordBox(), "ch");
  EXPECT_EQ(selectedRow(), 2);
  EXPECT_EQ(page(), home);
  EXPECT_EQ(w.currentEntryIndex(), -1);
  EXPECT_EQ(w.viewMode(), 1);
}

TEST_F(LookupFlowTest, ReturnShowsTheSelectedEntryAndFillsTheWordBox) {
  LexoraDialog& w = f.open();
  w.show();
  QTest::keyClicks(w.wordBox(), "ban");
  QTest::keyClick(w.wordBox(), Qt::Key_Return);
  EXPECT_TRUE(w.isVisible());  // Return never closes the window
  EXPECT_EQ(w.wordBox()->text(), "banana");
  EXPECT_EQ(w.currentEntryIndex(), 1);
  EXPECT_EQ(w.viewMode(), 0);
  EXPECT_TRUE(page().contains("a long yellow fruit"));
  EXPECT_TRUE(w.lookupButton()->isEnabled());
  EXPECT_FALSE(w.shownFromReverse());
}

TEST_F(LookupFlowTest, TapOnARowShowsIt) {
  LexoraDialog& w = f.open();
  w.setViewMode(kWordListPane);
  w.show();
  QListView* list = w.wordList();
  QModelIndex row = w.wordListModel()->index(4);
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(row).center());
  EXPECT_EQ(w.currentEntryIndex(), 4);
  EXPECT_TRUE(page().contains("a purple fruit"));
  EXPECT_EQ(w.wordBox()->text(), "plum");
}

TEST_F(LookupFlowTest, LookupWordNormalisesTheText) {
  LexoraDialog& w = f.open();
  w.lookupWord(u"  ice_cre\u0301am \t", 0);
  EXPECT_EQ(w.wordBox()->text(), "ice cream");
  EXPECT_EQ(w.currentEntryIndex(), 3);
  EXPECT_TRUE(page().contains("a frozen sweet"));
}

TEST_F(LookupFlowTest, StrictCompareOnlyScrollsToTheNearestRow) {
  LexoraDialog& w = f.open();
  w.setStrictCompare(true);
  w.lookupWord(u"bananas", 0);
  EXPECT_EQ(w.currentEntryIndex(), -1);
  EXPECT_EQ(w.viewMode(), 1);
  EXPECT_GE(selectedRow(), 1);
  EXPECT_TRUE(f.errors.empty());

  // A near miss in the reverse dictionary leaves the row the word box's search selected in
  // the working list; the reverse dictionary's position only scrolls it.
  w.wordBox()->setText("bz");
  const int typed = selectedRow();
  ASSERT_GT(typed, 0);
  w.wordBox()->setText("plum");
  w.lookupWord(u"bz", 1);
  EXPECT_EQ(selectedRow(), typed);
  EXPECT_EQ(w.currentEntryIndex(), -1);
  EXPECT_TRUE(f.errors.empty());

  w.setStrictCompare(false);
  w.lookupWord(u"bananas", 0);
  EXPECT_EQ(w.viewMode(), 0);
  EXPECT_GE(w.currentEntryIndex(), 1);  // the nearest entry is shown
}

TEST_F(LookupFlowTest, PreviousAtTheFirstAndNextAtTheLastWordDoNothing) {
  LexoraDialog& w = f.open();
  w.showEntry(0, 0);
  const QString first = page();
  w.previousWord();
  EXPECT_EQ(w.currentEntryIndex(), 0);
  EXPECT_EQ(page(), first);
  w.nextWord();
  EXPECT_EQ(w.currentEntryIndex(), 1);
  EXPECT_EQ(w.wordBox()->text(), "banana");

  w.showEntry(4, 0);
  const QString last = page();
  w.nextWord();
  EXPECT_EQ(w.currentEntryIndex(), 4);
  EXPECT_EQ(page(), last);
  w.previousWord();
  EXPECT_EQ(w.currentEntryIndex(), 3);
}

TEST_F(LookupFlowTest, NothingHappensWithoutAWorkingDictionary) {
  f.paths[0] = f.folder().toStdString() + "/missing.pvm";
  f.paths[1] = f.paths[0];
  LexoraDialog& w = f.open();
  EXPECT_EQ(f.workingDictIndex, -1);
  EXPECT_EQ(f.reverseDictIndex, -1);
  EXPECT_EQ(w.wordListModel()->rowCount(), 0);
  w.lookupWord(u"apple", 0);
  QTest::keyClicks(w.wordBox(), "a");
  QTest::keyClick(w.wordBox(), Qt::Key_Return);
  w.nextWord();
  EXPECT_EQ(w.currentEntryIndex(), -1);
  EXPECT_TRUE(f.errors.empty());
}

TEST_F(LookupFlowTest, LinksFollowTheDictionaryOfThePage) {
  LexoraDialog& w = f.open();
  // A working-dictionary page: its links go to the working dictionary.
  w.lookupWord(u"apple", 0);
  emit w.viewer()->linkTapped("plum");
  EXPECT_TRUE(page().contains("a purple fruit"));
  EXPECT_FALSE(w.shownFromReverse());
  // A reverse-dictionary page: its links go to the reverse dictionary again.
  w.lookupWord(u"chuối", 1);
  EXPECT_TRUE(w.shownFromReverse());
  emit w.viewer()->linkTapped("táo");
  EXPECT_TRUE(page().contains("- apple") || page().contains("apple"));
  EXPECT_TRUE(w.shownFromReverse());
  EXPECT_FALSE(page().contains("is not in"));
  // A word of the page's other language, held only by the other dictionary: shown from there
  // with a note, not as the nearest unrelated headword.
  w.lookupWord(u"apple", 0);
  emit w.viewer()->linkTapped("chuối");
  EXPECT_TRUE(w.shownFromReverse());
  EXPECT_TRUE(page().contains("banana"));
  EXPECT_TRUE(page().contains("is not in")) << page().toStdString();
  EXPECT_TRUE(f.errors.empty());
}

TEST_F(LookupFlowTest, HandOffChoosesTheDictionaryAndTheDisplay) {
  LexoraDialog& w = f.open();
  // No text on the clipboard: nothing happens.
  w.receiveLookupWord(1, 0);
  EXPECT_EQ(w.currentEntryIndex(), -1);

  // From another program, into the main window: the working dictionary.
  f.clipboard.text = u"cherry";
  w.receiveLookupWord(1, 0);
  EXPECT_TRUE(w.showInMainWindow());
  EXPECT_TRUE(page().contains("a small red fruit"));
  EXPECT_FALSE(w.shownFromReverse());

  // Picked out of a working-dictionary page (lParam 1): the reverse dictionary.
  f.clipboard.text = u"táo";
  w.receiveLookupWord(1, 1);
  EXPECT_TRUE(w.shownFromReverse());
  EXPECT_TRUE(page().contains("apple"));

  // Picked out of a reverse page: back to the working dictionary.
  f.clipboard.text = u"plum";
  w.receiveLookupWord(1, 1);
  EXPECT_FALSE(w.shownFromReverse());
  EXPECT_TRUE(page().contains("a purple fruit"));

  // wParam 0: a popup from the working dictionary; the page stays.
  const QString before = page();
  f.clipboard.text = u"banana";
  w.receiveLookupWord(0, 0);
  EXPECT_FALSE(w.showInMainWindow());
  EXPECT_EQ(page(), before);
  EXPECT_TRUE(w.popupBubble()->isShowingNotification());
  EXPECT_TRUE(w.popupBubble()->page().contains("a long yellow fruit"));
  EXPECT_FALSE(w.popupFromReverse());

  // A link in that popup stays a popup and uses the popup's dictionary.
  emit w.popupBubble()->linkTapped("apple");
  EXPECT_FALSE(w.showInMainWindow());
  EXPECT_TRUE(w.popupBubble()->page().contains("a round fruit"));
  EXPECT_EQ(page(), before);
}

TEST_F(LookupFlowTest, AFailedReadIsReportedAndClosesTheDictionary) {
  // Nothing but this test reads the dictionary, so that no block of it is in memory.
  f.adjustServices = [](WindowServices& services) { services.prepareIndexes = false; };
  LexoraDialog& w = f.open();
  // The meanings' file loses its blocks under the open dictionary.
  std::filesystem::resize_file(f.paths[0], 0);
  w.showEntry(2, 0);
  ASSERT_EQ(f.errors.size(), 1u);
  EXPECT_EQ(f.errors[0], "Error occur. Please re-select your dictionary files or restart Lexora.");
  EXPECT_FALSE(f.dictionaries[0].isOpen());
  EXPECT_EQ(w.viewMode(), 1);
  // Later lookups in it fail with the same message.
  w.lookupWord(u"apple", 0);
  EXPECT_EQ(f.errors.size(), 2u);
}

TEST_F(LookupFlowTest, PopupPagesTurnAndReplaceEachOther) {
  WindowFixture g;
  std::u16string meaning = u"@many";
  for (int i = 1; i <= 7; ++i) meaning += u"\r\n- sense " + std::u16string(1, char16_t(u'0' + i));
  g.addDictionary("paged", {{u"many", meaning}});  // 8 fragments: headword and 7 senses
  LexoraDialog& w = g.open();
  w.setShowInMainWindow(false);
  w.lookupWord(u"many", 0);
  PopupBubble* bubble = w.popupBubble();
  EXPECT_EQ(w.popupFragments().size(), 8u);
  EXPECT_EQ(w.popupPage(), 0);
  EXPECT_EQ(w.popupNotificationId(), 1u);
  EXPECT_EQ(bubble->notificationId(), 1u);
  ASSERT_EQ(bubble->buttons().size(), 1u);
  EXPECT_EQ(bubble->buttons()[0], (BubbleButton{4, "Next"}));

  ASSERT_TRUE(bubble->pressButton(4));
  EXPECT_EQ(w.popupPage(), 1);
  EXPECT_EQ(bubble->notificationId(), 2u);  // one bubble: the new page replaced the old
  EXPECT_TRUE(bubble->page().contains("sense 6"));
  EXPECT_TRUE(bubble->page().contains("sense 7"));
  EXPECT_FALSE(bubble->page().contains("sense 5"));
  ASSERT_EQ(bubble->buttons().size(), 1u);
  EXPECT_EQ(bubble->buttons()[0], (BubbleButton{3, "Prev"}));
  EXPECT_FALSE(bubble->pressButton(4));  // the page before's Next is gone with it
  EXPECT_EQ(w.popupPage(), 1);

  ASSERT_TRUE(bubble->pressButton(3));
  EXPECT_EQ(w.popupPage(), 0);
  EXPECT_EQ(w.popupNotificationId(), 3u);
  EXPECT_TRUE(bubble->isShowingNotification());

  w.quit();
  EXPECT_FALSE(bubble->isShowingNotification());
}

TEST(PopupBubbleTest, StaysWhileThePointerIsOverIt) {
  application();
  PopupBubble bubble;
  bubble.addNotification(1, QStringLiteral("<html><body>word</body></html>"), 1, QIcon());
  EXPECT_TRUE(bubble.isCountingDown());
  QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
  QApplication::sendEvent(&bubble, &enter);
  EXPECT_FALSE(bubble.isCountingDown());
  EXPECT_TRUE(bubble.isShowingNotification());
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(&bubble, &leave);
  EXPECT_TRUE(bubble.isCountingDown());  // its time starts again once the pointer has left
  bubble.removeNotification(1);
  QApplication::sendEvent(&bubble, &leave);
  EXPECT_FALSE(bubble.isCountingDown());
}

TEST(PopupBubbleTest, SplitsThePageIntoHtmlAndButtons) {
  BubblePage parts = splitBubblePage(
      "<html><body>x<p align=right><input type=button name='cmd:3' value='Prev'>"
      "<input type=button name='cmd:4' value='Next'></body></html>");
  EXPECT_EQ(parts.html, "<html><body>x</body></html>");
  ASSERT_EQ(parts.buttons.size(), 2u);
  EXPECT_EQ(parts.buttons[0], (BubbleButton{3, "Prev"}));
  EXPECT_EQ(parts.buttons[1], (BubbleButton{4, "Next"}));
}

TEST(HtmlViewerTest, AdaptsLineBreaksAndEmLengthsOnly) {
  // A <br> ending a line right before a paragraph goes; one after a paragraph stays.
  EXPECT_EQ(HtmlViewer::adaptHtml(
                "<body>w<br><font color=\"#ff0000\"><p style=\"margin-left:0.5em;\">m</P>"
                "<br><p style=\"margin-left:0em;\">n</P>",
                10),
            "<body>w<font color=\"#ff0000\"><p style=\"margin-left:5px;\">m</P>"
            "<br><p style=\"margin-left:0px;\">n</P>");
  EXPECT_EQ(HtmlViewer::adaptHtml("a<br>b 1em", 10), "a<br>b 1em");
  // Pictures are centred on the line unless the page aligns them itself.
  EXPECT_EQ(HtmlViewer::adaptHtml("<img src=\"a.gif\"> x<IMG align=top src=b>", 10),
            "<img align=\"middle\" src=\"a.gif\"> x<IMG align=top src=b>");
}

}  // namespace
}  // namespace lexora::test
