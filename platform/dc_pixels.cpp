// The device context: which pixels a figure covers. Rectangles snapped to
// the pixel grid, polygons and paths by their pixel centres, hairline ends
// and one-pixel lines.

#include "platform/dc_internal.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace pv::detail {

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
    double x0, y0, dxdy;  // upper end and slope
    int first, last;      // rows whose centre line crosses the edge
    int dir;              // +1 downwards, -1 upwards (winding)
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
  using Span = std::pair<int, int>;  // pixels first..second-1
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

void StrokeLineDevice(DeviceContext* dc, QPointF a, QPointF b) {
  // Device points of the pixel grid (whole numbers when the mapping is).
  if (!Sane(a) || !Sane(b)) return;
  const Pen& pen = dc->st.pen;
  if (pen.style == PenStyle::Null) return;
  const double w = DevicePenWidth(dc, pen);
  const double dx = b.x() - a.x();
  const double dy = b.y() - a.y();
  const double cheb = std::max(std::fabs(dx), std::fabs(dy));
  if (cheb < 0.5) return;  // a line to its own start draws nothing
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
          const QRect r =
              ddy == 0 ? QRect(static_cast<int>(sx > 0 ? x0 : x1 + 1), static_cast<int>(y0), static_cast<int>(len), 1)
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
          dc->painter->fillRect(QRect(static_cast<int>(lo), static_cast<int>(yy), static_cast<int>(hi - lo + 1), 1),
                                col);
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

}  // namespace pv::detail
