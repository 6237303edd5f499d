#include "gui/dialogs/dictionaries_dialog.h"
#include "tests/support/status_assertions.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QFile>
#include <QTemporaryDir>

#include "app/dictionary_list.h"
#include "engine/dictionary.h"
#include "gui/dialogs/dictionaries_dialog_layout.h"
#include "tests/gui/dialogs/dialog_test_support.h"

namespace lexora {
namespace {

using Paths = std::vector<std::u16string>;

TEST(DictionariesLayoutTest, HalvesTheSpaceBelowTheHeader) {
  const DictionariesLayout layout = layoutDictionariesDialog({0, 0, 240, 269});
  EXPECT_EQ(layout.list, (ControlRect{-1, 26, 242, 121}));
  EXPECT_EQ(layout.pathBox, (ControlRect{-1, 147, 242, 121}));
  EXPECT_EQ(layout.addButton, (ControlRect{160, 5, 16, 16}));
  EXPECT_EQ(layout.deleteButton, (ControlRect{180, 5, 16, 16}));
  EXPECT_EQ(layout.cancelButton, (ControlRect{200, 5, 16, 16}));
  EXPECT_EQ(layout.okButton, (ControlRect{220, 5, 16, 16}));
  // A client lower than the header leaves both boxes empty rather than negative.
  EXPECT_EQ(layoutDictionariesDialog({0, 0, 240, 10}).list.height, 0);

  const RowEditorLayout editor = placeRowEditor({10, 40, 200, 18});
  EXPECT_EQ(editor.editor, (ControlRect{10, 40, 180, 18}));
  EXPECT_EQ(editor.browseButton, (ControlRect{190, 40, 20, 18}));

  const FilePickerLayout picker = layoutFilePicker({0, 0, 240, 268});
  EXPECT_EQ(picker.tree, (ControlRect{-1, 26, 242, 242}));
  EXPECT_EQ(picker.okButton, (ControlRect{220, 5, 16, 16}));
}

class DictionariesDialogTest : public ::testing::Test {
 protected:
  void SetUp() override { test::testApplication(); }

  // Opens the dialog on `paths` (shown and active, so that taps move the focus).
  void open(const Paths& paths) {
    ASSERT_TRUE(setInstalledDictionaryPaths(settings_, paths));
    before_ = settings_;
    dialog_ = std::make_unique<DictionariesDialog>(
        settings_, nullptr, [this](QWidget*, const QString& suffix, const QString& start) {
          pickerSuffix_ = suffix;
          pickerStart_ = start;
          return pickerResult_;
        });
    dialog_->setProblemQuestion([this](QWidget*, const QString& text) {
      problemQuestions_ << text;
      return storeAnyway_;
    });
    dialog_->show();
    dialog_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog_.get()));
  }

  template <typename T>
  T* child(const char* name) {
    T* widget = dialog_->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }
  QListWidget* list() { return child<QListWidget>("dictionaryList"); }
  QLineEdit* editor() { return child<QLineEdit>("rowEditor"); }
  QToolButton* button(const char* name) { return child<QToolButton>(name); }
  // The path box's first line: the path (a line on its problem may follow).
  QString pathLine() {
    return child<QPlainTextEdit>("pathBox")->toPlainText().section(QLatin1Char('\n'), 0, 0);
  }

  QStringList rows() {
    QStringList out;
    for (int k = 0; k < list()->count(); ++k) out << list()->item(k)->text();
    return out;
  }
  void tapRow(int row) {
    const QRect rect = list()->visualItemRect(list()->item(row));
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, rect.center());
  }
  void doubleTapRow(int row) {
    tapRow(row);
    const QRect rect = list()->visualItemRect(list()->item(row));
    QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, rect.center());
  }
  // A tap on the list below its rows: the list takes the focus, the selection stays.
  void tapListBelowRows() {
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {},
                      QPoint(5, list()->viewport()->height() - 3));
  }

  Settings settings_;
  Settings before_;
  std::unique_ptr<DictionariesDialog> dialog_;
  std::optional<QString> pickerResult_;
  QStringList problemQuestions_;
  bool storeAnyway_ = true;
  QString pickerSuffix_;
  QString pickerStart_;
};

