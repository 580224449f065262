// The device context: lines, polylines and Bézier curves.

#include "platform/dc_internal.h"

#include <algorithm>
#include <cmath>

namespace pv {

using namespace detail;

namespace {

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

}  // namespace

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
    for (int i = 1; i < n; ++i)
      StrokeLineDevice(dc, MapF(dc, pts[i - 1].x, pts[i - 1].y), MapF(dc, pts[i].x, pts[i].y));
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
      return;  // malformed: nothing is drawn
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

}  // namespace pv
