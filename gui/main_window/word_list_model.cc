#include "gui/main_window/word_list_model.h"

#include <vector>

#include "engine/dictionary.h"
#include "platform/qt/qt_text.h"

namespace lexora {

WordListModel::WordListModel(QObject* parent) : QAbstractListModel(parent) {}

void WordListModel::setDictionary(Dictionary* dictionary) {
  beginResetModel();
  dictionary_ = dictionary;
  setRows(dictionary ? dictionary->wordCount() : 0);
  endResetModel();
}

void WordListModel::setRowCount(uint32_t count) {
  beginResetModel();
  setRows(dictionary_ ? count : 0);
  endResetModel();
}

void WordListModel::setRows(uint32_t count) {
  rows_ = count > static_cast<uint32_t>(INT32_MAX) ? INT32_MAX : static_cast<int>(count);
}

int WordListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : rows_;
}

QString WordListModel::word(int row) const {
  if (!dictionary_ || row < 0 || row >= rows_) return {};
  std::vector<std::u16string> words;
  if (!dictionary_->readWords(static_cast<uint32_t>(row), 1, words).isOk()) return {};
  return toQString(words[0]);
}

QVariant WordListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || role != Qt::DisplayRole) return {};
  return word(index.row());
}

}  // namespace lexora
