#include "gui/dialogs/file_picker_dialog.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeView>

#include "tests/gui/dialogs/dialog_test_support.h"

namespace lexora {
namespace {

TEST(FilePickerNameTest, ComparesTheFirstFourReversedCharactersIgnoringCase) {
  const QString pvm = QStringLiteral("mvp.");
  EXPECT_TRUE(FilePickerDialog::nameMatches(QStringLiteral("words.pvm"), pvm));
  EXPECT_TRUE(FilePickerDialog::nameMatches(QStringLiteral("WORDS.PVM"), pvm));
  EXPECT_TRUE(FilePickerDialog::nameMatches(QStringLiteral(".pvm"), pvm));
  EXPECT_FALSE(FilePickerDialog::nameMatches(QStringLiteral("words.pvmx"), pvm));
  EXPECT_FALSE(FilePickerDialog::nameMatches(QStringLiteral("pvm"), pvm));  // too short
  EXPECT_FALSE(FilePickerDialog::nameMatches(QStringLiteral("words.pdi"), pvm));
  EXPECT_TRUE(FilePickerDialog::nameMatches(QStringLiteral("sky.JPEG"), QStringLiteral("gepj")));
}

class FilePickerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::testApplication();
    ASSERT_TRUE(dir_.isValid());
    root_ = QDir(dir_.path()).canonicalPath();
    for (const char* folder : {"a_folder/sub", "empty", "onlyothers"}) {
      ASSERT_TRUE(QDir(root_).mkpath(QString::fromLatin1(folder)));
    }
    for (const char* file : {"WORDS.PVM", "b.pvm", "words.pvmx", "pvm", "Notes.txt",
                             "a_folder/sub/deep.pvm", "a_folder/other.txt", "onlyothers/x.txt"}) {
      touch(QString::fromLatin1(file));
    }
  }

  void touch(const QString& relative) {
    QFile file(root_ + QLatin1Char('/') + relative);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }

  std::unique_ptr<FilePickerDialog> openPicker() {
    auto picker = std::make_unique<FilePickerDialog>(nullptr, root_);
    picker->setReversedSuffix(QStringLiteral("mvp."));
    picker->setTrace([this](const QString& line) { traces_ << line; });
    picker->show();
    return picker;
  }

  QStringList childTexts(const FilePickerDialog& picker, const QString& path) {
    const QModelIndex at = picker.indexOfPath(path);
    QStringList out;
    for (int row = 0; row < picker.model()->rowCount(at); ++row) {
      out << picker.model()->index(row, 0, at).data().toString();
    }
    return out;
  }

  void tap(FilePickerDialog& picker, const QString& path) {
    const QModelIndex index = picker.indexOfPath(path);
    ASSERT_TRUE(index.isValid()) << path.toStdString();
    picker.tree()->scrollTo(index);
    QTest::mouseClick(picker.tree()->viewport(), Qt::LeftButton, {},
                      picker.tree()->visualRect(index).center());
  }

  QString at(const char* relative) const { return root_ + QLatin1Char('/') + relative; }

  QTemporaryDir dir_;
  QString root_;
  QStringList traces_;
};

TEST_F(FilePickerTest, OpensOnTheStartFolderOfferingFoldersAndMatchingFiles) {
  auto picker = openPicker();
  const QModelIndex top = picker->model()->index(0, 0);
  EXPECT_EQ(picker->model()->rowCount(), 1);
  EXPECT_EQ(top.data().toString(), QStringLiteral("/"));
  EXPECT_EQ(picker->windowTitle(), QStringLiteral("Select File Name"));
  EXPECT_TRUE(picker->tree()->isExpanded(picker->indexOfPath(root_)));
  EXPECT_EQ(childTexts(*picker, root_),
            (QStringList{"a_folder", "b.pvm", "empty", "onlyothers", "WORDS.PVM"}));
  EXPECT_TRUE(traces_.contains(QStringLiteral("Item expanding")));
}

TEST_F(FilePickerTest, ExpandingAndCollapsingReadsFoldersLazily) {
  auto picker = openPicker();
  QTreeView* tree = picker->tree();
  QStandardItemModel* model = picker->model();

  // An empty folder loses its expand button; one with only other files keeps it.
  const QModelIndex empty = picker->indexOfPath(at("empty"));
  EXPECT_TRUE(model->hasChildren(empty));
  tree->expand(empty);
  EXPECT_FALSE(model->hasChildren(empty));
  const QModelIndex others = picker->indexOfPath(at("onlyothers"));
  tree->expand(others);
  EXPECT_EQ(model->rowCount(others), 0);
  EXPECT_TRUE(model->hasChildren(others));

  // Opening a second folder at the same level closes the first and forgets its children.
  tree->expand(picker->indexOfPath(at("a_folder")));
  EXPECT_FALSE(tree->isExpanded(others));
  EXPECT_EQ(childTexts(*picker, at("a_folder")), QStringList{"sub"});
  tree->expand(picker->indexOfPath(at("a_folder/sub")));
  EXPECT_EQ(childTexts(*picker, at("a_folder/sub")), QStringList{"deep.pvm"});

  // Collapsing forgets the contents; expanding again shows files created meanwhile.
  traces_.clear();
  tree->collapse(picker->indexOfPath(at("a_folder")));
  EXPECT_EQ(traces_.value(0), QStringLiteral("Item collapsed"));
  EXPECT_EQ(model->rowCount(picker->indexOfPath(at("a_folder"))), 0);
  EXPECT_TRUE(model->hasChildren(picker->indexOfPath(at("a_folder"))));
  touch(QStringLiteral("a_folder/late.PvM"));
  tree->expand(picker->indexOfPath(at("a_folder")));
  EXPECT_EQ(childTexts(*picker, at("a_folder")), (QStringList{"late.PvM", "sub"}));
}

