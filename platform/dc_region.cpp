// The device context: regions, and painting with them.

#include "platform/dc_internal.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace pv {

using namespace detail;

namespace detail {

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

}  // namespace detail

// ---------------------------------------------------------------------------
// Regions
// ---------------------------------------------------------------------------

Region::Region() : m_rgn(std::make_unique<QRegion>()) {}
Region::~Region() = default;
Region::Region(const Region& o) : m_rgn(std::make_unique<QRegion>(*o.m_rgn)) {}
Region& Region::operator=(const Region& o) {
  if (this != &o) *m_rgn = *o.m_rgn;
  return *this;
}
Region::Region(Region&& o) noexcept : m_rgn(std::move(o.m_rgn)) { o.m_rgn = std::make_unique<QRegion>(); }
Region& Region::operator=(Region&& o) noexcept {
  if (this != &o) {
    m_rgn = std::move(o.m_rgn);
    o.m_rgn = std::make_unique<QRegion>();
  }
  return *this;
}
Region::Region(const QRegion& r) : m_rgn(std::make_unique<QRegion>(r)) {}

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

bool Region::isEmpty() const { return m_rgn->isEmpty(); }
bool Region::contains(std::int32_t x, std::int32_t y) const { return m_rgn->contains(QPoint(x, y)); }
Rect Region::boundingRect() const {
  const QRect b = m_rgn->boundingRect();
  if (b.isEmpty()) return Rect{};
  return Rect{b.left(), b.top(), b.left() + b.width(), b.top() + b.height()};
}
void Region::offset(std::int32_t dx, std::int32_t dy) { m_rgn->translate(dx, dy); }
const QRegion& Region::qregion() const { return *m_rgn; }

Region CombineRegion(const Region& a, const Region& b, RegionOp op) {
  return Region(Combine(a.qregion(), b.qregion(), op));
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

}  // namespace pv
