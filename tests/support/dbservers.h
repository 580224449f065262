#pragma once
// Real database servers for the tests: PostgreSQL and MariaDB, each started
// by the test in a folder of its own, listening on 127.0.0.1 only, on a free
// port, with its sockets in that folder, and stopped at the end. No system
// service, no file outside the folder.
//
// The servers run as an unprivileged account: as root (CI), the system
// account "plavik-tests", made with useradd the first time it is missing
// (PostgreSQL refuses to run as root, and a test server needs no right beyond
// its own folder); as anyone else, as that user.
//
// A server never outlives its test program: the DbServer destructor stops it;
// if the program dies instead (a crash, a kill, a time-out), the kernel kills
// the server with it (parent-death signal), and a watchdog process kills each
// server's whole process group and removes its folder.
//
// Each server has one login, kDbUser/kDbPassword, with every right, and a
// database kDbDatabase. The ODBC configuration (odbcinst.ini, odbc.ini) is
// written into a folder of the test and named by ODBCSYSINI and ODBCINI, which
// unixODBC reads in place of /etc.
#include <QString>

#include <optional>
#include <vector>

#include <sys/types.h>

namespace pv::test {

enum class DbEngine { PostgreSql, MariaDb };

inline constexpr char kDbUser[] = "plavik";
inline constexpr char kDbPassword[] = "segreto";
inline constexpr char kDbDatabase[] = "plavik";

// A value as the engine's own command-line client prints it; nullopt for Null.
using ClientValue = std::optional<QString>;
using ClientRows = std::vector<std::vector<ClientValue>>;

class DbServer {
 public:
  // Nothing runs yet. `folder` must not exist; it is made owned by the
  // servers' account. `port` 0: a free one is chosen.
  DbServer(DbEngine engine, QString folder, int port = 0);
  ~DbServer();
  DbServer(const DbServer&) = delete;
  DbServer& operator=(const DbServer&) = delete;

  // Creates the servers' databases, starts them and waits until each takes
  // connections, with the login and the database made. The servers' set-ups
  // overlap. Throws std::runtime_error with the server's log on failure.
  static void StartAll(const std::vector<DbServer*>& servers);
  void Start() { StartAll({this}); }
  // Shuts the server down (its whole process group is killed if it has not
  // stopped after a few seconds). Does nothing when it is not running.
  void Stop();
  bool IsRunning();

  DbEngine Engine() const { return m_engine; }
  QString Name() const;  // "PostgreSQL 15", "MariaDB 10.11"
  int Port() const { return m_port; }
  QString Folder() const { return m_folder; }
  pid_t Pid() const { return m_pid; }
  // Seconds from Start to taking connections.
  double StartSeconds() const { return m_startSeconds; }

  // Runs SQL statements through the engine's own client (psql, mariadb) as
  // the administrator, on `database` (kDbDatabase when empty). Throws
  // std::runtime_error with the client's message when a statement fails.
  ClientRows Query(const QString& sql, const QString& database = {}) const;
  void Execute(const QString& sql, const QString& database = {}) const { Query(sql, database); }

 private:
  void BeginCreate();
  void BeginServer();
  bool Ready() const;
  void FinishSetUp();
  [[noreturn]] void Fail(const QString& what) const;

  DbEngine m_engine;
  QString m_folder;
  int m_port = 0;
  bool m_fixedPort = false;
  bool m_made = false;  // the folder is ours to remove
  pid_t m_pid = -1;     // the init step or the server
  double m_startSeconds = 0;
};

// Removes `folder` (and everything in it) if the test program dies before it
// does so itself; ForgetFolder once it has.
void RemoveIfProgramDies(const QString& folder);
void ForgetFolder(const QString& folder);

struct OdbcDsn {
  QString name;
  DbEngine engine = DbEngine::PostgreSql;
  int port = 0;
  QString database = QString::fromLatin1(kDbDatabase);
  bool storesLogin = true;  // the DSN holds kDbUser and kDbPassword
  bool ansi = false;        // PostgreSQL: through psqlODBC's ANSI driver
};

// The installed ODBC driver library of an engine (psqlODBC's Unicode or ANSI
// driver, MariaDB Connector/ODBC); empty when it is not installed.
QString OdbcDriverLibrary(DbEngine engine, bool ansi = false);

// Writes odbcinst.ini (the drivers "PostgreSQL Unicode", "PostgreSQL ANSI"
// and "MariaDB Unicode") and odbc.ini (`sources`) into `folder`
// and points ODBCSYSINI and ODBCINI at them. Call before the program's first
// ODBC call. Throws std::runtime_error when a driver is missing.
void WriteOdbcConfiguration(const QString& folder, const std::vector<OdbcDsn>& sources);

// A TCP port of 127.0.0.1 that nothing listens on at the time of the call.
int FreeLoopbackPort();

}  // namespace pv::test