TEST_F(DictionariesDialogTest, OpeningShowsTheTableAndSetsTheButtons) {
  open({});
  EXPECT_EQ(list()->count(), 0);
  EXPECT_TRUE(button("addButton")->isEnabled());
  EXPECT_FALSE(button("deleteButton")->isEnabled());
  EXPECT_TRUE(editor()->isHidden());
  EXPECT_TRUE(child<QPushButton>("browseButton")->isHidden());

  open(Paths(10, u"/d/full.pvm"));
  EXPECT_EQ(list()->count(), 10);
  EXPECT_FALSE(button("addButton")->isEnabled());
}

TEST_F(DictionariesDialogTest, AddTypeAndTapTheListStoresTheRow) {
  open({u"/d/one.pvm"});
  QTest::mouseClick(button("addButton"), Qt::LeftButton);
  EXPECT_TRUE(dialog_->editing());
  EXPECT_EQ(dialog_->editIndex(), 1);
  EXPECT_TRUE(editor()->isVisible());
  EXPECT_TRUE(editor()->hasFocus());
  EXPECT_EQ(settings_.totalDict, 2);

  QTest::keyClicks(editor(), QStringLiteral("/d/two.pvm"));
  tapListBelowRows();
  EXPECT_FALSE(dialog_->editing());
  EXPECT_TRUE(editor()->isHidden());
  EXPECT_EQ(rows(), (QStringList{"/d/one.pvm", "/d/two.pvm"}));
  EXPECT_EQ(settings_.dictionaryPaths[1], u"/d/two.pvm");

  // Tapping a row shows its path and enables Delete.
  tapRow(1);
  EXPECT_EQ(pathLine(), QStringLiteral("/d/two.pvm"));
  EXPECT_TRUE(button("deleteButton")->isEnabled());

  QTest::mouseClick(button("okButton"), Qt::LeftButton);
  EXPECT_EQ(dialog_->result(), QDialog::Accepted);
  EXPECT_EQ(installedDictionaryPaths(settings_), (Paths{u"/d/one.pvm", u"/d/two.pvm"}));
}

TEST_F(DictionariesDialogTest, EmptyCommitsRemoveRows) {
  // Add, then OK without typing: the empty row is dropped.
  open({u"/a.pvm", u"/b.pvm"});
  QTest::mouseClick(button("addButton"), Qt::LeftButton);
  QTest::mouseClick(button("okButton"), Qt::LeftButton);
  EXPECT_EQ(dialog_->result(), QDialog::Accepted);
  EXPECT_EQ(installedDictionaryPaths(settings_), (Paths{u"/a.pvm", u"/b.pvm"}));

  // Double tap a row, erase its text, tap the list: the rows below move up in the table.
  open({u"/a.pvm", u"/b.pvm", u"/c.pvm"});
  doubleTapRow(0);
  ASSERT_TRUE(dialog_->editing());
  EXPECT_EQ(editor()->text(), QStringLiteral("/a.pvm"));
  editor()->clear();
  tapListBelowRows();
  EXPECT_EQ(rows(), (QStringList{"/b.pvm", "/c.pvm"}));
  EXPECT_EQ(installedDictionaryPaths(settings_), (Paths{u"/b.pvm", u"/c.pvm"}));

  // Changing a row in place keeps its position.
  doubleTapRow(1);
  editor()->setText(QStringLiteral("/z.pvm"));
  QTest::mouseClick(button("okButton"), Qt::LeftButton);
  EXPECT_EQ(installedDictionaryPaths(settings_), (Paths{u"/b.pvm", u"/z.pvm"}));
}

