#include "gui/main_window/select_dict_menu.h"
#include "platform/qt/qt_text.h"

#include <QAction>
#include <QActionGroup>

namespace lexora {

void fillDictionaryMenu(QMenu& menu, const std::vector<DictionaryMenuItem>& items) {
  menu.clear();
  auto* group = new QActionGroup(&menu);
  for (const DictionaryMenuItem& item : items) {
    if (item.separator) {
      menu.addSeparator();
      group = new QActionGroup(&menu);  // the reverse group has its own mark
      continue;
    }
    QAction* entry = menu.addAction(toQString(item.text));
    entry->setData(item.command);
    entry->setCheckable(true);
    group->addAction(entry);
    entry->setChecked(item.checked);
  }
}

int trackDictionaryMenu(const std::vector<DictionaryMenuItem>& items, QWidget* owner,
                        const QPoint& globalPos) {
  QMenu menu(owner);
  fillDictionaryMenu(menu, items);
  QAction* chosen = menu.exec(globalPos);
  return chosen == nullptr ? 0 : chosen->data().toInt();
}

}  // namespace lexora
