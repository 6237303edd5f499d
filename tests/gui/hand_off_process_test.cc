// The hand-off between real processes: a second program sends LOOKUP_WORD to the window found
// as "Lexora"; the main program starts lexora-util and stops it by its window identity.

#include <QProcess>
#include <QTest>
#include <gtest/gtest.h>

#include "app/lookup_button_control.h"
#include "gui_test_support.h"
#include "platform/message_channel.h"
#include "platform/qt/html_viewer.h"
#include "platform/window_identity.h"

namespace lexora::test {
namespace {

// Runs the event loop until `done` or about ten seconds have passed.
template <typename F>
bool waitFor(F done) {
  for (int i = 0; i < 200 && !done(); ++i) QTest::qWait(50);
  return done();
}

// lexora-util started in the fixture's endpoint folder; waits until its window can be found.
bool startLookupButton(QProcess& util) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  util.setProcessEnvironment(env);
  util.start(QString(LEXORA_PROGRAM_DIR) + "lexora-util", {});
  if (!util.waitForStarted(10000)) return false;
  return waitFor([] { return findWindow(kLookupButtonClass, kLookupButtonTitle).has_value(); });
}

TEST(HandOffProcessTest, ASecondProgramSendsLookupWord) {
  WindowFixture f;
  f.addDictionary("english", {{u"apple", u"@apple\r\n- a round fruit"},
                              {u"pear", u"@pear\r\n- a sweet fruit"}});
  LexoraDialog& w = f.open(/*listen=*/true);
  ASSERT_TRUE(findWindow("", kMainWindowTitle).has_value());
  f.clipboard.text = u" pear ";

  QProcess sender;
  sender.start(LEXORA_SENDER_PATH, {"Lexora", QString::number(kLookupWordMessage), "1", "0"});
  ASSERT_TRUE(sender.waitForStarted(10000));
  ASSERT_TRUE(waitFor([&] { return sender.state() == QProcess::NotRunning; }));
  EXPECT_EQ(sender.exitCode(), 0) << sender.readAllStandardError().toStdString();
  EXPECT_TRUE(sender.readAllStandardOutput().startsWith("handled 0"));
  EXPECT_TRUE(w.viewer()->page().contains("a sweet fruit"));
  EXPECT_TRUE(w.showInMainWindow);

  // Closing the window takes its identity away.
  w.close();
  EXPECT_FALSE(findWindow("", kMainWindowTitle).has_value());
}

TEST(HandOffProcessTest, StartsTheButtonFromTheProgramFolderAndStopsItByItsWindow) {
  WindowFixture f;
  setLookupButtonRunning(true, f.launcher, "/opt/lexora/");
  EXPECT_EQ(f.launcher.started, std::vector<std::string>{"/opt/lexora/lexora-util"});

  QProcess util;
  ASSERT_TRUE(startLookupButton(util));
  setLookupButtonRunning(false, f.launcher, "/opt/lexora/");
  EXPECT_TRUE(util.waitForFinished(10000));
  EXPECT_FALSE(findWindow(kLookupButtonClass, kLookupButtonTitle).has_value());
  // Stopping with no button running does nothing.
  setLookupButtonRunning(false, f.launcher, "/opt/lexora/");
}

TEST(HandOffProcessTest, OnlyOneButtonRuns) {
  WindowFixture f;
  QProcess first, second;
  ASSERT_TRUE(startLookupButton(first));
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  second.setProcessEnvironment(env);
  second.start(QString(LEXORA_PROGRAM_DIR) + "lexora-util", {});
  EXPECT_TRUE(second.waitForFinished(10000));
  EXPECT_EQ(first.state(), QProcess::Running);
  setLookupButtonRunning(false, f.launcher, "");
  EXPECT_TRUE(first.waitForFinished(10000));
}

TEST(HandOffProcessTest, ClosingTheProgramStopsTheButton) {
  WindowFixture f;
  f.addDictionary("english", {{u"apple", u"@apple"}});
  LexoraDialog& w = f.open(/*listen=*/true);
  QProcess util;
  ASSERT_TRUE(startLookupButton(util));
  w.quit();
  EXPECT_TRUE(util.waitForFinished(10000));
}

}  // namespace
}  // namespace lexora::test
