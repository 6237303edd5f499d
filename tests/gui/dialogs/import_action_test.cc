// "Import…" in the dictionaries dialog: the chosen source is converted into the folder of
// installed dictionaries and becomes a row of the list and a slot of the path table.

#include <gtest/gtest.h>

#include <QDir>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <fstream>

#include "app/dictionary_list.h"
#include "engine/dictionary.h"
#include "gui/dialogs/dictionaries_dialog.h"
#include "gui/dialogs/import_action.h"
#include "tests/gui/dialogs/dialog_test_support.h"
#include "tests/support/status_assertions.h"

namespace lexora {
namespace {

TEST(ImportActionTest, ImportedSourceBecomesAnInstalledRow) {
  test::testApplication();
  QTemporaryDir scratch;
  ASSERT_TRUE(scratch.isValid());
  ::setenv("XDG_DATA_HOME", scratch.filePath(QStringLiteral("data")).toLocal8Bit().constData(), 1);
  const QString source = scratch.filePath(QStringLiteral("words.tsv"));
  std::ofstream(source.toStdString()) << "one\t- uno\ntwo\t- dos\n";
  int asked = 0;
  setImportSourcePicker([&](QWidget*) {
    ++asked;
    return source;
  });

  Settings settings;
  ASSERT_TRUE(setInstalledDictionaryPaths(settings, {u"/somewhere/first.pvm"}));
  DictionariesDialog dialog(settings);
  dialog.show();
  auto* button = dialog.findChild<QPushButton*>(QStringLiteral("importButton"));
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->text(), QStringLiteral("Import\u2026"));
  QTest::mouseClick(button, Qt::LeftButton);

  EXPECT_EQ(asked, 1);
  const QString installed = scratch.filePath(QStringLiteral("data/lexora/dictionaries/words.pvm"));
  auto* list = dialog.findChild<QListWidget*>(QStringLiteral("dictionaryList"));
  ASSERT_EQ(list->count(), 2);
  EXPECT_EQ(list->item(1)->text(), installed);
  EXPECT_EQ(settings.totalDict, 2);
  EXPECT_EQ(QString::fromStdU16String(settings.dictionaryPaths[1]), installed);
  Dictionary d;
  ASSERT_OK(d.openDictionary(installed.toStdString()));
  EXPECT_EQ(d.wordCount(), 2u);

  // Cancel in the dictionaries dialog takes the row out of the settings again.
  dialog.reject();
  EXPECT_EQ(settings.totalDict, 1);

  // Nothing chosen: nothing happens.
  setImportSourcePicker([](QWidget*) { return QString(); });
  EXPECT_TRUE(runImportAction(nullptr).isEmpty());
}

TEST(ImportActionTest, AnInstalledNameIsKeptAndSkippedEntriesAreReported) {
  test::testApplication();
  QTemporaryDir scratch;
  ASSERT_TRUE(scratch.isValid());
  ::setenv("XDG_DATA_HOME", scratch.filePath(QStringLiteral("data")).toLocal8Bit().constData(), 1);
  const QString source = scratch.filePath(QStringLiteral("words.tsv"));
  std::ofstream(source.toStdString()) << "one\t- uno\n";
  const QStringList first = runImportAction(nullptr, source);
  ASSERT_EQ(first.size(), 1);
  Dictionary open;  // installed and open, as in the running window
  ASSERT_OK(open.openDictionary(first[0].toStdString()));

  std::ofstream(source.toStdString()) << "two\t- dos\nno tab\nthree\t- tres\n";
  QWidget owner;
  const QStringList second = runImportAction(&owner, source);
  ASSERT_EQ(second.size(), 1);
  EXPECT_TRUE(second[0].endsWith(QStringLiteral("words (2).pvm"))) << second[0].toStdString();
  EXPECT_EQ(open.wordCount(), 1u);
  auto* report = owner.findChild<QMessageBox*>(QStringLiteral("importReport"));
  ASSERT_NE(report, nullptr);
  EXPECT_TRUE(report->text().contains(QStringLiteral("skipped 1"))) << report->text().toStdString();
  EXPECT_TRUE(report->text().contains(QStringLiteral("no TAB")));
  report->close();
}

// A file name is shown as it is: one that reads as HTML must not make the message box load the
// files its pictures name.
TEST(ImportActionTest, AFileNameInAMessageIsShownAsText) {
  test::testApplication();
  QTemporaryDir scratch;
  const QString source = scratch.filePath(QStringLiteral("<img src=&#47;dev&#47;zero>.xyz"));
  std::ofstream(source.toStdString()) << "x";
  QWidget owner;
  Qt::TextFormat format = Qt::RichText;
  QString text;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    format = box->textFormat();
    text = box->text();
    box->accept();
  });
  EXPECT_TRUE(runImportAction(&owner, source).isEmpty());
  EXPECT_EQ(format, Qt::PlainText);
  EXPECT_TRUE(text.startsWith(source)) << text.toStdString();
}

}  // namespace
}  // namespace lexora
