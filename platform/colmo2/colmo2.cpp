// Colmo2: gradients, hatches, brushes, textures and bitmaps on a device
// context.

#include "platform/colmo2/colmo2.h"
#include "platform/colmo2/colmo2_internal.h"
#include "platform/recentcache.h"

#include <QImage>
#include <QLinearGradient>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <array>
#include <cmath>
#include <tuple>

namespace pv::colmo {

namespace {

constexpr double kMaxCoord = 1.0e7;

// The nineteen 8 x 8 brushes, one byte a row, the leftmost pixel in the high bit.
constexpr std::array<std::array<std::uint8_t, 8>, 19> kBrushes = {{
    {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55},  // 1 fine checks (50 %)
    {0x88, 0x00, 0x22, 0x00, 0x88, 0x00, 0x22, 0x00},  // 2 light dots (12 %)
    {0x80, 0x00, 0x00, 0x00, 0x08, 0x00, 0x00, 0x00},  // 3 sparse dots
    {0x77, 0xFF, 0xDD, 0xFF, 0x77, 0xFF, 0xDD, 0xFF},  // 4 dense (88 %)
    {0xCC, 0xCC, 0x33, 0x33, 0xCC, 0xCC, 0x33, 0x33},  // 5 small checks
    {0xF0, 0xF0, 0xF0, 0xF0, 0x0F, 0x0F, 0x0F, 0x0F},  // 6 large checks
    {0xFF, 0x80, 0x80, 0x80, 0xFF, 0x08, 0x08, 0x08},  // 7 bricks
    {0x88, 0x54, 0x22, 0x45, 0x88, 0x14, 0x22, 0x51},  // 8 weave
    {0x01, 0x02, 0x04, 0x08, 0x14, 0x22, 0x41, 0x80},  // 9 diagonal bricks
    {0x81, 0x42, 0x24, 0x18, 0x81, 0x42, 0x24, 0x18},  // 10 zigzag
    {0x00, 0x00, 0x30, 0x49, 0x86, 0x00, 0x00, 0x00},  // 11 waves
    {0xF8, 0x74, 0x22, 0x47, 0x8F, 0x17, 0x22, 0x71},  // 12 plaid
    {0xAA, 0x00, 0x80, 0x00, 0x80, 0x00, 0x80, 0x00},  // 13 dotted grid
    {0xEE, 0x55, 0xBB, 0x55, 0xEE, 0x55, 0xBB, 0x55},  // 14 trellis
    {0x03, 0x04, 0x08, 0x08, 0x0C, 0x12, 0x21, 0xC0},  // 15 shingles
    {0x3C, 0x42, 0x81, 0x81, 0x81, 0x81, 0x42, 0x3C},  // 16 circles
    {0x10, 0x28, 0x44, 0x82, 0x44, 0x28, 0x10, 0x00},  // 17 diamonds
    {0xF0, 0x00, 0x00, 0x00, 0x0F, 0x00, 0x00, 0x00},  // 18 dashes
    {0x40, 0x08, 0x01, 0x20, 0x04, 0x80, 0x10, 0x02},  // 19 confetti
}};

int Scale96(int dpi) { return std::clamp(static_cast<int>(std::lround(std::clamp(dpi, 24, 2400) / 96.0)), 1, 25); }

QRgb Argb(Colour c) { return ColourToArgb(c); }

Colour LightTint(Colour c) {
  auto t = [](int v) { return v + (255 - v) * 85 / 100; };
  return Rgb(t(ColourRed(c)), t(ColourGreen(c)), t(ColourBlue(c)));
}

// Frame-local coordinates (0..w, 0..h, unturned) -> device, turned by angle
// (counter-clockwise on screen) about the frame's centre.
QTransform LocalToDevice(const QRectF& frame, double angleDeg) {
  QTransform t = QTransform::fromTranslate(-frame.width() / 2, -frame.height() / 2);
  QTransform r;
  r.rotate(-angleDeg);
  return t * r * QTransform::fromTranslate(frame.center().x(), frame.center().y());
}

QImage HatchTile(int hatch, Colour ground, Colour line, int dpi) {
  const int k = Scale96(dpi);
  const int s = 8 * k;
  QImage img(s, s, QImage::Format_RGB32);
  img.fill(Argb(ground));
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing, k > 1);
  QPen pen(QColor::fromRgb(Argb(line)));
  pen.setWidthF(k);
  pen.setCapStyle(Qt::FlatCap);
  p.setPen(pen);
  const double m = s / 2.0;
  auto hline = [&]() { p.drawLine(QPointF(0, m), QPointF(s, m)); };
  auto vline = [&]() { p.drawLine(QPointF(m, 0), QPointF(m, s)); };
  auto fdiag = [&]() {
    for (int o = -1; o <= 1; ++o) p.drawLine(QPointF(o * s - 1.0, -1.0), QPointF(o * s + s + 1.0, s + 1.0));
  };
  auto bdiag = [&]() {
    for (int o = -1; o <= 1; ++o) p.drawLine(QPointF(o * s - 1.0, s + 1.0), QPointF(o * s + s + 1.0, -1.0));
  };
  switch (hatch) {
    case 2: hline(); break;
    case 3: vline(); break;
    case 4: fdiag(); break;
    case 5: bdiag(); break;
    case 6:
      hline();
      vline();
      break;
    default:
      fdiag();
      bdiag();
      break;
  }
  p.end();
  return img;
}

QImage BrushTile(int brush, Colour c1, Colour c2, int dpi) {
  const QImage cell = BrushCell(brush, c1, c2);
  const int k = Scale96(dpi);
  if (k == 1) return cell;
  return cell.scaled(8 * k, 8 * k, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

// The hatch and brush tiles, by what makes them: kind, number, colours and
// scale.
using TileKey = std::tuple<int, int, Colour, Colour, int>;
RecentCache<TileKey, QImage>& Tiles() {
  static RecentCache<TileKey, QImage> cache(64);
  return cache;
}

QImage CachedHatchTile(int hatch, Colour ground, Colour line, int dpi) {
  return Tiles().Get({0, hatch, ground, line, Scale96(dpi)}, [&] { return HatchTile(hatch, ground, line, dpi); });
}

QImage CachedBrushTile(int brush, Colour c1, Colour c2, int dpi) {
  if (brush < 1 || brush > 19) brush = 1;
  return Tiles().Get({1, brush, c1, c2, Scale96(dpi)}, [&] { return BrushTile(brush, c1, c2, dpi); });
}

double Frac(double v) { return std::clamp(v, 0.0, 1.0); }

// Position 0..1 of a frame-local point along gradient type (0 = colour 1).
double GradientT(int type, double u, double v, double w, double h) {
  const double nu = w > 0 ? u / w : 0;
  const double nv = h > 0 ? v / h : 0;
  switch (type) {
    case 101: return Frac(nv);
    case 102: return Frac((nu * w * w + nv * h * h) / std::max(1e-9, w * w + h * h));
    case 103: return Frac((nu * w * w + (1 - nv) * h * h) / std::max(1e-9, w * w + h * h));
    case 104: {
      const double r = std::hypot(w, h) / 2;
      return r > 0 ? Frac(std::hypot(u - w / 2, v - h / 2) / r) : 0;
    }
    case 105: return Frac(std::max(std::fabs(nu - 0.5), std::fabs(nv - 0.5)) * 2);
    case 106: return Frac(std::fabs(nv - 0.5) * 2);
    default: return Frac(nu);
  }
}

bool KnownGradient(int type) { return type >= 100 && type <= 106; }

QBrush GradientBrush(int type, Colour c1, Colour c2, const QRectF& frame, const QTransform& t) {
  const double w = frame.width(), h = frame.height();
  const QColor a = ToQColor(c1), b = ToQColor(c2);
  QBrush brush;
  switch (type) {
    case 101: {
      QLinearGradient g(0, 0, 0, h);
      g.setColorAt(0, a);
      g.setColorAt(1, b);
      brush = QBrush(g);
      break;
    }
    case 102:
    case 103: {
      // From one corner to the opposite one.
      const QPointF p0 = type == 102 ? QPointF(0, 0) : QPointF(0, h);
      const QPointF p1 = type == 102 ? QPointF(w, h) : QPointF(w, 0);
      QLinearGradient g(p0, p1);
      g.setColorAt(0, a);
      g.setColorAt(1, b);
      brush = QBrush(g);
      break;
    }
    case 104: {
      QRadialGradient g(QPointF(w / 2, h / 2), std::max(1e-9, std::hypot(w, h) / 2));
      g.setColorAt(0, a);
      g.setColorAt(1, b);
      brush = QBrush(g);
      break;
    }
    case 106: {
      QLinearGradient g(0, 0, 0, h);
      g.setColorAt(0, b);
      g.setColorAt(0.5, a);
      g.setColorAt(1, b);
      brush = QBrush(g);
      break;
    }
    default: {
      QLinearGradient g(0, 0, w, 0);
      g.setColorAt(0, a);
      g.setColorAt(1, b);
      brush = QBrush(g);
      break;
    }
  }
  brush.setTransform(t);
  return brush;
}

// The gradient's colours made translucent by the fraction. A PDF takes the
// painter's opacity for plain colours and pictures but not for a gradient:
// a gradient carries its opacity in its colours.
QBrush WithOpacity(const QBrush& brush, double fraction) {
  const QGradient* g = brush.gradient();
  if (!g || fraction >= 1.0) return brush;
  QGradientStops stops = g->stops();
  for (QGradientStop& stop : stops) stop.second.setAlphaF(float(stop.second.alphaF() * fraction));
  QBrush out;
  if (g->type() == QGradient::RadialGradient) {
    QRadialGradient r = *static_cast<const QRadialGradient*>(g);
    r.setStops(stops);
    out = QBrush(r);
  } else if (g->type() == QGradient::LinearGradient) {
    QLinearGradient l = *static_cast<const QLinearGradient*>(g);
    l.setStops(stops);
    out = QBrush(l);
  } else {
    return brush;
  }
  out.setTransform(brush.transform());
  return out;
}

// A horizontal gradient, unturned, on a picture: the row of pixels it gives,
// as a picture brush that repeats it down the fill. Qt works a horizontal
// gradient out pixel by pixel, a picture row by row (five times faster);
// other gradients, turned ones and vector devices keep the gradient (a PDF
// keeps it as a shading). NoBrush when the gradient is not such.
QBrush GradientRow(QPainter* p, const QBrush& brush) {
  const QGradient* g = brush.gradient();
  if (!g || g->type() != QGradient::LinearGradient || g->spread() != QGradient::PadSpread) return QBrush();
  const QPaintEngine* engine = p->paintEngine();
  if (!engine || engine->type() != QPaintEngine::Raster) return QBrush();
  const auto* lg = static_cast<const QLinearGradient*>(g);
  const QTransform m = brush.transform() * p->combinedTransform();
  if (lg->start().y() != lg->finalStop().y() || m.type() > QTransform::TxScale || m.m11() <= 0 || m.m22() <= 0)
    return QBrush();
  const double x0 = lg->start().x(), x1 = lg->finalStop().x();
  const double span = (x1 - x0) * m.m11();  // device pixels
  if (!(span >= 1.0) || span > 65536.0) return QBrush();
  const int n = static_cast<int>(std::lround(span));
  const int pad = 2;  // edge colour beyond both ends, as the gradient pads
  QImage row(n + 2 * pad, 1, QImage::Format_ARGB32_Premultiplied);
  QRgb* out = reinterpret_cast<QRgb*>(row.scanLine(0));
  const QGradientStops stops = g->stops();
  qsizetype k = 0;
  for (int u = 0; u < row.width(); ++u) {
    const double t = std::clamp((u - pad + 0.5) / n, 0.0, 1.0);
    while (k + 1 < stops.size() && stops[k + 1].first < t) ++k;
    const QGradientStop& a = stops[k];
    const QGradientStop& b = stops[std::min(k + 1, stops.size() - 1)];
    const double f = b.first > a.first ? std::clamp((t - a.first) / (b.first - a.first), 0.0, 1.0) : 0.0;
    const auto mix = [f](double from, double to) { return static_cast<int>(std::lround(from + (to - from) * f)); };
    const QRgb ca = a.second.rgba(), cb = b.second.rgba();
    out[u] = qPremultiply(qRgba(mix(qRed(ca), qRed(cb)), mix(qGreen(ca), qGreen(cb)), mix(qBlue(ca), qBlue(cb)),
                                mix(qAlpha(ca), qAlpha(cb))));
  }
  QBrush strip(row);
  strip.setTransform(QTransform::fromTranslate(-pad, 0) * QTransform::fromScale((x1 - x0) / n, 1) *
                     QTransform::fromTranslate(x0, 0) * brush.transform());
  return strip;
}

void FillWith(DeviceContext* dc, const QPainterPath& path, const QBrush& brush, int opacity, bool smoothImage,
              const QPainterPath* clip = nullptr) {
  QPainter* p = Painter(dc);
  const bool raster = p->paintEngine() && p->paintEngine()->type() == QPaintEngine::Raster;
  p->save();
  // A part's outline: a picture is given the part itself (a clip outline
  // costs it more than the fill), a printer or a PDF the clip.
  const QPainterPath part = clip && raster ? path.intersected(*clip) : QPainterPath();
  if (clip && !raster) p->setClipPath(*clip, p->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
  const double fraction = OpacityFraction(opacity);
  const bool gradient = brush.gradient() != nullptr;
  p->setOpacity(gradient ? 1.0 : fraction);
  p->setRenderHint(QPainter::Antialiasing, GetSmoothing(dc));
  p->setPen(Qt::NoPen);
  QBrush fill = gradient ? WithOpacity(brush, fraction) : brush;
  const QBrush row = gradient ? GradientRow(p, fill) : QBrush();
  if (row.style() != Qt::NoBrush) {
    fill = row;
    smoothImage = false;  // a pixel of the row to a pixel of the device
  }
  p->setRenderHint(QPainter::SmoothPixmapTransform, smoothImage);
  p->setBrush(fill);
  DrawPainterPath(p, clip && raster ? part : path);
  p->restore();
}

// The rectangular gradient (colour 1 at the centre to colour 2 at the
// edges), which has no gradient of its own, as two band gradients: one from
// the centre line to the top and bottom edges in the triangles above and
// below the centre, one to the left and right edges in the triangles beside
// it (the frame's diagonals part them; along them both give one colour).
void FillRectangular(DeviceContext* dc, const QPainterPath& path, const QRectF& frame, const QTransform& t, Colour c1,
                     Colour c2, int opacity) {
  const double w = frame.width(), h = frame.height();
  QLinearGradient across(0, 0, w, 0);
  across.setColorAt(0, ToQColor(c2));
  across.setColorAt(0.5, ToQColor(c1));
  across.setColorAt(1, ToQColor(c2));
  QBrush beside(across);
  beside.setTransform(t);
  QPainterPath sides;
  sides.moveTo(0, 0);
  sides.lineTo(w / 2, h / 2);
  sides.lineTo(0, h);
  sides.closeSubpath();
  sides.moveTo(w, 0);
  sides.lineTo(w / 2, h / 2);
  sides.lineTo(w, h);
  sides.closeSubpath();
  sides = t.map(sides);
  if (OpacityFraction(opacity) < 1.0) {
    // Translucent, the two parts must not overlap.
    QPainterPath ends;
    ends.moveTo(0, 0);
    ends.lineTo(w / 2, h / 2);
    ends.lineTo(w, 0);
    ends.closeSubpath();
    ends.moveTo(0, h);
    ends.lineTo(w / 2, h / 2);
    ends.lineTo(w, h);
    ends.closeSubpath();
    ends = t.map(ends);
    FillWith(dc, path, GradientBrush(106, c1, c2, frame, t), opacity, true, &ends);
  } else {
    // Opaque, the band down the middle lies under everything: the sides'
    // smoothed edges then meet the same colours, and no seam shows.
    FillWith(dc, path, GradientBrush(106, c1, c2, frame, t), opacity, true);
  }
  FillWith(dc, path, beside, opacity, true, &sides);
}

bool SaneRect(const QRectF& r) {
  return std::isfinite(r.left()) && std::isfinite(r.top()) && std::isfinite(r.width()) && std::isfinite(r.height()) &&
         std::fabs(r.left()) < kMaxCoord && std::fabs(r.top()) < kMaxCoord && r.width() < kMaxCoord &&
         r.height() < kMaxCoord;
}

// The rectangle argument of the exported functions in device units.
bool DeviceFrame(DeviceContext* dc, const Rect* rect, QRectF* frame, QPainterPath* path) {
  if (!dc || !rect || !Painter(dc) || !Painter(dc)->isActive()) return false;
  const Rect r = NormalizedRect(*rect);
  if (RectIsEmpty(r)) return false;
  const QTransform m = LogicalToDeviceTransform(dc);
  const QRectF l(QPointF(r.left, r.top), QPointF(r.right, r.bottom));
  QPainterPath lp;
  lp.addRect(l);
  *path = m.map(lp);
  *frame = m.mapRect(l);
  if (m.m12() == 0 && m.m21() == 0) {
    // Whole pixels, as the other fills.
    const QRectF d(QPointF(std::round(frame->left()), std::round(frame->top())),
                   QPointF(std::round(frame->right()), std::round(frame->bottom())));
    *frame = d;
    QPainterPath dp;
    dp.addRect(d);
    *path = dp;
  }
  return SaneRect(*frame) && frame->width() > 0 && frame->height() > 0;
}

void FillTexture(DeviceContext* dc, const QPainterPath& path, const QRectF& frame, double angle, int texture,
                 int opacity) {
  const QImage tile = TextureTile(texture, DpiX(dc));
  if (tile.isNull()) return;
  QBrush brush(tile);
  brush.setTransform(LocalToDevice(frame, angle));
  // A texture is generated noise and grain, as a photograph is: a PDF may
  // keep its tile as JPEG (a tenth of its flate size at printer resolution).
  QPainter* p = Painter(dc);
  const bool lossless = p->testRenderHint(QPainter::LosslessImageRendering);
  p->setRenderHint(QPainter::LosslessImageRendering, false);
  FillWith(dc, path, brush, opacity, std::fmod(std::fabs(angle), 90.0) != 0.0);
  p->setRenderHint(QPainter::LosslessImageRendering, lossless);
}

void FillGradient(DeviceContext* dc, const QPainterPath& path, const QRectF& frame, double angle, int type, Colour c1,
                  Colour c2, bool oneColour, int opacity) {
  if (!KnownGradient(type)) type = 100;
  const Colour second = oneColour ? LightTint(c1) : c2;
  const QTransform t = LocalToDevice(frame, angle);
  if (type == 105)
    FillRectangular(dc, path, frame, t, c1, second, opacity);
  else
    FillWith(dc, path, GradientBrush(type, c1, second, frame, t), opacity, true);
}

}  // namespace

double OpacityFraction(int opacity) {
  if (opacity <= 0 || opacity > 100) return 1.0;
  return opacity / 100.0;
}

bool DeviceFillFrame(DeviceContext* dc, const Rect& rect, QRectF* frame) {
  QPainterPath path;
  return frame && DeviceFrame(dc, &rect, frame, &path);
}

QBrush GradientFillBrush(Colour c1, Colour c2, const QRectF& frame, int type, bool oneColour, int opacity) {
  if (!KnownGradient(type)) type = 100;
  if (type == 105 || !SaneRect(frame)) return QBrush();
  const Colour second = oneColour ? LightTint(c1) : c2;
  return WithOpacity(GradientBrush(type, c1, second, frame, LocalToDevice(frame, 0.0)), OpacityFraction(opacity));
}

QBrush TextureFillBrush(int texture, const QRectF& frame, int dpi) {
  const QImage tile = TextureTile(texture, dpi);
  if (tile.isNull() || !SaneRect(frame)) return QBrush();
  QBrush brush(tile);
  brush.setTransform(LocalToDevice(frame, 0.0));
  return brush;
}

QImage BrushCell(int brush, Colour c1, Colour c2) {
  if (brush < 1 || brush > 19) brush = 1;
  QImage img(8, 8, QImage::Format_RGB32);
  const auto& rows = kBrushes[static_cast<std::size_t>(brush - 1)];
  for (int y = 0; y < 8; ++y) {
    QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = 0; x < 8; ++x) line[x] = (rows[static_cast<std::size_t>(y)] & (0x80 >> x)) ? Argb(c2) : Argb(c1);
  }
  return img;
}

QImage GradientImage(Colour c1, Colour c2, int width, int height, int type, bool oneColour) {
  if (width <= 0 || height <= 0 || static_cast<long long>(width) * height > 64LL * 1024 * 1024) return QImage();
  if (!KnownGradient(type)) type = 100;
  const Colour b = oneColour ? LightTint(c1) : c2;
  QImage img(width, height, QImage::Format_RGB32);
  if (img.isNull()) return img;
  for (int y = 0; y < height; ++y) {
    QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = 0; x < width; ++x) {
      const double t = GradientT(type, x + 0.5, y + 0.5, width, height);
      line[x] = qRgb(static_cast<int>(std::lround(ColourRed(c1) + (ColourRed(b) - ColourRed(c1)) * t)),
                     static_cast<int>(std::lround(ColourGreen(c1) + (ColourGreen(b) - ColourGreen(c1)) * t)),
                     static_cast<int>(std::lround(ColourBlue(c1) + (ColourBlue(b) - ColourBlue(c1)) * t)));
    }
  }
  return img;
}

void FillDevicePathStyle(DeviceContext* dc, const QPainterPath& path, const QRectF& frame, double angleDeg,
                         int fillStyle, Colour c1, Colour c2, int opacity) {
  if (!dc || !Painter(dc) || !Painter(dc)->isActive() || path.isEmpty()) return;
  if (!SaneRect(path.boundingRect()) || !SaneRect(frame) || frame.width() <= 0 || frame.height() <= 0) return;
  if (!std::isfinite(angleDeg)) angleDeg = 0;
  angleDeg = std::fmod(angleDeg, 360.0);
  const int dpi = DpiX(dc);
  const QTransform t = LocalToDevice(frame, angleDeg);
  const bool turned = std::fmod(std::fabs(angleDeg), 90.0) != 0.0;
  if (fillStyle == 1) {
    FillWith(dc, path, QBrush(ToQColor(c1)), opacity, false);
  } else if (fillStyle >= 2 && fillStyle <= 7) {
    QBrush b(CachedHatchTile(fillStyle, c1, c2, dpi));
    b.setTransform(t);
    FillWith(dc, path, b, opacity, turned);
  } else if (fillStyle >= 8 && fillStyle <= 26) {
    QBrush b(CachedBrushTile(fillStyle - 7, c1, c2, dpi));
    b.setTransform(t);
    FillWith(dc, path, b, opacity, false);
  } else if (fillStyle >= 27 && fillStyle <= 139) {
    FillTexture(dc, path, frame, angleDeg, fillStyle - 26, opacity);
  } else if (fillStyle >= 140 && fillStyle <= 151) {
    static constexpr int kTypes[6] = {100, 101, 102, 104, 105, 106};
    const int item = (fillStyle - 140) % 6;
    FillGradient(dc, path, frame, angleDeg, kTypes[item], c1, c2, fillStyle <= 145, opacity);
  }
  // 0 and unknown codes: nothing.
}

}  // namespace pv::colmo

