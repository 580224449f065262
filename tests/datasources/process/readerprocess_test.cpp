// The reader program seen from the program: what it reads arrives value for
// value as the reader in this process reads it, and a reader that crashes,
// hangs, runs out of memory or sends a damaged stream is a DbError with the
// reason, reaped, and the program reads the next source as before.
#include "datasources/process/readerprocess.h"
#include "datasources/process/readerwait.h"
#include "datasources/readers/sourcereader.h"
#include "everyvalue.h"
#include "readerfixture.h"
#include "tests/support/jetwriter.h"
#include "tests/support/faultyreader.h"

#include <shapefil.h>

#include <QDate>
#include <QDateTime>
#include <QFile>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <thread>

namespace pv {
namespace {

bool SameValue(const QVariant& a, const QVariant& b) {
  if (a.typeId() != b.typeId()) return false;
  switch (a.typeId()) {
    case QMetaType::UnknownType: return true;
    case QMetaType::Double: {
      const double x = a.toDouble(), y = b.toDouble();
      return std::memcmp(&x, &y, sizeof x) == 0;
    }
    case QMetaType::QDateTime:
      return a.toDateTime() == b.toDateTime() && a.toDateTime().timeSpec() == b.toDateTime().timeSpec();
    case QMetaType::QString:
      return a.toString() == b.toString() && a.toString().size() == b.toString().size() &&
             a.toString().isNull() == b.toString().isNull();
    default: return a == b;
  }
}

void ExpectSameValues(const SourceTable& actual, const SourceTable& expected) {
  ASSERT_EQ(actual.columns.size(), expected.columns.size());
  for (size_t c = 0; c < expected.columns.size(); ++c) {
    EXPECT_EQ(actual.columns[c].name, expected.columns[c].name);
    EXPECT_EQ(actual.columns[c].type, expected.columns[c].type) << c;
  }
  ASSERT_EQ(actual.rows.size(), expected.rows.size());
  int differences = 0;
  for (size_t r = 0; r < expected.rows.size() && differences < 10; ++r) {
    ASSERT_EQ(actual.rows[r].size(), expected.rows[r].size()) << "row " << r;
    for (size_t c = 0; c < expected.rows[r].size(); ++c) {
      if (!SameValue(actual.rows[r][c], expected.rows[r][c])) {
        ++differences;
        ADD_FAILURE() << "row " << r << " column " << c << ": " << actual.rows[r][c].toString().left(40).toStdString()
                      << " (" << actual.rows[r][c].typeName() << ") instead of "
                      << expected.rows[r][c].toString().left(40).toStdString() << " (" << expected.rows[r][c].typeName()
                      << ")";
      }
    }
  }
}

TEST_F(ReaderProcessTest, EveryValueKindArrivesAsSent) {
  const ReaderSettingsScope scope(::testing::FaultyReader(QStringLiteral("values@ReadTable")));
  ExpectSameValues(OpenSourceReader(Folder())->ReadTable(QStringLiteral("clienti")), testing::EveryValueKind());
  ExpectNoChildren();
}

// One reader program answers every request of a reader, as the reader in
// this process does: tables, columns, files, records and refusals.
TEST_F(ReaderProcessTest, ReadsAsTheReaderInThisProcess) {
  const QString mdb = m_dir.filePath(QStringLiteral("archivio.mdb"));
  testing::JetTable anagrafe{QStringLiteral("Anagrafe"),
                             {{QStringLiteral("NOME"), testing::JetType::Text},
                              {QStringLiteral("NUMERO"), testing::JetType::Long},
                              {QStringLiteral("IMPORTO"), testing::JetType::Double},
                              {QStringLiteral("QUANDO"), testing::JetType::DateTime},
                              {QStringLiteral("ATTIVO"), testing::JetType::Boolean}},
                             {}};
  const double inf = std::numeric_limits<double>::infinity();
  const double doubles[] = {-0.0, inf, -inf, std::numeric_limits<double>::quiet_NaN(), 1e308, 5e-324};
  for (int r = 0; r < 600; ++r) {
    anagrafe.rows.push_back(
        {r % 5 == 0 ? QVariant() : QVariant(QStringLiteral("Perché più € %1 😀").arg(r)),
         QVariant(r % 2 == 0 ? std::numeric_limits<qint32>::min() + r : std::numeric_limits<qint32>::max() - r),
         QVariant(doubles[r % 6]), QVariant(QDateTime(QDate(1899, 12, 30).addDays(r * 97), QTime(13, 45, 30), Qt::UTC)),
         QVariant(r % 3 == 0)});
  }
  ASSERT_TRUE(testing::WriteJetDatabase(mdb, {anagrafe}));

  for (const SourceLocation& where : {Folder(), SourceLocation{SourceKind::Access, mdb, {}, {}}}) {
    SCOPED_TRACE(where.path.toStdString());
    const std::unique_ptr<SourceReader> here = OpenSourceReaderInProcess(where);
    const std::unique_ptr<SourceReader> there = OpenSourceReader(where);
    const QStringList tables = here->Tables();
    ASSERT_EQ(tables.size(), 1);
    EXPECT_EQ(there->Tables(), tables);
    const QString table = tables.front().toLower();
    EXPECT_EQ(there->TableFile(table), here->TableFile(table));
    const std::vector<SourceColumn> columns = here->Columns(table);
    const std::vector<SourceColumn> theirs = there->Columns(table);
    ASSERT_EQ(theirs.size(), columns.size());
    for (size_t c = 0; c < columns.size(); ++c) {
      EXPECT_EQ(theirs[c].name, columns[c].name);
      EXPECT_EQ(theirs[c].type, columns[c].type);
    }
    ExpectSameValues(there->ReadTable(table), here->ReadTable(table));
    EXPECT_FALSE(there->RunsQueries());
    for (const auto& ask :
         {std::function<void(SourceReader&)>([](SourceReader& r) { r.ReadTable(QStringLiteral("nessuna")); }),
          std::function<void(SourceReader&)>([](SourceReader& r) { r.Columns(QStringLiteral("nessuna")); }),
          std::function<void(SourceReader&)>([](SourceReader& r) { r.RunQuery(QStringLiteral("SELECT 1")); })}) {
      QString expected, actual;
      long number = 0;
      try {
        ask(*here);
      } catch (const DbError& e) {
        expected = e.Description();
        number = e.Number();
      }
      try {
        ask(*there);
      } catch (const DbError& e) {
        actual = e.Description();
        EXPECT_EQ(e.Number(), number);
      }
      EXPECT_FALSE(expected.isEmpty());
      EXPECT_EQ(actual, expected);
    }
    // Still serving after its refusals.
    EXPECT_EQ(there->ReadTable(table).rows.size(), here->ReadTable(table).rows.size());
  }
  ExpectNoChildren();
}

// The rows come in many frames while the reader reads; deleted records are
// not rows, and the count at the end is of the rows sent.
TEST_F(ReaderProcessTest, ALargeTableArrivesWholeAndInOrder) {
  const QByteArray file = QFile::encodeName(m_dir.filePath(QStringLiteral("grande.dbf")));
  DBFHandle dbf = DBFCreateEx(file.constData(), "LDID/87");
  ASSERT_NE(dbf, nullptr);
  DBFAddField(dbf, "NOME", FTString, 40, 0);
  DBFAddField(dbf, "NUMERO", FTInteger, 9, 0);
  constexpr int kRecords = 20000;
  for (int r = 0; r < kRecords; ++r) {
    DBFWriteStringAttribute(dbf, r, 0, ("Citt\xE0 numero " + QByteArray::number(r)).constData());
    DBFWriteIntegerAttribute(dbf, r, 1, r);
    if (r % 9 == 4) DBFMarkRecordDeleted(dbf, r, 1);
  }
  DBFClose(dbf);
  const SourceTable here = OpenSourceReaderInProcess(Folder())->ReadTable(QStringLiteral("grande"));
  ASSERT_EQ(here.rows.size(), static_cast<size_t>(kRecords - (kRecords + 4) / 9));
  const SourceTable there = OpenSourceReader(Folder())->ReadTable(QStringLiteral("grande"));
  ExpectSameValues(there, here);
  ExpectNoChildren();
}

// A reader that fails half way through a table: the rows it sent are
// dropped, its own reason is the message, and it goes on serving.
TEST_F(ReaderProcessTest, ATableRefusedHalfWayIsTheReadersMessage) {
  const ReaderSettingsScope scope(::testing::FaultyReader(QStringLiteral("refuse@ReadTable")));
  const std::unique_ptr<SourceReader> reader = OpenSourceReader(Folder());
  for (int attempt = 0; attempt < 2; ++attempt) {
    try {
      reader->ReadTable(QStringLiteral("clienti"));
      ADD_FAILURE() << "no failure";
    } catch (const DbError& e) {
      EXPECT_EQ(e.Description(), QStringLiteral("Record 3 illeggibile."));
      EXPECT_EQ(e.Number(), DbErrProvider);
    }
    EXPECT_EQ(reader->Columns(QStringLiteral("clienti")).size(), 5u);
  }
}

TEST_F(ReaderProcessTest, SourcesItCannotOpenAreRefusedWithTheReadersMessage) {
  const QString missing = m_dir.filePath(QStringLiteral("manca.mdb"));
  for (const SourceLocation& where :
       {SourceLocation{SourceKind::Access, missing, {}, {}},
        SourceLocation{SourceKind::Excel, m_dir.filePath(QStringLiteral("clienti.dbf")), {}, {}},
        SourceLocation{SourceKind::Paradox, m_dir.filePath(QStringLiteral("manca")), {}, {}}}) {
    QString expected;
    try {
      OpenSourceReaderInProcess(where);
    } catch (const DbError& e) {
      expected = e.Description();
    }
    ASSERT_FALSE(expected.isEmpty());
    try {
      OpenSourceReader(where);
      ADD_FAILURE() << "opened " << where.path.toStdString();
    } catch (const DbError& e) {
      EXPECT_EQ(e.Description(), expected);
    }
  }
  ExpectNoChildren();
}

struct Failure {
  const char* fault;
  const char* reason;
  int timeLimitMs = 60 * 1000;
  const char* program = nullptr;  // instead of the test build of the reader
};

#if defined(__SANITIZE_ADDRESS__)
// AddressSanitizer catches the crash and ends the reader with its exit code.
constexpr const char* kCrashed = "Il lettore dell'origine dati si è interrotto (";
#else
constexpr const char* kCrashed = "Il lettore dell'origine dati si è interrotto (segnale 11).";
#endif

TEST_F(ReaderProcessTest, AFailingReaderIsAMessageAndTheProgramGoesOn) {
  const Failure failures[] = {
      {"crash@ReadTable", kCrashed},
      {"crash@Open", kCrashed},
      {"hang@ReadTable", "Il lettore dell'origine dati ha superato il tempo massimo di 1 s.", 1000},
      {"hang@Open", "Il lettore dell'origine dati ha superato il tempo massimo di 1 s.", 1000},
      {"cut@ReadTable", "Il lettore dell'origine dati ha inviato dati non validi."},
      {"garbage@ReadTable", "Il lettore dell'origine dati ha inviato dati non validi."},
      {"exit@ReadTable", "Il lettore dell'origine dati si è interrotto."},
      // Rows already sent are no table without their End.
      {"cutrows@ReadTable", "Il lettore dell'origine dati ha inviato dati non validi."},
      {"endrows@ReadTable", "Il lettore dell'origine dati si è interrotto."},
      {"miscount@ReadTable", "Il lettore dell'origine dati ha inviato dati non validi."},
      {"", "Il lettore dell'origine dati \"/nessuna/cartella/plavik-reader\" non si avvia: ", 60000,
       "/nessuna/cartella/plavik-reader"},
  };
  for (const Failure& failure : failures) {
    SCOPED_TRACE(failure.fault);
    {
      ReaderProcessSettings settings = ::testing::FaultyReader(QString::fromLatin1(failure.fault));
      settings.timeLimitMs = failure.timeLimitMs;
      if (failure.program != nullptr) settings.program = QString::fromLatin1(failure.program);
      const ReaderSettingsScope scope(settings);
      try {
        OpenSourceReader(Folder())->ReadTable(QStringLiteral("clienti"));
        ADD_FAILURE() << "no failure";
      } catch (const DbError& e) {
        EXPECT_TRUE(e.Description().startsWith(QString::fromUtf8(failure.reason))) << e.Description().toStdString();
        EXPECT_EQ(e.Number(), DbErrProvider);
      }
    }
    ExpectNoChildren();
    ExpectTheTableReads();
  }
}

TEST_F(ReaderProcessTest, AReaderOverItsMemoryLimitIsAMessage) {
#if defined(__SANITIZE_ADDRESS__)
  // AddressSanitizer cannot run under an address-space limit: the sanitizer
  // build's reader runs without one.
  GTEST_SKIP() << "no memory limit under AddressSanitizer";
#endif
  {
    ReaderProcessSettings settings = ::testing::FaultyReader(QStringLiteral("memory@ReadTable"));
    settings.memoryLimit = qint64{512} * 1024 * 1024;
    const ReaderSettingsScope scope(settings);
    try {
      OpenSourceReader(Folder())->ReadTable(QStringLiteral("clienti"));
      ADD_FAILURE() << "no failure";
    } catch (const DbError& e) {
      EXPECT_EQ(e.Description(), QStringLiteral("Il lettore dell'origine dati ha superato il limite di memoria."));
    }
  }
  ExpectNoChildren();
  ExpectTheTableReads();
}

// A wait that counts how it is asked, and says stop at its call number
// `stopAt` (0: never); `during` runs at each call, as the window's events do.
class CountingWait : public ReaderWait {
 public:
  explicit CountingWait(size_t stopAt = 0) : m_stopAt(stopAt) {}
  bool Waiting(std::chrono::milliseconds waited) override {
    waits.push_back(waited);
    if (during) during();
    return m_stopAt == 0 || waits.size() < m_stopAt;
  }
  void Ended() override { ++ended; }

