// The reader program confined. What a reader turned against the user would
// try (the test build of the reader tries it on request) is refused by the
// kernel and fails the request with the reader's message, while the same
// request to a reader left unconfined goes through: the confinement is what
// stops it. The confinement is in force while the reader reads, and one the
// kernel refuses fails the read instead of reading unconfined.
#include "datasources/process/readerwait.h"
#include "datasources/process/sandbox.h"
#include "readerfixture.h"
#include "tests/support/jetwriter.h"
#include "tests/support/sqliteodbc.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <functional>
#include <optional>
#include <utility>

namespace pv {
namespace {

// One source and the request the faults are made at.
struct Source {
  SourceLocation location;
  const char* request;  // "ReadTable" or "RunQuery"
  std::function<std::size_t(SourceReader&)> read;
  std::size_t rows;
};

// An attempt, and the errno of its refusal by a reader of a file source and
// of ODBC (0: allowed).
struct Attempt {
  const char* what;
  QString path;
  int refusedFiles;
  int refusedOdbc;
};

class ReaderSandboxTest : public ReaderProcessTest {
 protected:
  void SetUp() override {
    ReaderProcessTest::SetUp();
    ASSERT_TRUE(m_elsewhere.isValid());
    QFile other(m_elsewhere.filePath(QStringLiteral("altrove.txt")));
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.write("di un altro programma");
  }

  QString InDir(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }

  // vittima.txt beside the source's files, as it was; nothing created.
  void PutBackFiles() {
    QFile::remove(InDir("nuovo.txt"));
    QFile::remove(InDir("vittima.txt.old"));
    QFile victim(InDir("vittima.txt"));
    ASSERT_TRUE(victim.open(QIODevice::WriteOnly));
    victim.write(kVictim);
  }

  void ExpectFilesUntouched() {
    QFile victim(InDir("vittima.txt"));
    ASSERT_TRUE(victim.open(QIODevice::ReadOnly));
    EXPECT_EQ(victim.readAll(), kVictim);
    EXPECT_FALSE(QFile::exists(InDir("nuovo.txt")));
    EXPECT_FALSE(QFile::exists(InDir("vittima.txt.old")));
  }

  // What an attempt done leaves behind (true where it leaves nothing).
  bool Done(const QString& what) const {
    if (what == QLatin1String("create")) return QFile::exists(InDir("nuovo.txt"));
    if (what == QLatin1String("remove")) return !QFile::exists(InDir("vittima.txt"));
    if (what == QLatin1String("rename")) return QFile::exists(InDir("vittima.txt.old"));
    if (what == QLatin1String("truncate") || what == QLatin1String("opentrunc"))
      return QFile(InDir("vittima.txt")).size() == 0;
    return true;
  }

  // The attempts, as a reader confined with version `abi` of Landlock
  // (0: none, only the seccomp filter) refuses them.
  std::vector<Attempt> Attempts(int abi) const {
    const int landlock = abi > 0 ? EACCES : 0;
    // Truncation: Landlock from its third version, else the seccomp filter.
    const int emptied = abi >= 3 ? EACCES : EPERM;
    const QString victim = InDir("vittima.txt");
    return {
        {"create", InDir("nuovo.txt"), landlock, landlock},
        {"write", victim, landlock, landlock},
        {"remove", victim, landlock, landlock},
        {"rename", victim, landlock, landlock},
        {"read", m_elsewhere.filePath(QStringLiteral("altrove.txt")), landlock, 0},
        {"truncate", victim, emptied, emptied},
        {"opentrunc", victim, emptied, emptied},
        {"exec", {}, EPERM, EPERM},
        {"socket", {}, EPERM, 0},
    };
  }

  // Each attempt, by a reader confined with version `abi` of Landlock at
  // most (-1: the kernel's own), and by an unconfined one.
  void ExpectConfined(const Source& source, int abi = -1) {
    const int kernel = LandlockAbi();
    const QString lowered = abi >= 0 && abi < kernel ? QStringLiteral("landlock=%1:").arg(abi) : QString();
    abi = abi < 0 ? kernel : std::min(abi, kernel);
    SCOPED_TRACE(abi);
    const bool odbc = source.location.kind == SourceKind::Odbc;
    for (const Attempt& attempt : Attempts(abi)) {
      SCOPED_TRACE(attempt.what);
      const QString what = QString::fromLatin1(attempt.what);
      const QString fault = QStringLiteral("%1:%2@%3").arg(what, attempt.path, QLatin1String(source.request));
      const int refused = odbc ? attempt.refusedOdbc : attempt.refusedFiles;
      PutBackFiles();
      {
        const ReaderSettingsScope scope(::testing::FaultyReader(lowered + fault));
        try {
          EXPECT_EQ(source.read(*OpenSourceReader(source.location)), source.rows);
          EXPECT_EQ(refused, 0) << "not refused";
        } catch (const DbError& e) {
          EXPECT_EQ(e.Description().toStdString(), QStringLiteral("%1: %2").arg(what).arg(refused).toStdString());
          EXPECT_EQ(e.Number(), DbErrProvider);
        }
      }
      if (refused != 0) ExpectFilesUntouched();
      PutBackFiles();
      {
        const ReaderSettingsScope scope(::testing::FaultyReader(QStringLiteral("unconfined:") + fault));
        EXPECT_EQ(source.read(*OpenSourceReader(source.location)), source.rows);
      }
      EXPECT_TRUE(Done(what));
      ExpectNoChildren();
    }
  }

