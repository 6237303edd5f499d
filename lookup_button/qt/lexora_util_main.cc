// lexora-util: the floating "Lookup" button. A 16 × 16 button with a magnifying glass that
// floats above every window; a tap puts the selected word on the clipboard and hands it to the
// main program with LOOKUP_WORD (0x9304), starting the main program when it does not run.
//
// How the button's duties are carried out on the Linux desktop:
// - Window identity: the button answers as class "LookupClass", title "Lookup" on the window
//   endpoint folder (platform/message_channel.h); the stop message WM_DESTROY that the main
//   program sends there ends the program with code 0, as does the menu's "Exit".
// - Single instance: the named mutex "LookupClass" is an exclusive flock on
//   "LookupClass.lock" in the endpoint folder, held for the life of the process. A second
//   start looks for the running button's window (twice per attempt, five attempts) and exits
//   with 0; the running button needs no raising, it already floats above everything.
// - Never active: Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus, with
//   Qt::WA_ShowWithoutActivating, and on X11 Qt::X11BypassWindowManagerHint (no frame, no
//   focus, placed exactly at XPos/YPos). Sizes and positions are in logical pixels, so the 16
//   × 16 button and its painted picture are scaled by the screen's device pixel ratio.
// - Tap and hold: the shell's gesture becomes a press held still for 600 ms; a right click
//   opens the same menu. The menu's owner-drawn ticks are checkable items; "Exit" carries the
//   power symbol.
// - Taskbar docking: the desktop has no "HHTaskBar" window to dock into, so the button stays a
//   top-level window at any height (the rule for a missing taskbar).
// - Copying the selection: instead of synthesising Ctrl+C into the front application, the
//   X11 PRIMARY selection (the text selected anywhere on the desktop) is put on the clipboard;
//   with no selection the clipboard keeps what the user copied. The two reader programs are
//   left alone as before. The "Webview" commands have no desktop counterpart and are not sent.
// - 200 ms timer: tracks the front window (X11 _NET_ACTIVE_WINDOW and its title) so that
//   lParam is 1 when the main window "Lexora" was in front; with no way to read the front
//   window (Wayland, offscreen) lParam is 0 and the selection is always copied.
// - Raising the main program: desktops refuse to let one program raise another's window, so
//   "bring to the foreground" is left to the main program, which raises itself on wParam 1.
// - The hand-off waits for the main program's answer on a worker thread while this program's
//   event loop keeps running, because the main program's clipboard read is answered by this
//   program on X11 (it owns the clipboard after copying the selection). Taps are refused until
//   the answer arrives.
// - Wayland: the button runs on XWayland (Qt's xcb platform) when the session has it; without
//   XWayland it says why on stderr and exits with 16 (the main program's option says so too).
// Exit codes: 16 when "ShowLookupButton" is 0, the button's window cannot be made findable or
// there is no X11 display, 0 otherwise (another instance, a failed instance check, WM_DESTROY or
// "Exit").

#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <chrono>
#include <thread>

#include "app/settings.h"
#include "gui/widgets/icon_painter.h"
#include "lookup_button/button_options.h"
#include "lookup_button/foreground_tracker.h"
#include "lookup_button/lookup_hand_off.h"
#include "lookup_button/qt/button_window.h"
#include "lookup_button/qt/desktop_foreground.h"
#include "lookup_button/qt/selection_capture.h"
#include "lookup_button/single_instance.h"
#include "platform/display_session.h"
#include "platform/message_channel.h"
#include "platform/program_folder.h"
#include "platform/qt/detached_launcher.h"
#include "platform/qt/window_endpoint.h"
#include "platform/window_identity.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

using namespace lexora;

constexpr int kForegroundTickMs = 200;
constexpr const char* kMainProgram = "lexora";

