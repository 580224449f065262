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
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <utility>

namespace pv {

namespace {

// Decoded pictures by path, each kept while its file keeps its modification
// time and size. A few entries only: a label uses a background and a handful
// of pictures; the least recently used goes first.
class PictureCache {
 public:
  // The decoded picture of the file, or a null image when it is missing or
  // cannot be read; *lossy tells whether the file held a JPEG.
  QImage Get(const QString& path, bool* lossy) {
    *lossy = false;
    const QFileInfo info(path);
    if (!info.isFile()) return QImage();
    const QDateTime mtime = info.lastModified();
    const qint64 size = info.size();
    ++m_clock;
    auto it = m_entries.find(path);
    if (it != m_entries.end() && it->mtime == mtime && it->size == size) {
      it->lastUse = m_clock;
      *lossy = it->lossy;
      return it->image;
    }
    Entry e;
    e.mtime = mtime;
    e.size = size;
    e.lastUse = m_clock;
    QImageReader reader(path);
    reader.setAutoTransform(true);
    // The format is known before the reading (and forgotten after it).
    e.lossy = reader.format() == "jpeg";
    QImage image = reader.read();
    ++m_decodes;
    if (!image.isNull()) {
      // Opaque pictures are copied plainly; pictures with transparency blend.
      image =
          image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    }
    e.image = image;
    *lossy = e.lossy;
    m_entries.insert(path, e);
    Trim();
    return image;
  }
  void Clear() { m_entries.clear(); }
  int decodes() const { return m_decodes; }

 private:
  struct Entry {
    QDateTime mtime;
    qint64 size = 0;
    QImage image;
    bool lossy = false;
    std::uint64_t lastUse = 0;
  };
  static constexpr int kMaxEntries = 16;
  static constexpr qint64 kMaxBytes = 512LL * 1024 * 1024;

  void Trim() {
    for (;;) {
      qint64 bytes = 0;
      for (const Entry& e : m_entries) bytes += e.image.sizeInBytes();
      if (m_entries.size() <= kMaxEntries && (bytes <= kMaxBytes || m_entries.size() <= 1)) return;
      auto oldest = m_entries.begin();
      for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
        if (it->lastUse < oldest->lastUse) oldest = it;
      }
      m_entries.erase(oldest);
    }
  }

