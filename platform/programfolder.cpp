#include "platform/programfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>

#include <unistd.h>

namespace pv {
namespace {

QString g_tempFolder;

QString ExecutableFolder() {
  if (QCoreApplication::instance() != nullptr) return QCoreApplication::applicationDirPath();
  const QFileInfo exe(QStringLiteral("/proc/self/exe"));
  return QFileInfo(exe.symLinkTarget()).absolutePath();
}

}  // namespace

QString ProgramFolder() {
  const QByteArray home = qgetenv("PLAVIK_HOME");
  if (!home.isEmpty()) return QDir::cleanPath(QString::fromLocal8Bit(home));
  return QDir::cleanPath(ExecutableFolder());
}

QString ResolvePathCase(const QString& path) {
  QString p = path;
  p.replace(QLatin1Char('\\'), QLatin1Char('/'));
  if (QFileInfo::exists(p)) return p;
  const bool absolute = p.startsWith(QLatin1Char('/'));
  const QStringList parts = p.split(QLatin1Char('/'), Qt::SkipEmptyParts);
  QString current = absolute ? QStringLiteral("/") : QString();
  for (int i = 0; i < parts.size(); ++i) {
    const QString& part = parts[i];
    const QString base = current.isEmpty() ? QStringLiteral(".") : current;
    QString next =
        current.isEmpty() || current.endsWith(QLatin1Char('/')) ? current + part : current + QLatin1Char('/') + part;
    if (!QFileInfo::exists(next) && part != QLatin1String(".") && part != QLatin1String("..")) {
      const QStringList entries =
          QDir(base).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
      for (const QString& e : entries) {
        if (e.compare(part, Qt::CaseInsensitive) == 0) {
          next = current.isEmpty() || current.endsWith(QLatin1Char('/')) ? current + e : current + QLatin1Char('/') + e;
          break;
        }
      }
    }
    current = next;
    if (!QFileInfo::exists(current)) {
      // Nothing further can match: keep the rest as spelled.
      for (int j = i + 1; j < parts.size(); ++j) current += QLatin1Char('/') + parts[j];
      return current;
    }
  }
  return current;
}

QString ProgramPath(const QString& relative) {
  QString rel = relative;
  rel.replace(QLatin1Char('\\'), QLatin1Char('/'));
  while (rel.startsWith(QLatin1Char('/'))) rel.remove(0, 1);
  return ResolvePathCase(ProgramFolder() + QLatin1Char('/') + rel);
}

QString TempImageFolder() {
  if (g_tempFolder.isEmpty() || !QFileInfo(g_tempFolder).isDir()) {
    g_tempFolder.clear();
    // mkdtemp makes the folder with a name nobody else can predict and rights
    // for this user only; an existing folder is never reused.
    QTemporaryDir folder(QDir::tempPath() +
                         QStringLiteral("/plavik-%1-XXXXXX").arg(static_cast<qulonglong>(::getpid())));
    if (folder.isValid()) {
      folder.setAutoRemove(false);
      g_tempFolder = folder.path() + QLatin1Char('/');
    }
  }
  return g_tempFolder;
}

QString TempImageFile(const QString& fileName) {
  const QString folder = TempImageFolder();
  return folder.isEmpty() ? QString() : folder + fileName;
}

void ClearTempImageFolder() {
  if (g_tempFolder.isEmpty()) return;
  QDir dir(g_tempFolder);
  const QStringList files = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
  for (const QString& f : files) dir.remove(f);
}

void RemoveTempImageFolder() {
  if (g_tempFolder.isEmpty()) return;
  QDir(g_tempFolder).removeRecursively();
  g_tempFolder.clear();
}

}  // namespace pv
