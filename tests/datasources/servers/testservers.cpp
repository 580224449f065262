#include "testservers.h"

#include "fixture.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <cstdio>
#include <exception>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace pv::test {

TestServers* TestServers::s_instance = nullptr;

namespace {

// Set when the servers could not be started: every test fails with it.
QString g_failure;

}  // namespace

void TestServers::SetUp() {
  s_instance = this;
  QElapsedTimer clock;
  clock.start();
  try {
    m_folder = std::make_unique<QTemporaryDir>();
    if (!m_folder->isValid()) throw std::runtime_error("no temporary folder");
    RemoveIfProgramDies(m_folder->path());
    // The servers' account must pass through to its own folders.
    QFile::setPermissions(m_folder->path(),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther);
    m_postgres = std::make_unique<DbServer>(DbEngine::PostgreSql, m_folder->filePath(QStringLiteral("postgres")));
    m_mariadb = std::make_unique<DbServer>(DbEngine::MariaDb, m_folder->filePath(QStringLiteral("mariadb")));
    DbServer::StartAll({m_postgres.get(), m_mariadb.get()});
    const qint64 started = clock.elapsed();
    LoadFixture(*m_postgres);
    LoadFixture(*m_mariadb);
    m_sparePort = FreeLoopbackPort();
    int downPort = FreeLoopbackPort();
    while (downPort == m_sparePort) downPort = FreeLoopbackPort();
    const QString odbc = m_folder->filePath(QStringLiteral("odbc"));
    QDir().mkpath(odbc);
    WriteOdbcConfiguration(odbc, {{Dsn(kPgDsn), DbEngine::PostgreSql, m_postgres->Port()},
                                  {Dsn(kMariaDsn), DbEngine::MariaDb, m_mariadb->Port()},
                                  {Dsn(kPgAnsiDsn), DbEngine::PostgreSql, m_postgres->Port(),
                                   QString::fromLatin1(kDbDatabase), true, true},
                                  {Dsn(kPgAccentedDsn), DbEngine::PostgreSql, m_postgres->Port()},
                                  {Dsn(kMariaAccentedDsn), DbEngine::MariaDb, m_mariadb->Port()},
                                  {Dsn(kPgSpareDsn), DbEngine::PostgreSql, m_sparePort},
                                  {Dsn(kMariaDownDsn), DbEngine::MariaDb, downPort}});
    std::printf(
        "[ servers  ] PostgreSQL on port %d ready in %.2f s, MariaDB on port %d in %.2f s; "
        "fixture loaded in %.2f s\n",
        m_postgres->Port(), m_postgres->StartSeconds(), m_mariadb->Port(), m_mariadb->StartSeconds(),
        static_cast<double>(clock.elapsed() - started) / 1000.0);
    std::fflush(stdout);
  } catch (const std::exception& e) {
    g_failure = QString::fromUtf8(e.what());
  }
#if defined(__SANITIZE_ADDRESS__)
  // The ODBC drivers keep allocations they never free, and the driver
  // manager unloads them, so the leak checker cannot name them to suppress
  // them: allocations of this program are not counted as leaks (every other
  // check of the sanitizers stays on).
  __lsan_disable();
#endif
}

void TestServers::TearDown() {
  QElapsedTimer clock;
  clock.start();
  m_mariadb.reset();
  m_postgres.reset();
  std::printf("[ servers  ] stopped in %.2f s\n", static_cast<double>(clock.elapsed()) / 1000.0);
  if (m_folder) {
    const QString path = m_folder->path();
    m_folder.reset();
    ForgetFolder(path);
  }
}

QString TestServers::ConnectionOf(const char* dsn, bool withLogin) {
  QString s = QStringLiteral("DSN=") + Dsn(dsn) + QLatin1Char(';');
  if (withLogin)
    s += QStringLiteral("UID=%1;PWD=%2;").arg(QString::fromLatin1(kDbUser), QString::fromLatin1(kDbPassword));
  return s;
}

std::unique_ptr<SourceReader> OpenDsn(const char* dsn, bool withLogin) {
  SourceLocation location{SourceKind::Odbc, Dsn(dsn), {}, {}};
  if (withLogin) {
    location.user = QString::fromLatin1(kDbUser);
    location.password = QString::fromLatin1(kDbPassword);
  }
  return OpenSourceReader(location);
}

void ServerTest::SetUp() {
  if (!g_failure.isEmpty()) FAIL() << "the test servers did not start: " << g_failure.toStdString();
}

}  // namespace pv::test
