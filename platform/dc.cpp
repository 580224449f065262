// The device context: creation, selections, modes, mapping, save / restore,
// regions and clipping, lines, figures and paths.

#include "platform/dc_internal.h"

#include <QColor>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainterPathStroker>

#include <algorithm>
#include <cmath>
#include <utility>

namespace pv {

using namespace detail;

namespace {

// Device coordinates beyond this are taken as bad input: nothing is drawn.
constexpr double kMaxCoord = 1.0e7;

// From a pixel's corner to its centre. The line and curve calls name pixels:
// their strokes run through the centres of the pixels at their points.
constexpr QPointF kCentre(0.5, 0.5);

bool Sane(const QPointF& p) {
  return std::isfinite(p.x()) && std::isfinite(p.y()) && std::fabs(p.x()) < kMaxCoord && std::fabs(p.y()) < kMaxCoord;
}
bool Sane(const QRectF& r) { return Sane(r.topLeft()) && Sane(r.bottomRight()); }
bool Sane(const QPainterPath& p) { return Sane(p.boundingRect()); }

QPointF MapF(const DeviceContext* dc, double x, double y) { return FullTransform(dc).map(QPointF(x, y)); }

bool RasterEngine(const DeviceContext* dc) {
  QPaintEngine* e = dc->painter->paintEngine();
  return e && e->type() == QPaintEngine::Raster;
}

QPainter::CompositionMode CompositionFor(Rop2 r) {
  switch (r) {
    case Rop2::NotMergePen: return QPainter::RasterOp_NotSourceAndNotDestination;
    case Rop2::MaskNotPen: return QPainter::RasterOp_NotSourceAndDestination;
    case Rop2::NotCopyPen: return QPainter::RasterOp_NotSource;
    case Rop2::MaskPenNot: return QPainter::RasterOp_SourceAndNotDestination;
    case Rop2::Not: return QPainter::RasterOp_NotDestination;
    case Rop2::XorPen: return QPainter::RasterOp_SourceXorDestination;
    case Rop2::NotMaskPen: return QPainter::RasterOp_NotSourceOrNotDestination;
    case Rop2::MaskPen: return QPainter::RasterOp_SourceAndDestination;
    case Rop2::NotXorPen: return QPainter::RasterOp_NotSourceXorDestination;
    case Rop2::MergeNotPen: return QPainter::RasterOp_NotSourceOrDestination;
    case Rop2::MergePenNot: return QPainter::RasterOp_SourceOrNotDestination;
    case Rop2::MergePen: return QPainter::RasterOp_SourceOrDestination;
    default: return QPainter::CompositionMode_SourceOver;
  }
}

QImage HatchCell(HatchStyle h, int s, const QColor& c) {
  s = std::clamp(s, 2, 256);
  QImage img(s, s, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  const QRgb px = c.rgba();
  const int mid = s / 2;
  for (int i = 0; i < s; ++i) {
    switch (h) {
      case HatchStyle::Horizontal: img.setPixel(i, mid, px); break;
      case HatchStyle::Vertical: img.setPixel(mid, i, px); break;
      case HatchStyle::FDiagonal: img.setPixel(i, i, px); break;
      case HatchStyle::BDiagonal: img.setPixel(s - 1 - i, i, px); break;
      case HatchStyle::Cross:
        img.setPixel(i, mid, px);
        img.setPixel(mid, i, px);
        break;
      case HatchStyle::DiagCross:
        img.setPixel(i, i, px);
        img.setPixel(s - 1 - i, i, px);
        break;
    }
  }
  return img;
}

QRectF DeviceRectOf(const DeviceContext* dc, const Rect& r, bool* aligned) {
  const QTransform m = FullTransform(dc);
  *aligned = AxisAligned(m);
  const QPointF a = m.map(QPointF(r.left, r.top));
  const QPointF b = m.map(QPointF(r.right, r.bottom));
  const double l = std::round(std::min(a.x(), b.x()));
  const double t = std::round(std::min(a.y(), b.y()));
  const double rr = std::round(std::max(a.x(), b.x()));
  const double bb = std::round(std::max(a.y(), b.y()));
  return QRectF(l, t, rr - l, bb - t);
}

QRect RoundedDeviceRect(const DeviceContext* dc, const Rect& logical) {
  bool aligned = false;
  const QRectF f = DeviceRectOf(dc, logical, &aligned);
  if (!Sane(f)) return QRect();
  return QRect(static_cast<int>(f.left()), static_cast<int>(f.top()), static_cast<int>(f.width()),
               static_cast<int>(f.height()));
}

QRegion DeviceRegionOf(const DeviceContext* dc, const Rect& logical) {
  const QTransform m = FullTransform(dc);
  if (AxisAligned(m)) return QRegion(RoundedDeviceRect(dc, logical));
  QPolygonF poly = m.map(QPolygonF(QRectF(logical.left, logical.top, logical.right - logical.left,
                                          logical.bottom - logical.top)));
  if (!Sane(poly.boundingRect())) return QRegion();
  return QRegion(poly.toPolygon());
}

QRegion WholeDevice(const DeviceContext* dc) {
  return QRegion(-1, -1, std::max(1, dc->info.physicalWidthPx) + 2, std::max(1, dc->info.physicalHeightPx) + 2) |
         QRegion(-1, -1, std::max(1, dc->info.widthPx) + 2, std::max(1, dc->info.heightPx) + 2);
}

// The pixels of polygons (device units), by the platform's rule: pixel
// (x, y) is inside when its centre (x + 0.5, y + 0.5) is inside by the fill
// rule; a centre exactly on a left edge is inside, on a right edge outside.
// An axis-aligned rectangle with corners (l, t) and (r, b) is thus the pixels
// l..r-1 x t..b-1. Every polygon is closed. Both the polygon regions and the
// unsmoothed polygon fills come from here, so a polygon region used as a clip
// covers exactly the pixels of the filled polygon.
//
// Rows and columns beyond kRegionLimit are left out: no device is that
// large, and it bounds the work for wild coordinates.
constexpr double kRegionLimit = 262144.0;

QRegion ScanPolygons(const QList<QPolygonF>& polys, Qt::FillRule rule) {
  struct Edge {
    double x0, y0, dxdy;   // upper end and slope
    int first, last;       // rows whose centre line crosses the edge
    int dir;               // +1 downwards, -1 upwards (winding)
  };
  std::vector<Edge> edges;
  for (const QPolygonF& poly : polys) {
    const qsizetype n = poly.size();
    if (n < 3) continue;
    for (qsizetype i = 0; i < n; ++i) {
      const QPointF a = poly.at(i);
      const QPointF b = poly.at(i + 1 < n ? i + 1 : 0);
      if (!Sane(a) || !Sane(b)) return QRegion();
      if (a.y() == b.y()) continue;
      const bool down = b.y() > a.y();
      const QPointF& top = down ? a : b;
      const QPointF& bottom = down ? b : a;
      // Rows y with top.y <= y + 0.5 < bottom.y.
      const double first = std::max(std::ceil(top.y() - 0.5), -kRegionLimit);
      const double last = std::min(std::ceil(bottom.y() - 0.5) - 1.0, kRegionLimit - 1.0);
      if (last < first) continue;
      edges.push_back(Edge{top.x(), top.y(), (bottom.x() - top.x()) / (bottom.y() - top.y()), static_cast<int>(first),
                           static_cast<int>(last), down ? 1 : -1});
    }
  }
  if (edges.empty()) return QRegion();
  std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.first < b.first; });

