#include "platform/programfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>

#include <cerrno>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pv {
namespace {

QString g_tempFolder;

// Where the install puts the program's own files, from its bin folder.
constexpr char kInstalledDataFolder[] = "../share/plavik";

QString ExecutableFolder() {
  if (QCoreApplication::instance() != nullptr) return QCoreApplication::applicationDirPath();
  const QFileInfo exe(QStringLiteral("/proc/self/exe"));
  return QFileInfo(exe.symLinkTarget()).absolutePath();
}

QString HomeFolder(const std::function<QByteArray(const char*)>& env) {
  const QByteArray home = env("HOME");
  if (!home.isEmpty()) return QFile::decodeName(home);
  // Without HOME (a service, a stripped environment): the account's own.
  if (const passwd* pw = ::getpwuid(::getuid()); pw != nullptr && pw->pw_dir != nullptr) {
    return QFile::decodeName(pw->pw_dir);
  }
  return QDir::homePath();
}

// $variable/plavik; a relative or empty value is ignored, as the XDG base
// directory rules say, and $HOME/fallback/plavik used instead.
QString XdgFolder(const std::function<QByteArray(const char*)>& env, const char* variable, const char* fallback) {
  QString base = QFile::decodeName(env(variable));
  if (!QDir::isAbsolutePath(base)) base = HomeFolder(env) + QLatin1Char('/') + QLatin1String(fallback);
  return QDir::cleanPath(base + QStringLiteral("/plavik"));
}

// The program folder alone (it is asked for often, the user's folders seldom).
QString ProgramFolderFor(const QString& executableFolder, const std::function<QByteArray(const char*)>& env,
                         bool* installed) {
  *installed = false;
  const QByteArray home = env("PLAVIK_HOME");
  if (!home.isEmpty()) return QDir::cleanPath(QFile::decodeName(home));
  const QString exe = QDir::cleanPath(executableFolder);
  const QString data = QDir::cleanPath(exe + QLatin1Char('/') + QLatin1String(kInstalledDataFolder));
  *installed = QFileInfo(exe).fileName() == QLatin1String("bin") && QFileInfo(data).isDir();
  return *installed ? data : exe;
}

bool WritableByThisUser(const QString& folder) {
  return ::access(QFile::encodeName(folder).constData(), W_OK | X_OK) == 0;
}

FolderLayout CurrentLayout() {
  return LayoutFor(
      ExecutableFolder(), [](const char* name) { return qgetenv(name); }, WritableByThisUser);
}

// Makes `folder` and any missing parent with rights for this user only.
bool MakeUserFolder(const QString& folder) {
  if (QFileInfo(folder).isDir()) return true;
  const QString parent = QFileInfo(folder).absolutePath();
  if (parent != folder && !MakeUserFolder(parent)) return false;
  return ::mkdir(QFile::encodeName(folder).constData(), 0700) == 0 || errno == EEXIST;
}

QString UserFile(const QString& folder, const QString& name) {
  MakeUserFolder(folder);
  return ResolvePathCase(folder + QLatin1Char('/') + name);
}

}  // namespace

FolderLayout LayoutFor(const QString& executableFolder, const std::function<QByteArray(const char*)>& env,
                       const std::function<bool(const QString&)>& writable) {
  bool installed = false;
  const QString program = ProgramFolderFor(executableFolder, env, &installed);
  if (!env("PLAVIK_HOME").isEmpty() || (!installed && writable(program))) return {program, program, program};
  return {program, XdgFolder(env, "XDG_CONFIG_HOME", ".config"), XdgFolder(env, "XDG_DATA_HOME", ".local/share")};
}

QString ProgramFolder() {
  bool installed = false;
  return ProgramFolderFor(
      ExecutableFolder(), [](const char* name) { return qgetenv(name); }, &installed);
}

QString UserSettingsFolder() { return CurrentLayout().settings; }

QString UserDataFolder() { return CurrentLayout().data; }

QString UserSettingsPath(const QString& name) { return UserFile(UserSettingsFolder(), name); }

QString UserDataPath(const QString& name) { return UserFile(UserDataFolder(), name); }

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