TEST_F(DictionariesDialogTest, DeleteKeepsThePathBoxUntilTheSelectionChanges) {
  open({u"/a.pvm", u"/b.pvm", u"/c.pvm"});
  tapRow(1);
  QTest::mouseClick(button("deleteButton"), Qt::LeftButton);
  EXPECT_EQ(rows(), (QStringList{"/a.pvm", "/c.pvm"}));
  EXPECT_EQ(pathLine(), QStringLiteral("/b.pvm"));
  EXPECT_TRUE(button("deleteButton")->isEnabled());
  // A second Delete with nothing selected removes nothing.
  QTest::mouseClick(button("deleteButton"), Qt::LeftButton);
  EXPECT_EQ(list()->count(), 2);
  EXPECT_EQ(settings_.totalDict, 2);

  QTest::mouseClick(button("okButton"), Qt::LeftButton);
  EXPECT_EQ(installedDictionaryPaths(settings_), (Paths{u"/a.pvm", u"/c.pvm"}));
  EXPECT_TRUE(settings_.dictionaryPaths[2].empty());
}

TEST_F(DictionariesDialogTest, AnEleventhRowIsRefusedAndDeleteEnablesAddAgain) {
  open(Paths(9, u"/d.pvm"));
  QTest::mouseClick(button("addButton"), Qt::LeftButton);
  QTest::keyClicks(editor(), QStringLiteral("/tenth.pvm"));
  EXPECT_FALSE(button("addButton")->isEnabled());
  dialog_->addRow();  // even when called directly
  EXPECT_EQ(list()->count(), 10);
  EXPECT_EQ(settings_.totalDict, 10);
  EXPECT_EQ(settings_.dictionaryPaths[9], u"/tenth.pvm");  // committed by the refused Add

  tapRow(0);
  QTest::mouseClick(button("deleteButton"), Qt::LeftButton);
  EXPECT_TRUE(button("addButton")->isEnabled());
}

TEST_F(DictionariesDialogTest, CancelLeavesTheSettingsAsTheyWere) {
  open({u"/a.pvm", u"/b.pvm", u"/c.pvm"});
  tapRow(1);
  QTest::mouseClick(button("deleteButton"), Qt::LeftButton);
  QTest::mouseClick(button("addButton"), Qt::LeftButton);
  QTest::keyClicks(editor(), QStringLiteral("/new.pvm"));
  tapListBelowRows();
  ASSERT_NE(settings_, before_);
  QTest::mouseClick(button("cancelButton"), Qt::LeftButton);
  EXPECT_EQ(dialog_->result(), QDialog::Rejected);
  EXPECT_EQ(settings_, before_);
}

TEST_F(DictionariesDialogTest, BrowsePutsThePickedPathIntoTheEditor) {
  open({u"/old/a.pvm"});
  auto* browse = child<QPushButton>("browseButton");
  doubleTapRow(0);
  ASSERT_TRUE(browse->isVisible());

  pickerResult_ = QStringLiteral("/new/b.PVM");
  QTest::mouseClick(browse, Qt::LeftButton);
  EXPECT_EQ(pickerSuffix_, QStringLiteral("mvp."));
  EXPECT_EQ(pickerStart_, QStringLiteral("/old/a.pvm"));
  EXPECT_EQ(editor()->text(), QStringLiteral("/new/b.PVM"));
  EXPECT_TRUE(editor()->hasFocus());
  EXPECT_EQ(rows(), QStringList{"/old/a.pvm"});  // the row changes only at the commit

  pickerResult_.reset();  // a cancelled picker leaves the editor alone
  QTest::mouseClick(browse, Qt::LeftButton);
  EXPECT_EQ(editor()->text(), QStringLiteral("/new/b.PVM"));

  // OK with nothing tapped is a Cancel: the editor keeps its text, the row stays.
  pickerResult_ = QString();
  QTest::mouseClick(browse, Qt::LeftButton);
  EXPECT_EQ(editor()->text(), QStringLiteral("/new/b.PVM"));
  QTest::mouseClick(button("okButton"), Qt::LeftButton);
  EXPECT_EQ(settings_.totalDict, 1);
  EXPECT_EQ(settings_.dictionaryPaths[0], u"/new/b.PVM");
}