using namespace pv;

extern "C" {

std::int32_t ColmoGradient(DeviceContext* dc, Colour colour1, Colour colour2, const Rect* rect, std::int32_t type,
                           std::int32_t param1, std::int32_t oneColour, std::int32_t opacity) {
  (void)param1;
  QRectF frame;
  QPainterPath path;
  if (!colmo::DeviceFrame(dc, rect, &frame, &path)) return 0;
  colmo::FillGradient(dc, path, frame, 0.0, type, colour1, colour2, oneColour != 0, opacity);
  return 1;
}

std::int32_t ColmoTexture(DeviceContext* dc, const Rect* rect, std::int32_t texture, std::int32_t opacity) {
  QRectF frame;
  QPainterPath path;
  if (!colmo::DeviceFrame(dc, rect, &frame, &path)) return 0;
  colmo::FillTexture(dc, path, frame, 0.0, texture, opacity);
  return 1;
}

std::int32_t ColmoBitmap(DeviceContext* dc, const Rect* placement, const QImage* bitmap, const Size* size,
                         std::int32_t transparentColour, std::int32_t opacity, std::int32_t flags) {
  (void)flags;
  if (!dc || !placement || !bitmap || bitmap->isNull() || !Painter(dc) || !Painter(dc)->isActive()) return 0;
  const Rect dest = *placement;
  if (dest.left == dest.right || dest.top == dest.bottom) return 0;
  Rect src{0, 0, bitmap->width(), bitmap->height()};
  if (size && size->cx > 0 && size->cy > 0) {
    src.right = std::min(size->cx, bitmap->width());
    src.bottom = std::min(size->cy, bitmap->height());
  }
  QPainter* p = Painter(dc);
  const double f = colmo::OpacityFraction(opacity);
  const double old = p->opacity();
  p->setOpacity(old * f);
  if (transparentColour != -1)
    TransparentImage(dc, dest, *bitmap, &src, static_cast<Colour>(transparentColour) & 0x00FFFFFFu);
  else
    StretchImage(dc, dest, *bitmap, &src, RopSrcCopy);
  p->setOpacity(old);
  return 1;
}

}  // extern "C"
