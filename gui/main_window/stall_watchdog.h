#pragma once
// Debug builds: watches the event loop of the thread it lives on and reports on the error
// output every time it was held longer than the limit (50 ms by default), so that work which
// belongs on a worker thread shows up while developing.
//
// A timer ticks every few milliseconds; a tick that comes later than the limit past the one
// before means the loop was busy in between.

#include <QElapsedTimer>
#include <QObject>
#include <functional>

class QTimer;

namespace lexora {

class StallWatchdog : public QObject {
  Q_OBJECT
 public:
  // report(milliseconds) is called for each stall; by default it writes a warning.
  explicit StallWatchdog(QObject* parent, int limitMs = 50,
                         std::function<void(qint64 ms)> report = {});

  int stallCount() const { return stalls_; }

 private:
  void tick();

  QTimer* timer_;
  QElapsedTimer clock_;
  qint64 lastTick_ = 0;
  int limitMs_;
  int stalls_ = 0;
  std::function<void(qint64)> report_;
};

}  // namespace lexora
