#pragma once
// Helpers of the format window tests: acting on a modal dialog while it runs.

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <functional>

namespace formatstest {

// Runs `act` on the modal dialog the next call opens (once it shows). When
// no dialog opens, `act` is never called and the caller deletes the timer
// returned; *seen tells.
inline QTimer* WhenModalOpens(std::function<void(QDialog*)> act, bool* seen = nullptr) {
  if (seen) *seen = false;
  auto* timer = new QTimer;
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, act = std::move(act), seen] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr) return;
    timer->stop();
    timer->deleteLater();
    if (seen) *seen = true;
    act(dialog);
  });
  timer->start();
  return timer;
}

}  // namespace formatstest
