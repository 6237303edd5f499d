// With LEXORA_SNAPSHOT_DIR set: pictures of the main window showing a sample entry and of a
// popup bubble, for a person to look at (main-window.png, popup.png). Skipped otherwise.

#include <gtest/gtest.h>
#include <QLineEdit>
#include <QTest>

#include "gui/main_window/popup_bubble.h"
#include "gui/widgets/resource_guard.h"
#include "gui_test_support.h"

namespace lexora::test {
namespace {

TEST(SnapshotTest, MainWindowAndPopup) {
  QByteArray out = qgetenv("LEXORA_SNAPSHOT_DIR");
  if (out.isEmpty()) GTEST_SKIP() << "LEXORA_SNAPSHOT_DIR is not set";
  ResourceGuard::addPictureFolder(LEXORA_PROGRAM_DIR);  // the pictures of the build tree
  WindowFixture f;
  f.paths = {std::string(LEXORA_PROGRAM_DIR) + "samples/en-vi.pvm",
             std::string(LEXORA_PROGRAM_DIR) + "samples/vi-en.pvm"};
  f.totalDict = 2;
  LexoraDialog& w = f.open();
  w.resize(420, 600);
  w.show();
  w.lookupWord(qEnvironmentVariable("LEXORA_SNAPSHOT_WORD", "man").toStdU16String(), 0);
  QTest::qWait(200);
  ASSERT_TRUE(w.grab().save(QString(out) + "/main-window.png"));
  w.setShowInMainWindow(false);
  w.lookupWord(u"go", 0);
  QTest::qWait(200);
  ASSERT_TRUE(w.popupBubble()->grab().save(QString(out) + "/popup.png"));
}

}  // namespace
}  // namespace lexora::test
