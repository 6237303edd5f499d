#pragma once
// The history pane: a tree view that mirrors a History, one root per dictionary (image 1) with
// its words under it, newest first (image 2). A tap on a word reports the word and its root's
// text; a tap on a root, or beside the items, reports nothing.

#include <QHash>
#include <QTreeWidget>

#include "app/history.h"

namespace lexora {

class HistoryTree : public QTreeWidget, public HistoryListener {
  Q_OBJECT
 public:
  // Item data roles: the image (1 root, 2 word) and, for roots, the dictionary slot.
  static constexpr int kImageRole = Qt::UserRole + 1;
  static constexpr int kSlotRole = Qt::UserRole + 2;

  // Shows what `history` holds now and follows its changes until the tree is destroyed.
  // REQUIRES: history outlives the tree.
  explicit HistoryTree(History& history, QWidget* parent = nullptr);
  ~HistoryTree() override;

  // HistoryListener
  void rootAdded(int32_t slot, const std::u16string& title) override;
  void wordRemoved(int32_t slot, int row) override;
  void wordInserted(int32_t slot, int row, const std::u16string& word) override;
  void cleared() override;

  QTreeWidgetItem* rootItem(int32_t slot) const { return roots_.value(slot, nullptr); }

 signals:
  void wordTapped(const QString& rootTitle, const QString& word);

 private:
  void onItemClicked(QTreeWidgetItem* item);

  History& history_;
  QHash<int32_t, QTreeWidgetItem*> roots_;
};

}  // namespace lexora
