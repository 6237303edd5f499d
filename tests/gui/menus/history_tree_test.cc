#include "gui/main_window/history_tree.h"

#include <gtest/gtest.h>

#include "tests/gui/main_window/gui_test_support.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>

namespace lexora {
namespace {

void ensureApplication() { test::application(); }

HistoryEffects titledRoots() {
  HistoryEffects effects;
  effects.rootInfo = [](int32_t slot) {
    return HistoryEffects::RootInfo{slot == 0 ? u"English" : u"French", 0};
  };
  return effects;
}

QStringList childTexts(const QTreeWidgetItem* root) {
  QStringList texts;
  for (int i = 0; i < root->childCount(); ++i) texts << root->child(i)->text(0);
  return texts;
}

class HistoryTreeTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ensureApplication(); }
};

TEST_F(HistoryTreeTest, MirrorsTheHistoryNewestFirst) {
  History history(titledRoots());
  history.addToHistory(u"old", 1);  // made before the tree: shown at once
  HistoryTree tree(history);
  history.addToHistory(u"a", 0);
  history.addToHistory(u"b", 0);
  history.addToHistory(u"a", 0);
  ASSERT_EQ(tree.topLevelItemCount(), 2);
  EXPECT_EQ(tree.topLevelItem(0)->text(0), "French");
  EXPECT_EQ(tree.topLevelItem(1)->text(0), "English");
  EXPECT_EQ(childTexts(tree.rootItem(0)), (QStringList{"a", "b"}));
  EXPECT_EQ(childTexts(tree.rootItem(1)), (QStringList{"old"}));
  EXPECT_EQ(tree.rootItem(0)->data(0, HistoryTree::kImageRole).toInt(), 1);
  EXPECT_EQ(tree.rootItem(0)->child(0)->data(0, HistoryTree::kImageRole).toInt(), 2);
  history.clear();
  EXPECT_EQ(tree.topLevelItemCount(), 0);
}

TEST_F(HistoryTreeTest, TapOnAWordReportsItAndTapOnARootDoesNot) {
  History history(titledRoots());
  HistoryTree tree(history);
  tree.resize(240, 240);
  tree.show();
  history.addToHistory(u"cat", 1);
  history.addToHistory(u"dog", 1);
  QSignalSpy spy(&tree, &HistoryTree::wordTapped);

  QTreeWidgetItem* root = tree.rootItem(1);
  QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, tree.visualItemRect(root).center());
  EXPECT_EQ(spy.count(), 0);
  QTest::mouseClick(tree.viewport(), Qt::LeftButton, {},
                    tree.visualItemRect(root->child(1)).center());
  ASSERT_EQ(spy.count(), 1);
  EXPECT_EQ(spy.at(0).at(0).toString(), "French");
  EXPECT_EQ(spy.at(0).at(1).toString(), "cat");
  // Below the items: nothing.
  QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, QPoint(100, 230));
  EXPECT_EQ(spy.count(), 1);
}

TEST_F(HistoryTreeTest, HistoryOutlivingTheTreeStopsTellingIt) {
  History history(titledRoots());
  { HistoryTree tree(history); }
  history.addToHistory(u"safe", 0);  // must not reach the destroyed tree
  EXPECT_EQ(history.words(0).size(), 1u);
}

}  // namespace
}  // namespace lexora
