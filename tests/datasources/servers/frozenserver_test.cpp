// A server that stops answering in the middle of the program's work: the
// backend of the reader's connection is stopped (SIGSTOP). The request ends
// at the reader's time limit with its message, and once the server answers
// again the same source reads as before.
#include "testservers.h"

#include "datasources/process/readerprocess.h"
#include "datasources/process/readerwait.h"
#include "fixture.h"

#include <chrono>
#include <memory>
#include <vector>

#include <signal.h>

namespace pv::test {
namespace {

// Lets a stopped process go on however the test ends, a failure included.
class Resumed {
 public:
  explicit Resumed(pid_t pid) : m_pid(pid) {}
  ~Resumed() { ::kill(m_pid, SIGCONT); }
  Resumed(const Resumed&) = delete;
  Resumed& operator=(const Resumed&) = delete;

 private:
  pid_t m_pid;
};

// Keeps when the program, waiting, would let the window handle its events.
class CountingWait : public ReaderWait {
 public:
  bool Waiting(std::chrono::milliseconds waited) override {
    waits.push_back(waited);
    return true;
  }
  std::vector<std::chrono::milliseconds> waits;
};

class TimeLimitScope {
 public:
  TimeLimitScope(int ms, std::shared_ptr<ReaderWait> wait) : m_saved(ReaderSettings()) {
    ReaderProcessSettings settings = m_saved;
    settings.timeLimitMs = ms;
    settings.wait = std::move(wait);
    SetReaderSettings(settings);
  }
  ~TimeLimitScope() { SetReaderSettings(m_saved); }

 private:
  ReaderProcessSettings m_saved;
};

using FrozenServerTest = ServerTest;
using namespace std::chrono_literals;

TEST_F(FrozenServerTest, AServerThatStopsAnsweringIsTheTimeLimitAndTheNextReadWorks) {
  const auto wait = std::make_shared<CountingWait>();
  const TimeLimitScope limit(2000, wait);
  const std::unique_ptr<SourceReader> reader = OpenDsn(kPgDsn);
  // The server process that serves this reader's connection.
  const SourceTable backend = reader->RunQuery(QStringLiteral("SELECT pg_backend_pid() AS pid"));
  ASSERT_EQ(backend.rows.size(), 1u);
  const auto pid = static_cast<pid_t>(backend.rows[0][0].toLongLong());
  ASSERT_GT(pid, 0);
  {
    const Resumed resumed(pid);
    ASSERT_EQ(::kill(pid, SIGSTOP), 0);
    wait->waits.clear();  // the query's
    try {
      reader->ReadTable(QStringLiteral("indirizzi"));
      ADD_FAILURE() << "read from a stopped server";
    } catch (const DbError& e) {
      EXPECT_EQ(e.Description(), QStringLiteral("Il lettore dell'origine dati ha superato il tempo massimo di 2 s."));
      EXPECT_EQ(e.Number(), DbErrProvider);
    }
    // The window was not frozen meanwhile: asked again and again, each time
    // a slice (50 ms) or more after the last. The message says the whole
    // time limit went by; how many slices fit in it depends on the machine.
    ASSERT_FALSE(wait->waits.empty());
    std::chrono::milliseconds last{0};
    for (const std::chrono::milliseconds waited : wait->waits) {
      EXPECT_GE(waited - last, 50ms) << waited.count() << " ms after " << last.count() << " ms";
      last = waited;
    }
  }
  // The reader program of the stopped connection is gone; a new one reads.
  EXPECT_EQ(reader->ReadTable(QStringLiteral("indirizzi")).rows.size(), static_cast<size_t>(kAddressCount));
}

}  // namespace
}  // namespace pv::test
