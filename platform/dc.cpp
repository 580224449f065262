// The device context: creation, the device, selections and modes, mapping
// and save / restore.

#include "platform/dc_internal.h"

#include <QColor>
#include <QPaintDevice>

#include <algorithm>
#include <cmath>

namespace pv {

using namespace detail;

namespace detail {

QTransform PageTransform(const DeviceContext* dc) {
  const DcState& s = dc->st;
  double sx = 1, sy = 1;
  const double dpx = std::max(1, dc->info.dpiX);
  const double dpy = std::max(1, dc->info.dpiY);
  switch (s.mapMode) {
    case MapMode::Text: break;
    case MapMode::LoMetric:
      sx = dpx / 254.0;
      sy = -dpy / 254.0;
      break;
    case MapMode::HiMetric:
      sx = dpx / 2540.0;
      sy = -dpy / 2540.0;
      break;
    case MapMode::LoEnglish:
      sx = dpx / 100.0;
      sy = -dpy / 100.0;
      break;
    case MapMode::HiEnglish:
      sx = dpx / 1000.0;
      sy = -dpy / 1000.0;
      break;
    case MapMode::Twips:
      sx = dpx / 1440.0;
      sy = -dpy / 1440.0;
      break;
    case MapMode::Isotropic:
    case MapMode::Anisotropic: {
      sx = static_cast<double>(s.viewportExt.cx) / (s.windowExt.cx ? s.windowExt.cx : 1);
      sy = static_cast<double>(s.viewportExt.cy) / (s.windowExt.cy ? s.windowExt.cy : 1);
      if (s.mapMode == MapMode::Isotropic) {
        const double k = std::min(std::fabs(sx), std::fabs(sy));
        sx = sx < 0 ? -k : k;
        sy = sy < 0 ? -k : k;
      }
      break;
    }
  }
  return QTransform(sx, 0, 0, sy, s.viewportOrg.x - s.windowOrg.x * sx, s.viewportOrg.y - s.windowOrg.y * sy);
}

double Scale(const QTransform& t) { return std::sqrt(std::fabs(t.m11() * t.m22() - t.m12() * t.m21())); }

}  // namespace detail

// ---------------------------------------------------------------------------
// Boundary helpers
// ---------------------------------------------------------------------------

Rect NormalizedRect(const Rect& r) {
  return Rect{std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right),
              std::max(r.top, r.bottom)};
}

QColor ToQColor(Colour c) { return QColor(ColourRed(c), ColourGreen(c), ColourBlue(c)); }
Colour FromQColor(const QColor& c) { return Rgb(c.red(), c.green(), c.blue()); }

// ---------------------------------------------------------------------------
// Creation
// ---------------------------------------------------------------------------

DeviceContext* CreateDeviceContext(QPainter* painter, int dpiX, int dpiY, QImage* backing) {
  DeviceInfo info;
  info.dpiX = dpiX;
  info.dpiY = dpiY;
  return CreateDeviceContext(painter, info, backing);
}

DeviceContext* CreateDeviceContext(QPainter* painter, const DeviceInfo& info, QImage* backing) {
  if (!painter || !painter->isActive()) return nullptr;
  auto* dc = new DeviceContext;
  dc->painter = painter;
  dc->backing = backing;
  dc->info = info;
  if (dc->info.dpiX <= 0) dc->info.dpiX = 96;
  if (dc->info.dpiY <= 0) dc->info.dpiY = 96;
  QPaintDevice* dev = painter->device();
  if (dc->info.widthPx <= 0) dc->info.widthPx = dev ? dev->width() : (backing ? backing->width() : 0);
  if (dc->info.heightPx <= 0) dc->info.heightPx = dev ? dev->height() : (backing ? backing->height() : 0);
  if (dc->info.physicalWidthPx <= 0) dc->info.physicalWidthPx = dc->info.widthPx;
  if (dc->info.physicalHeightPx <= 0) dc->info.physicalHeightPx = dc->info.heightPx;
  painter->save();
  dc->base = painter->transform();
  dc->hasBaseClip = painter->hasClipping();
  if (dc->hasBaseClip) dc->baseClip = painter->clipRegion();
  painter->setRenderHint(QPainter::Antialiasing, true);
  painter->setRenderHint(QPainter::SmoothPixmapTransform, true);
  // A PDF stores pictures and pattern tiles as JPEG unless told otherwise.
  painter->setRenderHint(QPainter::LosslessImageRendering, true);
  painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
  painter->setOpacity(1.0);
  return dc;
}

void DeleteDeviceContext(DeviceContext* dc) {
  if (!dc) return;
  if (dc->painter && dc->painter->isActive()) dc->painter->restore();
  delete dc;
}

