#include "render/pictures.h"

#include "document/labelfile.h"
#include "platform/programfolder.h"
#include "platform/runtime.h"
#include "render/hosts.h"
#include "render/libraries.h"

#include <QDateTime>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QImageReader>

#include <algorithm>
#include <cstdint>

namespace pv {

namespace {

// Decoded pictures by path, each kept while its file keeps its modification
// time and size. A few entries only: a label uses a background and a handful
// of pictures; the least recently used goes first.
class PictureCache {
 public:
  // The decoded picture of the file, or a null image when it is missing or
  // cannot be read.
  QImage Get(const QString& path) {
    const QFileInfo info(path);
    if (!info.isFile()) return QImage();
    const QDateTime mtime = info.lastModified();
    const qint64 size = info.size();
    ++clock_;
    auto it = entries_.find(path);
    if (it != entries_.end() && it->mtime == mtime && it->size == size) {
      it->lastUse = clock_;
      return it->image;
    }
    Entry e;
    e.mtime = mtime;
    e.size = size;
    e.lastUse = clock_;
    QImageReader reader(path);
    reader.setAutoTransform(true);
    QImage image = reader.read();
    ++decodes_;
    if (!image.isNull()) {
      // Opaque pictures are copied plainly; pictures with transparency blend.
      image = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                            : QImage::Format_RGB32);
    }
    e.image = image;
    entries_.insert(path, e);
    Trim();
    return image;
  }
  void Clear() { entries_.clear(); }
  int decodes() const { return decodes_; }

 private:
  struct Entry {
    QDateTime mtime;
    qint64 size = 0;
    QImage image;
    std::uint64_t lastUse = 0;
  };
  static constexpr int kMaxEntries = 16;
  static constexpr qint64 kMaxBytes = 512LL * 1024 * 1024;

  void Trim() {
    for (;;) {
      qint64 bytes = 0;
      for (const Entry& e : entries_) bytes += e.image.sizeInBytes();
      if (entries_.size() <= kMaxEntries && (bytes <= kMaxBytes || entries_.size() <= 1)) return;
      auto oldest = entries_.begin();
      for (auto it = entries_.begin(); it != entries_.end(); ++it) {
        if (it->lastUse < oldest->lastUse) oldest = it;
      }
      entries_.erase(oldest);
    }
  }

  QHash<QString, Entry> entries_;
  std::uint64_t clock_ = 0;
  int decodes_ = 0;
};

PictureCache& Cache() {
  static PictureCache cache;
  return cache;
}

bool IsMetafileExtension(const QString& ext) {
  const QString e = Trim(ext).toUpper();
  return e == QLatin1String("WMF") || e == QLatin1String("EMF");
}

// The name component after the last "\" or "/".
QString LastComponent(const QString& path) {
  const qsizetype cut = std::max(path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char('/')));
  return path.mid(cut + 1);
}

QString ResolveStored(const QString& name, const char* folder) {
  if (name.isEmpty()) return QString();
  if (QFileInfo::exists(name)) return name;
  if (!name.contains(QLatin1Char('\\'))) return ResolvePathCase(name);
  // A path written on another machine: the same file in our graphics folder.
  const QString last = LastComponent(name);
  if (!last.isEmpty()) {
    const QString local = ProgramPath(QStringLiteral("graphics/%1/%2").arg(QLatin1String(folder), last));
    if (QFileInfo::exists(local)) return local;
  }
  return name;
}

void RenderMetafile(DeviceContext* dc, const Rect& rect, const QString& path) {
  const QByteArray utf8 = path.toUtf8();
  Libraries().PictorRenderMetaFile(dc, &rect, utf8.constData());
}

}  // namespace

std::int16_t DrawPictureFile(DeviceContext* hDC, const QString& fileName, const Rect& rect) {
  if (!hDC || fileName.isEmpty()) return 0;
  if (IsMetafileExtension(QFileInfo(fileName).suffix())) {
    RenderMetafile(hDC, rect, fileName);
    return 0;
  }
  const QImage image = Cache().Get(fileName);
  if (image.isNull()) return 0;
  StretchImage(hDC, rect, image, nullptr, RopSrcCopy);
  return 0;
}

