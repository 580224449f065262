#include "tests/support/cupsd.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>

#include <cups/cups.h>

#include <arpa/inet.h>
#include <grp.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>

namespace pv::test {
namespace {

const QStringList kSbin{QStringLiteral("/usr/sbin"), QStringLiteral("/usr/local/sbin"), QStringLiteral("/sbin")};

QString Tool(const QString& name) {
  QString path = QStandardPaths::findExecutable(name);
  if (path.isEmpty()) path = QStandardPaths::findExecutable(name, kSbin);
  return path;
}

// The folder of CUPS's filters and backends.
QString ServerBin() {
  for (const char* dir : {"/usr/lib/cups", "/usr/libexec/cups", "/usr/local/lib/cups"}) {
    if (QFileInfo::exists(QString::fromLatin1(dir) + QStringLiteral("/filter/pdftopdf")))
      return QString::fromLatin1(dir);
  }
  return QString();
}

// A port of 127.0.0.1 that nothing listens on just now.
int FreePort() {
  const int s = ::socket(AF_INET, SOCK_STREAM, 0);
  if (s < 0) return 0;
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  a.sin_port = 0;
  socklen_t len = sizeof a;
  int port = 0;
  if (::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
      ::getsockname(s, reinterpret_cast<sockaddr*>(&a), &len) == 0)
    port = ntohs(a.sin_port);
  ::close(s);
  return port;
}

bool Answers(int port) {
  const int s = ::socket(AF_INET, SOCK_STREAM, 0);
  if (s < 0) return false;
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  a.sin_port = htons(std::uint16_t(port));
  const bool ok = ::connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
  ::close(s);
  return ok;
}

bool WriteFile(const QString& path, const QByteArray& text) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(text) == text.size() && f.flush();
}

// A PDF printer driver: the job's PDF goes through pdftopdf onto the chosen
// paper (the default when the job names none) and comes out as PDF.
QByteArray PaperPpd(const QString& defaultPaper) {
  QByteArray ppd(R"PPD(*PPD-Adobe: "4.3"
*FormatVersion: "4.3"
*FileVersion: "1.0"
*LanguageVersion: English
*LanguageEncoding: ISOLatin1
*PCFileName: "PLAVIKT.PPD"
*Manufacturer: "plavik tests"
*Product: "(plavik test paper printer)"
*ModelName: "plavik test paper printer"
*ShortNickName: "plavik test paper printer"
*NickName: "plavik test paper printer"
*PSVersion: "(3010.000) 0"
*LanguageLevel: "3"
*ColorDevice: True
*DefaultColorSpace: RGB
*FileSystem: False
*Throughput: "1"
*LandscapeOrientation: Plus90
*TTRasterizer: Type42
*cupsVersion: 2.4
*cupsFilter2: "application/vnd.cups-pdf application/pdf 0 -"
*OpenUI *PageSize/Media Size: PickOne
*OrderDependency: 10 AnySetup *PageSize
*DefaultPageSize: @PAPER@
*PageSize Letter/US Letter: "<</PageSize[612 792]>>setpagedevice"
*PageSize A4/A4: "<</PageSize[595 842]>>setpagedevice"
*CloseUI: *PageSize
*OpenUI *PageRegion/Media Size: PickOne
*OrderDependency: 10 AnySetup *PageRegion
*DefaultPageRegion: @PAPER@
*PageRegion Letter/US Letter: "<</PageSize[612 792]>>setpagedevice"
*PageRegion A4/A4: "<</PageSize[595 842]>>setpagedevice"
*CloseUI: *PageRegion
*DefaultImageableArea: @PAPER@
*ImageableArea Letter/US Letter: "0 0 612 792"
*ImageableArea A4/A4: "0 0 595 842"
*DefaultPaperDimension: @PAPER@
*PaperDimension Letter/US Letter: "612 792"
*PaperDimension A4/A4: "595 842"
*VariablePaperSize: True
*MaxMediaWidth: "1440"
*MaxMediaHeight: "14400"
*HWMargins: 0 0 0 0
*CustomPageSize True: "pop pop pop <</PageSize[5 -2 roll]/ImagingBBox null>>setpagedevice"
*ParamCustomPageSize Width: 1 points 36 1440
*ParamCustomPageSize Height: 2 points 36 14400
*ParamCustomPageSize WidthOffset: 3 points 0 0
*ParamCustomPageSize HeightOffset: 4 points 0 0
*ParamCustomPageSize Orientation: 5 int 0 0
*DefaultFont: Courier
*Font Courier: Standard "(002.004S)" Standard ROM
)PPD");
  return ppd.replace("@PAPER@", defaultPaper.toLatin1());
}

// The backend of the raw queues: writes the job's file (or standard input)
// to the path of its device URI.
constexpr char kFileBackend[] = R"(#!/bin/sh
if [ $# -eq 0 ]; then
  echo 'file plavikfile "Unknown" "plavik test file"'
  exit 0
fi
out="${DEVICE_URI#plavikfile:}"
if [ $# -ge 6 ]; then
  cat "$6" > "$out.part" || exit 1
else
  cat > "$out.part" || exit 1
fi
mv "$out.part" "$out"
)";

void SetReason(QString* reason, const QString& text) {
  if (reason) *reason = text;
}

}  // namespace

CupsServer::CupsServer() = default;

CupsServer::~CupsServer() { Stop(); }

QString CupsServer::MissingReason() {
  QStringList missing;
  for (const char* tool : {"cupsd", "lpadmin", "cupsdisable", "lpstat"}) {
    if (Tool(QString::fromLatin1(tool)).isEmpty()) missing << QString::fromLatin1(tool);
  }
  if (ServerBin().isEmpty()) missing << QStringLiteral("pdftopdf");
  if (missing.isEmpty()) return QString();
  return QStringLiteral("CUPS is not installed (missing %1; Debian packages cups-daemon, cups-client, cups-filters)")
      .arg(missing.join(QStringLiteral(", ")));
}

QString CupsServer::Address() const { return QStringLiteral("127.0.0.1:%1").arg(m_port); }

bool CupsServer::Running() const { return m_cupsd.state() == QProcess::Running; }

bool CupsServer::WriteConfig(QString* reason) {
  const QString root = m_dir->path();
  for (const char* sub : {"spool", "spool/temp", "log", "cache", "state", "out", "bin/backend"}) {
    if (!QDir(root).mkpath(QString::fromLatin1(sub))) {
      SetReason(reason, QStringLiteral("cannot make %1/%2").arg(root, QString::fromLatin1(sub)));
      return false;
    }
  }
  // The system's filters and helpers, and a backend of ours beside its
  // backends: a raw queue runs no filter, so only a backend writes its file.
  const QString system = ServerBin();
  const QString bin = root + QStringLiteral("/bin");
  for (const QString& sub : QDir(system).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
    if (sub != QLatin1String("backend")) QFile::link(system + QLatin1Char('/') + sub, bin + QLatin1Char('/') + sub);
  }
  for (const QString& b : QDir(system + QStringLiteral("/backend")).entryList(QDir::Files))
    QFile::link(system + QStringLiteral("/backend/") + b, bin + QStringLiteral("/backend/") + b);
  const QString backend = bin + QStringLiteral("/backend/plavikfile");
  if (!WriteFile(backend, kFileBackend) ||
      !QFile::setPermissions(backend, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                                          QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                          QFileDevice::ExeOther)) {
    SetReason(reason, QStringLiteral("cannot write ") + backend);
    return false;
  }
  uid_t uid = ::getuid();
  gid_t gid = ::getgid();
  if (m_asNobody) {
    const passwd* pw = ::getpwnam("nobody");
    if (pw == nullptr) {
      SetReason(reason, QStringLiteral("the tests run as root and there is no account \"nobody\" to run cupsd as"));
      return false;
    }
    uid = pw->pw_uid;
    gid = pw->pw_gid;
  }
  const passwd* user = ::getpwuid(uid);
  const group* grp = ::getgrgid(gid);
  if (user == nullptr || grp == nullptr) {
    SetReason(reason, QStringLiteral("no name for uid %1 / gid %2").arg(uid).arg(gid));
    return false;
  }
  const QByteArray r = root.toUtf8();
  const QByteArray files =
      "ServerRoot " + r + "\nRequestRoot " + r + "/spool\nTempDir " + r + "/spool/temp\nCacheDir " + r +
      "/cache\nStateDir " + r + "/state\nAccessLog " + r + "/log/access_log\nErrorLog " + r +
      "/log/error_log\nPageLog " + r + "/log/page_log\nPrintcap " + r + "/state/printcap\nServerBin " + r + "/bin" +
      "\nFileDevice Yes\nUser " + user->pw_name + "\nGroup " + grp->gr_name + "\nSystemGroup " + grp->gr_name + "\n";
  const QByteArray conf = "Listen 127.0.0.1:" + QByteArray::number(m_port) +
                          "\nLogLevel debug\nBrowsing No\nBrowseLocalProtocols none\nDefaultAuthType None\n"
                          "WebInterface No\nMaxJobs 0\nPreserveJobHistory Yes\nErrorPolicy abort-job\n"
                          "<Policy default>\nJobPrivateAccess all\nJobPrivateValues none\n"
                          "SubscriptionPrivateAccess all\nSubscriptionPrivateValues none\n"
                          "<Limit All>\nOrder Deny,Allow\n</Limit>\n</Policy>\n";
  if (!WriteFile(root + QStringLiteral("/cups-files.conf"), files) ||
      !WriteFile(root + QStringLiteral("/cupsd.conf"), conf)) {
    SetReason(reason, QStringLiteral("cannot write the configuration in %1").arg(root));
    return false;
  }
  if (m_asNobody) {
    // The folder becomes the account's, so the scheduler and its filters can
    // write where they must.
    const QStringList all = QStringList{root} + [&] {
      QStringList paths;
      for (const char* sub : {"spool", "spool/temp", "log", "cache", "state", "out", "bin", "bin/backend",
                              "cups-files.conf", "cupsd.conf"})
        paths << root + QLatin1Char('/') + QString::fromLatin1(sub);
      return paths;
    }();
    for (const QString& p : all) {
      if (::chown(QFile::encodeName(p).constData(), uid, gid) != 0) {
        SetReason(reason, QStringLiteral("cannot hand %1 to nobody").arg(p));
        return false;
      }
    }
  }
  QFile::setPermissions(root, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                                  QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                  QFileDevice::ExeOther);
  return true;
}

bool CupsServer::Start(QString* reason) {
  if (Running()) return true;
  if (const QString missing = MissingReason(); !missing.isEmpty()) {
    SetReason(reason, missing);
    return false;
  }
  m_asNobody = ::geteuid() == 0;
  // The account must reach the folder: under root's own temporary folder it
  // might not.
  const QString base = m_asNobody ? QStringLiteral("/tmp") : QDir::tempPath();
  for (int attempt = 0; attempt < 3; ++attempt) {
    m_dir = std::make_unique<QTemporaryDir>(base + QStringLiteral("/plavik-cupsd-XXXXXX"));
    m_port = FreePort();
    if (!m_dir->isValid() || m_port == 0) {
      SetReason(reason, QStringLiteral("no temporary folder or no free port"));
      return false;
    }
    if (!WriteConfig(reason)) return false;

    uid_t uid = 0;
    gid_t gid = 0;
    if (m_asNobody) {
      const passwd* pw = ::getpwnam("nobody");
      uid = pw->pw_uid;
      gid = pw->pw_gid;
    }
    const bool drop = m_asNobody;
    m_cupsd.setChildProcessModifier([drop, uid, gid] {
      if (drop && (::setgroups(0, nullptr) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0)) ::_exit(126);
    });
    m_cupsd.setProcessChannelMode(QProcess::MergedChannels);
    m_cupsd.setStandardOutputFile(m_dir->filePath(QStringLiteral("log/stdout")));
    m_cupsd.start(Tool(QStringLiteral("cupsd")),
                  {QStringLiteral("-f"), QStringLiteral("-c"), m_dir->filePath(QStringLiteral("cupsd.conf")),
                   QStringLiteral("-s"), m_dir->filePath(QStringLiteral("cups-files.conf"))});
    if (!m_cupsd.waitForStarted(10000)) {
      SetReason(reason, QStringLiteral("cupsd does not start: ") + m_cupsd.errorString());
      return false;
    }
    const QDeadlineTimer deadline(15000);
    while (Running() && !Answers(m_port) && !deadline.hasExpired()) QThread::msleep(50);
    if (Running() && Answers(m_port)) {
      const QByteArray address = Address().toLatin1();
      if (!m_addressSet) {
        m_hadServerEnv = qEnvironmentVariableIsSet("CUPS_SERVER");
        m_oldServerEnv = qgetenv("CUPS_SERVER");
      }
      m_addressSet = true;
      qputenv("CUPS_SERVER", address);
      cupsSetServer(address.constData());
      return true;
    }
    // Another program may have taken the port meanwhile: try another one.
    QString log = ErrorLog();
    QFile out(m_dir->filePath(QStringLiteral("log/stdout")));
    if (out.open(QIODevice::ReadOnly)) log += QString::fromUtf8(out.readAll());
    SetReason(reason, QStringLiteral("cupsd did not answer on %1:\n%2").arg(Address(), log.right(3000)));
    if (Running()) {
      m_cupsd.kill();
      m_cupsd.waitForFinished(5000);
    }
  }
  return false;
}

void CupsServer::Stop(bool keepAddress) {
  if (m_cupsd.state() != QProcess::NotRunning) {
    m_cupsd.terminate();
    if (!m_cupsd.waitForFinished(10000)) {
      m_cupsd.kill();
      m_cupsd.waitForFinished(5000);
    }
  }
  if (m_addressSet && !keepAddress) {
    if (m_hadServerEnv) {
      qputenv("CUPS_SERVER", m_oldServerEnv);
    } else {
      qunsetenv("CUPS_SERVER");
    }
    cupsSetServer(m_hadServerEnv ? m_oldServerEnv.constData() : nullptr);
    m_addressSet = false;
  }
}

bool CupsServer::Admin(const QString& tool, QStringList args, QString* reason) {
  if (!Running()) {
    SetReason(reason, QStringLiteral("cupsd is not running"));
    return false;
  }
  QProcess p;
  args.prepend(Address());
  args.prepend(QStringLiteral("-h"));
  p.start(Tool(tool), args);
  if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
    SetReason(reason, tool + QLatin1Char(' ') + args.join(QLatin1Char(' ')) + QStringLiteral(": ") +
                          QString::fromUtf8(p.readAllStandardError()));
    return false;
  }
  return true;
}