ImageSurface::ImageSurface(int width, int height, int dpiX, int dpiY, Colour fill, QImage::Format format)
    : m_image(std::clamp(width, 1, 32767), std::clamp(height, 1, 32767), format) {
  if (m_image.isNull()) return;
  m_image.setDotsPerMeterX(static_cast<int>(std::lround(std::max(1, dpiX) / 0.0254)));
  m_image.setDotsPerMeterY(static_cast<int>(std::lround(std::max(1, dpiY) / 0.0254)));
  m_image.fill(ToQColor(fill));
  m_painter = std::make_unique<QPainter>(&m_image);
  DeviceInfo info;
  info.dpiX = dpiX;
  info.dpiY = dpiY;
  m_dc = CreateDeviceContext(m_painter.get(), info, &m_image);
}

ImageSurface::~ImageSurface() { finish(); }

QPainter* ImageSurface::painter() const { return m_painter.get(); }

QImage ImageSurface::finish() {
  if (m_dc) {
    DeleteDeviceContext(m_dc);
    m_dc = nullptr;
  }
  if (m_painter) {
    if (m_painter->isActive()) m_painter->end();
    m_painter.reset();
  }
  return m_image;
}

// ---------------------------------------------------------------------------
// Device
// ---------------------------------------------------------------------------

std::int32_t GetDeviceCaps(const DeviceContext* dc, DeviceCap cap) {
  if (!dc) return 0;
  const DeviceInfo& i = dc->info;
  switch (cap) {
    case DeviceCap::LogPixelsX: return i.dpiX;
    case DeviceCap::LogPixelsY: return i.dpiY;
    case DeviceCap::HorzRes: return i.widthPx;
    case DeviceCap::VertRes: return i.heightPx;
    case DeviceCap::HorzSize: return static_cast<std::int32_t>(std::lround(i.widthPx * 25.4 / std::max(1, i.dpiX)));
    case DeviceCap::VertSize: return static_cast<std::int32_t>(std::lround(i.heightPx * 25.4 / std::max(1, i.dpiY)));
    case DeviceCap::PhysicalWidth: return i.physicalWidthPx;
    case DeviceCap::PhysicalHeight: return i.physicalHeightPx;
    case DeviceCap::PhysicalOffsetX: return i.physicalOffsetX;
    case DeviceCap::PhysicalOffsetY: return i.physicalOffsetY;
    case DeviceCap::IsPrinter: return i.isPrinter ? 1 : 0;
    case DeviceCap::HasBackingImage: return dc->backing ? 1 : 0;
  }
  return 0;
}

int DpiX(const DeviceContext* dc) { return dc ? dc->info.dpiX : 96; }
int DpiY(const DeviceContext* dc) { return dc ? dc->info.dpiY : 96; }
QPainter* Painter(DeviceContext* dc) { return dc ? dc->painter : nullptr; }
QImage* BackingImage(DeviceContext* dc) { return dc ? dc->backing : nullptr; }
std::uint64_t DrawCallCount(const DeviceContext* dc) { return dc ? dc->drawCalls : 0; }

// ---------------------------------------------------------------------------
// Selections and modes
// ---------------------------------------------------------------------------

Pen SelectPen(DeviceContext* dc, const Pen& pen) {
  if (!dc) return Pen{};
  Pen old = dc->st.pen;
  dc->st.pen = pen;
  return old;
}
Brush SelectBrush(DeviceContext* dc, const Brush& brush) {
  if (!dc) return Brush{};
  Brush old = dc->st.brush;
  dc->st.brush = brush;
  return old;
}
Font SelectFont(DeviceContext* dc, const Font& font) {
  if (!dc) return Font{};
  Font old = dc->st.font;
  dc->st.font = font;
  return old;
}
Pen CurrentPen(const DeviceContext* dc) { return dc ? dc->st.pen : Pen{}; }
Brush CurrentBrush(const DeviceContext* dc) { return dc ? dc->st.brush : Brush{}; }
Font CurrentFont(const DeviceContext* dc) { return dc ? dc->st.font : Font{}; }

Point SetBrushOrigin(DeviceContext* dc, Point origin) {
  if (!dc) return Point{};
  Point old = dc->st.brushOrigin;
  dc->st.brushOrigin = origin;
  return old;
}

#define PV_DC_SETTER(Name, Getter, Type, field, fallback) \
  Type Name(DeviceContext* dc, Type v) {                  \
    if (!dc) return fallback;                             \
    Type old = dc->st.field;                              \
    dc->st.field = v;                                     \
    return old;                                           \
  }                                                       \
  Type Getter(const DeviceContext* dc) { return dc ? dc->st.field : fallback; }

