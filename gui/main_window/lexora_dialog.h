#pragma once
// LexoraDialog: the program's main window, titled "Lexora". A word box at the top and below it
// one of three panes: the viewer (a meaning or the home page), the word list of the working
// dictionary, or the history tree. It runs the lookup flow (search as you type, showing an
// entry in the viewer or as a popup bubble, links) and receives LOOKUP_WORD from other
// programs under its identity "Lexora".

#include <QIcon>
#include <QMainWindow>
#include <QString>
#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/dictionary_worker.h"
#include "app/edit_target.h"
#include "app/entry_commands.h"
#include "app/history.h"
#include "app/lookup_page.h"
#include "app/meaning_search_job.h"
#include "app/options.h"
#include "app/view_mode.h"
#include "gui/main_window/window_state.h"
#include "platform/window_message.h"

class QAction;
class QTimer;
class QLineEdit;
class QListView;
class QToolBar;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace lexora {

class CentralArea;
struct LookupAnswer;
class HtmlViewer;
class MeaningSearchDock;
class MenuBar;
class PopupBubble;
class WindowEndpoint;
class WordListModel;
class WordPlayer;
struct LinkChoice;

// The one message of the lookup flow's failures.
inline constexpr const char* kLookupErrorMessage =
    "Error occur. Please re-select your dictionary files or restart Lexora.";

class LexoraDialog : public QMainWindow {
  Q_OBJECT
 public:
  // The size of a first window, before it is fitted to its screen.
  static constexpr int kDefaultWindowWidth = 400;
  static constexpr int kDefaultWindowHeight = 560;

  // Builds the window and opens the installed dictionaries (see openDictionaries).
  LexoraDialog(WindowState state, WindowServices services, QWidget* parent = nullptr);
  ~LexoraDialog() override;

  // ---- The lookup flow ----
  // Normalise, search and show (nothing at all without a working dictionary). With word help
  // the answer is worked out on the lookup thread and shown when it comes, unless another
  // lookup or entry was asked for meanwhile (the newest wins).
  void lookupWord(const std::u16string& text, int32_t dictionaryIndex);
  // True while a lookup's answer is being worked out or waits to be shown, or the lookup
  // thread still prepares the word help of the open dictionaries.
  bool lookupsBusy() const { return pendingLookups_ > 0 || lookups_->busy(); }
  // Reads entry `position` of dictionary `dictionaryIndex` and shows it in the viewer
  // (showInMainWindow) or as a popup; on a failed read reports it and closes the dictionary.
  void showEntry(uint32_t position, int32_t dictionaryIndex);
  void showPopupPage(bool previous);
  // The word list's selected row in the viewer (Return, the lookup button, a tap on a row).
  void showSelectedRow();
  // Return or the magnifier: the selected row, or for a word that is no headword the lookup
  // of the typed word (its base form, or the nearest entry with suggestions).
  void showFromWordBox();
  void previousWord();
  void nextWord();
  void addToHistory(const std::u16string& word, int32_t dictionaryIndex);
  // A word tapped in a page shown from the reverse dictionary (fromReverse) or the working one:
  // looked up in the dictionary the page came from; when that one holds neither the word nor a
  // form of it but the other of the two does, it is shown from the other with a note.
  void lookupTappedWord(const std::u16string& word, bool fromReverse);
  void lookUpTappedIn(const std::u16string& word, const LinkChoice& choice);
  // LOOKUP_WORD: the word is on the clipboard, read at once. While a dialog or menu of the
  // program is open the word waits until it has closed; blank text does nothing.
  void receiveLookupWord(uint64_t wParam, int64_t lParam);
  // The message handler of the window's endpoint.
  int64_t handleWindowMessage(const WindowMessage& message);
  // Opens the installed dictionaries: the first that opens is the working one, the last the
  // reverse one; the word list follows the working dictionary.
  void openDictionaries();
  // Opens the installed dictionaries again after their list changed (the dictionaries dialog,
  // another program) with the start-up rule; with keepChosen the working and reverse
  // dictionary of the settings stay so where they open.
  void reopenDictionaries(bool keepChosen);
  // Shows the panes for `viewMode`.
  void showPanes();
  void showHomePage();
  // Switches the pane (0 meaning page, 1 home page, 2 word list, 3 history tree).
  void setViewMode(ViewMode mode);
  // A command of the menu bar or its menus.
  void runCommand(int command);
  // One of the four edit commands (kCmdAddNewWord ... kCmdModifyWord) on the working
  // dictionary and its edit target, both fixed before any editor or question opens; the word
  // list and the viewer follow the change (the home page after a delete).
  void runEntryCommand(int command);
  // "Quit": takes the popup away and closes the window.
  void quit();

