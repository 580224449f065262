#include "printing/replacingfile.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pv {
namespace {

// The file a chain of symbolic links ends in (the target itself when it is
// none); a loop is left to the opening of the folder to refuse.
QString LinkEnd(const QString& target) {
  QString path = target;
  for (int hops = 0; hops < 40; ++hops) {
    const QFileInfo info(path);
    if (!info.isSymLink()) break;
    path = info.symLinkTarget();
  }
  return path;
}

// Gives the new file a hidden name beside the target, another at each try
// while `make(name)` finds the name taken: true, with the name, once it
// succeeds.
template <class Make>
bool TakeName(const QString& target, const Make& make, QString* taken) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    const QByteArray name =
        QFile::encodeName(QStringLiteral(".%1.%2-%3").arg(QFileInfo(target).fileName()).arg(::getpid()).arg(attempt));
    if (make(name.constData())) {
      *taken = QFile::decodeName(name);
      return true;
    }
    if (errno != EEXIST) return false;
  }
  return false;
}

}  // namespace

ReplacingFile::~ReplacingFile() { Discard(); }

bool ReplacingFile::Open(const QString& target) {
  Discard();
  m_target = LinkEnd(QFileInfo(target).absoluteFilePath());
  const QFileInfo info(m_target);
  m_dir = ::open(QFile::encodeName(info.absolutePath()).constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  if (m_dir < 0) return false;
  // A file without a name until it is whole: nothing is left of it when the
  // program ends on the way. Where the folder cannot hold one, or the writer
  // cannot reach it through /proc, it gets a hidden name at once.
  m_fd = ::openat(m_dir, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
  if (m_fd >= 0) {
    m_writePath = QStringLiteral("/proc/self/fd/%1").arg(m_fd);
    if (::access(QFile::encodeName(m_writePath).constData(), W_OK) != 0) {
      ::close(m_fd);
      m_fd = -1;
      errno = EOPNOTSUPP;
    }
  }
  if (m_fd < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
    TakeName(
        m_target,
        [&](const char* name) {
          m_fd = ::openat(m_dir, name, O_CREAT | O_EXCL | O_RDWR | O_CLOEXEC, 0666);
          return m_fd >= 0;
        },
        &m_named);
    m_writePath = info.absoluteDir().filePath(m_named);
  }
  if (m_fd < 0) {
    Discard();
    return false;
  }
  struct stat previous {};
  if (::fstatat(m_dir, QFile::encodeName(info.fileName()).constData(), &previous, 0) == 0 && S_ISREG(previous.st_mode))
    ::fchmod(m_fd, previous.st_mode & 07777);
  return true;
}

bool ReplacingFile::Commit() {
  if (m_fd < 0) return false;
  // No fsync: a job's file may be tens of megabytes, and the rename over the
  // target is what keeps the previous file whole should the job fail.
  // The nameless file gets a name beside the target first: a folder made
  // read-only meanwhile refuses it, and the file goes with its descriptor.
  const QByteArray self = QFile::encodeName(m_writePath);
  bool ok =
      !m_named.isEmpty() ||
      TakeName(
          m_target,
          [&](const char* name) { return ::linkat(AT_FDCWD, self.constData(), m_dir, name, AT_SYMLINK_FOLLOW) == 0; },
          &m_named);
  if (ok) {
    ok = ::renameat(m_dir, QFile::encodeName(m_named).constData(), m_dir,
                    QFile::encodeName(QFileInfo(m_target).fileName()).constData()) == 0;
    if (ok) m_named.clear();
  }
  Discard();
  return ok;
}

void ReplacingFile::Discard() {
  if (m_dir >= 0 && !m_named.isEmpty()) ::unlinkat(m_dir, QFile::encodeName(m_named).constData(), 0);
  m_named.clear();
  if (m_fd >= 0) ::close(m_fd);
  if (m_dir >= 0) ::close(m_dir);
  m_fd = m_dir = -1;
  m_writePath.clear();
}

}  // namespace pv
