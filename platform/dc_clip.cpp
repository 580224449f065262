// The device context: the clip. The context keeps its clip as a region in
// device units and sets it, together with the painter's own clip at the
// context's creation, on the painter.

#include "platform/dc_internal.h"

#include <algorithm>
#include <cmath>

namespace pv {

using namespace detail;

namespace {

QRegion DeviceRegionOf(const DeviceContext* dc, const Rect& logical) {
  const QTransform m = FullTransform(dc);
  if (AxisAligned(m)) return QRegion(RoundedDeviceRect(dc, logical));
  QPolygonF poly =
      m.map(QPolygonF(QRectF(logical.left, logical.top, logical.right - logical.left, logical.bottom - logical.top)));
  if (!Sane(poly.boundingRect())) return QRegion();
  return QRegion(poly.toPolygon());
}

QRegion WholeDevice(const DeviceContext* dc) {
  return QRegion(-1, -1, std::max(1, dc->info.physicalWidthPx) + 2, std::max(1, dc->info.physicalHeightPx) + 2) |
         QRegion(-1, -1, std::max(1, dc->info.widthPx) + 2, std::max(1, dc->info.heightPx) + 2);
}

}  // namespace

namespace detail {

void ApplyClip(DeviceContext* dc) {
  const DcState& st = dc->st;
  if (dc->paintedHasClip == st.hasClip && dc->paintedHasOutline == st.hasClipOutline &&
      (!st.hasClip || dc->paintedClip == st.clip) && (!st.hasClipOutline || dc->paintedOutline == st.clipOutline))
    return;
  dc->paintedHasClip = st.hasClip;
  dc->paintedClip = st.hasClip ? st.clip : QRegion();
  dc->paintedHasOutline = st.hasClipOutline;
  dc->paintedOutline = st.hasClipOutline ? st.clipOutline : QPainterPath();

  QPainter* p = dc->painter;
  p->setTransform(dc->base);
  if (st.hasClip && st.clip.isEmpty()) {
    // An empty clip shows nothing (an empty QRegion would switch clipping off).
    p->setClipRegion(QRegion(-2000000000, -2000000000, 1, 1), Qt::ReplaceClip);
    return;
  }
  // Each clip is given to the painter once: a clip switched off first, or
  // given in parts, would cost a printer a graphics state for each step.
  bool clipped = false;
  if (dc->hasBaseClip) {
    p->setClipRegion(dc->baseClip);
    if (st.hasClip) p->setClipRegion(st.clip, Qt::IntersectClip);
    clipped = true;
  } else if (st.hasClip) {
    p->setClipRegion(st.clip);
    clipped = true;
  }
  if (st.hasClipOutline) {
    p->setClipPath(st.clipOutline, clipped ? Qt::IntersectClip : Qt::ReplaceClip);
  } else if (!clipped) {
    p->setClipping(false);
  }
}

}  // namespace detail

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
void SelectClipPath(DeviceContext* dc, RegionOp op) {
  QPainterPath shape, stroke;
  if (!TakePath(dc, &shape, &stroke)) return;
  const int v = static_cast<int>(op);
  if (v < 1 || v > 5) return;
  CombineClip(dc, RegionFromPath(shape), op);
}

}  // namespace pv
