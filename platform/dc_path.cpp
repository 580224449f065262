// The device context: the path being built, and drawing with it.

#include "platform/dc_internal.h"

#include <QPainterPathStroker>

namespace pv {

using namespace detail;

namespace detail {

void PathAdd(DeviceContext* dc, const QPainterPath& shape, const QPainterPath& stroke) {
  dc->st.path.addPath(shape);
  dc->st.strokePath.addPath(stroke);
}

void PathConnect(DeviceContext* dc, const QPainterPath& shape, const QPainterPath& stroke) {
  dc->st.path.connectPath(shape);
  dc->st.strokePath.connectPath(stroke);
}

bool TakePath(DeviceContext* dc, QPainterPath* shape, QPainterPath* stroke) {
  if (!dc) return false;
  if (dc->st.pathOpen) {  // an unended path: ends it, as the drawing code expects
    dc->st.pathOpen = false;
    dc->st.pathReady = true;
  }
  if (!dc->st.pathReady) return false;
  *shape = dc->st.path;
  *stroke = dc->st.strokePath;
  shape->setFillRule(Rule(dc->st.fillMode));
  stroke->setFillRule(Rule(dc->st.fillMode));
  dc->st.path = QPainterPath();
  dc->st.strokePath = QPainterPath();
  dc->st.pathReady = false;
  return Sane(*shape) && Sane(*stroke);
}

}  // namespace detail

// ---------------------------------------------------------------------------
// Paths
// ---------------------------------------------------------------------------

void BeginPath(DeviceContext* dc) {
  if (!dc) return;
  AbortPath(dc);
  dc->st.pathOpen = true;
}

void EndPath(DeviceContext* dc) {
  if (!dc || !dc->st.pathOpen) return;
  dc->st.pathOpen = false;
  dc->st.pathReady = true;
}

void AbortPath(DeviceContext* dc) {
  if (!dc) return;
  dc->st.pathOpen = false;
  dc->st.pathReady = false;
  dc->st.path = QPainterPath();
  dc->st.strokePath = QPainterPath();
}

void CloseFigure(DeviceContext* dc) {
  if (!dc || !dc->st.pathOpen) return;
  dc->st.path.closeSubpath();
  dc->st.strokePath.closeSubpath();
}

void StrokePath(DeviceContext* dc) {
  QPainterPath shape, stroke;
  if (!TakePath(dc, &shape, &stroke) || !Valid(dc)) return;
  PaintStroke(dc, stroke, dc->st.pen, false);
}

void FillPath(DeviceContext* dc) {
  QPainterPath shape, stroke;
  if (!TakePath(dc, &shape, &stroke) || !Valid(dc)) return;
  FillOutline(dc, shape);
}

void StrokeAndFillPath(DeviceContext* dc) {
  QPainterPath shape, stroke;
  if (!TakePath(dc, &shape, &stroke) || !Valid(dc)) return;
  FillOutline(dc, shape);
  PaintStroke(dc, stroke, dc->st.pen, false);
}

namespace {
QPainterPath Flattened(const QPainterPath& p) {
  QPainterPath flat;
  for (const QPolygonF& poly : p.toSubpathPolygons()) flat.addPolygon(poly);
  return flat;
}
}  // namespace

void FlattenPath(DeviceContext* dc) {
  if (!dc || !dc->st.pathReady) return;
  dc->st.path = Flattened(dc->st.path);
  dc->st.strokePath = Flattened(dc->st.strokePath);
}

void WidenPath(DeviceContext* dc) {
  if (!dc || !dc->st.pathReady) return;
  // The area the pen paints along the stroked figures: filled, it covers
  // that area; stroked, it outlines it.
  QPainterPathStroker s;
  s.setWidth(DevicePenWidth(dc, dc->st.pen));
  s.setCapStyle(Qt::RoundCap);
  s.setJoinStyle(Qt::RoundJoin);
  dc->st.path = s.createStroke(dc->st.strokePath).simplified();
  dc->st.strokePath = dc->st.path;
}

bool PathIsOpen(const DeviceContext* dc) { return dc && dc->st.pathOpen; }

QPainterPath CurrentPath(const DeviceContext* dc) {
  if (!dc || !dc->st.pathReady) return QPainterPath();
  return dc->st.path;
}

// ---------------------------------------------------------------------------
// Direct path drawing
// ---------------------------------------------------------------------------

void FillDevicePath(DeviceContext* dc, const QPainterPath& path, const Brush& brush) {
  if (!Valid(dc) || !Sane(path)) return;
  PaintFill(dc, path, brush);
}

void StrokeDevicePath(DeviceContext* dc, const QPainterPath& path, const Pen& pen) {
  if (!Valid(dc) || !Sane(path)) return;
  PaintStroke(dc, path, pen, false);
}

}  // namespace pv
