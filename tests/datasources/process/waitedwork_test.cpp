// Work the user waits for, waited for as a read of the reader program is:
// on a worker thread, the wait asked on the caller's thread between slices,
// the window drawn before the work starts, a cancel that stops the work.
#include "datasources/process/readerprocess.h"
#include "datasources/process/readerwait.h"
#include "datasources/process/waitedwork.h"
#include "datasources/readers/sourcereader.h"
#include "tests/support/readersettings.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

namespace pv {
namespace {

using namespace std::chrono_literals;

// A wait that records how it is asked, from which thread, and lets the work
// go on (`release`) or cancels at its call number `cancelAt` (0: never).
class RecordingWait : public ReaderWait {
 public:
  bool Waiting(std::chrono::milliseconds waited) override {
    waits.push_back(waited);
    threads.push_back(std::this_thread::get_id());
    if (waits.size() == releaseAt) release = true;
    return cancelAt == 0 || waits.size() < cancelAt;
  }
  void Ended() override { ++ended; }
  void Repaint() override {
    ++repaints;
    if (repaints == 1) repaintedBeforeTheWork = !started;
  }

  std::vector<std::chrono::milliseconds> waits;
  std::vector<std::thread::id> threads;
  int ended = 0;
  int repaints = 0;
  bool repaintedBeforeTheWork = false;
  size_t releaseAt = 3;
  size_t cancelAt = 0;
  std::atomic<bool> started{false};
  std::atomic<bool> release{false};
};

// Work that runs until the wait releases it, or until it is interrupted.
class HeldWork {
 public:
  explicit HeldWork(RecordingWait& wait) : m_wait(wait) {}
  void operator()() {
    thread = std::this_thread::get_id();
    m_wait.started = true;
    while (!m_wait.release && !interrupted) std::this_thread::sleep_for(1ms);
  }
  std::atomic<bool> interrupted{false};
  std::thread::id thread;

 private:
  RecordingWait& m_wait;
};

TEST(WaitedWorkTest, WithoutAWaitTheWorkRunsHere) {
  std::thread::id ran;
  RunWaited([&] { ran = std::this_thread::get_id(); }, [] { ADD_FAILURE() << "interrupted"; });
  EXPECT_EQ(ran, std::this_thread::get_id());
  EXPECT_THROW(RunWaited([] { throw DbError(DbErrArguments, QStringLiteral("no")); }, [] {}), DbError);
}

TEST(WaitedWorkTest, TheWorkRunsApartWhileTheCallerAsksTheWait) {
  const auto wait = std::make_shared<RecordingWait>();
  const ::testing::ReaderSettingsScope scope(::testing::WithWait(wait));
  HeldWork work(*wait);
  RunWaited([&] { work(); }, [&] { work.interrupted = true; });
  EXPECT_FALSE(work.interrupted);
  EXPECT_NE(work.thread, std::this_thread::get_id());
  ASSERT_GE(wait->waits.size(), 3u);
  for (const std::thread::id& t : wait->threads) EXPECT_EQ(t, std::this_thread::get_id());
  EXPECT_TRUE(std::is_sorted(wait->waits.begin(), wait->waits.end()));
  EXPECT_TRUE(wait->repaintedBeforeTheWork);
  EXPECT_GE(wait->repaints, 3);
  EXPECT_EQ(wait->ended, 1);

  // The work's own failure comes through as it is.
  wait->waits.clear();
  try {
    RunWaited([] { throw DbError(DbErrArguments, QStringLiteral("Ordinamento non valido.")); }, [] {});
    ADD_FAILURE() << "no failure";
  } catch (const DbError& e) {
    EXPECT_EQ(e.Number(), DbErrArguments);
    EXPECT_EQ(e.Description(), QStringLiteral("Ordinamento non valido."));
  }
  EXPECT_EQ(wait->ended, 2);
}

TEST(WaitedWorkTest, ACancelInterruptsTheWorkAndIsTheUsersChoice) {
  const auto wait = std::make_shared<RecordingWait>();
  wait->releaseAt = 0;
  wait->cancelAt = 2;
  const ::testing::ReaderSettingsScope scope(::testing::WithWait(wait));
  HeldWork work(*wait);
  try {
    // The work's own failure, once interrupted, is not what the caller hears.
    RunWaited(
        [&] {
          work();
          throw std::runtime_error("interrupted");
        },
        [&] { work.interrupted = true; });
    ADD_FAILURE() << "no failure";
  } catch (const DbError& e) {
    EXPECT_EQ(e.Number(), DbErrCancelled);
    EXPECT_EQ(e.Description(), ReaderCancelledText());
  }
  EXPECT_TRUE(work.interrupted);
  EXPECT_EQ(wait->waits.size(), 2u);
  EXPECT_EQ(wait->ended, 1);
}

// The window's notice: shown once the work has gone on past its delay, as
// for a read, and hidden at its end; before that only repaints.
class CountingNotice : public WaitNotice {
 public:
  struct Counts {
    int shown = 0, hidden = 0, handled = 0, repaints = 0;
  };
  explicit CountingNotice(Counts& counts) : m_counts(counts) {}
  void Show() override { ++m_counts.shown; }
  void Hide() override { ++m_counts.hidden; }
  bool Cancelled() override { return ++m_counts.handled >= 3; }
  void Repaint() override { ++m_counts.repaints; }

 private:
  Counts& m_counts;
};

TEST(WaitedWorkTest, TheReadersNoticeShowsForLongWorkAndItsAnnullaCancels) {
  CountingNotice::Counts counts;
  const auto wait = std::make_shared<NoticeReaderWait>(std::make_unique<CountingNotice>(counts), 100ms);
  const ::testing::ReaderSettingsScope scope(::testing::WithWait(wait));
  std::atomic<bool> interrupted{false};
  EXPECT_THROW(RunWaited(
                   [&] {
                     while (!interrupted) std::this_thread::sleep_for(1ms);
                   },
                   [&] { interrupted = true; }),
               DbError);
  EXPECT_EQ(counts.shown, 1);
  EXPECT_EQ(counts.handled, 3);
  EXPECT_EQ(counts.hidden, 1);
  // Repainted before the work and until the notice showed, not after.
  EXPECT_GE(counts.repaints, 2);
  const int repaints = counts.repaints;
  EXPECT_FALSE(wait->Shown());
  wait->Repaint();
  EXPECT_EQ(counts.repaints, repaints + 1);
}

}  // namespace
}  // namespace pv
