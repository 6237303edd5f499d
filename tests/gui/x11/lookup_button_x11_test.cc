// End to end on a real X server with a window manager: another X client owns the PRIMARY
// selection, the real lexora-util floats at its stored place, and pointer events made by the
// X server's test extension tap and drag it. A tap shows the selected word in the main window;
// a quick drag (one merged motion) moves the button and looks nothing up.
//
// Needs Xvfb, openbox, xdotool and xprop (scripts/install-deps.sh installs them); skips without
// them.

#include <gtest/gtest.h>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTreeWidget>

#include <array>
#include <memory>

#include "app/lookup_button_control.h"
#include "app/registry_key.h"
#include "app/settings.h"
#include "engine/dictionary.h"
#include "gui/main_window/lexora_dialog.h"
#include "gui/widgets/html_viewer.h"
#include "platform/message_channel.h"
#include "platform/qt/detached_launcher.h"
#include "platform/qt/qt_clipboard.h"
#include "platform/registry_sqlite.h"
#include "platform/window_identity.h"
#include "tests/support/status_assertions.h"
#include "tests/support/wait_for.h"

namespace lexora {
namespace {

constexpr int kButtonX = 300;
constexpr int kButtonY = 300;

using test::waitFor;

bool run(const QString& program, const QStringList& args) {
  return QProcess::execute(program, args) == 0;
}

// An X server with a window manager, for the whole test program.
class XDesktop {
 public:
  bool start(QString* why) {
    for (const char* tool : {"Xvfb", "openbox", "xdotool", "xprop"}) {
      if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) {
        *why = QStringLiteral("%1 is not installed").arg(QString::fromLatin1(tool));
        return false;
      }
    }
    for (int n = 140; n < 200; ++n) {
      if (QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n)) ||
          QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(n))) {
        continue;
      }
      display_ = QStringLiteral(":%1").arg(n);
      xvfb_.start(QStringLiteral("Xvfb"),
                  {display_, "-screen", "0", "1024x768x24", "-nolisten", "tcp"});
      if (!xvfb_.waitForStarted(5000)) continue;
      const QString socket = QStringLiteral("/tmp/.X11-unix/X%1").arg(n);
      for (int i = 0; i < 100 && !QFile::exists(socket); ++i) QThread::msleep(50);
      if (QFile::exists(socket)) break;
      xvfb_.kill();
      xvfb_.waitForFinished();
      display_.clear();
    }
    if (display_.isEmpty()) {
      *why = QStringLiteral("no X server could be started");
      return false;
    }
    qputenv("DISPLAY", display_.toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "xcb");
    openbox_.start(QStringLiteral("openbox"), {});
    openbox_.waitForStarted(5000);
    // The window manager has taken the screen once it names its window on the root window.
    for (int i = 0; i < 100 && !windowManagerRuns(); ++i) QThread::msleep(50);
    return true;
  }
  static bool windowManagerRuns() {
    QProcess xprop;
    xprop.start(QStringLiteral("xprop"), {"-root", "_NET_SUPPORTING_WM_CHECK"});
    return xprop.waitForFinished(5000) && xprop.readAllStandardOutput().contains("window id");
  }
  ~XDesktop() {
    for (QProcess* p : {&openbox_, &xvfb_}) {
      p->terminate();
      if (!p->waitForFinished(3000)) p->kill();
    }
  }

 private:
  QString display_;
  QProcess xvfb_;
  QProcess openbox_;
};

