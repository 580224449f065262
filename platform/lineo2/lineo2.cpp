// Lineo2: pens, lines and the figures, filled through Colmo2.

#include "platform/lineo2/lineo2.h"
#include "platform/colmo2/colmo2.h"
#include "platform/lineo2/lineo2_internal.h"

#include <QPainter>
#include <QPainterPath>
#include <QString>

#include <algorithm>
#include <cmath>

namespace pv::lineo {

namespace {

constexpr double kMaxCoord = 1.0e7;

bool Ready(DeviceContext* dc) { return dc && Painter(dc) && Painter(dc)->isActive(); }

double SafeAngle(double angle) {
  if (!std::isfinite(angle)) return 0;
  return std::fmod(angle, 360.0);
}

// The pen of a style for a device of the given resolution.
Pen PenFor(int style, Colour colour, int dpi) {
  Pen p;
  p.colour = colour & 0x00FFFFFFu;
  p.insideFrame = true;
  p.join = PenJoin::Miter;
  const double perPt = std::clamp(dpi, 24, 2400) / 72.0;
  auto width = [&](double pt) { return std::max(1, static_cast<int>(std::lround(pt * perPt))); };
  auto dashed = [&](double pt, std::initializer_list<double> units) {
    p.width = width(pt);
    p.style = PenStyle::User;
    p.geometric = false;
    p.cap = PenCap::Flat;
    // Dash lengths in multiples of the width, and never finer than the
    // device's equivalent of a screen pixel and a half.
    const double u = std::max<double>(p.width, 1.5 * std::clamp(dpi, 24, 2400) / 96.0);
    int i = 0;
    for (double v : units) p.dashes[i++] = v * u;
    p.dashCount = i;
  };
  switch (style) {
    case 1: p.width = 0; break;
    case 2: p.width = width(1.0); break;
    case 3: p.width = width(2.0); break;
    case 4: p.width = width(3.0); break;
    case 5: p.width = width(4.5); break;
    case 6: dashed(1.0, {1, 1.5}); break;
    case 7: dashed(1.0, {4, 2}); break;
    case 8: dashed(1.5, {8, 3}); break;
    case 9: dashed(1.0, {4, 1.5, 1, 1.5}); break;
    case 10: dashed(1.0, {4, 1.5, 1, 1.5, 1, 1.5}); break;
    case 11: dashed(2.5, {4, 2}); break;
    case 12: p.width = width(6.0); break;
    default: p.style = PenStyle::Null; break;
  }
  if (p.style != PenStyle::User && p.style != PenStyle::Null) p.style = PenStyle::InsideFrame;
  return p;
}

QTransform LocalToDevice(const QRectF& frame, double angleDeg) {
  QTransform t = QTransform::fromTranslate(-frame.width() / 2, -frame.height() / 2);
  QTransform r;
  r.rotate(-angleDeg);
  return t * r * QTransform::fromTranslate(frame.center().x(), frame.center().y());
}

// The caller's rectangle in device units (normalized); false for nothing to draw.
bool Frame(DeviceContext* dc, const Rect* rect, QRectF* frame) {
  if (!Ready(dc) || !rect) return false;
  const Rect r = NormalizedRect(*rect);
  if (RectIsEmpty(r)) return false;
  const QTransform m = LogicalToDeviceTransform(dc);
  QRectF f = m.mapRect(QRectF(QPointF(r.left, r.top), QPointF(r.right, r.bottom)));
  f = QRectF(QPointF(std::round(f.left()), std::round(f.top())),
             QPointF(std::round(f.right()), std::round(f.bottom())));
  if (!std::isfinite(f.left()) || !std::isfinite(f.top()) || std::fabs(f.left()) > kMaxCoord ||
      std::fabs(f.top()) > kMaxCoord || f.width() > kMaxCoord || f.height() > kMaxCoord)
    return false;
  *frame = f;
  return f.width() > 0 && f.height() > 0;
}

// Fills and outlines a figure given in frame-local units by a builder that
// takes the box it has to fit (already inset for the pen).
// Square corners suit the rectangles; pointed figures take round joins so
// that no corner reaches past the box. clipPen: the figure's mitred corners
// may reach past the box (see below), and the outline is clipped to it.
template <typename Build>
void DrawFigure(DeviceContext* dc, const Rect* rect, double angle, int fill, Colour c1, Colour c2, int opacity,
                Build build, bool pointed = false, bool clipPen = false) {
  QRectF frame;
  if (!Frame(dc, rect, &frame)) return;
  angle = SafeAngle(angle);
  Pen pen = CurrentPen(dc);
  pen.join = pointed ? PenJoin::Round : PenJoin::Miter;
  const bool hasPen = pen.style != PenStyle::Null;
  const double w = hasPen ? DevicePenWidth(dc, pen) : 0.0;
  const QTransform t = LocalToDevice(frame, angle);
  const double inset = hasPen ? std::min(w / 2, std::min(frame.width(), frame.height()) / 2) : 0.0;
  const double iw = frame.width() - 2 * inset;
  const double ih = frame.height() - 2 * inset;
  QPainterPath local;
  if (iw > 0 && ih > 0) local = build(iw, ih).translated(inset, inset);
  if (local.isEmpty() && !(hasPen && (iw <= 0 || ih <= 0))) return;
  if (hasPen && (iw <= 0 || ih <= 0)) {
    // Thinner than the pen: the pen colour fills the box.
    QPainterPath box;
    box.addRect(QRectF(0, 0, frame.width(), frame.height()));
    colmo::FillDevicePathStyle(dc, t.map(box), frame, angle, 1, pen.colour, pen.colour, 100);
    return;
  }
  const QPainterPath device = t.map(local);
  colmo::FillDevicePathStyle(dc, device, frame, angle, fill, c1, c2, opacity);
  if (hasPen) {
    // The outline never leaves the (turned) box. The figure lies in the box
    // inset by half the pen, so round joins stay inside, and the convex
    // figures whose sides run along the box's edges reach them with their
    // mitred corners and no further. The clip is kept where it is a plain
    // rectangle, which also cuts the smoothing's faintest spill at the
    // edges; a turned box is clipped only for figures that need it (its
    // outline as a clip costs more than drawing the figure).
    QPainter* p = Painter(dc);
    const bool square = std::fmod(std::fabs(angle), 90.0) == 0.0;
    clipPen = clipPen || square;
    if (clipPen) {
      QPainterPath box;
      box.addRect(QRectF(0, 0, frame.width(), frame.height()));
      p->save();
      p->setClipPath(t.map(box), p->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    }
    const BkMode bk = SetBkMode(dc, BkMode::Transparent);
    StrokeDevicePath(dc, device, pen);
    SetBkMode(dc, bk);
    if (clipPen) p->restore();
  }
}

// A rectangle, or the ellipse inside it, filling the whole box.
void DrawBoxFigure(DeviceContext* dc, const Rect* rect, double angle, int fill, Colour c1, Colour c2, int opacity,
                   bool ellipse) {
  DrawFigure(dc, rect, angle, fill, c1, c2, opacity, [ellipse](double w, double h) {
    QPainterPath p;
    const QRectF box(0, 0, w, h);
    if (ellipse)
      p.addEllipse(box);
    else
      p.addRect(box);
    return p;
  });
}

// The share of the shorter side that a chamfer's cut or a corner's radius
// takes. The aspect runs 1 to 10, the steps of the lines window's slider
// (new shapes take 4): each step is a twentieth, so 10 cuts or rounds the
// corners to the middle of the shorter side. Larger values count as 10;
// none (0, negative, not a number) leaves square corners.
double CornerShare(double aspect) {
  if (!std::isfinite(aspect) || aspect <= 0) return 0;
  return std::min(aspect, 10.0) / 20.0;
}

}  // namespace

}  // namespace pv::lineo

using namespace pv;

extern "C" {

std::int32_t LineoPen(DeviceContext* dc, std::int32_t style, Colour colour) {
  if (!dc) return 0;
  SelectPen(dc, lineo::PenFor(style, colour, DpiX(dc)));
  return 1;
}

std::int32_t LineoLine(DeviceContext* dc, const Point* p1, const Point* p2, double angle) {
  (void)angle;
  if (!lineo::Ready(dc) || !p1 || !p2) return 0;
  const BkMode bk = SetBkMode(dc, BkMode::Transparent);
  const Point old = MoveTo(dc, p1->x, p1->y);
  LineTo(dc, p2->x, p2->y);
  MoveTo(dc, old.x, old.y);
  SetBkMode(dc, bk);
  return 1;
}

std::int32_t LineoRectangle(DeviceContext* dc, const Rect* rect, double angle, std::int32_t fillStyle, Colour colour1,
                            Colour colour2, std::int32_t opacity) {
  lineo::DrawBoxFigure(dc, rect, angle, fillStyle, colour1, colour2, opacity, false);
  return 1;
}

std::int32_t LineoEllipse(DeviceContext* dc, const Rect* rect, double angle, std::int32_t fillStyle, Colour colour1,
                          Colour colour2, std::int32_t opacity) {
  lineo::DrawBoxFigure(dc, rect, angle, fillStyle, colour1, colour2, opacity, true);
  return 1;
}

std::int32_t LineoChamferRect(DeviceContext* dc, const Rect* rect, double aspect, double angle, std::int32_t fillStyle,
                              Colour colour1, Colour colour2, std::int32_t opacity) {
  const double k = lineo::CornerShare(aspect);
  // Cut to the middle of the shorter side, that side is gone and its two
  // cuts meet in a right angle, whose mitre reaches past the box.
  lineo::DrawFigure(
      dc, rect, angle, fillStyle, colour1, colour2, opacity,
      [k](double w, double h) {
        const double c = k * std::min(w, h);
        QPolygonF poly;
        poly << QPointF(c, 0) << QPointF(w - c, 0) << QPointF(w, c) << QPointF(w, h - c) << QPointF(w - c, h)
             << QPointF(c, h) << QPointF(0, h - c) << QPointF(0, c);
        QPainterPath p;
        p.addPolygon(poly);
        p.closeSubpath();
        return p;
      },
      false, k >= 0.45);
  return 1;
}

std::int32_t LineoRoundedRect(DeviceContext* dc, const Rect* rect, double aspect, double angle, std::int32_t fillStyle,
                              Colour colour1, Colour colour2, std::int32_t opacity) {
  const double k = lineo::CornerShare(aspect);
  lineo::DrawFigure(dc, rect, angle, fillStyle, colour1, colour2, opacity, [k](double w, double h) {
    const double r = k * std::min(w, h);
    QPainterPath p;
    p.addRoundedRect(QRectF(0, 0, w, h), r, r);
    return p;
  });
  return 1;
}

std::int32_t LineoShape(DeviceContext* dc, const Rect* rect, double aspect, double angle, std::int32_t shape,
                        std::int32_t fillStyle, Colour colour1, Colour colour2, std::int32_t opacity) {
  if (shape < 200 || shape > 213) return 0;
  lineo::DrawFigure(
      dc, rect, angle, fillStyle, colour1, colour2, opacity,
      [shape, aspect](double w, double h) { return lineo::GenericShape(shape - 200, w, h, aspect); }, true);
  return 1;
}

std::int32_t LineoArtTextDraw(DeviceContext* dc, const char* text, const char* fontName, const Rect* rect, double angle,
                              std::int32_t shape, std::int32_t fillStyle, Colour colour1, Colour colour2,
                              std::int32_t opacity) {
  if (!text) return 0;
  const QString t = QString::fromUtf8(text);
  const QString face = fontName ? QString::fromUtf8(fontName) : QString();
  if (t.trimmed().isEmpty()) return 0;
  QRectF frame;
  if (!lineo::Frame(dc, rect, &frame)) return 0;
  angle = lineo::SafeAngle(angle);
  const QPainterPath local = lineo::ArtTextPath(t, face, shape, frame.width(), frame.height());
  if (local.isEmpty()) return 0;
  const QPainterPath device = lineo::LocalToDevice(frame, angle).map(local);
  colmo::FillDevicePathStyle(dc, device, frame, angle, fillStyle, colour1, colour2, opacity);
  const Pen pen = CurrentPen(dc);
  if (pen.style != PenStyle::Null) {
    Pen outline = pen;
    outline.insideFrame = false;
    const BkMode bk = SetBkMode(dc, BkMode::Transparent);
    StrokeDevicePath(dc, device, outline);
    SetBkMode(dc, bk);
  }
  return 1;
}

}  // extern "C"
