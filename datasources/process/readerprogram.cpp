#include "datasources/process/readerprocess.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <mutex>

namespace pv {

namespace {

std::mutex g_mutex;
ReaderProcessSettings g_settings;

bool IsProgram(const QString& path) {
  const QFileInfo info(path);
  return info.isFile() && info.isExecutable();
}

}  // namespace

ReaderProcessSettings ReaderSettings() {
  std::lock_guard lock(g_mutex);
  return g_settings;
}

void SetReaderSettings(const ReaderProcessSettings& settings) {
  std::lock_guard lock(g_mutex);
  g_settings = settings;
}

QString ReaderProgram() {
  const QString name = QStringLiteral("plavik-reader");
  // Without an application object (tools, benches): where this executable is.
  const QString here =
      QCoreApplication::instance() != nullptr
          ? QCoreApplication::applicationDirPath()
          : QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath().section(QLatin1Char('/'), 0, -2);
  // Beside the program (the build), in the install's lib/plavik (bin/../lib/plavik),
  // or in the build's program folder.
  for (const QString& dir : {here, here + QStringLiteral("/../lib/plavik"), QStringLiteral(PLAVIK_READER_DIR)}) {
    const QString path = QDir(dir).filePath(name);
    if (!dir.isEmpty() && IsProgram(path)) return path;
  }
  return {};
}

}  // namespace pv
