#include "gui/main_window/lexora_dialog.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPaintEvent>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <utility>

#include "app/hand_off_text.h"
#include "app/home_page.h"
#include "app/lookup_answer.h"
#include "app/lookup_button_control.h"
#include "app/lookup_flow.h"
#include "gui/dialogs/message_box_messages.h"
#include "gui/dialogs/modal_entry_editor.h"
#include "gui/main_window/central_area.h"
#include "gui/main_window/history_tree.h"
#include "gui/main_window/menu_bar.h"
#include "gui/main_window/popup_bubble.h"
#include "gui/main_window/word_list_model.h"
#include "gui/widgets/html_viewer.h"
#include "gui/widgets/icon_painter.h"
#include "gui/widgets/plain_message_box.h"
#include "platform/clipboard.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/window_endpoint.h"
#include "platform/window_identity.h"
#include "render/entry_renderer.h"
#include "render/popup_page.h"

namespace lexora {
namespace {

void showErrorBox(QWidget* parent, const QString& text) {
  showPlainMessage(parent, QMessageBox::Critical, QStringLiteral("Lexora"), text);
}

bool modalRunning() {
  return QApplication::activeModalWidget() != nullptr ||
         QApplication::activePopupWidget() != nullptr;
}

// A key that types a character (not space, which pages the viewer, and no shortcut).
bool typesCharacter(const QKeyEvent& key) {
  if (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
  const QString text = key.text();
  return !text.isEmpty() && text.at(0).isPrint() && !text.at(0).isSpace();
}

}  // namespace

LexoraDialog::LexoraDialog(WindowState state, WindowServices services, QWidget* parent)
    : QMainWindow(parent),
      state_(std::move(state)),
      services_(std::move(services)),
      handOffRetry_(new QTimer(this)),
      errorReporter_(showErrorBox),
      entryMessages_(std::make_unique<MessageBoxMessages>(this)),
      entryEditor_(std::make_unique<ModalEntryEditor>(this)),
      central_(new CentralArea(this)),
      viewer_(nullptr),
      wordList_(new QListView(central_)),
      wordListModel_(new WordListModel(this)),
      history_(std::make_unique<History>(historyEffects())),
      historyTree_(new HistoryTree(*history_, central_)),
      popupBubble_(new PopupBubble(nullptr)),
      lookups_(std::make_unique<DictionaryWorker>()) {
  // 1. The window itself; its title is the identity other programs find it by.
  setWindowTitle(QString::fromLatin1(kMainWindowTitle));
  resize(kDefaultWindowWidth, kDefaultWindowHeight);

  // 2. The word box: Return comes back on its release; focus selects the whole text.
  wordBox()->installEventFilter(this);
  connect(wordBox(), &QLineEdit::textChanged, this, [this] { searchAsYouType(); });

  // 4. The icon, for the window and the popups.
  icon_ = pictureIcon(Picture::kProgram);
  setWindowIcon(icon_);

  // 5. The viewer and the other panes, and what the strip's buttons do.
  buildPanes();
  connectStrip();

  // 6. The menu bar, the keys of every command and the start pane.
  buildMenuBar();
  installKeyboardPaths();
  viewSwitch_->start(state_.showIndexAtStarting);
  buildSearchDock();

  // 8. The installed dictionaries; 9. the word list follows the working dictionary.
  openDictionaries();
  // 10. The home page.
  showHomePage();
  // 13.
  shownFromReverse_ = false;
  popupFromReverse_ = false;
  strictCompare_ = false;
  // Initialisation ends with the focus on the first control, the word box, so that a person
  // can type at once (the home page took it for the viewer).
  wordBox()->setFocus();

  connectPopupAndHandOff();
}

LexoraDialog::~LexoraDialog() {
  lookups_.reset();  // its jobs use the window's dictionaries and report to it
  delete popupBubble_;
  // The history tree follows history_ until it is destroyed, so it goes before history_ does.
  central_->setPanes({});
  delete historyTree_;
}

QToolButton* LexoraDialog::selectDictButton() const { return central_->selectDictButton(); }
QToolButton* LexoraDialog::lookupButton() const { return central_->lookupButton(); }
QLineEdit* LexoraDialog::wordBox() const { return central_->wordBox(); }

int32_t LexoraDialog::currentEntryIndex() const { return editableEntry(editTarget_, working()); }

void LexoraDialog::setViewMode(ViewMode mode) {
  switch (mode) {
    case kMeaningPage:
      viewSwitch_->showMeaning();
      break;
    case kWordListPane:
      viewSwitch_->showWordList();
      break;
    case kHistoryTreePane:
      viewSwitch_->showHistory();
      break;
    default:
      viewMode_ = mode;
      viewSwitch_->showPanes();
      break;
  }
}

Dictionary* LexoraDialog::dictionary(int32_t index) {
  if (index < 0 || static_cast<size_t>(index) >= state_.dictionaries.size()) return nullptr;
  return &state_.dictionaries[static_cast<size_t>(index)];
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

void LexoraDialog::focusWordBox() {
  wordBox()->setFocus(Qt::OtherFocusReason);
  wordBox()->selectAll();
}

void LexoraDialog::selectListRow(uint32_t row, bool fullyVisible) {
  if (row >= static_cast<uint32_t>(wordListModel_->rowCount())) return;
  QModelIndex index = wordListModel_->index(static_cast<int>(row));
  wordList_->setCurrentIndex(index);
  wordList_->scrollTo(
      index, fullyVisible ? QAbstractItemView::EnsureVisible : QAbstractItemView::EnsureVisible);
}

void LexoraDialog::reportError() {
  if (errorReporter_) errorReporter_(this, QString::fromLatin1(kLookupErrorMessage));
}

void LexoraDialog::searchAsYouType() {
  ++lookupGeneration_;  // typing on after Return: the new text wins over the old one's answer
  Dictionary* dict = dictionary(working());
  if (!dict) return;
  std::u16string key = cutToChars(toU16String(wordBox()->text()), dict->maxWordChars());
  uint32_t nearest = 0;
  int sign = 0;
  uint32_t listPosition = 0;
  if (!dict->findWord(key, nearest, sign, &listPosition).isOk()) return;
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
  showInMainWindow_ = true;
  showEntry(static_cast<uint32_t>(row), k);
  // Shown from the word box: the next word can be typed at once.
  focusWordBox();
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
  showInMainWindow_ = true;
  showEntry(*position, k);
}

void LexoraDialog::addToHistory(const std::u16string& word, int32_t dictionaryIndex) {
  history_->addToHistory(word, dictionaryIndex);
}

void LexoraDialog::showEntry(uint32_t position, int32_t dictionaryIndex) {
  ++lookupGeneration_;  // an answer still worked out for an older lookup is not shown
  const PageAdditions additions = std::exchange(pageAdditions_, PageAdditions{});
  Dictionary* dict = dictionary(dictionaryIndex);
  if (!dict) return;
  std::u16string text;
  if (!dict->readMeaning(position, text).isOk()) {
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
  const std::u16string resources = resourceFolderOf(dictionaryIndex);
  RenderOptions options{display, folder, unicodePronunciation, resources,
                        showInMainWindow_ && speakHeadwords_ != 0};
  if (showInMainWindow_) {
    pageEntry_ = EditTarget{dictionaryIndex, static_cast<int32_t>(position)};
    std::u16string page = addToPage(renderEntryPage(text, options), additions);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    viewer_->setFocus();
    viewer_->showPage(toQString(page), dict->dataFileName());
    QApplication::restoreOverrideCursor();
    shownFromReverse_ = dictionaryIndex != working();
  } else {
    renderEntryFragments(text, popupFragments_, options);
    addToFragments(popupFragments_, additions);
    popupBubble_->setDictionary(dict->dataFileName());
    popupPage_ = -1;
    showPopupPage(false);
    popupFromReverse_ = dictionaryIndex != working();
  }
  setEditTarget(
      editTargetAfterShowing(editTarget_, dictionaryIndex, position, showInMainWindow_, working()));
  if (dictionaryIndex == working()) selectListRow(position, false);
}

void LexoraDialog::showPopupPage(bool previous) {
  popupPage_ += previous ? -1 : 1;
  static const DisplaySettings kDefaults;
  const DisplaySettings& display = state_.display ? *state_.display : kDefaults;
  std::u16string page = assemblePopupPage(popupFragments_, popupPage_, display);
  const uint32_t id = ++popupNotificationId_;
  popupBubble_->removeNotification(id - 1);
  popupBubble_->addNotification(id, toQString(page),
                                static_cast<int>(clampTime2Show(display.time2Show)), icon_);
}

void LexoraDialog::receiveLookupWord(uint64_t wParam, int64_t lParam) {
  // The text is read when the message arrives, while its sender still holds the clipboard.
  std::u16string text;
  if (!services_.clipboard || !services_.clipboard->readUnicodeText(text)) return;
  if (modalRunning() || !waitingHandOffs_.empty()) {
    // A dialog or menu of this program is open: the word waits until it has closed, so that
    // nothing runs inside its event loop (an edit's entry must not change under it).
    waitingHandOffs_.push_back({std::move(text), wParam, lParam});
    handOffRetry_->start();
    return;
  }
  handOff(text, wParam, lParam);
}

void LexoraDialog::runWaitingHandOffs() {
  if (modalRunning()) return;
  handOffRetry_->stop();
  std::vector<WaitingHandOff> waiting;
  waiting.swap(waitingHandOffs_);
  for (const WaitingHandOff& h : waiting) handOff(h.text, h.wParam, h.lParam);
}

void LexoraDialog::handOff(const std::u16string& text, uint64_t wParam, int64_t lParam) {
  // Nothing selected (empty or blank text): no entry, no history.
  const std::optional<std::u16string> word = handOffWord(text);
  if (!word) return;
  showInMainWindow_ = handOffShowsInMainWindow(wParam);
  const int32_t k = handOffDictionary(lParam, shownFromReverse_, working(), reverse());
  lookupWord(*word, k);
}

void LexoraDialog::quit() {
  popupBubble_->removeNotification(popupNotificationId_);
  close();
}

void LexoraDialog::closeEvent(QCloseEvent* event) {
  if (!closing_) {
    closing_ = true;
    popupBubble_->removeNotification(popupNotificationId_);
    if (services_.launcher) {
      setLookupButtonRunning(false, *services_.launcher, services_.programFolder);
    }
    delete endpoint_;  // the window can no longer be found
    endpoint_ = nullptr;
  }
  event->accept();
}

bool LexoraDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == viewer_ && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (typesCharacter(*key)) {
      // The word box takes the key as the first letter of a new word.
      forwardingKey_ = true;
      focusWordBox();
      forwardingKey_ = false;
      QKeyEvent copy(key->type(), key->key(), key->modifiers(), key->text());
      QApplication::sendEvent(wordBox(), &copy);
      return true;
    }
  }
  if (watched == wordBox()) {
    switch (event->type()) {
      case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) return true;
        break;
      }
      case QEvent::KeyRelease: {
        auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && !key->isAutoRepeat()) {
          lookupButton()->setEnabled(false);
          showFromWordBox();
          lookupButton()->setEnabled(true);
        }
        return true;  // key releases end here
      }
      case QEvent::ShortcutOverride:
        // Ctrl+D is Select Dict, not the line edit's delete of the next character.
        if (static_cast<QKeyEvent*>(event)->keyCombination() == (Qt::CTRL | Qt::Key_D)) {
          return true;
        }
        break;
      case QEvent::FocusIn:
        if (!forwardingKey_) QTimer::singleShot(0, wordBox(), &QLineEdit::selectAll);
        break;
      default:
        break;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

}  // namespace lexora
