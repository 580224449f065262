// Hit testing and selection: what a press grabs among the selected objects,
// click and rubber-band selection, select all.
#include "document/canvas/drageditor.h"
#include "document/canvas/geometry.h"
#include "platform/runtime.h"

namespace pv {

namespace {

bool IsOn(std::int16_t flag) { return flag != 0; }

ObjectRecord& Record(std::int32_t i) { return Objects[std::size_t(i)]; }

std::int32_t LiveCount() { return ObjCount < MaxObjects ? ObjCount : MaxObjects; }

}  // namespace

void DragEditor::HitTest(float X, float Y, std::int16_t tool, std::int16_t& cursor, std::int16_t& result) {
  float px = 0, py = 0;
  ViewToDoc(m_st, X, Y, px, py);
  result = DragNone;
  const std::int32_t n = LiveCount();

  // Handles of the selected, visible objects; the backmost wins.
  for (std::int32_t i = 1; i <= n; ++i) {
    const ObjectRecord& r = Record(i);
    if (!IsOn(r.IsSelected) || IsOn(r.IsHidden)) continue;
    if (r.GeomType == GeomLine) {
      const std::int16_t c = HitTestLine(m_st, px, py, r.X1, r.Y1, r.X2, r.Y2, r.Angle);
      if (c == HandleLineEnd1 || c == HandleLineEnd2) {
        if (tool == ToolRotate) {
          result = DragRotate;
        } else {
          result = c;
          cursor = HandleLineEnd1;
        }
        m_st.GrabbedObject = i;
        return;
      }
    } else if (r.GeomType == GeomBox) {
      const std::int16_t c = HitTestBox(m_st, px, py, r.CenterX, r.CenterY, r.Width, r.Height, r.Angle, cursor);
      if (c != HandleNone) {
        m_st.GrabbedObject = i;
        if (tool == ToolRotate) {
          const bool corner =
              c == HandleTopRight || c == HandleTopLeft || c == HandleBottomLeft || c == HandleBottomRight;
          result = corner ? DragRotate : DragNone;
        } else {
          result = c;
        }
        return;
      }
    }
  }

  // Bodies of the selected objects, hidden ones included.
  for (std::int32_t i = 1; i <= n; ++i) {
    const ObjectRecord& r = Record(i);
    if (!IsOn(r.IsSelected)) continue;
    bool hit = false;
    if (r.GeomType == GeomLine)
      hit = PointNearLine(m_st, px, py, r.X1, r.Y1, r.X2, r.Y2, r.Angle);
    else if (r.GeomType == GeomBox)
      hit = PointInBox(px, py, r.CenterX, r.CenterY, r.Width, r.Height, r.Angle);
    if (hit) {
      result = DragMove;
      m_st.GrabbedObject = i;
      return;
    }
  }
}

void DragEditor::SelectAtPoint(float X, float Y, std::int16_t Shift) {
  if (Shift == 0) DeselectAll();
  float px = 0, py = 0;
  ViewToDoc(m_st, X, Y, px, py);
  for (std::int32_t i = LiveCount(); i >= 1; --i) {
    ObjectRecord& r = Record(i);
    if (IsOn(r.IsHidden)) continue;
    bool hit = false;
    if (r.GeomType == GeomBox)
      hit = PointInBox(px, py, r.CenterX, r.CenterY, r.Width, r.Height, r.Angle);
    else if (r.GeomType == GeomLine)
      hit = PointNearLine(m_st, px, py, r.X1, r.Y1, r.X2, r.Y2, r.Angle);
    if (!hit) continue;
    m_st.GrabbedObject = i;
    r.IsSelected = VbTrue;
    const std::int32_t key = r.Key;
    const std::int16_t kind = r.UserType;
    Host().SelectedSingle(key, kind);
    return;
  }
}

void DragEditor::SelectInArea(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
  DeselectAll();
  if (x1 == x2 && y1 == y2) return;
  NormalizeRect(x1, y1, x2, y2);
  float ax1 = 0, ay1 = 0, ax2 = 0, ay2 = 0;
  ViewToDoc(m_st, float(x1), float(y1), ax1, ay1);
  ViewToDoc(m_st, float(x2), float(y2), ax2, ay2);
  for (std::int32_t i = 1; i <= LiveCount(); ++i) {
    ObjectRecord& r = Record(i);
    if (IsOn(r.IsHidden)) continue;
    bool inside = false;
    if (r.GeomType == GeomBox)
      inside = BoxInArea(ax1, ay1, ax2, ay2, r.CenterX, r.CenterY, r.Width, r.Height, r.Angle);
    else if (r.GeomType == GeomLine)
      inside = LineInArea(ax1, ay1, ax2, ay2, r.X1, r.Y1, r.X2, r.Y2, r.Angle);
    if (!inside) continue;
    r.IsSelected = VbTrue;
    DrawSelectionHandles(i, true);
  }
  Host().SelectedArea(ObjCount);
}

void DragEditor::SelectAll() {
  for (std::int32_t i = 1; i <= LiveCount(); ++i) {
    ObjectRecord& r = Record(i);
    if (IsOn(r.IsHidden)) continue;
    r.IsSelected = VbTrue;
    DrawSelectionHandles(i, true);
  }
}

}  // namespace pv
