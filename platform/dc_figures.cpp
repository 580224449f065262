// The device context: closed figures, arcs and the brush-only operations on
// rectangles and pixels.

#include "platform/dc_internal.h"

#include <algorithm>
#include <cmath>

namespace pv {

using namespace detail;

namespace {

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
    const bool solidPen =
        hasPen && pen.insideFrame && (pen.style == PenStyle::Solid || pen.style == PenStyle::InsideFrame);
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

// The end of ArcTo: the position goes to the arc's end (logical units) and
// the figure, the line to the arc's start and the arc, joins the path or is
// drawn.
void FinishArcTo(DeviceContext* dc, const QPainterPath& figure, QPointF end) {
  dc->st.position =
      Point{static_cast<std::int32_t>(std::lround(end.x())), static_cast<std::int32_t>(std::lround(end.y()))};
  if (dc->st.pathOpen) {
    PathConnect(dc, figure, figure);
    return;
  }
  PaintStroke(dc, figure, dc->st.pen, true);
}

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
    FinishArcTo(dc, line, endL);
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
      FinishArcTo(dc, full, m.inverted().map(dp.currentPosition()));
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

}  // namespace

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
  CountDraw(dc);
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

}  // namespace pv
