#include "gui/dialogs/help.h"

#include <QKeySequence>
#include <QShortcut>
#include <QWidget>

#include "platform/desktop_programs.h"

namespace lexora {

const char* helpAnchor(HelpTopic topic) {
  switch (topic) {
    case HelpTopic::MainWindow:
      return "Interface";
    case HelpTopic::StyleDialog:
      return "InterfaceMenu";
    case HelpTopic::Dictionaries:
      return "DictionaryMenu";
    case HelpTopic::AboutBox:
      return "Introdution";
  }
  return "Introdution";
}

std::string helpCommandLine(HelpTopic topic) {
  return std::string("file:") + kHelpFileName + "#" + helpAnchor(topic);
}

void showHelp(DesktopPrograms& programs, HelpTopic topic) {
  programs.startHelpViewer(helpCommandLine(topic));
}

void installHelpKey(QWidget* window, DesktopPrograms* programs, HelpTopic topic) {
  if (window == nullptr || programs == nullptr) return;
  auto* shortcut = new QShortcut(QKeySequence(Qt::Key_F1), window);
  shortcut->setContext(Qt::WindowShortcut);
  shortcut->setObjectName(QStringLiteral("helpKey"));
  QObject::connect(shortcut, &QShortcut::activated, window,
                   [programs, topic] { showHelp(*programs, topic); });
}

}  // namespace lexora
