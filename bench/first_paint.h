#pragma once

// For the start-up probes: ends the program once a window has been painted
// for the first time, and fails it (exit code 3) should that not happen
// within ten seconds.

#include <QCoreApplication>
#include <QEvent>
#include <QMetaObject>
#include <QObject>
#include <QTimer>
#include <QWidget>

namespace marvane::bench {

class QuitAfterFirstPaint : public QObject {
 public:
  explicit QuitAfterFirstPaint(QWidget* window) : QObject(window) {
    window->installEventFilter(this);
    QTimer::singleShot(10000, qApp, [] { QCoreApplication::exit(3); });
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      watched->removeEventFilter(this);
      // After this paint has been delivered.
      QMetaObject::invokeMethod(qApp, [] { QCoreApplication::quit(); }, Qt::QueuedConnection);
    }
    return false;
  }
};

}  // namespace marvane::bench