class LookupButtonX11Test : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    desktop_ = new XDesktop;
    QString why;
    if (!desktop_->start(&why)) {
      skipReason_ = why;
      return;
    }
    static int argc = 1;
    static char name[] = "gui_x11_tests";
    static char* argv[] = {name, nullptr};
    app_ = new QApplication(argc, argv);
  }
  static void TearDownTestSuite() {
    delete app_;
    app_ = nullptr;
    delete desktop_;
    desktop_ = nullptr;
  }

  void SetUp() override {
    if (!skipReason_.isEmpty()) GTEST_SKIP() << skipReason_.toStdString();
    qputenv("LEXORA_ENDPOINT_DIR", (dir_.path() + "/endpoints").toLocal8Bit());
    hivePath_ = dir_.path().toStdString() + "/registry.sqlite";
    qputenv("LEXORA_REGISTRY", QByteArray::fromStdString(hivePath_));
    {
      std::string error;
      std::shared_ptr<Registry> hive = SqliteRegistry::open(hivePath_, &error);
      RegistryKey key(hive, kLocalMachine, kSettingsKeyPath, true);
      writeShowLookupButton(key, 1);
      writeLookupButtonPosition(key, kButtonX, kButtonY);
      writeShowPopup(key, false);
    }
    const std::string path = dir_.path().toStdString() + "/english.pvm";
    Dictionary d;
    ASSERT_OK(d.createDictionary(path, 1));
    d.addEntry(u"apple", u"@apple\r\n- a round fruit");
    d.addEntry(u"serendipity", u"@serendipity\r\n- a happy accident");
    d.closeDictionary();
    paths_.push_back(path);
  }

  void TearDown() override {
    window_.reset();
    for (Dictionary& d : dictionaries_) d.closeDictionary();
    if (owner_.state() != QProcess::NotRunning) {
      owner_.kill();
      owner_.waitForFinished();
    }
  }

  LexoraDialog& openWindow() {
    WindowState state;
    state.dictionaries = dictionaries_;
    state.workingDictIndex = &working_;
    state.reverseDictIndex = &reverse_;
    state.totalDict = &total_;
    state.dictionaryPath = [this](int32_t k) { return paths_.at(static_cast<size_t>(k)); };
    state.display = &display_;
    WindowServices services;
    services.clipboard = &clipboard_;
    services.launcher = &launcher_;
    services.programFolder = LEXORA_PROGRAM_DIR;
    total_ = static_cast<int32_t>(paths_.size());
    window_ = std::make_unique<LexoraDialog>(state, services);
    window_->setErrorReporter([this](QWidget*, const QString& text) { errors_ << text; });
    window_->show();
    return *window_;
  }

  void ownSelection(const QString& text) {
    owner_.start(QString(LEXORA_TEST_TOOLS_DIR) + "lexora-test-own-selection", {text});
    ASSERT_TRUE(owner_.waitForStarted(5000));
    ASSERT_TRUE(waitFor([this] { return owner_.canReadLine() || owner_.waitForReadyRead(10); }));
  }

  static bool xdotool(const QStringList& args) { return run(QStringLiteral("xdotool"), args); }

  int32_t storedButtonX() const {
    std::string error;
    std::shared_ptr<Registry> hive = SqliteRegistry::open(hivePath_, &error);
    RegistryKey key(hive, kLocalMachine, kSettingsKeyPath, false);
    return readLookupButtonSettings(key).xPos;
  }

  static XDesktop* desktop_;
  static QApplication* app_;
  static QString skipReason_;
  QTemporaryDir dir_;
  std::string hivePath_;
  std::vector<std::string> paths_;
  std::array<Dictionary, 10> dictionaries_;
  int32_t working_ = -1;
  int32_t reverse_ = -1;
  int32_t total_ = 0;
  DisplaySettings display_;
  QtClipboard clipboard_;
  DetachedLauncher launcher_;
  QStringList errors_;
  std::unique_ptr<LexoraDialog> window_;
  QProcess owner_;
};

XDesktop* LookupButtonX11Test::desktop_ = nullptr;
QApplication* LookupButtonX11Test::app_ = nullptr;
QString LookupButtonX11Test::skipReason_;

TEST_F(LookupButtonX11Test, ATapOnTheButtonShowsTheWordSelectedInAnotherProgram) {
  LexoraDialog& w = openWindow();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  // What a drag taken for a tap would look up.
  ownSelection(QStringLiteral("apple"));
  // As the program does at start-up with "ShowLookupButton" 1.
  startLookupButtonIfShown(1, launcher_, LEXORA_PROGRAM_DIR);
  ASSERT_TRUE(
      waitFor([] { return findWindow(kLookupButtonClass, kLookupButtonTitle).has_value(); }));
  ASSERT_TRUE(waitFor([] { return xdotool({"search", "--onlyvisible", "--name", "^Lookup$"}); }));

  // A quick drag: one motion of 60 pixels between press and release. A drag, not a tap.
  const QString x = QString::number(kButtonX + 8);
  const QString y = QString::number(kButtonY + 8);
  ASSERT_TRUE(xdotool({"mousemove", x, y, "mousedown", "1"}));
  ASSERT_TRUE(xdotool({"mousemove", QString::number(kButtonX + 68), y, "mouseup", "1"}));
  EXPECT_TRUE(waitFor([this] { return storedButtonX() == kButtonX + 60; }, 3000));
  owner_.kill();
  owner_.waitForFinished();
  ownSelection(QStringLiteral("serendipity"));

  // A tap with two pixels of jitter: a lookup of the selected word.
  const QString tx = QString::number(kButtonX + 68);
  ASSERT_TRUE(xdotool({"mousemove", tx, y, "mousedown", "1"}));
  ASSERT_TRUE(xdotool({"mousemove", QString::number(kButtonX + 70), y, "mouseup", "1"}));
  EXPECT_TRUE(waitFor([&w] { return w.viewer()->page().contains("a happy accident"); }));
  EXPECT_EQ(w.wordBox()->text(), QStringLiteral("serendipity"));
  // The button's messages arrive in order: a lookup sent by the drag would be in the history.
  EXPECT_TRUE(w.historyTree()->findItems("apple", Qt::MatchRecursive).isEmpty());
  EXPECT_TRUE(errors_.isEmpty());

  // Closing the program takes the button away.
  w.quit();
  EXPECT_TRUE(
      waitFor([] { return !findWindow(kLookupButtonClass, kLookupButtonTitle).has_value(); }));
}

}  // namespace
}  // namespace lexora