  std::vector<std::chrono::milliseconds> waits;
  int ended = 0;
  std::function<void()> during;

 private:
  size_t m_stopAt;
};

using namespace std::chrono_literals;

TEST_F(ReaderProcessTest, TheWaitIsAskedAgainAndAgainWhileARequestIsSlow) {
  const auto wait = std::make_shared<CountingWait>();
  ReaderProcessSettings settings = ::testing::FaultyReader(QStringLiteral("slow@ReadTable"));
  settings.wait = wait;
  {
    const ReaderSettingsScope scope(settings);
    const std::unique_ptr<SourceReader> reader = OpenSourceReader(Folder());
    // The reader program starts with the first request; the slow read is
    // a request of its own.
    EXPECT_EQ(reader->Columns(QStringLiteral("clienti")).size(), 5u);
    EXPECT_EQ(wait->ended, 1);
    wait->waits.clear();
    EXPECT_EQ(reader->ReadTable(QStringLiteral("clienti")).rows.size(), 300u);
    EXPECT_EQ(wait->ended, 2);
  }
  // The answer comes 600 ms after the request: the wait is asked at least
  // once, each time with the time since the request, a slice (50 ms) or
  // more after it was asked last. How many slices fit depends on the
  // machine's load.
  ASSERT_FALSE(wait->waits.empty());
  std::chrono::milliseconds last{0};
  for (const std::chrono::milliseconds waited : wait->waits) {
    EXPECT_GE(waited - last, 50ms) << waited.count() << " ms after " << last.count() << " ms";
    last = waited;
  }
  ExpectNoChildren();
}

// The time limit is for a reader that stops answering: rows that keep
// coming for longer than the limit arrive whole, and the user may still
// cancel them; rows that stop coming end the read at the limit.
TEST_F(ReaderProcessTest, TheTimeLimitCountsFromTheLastByteTheReaderSent) {
  {
    ReaderProcessSettings settings = ::testing::FaultyReader(QStringLiteral("trickle@ReadTable"));
    settings.timeLimitMs = 1000;  // the rows take 2.5 s, a frame every 250 ms
    const ReaderSettingsScope scope(settings);
    const SourceTable table = OpenSourceReader(Folder())->ReadTable(QStringLiteral("clienti"));
    ASSERT_EQ(table.rows.size(), 20u);
    for (size_t r = 0; r < table.rows.size(); ++r) EXPECT_EQ(table.rows[r].at(0), QVariant(qint64(r)));
  }
  ExpectNoChildren();
  {
    ReaderProcessSettings settings = ::testing::FaultyReader(QStringLiteral("trickle@ReadTable"));
    settings.timeLimitMs = 1000;
    settings.wait = std::make_shared<CountingWait>(5);
    const ReaderSettingsScope scope(settings);
    try {
      OpenSourceReader(Folder())->ReadTable(QStringLiteral("clienti"));
      ADD_FAILURE() << "no failure";
    } catch (const DbError& e) {
      EXPECT_EQ(e.Number(), DbErrCancelled);
    }
  }
  ExpectNoChildren();
  {
    ReaderProcessSettings settings = ::testing::FaultyReader(QStringLiteral("stall@ReadTable"));
    settings.timeLimitMs = 1000;
    const ReaderSettingsScope scope(settings);
    try {
      OpenSourceReader(Folder())->ReadTable(QStringLiteral("clienti"));
      ADD_FAILURE() << "no failure";
    } catch (const DbError& e) {
      EXPECT_EQ(e.Description(), QStringLiteral("Il lettore dell'origine dati ha superato il tempo massimo di 1 s."));
    }
  }
  ExpectNoChildren();
  ExpectTheTableReads();
}

TEST_F(ReaderProcessTest, AWaitThatSaysStopEndsTheRequestAtOnce) {
  for (const char* fault : {"hang@ReadTable", "hang@Open"}) {
    SCOPED_TRACE(fault);
    const auto wait = std::make_shared<CountingWait>(3);
    ReaderProcessSettings settings = ::testing::FaultyReader(QString::fromLatin1(fault));
    settings.wait = wait;
    // The stop comes long before the time limit, which would end the
    // request with a message of its own.
    settings.timeLimitMs = 600000;
    {
      const ReaderSettingsScope scope(settings);
      try {
        OpenSourceReader(Folder())->ReadTable(QStringLiteral("clienti"));
        ADD_FAILURE() << "no failure";
      } catch (const DbError& e) {
        EXPECT_EQ(e.Description(), ReaderCancelledText());
        EXPECT_EQ(e.Number(), DbErrCancelled);
      }
    }
    EXPECT_EQ(wait->waits.size(), 3u);
    EXPECT_EQ(wait->ended, 1);
    ExpectNoChildren();
    ExpectTheTableReads();
  }
}

// A request made of the same reader while it waits (an event the window
// handles) is refused, and the answer being read stays whole.
TEST_F(ReaderProcessTest, ARequestFromInsideTheWaitIsRefusedAndTheFirstGoesOn) {
  const auto wait = std::make_shared<CountingWait>();
  ReaderProcessSettings settings = ::testing::FaultyReader(QStringLiteral("slow@ReadTable"));
  settings.wait = wait;
  const ReaderSettingsScope scope(settings);
  const std::unique_ptr<SourceReader> reader = OpenSourceReader(Folder());
  QStringList refusals;
  wait->during = [&] {
    try {
      reader->Columns(QStringLiteral("clienti"));
      refusals << QStringLiteral("answered");
    } catch (const DbError& e) {
      refusals << e.Description();
    }
  };
  EXPECT_EQ(reader->ReadTable(QStringLiteral("clienti")).rows.size(), 300u);
  ASSERT_FALSE(refusals.isEmpty());
  for (const QString& refusal : refusals)
    EXPECT_EQ(refusal, QStringLiteral("L'origine dati sta già leggendo: attendere la fine della lettura."));
  wait->during = nullptr;
  EXPECT_EQ(reader->Columns(QStringLiteral("clienti")).size(), 5u);
}

// A wait that fails by an exception of its own (an event the window handles
// that throws) at its second call.
class ThrowingWait : public ReaderWait {
 public:
  bool Waiting(std::chrono::milliseconds) override {
    if (++m_calls == 2) throw std::runtime_error("the window failed");
    return true;
  }

