#include "dbservers.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStringList>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <stdexcept>
#include <string>
#include <thread>

#include <arpa/inet.h>
#include <fcntl.h>
#include <grp.h>
#include <netinet/in.h>
#include <pwd.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

namespace pv::test {

namespace {

using namespace std::chrono_literals;

[[noreturn]] void Throw(const QString& what) { throw std::runtime_error(what.toStdString()); }

// --- The account the servers run as ----------------------------------------

struct Account {
  uid_t uid = 0;
  gid_t gid = 0;
  bool drop = false;  // switch to it in the child (we are root)
};

constexpr char kAccountName[] = "plavik-tests";

const Account& ServerAccount() {
  static const Account account = [] {
    Account a;
    a.uid = geteuid();
    a.gid = getegid();
    if (a.uid != 0) return a;
    if (getpwnam(kAccountName) == nullptr) {
      const int rc = QProcess::execute(
          QStringLiteral("useradd"),
          {QStringLiteral("--system"), QStringLiteral("--user-group"), QStringLiteral("--no-create-home"),
           QStringLiteral("--home-dir"), QStringLiteral("/nonexistent"), QStringLiteral("--shell"),
           QStringLiteral("/usr/sbin/nologin"), QStringLiteral("--comment"),
           QStringLiteral("plavik test database servers"), QString::fromLatin1(kAccountName)});
      if (rc != 0 && getpwnam(kAccountName) == nullptr)
        Throw(QStringLiteral("cannot create the account %1 for the test servers (useradd: %2)")
                  .arg(QString::fromLatin1(kAccountName))
                  .arg(rc));
    }
    const passwd* pw = getpwnam(kAccountName);
    if (pw == nullptr) Throw(QStringLiteral("no account %1").arg(QString::fromLatin1(kAccountName)));
    a.uid = pw->pw_uid;
    a.gid = pw->pw_gid;
    a.drop = true;
    return a;
  }();
  return account;
}

// --- The watchdog ----------------------------------------------------------
//
// A process of its own, detached from the test program (so that a kill of
// the program's process tree does not reach it), reading lines from a pipe:
// "+<pgid>" / "-<pgid>" a server's process group to kill, "F<path>" /
// "f<path>" a folder to remove. When the pipe closes with the program gone,
// it kills the groups still listed and removes the folders. Between fork and
// exec it may only make async-signal-safe calls, so it works in fixed
// buffers.

constexpr int kMaxGroups = 32;
constexpr int kMaxFolders = 16;
constexpr int kMaxPath = 1024;

pid_t g_groups[kMaxGroups];
char g_folders[kMaxFolders][kMaxPath];
char* g_removeArgv[kMaxFolders + 4];

bool SameText(const char* a, const char* b) {
  while (*a != 0 && *a == *b) ++a, ++b;
  return *a == *b;
}

void Obey(const char* line) {
  if (line[0] == '+' || line[0] == '-') {
    pid_t pgid = 0;
    for (const char* p = line + 1; *p >= '0' && *p <= '9'; ++p) pgid = pgid * 10 + (*p - '0');
    if (pgid <= 1) return;
    for (pid_t& g : g_groups) {
      if (line[0] == '-' && g == pgid) g = 0;
      if (line[0] == '+' && g == 0) {
        g = pgid;
        break;
      }
    }
  } else if (line[0] == 'F' || line[0] == 'f') {
    for (char* f : g_folders) {
      if (line[0] == 'f' && f[0] != 0 && SameText(f, line + 1)) f[0] = 0;
      if (line[0] == 'F' && f[0] == 0) {
        int i = 0;
        for (; line[i + 1] != 0 && i < kMaxPath - 1; ++i) f[i] = line[i + 1];
        f[i] = 0;
        break;
      }
    }
  }
}

[[noreturn]] void Watch(int in, int devNull) {
  struct sigaction ignore = {};
  ignore.sa_handler = SIG_IGN;
  for (int s : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE}) sigaction(s, &ignore, nullptr);
  dup2(in, 0);
  dup2(devNull, 1);
  dup2(devNull, 2);
  close_range(3, ~0U, 0);
  setsid();
  char line[kMaxPath + 2];
  int length = 0;
  char buffer[512];
  for (;;) {
    const ssize_t n = read(0, buffer, sizeof(buffer));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    for (ssize_t i = 0; i < n; ++i) {
      if (buffer[i] == '\n') {
        line[length] = 0;
        Obey(line);
        length = 0;
      } else if (length < kMaxPath + 1) {
        line[length++] = buffer[i];
      }
    }
  }
  for (pid_t g : g_groups) {
    if (g > 1) kill(-g, SIGKILL);
  }
  // The killed servers' files are removed once their groups are gone; a
  // group whose processes nobody has reaped yet is given up after 300 ms.
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  const long long deadline = now.tv_sec * 1000000000LL + now.tv_nsec + 300 * 1000000LL;
  for (;;) {
    bool alive = false;
    for (pid_t g : g_groups) alive = alive || (g > 1 && kill(-g, 0) == 0);
    clock_gettime(CLOCK_MONOTONIC, &now);
    if (!alive || now.tv_sec * 1000000000LL + now.tv_nsec >= deadline) break;
    const timespec poll{0, 5 * 1000 * 1000};
    nanosleep(&poll, nullptr);
  }
  int argc = 0;
  g_removeArgv[argc++] = const_cast<char*>("/bin/rm");
  g_removeArgv[argc++] = const_cast<char*>("-rf");
  g_removeArgv[argc++] = const_cast<char*>("--");
  const int fixed = argc;
  for (char* f : g_folders) {
    if (f[0] == '/') g_removeArgv[argc++] = f;
  }
  g_removeArgv[argc] = nullptr;
  if (argc > fixed) execv("/bin/rm", g_removeArgv);
  _exit(0);
}

class Watchdog {
 public:
  static Watchdog& Get() {
    static Watchdog watchdog;
    return watchdog;
  }
  void Tell(const QByteArray& line) {
    if (m_pipe < 0) return;
    const QByteArray text = line + '\n';
    const char* p = text.constData();
    qsizetype left = text.size();
    while (left > 0) {
      const ssize_t n = write(m_pipe, p, static_cast<size_t>(left));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return;
      p += n;
      left -= n;
    }
  }

