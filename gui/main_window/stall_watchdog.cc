#include "gui/main_window/stall_watchdog.h"

#include <QTimer>
#include <QtGlobal>

namespace lexora {
namespace {

constexpr int kTickMs = 10;

}  // namespace

StallWatchdog::StallWatchdog(QObject* parent, int limitMs, std::function<void(qint64)> report)
    : QObject(parent), timer_(new QTimer(this)), limitMs_(limitMs), report_(std::move(report)) {
  if (!report_) {
    report_ = [](qint64 ms) {
      qWarning("lexora: the event loop was held for %lld ms", static_cast<long long>(ms));
    };
  }
  timer_->setTimerType(Qt::PreciseTimer);
  timer_->setInterval(kTickMs);
  connect(timer_, &QTimer::timeout, this, &StallWatchdog::tick);
  clock_.start();
  timer_->start();
}

void StallWatchdog::tick() {
  const qint64 now = clock_.elapsed();
  const qint64 held = now - lastTick_ - kTickMs;
  lastTick_ = now;
  if (held <= limitMs_) return;
  ++stalls_;
  report_(held);
}

}  // namespace lexora
