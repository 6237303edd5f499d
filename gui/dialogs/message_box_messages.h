#pragma once
// The application's message boxes: window title "Lexora", an OK button, the error icon where
// asked; and the Yes/No question.

#include <QPointer>
#include <QWidget>

#include "app/entry_commands.h"

namespace lexora {

inline constexpr char kMessageBoxTitle[] = "Lexora";

class MessageBoxMessages : public EntryMessages {
 public:
  // `parent` (the main window, may be null) owns nothing of this object.
  explicit MessageBoxMessages(QWidget* parent) : parent_(parent) {}

  void showMessage(const std::u16string& text, MessageIcon icon) override;
  // No is the default answer, so a stray Enter does not delete anything.
  bool askYesNo(const std::u16string& text) override;

 private:
  QPointer<QWidget> parent_;
};

}  // namespace lexora