MainProgramAccess desktopMainProgram() {
  MainProgramAccess access;
  access.findMainWindow = [] { return findWindow("", kMainWindowTitle); };
  access.startMainProgram = [] {
    // Without the channel the main program could not be found once started, nor find this one.
    if (endpointFolder().empty()) return false;
    DetachedLauncher launcher;
    return launcher.startProgram(programFolder() + kMainProgram);
  };
  access.sleep = [](int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); };
  access.bringForward = [](const WindowIdentity&) {};
  access.send = [](const WindowIdentity& window, const WindowMessage& message) {
    sendWindowMessage(window, message);
  };
  return access;
}

// The lookup action of a tap.
void lookUpSelection(ButtonWindow& button, ButtonOptions& options, ForegroundTracker& front) {
  const std::u16string title = front.lastForegroundTitle();
  if (copiesSelectionOf(title)) captureSelection();
  const WindowMessage message = lookupWordMessage(options.showPopup(), isMainWindowTitle(title));

  button.setEnabled(false);
  QEventLoop wait;
  std::thread sender([&wait, message] {
    handOffLookup(desktopMainProgram(), message);
    QMetaObject::invokeMethod(&wait, &QEventLoop::quit, Qt::QueuedConnection);
  });
  wait.exec();
  sender.join();
  button.setEnabled(true);
}

}  // namespace

int main(int argc, char** argv) {
  // The button needs X11 (see platform/display_session.h): in a Wayland session it runs on
  // XWayland, asked for by "-platform xcb" so that the main program it starts stays native.
  const ButtonDisplayChoice display = chooseButtonDisplay(currentSessionEnvironment());
  if (display.display == ButtonDisplay::kNone) {
    std::fprintf(stderr, "lexora-util: %s\n", display.reason.c_str());
    return kExitButtonOff;
  }
  std::vector<char*> arguments(argv, argv + argc);
  std::string platformOption = "-platform", platformName = display.platform;
  if (!platformName.empty()) {
    arguments.insert(arguments.begin() + 1, {platformOption.data(), platformName.data()});
  }
  arguments.push_back(nullptr);
  argc = static_cast<int>(arguments.size()) - 1;
  argv = arguments.data();

  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Lexora Lookup"));
  QGuiApplication::setDesktopFileName(QStringLiteral("lexora-util"));
  QApplication::setWindowIcon(pictureIcon(Picture::kProgram));
  QApplication::setQuitOnLastWindowClosed(false);

  // Starting the button always brings up the main program, before any setting is read;
  // when the main program started the button, it runs already.
  if (!startedByOtherProgram()) startOrActivateMainProgram(desktopMainProgram());

  RegistryKey& key = settingsKey();
  if (int code = startupExitCode(key); code != 0) return code;

  InstanceLock lock;
  const std::string folder = endpointFolder();
  const std::string lockPath =
      folder.empty() ? std::string() : folder + "/" + kLookupButtonClass + ".lock";
  const InstanceCheck check = checkSingleInstance(
      [&] { return lock.acquire(lockPath); },
      [] { return findWindow(kLookupButtonClass, kLookupButtonTitle).has_value(); }, [] {});
  if (check != InstanceCheck::kOnlyInstance) return 0;

  ButtonOptions options(key);
  ButtonWindow button(options);
  WindowEndpoint endpoint(lookupButtonIdentity(), [](const WindowMessage& message) -> int64_t {
    if (message.message == kDestroyMessage) {
      QMetaObject::invokeMethod(
          qApp, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
    }
    return 0;
  });
  if (!endpoint.listen()) return kExitButtonOff;
  button.show();

  std::unique_ptr<ForegroundSource> source = makeDesktopForegroundSource();
  ForegroundTracker front(source.get(), static_cast<NativeWindow>(button.winId()));
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&front] { front.tick(); });
  timer.start(kForegroundTickMs);
  QObject::connect(&button, &ButtonWindow::tapped,
                   [&] { lookUpSelection(button, options, front); });
  return QApplication::exec();
}
