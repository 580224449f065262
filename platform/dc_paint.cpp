// The device context: pens, brushes and mix modes, and the painting of
// device paths with them.

#include "platform/dc_internal.h"

#include <QColor>
#include <QPaintEngine>

#include <algorithm>
#include <cmath>

namespace pv {

using namespace detail;

namespace {

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

}  // namespace

namespace detail {

bool RasterEngine(const DeviceContext* dc) {
  QPaintEngine* e = dc->painter->paintEngine();
  return e && e->type() == QPaintEngine::Raster;
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
  SetHint(p, QPainter::Antialiasing, smoothOk && plain && dc->st.smoothing);
  CountDraw(dc);
  return true;
}

void EndMix(DeviceContext* dc) { dc->painter->setCompositionMode(QPainter::CompositionMode_SourceOver); }

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
      if (pen.geometric)
        pattern({3, 1});
      else
        pattern({18, 6});
      break;
    case PenStyle::Dot:
      if (pen.geometric)
        pattern({1, 1});
      else
        pattern({3, 3});
      break;
    case PenStyle::DashDot:
      if (pen.geometric)
        pattern({3, 1, 1, 1});
      else
        pattern({9, 6, 3, 6});
      break;
    case PenStyle::DashDotDot:
      if (pen.geometric)
        pattern({3, 1, 1, 1, 1, 1});
      else
        pattern({9, 3, 3, 3, 3, 3});
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
    DrawPainterPath(p, path);
  }
  p->setBrush(MakeQBrush(dc, brush));
  DrawPainterPath(p, path);
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
    DrawPainterPath(p, path);
  }
  p->setPen(qp);
  DrawPainterPath(p, path);
  EndMix(dc);
}

void FillNoMix(DeviceContext* dc, const QPainterPath& p, const Brush& b) {
  const Rop2 saved = dc->st.rop2;
  dc->st.rop2 = Rop2::CopyPen;
  PaintFill(dc, p, b);
  dc->st.rop2 = saved;
}

void InvertDevicePath(DeviceContext* dc, const QPainterPath& p) {
  if (p.isEmpty() || !RasterEngine(dc)) return;
  CountDraw(dc);
  QPainter* qp = dc->painter;
  qp->setRenderHint(QPainter::Antialiasing, false);
  qp->setCompositionMode(QPainter::RasterOp_NotDestination);
  qp->setPen(Qt::NoPen);
  qp->setBrush(Qt::black);
  qp->drawPath(p);
  qp->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

}  // namespace detail

double DevicePenWidth(const DeviceContext* dc, const Pen& pen) {
  if (!dc || pen.width <= 1) return 1.0;
  const double w = pen.width * Scale(FullTransform(dc));
  if (!std::isfinite(w)) return 1.0;
  return std::clamp(w, 1.0, 100000.0);
}

}  // namespace pv
