#pragma once
// The window's full-text search: a field for words of the meanings, the choice between the
// working dictionary and all open ones, and the matches as a list of headwords with the line
// that holds the words. A tap on a match asks for its entry (entryChosen).
//
// Searches run on a worker thread (app/dictionary_worker.h) with a busy bar and a "Cancel"
// button; a new search or cancel() drops what the last one still reports. The same dock shows
// the progress of the full-text indexes built in the background.

#include <QDockWidget>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/dictionary_worker.h"
#include "app/meaning_search_job.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QTimer;
class QToolButton;

namespace lexora {

class MeaningSearchDock : public QDockWidget {
  Q_OBJECT
 public:
  // dictionaries(all): the working dictionary alone, or every open one, with their titles.
  struct Source {
    std::function<std::vector<SearchedDictionary>(bool all)> dictionaries;
    std::function<QString(int32_t slot)> title;
    std::string keptIndexFolder;  // see prepareDerivedIndexes
  };
  MeaningSearchDock(Source source, QWidget* parent);
  ~MeaningSearchDock() override;

  QLineEdit* searchBox() const { return searchBox_; }
  QComboBox* scopeBox() const { return scope_; }
  QListWidget* results() const { return results_; }
  QProgressBar* progressBar() const { return progress_; }
  bool searching() const { return running_; }
  // True while a search or an index build runs or waits.
  bool busy() const { return searcher_->busy() || indexer_->busy(); }

  // Searches for the box's text now (typing waits for a pause first).
  void search();
  // Stops the running search and forgets its results (the dictionaries are about to change).
  void cancel();
  // Builds, in the background, the indexes the open dictionaries lack.
  void prepareIndexes(const std::vector<SearchedDictionary>& dictionaries);

 signals:
  void entryChosen(int32_t slot, uint32_t position);
  void searchFinished();

 private:
  void showHits(uint64_t generation);
  void finish(uint64_t generation, const QString& failure);
  void setRunning(bool running);

  Source source_;
  QLineEdit* searchBox_;
  QComboBox* scope_;
  QToolButton* cancelButton_;
  QProgressBar* progress_;
  QLabel* status_;
  QListWidget* results_;
  QTimer* pause_;
  uint64_t generation_ = 0;  // of the newest search; older ones' reports are dropped
  bool running_ = false;
  int32_t lastSlot_ = -1;  // the slot of the last match listed, for the titles
  std::shared_ptr<struct PendingHits> pending_;
  // Destroyed first: their jobs may still report to the members above.
  std::unique_ptr<DictionaryWorker> searcher_;
  std::unique_ptr<DictionaryWorker> indexer_;
};

}  // namespace lexora
