#include "gui/main_window/lexora_dialog.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QPaintEvent>
#include <QVBoxLayout>
#include <utility>

#include "app/dictionary_menu.h"
#include "app/dictionary_opening.h"
#include "gui/main_window/dictionary_popup.h"
#include "gui/main_window/history_tree.h"
#include "gui/main_window/popup_bubble.h"
#include "gui/main_window/menu_bar.h"
#include "gui/main_window/menu_icons.h"
#include "gui/main_window/strip_painting.h"
#include "app/window_layout.h"
#include "gui/main_window/word_list_model.h"
#include "app/home_page.h"
#include "app/lookup_button_control.h"
#include "app/lookup_answer.h"
#include "app/lookup_flow.h"
#include "gui/dialogs/dialog_entry_editor.h"
#include "gui/dialogs/message_box_messages.h"
#include "platform/clipboard.h"
#include "gui/widgets/html_viewer.h"
#include "platform/qt/window_endpoint.h"
#include "platform/window_identity.h"
#include "render/entry_renderer.h"
#include "render/popup_page.h"
#include "gui/widgets/icon_painter.h"
#include "platform/qt/qt_text.h"

namespace lexora {
// The client area: the strip with the "Select Dict" button, the word box and the lookup
// button, and below it the panes, all placed from the layout rectangle.
class CentralArea : public QWidget {
 public:
  explicit CentralArea(QWidget* parent) : QWidget(parent) {
    selectDictButton = new QToolButton(this);
    selectDictButton->setObjectName(QStringLiteral("selectDictButton"));
    selectDictButton->setIcon(selectDictIcon());
    selectDictButton->setToolTip(QStringLiteral("Select Dict"));
    lookupButton = new QToolButton(this);
    lookupButton->setObjectName(QStringLiteral("lookupButton"));
    lookupButton->setIcon(lookupIcon());
    lookupButton->setToolTip(QStringLiteral("Look up"));
    for (QToolButton* button : {selectDictButton, lookupButton}) {
      button->setAutoRaise(true);
      button->setFocusPolicy(Qt::NoFocus);
    }
    wordBox = new QLineEdit(this);
    wordBox->setObjectName(QStringLiteral("wordBox"));
    wordBox->setFrame(false);
  }
  QToolButton* selectDictButton;
  QLineEdit* wordBox;
  QToolButton* lookupButton;
  std::vector<QWidget*> panes;

  void placeAll() {
    const WindowLayout layout = computeLayout(layoutRect());
    placeChildren(layout, selectDictButton, wordBox, lookupButton, {});
    for (QWidget* pane : panes) {
      pane->setGeometry(layout.pane.x, layout.pane.y, layout.pane.width, layout.pane.height);
    }
  }

 protected:
  void resizeEvent(QResizeEvent*) override { placeAll(); }
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    paintTopStrip(painter, layoutRect());
  }

 private:
  LayoutRect layoutRect() const { return LayoutRect{0, 0, width(), height()}; }
};

namespace {

void showErrorBox(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::Critical, QStringLiteral("Lexora"), text, QMessageBox::Ok, parent);
  box.exec();
}

// The word list and viewer of the window as the edit commands change them.
class WindowEntryList : public EntryWordList {
 public:
  explicit WindowEntryList(LexoraDialog& window) : window_(window) {}
  void setRowCount(uint32_t count) override { window_.wordListModel()->setRowCount(count); }
  void showEntry(uint32_t index) override {
    window_.showInMainWindow = true;
    window_.showEntry(index, *window_.state().workingDictIndex);
  }

 private:
  LexoraDialog& window_;
};

}  // namespace

