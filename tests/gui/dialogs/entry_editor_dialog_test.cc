#include "gui/dialogs/entry_editor_dialog.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextCursor>
#include <QToolButton>

#include "gui/dialogs/entry_editor_layout.h"
#include "gui/dialogs/meaning_box_text.h"
#include "gui/widgets/qt_geometry.h"
#include "tests/gui/dialogs/dialog_test_support.h"

namespace lexora {
namespace {

class EntryEditorDialogTest : public ::testing::Test {
 protected:
  void SetUp() override { test::testApplication(); }

  template <typename T>
  static T* child(const EntryEditorDialog& dialog, const char* name) {
    T* widget = dialog.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }
};

TEST(EntryEditorLayoutTest, PlacesControlsFromTheClientRectangle) {
  const EntryEditorLayout layout = layoutEntryEditor({0, 0, 240, 268});
  EXPECT_EQ(layout.headwordBox, (ControlRect{-1, 26, 242, 18}));
  EXPECT_EQ(layout.meaningBox, (ControlRect{-1, 48, 242, 220}));
  EXPECT_EQ(layout.cancelButton, (ControlRect{200, 5, 16, 16}));
  EXPECT_EQ(layout.okButton, (ControlRect{220, 5, 16, 16}));

  // A raised input panel shortens the meaning box; a tiny client leaves it empty.
  EXPECT_EQ(layoutEntryEditor({10, 20, 250, 288}, 80).meaningBox, (ControlRect{9, 68, 242, 140}));
  EXPECT_EQ(layoutEntryEditor({0, 0, 50, 30}).meaningBox.height, 0);
}

TEST_F(EntryEditorDialogTest, ModesSetTitleAndDisabledBox) {
  struct Case {
    EditMode mode;
    const char* title;
    bool headwordEnabled;
    bool meaningEnabled;
  };
  for (const Case& c : {Case{EditMode::Add, "Add new entry", true, true},
                        Case{EditMode::ModifyMeaning, "Modify meaning", false, true},
                        Case{EditMode::ModifyWord, "Modify word", true, false}}) {
    EntryEditorDialog dialog(c.mode, u"word", u"- meaning");
    auto* title = child<QLabel>(dialog, "titleLine");
    EXPECT_EQ(title->text(), QString::fromLatin1(c.title));
    EXPECT_TRUE(title->font().bold());
    EXPECT_EQ(title->palette().color(QPalette::WindowText), QColor(0, 0, 0x80));
    EXPECT_EQ(child<QLineEdit>(dialog, "headwordBox")->isEnabled(), c.headwordEnabled);
    EXPECT_EQ(child<QPlainTextEdit>(dialog, "meaningBox")->isEnabled(), c.meaningEnabled);
    EXPECT_EQ(child<QLineEdit>(dialog, "headwordBox")->text(), QStringLiteral("word"));
  }
}

TEST_F(EntryEditorDialogTest, ControlsFollowTheLayoutOnResize) {
  EntryEditorDialog dialog(EditMode::Add, u"w", u"m");
  dialog.resize(300, 400);
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  const EntryEditorLayout layout = layoutEntryEditor({0, 0, 300, 400});
  EXPECT_EQ(child<QLineEdit>(dialog, "headwordBox")->geometry(), toQRect(layout.headwordBox));
  EXPECT_EQ(child<QPlainTextEdit>(dialog, "meaningBox")->geometry(), toQRect(layout.meaningBox));
  EXPECT_EQ(child<QToolButton>(dialog, "okButton")->geometry(), toQRect(layout.okButton));
  EXPECT_EQ(child<QToolButton>(dialog, "cancelButton")->geometry(), toQRect(layout.cancelButton));
  EXPECT_FALSE(child<QToolButton>(dialog, "okButton")->icon().isNull());
}

TEST_F(EntryEditorDialogTest, OkStoresEditedTextsAndCancelKeepsThem) {
  EntryEditorDialog cancelled(EditMode::Add, u"NewWord", u"NewMeaning");
  child<QLineEdit>(cancelled, "headwordBox")->setText(QStringLiteral("changed"));
  QTest::mouseClick(child<QToolButton>(cancelled, "cancelButton"), Qt::LeftButton);
  EXPECT_EQ(cancelled.result(), QDialog::Rejected);
  EXPECT_EQ(cancelled.headword(), u"NewWord");

  EntryEditorDialog accepted(EditMode::Add, u"NewWord", u"NewMeaning");
  child<QLineEdit>(accepted, "headwordBox")->setText(QStringLiteral("Hello"));
  auto* meaningBox = child<QPlainTextEdit>(accepted, "meaningBox");
  meaningBox->setPlainText(QString());
  meaningBox->setFocus();
  QTest::keyClicks(meaningBox, QStringLiteral("@hello"));
  QTest::keyClick(meaningBox, Qt::Key_Return);
  QTest::keyClicks(meaningBox, QStringLiteral("- xin ch"));
  meaningBox->insertPlainText(QStringLiteral("ào"));
  QTest::mouseClick(child<QToolButton>(accepted, "okButton"), Qt::LeftButton);
  EXPECT_EQ(accepted.result(), QDialog::Accepted);
  EXPECT_EQ(accepted.headword(), u"Hello");
  EXPECT_EQ(accepted.meaning(), u"@hello\r\n- xin chào");
}

TEST_F(EntryEditorDialogTest, MeaningComesBackByteIdenticalWhenUnchanged) {
  // Line ends of every kind, a no-break space and a text ending in a line end.
  const std::u16string meaning = u"@word|pron|\r\r\n- a\u00a0b\r\n=$x+y\rz\nw\u2028\u240d\r\n";
  EntryEditorDialog dialog(EditMode::ModifyMeaning, u"word", meaning);
  auto* meaningBox = child<QPlainTextEdit>(dialog, "meaningBox");
  EXPECT_EQ(meaningBox->document()->blockCount(), 4);  // three line ends, last line empty

  // Without the symbols that stand for themselves the box alone gives the text back too.
  const std::u16string plain = u"- a\u00a0b\r\n=$x+y\rz\nw\t\r\n";
  EntryEditorDialog plainDialog(EditMode::Add, u"w", plain);
  EXPECT_EQ(
      boxTextToMeaning(boxRawText(*child<QPlainTextEdit>(plainDialog, "meaningBox")->document())),
      plain);
  QTest::mouseClick(child<QToolButton>(dialog, "okButton"), Qt::LeftButton);
  EXPECT_EQ(dialog.meaning(), meaning);
  EXPECT_EQ(dialog.headword(), u"word");
}

TEST_F(EntryEditorDialogTest, EditedMeaningEndsItsLinesWithCrLf) {
  EntryEditorDialog dialog(EditMode::ModifyMeaning, u"word", u"- a\r\r\n- b\rc");
  auto* meaningBox = child<QPlainTextEdit>(dialog, "meaningBox");
  EXPECT_EQ(boxRawText(*meaningBox->document()), QString::fromStdU16String(u"- a\n- b\u240dc"));
  meaningBox->moveCursor(QTextCursor::End);
  meaningBox->setFocus();
  QTest::keyClick(meaningBox, Qt::Key_Return);
  QTest::keyClicks(meaningBox, QStringLiteral("# x"));
  QTest::mouseClick(child<QToolButton>(dialog, "okButton"), Qt::LeftButton);
  EXPECT_EQ(dialog.meaning(), u"- a\r\n- b\rc\r\n# x");
}

TEST_F(EntryEditorDialogTest, ReturnAcceptsExceptWhereItStartsALine) {
  EntryEditorDialog word(EditMode::ModifyWord, u"colour", u"- a hue");
  word.show();
  auto* headwordBox = child<QLineEdit>(word, "headwordBox");
  headwordBox->setText(QStringLiteral("color"));
  QTest::keyClick(headwordBox, Qt::Key_Return);
  EXPECT_EQ(word.result(), QDialog::Accepted);
  EXPECT_EQ(word.headword(), u"color");

  EntryEditorDialog meaning(EditMode::ModifyMeaning, u"colour", u"- a hue");
  meaning.show();
  auto* meaningBox = child<QPlainTextEdit>(meaning, "meaningBox");
  meaningBox->moveCursor(QTextCursor::End);
  QTest::keyClick(meaningBox, Qt::Key_Return);
  EXPECT_NE(meaning.result(), QDialog::Accepted);
  QTest::keyClicks(meaningBox, QStringLiteral("- a tint"));
  QTest::keyClick(meaningBox, Qt::Key_Return, Qt::ControlModifier);
  EXPECT_EQ(meaning.result(), QDialog::Accepted);
  EXPECT_EQ(meaning.meaning(), u"- a hue\r\n- a tint");
}

TEST(MeaningBoxTextTest, ConvertsLineEnds) {
  EXPECT_EQ(meaningToBoxText(u"a\r\nb\r\r\nc\rd\ne"),
            QString::fromStdU16String(u"a\nb\nc\u240dd\u240ae"));
  EXPECT_EQ(boxTextToMeaning(QString::fromStdU16String(u"a\nb\u2029c\u2028d\u240de\u240af")),
            u"a\r\nb\r\nc\r\nd\re\nf");
}

}  // namespace
}  // namespace lexora
