#include "app/dialogfolders.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace pv {

namespace {

QString Settings::*KeptFolder(FileKind kind) {
  switch (kind) {
    case FileKind::Labels: return &Settings::LabelFolder;
    case FileKind::Pictures: return &Settings::PictureFolder;
    case FileKind::DataFiles: return &Settings::DataFolder;
    case FileKind::Other: break;
  }
  return nullptr;
}

// A folder that can be opened: absolute and there. A key the settings file
// does not hold reads as "0", which is neither.
bool Usable(const QString& folder) {
  const QFileInfo info(folder);
  return !folder.isEmpty() && info.isAbsolute() && info.isDir();
}

}  // namespace

QString DialogStartFolder(const FileDialogRequest& request, const Settings& settings) {
  if (!request.fileName.isEmpty()) {
    const QFileInfo name(request.fileName);
    if (name.isAbsolute() || request.fileName.contains(QLatin1Char('/'))) return name.absolutePath();
  }
  if (QString Settings::*kept = KeptFolder(request.kind); kept != nullptr && Usable(settings.*kept)) {
    return settings.*kept;
  }
  const QString usual = QStandardPaths::writableLocation(
      request.kind == FileKind::Pictures ? QStandardPaths::PicturesLocation : QStandardPaths::DocumentsLocation);
  return Usable(usual) ? usual : QDir::homePath();
}

void RememberDialogFolder(FileKind kind, const QString& chosen, Settings& settings) {
  if (QString Settings::*kept = KeptFolder(kind); kept != nullptr && !chosen.isEmpty()) {
    settings.*kept = QFileInfo(chosen).absolutePath();
  }
}

}  // namespace pv