void DrawImageObject(DeviceContext* hDC, const ObjectRecord& record, const Rect& rect) {
  const QString path = ImageTempPath(record);
  if (path.isEmpty()) return;  // not a name the temp folder can hold
  if (IsMetafileExtension(record.Content)) {
    RenderMetafile(hDC, rect, path);
  } else {
    DrawPictureFile(hDC, path, rect);
  }
}

void AdjustShadowRect(Rect& rect, std::int16_t mode, bool bShadow, std::int16_t size) {
  std::int32_t k = 2;
  std::int32_t m = mode;
  if (m >= 5 && m <= 8) {
    k = 1;
    m -= 4;
  }
  const std::int32_t a = 2 * k * std::int32_t(size);
  if (bShadow) {
    switch (m) {
      case 1: rect.left += a; rect.bottom -= a; break;
      case 2: rect.right -= a; rect.bottom -= a; break;
      case 3: rect.left += a; rect.top += a; break;
      case 4: rect.top += a; rect.right -= a; break;
      default: break;
    }
  } else {
    switch (m) {
      case 1: rect.left -= a; rect.top += a; rect.right -= a; rect.bottom += a; break;
      case 2: rect.left += a; rect.top += a; rect.right += a; rect.bottom += a; break;
      case 3: rect.left -= a; rect.top -= a; rect.right -= a; rect.bottom -= a; break;
      case 4: rect.left += a; rect.top -= a; rect.right += a; rect.bottom -= a; break;
      default: break;
    }
  }
}

QString BackgroundFile(const QString& storedName, bool printLow) {
  QString name = Trim(storedName);
  if (name.isEmpty()) return QString();
  if (printLow) {
    // The .bmp twin: the extension replaced, when the name has one.
    const QString last = LastComponent(name);
    const qsizetype dot = last.lastIndexOf(QLatin1Char('.'));
    if (dot >= 0) name = name.left(name.size() - (last.size() - dot)) + QStringLiteral(".bmp");
  }
  return ResolveStored(Trim(name), "background");
}

QString BorderFile(const QString& storedName) {
  return ResolveStored(Trim(storedName), "border");
}

namespace {
void DrawBackgroundAndBorder(DeviceContext* dc, const Rect& work) {
  const QString background = BackgroundFile(BackgroundName, RenderSettings().PrintLow());
  if (!background.isEmpty()) DrawPictureFile(dc, background, work);
  const QString border = BorderFile(BorderName);
  if (!border.isEmpty()) RenderMetafile(dc, work, border);
}
}  // namespace

void DrawLabelBackground(DeviceContext* hDC, Rect& rect, bool) {
  const Rect work{rect.left + 1, rect.top + 1, rect.right + 1, rect.bottom + 1};
  DrawBackgroundAndBorder(hDC, work);
}

void DragEditor_DrawPage(DeviceContext* hdc, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
  RenderLibraries& lib = Libraries();
  lib.LineoPen(hdc, 2, Rgb(0, 0, 0));
  MoveTo(hdc, x1, y1);
  LineTo(hdc, x2, y1);
  LineTo(hdc, x2, y2);
  LineTo(hdc, x1, y2);
  LineTo(hdc, x1, y1);
  // The page's shadow edge, right and below.
  MoveTo(hdc, x2 + 1, y1 + 2);
  LineTo(hdc, x2 + 1, y2);
  MoveTo(hdc, x1 + 2, y2 + 1);
  LineTo(hdc, x2 + 1, y2 + 1);

  DrawBackgroundAndBorder(hdc, Rect{x1 + 1, y1 + 1, x2 + 1, y2 + 1});

  if (RenderSettings().PrintCircle()) {
    lib.LineoPen(hdc, 2, Rgb(255, 100, 100));
    const Brush previous = SelectBrush(hdc, Brush::Hollow());
    Ellipse(hdc, x1, y1, x2, y2);
    SelectBrush(hdc, previous);
  }
}

void ClearPictureCache() { Cache().Clear(); }
int PictureDecodeCount() { return Cache().decodes(); }

}  // namespace pv
