#pragma once
// The warning the window shows when its settings cannot be used.

#include <QWidget>

namespace lexora {

// Settings that cannot be read (locked, on a full disk, damaged) are left as they are; the
// window then runs on the defaults, and says so (settingsKeyError() names the reason) rather
// than look like a first start. Nothing is shown when the settings key is open.
void sayWhenSettingsAreNotUsed(QWidget* window);

}  // namespace lexora
