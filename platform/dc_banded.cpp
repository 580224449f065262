// The device context: large smoothed paths drawn on a picture in bands of
// rows (see DrawPainterPath).

#include "platform/dc_internal.h"

#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainterPathStroker>
#include <QPolygonF>

#include <algorithm>
#include <cmath>

namespace pv {

namespace {

// Rows of a band, and the height from which a path is drawn in bands.
constexpr int kBandRows = 32;
constexpr double kBandedFrom = 256;
// Curves are flattened this many times finer than QPainterPath does.
constexpr double kFlatten = 4;

// The part of a closed polygon between the rows y0 and y1, as a closed
// polygon (cut by each of the two lines in turn). Inside the band every
// point keeps the winding number the whole polygon gives it; what is left
// on the band's edges has no height and covers nothing.
void CutToBand(const QPolygonF& in, double y0, double y1, QPolygonF* scratch, QPolygonF* out) {
  const auto cut = [](const QPolygonF& src, QPolygonF* dst, double y, bool keepAbove) {
    dst->clear();
    const qsizetype n = src.size();
    if (n == 0) return;
    QPointF prev = src[n - 1];
    bool prevIn = keepAbove ? prev.y() <= y : prev.y() >= y;
    for (qsizetype i = 0; i < n; ++i) {
      const QPointF cur = src[i];
      const bool curIn = keepAbove ? cur.y() <= y : cur.y() >= y;
      if (curIn != prevIn) {
        const double t = (y - prev.y()) / (cur.y() - prev.y());
        dst->append(QPointF(prev.x() + (cur.x() - prev.x()) * t, y));
      }
      if (curIn) dst->append(cur);
      prev = cur;
      prevIn = curIn;
    }
  };
  cut(in, scratch, y0, false);
  cut(*scratch, out, y1, true);
}

// Fills the outline with the painter's brush, band by band, over the rows
// from top to bottom (device pixels, whole).
void FillInBands(QPainter* p, const QPainterPath& outline, int top, int bottom) {
  QList<QPolygonF> polys = outline.toSubpathPolygons(QTransform::fromScale(kFlatten, kFlatten));
  std::vector<QRectF> bounds;
  bounds.reserve(static_cast<std::size_t>(polys.size()));
  for (QPolygonF& poly : polys) {
    for (QPointF& pt : poly) pt /= kFlatten;
    bounds.push_back(poly.boundingRect());
  }
  const QPen pen = p->pen();
  p->setPen(Qt::NoPen);
  QPolygonF scratch, cut;
  for (int y = top - (((top % kBandRows) + kBandRows) % kBandRows); y < bottom; y += kBandRows) {
    QPainterPath band;
    band.setFillRule(outline.fillRule());
    for (qsizetype i = 0; i < polys.size(); ++i) {
      const QRectF& b = bounds[static_cast<std::size_t>(i)];
      if (b.bottom() <= y || b.top() >= y + kBandRows) continue;
      CutToBand(polys[i], y, y + kBandRows, &scratch, &cut);
      if (cut.size() < 3) continue;
      band.addPolygon(cut);
      band.closeSubpath();
    }
    if (!band.isEmpty()) p->drawPath(band);
  }
  p->setPen(pen);
}

// An axis-aligned rectangle, which Qt fills quickly (and in parallel) as it is.
bool PlainRectangle(const QPainterPath& path) {
  if (path.elementCount() > 5) return false;
  for (int i = 1; i < path.elementCount(); ++i) {
    const QPainterPath::Element a = path.elementAt(i - 1), b = path.elementAt(i);
    if (!b.isLineTo() || (a.x != b.x && a.y != b.y)) return false;
  }
  return true;
}

}  // namespace

void DrawPainterPath(QPainter* p, const QPainterPath& path) {
  if (!p || !p->isActive()) return;
  const QPaintEngine* engine = p->paintEngine();
  const QTransform m = p->combinedTransform();
  const QRectF box = path.boundingRect();
  const bool banded = engine && engine->type() == QPaintEngine::Raster && p->testRenderHint(QPainter::Antialiasing) &&
                      m.type() <= QTransform::TxTranslate && m.dx() == std::round(m.dx()) &&
                      m.dy() == std::round(m.dy()) && box.height() > kBandedFrom && detail::Sane(box) && p->device() &&
                      p->device()->devicePixelRatio() == 1;
  if (!banded) {
    p->drawPath(path);
    return;
  }
  // Only the rows of the device are drawn.
  const double dy = m.dy();
  const int rows = p->device()->height();
  const QPen pen = p->pen();
  const bool widePen = pen.style() != Qt::NoPen && !pen.isCosmetic() && pen.widthF() > 1.0;
  const auto fill = [&](const QPainterPath& outline) {
    const QRectF b = outline.boundingRect();
    const int top = static_cast<int>(std::floor(std::max(b.top(), -dy - 1)));
    const int bottom = static_cast<int>(std::ceil(std::min(b.bottom(), rows - dy + 1)));
    if (top < bottom) FillInBands(p, outline, top, bottom);
  };
  if (p->brush().style() != Qt::NoBrush) {
    if (PlainRectangle(path)) {
      const QPen kept = p->pen();
      p->setPen(Qt::NoPen);
      p->drawPath(path);
      p->setPen(kept);
    } else {
      fill(path);
    }
  }
  if (widePen) {
    const QBrush brush = p->brush();
    p->setBrush(pen.brush());
    fill(QPainterPathStroker(pen).createStroke(path));
    p->setBrush(brush);
  } else if (pen.style() != Qt::NoPen) {
    const QBrush brush = p->brush();
    p->setBrush(Qt::NoBrush);
    p->drawPath(path);
    p->setBrush(brush);
  }
}

}  // namespace pv