  QHash<QString, Entry> m_entries;
  std::uint64_t m_clock = 0;
  int m_decodes = 0;
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
  bool lossy = false;
  const QImage image = Cache().Get(fileName, &lossy);
  if (image.isNull()) return 0;
  // A JPEG photograph may go into a PDF as JPEG; any other picture keeps
  // its exact pixels.
  const bool was = SetLossyImages(hDC, lossy);
  StretchImage(hDC, rect, image, nullptr, RopSrcCopy);
  SetLossyImages(hDC, was);
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
      case 1:
        rect.left += a;
        rect.bottom -= a;
        break;
      case 2:
        rect.right -= a;
        rect.bottom -= a;
        break;
      case 3:
        rect.left += a;
        rect.top += a;
        break;
      case 4:
        rect.top += a;
        rect.right -= a;
        break;
      default: break;
    }
  } else {
    switch (m) {
      case 1:
        rect.left -= a;
        rect.top += a;
        rect.right -= a;
        rect.bottom += a;
        break;
      case 2:
        rect.left += a;
        rect.top += a;
        rect.right += a;
        rect.bottom += a;
        break;
      case 3:
        rect.left -= a;
        rect.top -= a;
        rect.right -= a;
        rect.bottom -= a;
        break;
      case 4:
        rect.left += a;
        rect.top -= a;
        rect.right += a;
        rect.bottom -= a;
        break;
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

QString BorderFile(const QString& storedName) { return ResolveStored(Trim(storedName), "border"); }

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

// ---- The editor's page, cut to what shows ------------------------------------
//
// A page may be far larger than the window (a label of a kilometre at a high
// zoom lies beyond the coordinates the drawing layer takes): everything the
// page drawing puts down is cut to the part of the surface that shows, so a
// repaint costs what the window shows, whatever the page's size. A page that
// shows whole is drawn exactly as it comes.

namespace {

// Edges of a box in view pixels, wide enough for any page.
struct Box {
  std::int64_t l = 0, t = 0, r = 0, b = 0;
  bool Contains(const Box& o) const { return o.l >= l && o.t >= t && o.r <= r && o.b <= b; }
};

// The shown part of the surface, widened so that edges moved onto it, and
// the width of the pen drawing them, stay out of sight.
Box ShownBox(DeviceContext* dc) {
  constexpr std::int64_t kMargin = 32;
  const Rect v = GetClipBox(dc);
  return {std::int64_t(v.left) - kMargin, std::int64_t(v.top) - kMargin, std::int64_t(v.right) + kMargin,
          std::int64_t(v.bottom) + kMargin};
}

std::int32_t Cut(std::int64_t v, std::int64_t lo, std::int64_t hi) {
  return static_cast<std::int32_t>(std::clamp(v, lo, hi));
}

Rect AsRect(const Box& b) {
  constexpr std::int64_t lo = std::numeric_limits<std::int32_t>::min(), hi = std::numeric_limits<std::int32_t>::max();
  return Rect{Cut(b.l, lo, hi), Cut(b.t, lo, hi), Cut(b.r, lo, hi), Cut(b.b, lo, hi)};
}

// The pen's path through the points, each moved onto the shown box: for
// lines along the axes this keeps every shown pixel, joins included.
void CutPolyline(DeviceContext* dc, const Box& shown,
                 std::initializer_list<std::pair<std::int64_t, std::int64_t>> points) {
  bool first = true;
  for (const auto& [x, y] : points) {
    const std::int32_t cx = Cut(x, shown.l, shown.r), cy = Cut(y, shown.t, shown.b);
    if (first)
      MoveTo(dc, cx, cy);
    else
      LineTo(dc, cx, cy);
    first = false;
  }
}

// The raster picture stretched over the page box, drawn only where it shows:
// the shown part is resampled from the picture with the same mapping as the
// whole page would use, then put down pixel for pixel.
void DrawCutPicture(DeviceContext* dc, const QString& file, const Box& page, const Box& shown) {
  bool lossy = false;
  const QImage image = Cache().Get(file, &lossy);
  if (image.isNull() || page.r <= page.l || page.b <= page.t) return;
  const Box part{std::max(page.l, shown.l), std::max(page.t, shown.t), std::min(page.r, shown.r),
                 std::min(page.b, shown.b)};
  if (part.r <= part.l || part.b <= part.t) return;
  const double fx = double(page.r - page.l) / image.width();
  const double fy = double(page.b - page.t) / image.height();
  // The picture's pixels under the part, with two more on each side so that
  // smoothing at the part's edges sees the same neighbours.
  const std::int64_t sl = std::max<std::int64_t>(0, std::int64_t(std::floor((part.l - page.l) / fx)) - 2);
  const std::int64_t st = std::max<std::int64_t>(0, std::int64_t(std::floor((part.t - page.t) / fy)) - 2);
  const std::int64_t sr = std::min<std::int64_t>(image.width(), std::int64_t(std::ceil((part.r - page.l) / fx)) + 2);
  const std::int64_t sb = std::min<std::int64_t>(image.height(), std::int64_t(std::ceil((part.b - page.t) / fy)) + 2);
  if (sr <= sl || sb <= st) return;
  QImage piece(int(part.r - part.l), int(part.b - part.t), QImage::Format_ARGB32_Premultiplied);
  piece.fill(Qt::transparent);
  {
    const StretchMode mode = SetStretchMode(dc, StretchMode::Halftone);
    SetStretchMode(dc, mode);
    QPainter painter(&piece);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, mode == StretchMode::Halftone);
    const QRectF target(double(page.l - part.l) + sl * fx, double(page.t - part.t) + st * fy, double(sr - sl) * fx,
                        double(sb - st) * fy);
    painter.drawImage(target, image, QRectF(double(sl), double(st), double(sr - sl), double(sb - st)));
  }
  StretchImage(dc, AsRect(part), piece, nullptr, RopSrcCopy);
}

// The outline of the ellipse inscribed in the box, as far as it crosses the
// shown box: points a pixel apart along the axis in which each arc runs
// flatter, stroked with the selected pen as one path.
void DrawCutEllipse(DeviceContext* dc, const Box& box, const Box& shown) {
  const double cx = (box.l + box.r) / 2.0, cy = (box.t + box.b) / 2.0;
  const double a = (box.r - box.l) / 2.0, b = (box.b - box.t) / 2.0;
  if (a <= 0 || b <= 0) return;
  const double diagonal = std::sqrt(a * a + b * b);
  const QTransform toDevice = LogicalToDeviceTransform(dc);
  QPainterPath outline;
  // along: the axis stepped (x for the top and bottom arcs); side: which of
  // the two arcs across it.
  const auto arc = [&](bool alongX, double side) {
    const double cu = alongX ? cx : cy, au = alongX ? a : b, av = alongX ? b : a, cv = alongX ? cy : cx;
    const double reach = au * au / diagonal + 1;  // where the arc turns steeper than 45 degrees
    const std::int64_t lo = std::max<std::int64_t>(std::int64_t(std::floor(cu - reach)), alongX ? shown.l : shown.t);
    const std::int64_t hi = std::min<std::int64_t>(std::int64_t(std::ceil(cu + reach)), alongX ? shown.r : shown.b);
    const std::int64_t vlo = alongX ? shown.t : shown.l, vhi = alongX ? shown.b : shown.r;
    bool inRun = false;
    for (std::int64_t u = lo; u <= hi; ++u) {
      const double k = (u - cu) / au;
      const double v = cv + side * av * std::sqrt(std::max(0.0, 1 - k * k));
      if (v < vlo || v > vhi) {
        inRun = false;
        continue;
      }
      // Through the pixels' centres, as the pen's lines go.
      const QPointF at = toDevice.map(alongX ? QPointF(double(u), std::round(v)) : QPointF(std::round(v), double(u))) +
                         QPointF(0.5, 0.5);
      if (inRun)
        outline.lineTo(at);
      else
        outline.moveTo(at);
      inRun = true;
    }
  };
  arc(true, -1);
  arc(true, 1);
  arc(false, -1);
  arc(false, 1);
  if (!outline.isEmpty()) StrokeDevicePath(dc, outline, CurrentPen(dc));
}

}  // namespace

void DragEditor_DrawPage(DeviceContext* hdc, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
  RenderLibraries& lib = Libraries();
  const Box shown = ShownBox(hdc);
  const std::int64_t l = x1, t = y1, r = x2, b = y2;
  lib.LineoPen(hdc, 2, Rgb(0, 0, 0));
  CutPolyline(hdc, shown, {{l, t}, {r, t}, {r, b}, {l, b}, {l, t}});
  // The page's shadow edge, right and below.
  CutPolyline(hdc, shown, {{r + 1, t + 2}, {r + 1, b}});
  CutPolyline(hdc, shown, {{l + 2, b + 1}, {r + 1, b + 1}});

  const Box work{l + 1, t + 1, r + 1, b + 1};
  if (shown.Contains(work)) {
    DrawBackgroundAndBorder(hdc, AsRect(work));
  } else {
    // Metafiles are played whole: the player takes what the drawing layer
    // takes of them.
    const QString background = BackgroundFile(BackgroundName, RenderSettings().PrintLow());
    if (IsMetafileExtension(QFileInfo(background).suffix()))
      RenderMetafile(hdc, AsRect(work), background);
    else if (!background.isEmpty())
      DrawCutPicture(hdc, background, work, shown);
    const QString border = BorderFile(BorderName);
    if (!border.isEmpty()) RenderMetafile(hdc, AsRect(work), border);
  }

  if (RenderSettings().PrintCircle()) {
    lib.LineoPen(hdc, 2, Rgb(255, 100, 100));
    const Brush previous = SelectBrush(hdc, Brush::Hollow());
    if (shown.Contains(Box{l, t, r, b}))
      Ellipse(hdc, x1, y1, x2, y2);
    else
      DrawCutEllipse(hdc, Box{l, t, r, b}, shown);
    SelectBrush(hdc, previous);
  }
}

void ClearPictureCache() { Cache().Clear(); }
int PictureDecodeCount() { return Cache().decodes(); }

}  // namespace pv