PV_DC_SETTER(SetTextColour, GetTextColour, Colour, textColour, Rgb(0, 0, 0))
PV_DC_SETTER(SetBkColour, GetBkColour, Colour, bkColour, Rgb(255, 255, 255))
PV_DC_SETTER(SetArcDirection, GetArcDirection, ArcDirection, arcDirection, ArcDirection::CounterClockwise)
PV_DC_SETTER(SetSmoothing, GetSmoothing, bool, smoothing, true)
#undef PV_DC_SETTER

BkMode SetBkMode(DeviceContext* dc, BkMode mode) {
  if (!dc) return BkMode::Opaque;
  BkMode old = dc->st.bkMode;
  if (mode == BkMode::Transparent || mode == BkMode::Opaque) dc->st.bkMode = mode;
  return old;
}
BkMode GetBkMode(const DeviceContext* dc) { return dc ? dc->st.bkMode : BkMode::Opaque; }

Rop2 SetRop2(DeviceContext* dc, Rop2 mode) {
  if (!dc) return Rop2::CopyPen;
  Rop2 old = dc->st.rop2;
  const int v = static_cast<int>(mode);
  if (v >= 1 && v <= 16) dc->st.rop2 = mode;
  return old;
}
Rop2 GetRop2(const DeviceContext* dc) { return dc ? dc->st.rop2 : Rop2::CopyPen; }

FillMode SetPolyFillMode(DeviceContext* dc, FillMode mode) {
  if (!dc) return FillMode::Alternate;
  FillMode old = dc->st.fillMode;
  if (mode == FillMode::Alternate || mode == FillMode::Winding) dc->st.fillMode = mode;
  return old;
}
FillMode GetPolyFillMode(const DeviceContext* dc) { return dc ? dc->st.fillMode : FillMode::Alternate; }

double SetMiterLimit(DeviceContext* dc, double limit) {
  if (!dc) return 10.0;
  double old = dc->st.miterLimit;
  if (std::isfinite(limit) && limit >= 1.0) dc->st.miterLimit = std::min(limit, 1000.0);
  return old;
}

StretchMode SetStretchMode(DeviceContext* dc, StretchMode mode) {
  if (!dc) return StretchMode::Halftone;
  StretchMode old = dc->st.stretchMode;
  const int v = static_cast<int>(mode);
  if (v >= 1 && v <= 4) dc->st.stretchMode = mode;
  return old;
}

bool SetLossyImages(DeviceContext* dc, bool lossy) {
  if (!dc) return false;
  const bool old = dc->st.lossyImages;
  dc->st.lossyImages = lossy;
  return old;
}

// ---------------------------------------------------------------------------
// Mapping
// ---------------------------------------------------------------------------

MapMode SetMapMode(DeviceContext* dc, MapMode mode) {
  if (!dc) return MapMode::Text;
  MapMode old = dc->st.mapMode;
  const int v = static_cast<int>(mode);
  if (v >= 1 && v <= 8) dc->st.mapMode = mode;
  return old;
}
MapMode GetMapMode(const DeviceContext* dc) { return dc ? dc->st.mapMode : MapMode::Text; }

Point SetWindowOrg(DeviceContext* dc, std::int32_t x, std::int32_t y) {
  if (!dc) return Point{};
  Point old = dc->st.windowOrg;
  dc->st.windowOrg = Point{x, y};
  return old;
}
Point SetViewportOrg(DeviceContext* dc, std::int32_t x, std::int32_t y) {
  if (!dc) return Point{};
  Point old = dc->st.viewportOrg;
  dc->st.viewportOrg = Point{x, y};
  return old;
}
Size SetWindowExt(DeviceContext* dc, std::int32_t cx, std::int32_t cy) {
  if (!dc) return Size{1, 1};
  Size old = dc->st.windowExt;
  if (cx != 0 && cy != 0) dc->st.windowExt = Size{cx, cy};
  return old;
}
Size SetViewportExt(DeviceContext* dc, std::int32_t cx, std::int32_t cy) {
  if (!dc) return Size{1, 1};
  Size old = dc->st.viewportExt;
  if (cx != 0 && cy != 0) dc->st.viewportExt = Size{cx, cy};
  return old;
}
Point GetWindowOrg(const DeviceContext* dc) { return dc ? dc->st.windowOrg : Point{}; }
Size GetWindowExt(const DeviceContext* dc) { return dc ? dc->st.windowExt : Size{1, 1}; }
Point GetViewportOrg(const DeviceContext* dc) { return dc ? dc->st.viewportOrg : Point{}; }
Size GetViewportExt(const DeviceContext* dc) { return dc ? dc->st.viewportExt : Size{1, 1}; }

Point OffsetWindowOrg(DeviceContext* dc, std::int32_t dx, std::int32_t dy) {
  if (!dc) return Point{};
  Point old = dc->st.windowOrg;
  dc->st.windowOrg = Point{old.x + dx, old.y + dy};
  return old;
}
Point OffsetViewportOrg(DeviceContext* dc, std::int32_t dx, std::int32_t dy) {
  if (!dc) return Point{};
  Point old = dc->st.viewportOrg;
  dc->st.viewportOrg = Point{old.x + dx, old.y + dy};
  return old;
}