  // ---- The window's state, as the rest of the program knows it ----
  // The entry of the working dictionary the edit commands act on, -1 for none: set only by an
  // entry shown in the window from the working dictionary (see app/edit_target.h).
  int32_t currentEntryIndex() const;
  ViewMode viewMode() const { return viewMode_; }
  bool showInMainWindow() const { return showInMainWindow_; }
  void setShowInMainWindow(bool on) { showInMainWindow_ = on; }
  bool shownFromReverse() const { return shownFromReverse_; }
  bool popupFromReverse() const { return popupFromReverse_; }
  bool strictCompare() const { return strictCompare_; }
  void setStrictCompare(bool on) { strictCompare_ = on; }
  const std::vector<std::u16string>& popupFragments() const { return popupFragments_; }
  int32_t popupPage() const { return popupPage_; }
  uint32_t popupNotificationId() const { return popupNotificationId_; }
  // Hand-offs that arrived while a modal dialog or menu was open and wait for it to close.
  size_t waitingHandOffs() const { return waitingHandOffs_.size(); }

  // ---- Parts ----
  QToolButton* selectDictButton() const;
  QToolButton* lookupButton() const;
  QLineEdit* wordBox() const;
  QListView* wordList() const { return wordList_; }
  WordListModel* wordListModel() const { return wordListModel_; }
  HtmlViewer* viewer() const { return viewer_; }
  WordPlayer* wordPlayer() const { return player_; }

  // Plays the shown entry's recording, or says its headword when the voice is on (the
  // speaker link and Ctrl+Shift+S).
  void speakShownEntry();
  QTreeWidget* historyTree() const { return historyTree_; }
  PopupBubble* popupBubble() const { return popupBubble_; }
  MenuBar* menuBar() const { return menuBar_; }
  // The full-text search below the panes, shown by Ctrl+F.
  MeaningSearchDock* searchDock() const { return searchDock_; }
  const QIcon& icon() const { return icon_; }
  WindowState& state() { return state_; }

  // How failures are shown; tests replace the message box.
  using ErrorReporter = std::function<void(QWidget* parent, const QString& text)>;
  void setErrorReporter(ErrorReporter reporter) { errorReporter_ = std::move(reporter); }
  // How the edit commands talk to the user: by default message boxes and the entry editor over
  // this window; tests replace them. A null argument keeps the current one.
  void setEntryDialogs(std::unique_ptr<EntryMessages> messages,
                       std::unique_ptr<EntryEditor> editor);

  // ---- Menus, options and history ----
  // The commands whose dialogs live elsewhere; an empty handler makes its command do nothing.
  // (The edit commands run in the window itself: runEntryCommand.)
  struct CommandDialogs {
    std::function<bool()> dictionaries;  // true when the dialog ended with OK
    std::function<void()> interfaceStyles;
    std::function<void()> about;
  };
  void setCommandDialogs(CommandDialogs dialogs) { dialogs_ = std::move(dialogs); }
  History& history() { return *history_; }
  Options& options() { return *options_; }
  // Hands ClearType and the text size to the viewer.
  void applyViewerOptions();
  // The "Select Dict" button: the dictionary menu, or the dictionaries dialog with none.
  void selectDictionary();
  // "Dictionary (ies)": the dialog, then the dictionaries reopened when it ended with OK.
  void runDictionariesCommand();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  // Becoming the active window: the installed list may have changed elsewhere meanwhile.
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  // How often a hand-off that waits for a modal dialog looks whether it has closed.
  static constexpr int kHandOffRetryMs = 100;

