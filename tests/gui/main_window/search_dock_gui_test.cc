// The full-text search of the main window: Ctrl+F, words typed, matches listed from a worker
// thread, and a tap that shows the entry.

#include <gtest/gtest.h>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QTest>

#include "gui/main_window/meaning_search_dock.h"
#include "gui/widgets/html_viewer.h"
#include "gui_test_support.h"

namespace lexora::test {
namespace {

TEST(SearchDock, FindsWordsInOneOrAllDictionariesAndATapShowsTheEntry) {
  WindowFixture f;
  f.addDictionary("english", {{u"apple", u"@apple\r\n- a round fruit"},
                              {u"plum", u"@plum\r\n- a purple fruit"}});
  f.addDictionary("french", {{u"pomme", u"@pomme\r\n- apple, a round fruit"}});
  LexoraDialog& w = f.open();
  w.show();
  w.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
  MeaningSearchDock* dock = w.searchDock();
  ASSERT_NE(dock, nullptr);
  EXPECT_FALSE(dock->isVisible());
  QTest::keyClick(w.wordBox(), Qt::Key_F, Qt::ControlModifier);
  EXPECT_TRUE(dock->isVisible());
  EXPECT_TRUE(dock->searchBox()->hasFocus());

  QSignalSpy finished(dock, &MeaningSearchDock::searchFinished);
  dock->searchBox()->setText(QStringLiteral("round FRUIT"));
  dock->search();
  ASSERT_TRUE(finished.wait(10000));
  ASSERT_EQ(dock->results()->count(), 1);
  EXPECT_EQ(dock->results()->item(0)->text(), "apple: a round fruit");

  dock->scopeBox()->setCurrentIndex(1);  // all dictionaries: searches again, under titles
  ASSERT_TRUE(finished.wait(10000));
  ASSERT_EQ(dock->results()->count(), 4);
  EXPECT_EQ(dock->results()->item(2)->text(), "french");
  EXPECT_EQ(dock->results()->item(3)->text(), "pomme: apple, a round fruit");
  QListWidget* list = dock->results();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                    list->visualItemRect(list->item(3)).center());
  EXPECT_TRUE(w.viewer()->page().contains("apple, a round fruit"));
  EXPECT_FALSE(dock->searching());
}

}  // namespace
}  // namespace lexora::test