namespace {
Size ScaleExt(Size& ext, std::int32_t xn, std::int32_t xd, std::int32_t yn, std::int32_t yd) {
  Size old = ext;
  if (xd == 0 || yd == 0) return old;
  const long long cx = static_cast<long long>(ext.cx) * xn / xd;
  const long long cy = static_cast<long long>(ext.cy) * yn / yd;
  if (cx != 0 && cy != 0 && std::llabs(cx) < (1LL << 31) && std::llabs(cy) < (1LL << 31))
    ext = Size{static_cast<std::int32_t>(cx), static_cast<std::int32_t>(cy)};
  return old;
}
}  // namespace

Size ScaleWindowExt(DeviceContext* dc, std::int32_t xn, std::int32_t xd, std::int32_t yn, std::int32_t yd) {
  return dc ? ScaleExt(dc->st.windowExt, xn, xd, yn, yd) : Size{1, 1};
}
Size ScaleViewportExt(DeviceContext* dc, std::int32_t xn, std::int32_t xd, std::int32_t yn, std::int32_t yd) {
  return dc ? ScaleExt(dc->st.viewportExt, xn, xd, yn, yd) : Size{1, 1};
}

namespace {
QTransform ToQ(const XForm& x) { return QTransform(x.m11, x.m12, x.m21, x.m22, x.dx, x.dy); }
bool Usable(const QTransform& t) {
  const double det = t.m11() * t.m22() - t.m12() * t.m21();
  return std::isfinite(det) && std::fabs(det) > 1e-12 && std::isfinite(t.dx()) && std::isfinite(t.dy());
}
}  // namespace

bool SetWorldTransform(DeviceContext* dc, const XForm& xf) {
  if (!dc) return false;
  const QTransform t = ToQ(xf);
  if (!Usable(t)) return false;
  dc->st.world = t;
  return true;
}

bool ModifyWorldTransform(DeviceContext* dc, const XForm& xf, XFormMode mode) {
  if (!dc) return false;
  QTransform t;
  switch (mode) {
    case XFormMode::Identity: dc->st.world = QTransform(); return true;
    case XFormMode::LeftMultiply: t = ToQ(xf) * dc->st.world; break;
    case XFormMode::RightMultiply: t = dc->st.world * ToQ(xf); break;
    case XFormMode::Set: t = ToQ(xf); break;
    default: return false;
  }
  if (!Usable(t)) return false;
  dc->st.world = t;
  return true;
}

XForm GetWorldTransform(const DeviceContext* dc) {
  if (!dc) return XForm{};
  const QTransform& t = dc->st.world;
  return XForm{static_cast<float>(t.m11()), static_cast<float>(t.m12()), static_cast<float>(t.m21()),
               static_cast<float>(t.m22()), static_cast<float>(t.dx()),  static_cast<float>(t.dy())};
}

void LPtoDP(const DeviceContext* dc, Point* pts, int n) {
  if (!dc || !pts) return;
  const QTransform m = FullTransform(dc);
  for (int i = 0; i < n; ++i) {
    const QPointF q = m.map(QPointF(pts[i].x, pts[i].y));
    pts[i] = Point{ClampRound(q.x()), ClampRound(q.y())};
  }
}

void DPtoLP(const DeviceContext* dc, Point* pts, int n) {
  if (!dc || !pts) return;
  bool ok = false;
  const QTransform m = FullTransform(dc).inverted(&ok);
  if (!ok) return;
  for (int i = 0; i < n; ++i) {
    const QPointF q = m.map(QPointF(pts[i].x, pts[i].y));
    pts[i] = Point{ClampRound(q.x()), ClampRound(q.y())};
  }
}

QTransform LogicalToDeviceTransform(const DeviceContext* dc) { return dc ? FullTransform(dc) : QTransform(); }

// ---------------------------------------------------------------------------
// Save / restore
// ---------------------------------------------------------------------------

int SaveDC(DeviceContext* dc) {
  if (!dc) return 0;
  if (dc->stack.size() >= 100000) return 0;  // runaway saves
  dc->stack.push_back(dc->st);
  return static_cast<int>(dc->stack.size());
}

bool RestoreDC(DeviceContext* dc, int level) {
  if (!dc) return false;
  const long long size = static_cast<long long>(dc->stack.size());
  const long long n = level < 0 ? size + 1 + level : level;
  if (n < 1 || n > size) return false;
  dc->st = dc->stack[static_cast<std::size_t>(n - 1)];
  dc->stack.resize(static_cast<std::size_t>(n - 1));
  if (Valid(dc)) ApplyClip(dc);
  return true;
}

}  // namespace pv