LexoraDialog::LexoraDialog(WindowState state, WindowServices services, QWidget* parent)
    : QMainWindow(parent),
      state_(std::move(state)),
      services_(std::move(services)),
      errorReporter_(showErrorBox),
      entryMessages_(std::make_unique<MessageBoxMessages>(this)),
      entryEditor_(std::make_unique<DialogEntryEditor>(this)),
      central_(new CentralArea(this)),
      viewer_(nullptr),
      wordList_(new QListView(central_)),
      wordListModel_(new WordListModel(this)),
      history_(std::make_unique<History>(historyEffects())),
      historyTree_(new HistoryTree(*history_, central_)),
      popupBubble_(new PopupBubble(nullptr)) {
  // 1. The window itself; its title is the identity other programs find it by.
  setWindowTitle(QString::fromLatin1(kMainWindowTitle));
  resize(400, 560);

  // 2. The word box: Return comes back on its release; focus selects the whole text.
  wordBox()->installEventFilter(this);
  connect(wordBox(), &QLineEdit::textChanged, this, [this] { searchAsYouType(); });

  // 4. The icon, for the window and the popups.
  icon_ = pictureIcon(Picture::kProgram);
  setWindowIcon(icon_);

  // 5. The viewer, with the text size and ClearType of the display settings.
  viewer_ = new HtmlViewer(central_);
  viewer_->setObjectName(QStringLiteral("viewer"));
  viewer_->setFrameShape(QFrame::NoFrame);
  if (state_.display) {
    viewer_->setZoomLevel(static_cast<int>(state_.display->textSize));
    viewer_->setClearType(state_.display->useClearType != 0);
  }
  connect(viewer_, &HtmlViewer::linkTapped, this, [this](const QString& href) {
    showInMainWindow = true;
    lookupWord(toU16String(href), linkDictionary(shownFromReverse, working(), reverse()));
  });

  wordList_->setObjectName(QStringLiteral("wordList"));
  wordList_->setUniformItemSizes(true);  // a million rows open at once only with this
  wordList_->setSelectionMode(QAbstractItemView::SingleSelection);
  wordList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  wordList_->setFrameShape(QFrame::NoFrame);
  wordList_->setModel(wordListModel_);
  connect(wordList_, &QListView::clicked, this, [this] { showSelectedRow(); });
  historyTree_->setObjectName(QStringLiteral("historyTree"));
  historyTree_->setHeaderHidden(true);
  historyTree_->setFrameShape(QFrame::NoFrame);

  central_->panes = {viewer_, wordList_, historyTree_};
  setCentralWidget(central_);

  connect(selectDictButton(), &QToolButton::clicked, this, [this] { selectDictionary(); });
  connect(static_cast<HistoryTree*>(historyTree_), &HistoryTree::wordTapped, this,
          [this](const QString& root, const QString& word) {
            history_->tapWord(toU16String(root), toU16String(word), installedTitles());
          });
  connect(lookupButton(), &QToolButton::clicked, this, [this] {
    lookupButton()->setEnabled(false);
    showSelectedRow();
    lookupButton()->setEnabled(true);
  });

  // 6. The menu bar and the start pane.
  buildMenuBar();
  viewSwitch_->start(state_.showIndexAtStarting);

  // 8. The installed dictionaries; 9. the word list follows the working dictionary.
  openDictionaries();
  // 10. The home page.
  showHomePage();
  // 13.
  shownFromReverse = false;
  popupFromReverse = false;
  strictCompare = false;
  // Initialisation ends with the focus on the first control, the word box, so that a person
  // can type at once (the home page took it for the viewer).
  wordBox()->setFocus();

  connect(popupBubble_, &PopupBubble::commandSent, this, [this](int command) {
    if (command == 3) showPopupPage(true);
    if (command == 4) showPopupPage(false);
  });
  connect(popupBubble_, &PopupBubble::linkTapped, this, [this](const QString& word) {
    lookupWord(toU16String(word), linkDictionary(popupFromReverse, working(), reverse()));
  });

  if (services_.listenForHandOff) {
    endpoint_ = new WindowEndpoint(
        mainWindowIdentity(), [this](const WindowMessage& m) { return handleWindowMessage(m); },
        this);
    endpoint_->listen();
  }
}

LexoraDialog::~LexoraDialog() {
  delete popupBubble_;
  // The history tree follows history_ until it is destroyed, so it goes before history_ does.
  central_->panes.clear();
  delete historyTree_;
}

