#pragma once
// Shared by the main window tests: a Qt application, a scratch folder with its own endpoint
// folder, dictionaries made with the engine, a clipboard double, scripted message boxes and
// entry editor, and a window built on them.

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <array>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/dictionary.h"
#include "gui/main_window/lexora_dialog.h"
#include "gui/main_window/meaning_search_dock.h"
#include "platform/clipboard.h"
#include "platform/program_launcher.h"
#include "render/display_settings.h"
#include "tests/support/status_assertions.h"

namespace lexora::test {

inline QApplication& application() {
  static int argc = 1;
  static char name[] = "gui_tests";
  static char* argv[] = {name, nullptr};
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

class FakeClipboard : public Clipboard {
 public:
  std::optional<std::u16string> text;
  bool readUnicodeText(std::u16string& out) override {
    if (!text) return false;
    out = *text;
    return true;
  }
  void writeUnicodeText(std::u16string_view value) override { text = std::u16string(value); }
};

class FakeLauncher : public ProgramLauncher {
 public:
  std::vector<std::string> started;
  bool startProgram(const std::string& path) override {
    started.push_back(path);
    return true;
  }
};

// What the edit commands said and asked, and how the user answers.
struct EntryDialogScript {
  std::vector<std::pair<std::u16string, MessageIcon>> messages;
  std::vector<std::u16string> questions;
  bool answerYes = false;
  std::vector<std::pair<EditMode, EntryTexts>> editorRuns;  // mode and the texts it opened on
  std::optional<EntryTexts> editorResult;                   // OK with these texts; none: Cancel
};

class ScriptedMessages : public EntryMessages {
 public:
  explicit ScriptedMessages(EntryDialogScript& script) : script_(script) {}
  void showMessage(const std::u16string& text, MessageIcon icon) override {
    script_.messages.emplace_back(text, icon);
  }
  bool askYesNo(const std::u16string& text) override {
    script_.questions.push_back(text);
    return script_.answerYes;
  }

 private:
  EntryDialogScript& script_;
};

class ScriptedEditor : public EntryEditor {
 public:
  explicit ScriptedEditor(EntryDialogScript& script) : script_(script) {}
  bool edit(EditMode mode, EntryTexts& texts) override {
    script_.editorRuns.emplace_back(mode, texts);
    if (!script_.editorResult) return false;
    texts = *script_.editorResult;
    return true;
  }

 private:
  EntryDialogScript& script_;
};

using Entries = std::vector<std::pair<std::u16string, std::u16string>>;

// A main window over dictionaries made in a scratch folder, which is also the endpoint folder.
class WindowFixture {
 public:
  WindowFixture() {
    application();
    qputenv("LEXORA_ENDPOINT_DIR", (dir_.path() + "/endpoints").toLocal8Bit());
  }
  ~WindowFixture() {
    window.reset();
    for (Dictionary& d : dictionaries) d.closeDictionary();
  }

  // Creates dictionary file `name` with `entries`, installed as the next slot.
  std::string addDictionary(const std::string& name, const Entries& entries,
                            uint32_t collation = 1) {
    std::string path = dir_.path().toStdString() + "/" + name + ".pvm";
    Dictionary d;
    EXPECT_OK(d.createDictionary(path, collation));
    for (const auto& [word, meaning] : entries) EXPECT_OK(d.addEntry(word, meaning));
    EXPECT_OK(d.setTitle(std::u16string(name.begin(), name.end())));
    d.closeDictionary();
    paths.push_back(path);
    totalDict = static_cast<int32_t>(paths.size());
    return path;
  }

  LexoraDialog& open(bool listen = false) {
    WindowState state;
    state.dictionaries = dictionaries;
    state.workingDictIndex = &workingDictIndex;
    state.reverseDictIndex = &reverseDictIndex;
    state.totalDict = &totalDict;
    state.dictionaryPath = [this](int32_t k) {
      return k >= 0 && static_cast<size_t>(k) < paths.size() ? paths[static_cast<size_t>(k)]
                                                             : std::string();
    };
    state.display = &display;
    state.speakHeadwords = speakHeadwords;
    WindowServices services;
    services.clipboard = &clipboard;
    services.launcher = &launcher;
    services.programFolder = LEXORA_PROGRAM_DIR;
    services.listenForHandOff = listen;
    services.wordHelp = wordHelp;
    if (adjustServices) adjustServices(services);
    window = std::make_unique<LexoraDialog>(state, services);
    window->setErrorReporter([this](QWidget*, const QString& text) { errors.push_back(text); });
    window->setEntryDialogs(std::make_unique<ScriptedMessages>(entryDialogs),
                            std::make_unique<ScriptedEditor>(entryDialogs));
    // The indexes the window prepares in the background read the dictionaries too: the tests
    // start once that is done, so that what they do to the files happens after it.
    [[maybe_unused]] const bool idle = QTest::qWaitFor(
        [this] { return !window->searchDock()->busy() && !window->lookupsBusy(); }, 60000);
    return *window;
  }

  QString folder() const { return dir_.path(); }

  std::array<Dictionary, 10> dictionaries;
  std::vector<std::string> paths;
  int32_t workingDictIndex = 5;  // whatever was stored: opening replaces it
  int32_t reverseDictIndex = 5;
  int32_t totalDict = 0;
  DisplaySettings display;
  FakeClipboard clipboard;
  FakeLauncher launcher;
  std::function<void(WindowServices&)> adjustServices;  // run on the services before opening
  bool speakHeadwords = false;
  std::vector<QString> errors;
  EntryDialogScript entryDialogs;
  std::shared_ptr<WordHelp> wordHelp;  // null: misses show the nearest entry only
  std::unique_ptr<LexoraDialog> window;

 private:
  QTemporaryDir dir_;
};

}  // namespace lexora::test