  Source DBase() const {
    return {Folder(), "ReadTable", [](SourceReader& r) { return r.ReadTable(QStringLiteral("clienti")).rows.size(); },
            300};
  }

  // An empty SQLite database (an empty file is one) through its ODBC driver,
  // when the driver is installed.
  std::optional<Source> Sqlite() {
    const QString driver = testing::SqliteOdbcDriver();
    if (driver.isEmpty()) return std::nullopt;
    const QString database = InDir("vuoto.sqlite");
    if (!QFile(database).open(QIODevice::WriteOnly)) ADD_FAILURE() << "no database";
    return Source{{SourceKind::Odbc,
                   QStringLiteral("vuoto"),
                   {},
                   {},
                   QStringLiteral("DRIVER=%1;DATABASE=%2;").arg(driver, database)},
                  "RunQuery",
                  [](SourceReader& r) { return r.RunQuery(QStringLiteral("SELECT 1 AS UNO")).rows.size(); },
                  1};
  }

  static constexpr const char* kVictim = "dati dell'utente";
  QTemporaryDir m_elsewhere;
};

// Where the running kernel lacks Landlock, the file system is open.
void SkipWithoutLandlock() {
  if (LandlockAbi() == 0) GTEST_SKIP() << "the running kernel has no Landlock: only the seccomp filter was checked";
}

TEST_F(ReaderSandboxTest, AFolderSourceReaderReadsItsFolderAndDoesNothingElse) {
  ExpectConfined(DBase());
  SkipWithoutLandlock();
}

TEST_F(ReaderSandboxTest, AFileSourceReaderReadsItsFileAndDoesNothingElse) {
  const QString mdb = InDir("archivio.mdb");
  ASSERT_TRUE(testing::WriteJetDatabase(
      mdb,
      {{QStringLiteral("Anagrafe"), {{QStringLiteral("NOME"), testing::JetType::Text}}, {{QStringLiteral("Ada")}}}}));
  ExpectConfined({{SourceKind::Access, mdb, {}, {}},
                  "ReadTable",
                  [](SourceReader& r) { return r.ReadTable(QStringLiteral("anagrafe")).rows.size(); },
                  1});
  SkipWithoutLandlock();
}

// An ODBC reader reads anywhere and reaches the network, as drivers do.
TEST_F(ReaderSandboxTest, AnOdbcReaderChangesNoFileAndExecutesNothing) {
  const std::optional<Source> odbc = Sqlite();
  if (!odbc) GTEST_SKIP() << "the SQLite ODBC driver is not installed";
  ExpectConfined(*odbc);
  SkipWithoutLandlock();
}

// Debian 12's kernel has the second version of Landlock, which lets a
// readable file be emptied: the seccomp filter refuses that there. Without
// Landlock, the filter still refuses programs, sockets and truncation.
TEST_F(ReaderSandboxTest, OnOlderKernelsTheFilterRefusesWhatLandlockCannot) {
  std::vector<Source> sources = {DBase()};
  if (const std::optional<Source> odbc = Sqlite()) sources.push_back(*odbc);
  for (const Source& source : sources) {
    for (const int abi : {2, 0}) ExpectConfined(source, abi);
  }
}

// The lines of /proc/PID/status that say what a process gave up.
QStringList Confinement(pid_t pid) {
  QFile file(QStringLiteral("/proc/%1/status").arg(pid));
  if (!file.open(QIODevice::ReadOnly)) return {};
  QStringList lines;
  for (const QByteArray& line : file.readAll().split('\n'))
    if (line.startsWith("NoNewPrivs:") || line.startsWith("Seccomp:")) lines << QString::fromLatin1(line.simplified());
  return lines;
}

// The confinement of this process's one child, seen in /proc while the
// program waits for an answer: last seen while the program waits for the
// read (it waits for the open too, which may be before the reader confined
// itself).
class ChildWatch : public ReaderWait {
 public:
  bool Waiting(std::chrono::milliseconds) override {
    QStringList children;
    const QDir proc(QStringLiteral("/proc"));
    for (const QString& entry : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
      QFile stat(proc.filePath(entry) + QStringLiteral("/stat"));
      if (!stat.open(QIODevice::ReadOnly)) continue;
      // pid (name) state ppid ...: the name may hold spaces and parentheses.
      const QByteArray line = stat.readAll();
      const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
      if (fields.size() > 1 && fields[1].toLongLong() == ::getpid()) children << entry;
    }
    if (children.size() == 1) seen = Confinement(children.front().toInt());
    return true;
  }
  void Ended() override {}