QToolButton* LexoraDialog::selectDictButton() const { return central_->selectDictButton; }
QToolButton* LexoraDialog::lookupButton() const { return central_->lookupButton; }
QLineEdit* LexoraDialog::wordBox() const { return central_->wordBox; }

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
  effects.writeDword = [this](std::u16string_view, uint32_t value) {
    return services_.writeShowLookupButton && services_.writeShowLookupButton(value);
  };
  effects.setLookupButtonRunning = [this](bool run) {
    if (services_.launcher) setLookupButtonRunning(run, *services_.launcher, services_.programFolder);
  };
  effects.setCheck = [this](int command, bool on) { menuBar_->setMarked(command, on); };
  effects.removePopup = [this] { popupBubble_->removeNotification(popupNotificationId); };
  effects.closeMainWindow = [this] { close(); };
  effects.lookupButtonBlocker = services_.lookupButtonBlocker;
  effects.setLookupButtonAutostart = services_.setLookupButtonAutostart;
  effects.showMessage = [this](const std::string& text) {
    QMessageBox box(QMessageBox::Information, QStringLiteral("Lexora"), QString::fromStdString(text),
                    QMessageBox::Ok, this);
    box.exec();
  };
  options_ = std::make_unique<Options>(
      OptionFields{&display->useClearType, &display->textSize,
                   state_.showLookupButtonSetting ? state_.showLookupButtonSetting
                                                  : &ownShowLookupButton_,
                   state_.showIndexAtStartingSetting ? state_.showIndexAtStartingSetting
                                                     : &ownShowIndexAtStarting_},
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
  viewSwitch_ = std::make_unique<ViewModeSwitch>(
      &viewMode, state_.totalDict ? state_.totalDict : &kNoDictionaries, std::move(panes));
  auto* quitShortcut = new QAction(this);
  quitShortcut->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
  connect(quitShortcut, &QAction::triggered, this, &LexoraDialog::quit);
  addAction(quitShortcut);
}

void LexoraDialog::setViewMode(int32_t mode) {
  switch (mode) {
    case kMeaningPage: viewSwitch_->showMeaning(); break;
    case kWordListPane: viewSwitch_->showWordList(); break;
    case kHistoryTreePane: viewSwitch_->showHistory(); break;
    default:
      viewMode = mode;
      viewSwitch_->showPanes();
      break;
  }
}

void LexoraDialog::runCommand(int command) { dispatchMenuCommand(command, commandHandlers()); }

void LexoraDialog::setEntryDialogs(std::unique_ptr<EntryMessages> messages,
                                   std::unique_ptr<EntryEditor> editor) {
  if (messages) entryMessages_ = std::move(messages);
  if (editor) entryEditor_ = std::move(editor);
}

void LexoraDialog::runEntryCommand(int command) {
  WindowEntryList list(*this);
  EntryCommands commands(*entryMessages_, *entryEditor_, list);
  commands.onEntryCommand(command, dictionary(working()), currentEntryIndex);
}

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
    strictCompare = options_->strictCompare();
  };
  h.about = [this] {
    if (dialogs_.about) dialogs_.about();
  };
  h.quit = [this] { options_->quit(); };
  for (auto [handler, command] :
       {std::pair{&h.addNewWord, kCmdAddNewWord}, std::pair{&h.modifyMeaning, kCmdModifyMeaning},
        std::pair{&h.modifyWord, kCmdModifyWord}, std::pair{&h.deleteWord, kCmdDeleteWord}}) {
    *handler = [this, command = command] { runEntryCommand(command); };
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
    if (!dict || !dict->findWord(word, nearest, sign, &listPosition)) return std::nullopt;
    return listPosition;
  };
  e.showEntry = [this](uint32_t position, int32_t slot) { showEntry(position, slot); };
  e.setShowInMainWindow = [this] { showInMainWindow = true; };
  e.showLookupError = [this] { reportError(); };
  e.setButtonState = [this](int command, ButtonState state) {
    if (menuBar_) menuBar_->setButtonState(command, state);
  };
  return e;
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