QString CupsServer::OutputFile(const QString& queue) const {
  return m_dir ? m_dir->filePath(QStringLiteral("out/") + queue + QStringLiteral(".out")) : QString();
}

void CupsServer::ClearOutput(const QString& queue) const { QFile::remove(OutputFile(queue)); }

bool CupsServer::AddRawQueue(const QString& name, QString* reason) {
  return Admin(QStringLiteral("lpadmin"),
               {QStringLiteral("-p"), name, QStringLiteral("-E"), QStringLiteral("-v"),
                QStringLiteral("plavikfile:") + OutputFile(name), QStringLiteral("-m"), QStringLiteral("raw")},
               reason);
}

bool CupsServer::AddPaperQueue(const QString& name, const QString& defaultPaper, QString* reason) {
  const QString ppd = m_dir->filePath(name + QStringLiteral(".ppd"));
  if (!WriteFile(ppd, PaperPpd(defaultPaper))) {
    SetReason(reason, QStringLiteral("cannot write ") + ppd);
    return false;
  }
  return Admin(QStringLiteral("lpadmin"),
               {QStringLiteral("-p"), name, QStringLiteral("-E"), QStringLiteral("-v"),
                QStringLiteral("file:") + OutputFile(name), QStringLiteral("-P"), ppd},
               reason);
}

