#include "gui/main_window/history_tree.h"

#include "gui/main_window/menu_icons.h"
#include "platform/qt/qt_text.h"

namespace lexora {

namespace {

QTreeWidgetItem* wordItem(const std::u16string& word) {
  auto* item = new QTreeWidgetItem(QStringList(toQString(word)));
  item->setIcon(0, historyIcon(2));
  item->setData(0, HistoryTree::kImageRole, 2);
  return item;
}

}  // namespace

HistoryTree::HistoryTree(History& history, QWidget* parent)
    : QTreeWidget(parent), history_(history) {
  setHeaderHidden(true);
  setColumnCount(1);
  setIconSize(QSize(16, 16));
  setRootIsDecorated(true);
  for (int32_t slot : history_.rootSlots()) {
    rootAdded(slot, history_.rootTitle(slot));
    const std::vector<std::u16string>& words = history_.words(slot);
    for (std::size_t row = 0; row < words.size(); ++row) {
      roots_[slot]->addChild(wordItem(words[row]));
    }
  }
  history_.setListener(this);
  connect(this, &QTreeWidget::itemClicked, this,
          [this](QTreeWidgetItem* item) { onItemClicked(item); });
}

HistoryTree::~HistoryTree() { history_.setListener(nullptr); }

void HistoryTree::rootAdded(int32_t slot, const std::u16string& title) {
  auto* root = new QTreeWidgetItem(QStringList(toQString(title)));
  root->setIcon(0, historyIcon(1));
  root->setData(0, kImageRole, 1);
  root->setData(0, kSlotRole, slot);
  addTopLevelItem(root);
  root->setExpanded(true);
  roots_.insert(slot, root);
}

void HistoryTree::wordRemoved(int32_t slot, int row) {
  if (QTreeWidgetItem* root = rootItem(slot)) delete root->takeChild(row);
}

void HistoryTree::wordInserted(int32_t slot, int row, const std::u16string& word) {
  if (QTreeWidgetItem* root = rootItem(slot)) root->insertChild(row, wordItem(word));
}

void HistoryTree::cleared() {
  roots_.clear();
  clear();
}

void HistoryTree::onItemClicked(QTreeWidgetItem* item) {
  if (item == nullptr || item->data(0, kImageRole).toInt() != 2) return;
  QTreeWidgetItem* root = item->parent();
  if (root == nullptr) return;
  emit wordTapped(root->text(0), item->text(0));
}

}  // namespace lexora