void LexoraDialog::applyViewerOptions() {
  const DisplaySettings& display = state_.display ? *state_.display : ownDisplay_;
  viewer_->setClearType(display.useClearType != 0);
  viewer_->setZoomLevel(static_cast<int>(display.textSize));
}

void LexoraDialog::selectDictionary() {
  DictionaryMenuEffects e;
  e.runDictionariesCommand = [this] { runDictionariesCommand(); };
  e.enableSelectButton = [this](bool on) { selectDictButton()->setEnabled(on); };
  e.trackMenu = [this](const std::vector<DictionaryMenuItem>& items) {
    return trackDictionaryMenu(items, this,
                               selectDictButton()->mapToGlobal(selectDictButton()->rect().bottomLeft()));
  };
  e.title = [this](int32_t slot) {
    Dictionary* dict = dictionary(slot);
    return dict ? dict->title() : std::u16string();
  };
  e.wordCount = [this](int32_t slot) {
    Dictionary* dict = dictionary(slot);
    return dict ? dict->wordCount() : 0u;
  };
  e.setWordListCount = [this](uint32_t) { wordListModel_->setDictionary(dictionary(working())); };
  runDictionaryMenu(state_.totalDict ? *state_.totalDict : 0, *state_.workingDictIndex,
                    *state_.reverseDictIndex, e);
}

void LexoraDialog::runDictionariesCommand() {
  if (!dialogs_.dictionaries) return;
  const bool accepted = dialogs_.dictionaries();
  DictionaryMenuEffects e;
  e.setWordListCount = [this](uint32_t) { wordListModel_->setDictionary(dictionary(working())); };
  reopenAfterDictionariesDialog(
      accepted, {state_.workingDictIndex, state_.reverseDictIndex, &currentEntryIndex},
      [this] {
        // All closed first: a reordered table would otherwise find a file still held open by
        // the slot it had before.
        for (Dictionary& slot : state_.dictionaries) slot.closeDictionary();
        return openInstalledDictionaries(
            state_.dictionaries, state_.totalDict ? *state_.totalDict : 0,
            state_.dictionaryPath ? state_.dictionaryPath
                                  : [](int32_t) { return std::string(); });
      },
      e);
}

Dictionary* LexoraDialog::dictionary(int32_t index) {
  if (index < 0 || static_cast<size_t>(index) >= state_.dictionaries.size()) return nullptr;
  return &state_.dictionaries[static_cast<size_t>(index)];
}

void LexoraDialog::openDictionaries() {
  historyRoot.fill(nullptr);
  historyCurrent.fill(nullptr);
  history_->clear();
  *state_.workingDictIndex = -1;
  *state_.reverseDictIndex = -1;
  OpenedDictionaries opened = openInstalledDictionaries(
      state_.dictionaries, state_.totalDict ? *state_.totalDict : 0,
      state_.dictionaryPath ? state_.dictionaryPath : [](int32_t) { return std::string(); });
  *state_.workingDictIndex = opened.workingDictIndex;
  *state_.reverseDictIndex = opened.reverseDictIndex;
  wordListModel_->setDictionary(dictionary(working()));
}

void LexoraDialog::showPanes() {
  if (viewSwitch_) viewSwitch_->showPanes();
}

void LexoraDialog::showHomePage() {
  int32_t total = state_.totalDict ? *state_.totalDict : 0;
  total = std::clamp<int32_t>(total, 0, static_cast<int32_t>(state_.dictionaries.size()));
  viewer_->setFocus();
  viewer_->showPage(toQString(buildHomePage(homePageEntries(state_.dictionaries, total))));
}

void LexoraDialog::setWordBoxText(const std::u16string& text) {
  wordBox()->setText(toQString(text));  // runs the search as you type
}

