// How the main window plugs itself into the widget-free flows of app/: the options and the
// panes behind the menu bar, the menu commands, the history, the dictionary menu, the
// dictionaries dialog and the edit commands. Each flow gets a struct of effects here.

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QToolButton>
#include <QTreeWidget>

#include "app/dictionary_menu.h"
#include "app/dictionary_opening.h"
#include "app/lookup_button_control.h"
#include "app/settings_schema.h"
#include "app/word_help.h"
#include "gui/main_window/central_area.h"
#include "gui/main_window/lexora_dialog.h"
#include "gui/main_window/meaning_search_dock.h"
#include "gui/main_window/menu_bar.h"
#include "gui/main_window/popup_bubble.h"
#include "gui/main_window/select_dict_menu.h"
#include "gui/main_window/word_list_model.h"
#include "gui/main_window/word_player.h"
#include "gui/widgets/html_viewer.h"
#include "gui/widgets/plain_message_box.h"
#include "platform/window_identity.h"

namespace lexora {
namespace {

// The word list and viewer of the window as the edit commands change them.
class WindowEntryList : public EntryWordList {
 public:
  explicit WindowEntryList(LexoraDialog& window, std::function<void()> showHome)
      : window_(window), showHome_(std::move(showHome)) {}
  void setRowCount(uint32_t count) override { window_.wordListModel()->setRowCount(count); }
  void showEntry(uint32_t index) override {
    window_.setShowInMainWindow(true);
    window_.showEntry(index, *window_.state().workingDictIndex);
  }
  void showHomePage() override { showHome_(); }

