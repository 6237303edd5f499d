#pragma once
// DictionariesDialog, "Dictionaries": the installed dictionaries, one full data-file path per
// row in opening order, at most 10. The user adds a row (+), edits a row in place after a
// double tap, Return or F2 (typing, or picking the file with "..."), and deletes the selected
// row (−); the
// box below the list shows the selected row's full path. An edit is committed when the list
// takes the focus and before Add, Delete and OK; an edit committed empty removes its row.
//
// The dialog changes TotalDict and the path table of the settings record as it goes; OK
// makes them hold the rows in order, Cancel puts back what they held when it opened. Escape
// in the row editor ends only that edit (the row keeps its text); the picker's OK with no file
// leaves the row as it was. A row whose files are missing or are no dictionary is struck
// through in the list and says why in the path box, and OK asks before storing such rows.
// Reopening the dictionaries after OK is the caller's work.

#include <QDialog>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "app/dictionary_language.h"
#include "app/settings.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

namespace lexora {

class DictionariesDialog : public QDialog {
  Q_OBJECT

 public:
  // Runs a file picker over `owner` for names ending in the reverse of `reversedSuffix`,
  // starting near `startPath`: the chosen path after OK (possibly empty), nothing after
  // Cancel. The default runs FilePickerDialog.
  using FilePicker = std::function<std::optional<QString>(
      QWidget* owner, const QString& reversedSuffix, const QString& startPath)>;

  // Rows whose files cannot be opened hold true in this item data role.
  static constexpr int kProblemRole = Qt::UserRole + 1;

  // Child widgets carry the object names "titleLine", "dictionaryList", "pathBox",
  // "rowEditor", "browseButton", "importButton", "addButton", "deleteButton", "cancelButton",
  // "okButton".
  explicit DictionariesDialog(Settings& settings, QWidget* parent = nullptr,
                              FilePicker picker = FilePicker());
  ~DictionariesDialog() override;

  // Shows the "languageBox" field under the path box: the selected dictionary's headword
  // language, which OK stores (an empty field: guessed again on its next use).
  void setLanguageStore(LanguageStore store);

  bool editing() const { return editing_; }
  int32_t editIndex() const { return editIndex_; }

  // The operations behind the controls.
  void showSelectedPath();  // the list's selection changed
  void editSelectedRow();   // double tap, Return or F2 on a row
  void commitEdit();        // the list took the focus
  void addRow();
  void deleteRow();
  // Takes row `row` out of the list and the path table, leaving no row selected.
  void removeRow(int row);
  void browse();
  // "Import…": converts a source and adds the dictionaries it gives as rows (import_action.h).
  void importRows(const QString& source = QString());
  void storeRows();        // OK
  void reject() override;  // Cancel
  void cancelEdit();       // Escape in the row editor

  // Asked on OK when rows have problems (the text lists them); true stores the rows anyway.
  // The default is a warning box with Yes and No.
  using ProblemQuestion = std::function<bool(QWidget* owner, const QString& text)>;
  void setProblemQuestion(ProblemQuestion question) { problemQuestion_ = std::move(question); }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildList();
  void buildRowEditor();
  void buildButtons();
  void markProblem(QListWidgetItem* item);
  void layOut();
  void placeEditor(int row);
  int selectedRow() const;
  void updateAddButton();
  void focusEditor();
  void takeLanguage();  // the language field's text, for the selected row

  Settings& settings_;
  FilePicker picker_;
  ProblemQuestion problemQuestion_;
  // TotalDict and the path table as the dialog found them; Cancel restores them.
  int32_t openingTotal_;
  std::array<std::u16string, kMaxDictionaries> openingPaths_;
  bool editing_ = false;
  int32_t editIndex_ = -1;

  QLabel* titleLine_ = nullptr;
  QListWidget* list_ = nullptr;
  QPlainTextEdit* pathBox_ = nullptr;
  QLineEdit* editor_ = nullptr;
  QPushButton* browseButton_ = nullptr;
  QPushButton* importButton_ = nullptr;
  QToolButton* addButton_ = nullptr;
  QToolButton* deleteButton_ = nullptr;
  QToolButton* cancelButton_ = nullptr;
  QToolButton* okButton_ = nullptr;
  QLineEdit* languageBox_ = nullptr;
  LanguageStore languages_;
  std::map<std::string, std::string> languageEdits_;  // by path, stored on OK
};

class DesktopPrograms;

// Runs the dictionaries dialog over `parent` on `settings`; true when it ended with OK. The
// help key opens the dictionaries topic through `programs` (none when null).
bool runDictionariesDialog(Settings& settings, QWidget* parent,
                           DesktopPrograms* programs = nullptr);

}  // namespace lexora