void LexoraDialog::selectListRow(uint32_t row, bool fullyVisible) {
  if (row >= static_cast<uint32_t>(wordListModel_->rowCount())) return;
  QModelIndex index = wordListModel_->index(static_cast<int>(row));
  wordList_->setCurrentIndex(index);
  wordList_->scrollTo(index, fullyVisible ? QAbstractItemView::EnsureVisible
                                          : QAbstractItemView::EnsureVisible);
}

void LexoraDialog::reportError() {
  if (errorReporter_) errorReporter_(this, QString::fromLatin1(kLookupErrorMessage));
}

void LexoraDialog::searchAsYouType() {
  Dictionary* dict = dictionary(working());
  if (!dict) return;
  std::u16string key = cutToChars(toU16String(wordBox()->text()), dict->maxWordChars());
  uint32_t nearest = 0;
  int sign = 0;
  uint32_t listPosition = 0;
  if (!dict->findWord(key, nearest, sign, &listPosition)) return;
  selectListRow(listPosition, true);
}

void LexoraDialog::showSelectedRow() {
  const int32_t k = working();
  if (!dictionary(k)) return;
  QModelIndexList selected = wordList_->selectionModel()->selectedIndexes();
  if (selected.isEmpty()) return;
  const int row = selected.first().row();
  const std::u16string word = toU16String(wordListModel_->word(row));
  addToHistory(word, k);
  setWordBoxText(word);
  showInMainWindow = true;
  showEntry(static_cast<uint32_t>(row), k);
}

void LexoraDialog::previousWord() { showNeighbourWord(true); }
void LexoraDialog::nextWord() { showNeighbourWord(false); }

void LexoraDialog::showNeighbourWord(bool previous) {
  const int32_t k = working();
  Dictionary* dict = dictionary(k);
  if (!dict) return;
  auto position = neighbourWordPosition(dict->lastReadIndex(), dict->wordCount(), previous);
  if (!position) return;
  const std::u16string word = toU16String(wordListModel_->word(static_cast<int>(*position)));
  addToHistory(word, k);
  setWordBoxText(word);
  showInMainWindow = true;
  showEntry(*position, k);
}

void LexoraDialog::addToHistory(const std::u16string& word, int32_t dictionaryIndex) {
  history_->addToHistory(word, dictionaryIndex);
}

void LexoraDialog::lookupWord(const std::u16string& text, int32_t dictionaryIndex) {
  if (working() == -1) return;
  const std::u16string word = normaliseLookupWord(text);
  setWordBoxText(word);
  Dictionary* dict = dictionary(dictionaryIndex);
  const LookupAnswer answer =
      dict ? answerLookup(*dict, word, strictCompare, services_.wordHelp.get()) : LookupAnswer{};
  if (!answer.searched) {
    reportError();
    return;
  }
  const uint32_t listPosition = answer.listPosition;
  if (!answer.shown) {
    // No exact match: the list only scrolls to the nearest row; its selection stays.
    if (listPosition < static_cast<uint32_t>(wordListModel_->rowCount())) {
      wordList_->scrollTo(wordListModel_->index(static_cast<int>(listPosition)),
                          QAbstractItemView::EnsureVisible);
    }
    if (!answer.suggestions.empty()) showSuggestionsOnly(answer.suggestions, dictionaryIndex);
    return;
  }
  if (showInMainWindow) {
    if (isMinimized()) showNormal();
    raise();
    activateWindow();
  }
  addToHistory(answer.historyWord, dictionaryIndex);
  pageAdditions_ = pageAdditions(answer);
  showEntry(*answer.shown, dictionaryIndex);
}

// Strict Compare and no entry: the suggestions on a page of their own, whose links go back
// to the dictionary they came from.
void LexoraDialog::showSuggestionsOnly(const std::vector<std::u16string>& suggestions,
                                       int32_t dictionaryIndex) {
  static const DisplaySettings kDefaults;
  const DisplaySettings& display = state_.display ? *state_.display : kDefaults;
  setViewMode(kMeaningPage);
  if (showInMainWindow) {
    viewer_->showPage(toQString(suggestionsPage(suggestions, display)));
    shownFromReverse = dictionaryIndex != working();
    return;
  }
  popupFragments.clear();
  addToFragments(popupFragments, PageAdditions{{}, {}, suggestions});
  popupPage = -1;
  showPopupPage(false);
  popupFromReverse = dictionaryIndex != working();
}

