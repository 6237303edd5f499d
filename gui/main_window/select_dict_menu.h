#pragma once
// The pop-up menu of the "Select Dict" button, built from its model: the working group, a
// separator, the reverse group, a radio mark in each group.

#include <QMenu>
#include <QPoint>
#include <vector>

#include "app/dictionary_menu.h"

namespace lexora {

// Fills `menu` (emptied first) with `items`; each item's data is its command.
void fillDictionaryMenu(QMenu& menu, const std::vector<DictionaryMenuItem>& items);

// Shows the menu at `globalPos`, owned by `owner`, and returns the chosen command, 0 when the
// menu was dismissed.
int trackDictionaryMenu(const std::vector<DictionaryMenuItem>& items, QWidget* owner,
                        const QPoint& globalPos);

}  // namespace lexora
