#pragma once
// The word list's rows: row N is headword N of the working dictionary, read on demand. Only
// the rows a view asks for are ever read, so a dictionary of any size opens at once.

#include <QAbstractListModel>
#include <cstdint>

namespace lexora {

class Dictionary;

class WordListModel : public QAbstractListModel {
  Q_OBJECT
 public:
  explicit WordListModel(QObject* parent = nullptr);

  // The dictionary whose words are listed (null: an empty list). The row count is taken from
  // it now, in its current state.
  void setDictionary(Dictionary* dictionary);
  Dictionary* dictionary() const { return dictionary_; }
  // Sets the row count after the dictionary gained or lost words (its word count).
  void setRowCount(uint32_t count);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

  // Headword `row`; empty when it does not read.
  QString word(int row) const;

 private:
  void setRows(uint32_t count);

  Dictionary* dictionary_ = nullptr;
  int rows_ = 0;
};

}  // namespace lexora
