#pragma once
// The entry editor: a headword box and a box for the meaning's raw markup, with OK and Cancel
// picture buttons at the top right. The mode decides the title and which box can be edited.

#include <QDialog>
#include <string>

#include "app/entry_commands.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QToolButton;

namespace lexora {

class EntryEditorDialog : public QDialog {
  Q_OBJECT

 public:
  // `meaning` is the editing text, lines ended by CR LF. Child widgets carry the object names
  // "titleLine", "headwordBox", "meaningBox", "okButton" and "cancelButton".
  EntryEditorDialog(EditMode mode, std::u16string headword, std::u16string meaning,
                    QWidget* parent = nullptr);
  ~EntryEditorDialog() override;

  EditMode mode() const { return mode_; }
  // The two texts: as given until OK stores what the boxes hold. Text that the user left
  // unchanged comes back exactly as it was given.
  const std::u16string& headword() const { return headword_; }
  const std::u16string& meaning() const { return meaning_; }

  // "Add new entry", "Modify meaning", "Modify word".
  static QString modeTitle(EditMode mode);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void storeTexts();  // OK: take the boxes' texts, then accept
  void layOut();

  EditMode mode_;
  std::u16string headword_;
  std::u16string meaning_;
  QString shownHeadword_;  // what the boxes held on opening
  QString shownMeaning_;

  QLabel* titleLine_ = nullptr;
  QLineEdit* headwordBox_ = nullptr;
  QPlainTextEdit* meaningBox_ = nullptr;
  QToolButton* okButton_ = nullptr;
  QToolButton* cancelButton_ = nullptr;
};

}  // namespace lexora
