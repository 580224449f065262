// Helpers for tests that run a probe program on a virtual X display
// (xvfb-run) and then look at the screenshots it wrote, and for the probes
// themselves.
#pragma once

#include "tests/support/pixels.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QWindow>

namespace pv::test {

// The xvfb-run program, or empty where it is not installed (tools/setup.sh
// installs it: the tests fail without it).
inline QString FindXvfbRun() { return QStandardPaths::findExecutable(QStringLiteral("xvfb-run")); }

struct ProbeResult {
  bool finished = false;
  int exitCode = -1;
  QString out;     // standard output
  QByteArray err;  // standard error
};

// Runs `probe outDir` under xvfb-run on a 1280x1024 screen with the xcb
// platform and PLAVIK_HOME set to `home`.
inline ProbeResult RunProbeOnXvfb(const QString& xvfb, const QString& probe, const QString& home, const QString& outDir,
                                  int timeoutMs) {
  QProcess p;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
  env.insert(QStringLiteral("PLAVIK_HOME"), home);
  p.setProcessEnvironment(env);
  p.start(xvfb, {QStringLiteral("-a"), QStringLiteral("-s"), QStringLiteral("-screen 0 1280x1024x24"), probe, outDir});
  ProbeResult r;
  r.finished = p.waitForFinished(timeoutMs);
  if (!r.finished) return r;
  r.out = QString::fromLocal8Bit(p.readAllStandardOutput());
  r.err = p.readAllStandardError();
  r.exitCode = p.exitCode();
  return r;
}

// In a probe: handles the events posted so far and those they post in turn
// (repaints, zero timers), without waiting for anything new.
inline void DrainEvents() {
  for (int round = 0; round < 3; ++round) {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
  }
}

// In a probe: handles events until the display has exposed `window` (false
// when it has not within timeoutMs), then until its first paint was sent.
inline bool WaitForExpose(QWindow* window, int timeoutMs = 20000) {
  if (!window) return false;
  const QDeadlineTimer deadline(timeoutMs);
  while (!window->isExposed() && !deadline.hasExpired())
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
  if (!window->isExposed()) return false;
  // The expose event painted the window; what that posted is handled too.
  DrainEvents();
  return true;
}

}  // namespace pv::test
