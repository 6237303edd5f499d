// The editing commands run with the real editor dialog and message boxes over a dictionary in
// a scratch folder.

#include <gtest/gtest.h>

#include <optional>

#include <QAbstractButton>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTest>
#include <QToolButton>

#include "gui/dialogs/entry_editor_dialog.h"
#include "gui/dialogs/message_box_messages.h"
#include "gui/dialogs/modal_entry_editor.h"
#include "tests/app/entry_test_support.h"
#include "tests/gui/dialogs/dialog_test_support.h"

namespace lexora {
namespace {

using test::Entries;
using test::ShownMessage;

// Next time the editor opens: optionally type a headword and a meaning, then press OK or
// Cancel. Records the mode's title it was opened with.
void answerEditor(std::optional<QString> headword, std::optional<QString> meaning, bool ok,
                  QString* title = nullptr) {
  test::onNextModal<EntryEditorDialog>([=](EntryEditorDialog* dialog) {
    if (title) *title = EntryEditorDialog::modeTitle(dialog->mode());
    if (headword) dialog->findChild<QLineEdit*>(QStringLiteral("headwordBox"))->setText(*headword);
    if (meaning) {
      dialog->findChild<QPlainTextEdit*>(QStringLiteral("meaningBox"))->setPlainText(*meaning);
    }
    QTest::mouseClick(dialog->findChild<QToolButton*>(ok ? QStringLiteral("okButton")
                                                         : QStringLiteral("cancelButton")),
                      Qt::LeftButton);
  });
}

class EntryCommandDialogsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::testApplication();
    ASSERT_TRUE(test::makeDictionary(dictionary, scratch.dataFile(), initial));
  }

  void run(int command) { commands.onEntryCommand(command, &dictionary, current); }

  Entries stored() { return test::closeAndReadBack(dictionary, scratch.dataFile()); }

  const Entries initial{{u"apple", u"- a fruit\r\n=$an apple a day+mỗi ngày một quả táo"},
                        {u"cat", u"- an animal"}};
  test::EntryScratch scratch;
  Dictionary dictionary;
  int current = -1;
  test::FakeMessages messages;
  ModalEntryEditor editor{nullptr};
  test::FakeWordList wordList{current};
  EntryCommands commands{messages, editor, wordList};
};

TEST_F(EntryCommandDialogsTest, AddThroughTheDialog) {
  QString title;
  answerEditor(std::nullopt, std::nullopt, false, &title);
  run(kCmdAddNewWord);
  EXPECT_EQ(title, QStringLiteral("Add new entry"));
  EXPECT_TRUE(messages.shown.empty());

  answerEditor(QStringLiteral("Hello"), QStringLiteral("@hello\n- xin chào"), true);
  run(kCmdAddNewWord);
  EXPECT_EQ(messages.shown, (std::vector<ShownMessage>{{kAddOkMessage, MessageIcon::None}}));
  EXPECT_EQ(current, 2);  // apple, cat, hello

  answerEditor(QStringLiteral("CAT"), std::nullopt, true);
  run(kCmdAddNewWord);
  std::u16string longWord;
  for (int i = 0; i < 100; ++i) longWord += u"ữ";  // 300 bytes in UTF-8
  answerEditor(QString::fromStdU16String(longWord), std::nullopt, true);
  run(kCmdAddNewWord);
  answerEditor(QStringLiteral("dog"), QString(70000, QChar(u'z')), true);
  run(kCmdAddNewWord);

  current = 0;
  answerEditor(QString::fromStdU16String(longWord), std::nullopt, true, &title);
  run(kCmdModifyWord);
  EXPECT_EQ(title, QStringLiteral("Modify word"));
  EXPECT_EQ(current, -1);

  EXPECT_EQ(messages.shown, (std::vector<ShownMessage>{
                                {kAddOkMessage, MessageIcon::None},
                                {kWordExistsMessage, MessageIcon::None},
                                {kWordSizeMessage, MessageIcon::None},
                                {kMeaningSizeMessage, MessageIcon::None},
                                {kSizeMessage, MessageIcon::None},
                            }));
  EXPECT_EQ(stored(), (Entries{initial[0], initial[1], {u"hello", u"@hello\r\n- xin chào"}}));
}

TEST_F(EntryCommandDialogsTest, ModifyMeaningUnchangedKeepsTheStoredText) {
  current = 0;
  QString title;
  answerEditor(std::nullopt, std::nullopt, true, &title);
  run(kCmdModifyMeaning);
  EXPECT_EQ(title, QStringLiteral("Modify meaning"));
  EXPECT_EQ(messages.shown, (std::vector<ShownMessage>{{kModifyOkMessage, MessageIcon::None}}));
  EXPECT_EQ(stored(), initial);
}

TEST_F(EntryCommandDialogsTest, MessageBoxesCarryTitleIconAndButtons) {
  MessageBoxMessages boxes(nullptr);
  struct Seen {
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
  } seen;
  auto inspectAndPress = [&seen](QMessageBox::StandardButton press) {
    test::onNextModal<QMessageBox>([&seen, press](QMessageBox* box) {
      seen = {box->windowTitle(), box->text(), box->icon(), box->standardButtons()};
      box->button(press)->click();
    });
  };

  inspectAndPress(QMessageBox::Ok);
  boxes.showMessage(kDictionaryErrorMessage, MessageIcon::Error);
  EXPECT_EQ(seen.title, QStringLiteral("Lexora"));
  EXPECT_EQ(seen.text, QString::fromStdU16String(kDictionaryErrorMessage));
  EXPECT_EQ(seen.icon, QMessageBox::Critical);
  EXPECT_EQ(seen.buttons, QMessageBox::Ok);

  inspectAndPress(QMessageBox::Ok);
  boxes.showMessage(kAddOkMessage, MessageIcon::None);
  EXPECT_EQ(seen.icon, QMessageBox::NoIcon);

  inspectAndPress(QMessageBox::No);
  EXPECT_FALSE(boxes.askYesNo(u"You want delete entry: \"cat\""));
  EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No);
  inspectAndPress(QMessageBox::Yes);
  EXPECT_TRUE(boxes.askYesNo(u"You want delete entry: \"cat\""));
}

}  // namespace
}  // namespace lexora