TEST_F(FilePickerTest, AFolderThatCannotBeReadExpandsToNothing) {
  auto picker = openPicker();
  ASSERT_TRUE(QDir(at("onlyothers")).removeRecursively());  // gone since it was listed
  picker->tree()->expand(picker->indexOfPath(at("onlyothers")));
  EXPECT_EQ(picker->model()->rowCount(picker->indexOfPath(at("onlyothers"))), 0);
  EXPECT_TRUE(traces_.contains(QStringLiteral("FindFirstFile returned invalid handle")));
}

TEST_F(FilePickerTest, TapsChooseTheFullPathOfMatchingFilesOnly) {
  auto picker = openPicker();
  picker->tree()->expand(picker->indexOfPath(at("a_folder")));
  picker->tree()->expand(picker->indexOfPath(at("a_folder/sub")));
  tap(*picker, at("a_folder/sub/deep.pvm"));
  EXPECT_EQ(picker->chosenPath(), at("a_folder/sub/deep.pvm"));
  tap(*picker, at("a_folder/sub"));
  EXPECT_TRUE(picker->chosenPath().isEmpty());
  tap(*picker, at("WORDS.PVM"));
  EXPECT_EQ(picker->chosenPath(), at("WORDS.PVM"));
  picker->chooseItem(picker->model()->index(0, 0));  // the root
  EXPECT_TRUE(picker->chosenPath().isEmpty());
}

TEST_F(FilePickerTest, RunReturnsTheTappedFileOrAnEmptyTextOrNothing) {
  test::onNextModal<FilePickerDialog>([this](FilePickerDialog* picker) {
    tap(*picker, at("b.pvm"));
    QTest::mouseClick(picker->findChild<QToolButton*>(QStringLiteral("okButton")), Qt::LeftButton);
  });
  EXPECT_EQ(runFilePicker(nullptr, QStringLiteral("mvp."), at("WORDS.PVM")), at("b.pvm"));

  test::onNextModal<FilePickerDialog>([](FilePickerDialog* picker) {
    QTest::mouseClick(picker->findChild<QToolButton*>(QStringLiteral("okButton")), Qt::LeftButton);
  });
  EXPECT_EQ(runFilePicker(nullptr, QStringLiteral("mvp."), root_), QString());

  test::onNextModal<FilePickerDialog>([this](FilePickerDialog* picker) {
    tap(*picker, at("b.pvm"));
    QTest::mouseClick(picker->findChild<QToolButton*>(QStringLiteral("cancelButton")),
                      Qt::LeftButton);
  });
  EXPECT_EQ(runFilePicker(nullptr, QStringLiteral("mvp."), root_), std::nullopt);
}

TEST_F(FilePickerTest, TheKeyboardMovesTheChoiceAndReturnOnAFileIsOk) {
  test::onNextModal<FilePickerDialog>([](FilePickerDialog* picker) {
    QTreeView* tree = picker->tree();
    QTest::keyClick(tree, Qt::Key_Down);  // a_folder
    EXPECT_TRUE(picker->chosenPath().isEmpty());
    QTest::keyClick(tree, Qt::Key_Return);  // a folder opens, the dialog stays
    EXPECT_TRUE(tree->isExpanded(tree->currentIndex()));
    EXPECT_TRUE(picker->isVisible());
    QTest::keyClick(tree, Qt::Key_Return);  // and closes again
    QTest::keyClick(tree, Qt::Key_Down);    // b.pvm
    QTest::keyClick(tree, Qt::Key_Return);
  });
  EXPECT_EQ(runFilePicker(nullptr, QStringLiteral("mvp."), root_), at("b.pvm"));
}

TEST(FilePickerStartTest, StartsInTheFolderOfAPathOrHome) {
  EXPECT_EQ(FilePickerDialog::startFolderFor(QString()), QDir::homePath());
  QTemporaryDir dir;
  const QString root = QDir(dir.path()).canonicalPath();
  EXPECT_EQ(FilePickerDialog::startFolderFor(root + "/gone/deeper/x.pvm"), root);
  EXPECT_EQ(FilePickerDialog::startFolderFor(root), root);
}

}  // namespace
}  // namespace lexora