  QStringList seen;
};

TEST_F(ReaderSandboxTest, WhileItReadsTheReaderHasNoNewPrivilegesAndASeccompFilter) {
  std::vector<Source> sources = {DBase()};
  if (const std::optional<Source> odbc = Sqlite()) sources.push_back(*odbc);
  // Unconfined, the reader has what this process has.
  const QStringList own = Confinement(::getpid());
  ASSERT_EQ(own.size(), 2);
  for (const Source& source : sources) {
    SCOPED_TRACE(source.request);
    for (const bool confined : {true, false}) {
      const auto watch = std::make_shared<ChildWatch>();
      ReaderProcessSettings settings = ::testing::FaultyReader(
          QStringLiteral("%1slow@%2").arg(confined ? "" : "unconfined:", QLatin1String(source.request)));
      settings.wait = watch;
      {
        const ReaderSettingsScope scope(settings);
        EXPECT_EQ(source.read(*OpenSourceReader(source.location)), source.rows);
      }
      if (confined)
        EXPECT_EQ(watch->seen, (QStringList{QStringLiteral("NoNewPrivs: 1"), QStringLiteral("Seccomp: 2")}));
      else
        EXPECT_EQ(watch->seen, own);
    }
  }
  ExpectNoChildren();
}

// A kernel that offers the confinement and refuses it: no read. Landlock's
// last step is refused, or, without Landlock, the seccomp filter's loading.
TEST_F(ReaderSandboxTest, AConfinementTheKernelRefusesIsAFailedRead) {
  const char* landlockStep = LandlockAbi() > 0 ? "landlock_restrict_self" : "seccomp";
  for (const auto& [fault, step] :
       {std::pair{"unconfinable@Open", landlockStep}, std::pair{"landlock=0:unconfinable@Open", "seccomp"}}) {
    SCOPED_TRACE(fault);
    {
      const ReaderSettingsScope scope(::testing::FaultyReader(QString::fromLatin1(fault)));
      try {
        OpenSourceReader(Folder())->ReadTable(QStringLiteral("clienti"));
        ADD_FAILURE() << "read unconfined";
      } catch (const DbError& e) {
        EXPECT_TRUE(e.Description().startsWith(
            QStringLiteral("Il lettore dell'origine dati non può rinunciare ai permessi che non gli servono (%1: ")
                .arg(QLatin1String(step))))
            << e.Description().toStdString();
        EXPECT_EQ(e.Number(), DbErrProvider);
      }
    }
    ExpectNoChildren();
  }
  ExpectTheTableReads();
}

// unixODBC opens the user's odbc.ini for appending before it reads it, to
// make it when missing; the confined reader must still find the names in it.
TEST_F(ReaderSandboxTest, AnOdbcReaderFindsTheUsersDataSourceNames) {
  const QString driver = testing::SqliteOdbcDriver();
  if (driver.isEmpty()) GTEST_SKIP() << "the SQLite ODBC driver is not installed";
  const QString database = InDir("vuoto.sqlite");
  ASSERT_TRUE(QFile(database).open(QIODevice::WriteOnly));
  QFile user(InDir("utente.ini"));
  ASSERT_TRUE(user.open(QIODevice::WriteOnly));
  user.write(QStringLiteral("[plavik_utente]\nDriver=%1\nDatabase=%2\n").arg(driver, database).toUtf8());
  user.close();
  qputenv("ODBCINI", QFile::encodeName(user.fileName()));
  qputenv("ODBCSYSINI", QFile::encodeName(m_elsewhere.path()));
  for (const char* fault : {"unconfined:", ""}) {
    SCOPED_TRACE(fault);
    const ReaderSettingsScope scope(::testing::FaultyReader(QString::fromLatin1(fault)));
    EXPECT_EQ(OpenSourceReader({SourceKind::Odbc, QStringLiteral("plavik_utente"), {}, {}})
                  ->RunQuery(QStringLiteral("SELECT 1 AS UNO"))
                  .rows.size(),
              1u);
  }
}

}  // namespace
}  // namespace pv