bool CupsServer::SetDefault(const QString& name, QString* reason) {
  return Admin(QStringLiteral("lpadmin"), {QStringLiteral("-d"), name}, reason);
}

bool CupsServer::Disable(const QString& name, QString* reason) {
  return Admin(QStringLiteral("cupsdisable"), {name}, reason);
}

bool CupsServer::Delete(const QString& name, QString* reason) {
  return Admin(QStringLiteral("lpadmin"), {QStringLiteral("-x"), name}, reason);
}

std::vector<CupsServer::Job> CupsServer::Jobs(const QString& queue) const {
  std::vector<Job> result;
  if (!Running()) return result;
  http_t* http = httpConnect2("127.0.0.1", m_port, nullptr, AF_INET, HTTP_ENCRYPTION_IF_REQUESTED, 1, 10000, nullptr);
  if (http == nullptr) return result;
  cups_job_t* jobs = nullptr;
  const QByteArray name = queue.toUtf8();
  const int n = cupsGetJobs2(http, &jobs, queue.isEmpty() ? nullptr : name.constData(), 0, CUPS_WHICHJOBS_ALL);
  for (int i = 0; i < n; ++i) {
    result.push_back(
        Job{jobs[i].id, QString::fromUtf8(jobs[i].dest), QString::fromUtf8(jobs[i].title), int(jobs[i].state)});
  }
  cupsFreeJobs(n, jobs);
  httpClose(http);
  return result;
}

bool CupsServer::WaitUntilIdle(const QString& queue, int timeoutMs) const {
  const QDeadlineTimer deadline(timeoutMs);
  do {
    bool busy = false;
    for (const Job& j : Jobs(queue)) busy = busy || j.state < IPP_JSTATE_CANCELED;
    if (!busy) return true;
    QThread::msleep(50);
  } while (!deadline.hasExpired());
  return false;
}

QByteArray CupsServer::WaitForOutput(const QString& queue, int timeoutMs) const {
  if (!WaitUntilIdle(queue, timeoutMs)) return QByteArray();
  QFile f(OutputFile(queue));
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString CupsServer::ErrorLog() const {
  if (!m_dir) return QString();
  QFile f(m_dir->filePath(QStringLiteral("log/error_log")));
  return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

}  // namespace pv::test
