// The main window's lookups: what a word shows (its entry, another spelling, a base form, the
// nearest entry with suggestions). With word help the answer may need a Hunspell dictionary
// or a suggestion index, so it is worked out on the window's lookup thread, which loads those
// for the working and the reverse dictionary as soon as they open; the newest lookup wins.

#include <QApplication>
#include <QLineEdit>
#include <QListView>
#include <QMetaObject>

#include "app/lookup_answer.h"
#include "app/lookup_flow.h"
#include "app/lookup_page.h"
#include "app/word_help.h"
#include "gui/main_window/lexora_dialog.h"
#include "gui/main_window/word_list_model.h"
#include "gui/widgets/html_viewer.h"
#include "platform/qt/qt_text.h"

namespace lexora {

void LexoraDialog::prepareWordHelp() {
  if (!services_.wordHelp) return;
  // Lookups go to the working and the reverse dictionary; another one's help is loaded by its
  // first miss (on the lookup thread too), so that ten dictionaries do not all fill memory.
  const auto prepare = [this](int32_t slot) {
    Dictionary* dict = dictionary(slot);
    if (dict == nullptr || !dict->isOpen()) return;
    lookups_->post([help = services_.wordHelp, dict](const std::atomic<bool>& stop) {
      if (!stop) help->prepare(*dict);
    });
  };
  prepare(working());
  if (reverse() != working()) prepare(reverse());
}

void LexoraDialog::postNewest(std::function<std::function<void()>(bool newest)> work) {
  const uint64_t generation = ++lookupGeneration_;
  ++pendingLookups_;
  lookups_->post([this, generation, work = std::move(work)](const std::atomic<bool>& stop) {
    // A newer lookup or entry was asked for meanwhile: nobody waits for this answer any more.
    std::function<void()> done = work(!stop && lookupGeneration_ == generation);
    QMetaObject::invokeMethod(
        this,
        [this, generation, done = std::move(done)] {
          --pendingLookups_;
          if (generation == lookupGeneration_ && done) done();
        },
        Qt::QueuedConnection);
  });
}

void LexoraDialog::answerInBackground(const std::u16string& word, int32_t dictionaryIndex,
                                      std::function<void(const LookupAnswer&)> show) {
  postNewest([help = services_.wordHelp, dict = dictionary(dictionaryIndex), word,
              strict = strictCompare_, show = std::move(show)](bool newest) {
    LookupAnswer answer;
    if (newest) answer = answerLookup(*dict, word, strict, help.get());
    return std::function<void()>([show, answer = std::move(answer)] { show(answer); });
  });
}

void LexoraDialog::lookupWord(const std::u16string& text, int32_t dictionaryIndex) {
  if (working() == -1) return;
  const std::u16string word = normaliseLookupWord(text);
  setWordBoxText(word);
  Dictionary* dict = dictionary(dictionaryIndex);
  // A dictionary without a word (a new one) has nothing to find: a miss, not a failure.
  if (dict && dict->isOpen() && dict->wordCount() == 0) return;
  // A tapped word shown from the other dictionary of the pair says so above its entry.
  const std::u16string shownFrom = linkNote_;
  if (dict == nullptr || !services_.wordHelp) {
    showAnswer(dict ? answerLookup(*dict, word, strictCompare_, nullptr) : LookupAnswer{},
               dictionaryIndex, shownFrom);
    return;
  }
  answerInBackground(word, dictionaryIndex,
                     [this, dictionaryIndex, shownFrom](const LookupAnswer& answer) {
                       showAnswer(answer, dictionaryIndex, shownFrom);
                     });
}

void LexoraDialog::showFromWordBox() {
  const int32_t k = working();
  Dictionary* dict = dictionary(k);
  const std::u16string typed = normaliseLookupWord(toU16String(wordBox()->text()));
  if (!dict || !services_.wordHelp || typed.empty() || dict->wordCount() == 0) {
    showSelectedRow();
    return;
  }
  // A word the dictionary does not hold is looked up like any other; with Strict Compare one
  // that has only a nearest headword opens the highlighted row, as Return does for a headword.
  answerInBackground(typed, k, [this, typed, k](const LookupAnswer& answer) {
    if (answer.searched && answer.sign != 0 && (!strictCompare_ || answer.shown)) {
      showInMainWindow_ = true;
      setWordBoxText(typed);
      showAnswer(answer, k);
      focusWordBox();
      return;
    }
    showSelectedRow();
  });
}

void LexoraDialog::showAnswer(const LookupAnswer& answer, int32_t dictionaryIndex,
                              const std::u16string& shownFrom) {
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
  if (showInMainWindow_) {
    if (isMinimized()) showNormal();
    raise();
    activateWindow();
  }
  addToHistory(answer.historyWord, dictionaryIndex);
  pageAdditions_ = pageAdditions(answer);
  pageAdditions_.shownFrom = shownFrom;
  showEntry(*answer.shown, dictionaryIndex);
}

// Strict Compare and no entry: the suggestions on a page of their own, whose links go back
// to the dictionary they came from.
void LexoraDialog::showSuggestionsOnly(const std::vector<std::u16string>& suggestions,
                                       int32_t dictionaryIndex) {
  static const DisplaySettings kDefaults;
  const DisplaySettings& display = state_.display ? *state_.display : kDefaults;
  ++lookupGeneration_;  // as showEntry
  setViewMode(kMeaningPage);
  if (showInMainWindow_) {
    viewer_->showPage(toQString(suggestionsPage(suggestions, display)));
    shownFromReverse_ = dictionaryIndex != working();
    setEditTarget(EditTarget{});  // no entry on screen, so nothing to edit
    return;
  }
  popupFragments_.clear();
  addToFragments(popupFragments_, PageAdditions{{}, {}, suggestions});
  popupPage_ = -1;
  showPopupPage(false);
  popupFromReverse_ = dictionaryIndex != working();
}

}  // namespace lexora
