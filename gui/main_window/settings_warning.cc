#include "gui/main_window/settings_warning.h"

#include <QMessageBox>

#include "app/settings.h"

namespace lexora {

void sayWhenSettingsAreNotUsed(QWidget* window) {
  const std::string& problem = settingsKeyError();
  if (problem.empty()) return;
  auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Lexora"),
                              QStringLiteral("Lexora cannot use its settings: %1. It runs with "
                                             "the default settings, and changes made now are "
                                             "not saved.")
                                  .arg(QString::fromStdString(problem)),
                              QMessageBox::Ok, window);
  box->setTextFormat(Qt::PlainText);  // the reason names a path
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->show();
}

}  // namespace lexora
