#include "datasources/process/waitedwork.h"

#include "datasources/process/readerprocess.h"
#include "datasources/process/readerwait.h"
#include "datasources/readers/sourcereader.h"

#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>

namespace pv {

namespace {

// As the reader's wait goes (readerchild.cpp).
constexpr auto kWaitSlice = std::chrono::milliseconds(50);

}  // namespace

void RunWaited(const std::function<void()>& work, const std::function<void()>& interrupt) {
  const std::shared_ptr<ReaderWait> wait = ReaderSettings().wait;
  if (!wait) {
    work();
    return;
  }
  std::mutex mutex;
  std::condition_variable ended;
  bool done = false;
  std::exception_ptr failure;
  // The window is drawn again before the work starts: a dialog just closed
  // is not left on it.
  wait->Repaint();
  std::thread worker([&] {
    try {
      work();
    } catch (...) {
      failure = std::current_exception();
    }
    const std::lock_guard lock(mutex);
    done = true;
    ended.notify_one();
  });

  const auto start = std::chrono::steady_clock::now();
  bool cancelled = false;
  std::exception_ptr waitFailure;
  std::unique_lock lock(mutex);
  while (!ended.wait_for(lock, kWaitSlice, [&] { return done; })) {
    lock.unlock();
    if (!cancelled) {
      try {
        wait->Repaint();
        const auto waited =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
        cancelled = !wait->Waiting(waited);
      } catch (...) {
        // The work is ended before the wait's failure goes on.
        waitFailure = std::current_exception();
        cancelled = true;
      }
    }
    if (cancelled) {
      try {
        interrupt();
      } catch (...) {
        // Nothing to stop: the work ends by itself.
      }
    }
    lock.lock();
  }
  lock.unlock();
  worker.join();
  wait->Ended();
  if (waitFailure) std::rethrow_exception(waitFailure);
  if (cancelled) throw DbError(DbErrCancelled, ReaderCancelledText());
  if (failure) std::rethrow_exception(failure);
}

}  // namespace pv