  struct Crossing {
    double x;
    int dir;
  };
  using Span = std::pair<int, int>;   // pixels first..second-1
  std::vector<QRect> rects;
  std::vector<std::size_t> active;
  std::vector<Crossing> xs;
  std::vector<Span> spans, band;
  int bandTop = 0;
  auto flush = [&](int bottom) {
    for (const Span& s : band) rects.emplace_back(s.first, bandTop, s.second - s.first, bottom - bandTop);
    band.clear();
  };
  const auto inside = [rule](int w) { return rule == Qt::WindingFill ? w != 0 : (w & 1) != 0; };
  std::size_t next = 0;
  int y = edges.front().first;
  bandTop = y;
  while (next < edges.size() || !active.empty()) {
    if (active.empty() && edges[next].first > y) {
      flush(y);
      y = edges[next].first;
      bandTop = y;
    }
    while (next < edges.size() && edges[next].first <= y) active.push_back(next++);
    xs.clear();
    const double yc = y + 0.5;
    for (std::size_t k : active) {
      const Edge& e = edges[k];
      xs.push_back(Crossing{e.x0 + (yc - e.y0) * e.dxdy, e.dir});
    }
    std::sort(xs.begin(), xs.end(), [](const Crossing& a, const Crossing& b) { return a.x < b.x; });
    spans.clear();
    int w = 0;
    double from = 0;
    for (const Crossing& c : xs) {
      const bool was = inside(w);
      w += rule == Qt::WindingFill ? c.dir : 1;
      const bool is = inside(w);
      if (!was && is) {
        from = c.x;
      } else if (was && !is) {
        const int x0 = static_cast<int>(std::max(std::ceil(from - 0.5), -kRegionLimit));
        const int x1 = static_cast<int>(std::min(std::ceil(c.x - 0.5), kRegionLimit));
        if (x1 <= x0) continue;
        if (!spans.empty() && x0 <= spans.back().second)
          spans.back().second = std::max(spans.back().second, x1);
        else
          spans.emplace_back(x0, x1);
      }
    }
    if (spans != band) {
      flush(y);
      band = spans;
      bandTop = y;
    }
    ++y;
    active.erase(std::remove_if(active.begin(), active.end(), [&](std::size_t k) { return edges[k].last < y; }),
                 active.end());
  }
  flush(y);
  QRegion r;
  if (!rects.empty()) r.setRects(rects.data(), static_cast<int>(rects.size()));
  return r;
}

QRegion RegionFromPath(const QPainterPath& path) { return ScanPolygons(path.toSubpathPolygons(), path.fillRule()); }

QRegion Combine(const QRegion& a, const QRegion& b, RegionOp op) {
  switch (op) {
    case RegionOp::And: return a.intersected(b);
    case RegionOp::Or: return a.united(b);
    case RegionOp::Xor: return a.xored(b);
    case RegionOp::Diff: return a.subtracted(b);
    case RegionOp::Copy: return b;
  }
  return b;
}

Qt::FillRule Rule(FillMode m) { return m == FillMode::Winding ? Qt::WindingFill : Qt::OddEvenFill; }

// Fills an outline (polygons, or a path as given) with the brush by its fill
// rule. Unsmoothed it covers the pixels whose centres are inside: the very
// pixels of the same outline as a region or a path clip. Smoothed it covers
// exactly the outline's area.
void FillOutline(DeviceContext* dc, const QPainterPath& outline) {
  if (dc->st.brush.style == BrushStyle::Null) return;
  const Rop2 r = dc->st.rop2;
  const bool smooth = dc->st.smoothing && (r == Rop2::CopyPen || r == Rop2::Black || r == Rop2::White);
  if (smooth) {
    PaintFill(dc, outline, dc->st.brush);
    return;
  }
  QPainterPath pixels;
  pixels.addRegion(RegionFromPath(outline));
  PaintFill(dc, pixels, dc->st.brush);
}

// Qt strokes a one-pixel line between the centres of its end pixels, which
// takes half of the start pixel and all of the end pixel. Drawn as LineTo
// draws (the start pixel in, the end pixel out), each open figure's first
// and last straight piece is moved back half a pixel along its direction.
// Curves and closed figures are left as they are; wider pens too.
QPainterPath HairlineEnds(const DeviceContext* dc, const QPainterPath& p) {
  if (DevicePenWidth(dc, dc->st.pen) > 1.0) return p;
  const auto back = [](QPointF from, QPointF to, QPointF* moved) {
    const QPointF d = to - from;
    const double cheb = std::max(std::fabs(d.x()), std::fabs(d.y()));
    if (cheb < 0.5) return false;
    *moved = d / cheb * 0.5;
    return true;
  };
  QPainterPath out = p;
  const int n = p.elementCount();
  for (int start = 0; start < n;) {
    int end = start + 1;
    while (end < n && !p.elementAt(end).isMoveTo()) ++end;
    const QPointF first = p.elementAt(start);
    const QPointF last = p.elementAt(end - 1);
    if (end - start >= 2 && first != last) {
      QPointF d;
      if (p.elementAt(start + 1).isLineTo() && back(first, p.elementAt(start + 1), &d))
        out.setElementPositionAt(start, first.x() - d.x(), first.y() - d.y());
      if (p.elementAt(end - 1).isLineTo() && back(p.elementAt(end - 2), last, &d))
        out.setElementPositionAt(end - 1, last.x() - d.x(), last.y() - d.y());
    }
    start = end;
  }
  return out;
}

// Closed figure: fill the figure, then outline it with the pen (inside the
// box unless the pen is centred).
void DrawClosed(DeviceContext* dc, const QPainterPath& fillPath, const QPainterPath& strokePath) {
  if (!Sane(fillPath)) return;
  if (dc->st.pathOpen) {
    PathAdd(dc, fillPath);
    return;
  }
  PaintFill(dc, fillPath, dc->st.brush);
  if (dc->st.pen.style != PenStyle::Null) PaintStroke(dc, strokePath, dc->st.pen, false);
}

enum class Figure { Rect, Ellipse, RoundRect };

void DrawBoxFigure(DeviceContext* dc, const Rect& r, Figure fig, double ew, double eh) {
  if (!Valid(dc)) return;
  const QTransform m = FullTransform(dc);
  const Pen& pen = dc->st.pen;
  const bool hasPen = pen.style != PenStyle::Null;
  const double w = hasPen ? DevicePenWidth(dc, pen) : 0.0;
  QPainterPath fill;
  QPainterPath stroke;
  const bool squareCorners = fig == Figure::Rect;
  auto add = [&](QPainterPath& p, const QRectF& box, double rx, double ry) {
    switch (fig) {
      case Figure::Rect: p.addRect(box); break;
      case Figure::Ellipse: p.addEllipse(box); break;
      case Figure::RoundRect: p.addRoundedRect(box, std::max(0.0, rx), std::max(0.0, ry)); break;
    }
  };
  if (AxisAligned(m)) {
    bool aligned = true;
    const QRectF box = DeviceRectOf(dc, r, &aligned);
    if (box.width() <= 0 || box.height() <= 0) return;
    const bool solidPen = hasPen && pen.insideFrame && (pen.style == PenStyle::Solid || pen.style == PenStyle::InsideFrame);
    if (fig == Figure::Rect && solidPen && !dc->st.pathOpen) {
      // Pixel-exact frame: the ring between the box and the box less the
      // pen width, and the brush inside it (no pixel is painted twice).
      const double k = std::max(1.0, std::round(w));
      const QRectF inner = box.adjusted(k, k, -k, -k);
      QPainterPath ring;
      ring.setFillRule(Qt::OddEvenFill);
      ring.addRect(box);
      if (inner.width() > 0 && inner.height() > 0) {
        ring.addRect(inner);
        QPainterPath in;
        in.addRect(inner);
        PaintFill(dc, in, dc->st.brush);
      }
      PaintFill(dc, ring, Brush::SolidColour(pen.colour));
      return;
    }
    const double sx = std::fabs(m.m11());
    const double sy = std::fabs(m.m22());
    add(fill, box, ew * sx / 2, eh * sy / 2);
    if (hasPen) {
      const double inset = pen.insideFrame ? w / 2 : 0.5;
      QRectF sb = box.adjusted(inset, inset, -inset, -inset);
      if (sb.width() <= 0 || sb.height() <= 0) {
        // The pen fills the whole figure.
        DrawClosed(dc, fill, QPainterPath());
        if (!dc->st.pathOpen) PaintFill(dc, fill, Brush::SolidColour(pen.colour));
        return;
      }
      add(stroke, sb, std::max(0.0, ew * sx / 2 - inset), std::max(0.0, eh * sy / 2 - inset));
    }
  } else {
    const QRectF box = QRectF(QPointF(r.left, r.top), QPointF(r.right, r.bottom)).normalized();
    if (box.width() <= 0 || box.height() <= 0) return;
    QPainterPath f;
    add(f, box, ew / 2, eh / 2);
    fill = m.map(f);
    if (hasPen) {
      const double s = std::max(1e-9, Scale(m));
      const double inset = (pen.insideFrame ? w / 2 : 0.5) / s;
      QRectF sb = box.adjusted(inset, inset, -inset, -inset);
      if (sb.width() > 0 && sb.height() > 0) {
        QPainterPath sp;
        add(sp, sb, std::max(0.0, ew / 2 - inset), std::max(0.0, eh / 2 - inset));
        stroke = m.map(sp);
      }
    }
  }
  if (squareCorners) {
    const PenJoin join = dc->st.pen.join;
    dc->st.pen.join = PenJoin::Miter;
    DrawClosed(dc, fill, stroke);
    dc->st.pen.join = join;
    return;
  }
  DrawClosed(dc, fill, stroke);
}

// Start and sweep (degrees, Qt convention: counter-clockwise on screen) of
// an arc of the ellipse in box from the ray through s to the ray through e.
void ArcAngles(const DeviceContext* dc, const QRectF& box, QPointF s, QPointF e, double* start, double* sweep) {
  const QPointF c = box.center();
  const double rx = std::max(1e-9, box.width() / 2);
  const double ry = std::max(1e-9, box.height() / 2);
  double a0 = std::atan2(-(s.y() - c.y()) / ry, (s.x() - c.x()) / rx) * 180.0 / M_PI;
  double a1 = std::atan2(-(e.y() - c.y()) / ry, (e.x() - c.x()) / rx) * 180.0 / M_PI;
  double sw;
  if (dc->st.arcDirection == ArcDirection::CounterClockwise) {
    sw = std::fmod(a1 - a0 + 720.0, 360.0);
    if (sw <= 1e-9) sw = 360.0;
  } else {
    sw = -std::fmod(a0 - a1 + 720.0, 360.0);
    if (sw >= -1e-9) sw = -360.0;
  }
  *start = a0;
  *sweep = sw;
}

enum class ArcKind { Arc, ArcTo, Chord, Pie };

void DrawArcFigure(DeviceContext* dc, const Rect& r, Point s, Point e, ArcKind kind) {
  if (!Valid(dc)) return;
  const QRectF box = QRectF(QPointF(r.left, r.top), QPointF(r.right, r.bottom)).normalized();
  const QTransform m = FullTransform(dc);
  if (box.width() <= 0 || box.height() <= 0) {
    // No arc on a box without area. ArcTo still draws its line to the start
    // of the collapsed arc and leaves the position at its end (both the
    // centre when the box has no size at all).
    if (kind != ArcKind::ArcTo) return;
    double a0 = 0, sw = 0;
    ArcAngles(dc, box, QPointF(s.x, s.y), QPointF(e.x, e.y), &a0, &sw);
    const auto on = [&](double deg) {
      const double t = deg * M_PI / 180.0;
      return box.center() + QPointF(box.width() / 2 * std::cos(t), -box.height() / 2 * std::sin(t));
    };
    const QPointF startPt = m.map(on(a0));
    const QPointF endL = on(a0 + sw);
    QPainterPath line;
    line.moveTo(MapF(dc, dc->st.position.x, dc->st.position.y));
    line.lineTo(startPt);
    if (!Sane(line) || !Sane(endL)) return;
    dc->st.position = Point{static_cast<std::int32_t>(std::lround(endL.x())),
                            static_cast<std::int32_t>(std::lround(endL.y()))};
    if (dc->st.pathOpen) {
      PathConnect(dc, line, line);
      return;
    }
    PaintStroke(dc, line, dc->st.pen, true);
    return;
  }
  // Work in logical space; a y-flipping mapping flips the direction, as the
  // logical picture does.
  double a0 = 0, sw = 0;
  ArcAngles(dc, box, QPointF(s.x, s.y), QPointF(e.x, e.y), &a0, &sw);
  QPainterPath p;
  if (kind == ArcKind::Pie) {
    p.moveTo(box.center());
    p.arcTo(box, a0, sw);
    p.closeSubpath();
  } else {
    p.arcMoveTo(box, a0);
    p.arcTo(box, a0, sw);
    if (kind == ArcKind::Chord) p.closeSubpath();
  }
  const QPainterPath dp = m.map(p);
  if (!Sane(dp)) return;
  if (kind == ArcKind::Arc || kind == ArcKind::ArcTo) {
    if (kind == ArcKind::ArcTo) {
      // A line from the current position to the arc's start, then the arc.
      const QPointF startPt = dp.elementCount() > 0 ? QPointF(dp.elementAt(0).x, dp.elementAt(0).y) : QPointF();
      const QPointF cur = MapF(dc, dc->st.position.x, dc->st.position.y);
      QPainterPath full;
      full.moveTo(cur);
      full.lineTo(startPt);
      full.connectPath(dp);
      const QPointF endPt = dp.currentPosition();
      const QPointF lend = m.inverted().map(endPt);
      dc->st.position = Point{static_cast<std::int32_t>(std::lround(lend.x())),
                              static_cast<std::int32_t>(std::lround(lend.y()))};
      if (dc->st.pathOpen) {
        PathConnect(dc, full, full);
        return;
      }
      PaintStroke(dc, full, dc->st.pen, true);
      return;
    }
    if (dc->st.pathOpen) {
      PathAdd(dc, dp);
      return;
    }
    PaintStroke(dc, dp, dc->st.pen, true);
    return;
  }
  DrawClosed(dc, dp, dp);
}

QPainterPath PolyPath(const DeviceContext* dc, const Point* pts, int n, bool close, bool centre) {
  QPainterPath p;
  if (!pts || n <= 0) return p;
  const QTransform m = FullTransform(dc);
  const double off = centre ? 0.5 : 0.0;
  for (int i = 0; i < n; ++i) {
    const QPointF q = m.map(QPointF(pts[i].x, pts[i].y)) + QPointF(off, off);
    if (i == 0)
      p.moveTo(q);
    else
      p.lineTo(q);
  }
  if (close) p.closeSubpath();
  return p;
}

void StrokeLineDevice(DeviceContext* dc, QPointF a, QPointF b) {
  // Device points of the pixel grid (whole numbers when the mapping is).
  if (!Sane(a) || !Sane(b)) return;
  const Pen& pen = dc->st.pen;
  if (pen.style == PenStyle::Null) return;
  const double w = DevicePenWidth(dc, pen);
  const double dx = b.x() - a.x();
  const double dy = b.y() - a.y();
  const double cheb = std::max(std::fabs(dx), std::fabs(dy));
  if (cheb < 0.5) return;   // a line to its own start draws nothing
  QPainterPath p;
  if (w <= 1.0) {
    const bool axis = std::fabs(dx) < 1e-9 || std::fabs(dy) < 1e-9;
    if (axis || !dc->st.smoothing || dc->st.rop2 != Rop2::CopyPen) {
      // Aliased one-pixel lines on whole coordinates with a flat cap leave
      // out the end pixel by themselves.
      const QPointF ra(std::round(a.x()), std::round(a.y()));
      const QPointF rb(std::round(b.x()), std::round(b.y()));
      if (!BeginMix(dc, false)) return;
      if (pen.style == PenStyle::Solid || pen.style == PenStyle::InsideFrame) {
        // The pixels from the start up to, not including, the end, each once.
        const QColor col = MixColour(dc, pen.colour);
        long long x0 = static_cast<long long>(ra.x()), y0 = static_cast<long long>(ra.y());
        const long long x1 = static_cast<long long>(rb.x()), y1 = static_cast<long long>(rb.y());
        const long long ddx = std::llabs(x1 - x0), ddy = -std::llabs(y1 - y0);
        const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
        if (ddy == 0 || ddx == 0) {
          const long long len = ddx == 0 ? -ddy : ddx;
          const QRect r = ddy == 0 ? QRect(static_cast<int>(sx > 0 ? x0 : x1 + 1), static_cast<int>(y0), static_cast<int>(len), 1)
                                   : QRect(static_cast<int>(x0), static_cast<int>(sy > 0 ? y0 : y1 + 1), 1, static_cast<int>(len));
          dc->painter->fillRect(r, col);
          EndMix(dc);
          return;
        }
        long long err = ddx + ddy;
        long long runStart = x0;
        long long runY = y0;
        auto flush = [&](long long xa, long long xb, long long yy) {
          const long long lo = std::min(xa, xb), hi = std::max(xa, xb);
          dc->painter->fillRect(QRect(static_cast<int>(lo), static_cast<int>(yy), static_cast<int>(hi - lo + 1), 1), col);
        };
        long long px = x0;
        while (!(x0 == x1 && y0 == y1)) {
          px = x0;
          const long long e2 = 2 * err;
          if (e2 >= ddy) {
            err += ddy;
            x0 += sx;
          }
          if (e2 <= ddx) {
            err += ddx;
            flush(runStart, px, runY);
            y0 += sy;
            runStart = x0;
            runY = y0;
          }
        }
        if (runY != y1 || runStart != x1) flush(runStart, x0 - sx, runY);
        EndMix(dc);
        return;
      }
      QPen qp = MakeQPen(dc, pen, 1.0, true);
      qp.setCapStyle(Qt::FlatCap);
      dc->painter->setPen(qp);
      dc->painter->setBrush(Qt::NoBrush);
      if (dc->st.bkMode == BkMode::Opaque && pen.style != PenStyle::Solid && pen.style != PenStyle::InsideFrame) {
        QPen bg = qp;
        bg.setStyle(Qt::SolidLine);
        bg.setColor(ToQColor(dc->st.bkColour));
        dc->painter->setPen(bg);
        dc->painter->drawLine(ra, rb);
        dc->painter->setPen(qp);
      }
      dc->painter->drawLine(ra, rb);
      EndMix(dc);
      return;
    }
    // Smoothed slanted hairline: from the start pixel's centre, stopping
    // short of the end pixel.
    const QPointF u(dx / cheb, dy / cheb);
    const QPointF c(0.5, 0.5);
    p.moveTo(a + c - u * 0.5);
    p.lineTo(b + c - u * 0.5);
    PaintStroke(dc, p, pen, true);
    return;
  }
  p.moveTo(a + QPointF(0.5, 0.5));
  p.lineTo(b + QPointF(0.5, 0.5));
  PaintStroke(dc, p, pen, true);
}

}  // namespace

