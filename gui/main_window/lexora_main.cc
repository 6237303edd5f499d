// lexora: the dictionary's main program. Its whole life is one run of the main window:
// settings key and dictionary slots first, then the settings, the window until "Quit", and the
// settings saved at the end. A second start in the same session only brings the running
// window forward.

#include <QApplication>
#include <array>
#include <optional>

#include "app/lookup_button_control.h"
#include "app/settings.h"
#include "app/settings_merge.h"
#include "app/settings_schema.h"
#include "app/window_placement.h"
#include "app/word_help.h"
#include "engine/dictionary.h"
#include "gui/dialogs/about_dialog.h"
#include "gui/dialogs/dictionaries_dialog.h"
#include "gui/dialogs/help.h"
#include "gui/dialogs/help_window.h"
#include "gui/dialogs/style_dialog.h"
#include "gui/main_window/lexora_dialog.h"
#include "gui/main_window/settings_warning.h"
#include "gui/main_window/stall_watchdog.h"
#include "gui/main_window/window_screen.h"
#include "gui/widgets/icon_painter.h"
#include "platform/autostart.h"
#include "platform/display_session.h"
#include "platform/message_channel.h"
#include "platform/program_folder.h"
#include "platform/qt/desktop_programs_qt.h"
#include "platform/qt/detached_launcher.h"
#include "platform/qt/qt_clipboard.h"
#include "platform/qt/termination_signals.h"

