#include "properties/picturefiles.h"

#include <QDir>
#include <QFileInfo>

namespace pv {

QStringList ListPickerFiles(const QString& folder, const QString& extension) {
  const QDir dir(folder);
  QStringList files;
  if (!dir.exists()) return files;
  const QFileInfoList entries = dir.entryInfoList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
  for (const QFileInfo& entry : entries) {
    if (entry.isSymLink() && !entry.exists()) continue;
    if (entry.suffix().compare(extension, Qt::CaseInsensitive) != 0 || entry.completeBaseName().isEmpty()) continue;
    files << dir.filePath(entry.fileName());
    if (files.size() == kMaxPickerFiles) break;
  }
  return files;
}

}  // namespace pv
