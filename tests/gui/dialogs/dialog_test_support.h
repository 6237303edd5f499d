#pragma once
// The widget tests' QApplication (made by the test program's main), and a way to act on the
// next modal dialog that a call opens.

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace lexora::test {

inline QApplication& testApplication() {
  return *static_cast<QApplication*>(QCoreApplication::instance());
}

// Runs `act` on the first modal widget of type T that appears (polling from the event loop
// of the dialog's exec), then stops polling.
template <typename T>
void onNextModal(std::function<void(T*)> act) {
  auto* timer = new QTimer(&testApplication());
  timer->setInterval(5);
  QObject::connect(timer, &QTimer::timeout, [timer, act] {
    if (T* widget = qobject_cast<T*>(QApplication::activeModalWidget())) {
      timer->stop();
      timer->deleteLater();
      act(widget);
    }
  });
  timer->start();
}

}  // namespace lexora::test