 private:
  LexoraDialog& window_;
  std::function<void()> showHome_;
};

}  // namespace

void LexoraDialog::applyViewerOptions() {
  const DisplaySettings& display = state_.display ? *state_.display : ownDisplay_;
  viewer_->setClearType(display.useClearType != 0);
  viewer_->setZoomLevel(static_cast<int>(display.textSize));
}

void LexoraDialog::buildSearchDock() {
  MeaningSearchDock::Source source;
  source.dictionaries = [this](bool all) { return searchedDictionaries(all); };
  source.title = [this](int32_t slot) {
    Dictionary* dict = dictionary(slot);
    return dict ? QString::fromStdU16String(dict->title()) : QString();
  };
  if (services_.wordHelp) source.keptIndexFolder = services_.wordHelp->indexFolder();
  searchDock_ = new MeaningSearchDock(std::move(source), this);
  addDockWidget(Qt::BottomDockWidgetArea, searchDock_);
  searchDock_->hide();
  connect(searchDock_, &MeaningSearchDock::entryChosen, this,
          [this](int32_t slot, uint32_t position) {
            showInMainWindow_ = true;
            showEntry(position, slot);
          });
  auto* find = new QAction(tr("Search meanings"), this);
  find->setShortcut(QKeySequence::Find);
  addAction(find);
  connect(find, &QAction::triggered, this, [this] {
    searchDock_->show();
    searchDock_->raise();
    searchDock_->searchBox()->setFocus();
    searchDock_->searchBox()->selectAll();
  });
}

std::vector<SearchedDictionary> LexoraDialog::searchedDictionaries(bool all) {
  std::vector<SearchedDictionary> out;
  for (int32_t slot = 0; slot < static_cast<int32_t>(state_.dictionaries.size()); ++slot) {
    Dictionary* dict = dictionary(slot);
    if (dict == nullptr || !dict->isOpen() || (!all && slot != working())) continue;
    out.push_back({slot, dict});
  }
  return out;
}

void LexoraDialog::prepareIndexes() {
  if (services_.prepareIndexes) searchDock_->prepareIndexes(searchedDictionaries(true));
}

void LexoraDialog::buildMenuBar() {
  menuBar_ = new MenuBar(this);
  menuBar_->setObjectName(QStringLiteral("menuBar"));
  addToolBar(Qt::BottomToolBarArea, menuBar_);
  connect(menuBar_, &MenuBar::commandTriggered, this, &LexoraDialog::runCommand);
  if (state_.showIndexAtStartingSetting == nullptr) {
    ownShowIndexAtStarting_ = state_.showIndexAtStarting ? 1 : 0;
  }
  DisplaySettings* display = state_.display ? state_.display : &ownDisplay_;
  OptionEffects effects;
  effects.applyViewerOptions = [this] { applyViewerOptions(); };
  effects.writeDword = [this](std::u16string_view name, uint32_t value) {
    const auto& write = name == schema::kSpeakHeadwords ? services_.writeSpeakHeadwords
                                                        : services_.writeShowLookupButton;
    return write && write(value);
  };
  effects.setLookupButtonRunning = [this](bool run) {
    if (services_.launcher)
      setLookupButtonRunning(run, *services_.launcher, services_.programFolder);
  };
  effects.setCheck = [this](int command, bool on) { menuBar_->setMarked(command, on); };
  effects.removePopup = [this] { popupBubble_->removeNotification(popupNotificationId_); };
  effects.closeMainWindow = [this] { close(); };
  effects.lookupButtonBlocker = services_.lookupButtonBlocker;
  effects.setLookupButtonAutostart = services_.setLookupButtonAutostart;
  effects.showMessage = [this](const std::string& text) {
    showPlainMessage(this, QMessageBox::Information, QStringLiteral("Lexora"),
                     QString::fromStdString(text));
  };
  speakHeadwords_ = state_.speakHeadwords ? 1 : 0;
  options_ = std::make_unique<Options>(
      OptionFields{
          &display->useClearType, &display->textSize,
          state_.showLookupButtonSetting ? state_.showLookupButtonSetting : &ownShowLookupButton_,
          state_.showIndexAtStartingSetting ? state_.showIndexAtStartingSetting
                                            : &ownShowIndexAtStarting_,
          &speakHeadwords_},
      std::move(effects));
  options_->syncMarks();

  static const int32_t kNoDictionaries = 0;
  ViewModeEffects panes;
  panes.showHomePage = [this] { showHomePage(); };
  panes.showPanes = [this](const PaneVisibility& p) {
    viewer_->setVisible(p.viewer);
    wordList_->setVisible(p.wordList);
    historyTree_->setVisible(p.historyTree);
  };
  panes.setEditMenu = [this](const EditMenuState& edit) { menuBar_->setEditMenu(edit); };
  panes.setButtonState = [this](int command, ButtonState state) {
    menuBar_->setButtonState(command, state);
  };
  panes.hasEditTarget = [this] { return currentEntryIndex() >= 0; };
  viewSwitch_ = std::make_unique<ViewModeSwitch>(
      &viewMode_, state_.totalDict ? state_.totalDict : &kNoDictionaries, std::move(panes));
  player_ = new WordPlayer(this);
  auto* speakShortcut = new QAction(this);
  speakShortcut->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
  connect(speakShortcut, &QAction::triggered, this, &LexoraDialog::speakShownEntry);
  addAction(speakShortcut);
}

void LexoraDialog::runCommand(int command) { dispatchMenuCommand(command, commandHandlers()); }

MenuCommandHandlers LexoraDialog::commandHandlers() {
  MenuCommandHandlers h;
  h.useClearType = [this] { options_->toggleClearType(); };
  h.showLookupButton = [this] { options_->toggleLookupButton(); };
  h.showIndexAtStarting = [this] { options_->toggleIndexAtStarting(); };
  h.interfaceStyles = [this] {
    if (dialogs_.interfaceStyles) dialogs_.interfaceStyles();
  };
  h.textSize = [this](int size) { options_->chooseTextSize(size); };
  h.dictionaries = [this] { runDictionariesCommand(); };
  h.strictCompare = [this] {
    options_->toggleStrictCompare();
    strictCompare_ = options_->strictCompare();
  };
  h.speakHeadwords = [this] { options_->toggleSpeakHeadwords(); };
  h.about = [this] {
    if (dialogs_.about) dialogs_.about();
  };
  h.quit = [this] { options_->quit(); };
  for (auto [handler, command] :
       {std::pair{&h.addNewWord, kCmdAddNewWord}, std::pair{&h.modifyMeaning, kCmdModifyMeaning},
        std::pair{&h.modifyWord, kCmdModifyWord}, std::pair{&h.deleteWord, kCmdDeleteWord}}) {
    *handler = [this, command = command] {
      runEntryCommand(command);
      prepareIndexes();  // the suggestions follow the change in the background
    };
  }
  h.showMeaning = [this] { setViewMode(kMeaningPage); };
  h.showWordList = [this] { setViewMode(kWordListPane); };
  h.showHistory = [this] { setViewMode(kHistoryTreePane); };
  h.previousWord = [this] { previousWord(); };
  h.nextWord = [this] { nextWord(); };
  h.historyBack = [this] { history_->back(working()); };
  h.historyForward = [this] { history_->forward(working()); };
  h.selectDict = [this] { selectDictionary(); };
  return h;
}

HistoryEffects LexoraDialog::historyEffects() {
  HistoryEffects e;
  e.rootInfo = [this](int32_t slot) {
    Dictionary* dict = dictionary(slot);
    return dict ? HistoryEffects::RootInfo{dict->title(), dict->nodeData()}
                : HistoryEffects::RootInfo{};
  };
  e.findWord = [this](int32_t slot, const std::u16string& word) -> std::optional<uint32_t> {
    Dictionary* dict = dictionary(slot);
    uint32_t nearest = 0;
    int sign = 0;
    uint32_t listPosition = 0;
    if (!dict || !dict->findWord(word, nearest, sign, &listPosition).isOk()) return std::nullopt;
    return listPosition;
  };
  e.showEntry = [this](uint32_t position, int32_t slot) { showEntry(position, slot); };
  e.setShowInMainWindow = [this] { showInMainWindow_ = true; };
  e.showLookupError = [this] { reportError(); };
  e.setButtonState = [this](int command, ButtonState state) {
    if (menuBar_) menuBar_->setButtonState(command, state);
  };
  return e;
}

void LexoraDialog::setEntryDialogs(std::unique_ptr<EntryMessages> messages,
                                   std::unique_ptr<EntryEditor> editor) {
  if (messages) entryMessages_ = std::move(messages);
  if (editor) entryEditor_ = std::move(editor);
}

void LexoraDialog::runEntryCommand(int command) {
  WindowEntryList list(*this, [this] { setViewMode(kHomePage); });
  EntryCommands commands(*entryMessages_, *entryEditor_, list);
  // The dictionary and the entry are fixed here, before any editor or question opens.
  const int32_t k = working();
  int entry = currentEntryIndex();
  commands.onEntryCommand(command, dictionary(k), entry);
  setEditTarget(entry < 0 ? EditTarget{} : EditTarget{k, entry});
}

std::vector<std::u16string> LexoraDialog::installedTitles() {
  std::vector<std::u16string> titles;
  const int32_t total = usedSlots(state_.totalDict ? *state_.totalDict : 0);
  for (int32_t k = 0; k < total; ++k) {
    Dictionary* dict = dictionary(k);
    titles.push_back(dict ? dict->title() : std::u16string());
  }
  return titles;
}

void LexoraDialog::selectDictionary() {
  DictionaryMenuEffects e;
  e.runDictionariesCommand = [this] { runDictionariesCommand(); };
  e.enableSelectButton = [this](bool on) { selectDictButton()->setEnabled(on); };
  e.trackMenu = [this](const std::vector<DictionaryMenuItem>& items) {
    return trackDictionaryMenu(
        items, this, selectDictButton()->mapToGlobal(selectDictButton()->rect().bottomLeft()));
  };
  e.title = [this](int32_t slot) {
    Dictionary* dict = dictionary(slot);
    return dict ? dict->title() : std::u16string();
  };
  e.wordCount = [this](int32_t slot) {
    Dictionary* dict = dictionary(slot);
    return dict ? dict->wordCount() : 0u;
  };
  e.setWordListCount = [this](uint32_t) {
    // A new working dictionary: the page on screen is no entry of it.
    wordListModel_->setDictionary(dictionary(working()));
    setEditTarget(EditTarget{});
  };
  runDictionaryMenu(state_.totalDict ? *state_.totalDict : 0, *state_.workingDictIndex,
                    *state_.reverseDictIndex, e);
}

void LexoraDialog::runDictionariesCommand() {
  if (!dialogs_.dictionaries) return;
  if (dialogs_.dictionaries()) reopenDictionaries(false);
}

void LexoraDialog::reopenDictionaries(bool keepChosen) {
  const int32_t wantedWorking = *state_.workingDictIndex;
  const int32_t wantedReverse = *state_.reverseDictIndex;
  DictionaryMenuEffects e;
  e.setWordListCount = [this](uint32_t) { wordListModel_->setDictionary(dictionary(working())); };
  int32_t entry = currentEntryIndex();
  searchDock_->cancel();  // its work and its matches are of the old slots
  ++lookupGeneration_;    // and so is any answer still worked out
  reopenAfterDictionariesDialog(
      true, {state_.workingDictIndex, state_.reverseDictIndex, &entry},
      [this] {
        // All closed first: a reordered table would otherwise find a file still held open by
        // the slot it had before.
        for (Dictionary& slot : state_.dictionaries) slot.closeDictionary();
        return openInstalledDictionaries(
            state_.dictionaries, state_.totalDict ? *state_.totalDict : 0,
            state_.dictionaryPath ? state_.dictionaryPath : [](int32_t) { return std::string(); });
      },
      e);
  // The start-up rule picked a working and a reverse dictionary; when asked, the chosen ones
  // win where they opened.
  const auto opened = [this](int32_t k) {
    return dictionary(k) != nullptr && dictionary(k)->isOpen();
  };
  if (keepChosen && opened(wantedWorking)) {
    *state_.workingDictIndex = wantedWorking;
    wordListModel_->setDictionary(dictionary(working()));
  }
  if (keepChosen && opened(wantedReverse)) {
    *state_.reverseDictIndex = wantedReverse;
  }
  prepareIndexes();
  prepareWordHelp();
  setEditTarget(EditTarget{});
  // The home page lists the dictionaries open now.
  if (viewMode_ == kHomePage) showHomePage();
}

int64_t LexoraDialog::handleWindowMessage(const WindowMessage& message) {
  if (message.message == kLookupWordMessage) receiveLookupWord(message.wParam, message.lParam);
  if (message.message == kShowWindowMessage) {
    if (isMinimized()) showNormal();
    raise();
    activateWindow();
  }
  return 0;
}

void LexoraDialog::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() != QEvent::ActivationChange || !isActiveWindow()) return;
  if (QApplication::activeModalWidget() != nullptr || !services_.takeInstalledListFromStore) return;
  if (services_.takeInstalledListFromStore()) reopenDictionaries(true);
}

void LexoraDialog::openDictionaries() {
  history_->clear();
  setEditTarget(EditTarget{});
  *state_.workingDictIndex = -1;
  *state_.reverseDictIndex = -1;
  OpenedDictionaries opened = openInstalledDictionaries(
      state_.dictionaries, state_.totalDict ? *state_.totalDict : 0,
      state_.dictionaryPath ? state_.dictionaryPath : [](int32_t) { return std::string(); });
  *state_.workingDictIndex = opened.workingDictIndex;
  *state_.reverseDictIndex = opened.reverseDictIndex;
  wordListModel_->setDictionary(dictionary(working()));
  prepareIndexes();
  prepareWordHelp();
}

void LexoraDialog::setEditTarget(EditTarget target) {
  editTarget_ = target;
  if (viewSwitch_) viewSwitch_->updateEditMenu();
}

}  // namespace lexora