TEST_F(DictionariesDialogTest, EscapeInTheRowEditorEndsOnlyThatEdit) {
  open({u"/a.pvm", u"/b.pvm"});
  doubleTapRow(1);
  QTest::keyClicks(editor(), QStringLiteral("/typed.pvm"));
  QTest::keyClick(editor(), Qt::Key_Escape);
  EXPECT_TRUE(dialog_->isVisible());
  EXPECT_FALSE(dialog_->editing());
  EXPECT_FALSE(editor()->isVisible());
  EXPECT_EQ(rows(), (QStringList{"/a.pvm", "/b.pvm"}));
  // A row just added and left with Escape goes away.
  QTest::mouseClick(button("addButton"), Qt::LeftButton);
  QTest::keyClick(editor(), Qt::Key_Escape);
  EXPECT_EQ(rows(), (QStringList{"/a.pvm", "/b.pvm"}));
  EXPECT_EQ(settings_.totalDict, 2);
  EXPECT_TRUE(dialog_->isVisible());
}

TEST_F(DictionariesDialogTest, ReturnAndF2EditTheSelectedRow) {
  open({u"/a.pvm", u"/b.pvm"});
  list()->setFocus();
  QTest::keyClick(list(), Qt::Key_Return);  // nothing selected: no edit
  EXPECT_FALSE(dialog_->editing());
  for (Qt::Key key : {Qt::Key_Return, Qt::Key_F2}) {
    tapRow(1);
    QTest::keyClick(list(), key);
    ASSERT_TRUE(dialog_->editing()) << key;
    EXPECT_EQ(dialog_->editIndex(), 1);
    EXPECT_TRUE(editor()->hasFocus());
    QTest::keyClick(editor(), Qt::Key_Escape);
  }
  EXPECT_TRUE(dialog_->isVisible());
}

TEST_F(DictionariesDialogTest, RowsThatAreNoDictionaryAreMarkedAndOkAsksFirst) {
  QTemporaryDir dir;
  const QString good = dir.path() + "/good.pvm";
  {
    Dictionary d;
    ASSERT_OK(d.createDictionary(good.toStdString(), 1));
    ASSERT_OK(d.addEntry(u"word", u"meaning"));
  }
  const QString text = dir.path() + "/notes.pvm";  // a data file with no companions
  {
    QFile f(text);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("hello");
  }
  const QString bogus = dir.path() + "/bogus.pvm";  // companions that are no dictionary
  for (const char* suffix : {".pvm", ".pdw", ".pdi"}) {
    QFile f(dir.path() + "/bogus" + suffix);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(8000, 'x'));
  }
  open({good.toStdU16String(), text.toStdU16String(), bogus.toStdU16String()});
  // Marked in the list before any row is selected.
  for (int row = 0; row < 3; ++row) {
    const bool marked = row > 0;
    EXPECT_EQ(list()->item(row)->data(DictionariesDialog::kProblemRole).toBool(), marked) << row;
    EXPECT_EQ(list()->item(row)->font().strikeOut(), marked) << row;
  }
  auto* pathBox = child<QPlainTextEdit>("pathBox");
  tapRow(0);
  EXPECT_EQ(pathBox->toPlainText(), good);
  tapRow(1);
  EXPECT_TRUE(pathBox->toPlainText().contains(QStringLiteral("Missing")));
  tapRow(2);
  EXPECT_TRUE(pathBox->toPlainText().contains(QStringLiteral("Not a dictionary")));

  storeAnyway_ = false;  // No: nothing is stored, the dialog stays
  QTest::mouseClick(button("okButton"), Qt::LeftButton);
  ASSERT_EQ(problemQuestions_.size(), 1);
  EXPECT_TRUE(problemQuestions_[0].contains(text));
  EXPECT_TRUE(problemQuestions_[0].contains(bogus));
  EXPECT_FALSE(problemQuestions_[0].contains(good + ":"));
  EXPECT_TRUE(dialog_->isVisible());
  EXPECT_NE(dialog_->result(), QDialog::Accepted);

  storeAnyway_ = true;
  QTest::mouseClick(button("okButton"), Qt::LeftButton);
  EXPECT_EQ(dialog_->result(), QDialog::Accepted);
  EXPECT_EQ(settings_.totalDict, 3);
}

}  // namespace
}  // namespace lexora
