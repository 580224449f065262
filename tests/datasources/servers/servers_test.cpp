// The test servers themselves: they start as an unprivileged account, take
// connections through the program's ODBC reader, stop with every process
// they started, and die with a test program that crashes. A server that is
// down is a DbError naming the data source.
#include "testservers.h"

#include "datasources/readers/sourcereader.h"
#include "datasources/sourcerecordset.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <chrono>
#include <cstdio>
#include <thread>

#include <signal.h>
#include <unistd.h>

namespace pv::test {
namespace {

using namespace std::chrono_literals;

// Whether a process exists and has not ended (a zombie has).
bool Alive(pid_t pid) {
  QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
  if (!stat.open(QIODevice::ReadOnly)) return false;
  const QByteArray text = stat.readAll();
  const qsizetype close = text.lastIndexOf(')');
  return close > 0 && close + 2 < text.size() && text[close + 2] != 'Z' && text[close + 2] != 'X';
}

bool AnyAliveInGroup(pid_t group) {
  for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
    bool number = false;
    const pid_t pid = entry.toInt(&number);
    if (number && Alive(pid) && getpgid(pid) == group) return true;
  }
  return false;
}

uid_t OwnerOf(pid_t pid) {
  QFile status(QStringLiteral("/proc/%1/status").arg(pid));
  if (!status.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray& line : status.readAll().split('\n')) {
    if (line.startsWith("Uid:")) return static_cast<uid_t>(line.mid(4).simplified().split(' ').value(1).toUInt());
  }
  return 0;
}

template <typename Condition>
bool Within(std::chrono::milliseconds limit, Condition condition) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(20ms);
  }
  return true;
}

using ServersTest = ServerTest;

TEST_F(ServersTest, BothRunAsAnUnprivilegedAccount) {
  for (DbServer* server : {&Servers().Postgres(), &Servers().Mariadb()}) {
    SCOPED_TRACE(server->Name().toStdString());
    ASSERT_TRUE(server->IsRunning());
    if (geteuid() == 0)
      EXPECT_NE(OwnerOf(server->Pid()), 0u);
    else
      EXPECT_EQ(OwnerOf(server->Pid()), geteuid());
  }
}

TEST_F(ServersTest, AServerStartsTakesConnectionsAndStopsWholly) {
  const auto open = [] { return OpenSourceReader({SourceKind::Odbc, Dsn(kPgSpareDsn), {}, {}}); };
  EXPECT_THROW(open(), DbError);
  DbServer server(DbEngine::PostgreSql, Servers().Folder() + QStringLiteral("/spare"), Servers().SparePort());
  server.Start();
  std::printf("[ servers  ] a further PostgreSQL ready in %.2f s\n", server.StartSeconds());
  auto reader = open();
  const SourceTable sum = reader->RunQuery(QStringLiteral("SELECT 1 + 1 AS due"));
  ASSERT_EQ(sum.rows.size(), 1u);
  EXPECT_EQ(sum.rows[0][0], QVariant(qint64{2}));

  const pid_t pid = server.Pid();
  server.Stop();
  EXPECT_FALSE(server.IsRunning());
  EXPECT_FALSE(Alive(pid));
  EXPECT_FALSE(AnyAliveInGroup(pid)) << "a process of the server outlived it";
  // The session of a server that went away, and a new one, fail.
  EXPECT_THROW(reader->RunQuery(QStringLiteral("SELECT 1")), DbError);
  EXPECT_THROW(open(), DbError);
}

TEST_F(ServersTest, AServerDiesWithATestProgramThatCrashes) {
  const QString folder = Servers().Folder() + QStringLiteral("/crash");
  QProcess helper;
  helper.start(QStringLiteral(PLAVIK_DBSERVER_CRASH), {folder});
  ASSERT_TRUE(helper.waitForFinished(90000));
  EXPECT_EQ(helper.exitStatus(), QProcess::CrashExit) << helper.readAllStandardError().toStdString();
  const pid_t pid = helper.readAllStandardOutput().trimmed().toInt();
  ASSERT_GT(pid, 0) << helper.readAllStandardError().toStdString();
  EXPECT_TRUE(Within(10s, [&] { return !AnyAliveInGroup(pid); })) << "the server outlived its program";
  EXPECT_TRUE(Within(10s, [&] { return !QFile::exists(folder); })) << "its folder is left behind";
}

TEST_F(ServersTest, AServerThatIsDownIsAnErrorNamingTheSource) {
  for (const char* dsn : {kPgSpareDsn, kMariaDownDsn}) {
    SCOPED_TRACE(dsn);
    try {
      OpenSourceReader({SourceKind::Odbc, Dsn(dsn), QString::fromLatin1(kDbUser), QString::fromLatin1(kDbPassword)});
      ADD_FAILURE() << "opened";
    } catch (const DbError& e) {
      EXPECT_TRUE(e.Description().contains(Dsn(dsn))) << e.Description().toStdString();
    }
    SourceRecordset records;
    EXPECT_THROW(records.Open(TestServers::ConnectionOf(dsn, true), QStringLiteral("indirizzi")), DbError);
    EXPECT_FALSE(records.IsOpen());
  }
}

}  // namespace
}  // namespace pv::test
