#include "printing/pageworkers.h"

#include "platform/helperprogram.h"
#include "platform/programfolder.h"

#include <QFile>
#include <QThread>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace pv {
namespace {

int g_limit = 0;

// The environment of a worker: the program's, drawing with no window, and
// reading the program's own files from the program's folder wherever the
// worker itself lies.
QList<QByteArray> WorkerEnvironment() {
  QList<QByteArray> env;
  bool home = false;
  for (char** e = environ; *e != nullptr; ++e) {
    const QByteArray entry(*e);
    if (entry.startsWith("QT_QPA_PLATFORM=")) continue;
    home = home || entry.startsWith("PLAVIK_HOME=");
    env << entry;
  }
  env << QByteArray("QT_QPA_PLATFORM=offscreen");
  if (!home) env << "PLAVIK_HOME=" + QFile::encodeName(ProgramFolder());
  return env;
}

struct Worker {
  const PagePart* part = nullptr;
  pid_t pid = -1;
  int fd = -1;
  int drawn = 0;
  bool failing = false;  // "!" came: the rest is the reason
  QByteArray reason;
};

// Closes the worker's output and waits for it to end (ended at once when
// `kill`); false when there was no worker to wait for.
bool Reap(Worker& w, bool kill, int* status) {
  if (w.fd >= 0) ::close(w.fd);
  w.fd = -1;
  pid_t got = -1;
  if (w.pid > 0) {
    if (kill) ::kill(w.pid, SIGKILL);
    while ((got = ::waitpid(w.pid, status, 0)) < 0 && errno == EINTR) {
    }
  }
  w.pid = -1;
  return got > 0;
}

// Waits for a worker whose output ended; true when it wrote its part.
bool Finished(Worker& w, QString* reason) {
  int status = 0;
  const bool reaped = Reap(w, false, &status);
  const bool whole = w.drawn == w.part->Last - w.part->First + 1;
  if (reaped && WIFEXITED(status) && WEXITSTATUS(status) == 0 && !w.failing && whole) return true;
  if (w.failing) {
    *reason = QString::fromUtf8(w.reason);
  } else if (reaped && WIFSIGNALED(status)) {
    *reason = QStringLiteral("La stampa delle pagine da %1 a %2 si è interrotta (segnale %3).")
                  .arg(w.part->First)
                  .arg(w.part->Last)
                  .arg(WTERMSIG(status));
  } else {
    *reason = QStringLiteral("La stampa delle pagine da %1 a %2 si è interrotta.").arg(w.part->First).arg(w.part->Last);
  }
  return false;
}

}  // namespace

int PageWorkerCount(std::int32_t pages) {
  int workers = std::max(1, QThread::idealThreadCount());
  if (g_limit > 0) workers = std::min(workers, g_limit);
  return int(std::min<std::int32_t>(workers, pages / MinPagesPerWorker));
}

int SetPageWorkerLimit(int limit) { return std::exchange(g_limit, std::max(0, limit)); }

QString PageWorkerProgram() {
  return FindHelperProgram(QStringLiteral("plavik-pages"), QStringLiteral(PLAVIK_PAGES_DIR));
}

std::vector<PagePart> SplitPages(std::int32_t pages, int workers, const QString& folder) {
  std::vector<PagePart> parts;
  if (workers < 1 || pages < 1) return parts;
  workers = int(std::min<std::int32_t>(workers, pages));
  std::int32_t next = 1;
  for (int i = 0; i < workers; ++i) {
    const std::int32_t count = pages / workers + (i < pages % workers ? 1 : 0);
    parts.push_back(PagePart{next, next + count - 1, folder + QStringLiteral("/part%1.pdf").arg(i + 1)});
    next += count;
  }
  return parts;
}

WorkersOutcome RunPageWorkers(const QString& program, const QString& jobFile, const std::vector<PagePart>& parts,
                              const std::function<void(int drawn)>& progress, QString* reason) {
  std::vector<Worker> workers(parts.size());
  const auto endAll = [&] {
    int status = 0;
    for (Worker& w : workers) Reap(w, true, &status);
  };
  // Every worker is started, or none is left running.
  const QList<QByteArray> env = WorkerEnvironment();
  const int nullInput = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
  bool started = nullInput >= 0;
  for (std::size_t i = 0; started && i < parts.size(); ++i) {
    Worker& w = workers[i];
    w.part = &parts[i];
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) {
      started = false;
      break;
    }
    const QList<QByteArray> args{QFile::encodeName(jobFile), QByteArray::number(parts[i].First),
                                 QByteArray::number(parts[i].Last), QFile::encodeName(parts[i].File)};
    int error = 0;
    w.pid = StartHelperProgram(program, args, nullInput, ends[1], env, &error);
    ::close(ends[1]);
    w.fd = ends[0];
    started = w.pid > 0;
  }
  if (nullInput >= 0) ::close(nullInput);
  if (!started) {
    endAll();
    return WorkersOutcome::NotStarted;
  }

  // Until every worker's output has ended.
  int drawn = 0;
  for (;;) {
    std::vector<pollfd> ready;
    std::vector<Worker*> of;
    for (Worker& w : workers) {
      if (w.fd < 0) continue;
      ready.push_back(pollfd{w.fd, POLLIN, 0});
      of.push_back(&w);
    }
    if (ready.empty()) break;
    if (::poll(ready.data(), ready.size(), -1) < 0) {
      if (errno == EINTR) continue;
      *reason = QString::fromLocal8Bit(std::strerror(errno));
      endAll();
      return WorkersOutcome::Failed;
    }
    bool grew = false;
    for (std::size_t i = 0; i < ready.size(); ++i) {
      if (ready[i].revents == 0) continue;
      Worker& w = *of[i];
      char buffer[4096];
      const ssize_t got = ::read(w.fd, buffer, sizeof buffer);
      if (got < 0 && errno == EINTR) continue;
      if (got > 0) {
        for (ssize_t k = 0; k < got; ++k) {
          if (w.failing) {
            w.reason.append(buffer[k]);
          } else if (buffer[k] == '!') {
            w.failing = true;
          } else if (buffer[k] == '.') {
            ++w.drawn;
            ++drawn;
            grew = true;
          }
        }
        continue;
      }
      if (!Finished(w, reason)) {
        endAll();
        return WorkersOutcome::Failed;
      }
    }
    if (grew && progress) progress(drawn);
  }
  return WorkersOutcome::Done;
}

}  // namespace pv
