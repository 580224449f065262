#include "render/labelreach.h"

#include "document/labelfile.h"
#include "document/model.h"
#include "platform/runtime.h"
#include "render/hosts.h"
#include "render/pictures.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <optional>

namespace pv {

namespace {

constexpr double kPi = 3.141592654;
// The widest pen of the shape library (6 points), with room to spare.
constexpr double kWidestPenPoints = 6.5;
// Rounding of turned corners and of the libraries' own placement.
constexpr double kSlack = 2.0;

QRectF Box(const Rect& r) {
  const Rect n = NormalizedRect(r);
  return QRectF(QPointF(n.left, n.top), QPointF(n.right, n.bottom));
}

// The box that holds r turned by angle degrees about its centre.
QRectF Turned(const QRectF& r, double angle) {
  if (!std::isfinite(angle)) angle = 0.0;
  angle = std::fmod(angle, 360.0);
  if (angle == 0.0) return r;
  const double a = angle * kPi / 180.0;
  const double c = std::fabs(std::cos(a)), s = std::fabs(std::sin(a));
  const double hw = (r.width() * c + r.height() * s) / 2.0;
  const double hh = (r.width() * s + r.height() * c) / 2.0;
  const QPointF m = r.center();
  return QRectF(QPointF(m.x() - hw, m.y() - hh), QPointF(m.x() + hw, m.y() + hh));
}

bool IsMetafileName(const QString& name) {
  const QString e = Trim(name).toUpper();
  return e.endsWith(QLatin1String("WMF")) || e.endsWith(QLatin1String("EMF"));
}

bool IsShape(std::int16_t kind) {
  return (kind >= UserTypeRectangle && kind <= UserTypeRoundedRect) ||
         (kind >= UserTypeShapeBase && kind <= UserTypeShapeLast);
}

// Where the object's ink can go, drawn into box at dpiX; nullopt when it can
// go anywhere, an empty box when it draws nothing.
std::optional<QRectF> ObjectReach(const ObjectRecord& o, const Rect& box, const PrintSurface& surface, int dpiX) {
  const std::int16_t kind = o.UserType;
  const double angle = double(float(o.Angle));
  if (kind == UserTypeDatabaseField || kind == UserTypeTextBox) {
    // Text is cut to its turned rectangle, its background fills no more.
    return Turned(Box(box), angle).adjusted(-kSlack, -kSlack, kSlack, kSlack);
  }
  if (kind == UserTypeBarcode) {
    // The symbol, its text and its frame are cut to the rectangle.
    return Box(box).adjusted(-kSlack, -kSlack, kSlack, kSlack);
  }
  if (kind == UserTypeImage) {
    // A metafile's records draw where they like; a raster picture is
    // stretched into the rectangle.
    if (IsMetafileName(o.Content) || IsMetafileName(QFileInfo(ImageTempPath(o)).suffix())) return std::nullopt;
    return Box(box).adjusted(-kSlack, -kSlack, kSlack, kSlack);
  }
  if (kind == UserTypeLine) {
    // The end points turned about their midpoint, and any pen's width and
    // caps around them.
    Point p1{box.left, box.top}, p2{box.right, box.bottom};
    TurnAboutMidpoint(p1, p2, float(o.Angle));
    const double x1 = p1.x, y1 = p1.y, x2 = p2.x, y2 = p2.y;
    const double pen = kWidestPenPoints * std::max(dpiX, 24) / 72.0 + kSlack;
    return QRectF(QPointF(std::min(x1, x2), std::min(y1, y2)), QPointF(std::max(x1, x2), std::max(y1, y2)))
        .adjusted(-pen, -pen, pen, pen);
  }
  if (IsShape(kind)) {
    // Pens are drawn inside the figure's turned box; a shadow and the body
    // it moves take their own boxes.
    QRectF reach = Turned(Box(box), angle);
    if (o.Variant != 0) {
      const std::int16_t size = ShadowSize(surface);
      Rect moved = box;
      AdjustShadowRect(moved, o.Variant, true, size);
      reach |= Turned(Box(moved), angle);
      AdjustShadowRect(moved, o.Variant, false, size);
      reach |= Turned(Box(moved), angle);
    }
    return reach.adjusted(-kSlack, -kSlack, kSlack, kSlack);
  }
  if (kind == UserTypeArtText) return std::nullopt;  // outlines and pens past the envelope
  return QRectF();                                   // any other kind draws nothing
}

}  // namespace

bool LabelInkStaysInside(const Rect& rect, const LabelContent& label, const PrintSurface& surface, int dpiX,
                         const QRectF& inside) {
  if (!BackgroundFile(BackgroundName, RenderSettings().PrintLow()).isEmpty()) return false;
  if (!BorderFile(BorderName).isEmpty()) return false;
  float sx = 0.0f, sy = 0.0f;
  if (!LabelScale(rect, label.Header, &sx, &sy)) return true;
  for (std::int32_t i = 1; i <= label.Block.Count && i <= MaxObjects; ++i) {
    const ObjectRecord& o = label.Block.Objects[std::size_t(i)];
    const std::optional<QRectF> reach = ObjectReach(o, LabelObjectBox(o, rect, label, sx, sy), surface, dpiX);
    if (!reach) return false;
    if (!reach->isEmpty() && !inside.contains(*reach)) return false;
  }
  return true;
}

}  // namespace pv