 private:
  Watchdog() {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return;
    const int devNull = open("/dev/null", O_RDWR | O_CLOEXEC);
    const pid_t middle = fork();
    if (middle == 0) {
      // The watchdog is the grandchild: orphaned at once, it belongs to init.
      if (fork() == 0) Watch(fds[0], devNull);
      _exit(0);
    }
    close(fds[0]);
    if (devNull >= 0) close(devNull);
    if (middle < 0) {
      close(fds[1]);
      return;
    }
    waitpid(middle, nullptr, 0);
    m_pipe = fds[1];
  }
  // The write end stays open for the program's whole life: its closing (by
  // the kernel, however the program ends) is what the watchdog waits for.
  int m_pipe = -1;
};

// --- Starting processes ----------------------------------------------------

QByteArray Local(const QString& s) { return QFile::encodeName(s); }

// Starts `argv` in a process group of its own, as the servers' account, with
// `input` (a file, or /dev/null) as standard input and standard output and
// error appended to `log`. It dies with the calling thread.
pid_t Spawn(const QStringList& args, const QString& input, const QString& log, const QString& folder) {
  std::vector<QByteArray> store;
  for (const QString& a : args) store.push_back(Local(a));
  std::vector<char*> argv;
  for (QByteArray& a : store) argv.push_back(a.data());
  argv.push_back(nullptr);
  std::vector<QByteArray> envStore = {QByteArrayLiteral("PATH=/usr/sbin:/usr/bin:/sbin:/bin"),
                                      QByteArrayLiteral("LC_ALL=C.UTF-8"), "HOME=" + Local(folder),
                                      "TMPDIR=" + Local(folder)};
  std::vector<char*> envp;
  for (QByteArray& e : envStore) envp.push_back(e.data());
  envp.push_back(nullptr);
  const QByteArray directory = Local(folder);

  const int in = open(input.isEmpty() ? "/dev/null" : Local(input).constData(), O_RDONLY | O_CLOEXEC);
  const int out = open(Local(log).constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
  if (in < 0 || out < 0) {
    if (in >= 0) close(in);
    if (out >= 0) close(out);
    Throw(QStringLiteral("cannot open %1 or %2").arg(input, log));
  }
  const Account& account = ServerAccount();
  const pid_t parent = getpid();
  const pid_t pid = fork();
  if (pid == 0) {
    setpgid(0, 0);
    dup2(in, 0);
    dup2(out, 1);
    dup2(out, 2);
    close_range(3, ~0U, 0);
    if (account.drop && (setgroups(0, nullptr) != 0 || setgid(account.gid) != 0 || setuid(account.uid) != 0))
      _exit(126);
    // After the change of account, which clears it.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) _exit(125);
    if (chdir(directory.constData()) != 0) _exit(124);
    execve(argv[0], argv.data(), envp.data());
    _exit(127);
  }
  close(in);
  close(out);
  if (pid < 0) Throw(QStringLiteral("cannot start %1").arg(args.value(0)));
  setpgid(pid, pid);
  Watchdog::Get().Tell("+" + QByteArray::number(pid));
  return pid;
}

// Waits for a process started by Spawn; its exit code, or -1 when it was
// killed by a signal.
int WaitExit(pid_t pid) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  Watchdog::Get().Tell("-" + QByteArray::number(pid));
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// --- Engines ---------------------------------------------------------------

QString PostgresBin() {
  QStringList versions = QDir(QStringLiteral("/usr/lib/postgresql")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
  std::sort(versions.begin(), versions.end(), [](const QString& a, const QString& b) { return a.toInt() > b.toInt(); });
  for (const QString& v : versions) {
    const QString bin = QStringLiteral("/usr/lib/postgresql/%1/bin").arg(v);
    if (QFile::exists(bin + QStringLiteral("/postgres"))) return bin;
  }
  Throw(QStringLiteral("PostgreSQL is not installed (postgresql)"));
}

QString MariadbServerProgram() {
  for (const char* p : {"/usr/sbin/mariadbd", "/usr/libexec/mariadbd", "/usr/sbin/mysqld"}) {
    if (QFile::exists(QString::fromLatin1(p))) return QString::fromLatin1(p);
  }
  Throw(QStringLiteral("MariaDB is not installed (mariadb-server)"));
}

QString MariadbShare() {
  for (const char* p : {"/usr/share/mariadb", "/usr/share/mysql"}) {
    if (QFile::exists(QString::fromLatin1(p) + QStringLiteral("/mysql_system_tables.sql")))
      return QString::fromLatin1(p);
  }
  Throw(QStringLiteral("the MariaDB system tables' scripts are missing (mariadb-server)"));
}

// The server's settings for a test: nothing kept safe on disk, little memory.
QStringList MariadbSettings(const QString& folder) {
  return {QStringLiteral("--no-defaults"),
          QStringLiteral("--datadir=") + folder + QStringLiteral("/data"),
          QStringLiteral("--tmpdir=") + folder,
          QStringLiteral("--skip-log-bin"),
          QStringLiteral("--innodb-buffer-pool-size=16M"),
          QStringLiteral("--innodb-log-file-size=4M"),
          QStringLiteral("--innodb-flush-log-at-trx-commit=0"),
          QStringLiteral("--innodb-doublewrite=0"),
          QStringLiteral("--innodb-flush-method=nosync"),
          QStringLiteral("--character-set-server=utf8mb4"),
          QStringLiteral("--collation-server=utf8mb4_unicode_ci")};
}

QString Tail(const QString& file) {
  QFile f(file);
  if (!f.open(QIODevice::ReadOnly)) return QString();
  const qint64 size = f.size();
  if (size > 4000) f.seek(size - 4000);
  return QString::fromUtf8(f.readAll());
}

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
    Throw(QStringLiteral("cannot write %1").arg(path));
}

void GiveToAccount(const QString& path) {
  const Account& account = ServerAccount();
  if (account.drop && chown(Local(path).constData(), account.uid, account.gid) != 0)
    Throw(QStringLiteral("cannot hand %1 to the servers' account").arg(path));
}

QString Unescaped(const QString& field) {
  QString out;
  out.reserve(field.size());
  for (qsizetype i = 0; i < field.size(); ++i) {
    if (field[i] != QLatin1Char('\\') || i + 1 == field.size()) {
      out += field[i];
      continue;
    }
    const QChar c = field[++i];
    if (c == QLatin1Char('n'))
      out += QLatin1Char('\n');
    else if (c == QLatin1Char('t'))
      out += QLatin1Char('\t');
    else if (c == QLatin1Char('0'))
      out += QChar(0);
    else
      out += c;
  }
  return out;
}

}  // namespace

int FreeLoopbackPort() {
  const int s = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (s < 0) Throw(QStringLiteral("no socket"));
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof(address);
  const bool ok = bind(s, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0 &&
                  getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) == 0;
  close(s);
  if (!ok) Throw(QStringLiteral("no free port on 127.0.0.1"));
  return ntohs(address.sin_port);
}

void RemoveIfProgramDies(const QString& folder) { Watchdog::Get().Tell("F" + Local(QDir(folder).absolutePath())); }

void ForgetFolder(const QString& folder) { Watchdog::Get().Tell("f" + Local(QDir(folder).absolutePath())); }

DbServer::DbServer(DbEngine engine, QString folder, int port)
    : m_engine(engine), m_folder(QDir(folder).absolutePath()), m_port(port), m_fixedPort(port != 0) {}

DbServer::~DbServer() {
  Stop();
  if (m_made) {
    QDir(m_folder).removeRecursively();
    ForgetFolder(m_folder);
  }
}

QString DbServer::Name() const {
  return m_engine == DbEngine::PostgreSql ? QStringLiteral("PostgreSQL") : QStringLiteral("MariaDB");
}

void DbServer::Fail(const QString& what) const {
  const QString log =
      m_folder + (m_engine == DbEngine::PostgreSql ? QStringLiteral("/postgres.log") : QStringLiteral("/mariadb.log"));
  Throw(QStringLiteral("%1: %2\n--- %3:\n%4").arg(Name(), what, log, Tail(log)));
}

void DbServer::BeginCreate() {
  if (QFile::exists(m_folder)) Throw(QStringLiteral("%1 exists already").arg(m_folder));
  if (!QDir().mkpath(m_folder)) Throw(QStringLiteral("cannot make %1").arg(m_folder));
  m_made = true;
  RemoveIfProgramDies(m_folder);
  QFile::setPermissions(m_folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  GiveToAccount(m_folder);
  if (m_port == 0) m_port = FreeLoopbackPort();
  const QString log =
      m_folder + (m_engine == DbEngine::PostgreSql ? QStringLiteral("/postgres.log") : QStringLiteral("/mariadb.log"));
  if (m_engine == DbEngine::PostgreSql) {
    const QString passwordFile = m_folder + QStringLiteral("/password");
    WriteFile(passwordFile, QByteArray(kDbPassword) + '\n');
    GiveToAccount(passwordFile);
    m_pid = Spawn(
        {PostgresBin() + QStringLiteral("/initdb"), QStringLiteral("--pgdata=") + m_folder + QStringLiteral("/data"),
         QStringLiteral("--username=") + QString::fromLatin1(kDbUser), QStringLiteral("--pwfile=") + passwordFile,
         QStringLiteral("--auth=scram-sha-256"), QStringLiteral("--encoding=UTF8"), QStringLiteral("--locale=C.UTF-8"),
         QStringLiteral("--no-sync"), QStringLiteral("--no-instructions")},
        {}, log, m_folder);
    return;
  }
  // What mariadb-install-db does, less the help tables, the sys schema and
  // the GIS procedures, which no test needs and which take seconds to load.
  const QString share = MariadbShare();
  QByteArray script = "CREATE DATABASE IF NOT EXISTS mysql;\nUSE mysql;\nSET @auth_root_socket=NULL;\n";
  for (const char* name : {"mysql_system_tables.sql", "mysql_performance_tables.sql", "mysql_system_tables_data.sql"}) {
    QFile f(share + QLatin1Char('/') + QString::fromLatin1(name));
    if (!f.open(QIODevice::ReadOnly)) Throw(QStringLiteral("cannot read %1").arg(f.fileName()));
    script += f.readAll() + '\n';
  }
  const QString scriptFile = m_folder + QStringLiteral("/bootstrap.sql");
  WriteFile(scriptFile, script);
  const QString data = m_folder + QStringLiteral("/data");
  if (!QDir().mkpath(data)) Throw(QStringLiteral("cannot make %1").arg(data));
  GiveToAccount(data);
  m_pid = Spawn(QStringList{MariadbServerProgram()} + MariadbSettings(m_folder) +
                    QStringList{QStringLiteral("--bootstrap"), QStringLiteral("--log-warnings=0"),
                                QStringLiteral("--enforce-storage-engine=")},
                scriptFile, log, m_folder);
}

void DbServer::BeginServer() {
  const QString log =
      m_folder + (m_engine == DbEngine::PostgreSql ? QStringLiteral("/postgres.log") : QStringLiteral("/mariadb.log"));
  if (m_engine == DbEngine::PostgreSql) {
    m_pid = Spawn({PostgresBin() + QStringLiteral("/postgres"),
                   QStringLiteral("-D"),
                   m_folder + QStringLiteral("/data"),
                   QStringLiteral("-p"),
                   QString::number(m_port),
                   QStringLiteral("-k"),
                   m_folder,
                   QStringLiteral("-c"),
                   QStringLiteral("listen_addresses=127.0.0.1"),
                   QStringLiteral("-c"),
                   QStringLiteral("fsync=off"),
                   QStringLiteral("-c"),
                   QStringLiteral("synchronous_commit=off"),
                   QStringLiteral("-c"),
                   QStringLiteral("full_page_writes=off"),
                   QStringLiteral("-c"),
                   QStringLiteral("max_connections=20"),
                   QStringLiteral("-c"),
                   QStringLiteral("shared_buffers=16MB"),
                   QStringLiteral("-c"),
                   QStringLiteral("autovacuum=off"),
                   QStringLiteral("-c"),
                   QStringLiteral("logging_collector=off")},
                  {}, log, m_folder);
    return;
  }
  m_pid = Spawn(
      QStringList{MariadbServerProgram()} + MariadbSettings(m_folder) +
          QStringList{QStringLiteral("--port=") + QString::number(m_port), QStringLiteral("--bind-address=127.0.0.1"),
                      QStringLiteral("--socket=") + m_folder + QStringLiteral("/mariadb.sock"),
                      QStringLiteral("--pid-file=") + m_folder + QStringLiteral("/mariadb.pid"),
                      QStringLiteral("--skip-name-resolve"), QStringLiteral("--performance-schema=OFF"),
                      QStringLiteral("--max-connections=20")},
      {}, log, m_folder);
}

bool DbServer::Ready() const {
  if (m_engine == DbEngine::PostgreSql) {
    // The postmaster's status, the file's eighth line, says "ready" once it
    // takes connections.
    QFile f(m_folder + QStringLiteral("/data/postmaster.pid"));
    if (!f.open(QIODevice::ReadOnly)) return false;
    const QList<QByteArray> lines = f.readAll().split('\n');
    return lines.size() > 7 && lines[7].trimmed() == "ready";
  }
  // Both its port and its socket take connections: the socket's file is
  // there a moment before the server listens on it, longer on a busy
  // machine, and the set-up's client comes through the socket.
  sockaddr_in tcp = {};
  tcp.sin_family = AF_INET;
  tcp.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  tcp.sin_port = htons(static_cast<uint16_t>(m_port));
  sockaddr_un local = {};
  local.sun_family = AF_UNIX;
  const QByteArray path = QFile::encodeName(m_folder + QStringLiteral("/mariadb.sock"));
  if (path.size() >= static_cast<qsizetype>(sizeof local.sun_path)) return false;
  std::memcpy(local.sun_path, path.constData(), static_cast<size_t>(path.size()));
  const auto accepts = [](int family, const sockaddr* address, socklen_t size) {
    const int s = socket(family, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (s < 0) return false;
    const bool ok = ::connect(s, address, size) == 0;
    close(s);
    return ok;
  };
  return accepts(AF_INET, reinterpret_cast<const sockaddr*>(&tcp), sizeof tcp) &&
         accepts(AF_UNIX, reinterpret_cast<const sockaddr*>(&local), sizeof local);
}

void DbServer::FinishSetUp() {
  if (m_engine == DbEngine::PostgreSql) {
    Execute(QStringLiteral("CREATE DATABASE %1").arg(QString::fromLatin1(kDbDatabase)), QStringLiteral("postgres"));
    return;
  }
  // Only the administrator on the socket keeps its account without a
  // password; the test login is on 127.0.0.1.
  Execute(QStringLiteral("DELETE FROM mysql.global_priv WHERE User = 'root' AND Host <> 'localhost';\n"
                         "DELETE FROM mysql.global_priv WHERE User = '';\n"
                         "FLUSH PRIVILEGES;\n"
                         "CREATE DATABASE %1 CHARACTER SET utf8mb4;\n"
                         "CREATE USER '%2'@'127.0.0.1' IDENTIFIED BY '%3';\n"
                         "GRANT ALL PRIVILEGES ON *.* TO '%2'@'127.0.0.1';\n")
              .arg(QString::fromLatin1(kDbDatabase), QString::fromLatin1(kDbUser), QString::fromLatin1(kDbPassword)),
          QStringLiteral("mysql"));
}

void DbServer::StartAll(const std::vector<DbServer*>& servers) {
  QElapsedTimer clock;
  clock.start();
  for (DbServer* s : servers) {
    if (s->m_pid > 0) Throw(QStringLiteral("%1 runs already").arg(s->Name()));
    s->BeginCreate();
  }
  for (DbServer* s : servers) {
    const pid_t init = s->m_pid;
    s->m_pid = -1;
    if (WaitExit(init) != 0) s->Fail(QStringLiteral("creating the database folder failed"));
    s->BeginServer();
  }
  std::vector<DbServer*> waiting = servers;
  int attempts = 0;
  while (!waiting.empty()) {
    for (auto it = waiting.begin(); it != waiting.end();) {
      DbServer* s = *it;
      if (s->Ready()) {
        s->FinishSetUp();
        s->m_startSeconds = static_cast<double>(clock.elapsed()) / 1000.0;
        it = waiting.erase(it);
        continue;
      }
      int status = 0;
      if (waitpid(s->m_pid, &status, WNOHANG) == s->m_pid) {
        Watchdog::Get().Tell("-" + QByteArray::number(s->m_pid));
        s->m_pid = -1;
        // Someone else took the port between our look and the server's bind.
        if (!s->m_fixedPort && ++attempts < 3) {
          s->m_port = FreeLoopbackPort();
          s->BeginServer();
        } else {
          s->Fail(QStringLiteral("the server stopped while starting"));
        }
      }
      ++it;
    }
    if (clock.elapsed() > 90000) {
      for (DbServer* s : waiting) s->Stop();
      waiting.front()->Fail(QStringLiteral("not taking connections after 90 s"));
    }
    if (!waiting.empty()) std::this_thread::sleep_for(10ms);
  }
}

bool DbServer::IsRunning() {
  if (m_pid <= 0) return false;
  int status = 0;
  if (waitpid(m_pid, &status, WNOHANG) != m_pid) return true;
  Watchdog::Get().Tell("-" + QByteArray::number(m_pid));
  m_pid = -1;
  return false;
}

void DbServer::Stop() {
  if (m_pid <= 0) return;
  // PostgreSQL's fast shutdown (SIGINT) ends the sessions; MariaDB's is SIGTERM.
  kill(m_pid, m_engine == DbEngine::PostgreSql ? SIGINT : SIGTERM);
  const auto deadline = std::chrono::steady_clock::now() + 15s;
  bool reaped = false;
  int status = 0;
  while (!reaped && std::chrono::steady_clock::now() < deadline) {
    reaped = waitpid(m_pid, &status, WNOHANG) == m_pid;
    if (!reaped) std::this_thread::sleep_for(5ms);
  }
  kill(-m_pid, SIGKILL);  // what is left of the group
  if (!reaped) waitpid(m_pid, &status, 0);
  Watchdog::Get().Tell("-" + QByteArray::number(m_pid));
  m_pid = -1;
}

ClientRows DbServer::Query(const QString& sql, const QString& database) const {
  const QString db = database.isEmpty() ? QString::fromLatin1(kDbDatabase) : database;
  QProcess client;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
  QStringList args;
  const QChar unit(0x1f), record(0x1e), null(0x01);
  if (m_engine == DbEngine::PostgreSql) {
    env.insert(QStringLiteral("PGPASSWORD"), QString::fromLatin1(kDbPassword));
    env.insert(QStringLiteral("PGCLIENTENCODING"), QStringLiteral("UTF8"));
    env.insert(QStringLiteral("PGCONNECT_TIMEOUT"), QStringLiteral("10"));
    client.setProgram(PostgresBin() + QStringLiteral("/psql"));
    args = {QStringLiteral("-X"), QStringLiteral("-q"),
            QStringLiteral("-A"), QStringLiteral("-t"),
            QStringLiteral("-v"), QStringLiteral("ON_ERROR_STOP=1"),
            QStringLiteral("-F"), unit,
            QStringLiteral("-R"), record,
            QStringLiteral("-P"), QStringLiteral("null=") + null,
            QStringLiteral("-h"), QStringLiteral("127.0.0.1"),
            QStringLiteral("-p"), QString::number(m_port),
            QStringLiteral("-U"), QString::fromLatin1(kDbUser),
            QStringLiteral("-d"), db,
            QStringLiteral("-f"), QStringLiteral("-")};
  } else {
    client.setProgram(QStringLiteral("mariadb"));
    args = {QStringLiteral("--no-defaults"),
            QStringLiteral("--protocol=socket"),
            QStringLiteral("--socket=") + m_folder + QStringLiteral("/mariadb.sock"),
            QStringLiteral("--user=root"),
            QStringLiteral("--default-character-set=utf8mb4"),
            QStringLiteral("--batch"),
            QStringLiteral("--skip-column-names"),
            db};
  }
  client.setArguments(args);
  client.setProcessEnvironment(env);
  client.start();
  if (!client.waitForStarted(10000)) Throw(QStringLiteral("%1: cannot start its client").arg(Name()));
  client.write(sql.toUtf8());
  client.closeWriteChannel();
  if (!client.waitForFinished(120000)) {
    client.kill();
    client.waitForFinished();
    Throw(QStringLiteral("%1: the client did not finish").arg(Name()));
  }
  if (client.exitStatus() != QProcess::NormalExit || client.exitCode() != 0)
    Throw(QStringLiteral("%1: %2").arg(Name(), QString::fromUtf8(client.readAllStandardError()).trimmed()));
  QString output = QString::fromUtf8(client.readAllStandardOutput());
  ClientRows rows;
  if (m_engine == DbEngine::PostgreSql) {
    if (output.endsWith(QLatin1Char('\n'))) output.chop(1);
    if (output.isEmpty()) return rows;
    for (const QString& line : output.split(record)) {
      std::vector<ClientValue> row;
      for (const QString& field : line.split(unit)) {
        if (field == QString(null))
          row.emplace_back(std::nullopt);
        else
          row.emplace_back(field);
      }
      rows.push_back(std::move(row));
    }
    return rows;
  }
  if (output.endsWith(QLatin1Char('\n'))) output.chop(1);
  if (output.isEmpty()) return rows;
  for (const QString& line : output.split(QLatin1Char('\n'))) {
    std::vector<ClientValue> row;
    for (const QString& field : line.split(QLatin1Char('\t'))) {
      if (field == QLatin1String("NULL"))
        row.emplace_back(std::nullopt);
      else
        row.emplace_back(Unescaped(field));
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

QString OdbcDriverLibrary(DbEngine engine, bool ansi) {
  const QString file = engine == DbEngine::MariaDb ? QStringLiteral("libmaodbc.so")
                       : ansi                      ? QStringLiteral("psqlodbca.so")
                                                   : QStringLiteral("psqlodbcw.so");
  const QStringList folders = QDir(QStringLiteral("/usr/lib")).entryList({QStringLiteral("*-linux-gnu*")}, QDir::Dirs);
  for (const QString& f : folders) {
    const QString path = QStringLiteral("/usr/lib/%1/odbc/%2").arg(f, file);
    if (QFile::exists(path)) return path;
  }
  for (const QString& path : {QStringLiteral("/usr/lib/odbc/") + file, QStringLiteral("/usr/lib64/") + file}) {
    if (QFile::exists(path)) return path;
  }
  return {};
}

void WriteOdbcConfiguration(const QString& folder, const std::vector<OdbcDsn>& sources) {
  const QString postgres = OdbcDriverLibrary(DbEngine::PostgreSql);
  const QString postgresAnsi = OdbcDriverLibrary(DbEngine::PostgreSql, true);
  const QString mariadb = OdbcDriverLibrary(DbEngine::MariaDb);
  if (postgres.isEmpty() || postgresAnsi.isEmpty())
    Throw(QStringLiteral("the PostgreSQL ODBC driver is not installed (odbc-postgresql)"));
  if (mariadb.isEmpty()) Throw(QStringLiteral("the MariaDB ODBC driver is not installed (odbc-mariadb)"));
  const QString drivers = QStringLiteral(
                              "[PostgreSQL Unicode]\nDescription=psqlODBC\nDriver=%1\n\n"
                              "[PostgreSQL ANSI]\nDescription=psqlODBC (ANSI)\nDriver=%2\n\n"
                              "[MariaDB Unicode]\nDescription=MariaDB Connector/ODBC\nDriver=%3\n")
                              .arg(postgres, postgresAnsi, mariadb);
  QString names;
  for (const OdbcDsn& s : sources) {
    const bool pg = s.engine == DbEngine::PostgreSql;
    names += QStringLiteral("[%1]\n").arg(s.name);
    names += pg ? QStringLiteral("Driver=PostgreSQL %1\nServername=127.0.0.1\n")
                      .arg(s.ansi ? QStringLiteral("ANSI") : QStringLiteral("Unicode"))
                : QStringLiteral("Driver=MariaDB Unicode\nServer=127.0.0.1\n");
    names += QStringLiteral("Port=%1\nDatabase=%2\n").arg(s.port).arg(s.database);
    if (s.storesLogin) {
      names += (pg ? QStringLiteral("Username=%1\nPassword=%2\n") : QStringLiteral("UID=%1\nPWD=%2\n"))
                   .arg(QString::fromLatin1(kDbUser), QString::fromLatin1(kDbPassword));
    }
    names += QLatin1Char('\n');
  }
  const QString dir = QDir(folder).absolutePath();
  WriteFile(dir + QStringLiteral("/odbcinst.ini"), drivers.toUtf8());
  WriteFile(dir + QStringLiteral("/odbc.ini"), names.toUtf8());
  qputenv("ODBCSYSINI", Local(dir));
  qputenv("ODBCINI", Local(dir + QStringLiteral("/odbc.ini")));
}

}  // namespace pv::test
