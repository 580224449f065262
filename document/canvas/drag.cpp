// A finished drag applied to the selected objects: move, resize by a box
// handle (in the box's own turned frame), rotation, move of a line end.
#include "document/canvas/drageditor.h"
#include "document/canvas/geometry.h"
#include "document/objectstore.h"
#include "platform/runtime.h"

#include <algorithm>
#include <cmath>

namespace pv {

namespace {

// Images and barcodes never turn.
bool Turns(const ObjectRecord& r) {
  return r.GeomType == GeomLine || (r.UserType != UserTypeImage && r.UserType != UserTypeBarcode);
}

}  // namespace

void DragEditor::DragRecord(std::int16_t mode, ObjectRecord& r, float ax, float ay, float x, float y) {
  if (mode == DragMove) {
    const float dx = x - ax;
    const float dy = y - ay;
    r.CenterX += dx;
    r.CenterY += dy;
    r.X1 += dx;
    r.Y1 += dy;
    r.X2 += dx;
    r.Y2 += dy;
    return;
  }
  if (mode >= HandleRight && mode <= HandleBottomRight) {
    if (r.GeomType != GeomBox) return;
    // The drag in the box's own frame.
    float rx = x, ry = y;
    RotatePoint(ax, ay, rx, ry, -double(r.Angle));
    const float dx = rx - ax;
    const float dy = ry - ay;
    float sx = 0, sy = 0;
    switch (mode) {
      case HandleRight:
        r.Width += dx;
        sx = dx / 2.0f;
        break;
      case HandleTopRight:
        r.Width += dx;
        r.Height -= dy;
        sx = dx / 2.0f;
        sy = dy / 2.0f;
        break;
      case HandleTop:
        r.Height -= dy;
        sy = dy / 2.0f;
        break;
      case HandleTopLeft:
        r.Width -= dx;
        r.Height -= dy;
        sx = dx / 2.0f;
        sy = dy / 2.0f;
        break;
      case HandleLeft:
        r.Width -= dx;
        sx = dx / 2.0f;
        break;
      case HandleBottomLeft:
        r.Width -= dx;
        r.Height += dy;
        sx = dx / 2.0f;
        sy = dy / 2.0f;
        break;
      case HandleBottom:
        r.Height += dy;
        sy = dy / 2.0f;
        break;
      default:
        r.Width += dx;
        r.Height += dy;
        sx = dx / 2.0f;
        sy = dy / 2.0f;
        break;
    }
    float cx = r.CenterX + sx;
    float cy = r.CenterY + sy;
    RotatePoint(r.CenterX, r.CenterY, cx, cy, double(r.Angle));
    r.CenterX = cx;
    r.CenterY = cy;
    return;
  }
  if (mode == HandleLineEnd1 || mode == HandleLineEnd2) {
    if (r.GeomType != GeomLine) return;
    // The ends where they are drawn; the line is unturned from now on.
    const float mx = (r.X1 + r.X2) / 2.0f;
    const float my = (r.Y1 + r.Y2) / 2.0f;
    RotatePoint(mx, my, r.X1, r.Y1, double(r.Angle));
    RotatePoint(mx, my, r.X2, r.Y2, double(r.Angle));
    r.Angle = 0;
    if (mode == HandleLineEnd1) {
      r.X1 += x - ax;
      r.Y1 += y - ay;
    } else {
      r.X2 += x - ax;
      r.Y2 += y - ay;
    }
  }
}

std::int32_t DragEditor::RotationDelta(float ax, float ay, float x, float y) const {
  const std::int32_t g = m_st.GrabbedObject;
  if (g < 1 || g > ObjCount || g > MaxObjects) return 0;
  const ObjectRecord& c = Objects[std::size_t(g)];
  float cx = c.CenterX, cy = c.CenterY;
  if (c.GeomType == GeomLine) {
    cx = (c.X1 + c.X2) / 2.0f;
    cy = (c.Y1 + c.Y2) / 2.0f;
  }
  return CLng(AngleBetween(cx, cy, ax, ay, x, y));
}

void DragEditor::ApplyDrag(std::int16_t mode, float ax, float ay, float x, float y) {
  std::int32_t l = 0, t = 0, r = 0, b = 0;
  GetSelectionBounds(l, t, r, b, true);
  SavedDoc();
  const std::int32_t delta = mode == DragRotate ? RotationDelta(ax, ay, x, y) : 0;
  for (std::int32_t i = 1; i <= ObjCount && i <= MaxObjects; ++i) {
    ObjectRecord& rec = Objects[std::size_t(i)];
    if (rec.IsSelected != 0) {
      if (mode == DragRotate) {
        if (Turns(rec)) AddAngle(rec.Angle, delta);
      } else {
        DragRecord(mode, rec, ax, ay, x, y);
      }
    }
    // A handle dragged past the opposite side leaves a box of positive size.
    rec.Width = std::fabs(rec.Width);
    rec.Height = std::fabs(rec.Height);
  }
  std::int32_t l2 = 0, t2 = 0, r2 = 0, b2 = 0;
  GetSelectionBounds(l2, t2, r2, b2, true);
  RedrawArea(std::min(l, l2), std::min(t, t2), std::max(r, r2), std::max(b, b2));
}

}  // namespace pv