namespace {

using namespace lexora;

// The 10 dictionary slots, closed until the main window opens the installed ones.
std::array<Dictionary, kMaxDictionaries> dictionaries;

// One window per desktop session: a window already running is asked to come forward (as a
// lookup is handed to it), and this start ends. False when there is none to ask.
bool handedToRunningWindow() {
  const std::optional<WindowIdentity> running = findWindow("", kMainWindowTitle);
  if (!running) return false;
  WindowMessage show;
  show.message = kShowWindowMessage;
  return sendWindowMessage(*running, show, nullptr, 5000) == SendStatus::kHandled;
}

WindowState windowState(Settings& s) {
  WindowState state;
  state.dictionaries = dictionaries;
  state.workingDictIndex = &s.workingDictIndex;
  state.reverseDictIndex = &s.reverseDictIndex;
  state.totalDict = &s.totalDict;
  state.dictionaryPath = [&s](int32_t k) {
    if (k < 0 || k >= kMaxDictionaries) return std::string();
    return QString::fromStdU16String(s.dictionaryPaths[static_cast<size_t>(k)]).toStdString();
  };
  state.display = &s.display;
  state.showIndexAtStarting = s.showIndexAtStarting != 0;
  state.showLookupButtonSetting = &s.showLookupButton;
  state.showIndexAtStartingSetting = &s.showIndexAtStarting;
  // The voice is on unless "SpeakHeadwords" is 0 (the value is not written when missing).
  state.speakHeadwords =
      settingsKey().readDword(schema::kSpeakHeadwords, RegistryKey::kNoWriteBack) != 0;
  return state;
}

WindowServices windowServices(Clipboard& clipboard, ProgramLauncher& launcher,
                              DesktopPrograms& desktopPrograms) {
  WindowServices services;
  services.clipboard = &clipboard;
  services.launcher = &launcher;
  services.programFolder = programFolder();
  services.dataFolder = dataFolder();
  services.writeShowLookupButton = [](uint32_t value) {
    return writeShowLookupButton(settingsKey(), value);
  };
  services.writeSpeakHeadwords = [](uint32_t value) {
    return settingsKey().writeDword(schema::kSpeakHeadwords, value);
  };
  services.lookupButtonBlocker = [] {
    return chooseButtonDisplay(currentSessionEnvironment()).reason;
  };
  services.setLookupButtonAutostart = [](bool start) {
    return start ? writeAutostartEntry(programFolder() + kLookupButtonProgram)
                 : removeAutostartEntry();
  };
  // Suggestion indexes are built in the background (the search dock's indexer), never by a
  // lookup.
  // The word help runs on the window's lookup thread: its languages are read and kept through
  // a settings connection of that thread's own.
  auto lookupThreadKey = std::make_shared<std::unique_ptr<RegistryKey>>();
  WordHelp::Places wordHelpPlaces{[lookupThreadKey] {
                                    if (!*lookupThreadKey)
                                      *lookupThreadKey = openWorkerSettingsKey();
                                    return lookupThreadKey->get();
                                  },
                                  WordHelp::defaultIndexFolder()};
  wordHelpPlaces.buildOnLookup = false;
  services.wordHelp = std::make_shared<WordHelp>(std::move(wordHelpPlaces));
  // The help file lies in the data folder.
  services.showDictionaryHelp = [&desktopPrograms] {
    showHelp(desktopPrograms, HelpTopic::Dictionaries);
  };
  services.takeInstalledListFromStore = [] {
    return takeInstalledListFromStore(settingsKey(), settings(), loadedSettings());
  };
  return services;
}

LexoraDialog::CommandDialogs commandDialogs(Settings& s, LexoraDialog& window,
                                            DesktopPrograms& desktopPrograms) {
  LexoraDialog::CommandDialogs dialogs;
  dialogs.dictionaries = [&s, &window, &desktopPrograms] {
    return runDictionariesDialog(s, &window, &desktopPrograms);
  };
  dialogs.interfaceStyles = [&s, &window, &desktopPrograms] {
    StyleDialogServices styleServices;
    styleServices.programs = &desktopPrograms;
    StyleDialog dialog(s.display, std::move(styleServices), &window);
    dialog.exec();  // its changes are already in the settings
  };
  dialogs.about = [&window, &desktopPrograms] {
    AboutDialog dialog(&desktopPrograms, &window);
    dialog.exec();
  };
  return dialogs;
}

// The window from its showing to its closing; the settings are saved before it goes away.
int runWindow(QApplication& app, Settings& s) {
  QtClipboard clipboard;
  DetachedLauncher launcher;
  // The help file (in the data folder) in the program's own help window; web and mail
  // addresses through the desktop's browser and mail program.
  QtDesktopPrograms desktop(dataFolder());
  HelpWindowPrograms desktopPrograms(dataFolder(), &desktop);
  const WindowServices services = windowServices(clipboard, launcher, desktopPrograms);
  LexoraDialog window(windowState(s), services);
  installHelpKey(&window, &desktopPrograms, HelpTopic::MainWindow);
  window.setCommandDialogs(commandDialogs(s, window, desktopPrograms));
  // The session manager asks for the program's data before it ends the session.
  QObject::connect(&app, &QGuiApplication::commitDataRequest, [] { saveSettings(); });
  // Where it was last time, or at its default size; fitted to its screen either way.
  placeOnScreen(window, readWindowGeometry(settingsKey()));
  window.show();
  sayWhenSettingsAreNotUsed(&window);
  // The lookup button runs while the program runs; started once the window can be found,
  // or the button would start a second main program. When the button started this program,
  // it runs already.
  if (!startedByOtherProgram())
    startLookupButtonIfShown(s.showLookupButton, launcher, services.programFolder);
  const int status = QApplication::exec();
  // Ended by the desktop rather than by "Quit": the window still goes the closing way, which
  // stops the lookup button (nothing happens when it has closed already).
  window.close();
  writeWindowGeometry(settingsKey(), keptGeometry(window));
  saveSettings();  // before the window goes away
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  if (handedToRunningWindow()) return 0;
  settingsKey();  // opened before anything else runs
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Lexora"));
  // The desktop matches the window to lexora.desktop: by the Wayland app id, and on X11 by the
  // WM_CLASS class "Lexora" (the application name), the entry's StartupWMClass.
  QGuiApplication::setDesktopFileName(QStringLiteral("lexora"));
  QApplication::setWindowIcon(pictureIcon(Picture::kProgram));
  // The desktop ending the program (logout, SIGTERM) ends the run like "Quit", so the
  // settings below are still saved.
  quitOnTerminationSignals();
#ifndef NDEBUG
  // Work that holds the event loop longer than 50 ms belongs on a worker thread: say so.
  StallWatchdog watchdog(&app);
#endif
  loadSettings();
  const int status = runWindow(app, settings());
  for (Dictionary& dictionary : dictionaries) dictionary.closeDictionary();
  return status;
}