  void buildPanes();
  void connectStrip();
  void connectPopupAndHandOff();
  // Shortcuts for the commands without a key of their own, shown in the menus and tooltips,
  // and the Tab order: word box, its buttons, the bar, then the pane.
  void installKeyboardPaths();
  void buildMenuBar();
  void buildSearchDock();
  // The working dictionary alone, or every open one.
  std::vector<SearchedDictionary> searchedDictionaries(bool all);
  // Builds in the background the indexes the open dictionaries lack.
  void prepareIndexes();
  HistoryEffects historyEffects();
  MenuCommandHandlers commandHandlers();
  std::vector<std::u16string> installedTitles();
  void searchAsYouType();
  // The lookup thread (lexora_dialog_lookup.cc): loads what misses in the working and the
  // reverse dictionary need, and works out answers there.
  void prepareWordHelp();
  // Makes `work` the newest lookup: it runs on the lookup thread, told whether it is still the
  // newest, and what it returns runs on the window's thread unless a newer lookup came since.
  void postNewest(std::function<std::function<void()>(bool newest)> work);
  void answerInBackground(const std::u16string& word, int32_t dictionaryIndex,
                          std::function<void(const LookupAnswer&)> show);
  // Shows what a lookup found (the rest of lookupWord).
  // `shownFrom`: the note of a tapped word shown from the other dictionary of the pair.
  void showAnswer(const LookupAnswer& answer, int32_t dictionaryIndex,
                  const std::u16string& shownFrom = {});
  void showNeighbourWord(bool previous);
  void selectListRow(uint32_t row, bool fullyVisible);
  // The word box takes the focus with its text selected, ready for the next word.
  void focusWordBox();
  // A LOOKUP_WORD hand-off with the clipboard text read when it arrived.
  void handOff(const std::u16string& text, uint64_t wParam, int64_t lParam);
  void runWaitingHandOffs();
  // The edit commands follow the target (greyed without one).
  void setEditTarget(EditTarget target);
  void reportError();
  // "sound:NAME" and "say:" links of the page; false for any other link.
  bool playLink(const std::u16string& href);
  // The resource folder of a dictionary, with its trailing '/'; empty for none.
  std::u16string resourceFolderOf(int32_t dictionaryIndex);
  void showSuggestionsOnly(const std::vector<std::u16string>& suggestions, int32_t dictionaryIndex);
  void setWordBoxText(const std::u16string& text);
  Dictionary* dictionary(int32_t index);
  int32_t working() const { return *state_.workingDictIndex; }
  int32_t reverse() const { return *state_.reverseDictIndex; }

  struct WaitingHandOff {
    std::u16string text;
    uint64_t wParam = 0;
    int64_t lParam = 0;
  };

  WindowState state_;
  WindowServices services_;
  EditTarget editTarget_;
  ViewMode viewMode_ = kHomePage;
  bool showInMainWindow_ = true;
  bool shownFromReverse_ = false;
  bool popupFromReverse_ = false;
  bool strictCompare_ = false;
  std::vector<std::u16string> popupFragments_;
  int32_t popupPage_ = -1;
  uint32_t popupNotificationId_ = 0;
  std::vector<WaitingHandOff> waitingHandOffs_;
  QTimer* handOffRetry_;
  bool forwardingKey_ = false;
  ErrorReporter errorReporter_;
  std::unique_ptr<EntryMessages> entryMessages_;
  std::unique_ptr<EntryEditor> entryEditor_;
  QIcon icon_;
  CentralArea* central_;
  HtmlViewer* viewer_;
  QListView* wordList_;
  WordListModel* wordListModel_;
  std::unique_ptr<History> history_;  // before the tree that shows it
  QTreeWidget* historyTree_;
  MenuBar* menuBar_ = nullptr;
  MeaningSearchDock* searchDock_ = nullptr;
  PopupBubble* popupBubble_;
  WindowEndpoint* endpoint_ = nullptr;
  bool closing_ = false;
  std::unique_ptr<Options> options_;
  std::unique_ptr<ViewModeSwitch> viewSwitch_;
  CommandDialogs dialogs_;
  // The option values when the window state gives none (tests).
  uint32_t ownShowLookupButton_ = 0;
  uint32_t ownShowIndexAtStarting_ = 0;
  uint32_t speakHeadwords_ = 0;  // "SpeakHeadwords", from WindowState::speakHeadwords
  DisplaySettings ownDisplay_;
  PageAdditions pageAdditions_;  // for the next showEntry: the typed form, suggestions
  WordPlayer* player_ = nullptr;
  EditTarget pageEntry_;     // the entry the main window's page shows
  std::u16string linkNote_;  // for the next lookupWord: the tapped word's other dictionary
  // Of the newest lookup or shown entry: an answer of an older lookup is dropped. The lookup
  // thread reads it too, to skip answers nobody waits for any more (it stops before this
  // window's members go: see the destructor).
  std::atomic<uint64_t> lookupGeneration_ = 0;
  int pendingLookups_ = 0;
  // Destroyed first (see the destructor): its jobs report to this window.
  std::unique_ptr<DictionaryWorker> lookups_;
};

}  // namespace lexora
