// The device context: images, pixel read-back and gradient fills.

#include "platform/dc_internal.h"

#include <QLinearGradient>
#include <QPaintEngine>

#include <algorithm>
#include <cmath>

namespace pv {

using namespace detail;

namespace {

constexpr long long kMaxPixels = 64LL * 1024 * 1024;

QPainter::CompositionMode RopMode(std::uint32_t rop, bool* known) {
  *known = true;
  switch (rop) {
    case RopSrcCopy: return QPainter::CompositionMode_SourceOver;
    case RopSrcPaint: return QPainter::RasterOp_SourceOrDestination;
    case RopSrcAnd: return QPainter::RasterOp_SourceAndDestination;
    case RopSrcInvert: return QPainter::RasterOp_SourceXorDestination;
    case RopSrcErase: return QPainter::RasterOp_SourceAndNotDestination;
    case RopNotSrcCopy: return QPainter::RasterOp_NotSource;
    case RopNotSrcErase: return QPainter::RasterOp_NotSourceAndNotDestination;
    case RopMergePaint: return QPainter::RasterOp_NotSourceOrDestination;
    default: *known = false; return QPainter::CompositionMode_SourceOver;
  }
}

// The part of the image to use and the flips that a mirrored destination
// asks for. Returns false when nothing is to be drawn.
bool SourcePart(const QImage& image, const Rect* src, QRect* part) {
  if (image.isNull()) return false;
  if (!src) {
    *part = image.rect();
    return true;
  }
  const Rect s = NormalizedRect(*src);
  const QRect want(s.left, s.top, s.right - s.left, s.bottom - s.top);
  if (want.width() <= 0 || want.height() <= 0) return false;
  *part = want;
  return true;
}

// Draws image part 'part' into logical rect dest with the painter's current
// composition mode.
void DrawImagePart(DeviceContext* dc, const Rect& dest, const QImage& image, const QRect& part) {
  QPainter* p = dc->painter;
  const QTransform m = FullTransform(dc);
  p->setRenderHint(QPainter::SmoothPixmapTransform, dc->st.stretchMode == StretchMode::Halftone &&
                                                        p->compositionMode() == QPainter::CompositionMode_SourceOver);
  p->setRenderHint(QPainter::Antialiasing, false);
  // The source may reach past the image: the image part is what there is.
  const QRect have = part.intersected(image.rect());
  if (have.isEmpty()) return;
  CountDraw(dc);
  const double fx = static_cast<double>(dest.right - dest.left) / part.width();
  const double fy = static_cast<double>(dest.bottom - dest.top) / part.height();
  // Destination of the part that exists, in logical units (may be mirrored).
  const double l = dest.left + (have.left() - part.left()) * fx;
  const double t = dest.top + (have.top() - part.top()) * fy;
  const double r = l + have.width() * fx;
  const double b = t + have.height() * fy;
  if (AxisAligned(m)) {
    const QPointF a = m.map(QPointF(l, t));
    const QPointF c = m.map(QPointF(r, b));
    const bool flipX = c.x() < a.x();
    const bool flipY = c.y() < a.y();
    const QRectF d(QPointF(std::round(std::min(a.x(), c.x())), std::round(std::min(a.y(), c.y()))),
                   QPointF(std::round(std::max(a.x(), c.x())), std::round(std::max(a.y(), c.y()))));
    if (d.width() <= 0 || d.height() <= 0 || std::fabs(d.left()) > 1e7 || std::fabs(d.top()) > 1e7 || d.width() > 1e7 ||
        d.height() > 1e7)
      return;
    if (flipX || flipY) {
      const QImage piece = image.copy(have).mirrored(flipX, flipY);
      p->drawImage(d, piece);
    } else {
      p->drawImage(d, image, QRectF(have));
    }
    return;
  }
  const QRectF ld = QRectF(QPointF(l, t), QPointF(r, b));
  if (!std::isfinite(ld.width()) || !std::isfinite(ld.height())) return;
  QImage piece = image.copy(have);
  const bool flipX = ld.width() < 0;
  const bool flipY = ld.height() < 0;
  if (flipX || flipY) piece = piece.mirrored(flipX, flipY);
  const QRectF dd = m.mapRect(ld.normalized());
  if (std::fabs(dd.left()) > 1e7 || std::fabs(dd.top()) > 1e7 || dd.width() > 1e7 || dd.height() > 1e7) return;
  p->setTransform(m * dc->base);
  p->drawImage(ld.normalized(), piece);
  p->setTransform(dc->base);
}

// The same, stored lossless unless the context allows a lossy picture.
void DrawImageInto(DeviceContext* dc, const Rect& dest, const QImage& image, const QRect& part) {
  const bool lossy = dc->st.lossyImages;
  if (lossy) SetHint(dc->painter, QPainter::LosslessImageRendering, false);
  DrawImagePart(dc, dest, image, part);
  if (lossy) SetHint(dc->painter, QPainter::LosslessImageRendering, true);
}

}  // namespace

void StretchImage(DeviceContext* dc, const Rect& dest, const QImage& image, const Rect* src, std::uint32_t rop) {
  if (!Valid(dc)) return;
  if (dest.right == dest.left || dest.bottom == dest.top) return;
  switch (rop) {
    case RopDstInvert:
    case RopBlackness:
    case RopWhiteness:
    case RopPatCopy:
    case RopPatInvert:
    case RopPatPaint: PatBlt(dc, dest, rop == RopPatPaint ? RopPatCopy : rop); return;
    default: break;
  }
  QRect part;
  if (!SourcePart(image, src, &part)) return;
  bool known = false;
  QPainter::CompositionMode mode = RopMode(rop, &known);
  if (!known) mode = QPainter::CompositionMode_SourceOver;
  QPainter* p = dc->painter;
  if (mode != QPainter::CompositionMode_SourceOver) {
    if (!RasterEngine(dc)) {
      mode = QPainter::CompositionMode_SourceOver;
    }
  }
  if (mode == QPainter::CompositionMode_SourceOver) {
    DrawImageInto(dc, dest, image, part);
    return;
  }
  const QImage opaque = image.convertToFormat(QImage::Format_RGB32);
  p->setCompositionMode(mode);
  DrawImageInto(dc, dest, opaque, part);
  p->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void AlphaBlendImage(DeviceContext* dc, const Rect& dest, const QImage& image, const Rect* src, int constantAlpha,
                     bool usePixelAlpha) {
  if (!Valid(dc)) return;
  QRect part;
  if (!SourcePart(image, src, &part)) return;
  const int a = std::clamp(constantAlpha, 0, 255);
  if (a == 0) return;
  QPainter* p = dc->painter;
  p->setOpacity(a / 255.0);
  if (usePixelAlpha)
    DrawImageInto(dc, dest, image, part);
  else
    DrawImageInto(dc, dest, image.convertToFormat(QImage::Format_RGB32), part);
  p->setOpacity(1.0);
}

void TransparentImage(DeviceContext* dc, const Rect& dest, const QImage& image, const Rect* src, Colour key) {
  if (!Valid(dc)) return;
  QRect part;
  if (!SourcePart(image, src, &part)) return;
  QImage keyed = image.convertToFormat(QImage::Format_ARGB32);
  const QRgb k = ColourToArgb(key) & 0x00FFFFFFu;
  for (int y = 0; y < keyed.height(); ++y) {
    QRgb* line = reinterpret_cast<QRgb*>(keyed.scanLine(y));
    for (int x = 0; x < keyed.width(); ++x)
      if ((line[x] & 0x00FFFFFFu) == k)
        line[x] = 0;
      else
        line[x] |= 0xFF000000u;
  }
  DrawImageInto(dc, dest, keyed, part);
}

QImage ReadPixels(const DeviceContext* dc, const Rect& deviceRect) {
  if (!dc || !dc->backing) return QImage();
  const Rect r = NormalizedRect(deviceRect);
  const long long w = static_cast<long long>(r.right) - r.left;
  const long long h = static_cast<long long>(r.bottom) - r.top;
  if (w <= 0 || h <= 0 || w * h > kMaxPixels || w > 32767 || h > 32767) return QImage();
  QImage out(static_cast<int>(w), static_cast<int>(h), QImage::Format_ARGB32);
  if (out.isNull()) return QImage();
  out.fill(Qt::white);
  const QImage& back = *dc->backing;  // const: never detaches from the painter
  // Device units -> backing pixels through the painter's base transform
  // (the identity for image surfaces).
  const QPointF o = dc->base.map(QPointF(r.left, r.top));
  const QRect want(static_cast<int>(std::lround(o.x())), static_cast<int>(std::lround(o.y())), static_cast<int>(w),
                   static_cast<int>(h));
  const QRect have = want.intersected(back.rect());
  if (have.isEmpty()) return out;
  const QImage piece = back.copy(have).convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < piece.height(); ++y) {
    const QRgb* src = reinterpret_cast<const QRgb*>(piece.constScanLine(y));
    QRgb* dst = reinterpret_cast<QRgb*>(out.scanLine(y + have.top() - want.top())) + (have.left() - want.left());
    std::copy(src, src + piece.width(), dst);
  }
  return out;
}

void WritePixels(DeviceContext* dc, std::int32_t x, std::int32_t y, const QImage& image) {
  if (!Valid(dc) || image.isNull()) return;
  if (std::llabs(x) > 10000000 || std::llabs(y) > 10000000) return;
  CountDraw(dc);
  QPainter* p = dc->painter;
  p->setRenderHint(QPainter::SmoothPixmapTransform, false);
  p->setCompositionMode(QPainter::CompositionMode_Source);
  p->drawImage(QPoint(x, y), image);
  p->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void GradientFill(DeviceContext* dc, const TriVertex* v, int nv, const std::uint32_t* idx, int ni, GradientMode mode) {
  if (!Valid(dc) || !v || !idx || nv <= 0 || ni <= 0) return;
  CountDraw(dc);
  const QTransform m = FullTransform(dc);
  QPainter* p = dc->painter;
  auto col = [](const TriVertex& t) { return QColor(t.red >> 8, t.green >> 8, t.blue >> 8); };
  if (mode == GradientMode::RectH || mode == GradientMode::RectV) {
    for (int i = 0; i + 1 < ni; i += 2) {
      if (idx[i] >= static_cast<std::uint32_t>(nv) || idx[i + 1] >= static_cast<std::uint32_t>(nv)) continue;
      const TriVertex& a = v[idx[i]];
      const TriVertex& b = v[idx[i + 1]];
      const QRectF lr = QRectF(QPointF(a.x, a.y), QPointF(b.x, b.y));
      const QPointF da = m.map(QPointF(a.x, a.y));
      const QPointF db = m.map(QPointF(b.x, b.y));
      const QRectF d = QRectF(da, db).normalized();
      if (d.isEmpty() || std::fabs(d.left()) > 1e7 || std::fabs(d.top()) > 1e7 || d.width() > 1e7 || d.height() > 1e7)
        continue;
      Q_UNUSED(lr);
      QLinearGradient g(mode == GradientMode::RectH ? QPointF(da.x(), 0) : QPointF(0, da.y()),
                        mode == GradientMode::RectH ? QPointF(db.x(), 0) : QPointF(0, db.y()));
      g.setColorAt(0, col(a));
      g.setColorAt(1, col(b));
      p->setRenderHint(QPainter::Antialiasing, false);
      p->fillRect(QRectF(QPointF(std::round(d.left()), std::round(d.top())),
                         QPointF(std::round(d.right()), std::round(d.bottom()))),
                  QBrush(g));
    }
    return;
  }
  if (mode != GradientMode::Triangle) return;
  for (int i = 0; i + 2 < ni; i += 3) {
    if (idx[i] >= static_cast<std::uint32_t>(nv) || idx[i + 1] >= static_cast<std::uint32_t>(nv) ||
        idx[i + 2] >= static_cast<std::uint32_t>(nv))
      continue;
    const TriVertex* t[3] = {&v[idx[i]], &v[idx[i + 1]], &v[idx[i + 2]]};
    QPointF q[3];
    for (int k = 0; k < 3; ++k) q[k] = m.map(QPointF(t[k]->x, t[k]->y));
    QRectF box = QRectF(q[0], q[1]).normalized().united(QRectF(q[2], q[2]));
    box = box.intersected(QRectF(-1, -1, dc->info.physicalWidthPx + 2, dc->info.physicalHeightPx + 2));
    if (box.isEmpty()) continue;
    const int bx = static_cast<int>(std::floor(box.left()));
    const int by = static_cast<int>(std::floor(box.top()));
    const int bw = static_cast<int>(std::ceil(box.right())) - bx;
    const int bh = static_cast<int>(std::ceil(box.bottom())) - by;
    if (bw <= 0 || bh <= 0 || static_cast<long long>(bw) * bh > kMaxPixels) continue;
    QImage img(bw, bh, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    const double den = (q[1].y() - q[2].y()) * (q[0].x() - q[2].x()) + (q[2].x() - q[1].x()) * (q[0].y() - q[2].y());
    if (std::fabs(den) < 1e-9) continue;
    for (int y = 0; y < bh; ++y) {
      QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(y));
      const double py = by + y + 0.5;
      for (int x = 0; x < bw; ++x) {
        const double px = bx + x + 0.5;
        const double w0 = ((q[1].y() - q[2].y()) * (px - q[2].x()) + (q[2].x() - q[1].x()) * (py - q[2].y())) / den;
        const double w1 = ((q[2].y() - q[0].y()) * (px - q[2].x()) + (q[0].x() - q[2].x()) * (py - q[2].y())) / den;
        const double w2 = 1.0 - w0 - w1;
        if (w0 < 0 || w1 < 0 || w2 < 0) continue;
        auto ch = [&](std::uint16_t TriVertex::*f) {
          return std::clamp(static_cast<int>((w0 * (t[0]->*f) + w1 * (t[1]->*f) + w2 * (t[2]->*f)) / 256.0), 0, 255);
        };
        line[x] = qRgb(ch(&TriVertex::red), ch(&TriVertex::green), ch(&TriVertex::blue));
      }
    }
    p->drawImage(QPoint(bx, by), img);
  }
}

}  // namespace pv
