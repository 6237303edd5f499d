#include "gui/main_window/meaning_search_dock.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMetaObject>
#include <QProgressBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <mutex>

#include "util/status.h"

namespace lexora {

// Matches found on the worker and not yet listed. The worker asks for one listing at a time.
struct PendingHits {
  std::mutex mutex;
  std::vector<MeaningHit> hits;
  bool listingAsked = false;
};

namespace {

// Pause after the last keystroke before a search starts.
constexpr int kTypingPauseMs = 250;
// Rows listed per turn of the event loop, so that a long list never holds it.
constexpr size_t kRowsPerTurn = 200;
constexpr int kMostRows = 5000;
constexpr int kSlotRole = Qt::UserRole;
constexpr int kPositionRole = Qt::UserRole + 1;

}  // namespace

MeaningSearchDock::MeaningSearchDock(Source source, QWidget* parent)
    : QDockWidget(tr("Search meanings"), parent),
      source_(std::move(source)),
      searchBox_(new QLineEdit),
      scope_(new QComboBox),
      cancelButton_(new QToolButton),
      progress_(new QProgressBar),
      status_(new QLabel),
      results_(new QListWidget),
      pause_(new QTimer(this)),
      searcher_(std::make_unique<DictionaryWorker>()),
      indexer_(std::make_unique<DictionaryWorker>(DictionaryWorker::Priority::Background)) {
  setObjectName(QStringLiteral("meaningSearchDock"));
  searchBox_->setObjectName(QStringLiteral("meaningSearchBox"));
  searchBox_->setPlaceholderText(tr("Words in the meanings"));
  searchBox_->setClearButtonEnabled(true);
  scope_->setObjectName(QStringLiteral("meaningSearchScope"));
  scope_->addItems({tr("This dictionary"), tr("All dictionaries")});
  cancelButton_->setText(tr("Cancel"));
  cancelButton_->setVisible(false);
  progress_->setObjectName(QStringLiteral("meaningSearchProgress"));
  progress_->setRange(0, 0);  // busy
  progress_->setMaximumHeight(6);
  progress_->setTextVisible(false);
  progress_->setVisible(false);
  status_->setObjectName(QStringLiteral("meaningSearchStatus"));
  status_->setTextFormat(Qt::PlainText);  // a failure names a dictionary's file
  results_->setObjectName(QStringLiteral("meaningSearchResults"));
  results_->setUniformItemSizes(true);

  auto* row = new QHBoxLayout;
  row->addWidget(searchBox_, 1);
  row->addWidget(scope_);
  row->addWidget(cancelButton_);
  auto* body = new QWidget;
  auto* column = new QVBoxLayout(body);
  column->setContentsMargins(4, 4, 4, 4);
  column->addLayout(row);
  column->addWidget(progress_);
  column->addWidget(status_);
  column->addWidget(results_, 1);
  setWidget(body);

  pause_->setSingleShot(true);
  pause_->setInterval(kTypingPauseMs);
  connect(pause_, &QTimer::timeout, this, [this] { search(); });
  connect(searchBox_, &QLineEdit::textEdited, this, [this] { pause_->start(); });
  connect(searchBox_, &QLineEdit::returnPressed, this, [this] { search(); });
  connect(scope_, &QComboBox::currentIndexChanged, this, [this] { search(); });
  connect(cancelButton_, &QToolButton::clicked, this, [this] {
    searcher_->cancel();
    ++generation_;
    setRunning(false);
    status_->setText(tr("Cancelled"));
  });
  connect(results_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
    if (item->data(kSlotRole).isValid()) {
      emit entryChosen(item->data(kSlotRole).toInt(), item->data(kPositionRole).toUInt());
    }
  });
  connect(results_, &QListWidget::itemClicked, results_, &QListWidget::itemActivated);
}

MeaningSearchDock::~MeaningSearchDock() {
  // The workers' jobs report to this dock: they end before anything else goes.
  indexer_.reset();
  searcher_.reset();
}

void MeaningSearchDock::setRunning(bool running) {
  running_ = running;
  progress_->setVisible(running);
  cancelButton_->setVisible(running);
}

void MeaningSearchDock::cancel() {
  searcher_->cancel();
  ++generation_;
  setRunning(false);
  results_->clear();
  status_->clear();
}

