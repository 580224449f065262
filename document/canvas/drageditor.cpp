// Set-up, properties, zoom, scrolling, layout and tools of the canvas.
#include "document/canvas/drageditor.h"

#include "document/canvas/cursors.h"
#include "document/canvas/geometry.h"
#include "document/pageorigin.h"
#include "platform/runtime.h"

#include <algorithm>
#include <cmath>

namespace pv {

// ---- Default host and view: nothing happens ---------------------------------

void DragEditorHost::DrawObject(DcHandle, const OutlinePoints&, const OutlinePoints&, std::int32_t, std::int32_t,
                                std::int32_t, std::int32_t, float, std::int32_t, std::int16_t) {}
void DragEditorHost::DrawPage(DcHandle, std::int32_t, std::int32_t, std::int32_t, std::int32_t) {}
void DragEditorHost::DrawCoord(float, float, float, float, float, float, std::int16_t) {}
void DragEditorHost::InsertObject(std::int32_t, std::int16_t) {}
void DragEditorHost::DeleteObject(std::int32_t, std::int16_t) {}
void DragEditorHost::SelectionStop() {}
void DragEditorHost::SelectedSingle(std::int32_t, std::int16_t) {}
void DragEditorHost::SelectedArea(std::int32_t) {}
void DragEditorHost::UpdateObjects() {}
void DragEditorHost::SavedDocument() {}
void DragEditorHost::ContextMenu() {}
void DragEditorHost::InsertRefused(std::int16_t) {}

void DragEditorView::SurfaceChanged() {}
void DragEditorView::RulersChanged() {}
void DragEditorView::ScrollBarsChanged() {}
void DragEditorView::LayoutChanged() {}
void DragEditorView::PointerChanged() {}
void DragEditorView::FocusSurface() {}
bool DragEditorView::SurfaceVisible() const { return true; }

int TwipsToPixels(int twips) { return int(RoundHalfEven(double(twips) / double(TwipsPerPixel))); }

namespace {

DragEditorHost& SilentHost() {
  static DragEditorHost host;
  return host;
}

// The resize layout, one step after the other; false at the first size that
// would be negative (the steps before it stay done).
bool LayoutSteps(CanvasLayout& l, int wo, int ho, int w, int h) {
  const int surfaceWidth = wo - (l.ViewArea.Left + l.VScroll.Width);
  if (surfaceWidth < 0) return false;
  l.ViewArea.Width = surfaceWidth;
  const int surfaceHeight = ho - (l.ViewArea.Top + l.HScroll.Height);
  if (surfaceHeight < 0) return false;
  l.ViewArea.Height = surfaceHeight;
  const int hruleWidth = w - l.ViewArea.Left - 20;
  l.HRule.Left = l.ViewArea.Left;
  if (hruleWidth < 0) return false;
  l.HRule.Width = hruleWidth;
  const int vruleHeight = h - l.ViewArea.Top - 20;
  l.VRule.Top = l.ViewArea.Top;
  if (vruleHeight < 0) return false;
  l.VRule.Height = vruleHeight;
  l.HScroll.Left = l.ViewArea.Left;
  l.HScroll.Top = h - l.HScroll.Height;
  const int hbarWidth = w - (l.ViewArea.Left + l.VScroll.Width);
  if (hbarWidth < 0) return false;
  l.HScroll.Width = hbarWidth;
  l.VScroll.Top = l.ViewArea.Top;
  l.VScroll.Left = w - l.VScroll.Width;
  const int vbarHeight = h - (l.ViewArea.Top + l.HScroll.Height);
  if (vbarHeight < 0) return false;
  l.VScroll.Height = vbarHeight;
  return true;
}

}  // namespace

// ---- Set-up -------------------------------------------------------------------

DragEditor::DragEditor(DragEditorHost* host, int surfaceWidth, int surfaceHeight) : host_(host) {
  surfaceWidth = std::max(surfaceWidth, 0);
  surfaceHeight = std::max(surfaceHeight, 0);
  // The children as the layout puts them for a control around a surface of
  // this size.
  const int wo = layout_.ViewArea.Left + layout_.VScroll.Width + surfaceWidth * TwipsPerPixel;
  const int ho = layout_.ViewArea.Top + layout_.HScroll.Height + surfaceHeight * TwipsPerPixel;
  LayoutSteps(layout_, wo, ho, wo, ho);
  st_.SurfaceWidth = surfaceWidth;
  st_.SurfaceHeight = surfaceHeight;
  MakeSurface();
  MakeRulers();

  st_.ScrollEventsEnabled = true;
  mouseIcon_ = CursorHand;
  pointer_ = MousePointer::Custom;
  st_.Zoom = 1.0f;
  st_.ContentWidthPx = st_.SurfaceWidth;
  st_.ContentHeightPx = st_.SurfaceHeight;
  st_.GridSpaceX = st_.GridSpaceY = 5.0f;
  st_.WorkAreaOrgX = st_.WorkAreaOrgY = 0.0;
  st_.WorkAreaWidth = 317.0;
  st_.WorkAreaHeight = 230.0;
  st_.PageWidth = 297.0;
  st_.PageHeight = 210.0;
  st_.HandleSize = 6;
  st_.ShowGrid = st_.ShowRule = st_.Snap = st_.ZoomPage = st_.Edit = st_.ShowPage = st_.Repeat = true;
  st_.Unit = UnitMillimetres;
  float right = 0, bottom = 0;
  ComputePageOrigin(right, bottom);
  SetZoomPage();
  UpdateScrollBars();
  // The rulers' first paint.
  PaintRulerSurfaces();
}

DragEditor::~DragEditor() = default;

DragEditorHost& DragEditor::Host() { return host_ ? *host_ : SilentHost(); }

// ---- Properties -------------------------------------------------------------

void DragEditor::Refresh(bool bMode) {
  PaintSurface();
  if (bMode) PaintRulerSurfaces();
}

void DragEditor::SetGrid(float Dx, float Dy, bool blnRefresh) {
  st_.GridSpaceX = Dx;
  st_.GridSpaceY = Dy;
  if (blnRefresh) PaintSurface();
}

void DragEditor::SetPage(double PageWidth, double PageHeight, bool blnRefresh) {
  st_.PageWidth = PageWidth;
  st_.PageHeight = PageHeight;
  float right = 0, bottom = 0;
  ComputePageOrigin(right, bottom);
  if (blnRefresh) PaintSurface();
}

void DragEditor::SetWorkArea(double AreaWidth, double AreaHeight, bool blnRefresh) {
  st_.WorkAreaOrgX = 0.0;
  st_.WorkAreaOrgY = 0.0;
  st_.WorkAreaWidth = AreaWidth;
  st_.WorkAreaHeight = AreaHeight;
  float right = 0, bottom = 0;
  ComputePageOrigin(right, bottom);
  if (blnRefresh) PaintSurface();
}

void DragEditor::SetUnit(std::int16_t iUnit) {
  if (iUnit == UnitMillimetres || iUnit == UnitInches || iUnit == UnitPixels) st_.Unit = iUnit;
}

void DragEditor::SetGridSpaceX(float fSpaceX) {
  if (fSpaceX > 0.0f && fSpaceX <= 100.0f) st_.GridSpaceX = fSpaceX;
}

void DragEditor::SetGridSpaceY(float fSpaceY) {
  if (fSpaceY > 0.0f && fSpaceY <= 100.0f) st_.GridSpaceY = fSpaceY;
}

void DragEditor::ComputePageOrigin(float& right, float& bottom) {
  const PageEdges page = CentredPage(st_.WorkAreaOrgX, st_.WorkAreaOrgY, st_.WorkAreaWidth, st_.WorkAreaHeight,
                                     st_.PageWidth, st_.PageHeight);
  PageOrgX = page.left;
  PageOrgY = page.top;
  right = page.right;
  bottom = page.bottom;
}

// ---- Zoom ------------------------------------------------------------------------

float DragEditor::SnapZoom(float z) {
  const float whole = std::floor(z);
  float f = z - whole;
  if (f > 0.0f && f <= 0.2f)
    f = 0.0f;
  else if (f > 0.2f && f <= 0.6f)
    f = 0.2f;
  else if (f > 0.6f)
    f = 0.6f;
  return whole + f;
}

void DragEditor::SetZoom(bool bMode) {
  bool changed = false;
  if (!bMode) {
    if (st_.Zoom >= 2.0f) {
      st_.Zoom = st_.Zoom - 1.0f;
      changed = true;
    }
  } else if (st_.Zoom < 9.0f) {
    st_.Zoom = st_.Zoom + 1.0f;
    changed = true;
  }
  if (!changed) return;
  st_.Zoom = SnapZoom(st_.Zoom);
  UpdateScrollBars();
  Refresh(false);
}

float DragEditor::p_SetZoomValue(float& dZoom) {
  if (dZoom > 1.0f) dZoom = dZoom - 1.0f;
  if (dZoom < 9.0f) dZoom = dZoom + 1.0f;
  const float result = SnapZoom(dZoom);
  // A value that is not a number, or not above 0, cannot be a zoom: 1 then.
  st_.Zoom = (dZoom > 0.0f && std::isfinite(dZoom)) ? dZoom : 1.0f;
  UpdateScrollBars();
  Refresh(false);
  return (result > 0.0f && std::isfinite(result)) ? result : 1.0f;
}

void DragEditor::SetZoomPage() {
  // A work area without width or height cannot be fitted along that side.
  const bool fitX = st_.WorkAreaWidth > 0.0;
  const bool fitY = st_.WorkAreaHeight > 0.0;
  if (fitX || fitY) {
    const double zx = fitX ? double(st_.SurfaceWidth) / st_.WorkAreaWidth : 1e300;
    const double zy = fitY ? double(st_.SurfaceHeight) / st_.WorkAreaHeight : 1e300;
    st_.Zoom = float(MinValue(zx, zy));
  }
  st_.Zoom = p_SetZoomValue(st_.Zoom);
  UpdateScrollBars();
  Refresh(false);
}

// ---- Scroll bars -----------------------------------------------------------

void DragEditor::UpdateScrollBars() {
  st_.ScrollEventsEnabled = false;
  st_.ContentWidthPx = double(st_.Zoom) * st_.WorkAreaWidth;
  st_.ContentHeightPx = double(st_.Zoom) * st_.WorkAreaHeight;
  ScrollBarState& h = st_.HScroll;
  ScrollBarState& v = st_.VScroll;
  h.Min = 0;
  h.Max = CInt((st_.ContentWidthPx - st_.SurfaceWidth) / double(st_.Zoom));
  v.Min = 0;
  v.Max = CInt((st_.ContentHeightPx - st_.SurfaceHeight) / double(st_.Zoom));
  st_.ScrollX = h.Max / 2.0;
  st_.ScrollY = v.Max / 2.0;
  h.Value = CInt(st_.ScrollX);
  v.Value = CInt(st_.ScrollY);
  h.Enabled = h.Max > 0;
  v.Enabled = v.Max > 0;
  h.SmallChange = CInt(st_.SurfaceWidth / 20.0);
  h.LargeChange = CInt(st_.SurfaceWidth / 4.0);
  v.SmallChange = CInt(st_.SurfaceHeight / 20.0);
  v.LargeChange = CInt(st_.SurfaceHeight / 4.0);
  if (view_) view_->ScrollBarsChanged();
  st_.ScrollEventsEnabled = true;
  st_.FontRatio = float(RoundHalfEven(DocToViewY(st_, 25.4f))) / 72.0f;
}

void DragEditor::HScrollChange(std::int16_t value) {
  if (!st_.ScrollEventsEnabled) return;
  st_.HScroll.Value = value;
  st_.ScrollX = value;
  if (!view_ || view_->SurfaceVisible()) {
    if (view_) view_->FocusSurface();
    PaintSurface();
  }
}

void DragEditor::VScrollChange(std::int16_t value) {
  if (!st_.ScrollEventsEnabled) return;
  st_.VScroll.Value = value;
  st_.ScrollY = value;
  if (!view_ || view_->SurfaceVisible()) {
    if (view_) view_->FocusSurface();
    PaintSurface();
  }
}

// ---- Layout ------------------------------------------------------------------

void DragEditor::Resize(int outerWidth, int outerHeight, int innerWidth, int innerHeight) {
  const bool complete = LayoutSteps(layout_, outerWidth, outerHeight, innerWidth, innerHeight);
  const int sw = TwipsToPixels(layout_.ViewArea.Width);
  const int sh = TwipsToPixels(layout_.ViewArea.Height);
  const bool surfaceResized = sw != st_.SurfaceWidth || sh != st_.SurfaceHeight;
  if (surfaceResized) {
    st_.SurfaceWidth = sw;
    st_.SurfaceHeight = sh;
    MakeSurface();
  }
  const bool rulersResized = hrule_->image().width() != std::max(1, TwipsToPixels(layout_.HRule.Width)) ||
                             vrule_->image().height() != std::max(1, TwipsToPixels(layout_.VRule.Height));
  if (rulersResized) MakeRulers();
  if (view_) view_->LayoutChanged();
  if (complete) {
    if (st_.ZoomPage) SetZoomPage();
    UpdateScrollBars();
    PaintSurface();
  } else if (surfaceResized) {
    // The window system repaints a resized surface.
    PaintSurface();
  }
  if (rulersResized) PaintRulerSurfaces();
}

void DragEditor::MakeSurface() {
  surface_ = std::make_unique<ImageSurface>(std::max(1, st_.SurfaceWidth), std::max(1, st_.SurfaceHeight), 96, 96,
                                            SurfaceBackColour);
  SurfaceTouched();
}

void DragEditor::MakeRulers() {
  hrule_ = std::make_unique<ImageSurface>(std::max(1, TwipsToPixels(layout_.HRule.Width)),
                                          std::max(1, TwipsToPixels(layout_.HRule.Height)), 96, 96, RulerBackColour);
  vrule_ = std::make_unique<ImageSurface>(std::max(1, TwipsToPixels(layout_.VRule.Width)),
                                          std::max(1, TwipsToPixels(layout_.VRule.Height)), 96, 96, RulerBackColour);
  if (view_) view_->RulersChanged();
}

DcHandle DragEditor::Dc() const { return surface_->dc(); }
const QImage& DragEditor::SurfaceImage() const { return surface_->image(); }
const QImage& DragEditor::HRuleImage() const { return hrule_->image(); }
const QImage& DragEditor::VRuleImage() const { return vrule_->image(); }

void DragEditor::SurfaceTouched() {
  if (view_) view_->SurfaceChanged();
}

// ---- Tools and pointer -------------------------------------------------------

void DragEditor::SetTool(std::int16_t intTool, std::int16_t UserType) {
  if (intTool == ToolSelect || intTool == ToolRotate) {
    st_.CurrentTool = intTool;
    st_.CurrentUserType = UserType;
    SetPointer(MousePointer::Arrow);
    Refresh(true);
    return;
  }
  DeselectAll();
  st_.CurrentTool = intTool;
  st_.CurrentUserType = UserType;
  SetMouseIcon(CursorForKind(UserType));
  SetPointer(MousePointer::Custom);
}

void DragEditor::SetPointer(MousePointer p) {
  if (pointer_ == p) return;
  pointer_ = p;
  if (view_) view_->PointerChanged();
}

void DragEditor::SetMouseIcon(int id) {
  if (mouseIcon_ == id) return;
  mouseIcon_ = id;
  if (view_ && pointer_ == MousePointer::Custom) view_->PointerChanged();
}

void DragEditor::DeselectAll() {
  std::int32_t l = 0, t = 0, r = 0, b = 0;
  GetSelectionBounds(l, t, r, b, true);
  DeselectAllObjects();
  RedrawArea(l, t, r, b);
  Host().SelectionStop();
}

// ---- Events the document raises ---------------------------------------------

void DragEditor::DeleteObject(std::int32_t lKey, std::int16_t UserType) { Host().DeleteObject(lKey, UserType); }
void DragEditor::UpdateObjects() { Host().UpdateObjects(); }
void DragEditor::SavedDocument() { Host().SavedDocument(); }
void DragEditor::SelectionStop() { Host().SelectionStop(); }

}  // namespace pv