 private:
  int m_calls = 0;
};

TEST_F(ReaderProcessTest, ARequestThatThrowsLeavesNoReaderBehind) {
  for (const char* fault : {"hang@ReadTable", "hang@Open"}) {
    SCOPED_TRACE(fault);
    ReaderProcessSettings settings = ::testing::FaultyReader(QString::fromLatin1(fault));
    settings.wait = std::make_shared<ThrowingWait>();
    {
      const ReaderSettingsScope scope(settings);
      EXPECT_THROW(OpenSourceReader(Folder())->ReadTable(QStringLiteral("clienti")), std::runtime_error);
    }
    ExpectNoChildren();
    ExpectTheTableReads();
  }
}

// The notice the window shows, seen through a fake.
class FakeNotice : public WaitNotice {
 public:
  struct Counts {
    int shown = 0;
    int hidden = 0;
    int handled = 0;
    bool cancel = false;
    std::function<void()> during;
  };
  explicit FakeNotice(Counts& counts) : m_counts(counts) {}
  void Show() override { ++m_counts.shown; }
  void Hide() override { ++m_counts.hidden; }
  bool Cancelled() override {
    ++m_counts.handled;
    if (m_counts.during) m_counts.during();
    return m_counts.cancel;
  }

 private:
  Counts& m_counts;
};

TEST(NoticeReaderWaitTest, ShowsAfterASecondHandlesEventsAndCancels) {
  FakeNotice::Counts counts;
  NoticeReaderWait wait(std::make_unique<FakeNotice>(counts));
  // A short wait shows nothing and handles no event.
  EXPECT_TRUE(wait.Waiting(50ms));
  EXPECT_TRUE(wait.Waiting(950ms));
  wait.Ended();
  EXPECT_EQ(counts.shown, 0);
  EXPECT_EQ(counts.handled, 0);
  EXPECT_EQ(counts.hidden, 0);
  // A long one shows the notice once and handles the events at every call.
  EXPECT_TRUE(wait.Waiting(1000ms));
  EXPECT_TRUE(wait.Waiting(1050ms));
  EXPECT_EQ(counts.shown, 1);
  EXPECT_EQ(counts.handled, 2);
  wait.Ended();
  wait.Ended();
  EXPECT_EQ(counts.hidden, 1);
  // A cancel ends the wait.
  counts.cancel = true;
  EXPECT_FALSE(wait.Waiting(1200ms));
  wait.Ended();
  EXPECT_EQ(counts.shown, 2);
  EXPECT_EQ(counts.hidden, 2);
}

TEST(NoticeReaderWaitTest, AWaitInsideTheEventsOrOnAnotherThreadTouchesNoNotice) {
  FakeNotice::Counts counts;
  NoticeReaderWait wait(std::make_unique<FakeNotice>(counts));
  // A request an event makes waits without handling more events, and its
  // end leaves the notice to the request that showed it.
  bool nested = false;
  counts.during = [&] {
    nested = wait.Waiting(5000ms);
    wait.Ended();
  };
  EXPECT_TRUE(wait.Waiting(2000ms));
  EXPECT_TRUE(nested);
  EXPECT_EQ(counts.handled, 1);
  EXPECT_EQ(counts.hidden, 0);
  EXPECT_TRUE(wait.Shown());
  wait.Ended();
  EXPECT_EQ(counts.hidden, 1);
  // A read on another thread never shows the window's notice.
  counts.during = nullptr;
  bool other = false;
  std::thread([&] {
    other = wait.Waiting(5000ms);
    wait.Ended();
  }).join();
  EXPECT_TRUE(other);
  EXPECT_EQ(counts.shown, 1);
  EXPECT_EQ(counts.handled, 1);
}

}  // namespace
}  // namespace pv
