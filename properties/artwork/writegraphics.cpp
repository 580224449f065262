#include "properties/artwork/designs.h"

#include <QDir>
#include <QFile>

namespace pv::artwork {

namespace {

constexpr int kBackgroundWidth = 600;
constexpr int kBackgroundHeight = 400;

bool SaveImage(const QImage& image, const QString& fileName, const char* format) {
  const QString temp = fileName + QStringLiteral(".part");
  if (!image.save(temp, format, format[0] == 'j' ? 92 : -1)) return false;
  QFile::remove(fileName);
  return QFile::rename(temp, fileName);
}

}  // namespace

int WriteProgramGraphics(const QString& programFolder) {
  const QDir root(programFolder);
  int failures = 0;
  for (const ClipDesign& c : ClipArtDesigns()) {
    const QString folder = root.filePath(QStringLiteral("clipart/clip%1").arg(c.category));
    QDir().mkpath(folder);
    EmfWriter w(QDir(folder).filePath(QString::fromLatin1(c.name) + QStringLiteral(".emf")), kClipSize, kClipSize);
    c.draw(w);
    failures += w.Save() ? 0 : 1;
  }
  const QString borders = root.filePath(QStringLiteral("graphics/border"));
  QDir().mkpath(borders);
  for (const BorderDesign& b : BorderDesigns()) {
    EmfWriter w(QDir(borders).filePath(QString::fromLatin1(b.name) + QStringLiteral(".emf")), kBorderWidth,
                kBorderHeight);
    b.draw(w);
    failures += w.Save() ? 0 : 1;
  }
  const QString backgrounds = root.filePath(QStringLiteral("graphics/background"));
  QDir().mkpath(backgrounds);
  for (const BackgroundDesign& b : BackgroundDesigns()) {
    const QImage image = b.paint(kBackgroundWidth, kBackgroundHeight);
    const QString base = QDir(backgrounds).filePath(QString::fromLatin1(b.name));
    failures += SaveImage(image, base + QStringLiteral(".bmp"), "BMP") ? 0 : 1;
    failures += SaveImage(image, base + QStringLiteral(".jpg"), "JPG") ? 0 : 1;
  }
  return failures;
}

}  // namespace pv::artwork
