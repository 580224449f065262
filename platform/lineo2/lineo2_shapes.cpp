// Lineo2: the fourteen generic shapes and the fifteen art-text envelopes.

#include "platform/lineo2/lineo2_internal.h"
#include "platform/recentcache.h"

#include <QFont>
#include <QLineF>
#include <QPolygonF>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <tuple>
#include <vector>

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

// The warp's derivatives along s and t at (s, t), by central differences.
void WarpJacobian(int shape, double s, double t, double w, double h, QPointF* ds, QPointF* dt) {
  constexpr double e = 1e-4;
  *ds = (Warp(shape, s + e, t, w, h) - Warp(shape, s - e, t, w, h)) / (2 * e);
  *dt = (Warp(shape, s, t + e, w, h) - Warp(shape, s, t - e, w, h)) / (2 * e);
}

// Appends to out the warped image of one piece of a glyph's outline, given
// as a cubic in glyph units (a line has its control points on it) over the
// glyphs' box b: the piece is cut into parts no longer than step, short
// enough for the warp to keep to its tangents over each, and every part
// becomes the cubic through its warped ends with the warped tangents there.
// The envelopes with a corner at the middle (the triangles) bend there: a
// part also ends where the outline crosses the middle.
void AddWarpedCubic(QPainterPath& out, int shape, const QPointF c[4], const QRectF& b, double step, double w,
                    double h) {
  const auto point = [&](double u) {
    const double v = 1 - u;
    return c[0] * (v * v * v) + c[1] * (3 * v * v * u) + c[2] * (3 * v * u * u) + c[3] * (u * u * u);
  };
  const auto tangent = [&](double u) {
    const double v = 1 - u;
    return (c[1] - c[0]) * (3 * v * v) + (c[2] - c[1]) * (6 * v * u) + (c[3] - c[2]) * (3 * u * u);
  };
  const double length = QLineF(c[0], c[1]).length() + QLineF(c[1], c[2]).length() + QLineF(c[2], c[3]).length();
  const int parts = std::clamp(static_cast<int>(std::ceil(length / step)), 1, 64);
  std::vector<double> cuts;
  cuts.reserve(static_cast<std::size_t>(parts) + 4);
  for (int k = 0; k <= parts; ++k) cuts.push_back(static_cast<double>(k) / parts);
  if (shape == 8 || shape == 9) {
    const double mid = b.left() + b.width() / 2;
    for (std::size_t k = 0; k + 1 < cuts.size(); ++k) {
      const double x0 = point(cuts[k]).x() - mid, x1 = point(cuts[k + 1]).x() - mid;
      if (x0 * x1 >= 0) continue;
      double lo = cuts[k], hi = cuts[k + 1];
      for (int n = 0; n < 40; ++n) {
        const double m = (lo + hi) / 2;
        if ((point(m).x() - mid) * x0 > 0)
          lo = m;
        else
          hi = m;
      }
      cuts.insert(cuts.begin() + static_cast<std::ptrdiff_t>(k) + 1, (lo + hi) / 2);
      ++k;
    }
  }
  for (std::size_t k = 0; k + 1 < cuts.size(); ++k) {
    const double u0 = cuts[k], u1 = cuts[k + 1];
    const auto warped = [&](double u, QPointF* at, QPointF* d) {
      const QPointF q = point(u);
      const double s = (q.x() - b.left()) / b.width(), t = (q.y() - b.top()) / b.height();
      QPointF ds, dt;
      WarpJacobian(shape, s, t, w, h, &ds, &dt);
      const QPointF g = tangent(u) * (u1 - u0);
      *at = Warp(shape, s, t, w, h);
      *d = ds * (g.x() / b.width()) + dt * (g.y() / b.height());
    };
    QPointF p0, d0, p1, d1;
    warped(u0, &p0, &d0);
    warped(u1, &p1, &d1);
    out.cubicTo(p0 + d0 / 3, p1 - d1 / 3, p1);
  }
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
  // Every piece of the outline as warped cubics, each a thirtieth of the
  // text's size at most: the curves keep to the envelope within a fraction
  // of a printed pixel, in a small share of the points of the outline
  // flattened and cut four hundred times.
  const double step = std::max(b.width(), b.height()) / 30.0;
  const auto line = [](QPointF a, QPointF z, QPointF c[4]) {
    c[0] = a;
    c[1] = a + (z - a) / 3;
    c[2] = z - (z - a) / 3;
    c[3] = z;
  };
  QPointF at, start;
  QPointF c[4];
  for (int i = 0; i < glyphs.elementCount(); ++i) {
    const QPainterPath::Element e = glyphs.elementAt(i);
    if (e.isMoveTo()) {
      if (i > 0) {
        if (at != start) {
          line(at, start, c);
          AddWarpedCubic(out, shape, c, b, step, w, h);
        }
        out.closeSubpath();
      }
      at = start = e;
      out.moveTo(Warp(shape, (at.x() - b.left()) / b.width(), (at.y() - b.top()) / b.height(), w, h));
    } else if (e.isLineTo()) {
      line(at, e, c);
      AddWarpedCubic(out, shape, c, b, step, w, h);
      at = e;
    } else if (e.isCurveTo() && i + 2 < glyphs.elementCount()) {
      c[0] = at;
      c[1] = e;
      c[2] = glyphs.elementAt(i + 1);
      c[3] = glyphs.elementAt(i + 2);
      AddWarpedCubic(out, shape, c, b, step, w, h);
      at = c[3];
      i += 2;
    }
  }
  if (at != start) {
    line(at, start, c);
    AddWarpedCubic(out, shape, c, b, step, w, h);
  }
  out.closeSubpath();
  return out;
}

}  // namespace

QPainterPath ArtTextPath(const QString& text0, const QString& face, int shape, double w, double h) {
  QString text = text0;
  text.replace(QLatin1Char('\r'), QLatin1Char(' '));
  text.replace(QLatin1Char('\n'), QLatin1Char(' '));
  text = text.trimmed();
  if (text.isEmpty() || !(w > 0) || !(h > 0)) return QPainterPath();
  if (text.size() > 1000) text.truncate(1000);
  if (shape < 0 || shape > 14) shape = 0;
  // Every label of a job shows the same art texts: each is laid out once.
  static RecentCache<std::tuple<QString, QString, int, double, double>, QPainterPath> outlines(32);
  return outlines.Get({text, face, shape, w, h}, [&] { return WarpedText(text, face, shape, w, h); });
}

}  // namespace pv::lineo