void MeaningSearchDock::search() {
  pause_->stop();
  searcher_->cancel();
  const uint64_t generation = ++generation_;
  results_->clear();
  lastSlot_ = -1;
  const std::u16string text = searchBox_->text().trimmed().toStdU16String();
  if (text.empty()) {
    setRunning(false);
    status_->clear();
    return;
  }
  auto pending = std::make_shared<PendingHits>();
  pending_ = pending;
  const std::vector<SearchedDictionary> dictionaries =
      source_.dictionaries ? source_.dictionaries(scope_->currentIndex() == 1)
                           : std::vector<SearchedDictionary>{};
  setRunning(true);
  status_->setText(tr("Searching…"));
  searcher_->post([this, pending, generation, text, dictionaries](const std::atomic<bool>& stop) {
    const auto askListing = [&] {
      QMetaObject::invokeMethod(
          this, [this, generation] { showHits(generation); }, Qt::QueuedConnection);
    };
    const Status s = searchMeanings(text, dictionaries, stop, [&](const MeaningHit& hit) {
      const std::lock_guard<std::mutex> hold(pending->mutex);
      pending->hits.push_back(hit);
      if (!pending->listingAsked) {
        pending->listingAsked = true;
        askListing();
      }
    });
    const QString failure = s.isOk() ? QString() : QString::fromStdString(s.message());
    QMetaObject::invokeMethod(
        this, [this, generation, failure] { finish(generation, failure); }, Qt::QueuedConnection);
  });
}

void MeaningSearchDock::showHits(uint64_t generation) {
  if (generation != generation_ || !pending_) return;
  std::vector<MeaningHit> hits;
  {
    const std::lock_guard<std::mutex> hold(pending_->mutex);
    const size_t n = std::min(kRowsPerTurn, pending_->hits.size());
    hits.assign(std::make_move_iterator(pending_->hits.begin()),
                std::make_move_iterator(pending_->hits.begin() + static_cast<ptrdiff_t>(n)));
    pending_->hits.erase(pending_->hits.begin(),
                         pending_->hits.begin() + static_cast<ptrdiff_t>(n));
    pending_->listingAsked = !pending_->hits.empty();
  }
  const bool all = scope_->currentIndex() == 1;
  for (const MeaningHit& hit : hits) {
    if (results_->count() >= kMostRows) break;
    if (all && hit.slot != lastSlot_ && source_.title) {
      auto* heading = new QListWidgetItem(source_.title(hit.slot), results_);
      heading->setFlags(Qt::NoItemFlags);
      QFont bold = heading->font();
      bold.setBold(true);
      heading->setFont(bold);
    }
    lastSlot_ = hit.slot;
    auto* item = new QListWidgetItem(QString::fromStdU16String(hit.headword) +
                                         QStringLiteral(": ") + QString::fromStdU16String(hit.line),
                                     results_);
    item->setData(kSlotRole, hit.slot);
    item->setData(kPositionRole, hit.position);
  }
  if (pending_->listingAsked) {
    QTimer::singleShot(0, this, [this, generation] { showHits(generation); });
  }
}

void MeaningSearchDock::finish(uint64_t generation, const QString& failure) {
  if (generation != generation_) return;
  showHits(generation);
  setRunning(false);
  if (!failure.isEmpty()) {
    status_->setText(failure);
  } else if (results_->count() == 0) {
    status_->setText(tr("Not found"));
  } else {
    status_->clear();
  }
  emit searchFinished();
}

void MeaningSearchDock::prepareIndexes(const std::vector<SearchedDictionary>& dictionaries) {
  indexer_->cancel();
  indexer_->post([this, dictionaries](const std::atomic<bool>& stop) {
    int lastPercent = -1;
    prepareDerivedIndexes(
        dictionaries, source_.keptIndexFolder, stop,
        [&](int32_t slot, uint32_t done, uint32_t total) {
          const int percent = total == 0 ? 100 : static_cast<int>(uint64_t{done} * 100 / total);
          if (percent == lastPercent) return;
          lastPercent = percent;
          QMetaObject::invokeMethod(
              this,
              [this, slot, percent] {
                if (running_) return;
                status_->setText(percent >= 100
                                     ? QString()
                                     : tr("Indexing %1… %2%")
                                           .arg(source_.title ? source_.title(slot) : QString())
                                           .arg(percent));
              },
              Qt::QueuedConnection);
        });
  });
}

}  // namespace lexora