// ---------------------------------------------------------------------------
// Helpers shared by the drawing files
// ---------------------------------------------------------------------------

namespace detail {

QTransform PageTransform(const DeviceContext* dc) {
  const DcState& s = dc->st;
  double sx = 1, sy = 1;
  const double dpx = std::max(1, dc->info.dpiX);
  const double dpy = std::max(1, dc->info.dpiY);
  switch (s.mapMode) {
    case MapMode::Text: break;
    case MapMode::LoMetric: sx = dpx / 254.0; sy = -dpy / 254.0; break;
    case MapMode::HiMetric: sx = dpx / 2540.0; sy = -dpy / 2540.0; break;
    case MapMode::LoEnglish: sx = dpx / 100.0; sy = -dpy / 100.0; break;
    case MapMode::HiEnglish: sx = dpx / 1000.0; sy = -dpy / 1000.0; break;
    case MapMode::Twips: sx = dpx / 1440.0; sy = -dpy / 1440.0; break;
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

void ApplyClip(DeviceContext* dc) {
  QPainter* p = dc->painter;
  p->setTransform(dc->base);
  if (dc->st.hasClip && dc->st.clip.isEmpty()) {
    // An empty clip shows nothing (an empty QRegion would switch clipping off).
    p->setClipRegion(QRegion(-2000000000, -2000000000, 1, 1), Qt::ReplaceClip);
    return;
  }
  if (dc->hasBaseClip) {
    p->setClipRegion(dc->baseClip);
    if (dc->st.hasClip) p->setClipRegion(dc->st.clip, Qt::IntersectClip);
  } else if (dc->st.hasClip) {
    p->setClipRegion(dc->st.clip);
  } else {
    p->setClipping(false);
  }
  if (dc->st.hasClipOutline)
    p->setClipPath(dc->st.clipOutline, p->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
}

bool BeginMix(DeviceContext* dc, bool smoothOk) {
  const Rop2 r = dc->st.rop2;
  if (r == Rop2::Nop) return false;
  const bool plain = r == Rop2::CopyPen || r == Rop2::Black || r == Rop2::White;
  QPainter* p = dc->painter;
  if (!plain && RasterEngine(dc))
    p->setCompositionMode(CompositionFor(r));
  else
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
  p->setRenderHint(QPainter::Antialiasing, smoothOk && plain && dc->st.smoothing);
  return true;
}

void EndMix(DeviceContext* dc) { dc->painter->setCompositionMode(QPainter::CompositionMode_SourceOver); }

void PathAdd(DeviceContext* dc, const QPainterPath& shape, const QPainterPath& stroke) {
  dc->st.path.addPath(shape);
  dc->st.strokePath.addPath(stroke);
}

void PathConnect(DeviceContext* dc, const QPainterPath& shape, const QPainterPath& stroke) {
  dc->st.path.connectPath(shape);
  dc->st.strokePath.connectPath(stroke);
}

QColor MixColour(const DeviceContext* dc, Colour c) {
  if (dc->st.rop2 == Rop2::Black) return QColor(0, 0, 0);
  if (dc->st.rop2 == Rop2::White) return QColor(255, 255, 255);
  return ToQColor(c);
}

QBrush MakeQBrush(const DeviceContext* dc, const Brush& b) {
  QBrush qb;
  switch (b.style) {
    case BrushStyle::Null: return QBrush(Qt::NoBrush);
    case BrushStyle::Solid: return QBrush(MixColour(dc, b.colour));
    case BrushStyle::Hatched: qb = QBrush(HatchCell(b.hatch, b.hatchSpacing, MixColour(dc, b.colour))); break;
    case BrushStyle::Pattern: {
      if (b.pattern.isNull()) return QBrush(MixColour(dc, b.colour));
      QImage img = b.pattern.convertToFormat(QImage::Format_ARGB32);
      if (b.monochrome) {
        const QRgb fg = ToQColor(dc->st.textColour).rgba();
        const QRgb bg = ToQColor(dc->st.bkColour).rgba();
        for (int y = 0; y < img.height(); ++y) {
          QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(y));
          for (int x = 0; x < img.width(); ++x) line[x] = qGray(line[x]) < 128 ? fg : bg;
        }
      }
      qb = QBrush(img);
      break;
    }
  }
  qb.setTransform(QTransform::fromTranslate(dc->st.brushOrigin.x, dc->st.brushOrigin.y));
  return qb;
}

QPen MakeQPen(const DeviceContext* dc, const Pen& pen, double w, bool /*forLine*/) {
  QPen qp(MixColour(dc, pen.colour));
  qp.setWidthF(std::max(1.0, w));
  qp.setCosmetic(false);
  switch (pen.cap) {
    case PenCap::Round: qp.setCapStyle(Qt::RoundCap); break;
    case PenCap::Square: qp.setCapStyle(Qt::SquareCap); break;
    case PenCap::Flat: qp.setCapStyle(Qt::FlatCap); break;
  }
  if (w <= 1.0) qp.setCapStyle(Qt::FlatCap);
  switch (pen.join) {
    case PenJoin::Round: qp.setJoinStyle(Qt::RoundJoin); break;
    case PenJoin::Bevel: qp.setJoinStyle(Qt::BevelJoin); break;
    case PenJoin::Miter: qp.setJoinStyle(Qt::MiterJoin); break;
  }
  qp.setMiterLimit(dc->st.miterLimit / 2.0);
  const double ww = std::max(1.0, w);
  // Cosmetic style lengths are device pixels; geometric ones follow the width.
  auto pattern = [&](std::initializer_list<double> px) {
    QList<qreal> d;
    for (double v : px) d.append(pen.geometric ? v : std::max(0.01, v / ww));
    qp.setDashPattern(d);
  };
  switch (pen.style) {
    case PenStyle::Solid:
    case PenStyle::InsideFrame:
    case PenStyle::Null: break;
    case PenStyle::Dash:
      if (pen.geometric) pattern({3, 1}); else pattern({18, 6});
      break;
    case PenStyle::Dot:
      if (pen.geometric) pattern({1, 1}); else pattern({3, 3});
      break;
    case PenStyle::DashDot:
      if (pen.geometric) pattern({3, 1, 1, 1}); else pattern({9, 6, 3, 6});
      break;
    case PenStyle::DashDotDot:
      if (pen.geometric) pattern({3, 1, 1, 1, 1, 1}); else pattern({9, 3, 3, 3, 3, 3});
      break;
    case PenStyle::Alternate: pattern({1, 1}); break;
    case PenStyle::User: {
      QList<qreal> d;
      const int n = std::clamp(pen.dashCount, 0, 16);
      for (int i = 0; i < n; ++i) {
        const double v = std::max(0.0, pen.dashes[i]);
        d.append(std::max(0.01, (pen.geometric ? v * Scale(FullTransform(dc)) : v) / ww));
      }
      if (d.size() % 2) d.append(d.back());
      if (!d.isEmpty()) qp.setDashPattern(d);
      break;
    }
  }
  return qp;
}

void PaintFill(DeviceContext* dc, const QPainterPath& path, const Brush& brush) {
  if (brush.style == BrushStyle::Null || path.isEmpty()) return;
  if (!BeginMix(dc, true)) return;
  QPainter* p = dc->painter;
  p->setPen(Qt::NoPen);
  if (brush.style == BrushStyle::Hatched && dc->st.bkMode == BkMode::Opaque) {
    p->setBrush(MixColour(dc, dc->st.bkColour));
    p->drawPath(path);
  }
  p->setBrush(MakeQBrush(dc, brush));
  p->drawPath(path);
  EndMix(dc);
}

void PaintStroke(DeviceContext* dc, const QPainterPath& path, const Pen& pen, bool forLine) {
  if (pen.style == PenStyle::Null || path.isEmpty()) return;
  const double w = DevicePenWidth(dc, pen);
  if (!BeginMix(dc, true)) return;
  QPainter* p = dc->painter;
  p->setBrush(Qt::NoBrush);
  QPen qp = MakeQPen(dc, pen, w, forLine);
  if (dc->st.bkMode == BkMode::Opaque && qp.style() != Qt::SolidLine) {
    QPen bg = qp;
    bg.setStyle(Qt::SolidLine);
    bg.setColor(MixColour(dc, dc->st.bkColour));
    p->setPen(bg);
    p->drawPath(path);
  }
  p->setPen(qp);
  p->drawPath(path);
  EndMix(dc);
}

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
    : image_(std::clamp(width, 1, 32767), std::clamp(height, 1, 32767), format) {
  if (image_.isNull()) return;
  image_.setDotsPerMeterX(static_cast<int>(std::lround(std::max(1, dpiX) / 0.0254)));
  image_.setDotsPerMeterY(static_cast<int>(std::lround(std::max(1, dpiY) / 0.0254)));
  image_.fill(ToQColor(fill));
  painter_ = std::make_unique<QPainter>(&image_);
  DeviceInfo info;
  info.dpiX = dpiX;
  info.dpiY = dpiY;
  dc_ = CreateDeviceContext(painter_.get(), info, &image_);
}

ImageSurface::~ImageSurface() { finish(); }

QPainter* ImageSurface::painter() const { return painter_.get(); }

QImage ImageSurface::finish() {
  if (dc_) {
    DeleteDeviceContext(dc_);
    dc_ = nullptr;
  }
  if (painter_) {
    if (painter_->isActive()) painter_->end();
    painter_.reset();
  }
  return image_;
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

#define PV_DC_SETTER(Name, Getter, Type, field, fallback)   \
  Type Name(DeviceContext* dc, Type v) {                    \
    if (!dc) return fallback;                               \
    Type old = dc->st.field;                                \
    dc->st.field = v;                                       \
    return old;                                             \
  }                                                         \
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
               static_cast<float>(t.m22()), static_cast<float>(t.dx()), static_cast<float>(t.dy())};
}

namespace {
std::int32_t ClampRound(double v) {
  if (!std::isfinite(v)) return 0;
  return static_cast<std::int32_t>(std::clamp(std::round(v), -2147483648.0, 2147483647.0));
}
}  // namespace

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
  if (dc->stack.size() >= 100000) return 0;   // runaway saves
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

// ---------------------------------------------------------------------------
// Regions
// ---------------------------------------------------------------------------

Region::Region() : rgn_(std::make_unique<QRegion>()) {}
Region::~Region() = default;
Region::Region(const Region& o) : rgn_(std::make_unique<QRegion>(*o.rgn_)) {}
Region& Region::operator=(const Region& o) {
  if (this != &o) *rgn_ = *o.rgn_;
  return *this;
}
Region::Region(Region&& o) noexcept : rgn_(std::move(o.rgn_)) { o.rgn_ = std::make_unique<QRegion>(); }
Region& Region::operator=(Region&& o) noexcept {
  if (this != &o) {
    rgn_ = std::move(o.rgn_);
    o.rgn_ = std::make_unique<QRegion>();
  }
  return *this;
}
Region::Region(const QRegion& r) : rgn_(std::make_unique<QRegion>(r)) {}

namespace {
QRect ToQRect(const Rect& r0) {
  const Rect r = NormalizedRect(r0);
  const long long w = static_cast<long long>(r.right) - r.left;
  const long long h = static_cast<long long>(r.bottom) - r.top;
  if (w <= 0 || h <= 0 || std::llabs(r.left) > kMaxCoord || std::llabs(r.top) > kMaxCoord || w > kMaxCoord ||
      h > kMaxCoord)
    return QRect();
  return QRect(r.left, r.top, static_cast<int>(w), static_cast<int>(h));
}
}  // namespace

Region Region::FromRect(const Rect& r) { return Region(QRegion(ToQRect(r))); }
Region Region::FromEllipse(const Rect& r) {
  const QRect q = ToQRect(r);
  return q.isEmpty() ? Region() : Region(QRegion(q, QRegion::Ellipse));
}
Region Region::FromRoundRect(const Rect& r, std::int32_t ew, std::int32_t eh) {
  const QRect q = ToQRect(r);
  if (q.isEmpty()) return Region();
  QPainterPath p;
  p.addRoundedRect(QRectF(q), std::clamp(ew / 2.0, 0.0, q.width() / 2.0), std::clamp(eh / 2.0, 0.0, q.height() / 2.0));
  return Region(RegionFromPath(p));
}
Region Region::FromPolygon(const Point* pts, int n, FillMode mode) {
  if (!pts || n < 3 || n > 50000000) return Region();
  QPolygonF poly;
  poly.reserve(n);
  for (int i = 0; i < n; ++i) {
    if (std::llabs(pts[i].x) > kMaxCoord || std::llabs(pts[i].y) > kMaxCoord) return Region();
    poly << QPointF(pts[i].x, pts[i].y);
  }
  return Region(ScanPolygons({poly}, Rule(mode)));
}
Region Region::FromPolyPolygon(const Point* pts, const std::int32_t* counts, int polygons, FillMode mode) {
  if (!pts || !counts || polygons <= 0) return Region();
  QList<QPolygonF> polys;
  long long at = 0;
  for (int k = 0; k < polygons; ++k) {
    const int c = counts[k];
    if (c <= 0 || c > 10000000) return Region();
    QPolygonF poly;
    poly.reserve(c);
    for (int i = 0; i < c; ++i) {
      const Point& q = pts[at + i];
      if (std::llabs(q.x) > kMaxCoord || std::llabs(q.y) > kMaxCoord) return Region();
      poly << QPointF(q.x, q.y);
    }
    at += c;
    polys << poly;
  }
  return Region(ScanPolygons(polys, Rule(mode)));
}
Region Region::FromRects(const Rect* rects, int count) {
  QRegion r;
  if (!rects) return Region();
  for (int i = 0; i < count; ++i) r = r.united(QRegion(ToQRect(rects[i])));
  return Region(r);
}

bool Region::isEmpty() const { return rgn_->isEmpty(); }
bool Region::contains(std::int32_t x, std::int32_t y) const { return rgn_->contains(QPoint(x, y)); }
Rect Region::boundingRect() const {
  const QRect b = rgn_->boundingRect();
  if (b.isEmpty()) return Rect{};
  return Rect{b.left(), b.top(), b.left() + b.width(), b.top() + b.height()};
}
void Region::offset(std::int32_t dx, std::int32_t dy) { rgn_->translate(dx, dy); }
const QRegion& Region::qregion() const { return *rgn_; }

Region CombineRegion(const Region& a, const Region& b, RegionOp op) {
  return Region(Combine(a.qregion(), b.qregion(), op));
}

// ---------------------------------------------------------------------------
// Clipping
// ---------------------------------------------------------------------------

namespace {
void CombineClip(DeviceContext* dc, const QRegion& r, RegionOp op) {
  if (op == RegionOp::Copy) {
    dc->st.clip = r;
    dc->st.hasClip = true;
  } else {
    const QRegion cur = dc->st.hasClip ? dc->st.clip : WholeDevice(dc);
    dc->st.clip = Combine(cur, r, op);
    dc->st.hasClip = true;
  }
  if (Valid(dc)) ApplyClip(dc);
}
}  // namespace

void SelectClipRegion(DeviceContext* dc, const Region* rgn, RegionOp op) {
  if (!dc) return;
  const int v = static_cast<int>(op);
  if (v < 1 || v > 5) return;
  if (!rgn) {
    if (op == RegionOp::Copy) {
      dc->st.hasClip = false;
      dc->st.clip = QRegion();
      if (Valid(dc)) ApplyClip(dc);
    }
    return;
  }
  CombineClip(dc, rgn->qregion(), op);
}

void IntersectClipRect(DeviceContext* dc, const Rect& logical) {
  if (!dc) return;
  CombineClip(dc, DeviceRegionOf(dc, logical), RegionOp::And);
}

void ExcludeClipRect(DeviceContext* dc, const Rect& logical) {
  if (!dc) return;
  CombineClip(dc, DeviceRegionOf(dc, logical), RegionOp::Diff);
}

void OffsetClipRegion(DeviceContext* dc, std::int32_t dx, std::int32_t dy) {
  if (!dc || !dc->st.hasClip) return;
  dc->st.clip.translate(dx, dy);
  if (Valid(dc)) ApplyClip(dc);
}

bool GetClipRegion(const DeviceContext* dc, Region* out) {
  if (!dc || !dc->st.hasClip) return false;
  if (out) *out = Region(dc->st.clip);
  return true;
}

Rect GetClipBox(const DeviceContext* dc) {
  if (!dc) return Rect{};
  QRegion vis = WholeDevice(dc).intersected(QRegion(0, 0, dc->info.widthPx, dc->info.heightPx));
  if (dc->hasBaseClip) vis = vis.intersected(dc->baseClip);
  if (dc->st.hasClip) vis = vis.intersected(dc->st.clip);
  if (dc->st.hasClipOutline) vis = vis.intersected(dc->st.clipOutline.boundingRect().toAlignedRect());
  const QRect b = vis.boundingRect();
  if (b.isEmpty()) return Rect{};
  bool ok = false;
  const QTransform inv = FullTransform(dc).inverted(&ok);
  if (!ok) return Rect{};
  const QRectF l = inv.mapRect(QRectF(b));
  return Rect{ClampRound(std::floor(l.left())), ClampRound(std::floor(l.top())), ClampRound(std::ceil(l.right())),
              ClampRound(std::ceil(l.bottom()))};
}

bool PtVisible(const DeviceContext* dc, std::int32_t x, std::int32_t y) {
  if (!dc) return false;
  const QPointF d = FullTransform(dc).map(QPointF(x, y));
  const QPoint p(static_cast<int>(std::floor(d.x())), static_cast<int>(std::floor(d.y())));
  if (p.x() < 0 || p.y() < 0 || p.x() >= dc->info.widthPx || p.y() >= dc->info.heightPx) return false;
  if (dc->hasBaseClip && !dc->baseClip.contains(p)) return false;
  if (dc->st.hasClip && !dc->st.clip.contains(p)) return false;
  if (dc->st.hasClipOutline && !dc->st.clipOutline.contains(QPointF(p.x() + 0.5, p.y() + 0.5))) return false;
  return true;
}

// ---------------------------------------------------------------------------
// Lines
// ---------------------------------------------------------------------------

Point MoveTo(DeviceContext* dc, std::int32_t x, std::int32_t y) {
  if (!dc) return Point{};
  Point old = dc->st.position;
  dc->st.position = Point{x, y};
  if (dc->st.pathOpen) {
    const QPointF d = MapF(dc, x, y);
    dc->st.path.moveTo(d);
    dc->st.strokePath.moveTo(d + kCentre);
  }
  return old;
}

void LineTo(DeviceContext* dc, std::int32_t x, std::int32_t y) {
  if (!dc) return;
  const Point from = dc->st.position;
  dc->st.position = Point{x, y};
  if (dc->st.pathOpen) {
    if (dc->st.path.elementCount() == 0) {
      const QPointF d = MapF(dc, from.x, from.y);
      dc->st.path.moveTo(d);
      dc->st.strokePath.moveTo(d + kCentre);
    }
    const QPointF d = MapF(dc, x, y);
    dc->st.path.lineTo(d);
    dc->st.strokePath.lineTo(d + kCentre);
    return;
  }
  if (!Valid(dc)) return;
  StrokeLineDevice(dc, MapF(dc, from.x, from.y), MapF(dc, x, y));
}

Point GetCurrentPosition(const DeviceContext* dc) { return dc ? dc->st.position : Point{}; }

namespace {
void StrokeOpen(DeviceContext* dc, const Point* pts, int n, bool fromCurrent) {
  if (!dc || !pts || n <= 0 || n > 50000000) return;
  if (dc->st.pathOpen) {
    QPainterPath& path = dc->st.path;
    QPainterPath& stroke = dc->st.strokePath;
    if (fromCurrent && path.elementCount() == 0) {
      const QPointF d = MapF(dc, dc->st.position.x, dc->st.position.y);
      path.moveTo(d);
      stroke.moveTo(d + kCentre);
    }
    for (int i = 0; i < n; ++i) {
      const QPointF q = MapF(dc, pts[i].x, pts[i].y);
      if (i == 0 && !fromCurrent) {
        path.moveTo(q);
        stroke.moveTo(q + kCentre);
      } else {
        path.lineTo(q);
        stroke.lineTo(q + kCentre);
      }
    }
    if (fromCurrent) dc->st.position = pts[n - 1];
    return;
  }
  if (!Valid(dc)) {
    if (fromCurrent) dc->st.position = pts[n - 1];
    return;
  }
  if (fromCurrent) {
    Point prev = dc->st.position;
    for (int i = 0; i < n; ++i) {
      StrokeLineDevice(dc, MapF(dc, prev.x, prev.y), MapF(dc, pts[i].x, pts[i].y));
      prev = pts[i];
    }
    dc->st.position = pts[n - 1];
    return;
  }
  if (n < 2) return;
  const double w = DevicePenWidth(dc, dc->st.pen);
  if (w <= 1.0) {
    for (int i = 1; i < n; ++i) StrokeLineDevice(dc, MapF(dc, pts[i - 1].x, pts[i - 1].y), MapF(dc, pts[i].x, pts[i].y));
    return;
  }
  const QPainterPath p = PolyPath(dc, pts, n, false, true);
  if (Sane(p)) PaintStroke(dc, p, dc->st.pen, true);
}
}  // namespace

void Polyline(DeviceContext* dc, const Point* pts, int n) { StrokeOpen(dc, pts, n, false); }
void PolylineTo(DeviceContext* dc, const Point* pts, int n) { StrokeOpen(dc, pts, n, true); }

void PolyPolyline(DeviceContext* dc, const Point* pts, const std::int32_t* counts, int polylines) {
  if (!dc || !pts || !counts || polylines <= 0) return;
  long long at = 0;
  for (int k = 0; k < polylines; ++k) {
    if (counts[k] < 0 || counts[k] > 50000000) return;
    Polyline(dc, pts + at, counts[k]);
    at += counts[k];
  }
}

namespace {
void Beziers(DeviceContext* dc, const Point* pts, int n, bool fromCurrent) {
  if (!dc || !pts || n <= 0 || n > 50000000) return;
  QPainterPath p;
  int i = 0;
  if (fromCurrent) {
    p.moveTo(MapF(dc, dc->st.position.x, dc->st.position.y));
  } else {
    p.moveTo(MapF(dc, pts[0].x, pts[0].y));
    i = 1;
  }
  for (; i + 2 < n; i += 3)
    p.cubicTo(MapF(dc, pts[i].x, pts[i].y), MapF(dc, pts[i + 1].x, pts[i + 1].y), MapF(dc, pts[i + 2].x, pts[i + 2].y));
  if (fromCurrent && i > 0) dc->st.position = pts[i - 1];
  if (!Sane(p)) return;
  const QPainterPath centred = p.translated(kCentre);
  if (dc->st.pathOpen) {
    if (fromCurrent && dc->st.path.elementCount() > 0)
      PathConnect(dc, p, centred);
    else
      PathAdd(dc, p, centred);
    return;
  }
  if (Valid(dc)) PaintStroke(dc, centred, dc->st.pen, true);
}
}  // namespace

void PolyBezier(DeviceContext* dc, const Point* pts, int n) { Beziers(dc, pts, n, false); }
void PolyBezierTo(DeviceContext* dc, const Point* pts, int n) { Beziers(dc, pts, n, true); }

void PolyDraw(DeviceContext* dc, const Point* pts, const std::uint8_t* types, int n) {
  if (!dc || !pts || !types || n <= 0 || n > 50000000) return;
  QPainterPath p;
  p.moveTo(MapF(dc, dc->st.position.x, dc->st.position.y));
  QPointF figureStart = p.currentPosition();
  for (int i = 0; i < n; ++i) {
    const std::uint8_t t = types[i] & 0x06;
    const QPointF q = MapF(dc, pts[i].x, pts[i].y);
    if (t == 0x06) {
      p.moveTo(q);
      figureStart = q;
    } else if (t == 0x02) {
      p.lineTo(q);
    } else if (t == 0x04 && i + 2 < n) {
      p.cubicTo(q, MapF(dc, pts[i + 1].x, pts[i + 1].y), MapF(dc, pts[i + 2].x, pts[i + 2].y));
      i += 2;
    } else {
      return;   // malformed: nothing is drawn
    }
    if (types[i] & 0x01) {
      p.lineTo(figureStart);
    }
    dc->st.position = pts[i];
  }
  if (!Sane(p)) return;
  const QPainterPath centred = p.translated(kCentre);
  if (dc->st.pathOpen) {
    PathAdd(dc, p, centred);
    return;
  }
  if (Valid(dc)) PaintStroke(dc, HairlineEnds(dc, centred), dc->st.pen, true);
}

// ---------------------------------------------------------------------------
// Figures
// ---------------------------------------------------------------------------

void Rectangle(DeviceContext* dc, std::int32_t l, std::int32_t t, std::int32_t r, std::int32_t b) {
  DrawBoxFigure(dc, Rect{l, t, r, b}, Figure::Rect, 0, 0);
}
void Rectangle(DeviceContext* dc, const Rect& r) { DrawBoxFigure(dc, r, Figure::Rect, 0, 0); }
void Ellipse(DeviceContext* dc, std::int32_t l, std::int32_t t, std::int32_t r, std::int32_t b) {
  DrawBoxFigure(dc, Rect{l, t, r, b}, Figure::Ellipse, 0, 0);
}
void Ellipse(DeviceContext* dc, const Rect& r) { DrawBoxFigure(dc, r, Figure::Ellipse, 0, 0); }
void RoundRect(DeviceContext* dc, const Rect& r, std::int32_t ew, std::int32_t eh) {
  const Rect n = NormalizedRect(r);
  const double w = static_cast<double>(n.right) - n.left;
  const double h = static_cast<double>(n.bottom) - n.top;
  DrawBoxFigure(dc, r, Figure::RoundRect, std::clamp<double>(std::fabs(static_cast<double>(ew)), 0.0, w),
                std::clamp<double>(std::fabs(static_cast<double>(eh)), 0.0, h));
}

namespace {
// The device polygon of logical points.
QPolygonF DevicePolygon(const DeviceContext* dc, const Point* pts, int n) {
  const QTransform m = FullTransform(dc);
  QPolygonF poly;
  poly.reserve(n);
  for (int i = 0; i < n; ++i) poly << m.map(QPointF(pts[i].x, pts[i].y));
  return poly;
}

// Fills the polygons with the brush and outlines them with the pen. The
// fill covers the pixels whose centres are inside (when it is not smoothed:
// the very pixels of the same polygon as a region) or, smoothed, exactly the
// polygons' area; the outline runs through the centres of the vertices'
// pixels.
void DrawPolygons(DeviceContext* dc, const QList<QPolygonF>& polys) {
  const Qt::FillRule rule = Rule(dc->st.fillMode);
  QPainterPath outline;
  outline.setFillRule(rule);
  for (const QPolygonF& poly : polys) {
    if (poly.size() < 2) continue;
    outline.addPolygon(poly);
    outline.closeSubpath();
  }
  if (outline.isEmpty() || !Sane(outline)) return;
  if (dc->st.pathOpen) {
    PathAdd(dc, outline);
    return;
  }
  FillOutline(dc, outline);
  if (dc->st.pen.style != PenStyle::Null) PaintStroke(dc, outline.translated(0.5, 0.5), dc->st.pen, false);
}
}  // namespace

void Polygon(DeviceContext* dc, const Point* pts, int n) {
  if (!Valid(dc) && !(dc && dc->st.pathOpen)) return;
  if (!pts || n < 2 || n > 50000000) return;
  DrawPolygons(dc, {DevicePolygon(dc, pts, n)});
}

void PolyPolygon(DeviceContext* dc, const Point* pts, const std::int32_t* counts, int polygons) {
  if (!dc || !pts || !counts || polygons <= 0) return;
  if (!Valid(dc) && !dc->st.pathOpen) return;
  QList<QPolygonF> polys;
  long long at = 0;
  for (int k = 0; k < polygons; ++k) {
    if (counts[k] < 0 || counts[k] > 50000000) return;
    if (counts[k] >= 2) polys << DevicePolygon(dc, pts + at, counts[k]);
    at += counts[k];
  }
  DrawPolygons(dc, polys);
}

void Arc(DeviceContext* dc, const Rect& r, Point s, Point e) { DrawArcFigure(dc, r, s, e, ArcKind::Arc); }
void ArcTo(DeviceContext* dc, const Rect& r, Point s, Point e) { DrawArcFigure(dc, r, s, e, ArcKind::ArcTo); }
void Chord(DeviceContext* dc, const Rect& r, Point s, Point e) { DrawArcFigure(dc, r, s, e, ArcKind::Chord); }
void Pie(DeviceContext* dc, const Rect& r, Point s, Point e) { DrawArcFigure(dc, r, s, e, ArcKind::Pie); }

void AngleArc(DeviceContext* dc, std::int32_t x, std::int32_t y, std::uint32_t radius, float startDeg, float sweepDeg) {
  if (!dc || !std::isfinite(startDeg) || !std::isfinite(sweepDeg) || radius > 10000000u) return;
  // A line from the current position to the arc's start, then the arc; the
  // position ends at the arc's end. A zero radius puts start and end at the
  // centre (and gives Qt no arc at all): the figure is the line alone, drawn
  // as LineTo draws it.
  if (radius == 0) {
    LineTo(dc, x, y);
    return;
  }
  const double rr = radius;
  const QRectF box(x - rr, y - rr, 2 * rr, 2 * rr);
  const double sw = std::clamp<double>(sweepDeg, -360.0 * 4, 360.0 * 4);
  QPainterPath arc;
  arc.arcMoveTo(box, startDeg);
  arc.arcTo(box, startDeg, sw);
  if (arc.elementCount() == 0) arc.moveTo(x, y);
  const QTransform m = FullTransform(dc);
  QPainterPath full;
  full.moveTo(MapF(dc, dc->st.position.x, dc->st.position.y));
  const QPainterPath dArc = m.map(arc);
  full.lineTo(QPointF(dArc.elementAt(0).x, dArc.elementAt(0).y));
  full.connectPath(dArc);
  const QPointF endL = arc.currentPosition();
  dc->st.position = Point{ClampRound(endL.x()), ClampRound(endL.y())};
  if (!Sane(full)) return;
  const QPainterPath centred = full.translated(kCentre);
  if (dc->st.pathOpen) {
    PathConnect(dc, full, centred);
    return;
  }
  if (Valid(dc)) PaintStroke(dc, HairlineEnds(dc, centred), dc->st.pen, true);
}

// ---------------------------------------------------------------------------
// Brush-only operations
// ---------------------------------------------------------------------------

namespace {
// Fills a device path with a brush, ignoring the mix mode (as a plain fill).
void FillNoMix(DeviceContext* dc, const QPainterPath& p, const Brush& b) {
  const Rop2 saved = dc->st.rop2;
  dc->st.rop2 = Rop2::CopyPen;
  PaintFill(dc, p, b);
  dc->st.rop2 = saved;
}

QPainterPath DeviceRectPath(DeviceContext* dc, const Rect& r) {
  QPainterPath p;
  const QTransform m = FullTransform(dc);
  if (AxisAligned(m)) {
    const QRect q = RoundedDeviceRect(dc, r);
    if (!q.isEmpty()) p.addRect(QRectF(q));
  } else {
    QPainterPath l;
    l.addRect(QRectF(QPointF(r.left, r.top), QPointF(r.right, r.bottom)).normalized());
    p = m.map(l);
    if (!Sane(p)) p = QPainterPath();
  }
  return p;
}

void InvertDevicePath(DeviceContext* dc, const QPainterPath& p) {
  if (p.isEmpty() || !RasterEngine(dc)) return;
  QPainter* qp = dc->painter;
  qp->setRenderHint(QPainter::Antialiasing, false);
  qp->setCompositionMode(QPainter::RasterOp_NotDestination);
  qp->setPen(Qt::NoPen);
  qp->setBrush(Qt::black);
  qp->drawPath(p);
  qp->setCompositionMode(QPainter::CompositionMode_SourceOver);
}
}  // namespace

void FillRect(DeviceContext* dc, const Rect& r, const Brush& brush) {
  if (!Valid(dc)) return;
  FillNoMix(dc, DeviceRectPath(dc, r), brush);
}

void FillRect(DeviceContext* dc, const Rect& r, Colour c) { FillRect(dc, r, Brush::SolidColour(c)); }

void FrameRect(DeviceContext* dc, const Rect& r, const Brush& brush) {
  if (!Valid(dc)) return;
  const QTransform m = FullTransform(dc);
  if (!AxisAligned(m)) return;
  const QRect q = RoundedDeviceRect(dc, r);
  if (q.isEmpty()) return;
  const int kx = std::max(1, static_cast<int>(std::lround(std::fabs(m.m11()))));
  const int ky = std::max(1, static_cast<int>(std::lround(std::fabs(m.m22()))));
  const QRegion frame = QRegion(q).subtracted(QRegion(q.adjusted(kx, ky, -kx, -ky)));
  QPainterPath p;
  p.addRegion(frame);
  FillNoMix(dc, p, brush);
}

void InvertRect(DeviceContext* dc, const Rect& r) {
  if (!Valid(dc)) return;
  InvertDevicePath(dc, DeviceRectPath(dc, r));
}

void FillRegion(DeviceContext* dc, const Region& rgn, const Brush& brush) {
  if (!Valid(dc) || rgn.isEmpty()) return;
  QPainterPath p;
  p.addRegion(rgn.qregion());
  const bool smooth = dc->st.smoothing;
  dc->st.smoothing = false;
  FillNoMix(dc, p, brush);
  dc->st.smoothing = smooth;
}

void PaintRegion(DeviceContext* dc, const Region& rgn) {
  if (!Valid(dc) || rgn.isEmpty()) return;
  QPainterPath p;
  p.addRegion(rgn.qregion());
  const bool smooth = dc->st.smoothing;
  dc->st.smoothing = false;
  PaintFill(dc, p, dc->st.brush);
  dc->st.smoothing = smooth;
}

void FrameRegion(DeviceContext* dc, const Region& rgn, const Brush& brush, std::int32_t w, std::int32_t h) {
  if (!Valid(dc) || rgn.isEmpty() || w <= 0 || h <= 0 || w > 100000 || h > 100000) return;
  const QRegion& r = rgn.qregion();
  const QRegion inner = r.intersected(r.translated(w, 0))
                            .intersected(r.translated(-w, 0))
                            .intersected(r.translated(0, h))
                            .intersected(r.translated(0, -h));
  FillRegion(dc, Region(r.subtracted(inner)), brush);
}

void InvertRegion(DeviceContext* dc, const Region& rgn) {
  if (!Valid(dc) || rgn.isEmpty()) return;
  QPainterPath p;
  p.addRegion(rgn.qregion());
  InvertDevicePath(dc, p);
}

void PatBlt(DeviceContext* dc, const Rect& r, std::uint32_t rop) {
  if (!Valid(dc)) return;
  const QPainterPath p = DeviceRectPath(dc, r);
  if (p.isEmpty()) return;
  switch (rop) {
    case RopDstInvert: InvertDevicePath(dc, p); return;
    case RopBlackness: FillNoMix(dc, p, Brush::SolidColour(Rgb(0, 0, 0))); return;
    case RopWhiteness: FillNoMix(dc, p, Brush::SolidColour(Rgb(255, 255, 255))); return;
    case RopPatInvert: {
      const Rop2 saved = dc->st.rop2;
      dc->st.rop2 = Rop2::XorPen;
      PaintFill(dc, p, dc->st.brush);
      dc->st.rop2 = saved;
      return;
    }
    default: FillNoMix(dc, p, dc->st.brush); return;
  }
}

void SetPixel(DeviceContext* dc, std::int32_t x, std::int32_t y, Colour c) {
  if (!Valid(dc)) return;
  const QPointF d = MapF(dc, x, y);
  if (!Sane(d)) return;
  dc->painter->setRenderHint(QPainter::Antialiasing, false);
  dc->painter->fillRect(QRect(static_cast<int>(std::floor(d.x())), static_cast<int>(std::floor(d.y())), 1, 1),
                        ToQColor(c));
}

Colour GetPixel(const DeviceContext* dc, std::int32_t x, std::int32_t y) {
  if (!dc || !dc->backing) return ClrInvalid;
  const QPointF d = FullTransform(dc).map(QPointF(x, y));
  if (!Sane(d)) return ClrInvalid;
  const QPointF b = dc->base.map(d);
  const int px = static_cast<int>(std::floor(b.x()));
  const int py = static_cast<int>(std::floor(b.y()));
  const QImage& img = *dc->backing;
  if (px < 0 || py < 0 || px >= img.width() || py >= img.height()) return ClrInvalid;
  return FromQColor(img.pixelColor(px, py));
}

// ---------------------------------------------------------------------------
// Paths
// ---------------------------------------------------------------------------

void BeginPath(DeviceContext* dc) {
  if (!dc) return;
  dc->st.pathOpen = true;
  dc->st.pathReady = false;
  dc->st.path = QPainterPath();
  dc->st.strokePath = QPainterPath();
}

void EndPath(DeviceContext* dc) {
  if (!dc || !dc->st.pathOpen) return;
  dc->st.pathOpen = false;
  dc->st.pathReady = true;
}

void AbortPath(DeviceContext* dc) {
  if (!dc) return;
  dc->st.pathOpen = false;
  dc->st.pathReady = false;
  dc->st.path = QPainterPath();
  dc->st.strokePath = QPainterPath();
}

void CloseFigure(DeviceContext* dc) {
  if (!dc || !dc->st.pathOpen) return;
  dc->st.path.closeSubpath();
  dc->st.strokePath.closeSubpath();
}

namespace {
// The ended path as given (shape) and as stroked; the path is used up.
bool TakePath(DeviceContext* dc, QPainterPath* shape, QPainterPath* stroke) {
  if (!dc) return false;
  if (dc->st.pathOpen) {   // an unended path: ends it, as the drawing code expects
    dc->st.pathOpen = false;
    dc->st.pathReady = true;
  }
  if (!dc->st.pathReady) return false;
  *shape = dc->st.path;
  *stroke = dc->st.strokePath;
  shape->setFillRule(Rule(dc->st.fillMode));
  stroke->setFillRule(Rule(dc->st.fillMode));
  dc->st.path = QPainterPath();
  dc->st.strokePath = QPainterPath();
  dc->st.pathReady = false;
  return Sane(*shape) && Sane(*stroke);
}
}  // namespace

void StrokePath(DeviceContext* dc) {
  QPainterPath shape, stroke;
  if (!TakePath(dc, &shape, &stroke) || !Valid(dc)) return;
  PaintStroke(dc, stroke, dc->st.pen, false);
}

void FillPath(DeviceContext* dc) {
  QPainterPath shape, stroke;
  if (!TakePath(dc, &shape, &stroke) || !Valid(dc)) return;
  FillOutline(dc, shape);
}

void StrokeAndFillPath(DeviceContext* dc) {
  QPainterPath shape, stroke;
  if (!TakePath(dc, &shape, &stroke) || !Valid(dc)) return;
  FillOutline(dc, shape);
  PaintStroke(dc, stroke, dc->st.pen, false);
}

void SelectClipPath(DeviceContext* dc, RegionOp op) {
  QPainterPath shape, stroke;
  if (!TakePath(dc, &shape, &stroke)) return;
  const int v = static_cast<int>(op);
  if (v < 1 || v > 5) return;
  CombineClip(dc, RegionFromPath(shape), op);
}

namespace {
QPainterPath Flattened(const QPainterPath& p) {
  QPainterPath flat;
  for (const QPolygonF& poly : p.toSubpathPolygons()) flat.addPolygon(poly);
  return flat;
}
}  // namespace

void FlattenPath(DeviceContext* dc) {
  if (!dc || !dc->st.pathReady) return;
  dc->st.path = Flattened(dc->st.path);
  dc->st.strokePath = Flattened(dc->st.strokePath);
}

void WidenPath(DeviceContext* dc) {
  if (!dc || !dc->st.pathReady) return;
  // The area the pen paints along the stroked figures: filled, it covers
  // that area; stroked, it outlines it.
  QPainterPathStroker s;
  s.setWidth(DevicePenWidth(dc, dc->st.pen));
  s.setCapStyle(Qt::RoundCap);
  s.setJoinStyle(Qt::RoundJoin);
  dc->st.path = s.createStroke(dc->st.strokePath).simplified();
  dc->st.strokePath = dc->st.path;
}

bool PathIsOpen(const DeviceContext* dc) { return dc && dc->st.pathOpen; }

QPainterPath CurrentPath(const DeviceContext* dc) {
  if (!dc || !dc->st.pathReady) return QPainterPath();
  return dc->st.path;
}

// ---------------------------------------------------------------------------
// Direct path drawing
// ---------------------------------------------------------------------------

void FillDevicePath(DeviceContext* dc, const QPainterPath& path, const Brush& brush) {
  if (!Valid(dc) || !Sane(path)) return;
  PaintFill(dc, path, brush);
}

void StrokeDevicePath(DeviceContext* dc, const QPainterPath& path, const Pen& pen) {
  if (!Valid(dc) || !Sane(path)) return;
  PaintStroke(dc, path, pen, false);
}

double DevicePenWidth(const DeviceContext* dc, const Pen& pen) {
  if (!dc || pen.width <= 1) return 1.0;
  const double w = pen.width * Scale(FullTransform(dc));
  if (!std::isfinite(w)) return 1.0;
  return std::clamp(w, 1.0, 100000.0);
}

}  // namespace pv