void LexoraDialog::showEntry(uint32_t position, int32_t dictionaryIndex) {
  const PageAdditions additions = std::exchange(pageAdditions_, PageAdditions{});
  Dictionary* dict = dictionary(dictionaryIndex);
  if (!dict) return;
  currentEntryIndex = static_cast<int32_t>(position);
  std::u16string text;
  if (!dict->readMeaning(position, text)) {
    reportError();
    dict->closeDictionary();
    return;
  }
  setViewMode(kMeaningPage);
  const bool unicodePronunciation = dict->collation() != 0;
  static const DisplaySettings kDefaults;
  const DisplaySettings& display = state_.display ? *state_.display : kDefaults;
  const std::string& pictures =
      services_.dataFolder.empty() ? services_.programFolder : services_.dataFolder;
  const std::u16string folder = QString::fromStdString(pictures).toStdU16String();
  RenderOptions options{display, folder, unicodePronunciation};
  if (showInMainWindow) {
    std::u16string page = addToPage(renderEntryPage(text, options), additions);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    viewer_->setFocus();
    viewer_->showPage(toQString(page));
    QApplication::restoreOverrideCursor();
    shownFromReverse = dictionaryIndex != working();
  } else {
    renderEntryFragments(text, popupFragments, options);
    addToFragments(popupFragments, additions);
    popupPage = -1;
    showPopupPage(false);
    popupFromReverse = dictionaryIndex != working();
  }
  if (dictionaryIndex == working()) selectListRow(position, false);
}

void LexoraDialog::showPopupPage(bool previous) {
  popupPage += previous ? -1 : 1;
  static const DisplaySettings kDefaults;
  const DisplaySettings& display = state_.display ? *state_.display : kDefaults;
  std::u16string page = assemblePopupPage(popupFragments, popupPage, display);
  const uint32_t id = ++popupNotificationId;
  popupBubble_->removeNotification(id - 1);
  popupBubble_->addNotification(id, toQString(page), static_cast<int>(clampTime2Show(display.time2Show)),
                                icon_);
}

void LexoraDialog::receiveLookupWord(uint64_t wParam, int64_t lParam) {
  std::u16string text;
  if (!services_.clipboard || !services_.clipboard->readUnicodeText(text)) return;
  showInMainWindow = handOffShowsInMainWindow(wParam);
  const int32_t k = handOffDictionary(lParam, shownFromReverse, working(), reverse());
  lookupWord(text, k);
}

int64_t LexoraDialog::handleWindowMessage(const WindowMessage& message) {
  if (message.message == kLookupWordMessage) receiveLookupWord(message.wParam, message.lParam);
  return 0;
}

void LexoraDialog::quit() {
  popupBubble_->removeNotification(popupNotificationId);
  close();
}

void LexoraDialog::closeEvent(QCloseEvent* event) {
  if (!closing_) {
    closing_ = true;
    popupBubble_->removeNotification(popupNotificationId);
    if (services_.launcher) {
      setLookupButtonRunning(false, *services_.launcher, services_.programFolder);
    }
    delete endpoint_;  // the window can no longer be found
    endpoint_ = nullptr;
  }
  event->accept();
}

bool LexoraDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == wordBox()) {
    switch (event->type()) {
      case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) return true;
        break;
      }
      case QEvent::KeyRelease: {
        auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            !key->isAutoRepeat()) {
          lookupButton()->setEnabled(false);
          showSelectedRow();
          lookupButton()->setEnabled(true);
        }
        return true;  // key releases end here
      }
      case QEvent::FocusIn:
        QTimer::singleShot(0, wordBox(), &QLineEdit::selectAll);
        break;
      default:
        break;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

}  // namespace lexora
