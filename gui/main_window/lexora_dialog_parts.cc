// The main window's parts and their connections: the panes below the strip, the strip's
// buttons, the popup and the hand-off endpoint, the keys that reach every command, and the
// lookup of a word tapped in a page.

#include <QAbstractScrollArea>
#include <QAction>
#include <QKeySequence>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QShortcut>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include "app/home_page.h"
#include "app/link_lookup.h"
#include "app/lookup_flow.h"
#include "app/menu_commands.h"
#include "gui/main_window/central_area.h"
#include "gui/main_window/history_tree.h"
#include "gui/main_window/lexora_dialog.h"
#include "gui/main_window/menu_bar.h"
#include "gui/main_window/popup_bubble.h"
#include "gui/main_window/word_list_model.h"
#include "gui/widgets/html_viewer.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/window_endpoint.h"
#include "platform/window_identity.h"
#include "render/popup_page.h"

namespace lexora {

void LexoraDialog::buildPanes() {
  // The viewer, with the text size and ClearType of the display settings. A character typed
  // while it has the focus goes to the word box.
  viewer_ = new HtmlViewer(central_);
  viewer_->setObjectName(QStringLiteral("viewer"));
  viewer_->setFrameShape(QFrame::NoFrame);
  viewer_->installEventFilter(this);
  if (state_.display) {
    viewer_->setZoomLevel(static_cast<int>(state_.display->textSize));
    viewer_->setClearType(state_.display->useClearType != 0);
  }
  connect(viewer_, &HtmlViewer::linkTapped, this, [this](const QString& href) {
    if (playLink(toU16String(href))) return;
    if (isDictionaryHelpLink(toU16String(href))) {
      if (services_.showDictionaryHelp) services_.showDictionaryHelp();
      return;
    }
    showInMainWindow_ = true;
    lookupTappedWord(toU16String(href), shownFromReverse_);
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

  central_->setPanes({viewer_, wordList_, historyTree_});
  setCentralWidget(central_);
}

void LexoraDialog::connectStrip() {
  connect(selectDictButton(), &QToolButton::clicked, this, [this] { selectDictionary(); });
  connect(static_cast<HistoryTree*>(historyTree_), &HistoryTree::wordTapped, this,
          [this](const QString& root, const QString& word) {
            history_->tapWord(toU16String(root), toU16String(word), installedTitles());
          });
  connect(lookupButton(), &QToolButton::clicked, this, [this] {
    lookupButton()->setEnabled(false);
    showFromWordBox();
    lookupButton()->setEnabled(true);
  });
}

void LexoraDialog::connectPopupAndHandOff() {
  connect(popupBubble_, &PopupBubble::commandSent, this, [this](int command) {
    if (command == kPopupPrevCommand) showPopupPage(true);
    if (command == kPopupNextCommand) showPopupPage(false);
  });
  connect(popupBubble_, &PopupBubble::linkTapped, this,
          [this](const QString& word) { lookupTappedWord(toU16String(word), popupFromReverse_); });

  handOffRetry_->setInterval(kHandOffRetryMs);
  connect(handOffRetry_, &QTimer::timeout, this, [this] { runWaitingHandOffs(); });
  if (services_.listenForHandOff) {
    endpoint_ = new WindowEndpoint(
        mainWindowIdentity(), [this](const WindowMessage& m) { return handleWindowMessage(m); },
        this);
    endpoint_->listen();
  }
}

void LexoraDialog::lookupTappedWord(const std::u16string& word, bool fromReverse) {
  if (working() == -1) return;
  const int32_t searched = linkDictionary(fromReverse, working(), reverse());
  const int32_t other = searched == working() ? reverse() : working();
  const LinkTarget inSearched{dictionary(searched), searched};
  const LinkTarget inOther{dictionary(other), other};
  const std::u16string normalised = normaliseLookupWord(word);
  if (!services_.wordHelp) {
    lookUpTappedIn(word, chooseLinkDictionary(inSearched, inOther, normalised, nullptr));
    return;
  }
  // Which dictionary holds the word may take word help (a Hunspell dictionary, used on the
  // lookup thread only): it is chosen there too, and the newest lookup still wins.
  postNewest([this, inSearched, inOther, normalised, word, help = services_.wordHelp](bool newest) {
    LinkChoice choice;
    choice.dictionary = inSearched.index;
    if (newest) choice = chooseLinkDictionary(inSearched, inOther, normalised, help.get());
    return std::function<void()>([this, word, choice] { lookUpTappedIn(word, choice); });
  });
}

void LexoraDialog::lookUpTappedIn(const std::u16string& word, const LinkChoice& choice) {
  if (choice.fromOther) linkNote_ = choice.note;
  lookupWord(word, choice.dictionary);
  linkNote_.clear();
}

void LexoraDialog::installKeyboardPaths() {
  auto shortcut = [this](QKeySequence keys, auto slot) {
    auto* s = new QShortcut(keys, this);
    s->setContext(Qt::WindowShortcut);
    connect(s, &QShortcut::activated, this, slot);
    return s;
  };
  shortcut(QKeySequence(Qt::CTRL | Qt::Key_L), [this] { focusWordBox(); });
  shortcut(QKeySequence(Qt::Key_F3), [this] { lookupButton()->click(); });
  shortcut(QKeySequence(Qt::CTRL | Qt::Key_D), [this] { selectDictButton()->click(); });
  for (const auto& [command, key] : {std::pair{kCmdOptionsMenu, Qt::ALT | Qt::Key_O},
                                     std::pair{kCmdEditMenu, Qt::ALT | Qt::Key_E}}) {
    shortcut(QKeySequence(key), [this, command = command] {
      if (QToolButton* b = menuBar_->button(command)) b->showMenu();
    });
  }
  menuBar_->setShortcuts({{kCmdShowMeaning, QKeySequence(Qt::CTRL | Qt::Key_1)},
                          {kCmdShowWordList, QKeySequence(Qt::CTRL | Qt::Key_2)},
                          {kCmdShowHistory, QKeySequence(Qt::CTRL | Qt::Key_3)},
                          {kCmdPreviousWord, QKeySequence(Qt::ALT | Qt::Key_Up)},
                          {kCmdNextWord, QKeySequence(Qt::ALT | Qt::Key_Down)},
                          {kCmdHistoryBack, QKeySequence(Qt::ALT | Qt::Key_Left)},
                          {kCmdHistoryForward, QKeySequence(Qt::ALT | Qt::Key_Right)},
                          {kCmdDictionaries, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D)},
                          {kCmdQuit, QKeySequence(Qt::CTRL | Qt::Key_Q)}});
  // The menus' items work from anywhere in the window, not only while their menu is open.
  for (int command : {kCmdDictionaries, kCmdQuit}) addAction(menuBar_->action(command));
  selectDictButton()->setToolTip(QStringLiteral("Select Dict (Ctrl+D)"));
  lookupButton()->setToolTip(QStringLiteral("Look up (F3)"));
  wordBox()->setToolTip(QStringLiteral("Word (Ctrl+L)"));

  // Tab: the word box, its two buttons, the bar's buttons, and only then the pane with the
  // page's links.
  QList<QWidget*> order{wordBox(), lookupButton(), selectDictButton()};
  for (int command : MenuBar::kButtonCommands) {
    if (QToolButton* b = command != 0 ? menuBar_->button(command) : nullptr) order << b;
  }
  order << viewer_ << wordList_ << historyTree_;
  for (QWidget* w : order) {
    if (w != wordBox() && !qobject_cast<QAbstractScrollArea*>(w)) w->setFocusPolicy(Qt::TabFocus);
  }
  for (qsizetype k = 1; k < order.size(); ++k) setTabOrder(order[k - 1], order[k]);
}

}  // namespace lexora
