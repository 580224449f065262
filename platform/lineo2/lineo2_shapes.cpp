// Lineo2: the fourteen generic shapes and the fifteen art-text envelopes.

#include "platform/lineo2/lineo2_internal.h"

#include <QFont>
#include <QPolygonF>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <list>
#include <mutex>

namespace pv::lineo {

namespace {

constexpr double kPi = 3.141592653589793;

// The shape's free proportion: the aspect in the program's steps of 1 to 10
// (the lines window's slider, as for the corners of the chamfered and
// rounded rectangles) placed between lo and hi, so that 10 reaches hi and
// above 10 counts as 10; no aspect (0, negative, not a number) gives the
// shape's own default.
double Param(double aspect, double byDefault, double lo, double hi) {
  if (!std::isfinite(aspect) || aspect <= 0) return byDefault;
  return lo + std::min(aspect, 10.0) / 10.0 * (hi - lo);
}

QPainterPath Poly(std::initializer_list<QPointF> pts) {
  QPainterPath p;
  p.addPolygon(QPolygonF(QList<QPointF>(pts)));
  p.closeSubpath();
  return p;
}

// The closed polygon with its own bounds fitted to the w x h box.
QPainterPath Fitted(const QPolygonF& poly, double w, double h) {
  const QRectF b = poly.boundingRect();
  QPolygonF fitted;
  for (const QPointF& q : poly)
    fitted << QPointF((q.x() - b.left()) / b.width() * w, (q.y() - b.top()) / b.height() * h);
  QPainterPath p;
  p.addPolygon(fitted);
  p.closeSubpath();
  return p;
}

QPainterPath Regular(int n, double w, double h, double startDeg) {
  QPolygonF poly;
  for (int i = 0; i < n; ++i) {
    const double a = (startDeg + 360.0 * i / n) * kPi / 180.0;
    poly << QPointF(std::cos(a), -std::sin(a));
  }
  return Fitted(poly, w, h);
}

}  // namespace

QPainterPath GenericShape(int shape, double w, double h, double aspect) {
  switch (shape) {
    case 0: return Poly({{w / 2, 0}, {w, h}, {0, h}});
    case 1: return Poly({{0, 0}, {w, h}, {0, h}});
    case 2: return Poly({{w / 2, 0}, {w, h / 2}, {w / 2, h}, {0, h / 2}});
    case 3: return Regular(5, w, h, 90);
    case 4: {
      const double k = Param(aspect, 0.25, 0.1, 0.45) * w;
      return Poly({{k, 0}, {w - k, 0}, {w, h / 2}, {w - k, h}, {k, h}, {0, h / 2}});
    }
    case 5: {
      const double k = Param(aspect, 0.293, 0.15, 0.45);
      const double kx = k * w, ky = k * h;
      return Poly({{kx, 0}, {w - kx, 0}, {w, ky}, {w, h - ky}, {w - kx, h}, {kx, h}, {0, h - ky}, {0, ky}});
    }
    case 6: {
      const double k = Param(aspect, 0.25, 0.1, 0.6) * w;
      return Poly({{k, 0}, {w, 0}, {w - k, h}, {0, h}});
    }
    case 7: {
      const double inner = Param(aspect, 0.38, 0.3, 0.8);
      QPolygonF poly;
      for (int i = 0; i < 10; ++i) {
        const double a = (90.0 + 36.0 * i) * kPi / 180.0;
        const double r = (i % 2) ? inner : 1.0;
        poly << QPointF(r * std::cos(a), -r * std::sin(a));
      }
      return Fitted(poly, w, h);
    }
    case 8: {
      const double shaft = Param(aspect, 0.5, 0.3, 0.8) * h;
      const double head = std::min(w * 0.45, h * 0.8);
      const double t = (h - shaft) / 2;
      return Poly({{0, t}, {w - head, t}, {w - head, 0}, {w, h / 2}, {w - head, h}, {w - head, h - t}, {0, h - t}});
    }
    case 9: {
      const double shaft = Param(aspect, 0.5, 0.3, 0.8) * h;
      const double head = std::min(w * 0.3, h * 0.8);
      const double t = (h - shaft) / 2;
      return Poly({{0, h / 2},
                   {head, 0},
                   {head, t},
                   {w - head, t},
                   {w - head, 0},
                   {w, h / 2},
                   {w - head, h},
                   {w - head, h - t},
                   {head, h - t},
                   {head, h}});
    }
    case 10: {
      QPainterPath p;
      p.moveTo(w / 2, h * 0.28);
      p.cubicTo(w * 0.5, h * 0.05, w * 0.1, -h * 0.02, w * 0.02, h * 0.25);
      p.cubicTo(-w * 0.05, h * 0.5, w * 0.3, h * 0.72, w / 2, h);
      p.cubicTo(w * 0.7, h * 0.72, w * 1.05, h * 0.5, w * 0.98, h * 0.25);
      p.cubicTo(w * 0.9, -h * 0.02, w * 0.5, h * 0.05, w / 2, h * 0.28);
      p.closeSubpath();
      // Fit the curve's bounds to the box.
      const QRectF b = p.boundingRect();
      QTransform t =
          QTransform::fromTranslate(-b.left(), -b.top()) * QTransform::fromScale(w / b.width(), h / b.height());
      return t.map(p);
    }
    case 11: {
      const double body = h * 0.75;
      const double r = std::min(w, body) * Param(aspect, 0.2, 0.05, 0.5);
      QPainterPath p;
      p.addRoundedRect(QRectF(0, 0, w, body), r, r);
      QPainterPath tail = Poly({{w * 0.18, body - 1}, {w * 0.38, body - 1}, {w * 0.1, h}});
      return p.united(tail);
    }
    case 12: {
      const double k = Param(aspect, 0.34, 0.15, 0.6);
      const double ax = w * (1 - k) / 2, ay = h * (1 - k) / 2;
      return Poly({{ax, 0},
                   {w - ax, 0},
                   {w - ax, ay},
                   {w, ay},
                   {w, h - ay},
                   {w - ax, h - ay},
                   {w - ax, h},
                   {ax, h},
                   {ax, h - ay},
                   {0, h - ay},
                   {0, ay},
                   {ax, ay}});
    }
    case 13: {
      const double k = Param(aspect, 0.15, 0.05, 0.45) * std::min(w, h);
      QPainterPath p;
      p.setFillRule(Qt::OddEvenFill);
      p.addRect(QRectF(0, 0, w, h));
      if (w > 2 * k && h > 2 * k) p.addRect(QRectF(k, k, w - 2 * k, h - 2 * k));
      return p;
    }
    default: return QPainterPath();
  }
}

namespace {

// Top and bottom of the text at s (0 left .. 1 right), as fractions of the
// box's height.
void Envelope(int shape, double s, double* top, double* bottom) {
  const double arc = std::sin(kPi * s);
  const double tri = 1 - std::fabs(2 * s - 1);
  double t = 0, b = 1;
  switch (shape) {
    case 1:
      t = 0.3 * (1 - arc);
      b = t + 0.7;
      break;  // arch up
    case 2:
      t = 0.15 + 0.15 * std::sin(2 * kPi * s);
      b = t + 0.7;
      break;  // wave
    case 4:
      t = 0.4 * arc;
      b = 1;
      break;  // valley
    case 5:
      t = 0.3 * arc;
      b = t + 0.7;
      break;  // arch down
    case 6:
      t = 0.25 * (1 - arc);
      b = 1 - t;
      break;  // bulge
    case 7:
      t = 0.25 * arc;
      b = 1 - t;
      break;  // pinch
    case 8:
      t = 0.6 * (1 - tri);
      b = 1;
      break;  // triangle up
    case 9:
      t = 0;
      b = 1 - 0.6 * (1 - tri);
      break;  // triangle down
    case 10:
      t = 0.4 * (1 - s);
      b = t + 0.6;
      break;  // slant up
    case 11:
      t = 0.4 * s;
      b = t + 0.6;
      break;  // slant down
    case 12:
      t = 0.35 * (1 - s);
      b = 1 - t;
      break;  // perspective near
    case 13:
      t = 0.35 * s;
      b = 1 - t;
      break;  // perspective far
    case 14:
      t = 0.15 + 0.15 * std::sin(4 * kPi * s);
      b = t + 0.7;
      break;         // double wave
    default: break;  // 0 plain, fills the box
  }
  *top = t;
  *bottom = b;
}

QPointF Warp(int shape, double s, double t, double w, double h) {
  if (shape == 3) {
    // Along the top of a circle standing on the box's bottom edge.
    const double outer = std::min(w / 2, h);
    const double inner = outer * 0.45;
    const double a = kPi * (0.92 - 0.84 * s);
    const double r = outer - (outer - inner) * t;
    return QPointF(w / 2 + r * std::cos(a), h - r * std::sin(a));
  }
  double top = 0, bottom = 1;
  Envelope(shape, s, &top, &bottom);
  return QPointF(s * w, (top + (bottom - top) * t) * h);
}

// The text's outline laid along the envelope (see ArtTextPath); text is
// already tidied, the shape in range.
QPainterPath WarpedText(const QString& text, const QString& face, int shape, double w, double h) {
  QFont font(face.trimmed().isEmpty() ? QStringLiteral("Arial") : face.trimmed());
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(200);
  font.setWeight(QFont::Bold);
  QPainterPath glyphs;
  glyphs.addText(QPointF(0, 0), font, text);
  const QRectF b = glyphs.boundingRect();
  if (glyphs.isEmpty() || b.width() <= 0 || b.height() <= 0) return QPainterPath();
  QPainterPath out;
  out.setFillRule(Qt::WindingFill);
  if (shape == 0) {
    // The plain envelope fills the box: the outline merely scaled, its
    // curves kept.
    out.addPath((QTransform::fromTranslate(-b.left(), -b.top()) * QTransform::fromScale(w / b.width(), h / b.height()))
                    .map(glyphs));
    return out;
  }
  // Flatten, then cut long straight pieces so that the warp bends them.
  const double step = std::max(b.width(), b.height()) / 400.0;
  const QList<QPolygonF> polys = glyphs.toSubpathPolygons();
  for (const QPolygonF& poly : polys) {
    if (poly.size() < 2) continue;
    QPolygonF warped;
    for (int i = 0; i < poly.size(); ++i) {
      const QPointF a = poly[i];
      const QPointF c = poly[(i + 1) % poly.size()];
      const double len = std::hypot(c.x() - a.x(), c.y() - a.y());
      const int pieces = std::clamp(static_cast<int>(len / step), 1, 400);
      for (int k = 0; k < pieces; ++k) {
        const QPointF q = a + (c - a) * (static_cast<double>(k) / pieces);
        const double s = (q.x() - b.left()) / b.width();
        const double t = (q.y() - b.top()) / b.height();
        warped << Warp(shape, s, t, w, h);
      }
    }
    out.addPolygon(warped);
    out.closeSubpath();
  }
  return out;
}

// The outlines last laid out: every label of a job shows the same art texts,
// each laid out once.
class ArtTextCache {
 public:
  QPainterPath Get(const QString& text, const QString& face, int shape, double w, double h) {
    {
      std::lock_guard<std::mutex> g(lock_);
      for (auto it = items_.begin(); it != items_.end(); ++it) {
        if (it->text != text || it->face != face || it->shape != shape || it->w != w || it->h != h) continue;
        items_.splice(items_.begin(), items_, it);
        return items_.front().path;
      }
    }
    QPainterPath path = WarpedText(text, face, shape, w, h);
    std::lock_guard<std::mutex> g(lock_);
    items_.push_front(Item{text, face, shape, w, h, path});
    if (items_.size() > kMaxItems) items_.pop_back();
    return path;
  }

 private:
  struct Item {
    QString text, face;
    int shape;
    double w, h;
    QPainterPath path;
  };
  static constexpr std::size_t kMaxItems = 32;
  std::mutex lock_;
  std::list<Item> items_;
};

}  // namespace

QPainterPath ArtTextPath(const QString& text0, const QString& face, int shape, double w, double h) {
  QString text = text0;
  text.replace(QLatin1Char('\r'), QLatin1Char(' '));
  text.replace(QLatin1Char('\n'), QLatin1Char(' '));
  text = text.trimmed();
  if (text.isEmpty() || !(w > 0) || !(h > 0)) return QPainterPath();
  if (text.size() > 1000) text.truncate(1000);
  if (shape < 0 || shape > 14) shape = 0;
  static ArtTextCache cache;
  return cache.Get(text, face, shape, w, h);
}

}  // namespace pv::lineo
