// The hand-off between real processes: a second program sends LOOKUP_WORD to the window found
// as "Lexora"; the main program starts lexora-util and stops it by its window identity; the
// button keeps to one instance and ends at once when it is switched off.

#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <cstring>
#include <mutex>
#include <thread>

#include "app/lookup_button_control.h"
#include "app/registry_key.h"
#include "app/settings.h"
#include "gui/widgets/html_viewer.h"
#include "gui_test_support.h"
#include "platform/message_channel.h"
#include "platform/registry_sqlite.h"
#include "platform/window_identity.h"
#include "tests/support/endpoint_socket.h"
#include "tests/support/wait_for.h"

namespace lexora::test {
namespace {

// A window of another program served on a thread: records the messages it is sent.
class ThreadWindow {
 public:
  explicit ThreadWindow(const WindowIdentity& id) {
    fd_ = listenAtEndpoint(id);
    thread_ = std::thread([this] { serve(); });
  }
  ~ThreadWindow() {
    stop_ = true;
    thread_.join();
    close(fd_);
  }
  std::vector<WindowMessage> received() {
    std::lock_guard<std::mutex> lock(mutex_);
    return received_;
  }

 private:
  void serve() {
    while (!stop_) {
      pollfd p{fd_, POLLIN, 0};
      if (poll(&p, 1, 20) <= 0) continue;
      int c = accept(fd_, nullptr, nullptr);
      if (c < 0) continue;
      if (const auto m = readWindowMessage(c)) {  // else a probe that only looked for the window
        {
          std::lock_guard<std::mutex> lock(mutex_);
          received_.push_back(*m);
        }
        uint8_t out[WindowMessageReply::kEncodedSize];
        WindowMessageReply{0}.encodeTo(out);
        // The sender may have gone without waiting for the answer (a posted stop).
        (void)!send(c, out, sizeof out, MSG_NOSIGNAL);
      }
      close(c);
    }
  }

  int fd_ = -1;
  std::atomic<bool> stop_{false};
  std::thread thread_;
  std::mutex mutex_;
  std::vector<WindowMessage> received_;
};

// A window that takes connections into its queue but never reads or answers them (a program
// that hangs).
class SilentWindow {
 public:
  explicit SilentWindow(const WindowIdentity& id) : path_(endpointPath(id)) {
    fd_ = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path_.c_str(), sizeof address.sun_path - 1);
    unlink(path_.c_str());
    bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    listen(fd_, 8);
  }
  ~SilentWindow() {
    close(fd_);
    unlink(path_.c_str());
  }

 private:
  std::string path_;
  int fd_ = -1;
};

// A settings hive of the button's own whose "ShowLookupButton" is `show`.
class ButtonHive {
 public:
  explicit ButtonHive(uint32_t show = 1) {
    std::string error;
    std::shared_ptr<Registry> hive = SqliteRegistry::open(path(), &error);
    RegistryKey key(hive, kLocalMachine, kSettingsKeyPath, true);
    writeShowLookupButton(key, show);
  }
  std::string path() const { return dir_.path().toStdString() + "/registry.sqlite"; }
  uint32_t showLookupButton() const {
    std::string error;
    std::shared_ptr<Registry> hive = SqliteRegistry::open(path(), &error);
    RegistryKey key(hive, kLocalMachine, kSettingsKeyPath, false);
    return key.readDword(u"ShowLookupButton", RegistryKey::kNoWriteBack);
  }

 private:
  QTemporaryDir dir_;
};

// lexora-util started in the fixture's endpoint folder with `hive`; waits until its window
// can be found. A main window (real or served on a thread) must already be found, or the
// button would start the main program.
void startUtil(QProcess& util, const ButtonHive& hive) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("LEXORA_REGISTRY", QString::fromStdString(hive.path()));
  util.setProcessEnvironment(env);
  util.start(QString(LEXORA_PROGRAM_DIR) + "lexora-util", {});
}
bool startLookupButton(QProcess& util, const ButtonHive& hive) {
  startUtil(util, hive);
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
  EXPECT_TRUE(w.showInMainWindow());

  // Closing the window takes its identity away.
  w.close();
  EXPECT_FALSE(findWindow("", kMainWindowTitle).has_value());
}

TEST(HandOffProcessTest, StartsTheButtonFromTheProgramFolderAndStopsItByItsWindow) {
  WindowFixture f;
  setLookupButtonRunning(true, f.launcher, "/opt/lexora/");
  EXPECT_EQ(f.launcher.started, std::vector<std::string>{"/opt/lexora/lexora-util"});

  ThreadWindow mainWindow(mainWindowIdentity());
  ButtonHive hive;
  QProcess util;
  ASSERT_TRUE(startLookupButton(util, hive));
  setLookupButtonRunning(false, f.launcher, "/opt/lexora/");
  EXPECT_TRUE(util.waitForFinished(10000));
  EXPECT_FALSE(findWindow(kLookupButtonClass, kLookupButtonTitle).has_value());
  // Stopping with no button running does nothing.
  setLookupButtonRunning(false, f.launcher, "/opt/lexora/");
}

