// Mouse and keyboard of the drawing surface. The widget maps its events onto
// these handlers; presses, drags, the hover pointer, the coordinate report
// and the Delete key are handled here, and the creation of objects with the
// drawing tools.
#include "document/canvas/cursors.h"
#include "document/canvas/drageditor.h"
#include "document/canvas/geometry.h"
#include "document/objectstore.h"
#include "platform/runtime.h"

namespace pv {

namespace {

constexpr std::int16_t ButtonRight = 2;
constexpr std::int16_t KeyDelete = 46;
constexpr Colour FeedbackGrey = Rgb(215, 215, 215);

// A new box made by a click, without a drag.
constexpr float ClickBoxWidth = 40.0f;
constexpr float ClickBoxHeight = 20.0f;

bool IsPointerTool(std::int16_t tool) { return tool == ToolSelect || tool == ToolRotate; }
bool IsDrawingTool(std::int16_t tool) { return tool == ToolDrawBox || tool == ToolDrawLine; }

bool IsHandleMode(std::int16_t mode) { return mode >= HandleRight && mode <= HandleLineEnd2; }

void DrawSegment(DcHandle dc, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
  MoveTo(dc, x1, y1);
  LineTo(dc, x2, y2);
}

// Starts a drag of `mode` anchored at the pressed point, snapped.
void BeginDrag(CanvasState& st, float X, float Y, std::int16_t mode) {
  float x = X, y = Y;
  SnapPoint(st, x, y);
  st.AnchorX = x;
  st.AnchorY = y;
  st.DragMode = mode;
  st.DragActive = true;
}

}  // namespace

// ---- Presses, moves and releases --------------------------------------------

void DragEditor::MouseDown(std::int16_t Button, std::int16_t Shift, float X, float Y) {
  if ((Button & ButtonRight) != 0) {
    Host().ContextMenu();
    return;
  }
  if (!m_st.Edit) return;
  m_st.DragActive = false;
  m_st.DragMode = DragNone;
  m_st.FeedbackShown = false;
  const std::int16_t tool = m_st.CurrentTool;
  if (IsPointerTool(tool)) {
    m_st.GrabbedObject = 0;
    std::int16_t cursor = 0;
    std::int16_t mode = DragNone;
    HitTest(X, Y, tool, cursor, mode);
    if (mode == DragNone) {
      SelectAtPoint(X, Y, Shift);
      const std::int32_t g = m_st.GrabbedObject;
      if (g != 0) {
        if (g <= ObjCount && g <= MaxObjects) DrawObjectItem(Objects[std::size_t(g)], DrawModeEvent);
        // A press right on a handle of the box it selected resizes at once.
        HitTest(X, Y, tool, cursor, mode);
        SetPointer(MousePointer::SizeAll);
      } else {
        m_st.RawStartX = X;
        m_st.RawStartY = Y;
        BeginDrag(m_st, X, Y, DragRubberBand);
      }
    }
    if (mode != DragNone) {
      BeginDrag(m_st, X, Y, mode);
    }
    return;
  }
  if (IsDrawingTool(tool)) {
    m_st.RawStartX = X;
    m_st.RawStartY = Y;
    BeginDrag(m_st, X, Y, DragCreate);
  }
}

void DragEditor::MouseMove(std::int16_t Button, std::int16_t Shift, float X, float Y) {
  if (!m_st.Edit) return;
  float x = X, y = Y;
  SnapPoint(m_st, x, y);
  m_st.CurrentX = x;
  m_st.CurrentY = y;
  if (Shift != 0) p_AdjustPoint(m_st.CurrentX, m_st.CurrentY);
  const bool moved = m_st.CurrentX != m_st.PrevX || m_st.CurrentY != m_st.PrevY;
  if (moved && Button != 0 && m_st.DragActive) DrawFeedback(true);
  RaiseDrawCoord(Button, X, Y, x, y);
  // No drag under way (also before the first press): the pointer tells what
  // a press would do.
  if (IsPointerTool(m_st.CurrentTool) && (m_st.DragMode == DragNone || m_st.DragMode == 0)) SetHoverPointer(X, Y);
}

void DragEditor::MouseUp(std::int16_t /*Button*/, std::int16_t Shift, float X, float Y) {
  if (!m_st.Edit) return;
  const std::int16_t tool = m_st.CurrentTool;
  if (IsDrawingTool(tool)) {
    if (m_st.DragMode != DragCreate) return;
    float x = X, y = Y;
    SnapPoint(m_st, x, y);
    if (Shift != 0) p_AdjustPoint(x, y);
    DrawFeedback(false);
    const std::int32_t key = CreateObject(m_st.AnchorX, m_st.AnchorY, x, y, 0.0f, tool, m_st.CurrentUserType);
    if (key != 0) {
      // The host may have filled or moved records on InsertObject: draw the
      // new one where it is now.
      const std::int32_t i = IndexOfKey(key);
      if (i != 0) DrawObjectItem(Objects[std::size_t(i)], DrawModeEvent);
    }
    m_st.DragActive = false;
    m_st.DragMode = DragNone;
    return;
  }
  if (IsPointerTool(tool) && m_st.DragActive) {
    if (m_st.DragMode == DragRubberBand) {
      DrawFeedback(false);
      SelectInArea(CLng(m_st.RawStartX), CLng(m_st.RawStartY), CLng(X), CLng(Y));
    } else {
      SetPointer(MousePointer::Arrow);
      float x = X, y = Y;
      SnapPoint(m_st, x, y);
      DrawFeedback(false);
      ApplyDrag(m_st.DragMode, m_st.AnchorX, m_st.AnchorY, x, y);
      Host().UpdateObjects();
    }
    m_st.DragActive = false;
    m_st.DragMode = DragNone;
  }
}

void DragEditor::KeyDown(std::int16_t KeyCode, std::int16_t /*Shift*/) {
  if (KeyCode == KeyDelete) DelObjects();
}

// ---- Shift constraint ---------------------------------------------------------

void DragEditor::p_AdjustPoint(float& x, float& y) const {
  const float ax = m_st.AnchorX;
  const float ay = m_st.AnchorY;
  if (m_st.CurrentTool == ToolDrawLine) {
    const float dx = x - ax;
    switch (AngleOctant(float(VectorAngle(ax, ay, x, y)))) {
      case 1:
      case 5: y = ay; break;
      case 3:
      case 7: x = ax; break;
      case 2:
      case 6: y = ay - dx; break;
      case 4:
      case 8: y = ay + dx; break;
      default: break;
    }
    return;
  }
  if (m_st.CurrentTool == ToolDrawBox) {
    // Each test sees the point as the one before left it.
    if (x - ax > 0 && y - ay < 0) y = ay - (x - ax);
    if (x - ax < 0 && y - ay < 0) y = ay + (x - ax);
    if (x - ax > 0 && y - ay > 0) y = ay + (x - ax);
    if (x - ax < 0 && y - ay > 0) y = ay - (x - ax);
  }
}

// ---- Coordinate report and hover pointer ---------------------------------------

void DragEditor::RaiseDrawCoord(std::int16_t Button, float X, float Y, float x, float y) {
  float px = 0, py = 0, sx = 0, sy = 0;
  if (m_st.Unit == UnitPixels) {
    px = X - float(m_st.PageCornerX);
    py = Y - float(m_st.PageCornerY);
    sx = m_st.RawStartX - float(m_st.PageCornerX);
    sy = m_st.RawStartY - float(m_st.PageCornerY);
  } else {
    px = x - PageOrgX;
    py = y - PageOrgY;
    sx = m_st.AnchorX - PageOrgX;
    sy = m_st.AnchorY - PageOrgY;
  }
  float dx = px - sx;
  float dy = py - sy;
  if (m_st.Unit == UnitInches) {
    px = RoundToSteps(px / 25.4f);
    py = RoundToSteps(py / 25.4f);
    sx = RoundToSteps(sx / 25.4f);
    sy = RoundToSteps(sy / 25.4f);
    dx = RoundToSteps(dx / 25.4f);
    dy = RoundToSteps(dy / 25.4f);
  }
  Host().DrawCoord(px, py, sx, sy, dx, dy, Button);
}

void DragEditor::SetHoverPointer(float X, float Y) {
  std::int16_t cursor = 0;
  std::int16_t result = DragNone;
  HitTest(X, Y, m_st.CurrentTool, cursor, result);
  if (result == DragNone) {
    SetPointer(MousePointer::Arrow);
    return;
  }
  if (result == DragMove) {
    SetPointer(MousePointer::SizeAll);
    return;
  }
  if (m_st.CurrentTool == ToolRotate) {
    SetMouseIcon(CursorRotation);
    SetPointer(MousePointer::Custom);
    return;
  }
  switch (cursor) {
    case HandleRight:
    case HandleLeft: SetPointer(MousePointer::SizeWE); break;
    case HandleTopRight:
    case HandleBottomLeft: SetPointer(MousePointer::SizeNESW); break;
    case HandleTop:
    case HandleBottom: SetPointer(MousePointer::SizeNS); break;
    case HandleTopLeft:
    case HandleBottomRight: SetPointer(MousePointer::SizeNWSE); break;
    case HandleLineEnd1:
    case HandleLineEnd2: SetPointer(MousePointer::Cross); break;
    default: break;
  }
}

// ---- Outline feedback --------------------------------------------------------------

void DragEditor::DrawRubberBand(float x, float y, bool dotted) {
  DcHandle dc = Dc();
  std::int32_t l = 0, t = 0, r = 0, b = 0;
  DocToView(m_st, m_st.AnchorX, m_st.AnchorY, l, t);
  DocToView(m_st, x, y, r, b);
  Pen pen = SolidPen(FeedbackGrey);
  if (dotted) pen.style = PenStyle::Dot;
  const Pen old = SelectPen(dc, pen);
  // The gaps of the dotted band stay as they are.
  const BkMode oldBk = SetBkMode(dc, BkMode::Transparent);
  DrawSegment(dc, l, t, r, t);
  DrawSegment(dc, r, t, r, b);
  DrawSegment(dc, r, b, l, b);
  DrawSegment(dc, l, b, l, t);
  SetBkMode(dc, oldBk);
  SelectPen(dc, old);
}

void DragEditor::DrawFeedback(bool drawNew) {
  DcHandle dc = Dc();
  SetRop2(dc, Rop2::XorPen);
  const Brush oldBrush = SelectBrush(dc, Brush::Hollow());
  const bool erase = m_st.FeedbackShown;
  const std::int16_t tool = m_st.CurrentTool;
  const std::int16_t mode = m_st.DragMode;

  if (IsPointerTool(tool)) {
    if (mode == DragRubberBand) {
      if (erase) DrawRubberBand(m_st.PrevX, m_st.PrevY, true);
      if (drawNew) DrawRubberBand(m_st.CurrentX, m_st.CurrentY, true);
    } else if (mode == DragMove || mode == DragRotate || IsHandleMode(mode)) {
      const std::int32_t turnPrev =
          mode == DragRotate ? RotationDelta(m_st.AnchorX, m_st.AnchorY, m_st.PrevX, m_st.PrevY) : 0;
      const std::int32_t turnNow =
          mode == DragRotate ? RotationDelta(m_st.AnchorX, m_st.AnchorY, m_st.CurrentX, m_st.CurrentY) : 0;
      const auto outline = [&](const ObjectRecord& source, float px, float py, std::int32_t turn) {
        ObjectRecord copy = source;
        if (mode == DragRotate) {
          AddAngle(copy.Angle, turn);
        } else {
          DragRecord(mode, copy, m_st.AnchorX, m_st.AnchorY, px, py);
        }
        DrawObjectItem(copy, DrawModeOutline);
      };
      for (std::int32_t i = 1; i <= ObjCount && i <= MaxObjects; ++i) {
        const ObjectRecord& r = Objects[std::size_t(i)];
        if (r.IsSelected == 0) continue;
        // Images and barcodes never turn: no outline for them.
        if (mode == DragRotate && r.GeomType != GeomLine &&
            (r.UserType == UserTypeImage || r.UserType == UserTypeBarcode))
          continue;
        if (erase) outline(r, m_st.PrevX, m_st.PrevY, turnPrev);
        if (drawNew) outline(r, m_st.CurrentX, m_st.CurrentY, turnNow);
      }
    }
  } else if (tool == ToolDrawBox) {
    if (erase) DrawRubberBand(m_st.PrevX, m_st.PrevY, false);
    if (drawNew) DrawRubberBand(m_st.CurrentX, m_st.CurrentY, false);
  } else if (tool == ToolDrawLine) {
    const Pen old = SelectPen(dc, SolidPen(FeedbackGrey));
    std::int32_t ax = 0, ay = 0, x = 0, y = 0;
    DocToView(m_st, m_st.AnchorX, m_st.AnchorY, ax, ay);
    if (erase) {
      DocToView(m_st, m_st.PrevX, m_st.PrevY, x, y);
      DrawSegment(dc, ax, ay, x, y);
    }
    if (drawNew) {
      DocToView(m_st, m_st.CurrentX, m_st.CurrentY, x, y);
      DrawSegment(dc, ax, ay, x, y);
    }
    SelectPen(dc, old);
  }

  m_st.PrevX = m_st.CurrentX;
  m_st.PrevY = m_st.CurrentY;
  m_st.FeedbackShown = true;
  SelectBrush(dc, oldBrush);
  SetRop2(dc, Rop2::CopyPen);
  SurfaceTouched();
}

// ---- Creation ------------------------------------------------------------------------

std::int32_t DragEditor::CreateObject(float x1, float y1, float x2, float y2, float Angle, std::int16_t Tool,
                                      std::int16_t UserType) {
  if (!IsDrawingTool(Tool)) return 0;
  // The table is full: nothing is written, the host tells the user.
  if (ObjCount >= MaxObjects) {
    Host().InsertRefused(UserType);
    return 0;
  }
  float a = 0, b = 0, c = 0, d = 0;
  bool add = false;
  if (Tool == ToolDrawBox) {
    if (x1 == x2 && y1 == y2) {
      a = x1;
      b = y1;
      c = ClickBoxWidth;
      d = ClickBoxHeight;
      add = true;
    } else if (x1 != x2 && y1 != y2) {
      a = (x1 + x2) / 2.0f;
      b = (y1 + y2) / 2.0f;
      c = x2 > x1 ? x2 - x1 : x1 - x2;
      d = y2 > y1 ? y2 - y1 : y1 - y2;
      add = true;
    }
  } else if (!(x1 == x2 && y1 == y2)) {
    a = x1;
    b = y1;
    c = x2;
    d = y2;
    add = true;
  }
  if (!add) {
    // The snapshot is taken before the shape is known; a drag of no width
    // or no height adds nothing.
    SavedDoc();
    return 0;
  }
  // Snapshot, a cleared slot, the geometry, kind and a new key.
  const std::int32_t key = pv::AddObject(a, b, c, d, Angle, Tool == ToolDrawBox ? GeomBox : GeomLine, UserType, false);
  if (key == 0) return 0;
  Host().InsertObject(key, UserType);
  if (!m_st.Repeat) SetTool(ToolSelect, ToolSelect);
  return key;
}

}  // namespace pv
