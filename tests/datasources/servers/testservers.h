#pragma once
// The servers of one test program, started once before its first test and
// stopped after its last: PostgreSQL and MariaDB with the fixture loaded,
// and the ODBC data source names that reach them.
#include "tests/support/dbservers.h"

#include "datasources/readers/sourcereader.h"
#include "printers.h"

#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace pv::test {

// The data source names of the private ODBC configuration. Each holds the
// login, except where said.
inline constexpr char kPgDsn[] = "plavik_pg";
inline constexpr char kMariaDsn[] = "plavik_maria";
inline constexpr char kPgAnsiDsn[] = "plavik_pg_ansi";  // psqlODBC's ANSI driver
inline constexpr char kPgAccentedDsn[] = "Indirizzi Città";
inline constexpr char kMariaAccentedDsn[] = "Indirizzi Città MariaDB";
// The port of these has no server: kPgSpareDsn's is kept for a test that
// starts one there (TestServers::SparePort).
inline constexpr char kPgSpareDsn[] = "plavik_pg_spento";
inline constexpr char kMariaDownDsn[] = "plavik_maria_spento";

class TestServers : public ::testing::Environment {
 public:
  void SetUp() override;
  void TearDown() override;

  static TestServers& Get() { return *s_instance; }

  DbServer& Postgres() { return *m_postgres; }
  DbServer& Mariadb() { return *m_mariadb; }
  DbServer& Server(DbEngine engine) { return engine == DbEngine::PostgreSql ? Postgres() : Mariadb(); }
  int SparePort() const { return m_sparePort; }
  // A folder of the run for a test's own files.
  QString Folder() const { return m_folder->path(); }

  // The connection string a registration holds for a DSN; with the login in
  // it when `withLogin`.
  static QString ConnectionOf(const char* dsn, bool withLogin = false);

 private:
  static TestServers* s_instance;
  std::unique_ptr<QTemporaryDir> m_folder;
  std::unique_ptr<DbServer> m_postgres;
  std::unique_ptr<DbServer> m_mariadb;
  int m_sparePort = 0;
};

// Every test here needs the servers: none runs without them.
class ServerTest : public ::testing::Test {
 protected:
  void SetUp() override;
  static TestServers& Servers() { return TestServers::Get(); }
};

// The name of a DSN as the reader takes it.
inline QString Dsn(const char* name) { return QString::fromUtf8(name); }

// The program's reader of a DSN, given the login when `withLogin`.
std::unique_ptr<SourceReader> OpenDsn(const char* dsn, bool withLogin = false);

}  // namespace pv::test