TEST(HandOffProcessTest, StopsAButtonDockedOnTheTaskbarByItsTitle) {
  WindowFixture f;
  ThreadWindow clock(WindowIdentity{"", "Clock", kTaskbarClass});
  ThreadWindow docked(WindowIdentity{"", kLookupButtonTitle, kTaskbarClass});
  setLookupButtonRunning(false, f.launcher, "");
  // The stop is posted, not waited for: it arrives a moment later.
  EXPECT_TRUE(waitFor([&] { return !docked.received().empty(); }));
  EXPECT_TRUE(clock.received().empty());
  EXPECT_EQ(docked.received(), (std::vector<WindowMessage>{{kDestroyMessage, 0, 0}}));
  EXPECT_TRUE(f.launcher.started.empty());
}

TEST(HandOffProcessTest, OnlyOneButtonRuns) {
  WindowFixture f;
  ThreadWindow mainWindow(mainWindowIdentity());
  ButtonHive hive;
  QProcess first, second;
  ASSERT_TRUE(startLookupButton(first, hive));
  startUtil(second, hive);
  EXPECT_TRUE(second.waitForFinished(10000));
  EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second.exitCode(), 0);
  EXPECT_EQ(first.state(), QProcess::Running);
  setLookupButtonRunning(false, f.launcher, "");
  EXPECT_TRUE(first.waitForFinished(10000));
}

TEST(HandOffProcessTest, ClosingTheProgramStopsTheButton) {
  WindowFixture f;
  f.addDictionary("english", {{u"apple", u"@apple"}});
  LexoraDialog& w = f.open(/*listen=*/true);
  ButtonHive hive;
  QProcess util;
  ASSERT_TRUE(startLookupButton(util, hive));
  w.quit();
  EXPECT_TRUE(util.waitForFinished(10000));
  EXPECT_EQ(util.exitCode(), 0);
}

TEST(HandOffProcessTest, ClosingNeverWaitsForAButtonThatDoesNotAnswer) {
  WindowFixture f;
  f.addDictionary("english", {{u"apple", u"@apple"}});
  LexoraDialog& w = f.open(/*listen=*/true);
  SilentWindow hungButton(lookupButtonIdentity());
  ASSERT_TRUE(findWindow(kLookupButtonClass, kLookupButtonTitle).has_value());
  QElapsedTimer clock;
  clock.start();
  w.quit();
  // Not a speed target: a stop that waited for the answer would hang here for seconds.
  EXPECT_LT(clock.elapsed(), 2000);
  EXPECT_FALSE(findWindow("", kMainWindowTitle).has_value());
}

// The real program: the stored "ShowLookupButton" 1 brings the button up with it, and the
// desktop ending the program (SIGTERM) still saves the settings and stops the button.
TEST(HandOffProcessTest, TheProgramStartsTheButtonAndSavesItsSettingsOnSigterm) {
  WindowFixture f;
  ButtonHive hive(1);
  {
    std::string error;
    std::shared_ptr<Registry> store = SqliteRegistry::open(hive.path(), &error);
    RegistryKey key(store, kLocalMachine, kSettingsKeyPath, true);
    key.writeDword(u"TotalDict", 0);
    key.writeDword(u"WorkingDictIndex", 7);  // no dictionary: the run ends with -1
  }
  QProcess lexora;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("LEXORA_REGISTRY", QString::fromStdString(hive.path()));
  lexora.setProcessEnvironment(env);
  lexora.start(QString(LEXORA_PROGRAM_DIR) + "lexora", {});
  ASSERT_TRUE(lexora.waitForStarted(10000));
  ASSERT_TRUE(waitFor([] { return findWindow("", kMainWindowTitle).has_value(); }));
  EXPECT_TRUE(
      waitFor([] { return findWindow(kLookupButtonClass, kLookupButtonTitle).has_value(); }));

  ::kill(static_cast<pid_t>(lexora.processId()), SIGTERM);
  ASSERT_TRUE(lexora.waitForFinished(10000));
  EXPECT_EQ(lexora.exitStatus(), QProcess::NormalExit);
  EXPECT_TRUE(
      waitFor([] { return !findWindow(kLookupButtonClass, kLookupButtonTitle).has_value(); }));
  std::string error;
  std::shared_ptr<Registry> store = SqliteRegistry::open(hive.path(), &error);
  RegistryKey key(store, kLocalMachine, kSettingsKeyPath, false);
  EXPECT_EQ(key.readDword(u"WorkingDictIndex", RegistryKey::kNoWriteBack), 0xFFFFFFFFu);
  EXPECT_EQ(key.readDword(u"ShowLookupButton", RegistryKey::kNoWriteBack), 1u);
}

TEST(HandOffProcessTest, TheButtonSwitchedOffEndsWith16AfterFindingTheMainWindow) {
  WindowFixture f;
  ThreadWindow mainWindow(mainWindowIdentity());
  ButtonHive off(0);
  QProcess util;
  startUtil(util, off);
  ASSERT_TRUE(util.waitForFinished(10000));
  EXPECT_EQ(util.exitCode(), 16);
  EXPECT_FALSE(findWindow(kLookupButtonClass, kLookupButtonTitle).has_value());
  EXPECT_TRUE(mainWindow.received().empty());  // found, not sent anything
}

}  // namespace
}  // namespace lexora::test
