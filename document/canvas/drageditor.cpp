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

DragEditor::DragEditor(DragEditorHost* host, int surfaceWidth, int surfaceHeight) : m_host(host) {
  surfaceWidth = std::max(surfaceWidth, 0);
  surfaceHeight = std::max(surfaceHeight, 0);
  // The children as the layout puts them for a control around a surface of
  // this size.
  const int wo = m_layout.ViewArea.Left + m_layout.VScroll.Width + surfaceWidth * TwipsPerPixel;
  const int ho = m_layout.ViewArea.Top + m_layout.HScroll.Height + surfaceHeight * TwipsPerPixel;
  LayoutSteps(m_layout, wo, ho, wo, ho);
  m_st.SurfaceWidth = surfaceWidth;
  m_st.SurfaceHeight = surfaceHeight;
  MakeSurface();
  MakeRulers();

  m_st.ScrollEventsEnabled = true;
  m_mouseIcon = CursorHand;
  m_pointer = MousePointer::Custom;
  m_st.Zoom = 1.0f;
  m_st.ContentWidthPx = m_st.SurfaceWidth;
  m_st.ContentHeightPx = m_st.SurfaceHeight;
  m_st.GridSpaceX = m_st.GridSpaceY = 5.0f;
  m_st.WorkAreaOrgX = m_st.WorkAreaOrgY = 0.0;
  m_st.WorkAreaWidth = 317.0;
  m_st.WorkAreaHeight = 230.0;
  m_st.PageWidth = 297.0;
  m_st.PageHeight = 210.0;
  m_st.HandleSize = 6;
  m_st.ShowGrid = m_st.ShowRule = m_st.Snap = m_st.ZoomPage = m_st.Edit = m_st.ShowPage = m_st.Repeat = true;
  m_st.Unit = UnitMillimetres;
  float right = 0, bottom = 0;
  ComputePageOrigin(right, bottom);
  SetZoomPage();
  UpdateScrollBars();
  // The rulers' first paint.
  PaintRulerSurfaces();
}

DragEditor::~DragEditor() = default;

DragEditorHost& DragEditor::Host() { return m_host ? *m_host : SilentHost(); }

// ---- Properties -------------------------------------------------------------

void DragEditor::Refresh(bool bMode) {
  PaintSurface();
  if (bMode) PaintRulerSurfaces();
}

void DragEditor::SetGrid(float Dx, float Dy, bool blnRefresh) {
  m_st.GridSpaceX = Dx;
  m_st.GridSpaceY = Dy;
  if (blnRefresh) PaintSurface();
}

void DragEditor::SetPage(double PageWidth, double PageHeight, bool blnRefresh) {
  m_st.PageWidth = PageWidth;
  m_st.PageHeight = PageHeight;
  float right = 0, bottom = 0;
  ComputePageOrigin(right, bottom);
  if (blnRefresh) PaintSurface();
}

void DragEditor::SetWorkArea(double AreaWidth, double AreaHeight, bool blnRefresh) {
  m_st.WorkAreaOrgX = 0.0;
  m_st.WorkAreaOrgY = 0.0;
  m_st.WorkAreaWidth = AreaWidth;
  m_st.WorkAreaHeight = AreaHeight;
  float right = 0, bottom = 0;
  ComputePageOrigin(right, bottom);
  if (blnRefresh) PaintSurface();
}

void DragEditor::SetUnit(std::int16_t iUnit) {
  if (iUnit == UnitMillimetres || iUnit == UnitInches || iUnit == UnitPixels) m_st.Unit = iUnit;
}

void DragEditor::SetGridSpaceX(float fSpaceX) {
  if (fSpaceX > 0.0f && fSpaceX <= 100.0f) m_st.GridSpaceX = fSpaceX;
}

void DragEditor::SetGridSpaceY(float fSpaceY) {
  if (fSpaceY > 0.0f && fSpaceY <= 100.0f) m_st.GridSpaceY = fSpaceY;
}

void DragEditor::ComputePageOrigin(float& right, float& bottom) {
  const PageEdges page = CentredPage(m_st.WorkAreaOrgX, m_st.WorkAreaOrgY, m_st.WorkAreaWidth, m_st.WorkAreaHeight,
                                     m_st.PageWidth, m_st.PageHeight);
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
    if (m_st.Zoom >= 2.0f) {
      m_st.Zoom = m_st.Zoom - 1.0f;
      changed = true;
    }
  } else if (m_st.Zoom < 9.0f) {
    m_st.Zoom = m_st.Zoom + 1.0f;
    changed = true;
  }
  if (!changed) return;
  m_st.Zoom = SnapZoom(m_st.Zoom);
  UpdateScrollBars();
  Refresh(false);
}

float DragEditor::p_SetZoomValue(float& dZoom) {
  if (dZoom > 1.0f) dZoom = dZoom - 1.0f;
  if (dZoom < 9.0f) dZoom = dZoom + 1.0f;
  const float result = SnapZoom(dZoom);
  // A value that is not a number, or not above 0, cannot be a zoom: 1 then.
  m_st.Zoom = (dZoom > 0.0f && std::isfinite(dZoom)) ? dZoom : 1.0f;
  UpdateScrollBars();
  Refresh(false);
  return (result > 0.0f && std::isfinite(result)) ? result : 1.0f;
}

void DragEditor::SetZoomPage() {
  // A work area without width or height cannot be fitted along that side.
  const bool fitX = m_st.WorkAreaWidth > 0.0;
  const bool fitY = m_st.WorkAreaHeight > 0.0;
  if (fitX || fitY) {
    const double zx = fitX ? double(m_st.SurfaceWidth) / m_st.WorkAreaWidth : 1e300;
    const double zy = fitY ? double(m_st.SurfaceHeight) / m_st.WorkAreaHeight : 1e300;
    m_st.Zoom = float(MinValue(zx, zy));
  }
  m_st.Zoom = p_SetZoomValue(m_st.Zoom);
  UpdateScrollBars();
  Refresh(false);
}

// ---- Scroll bars -----------------------------------------------------------

void DragEditor::UpdateScrollBars() {
  m_st.ScrollEventsEnabled = false;
  m_st.ContentWidthPx = double(m_st.Zoom) * m_st.WorkAreaWidth;
  m_st.ContentHeightPx = double(m_st.Zoom) * m_st.WorkAreaHeight;
  ScrollBarState& h = m_st.HScroll;
  ScrollBarState& v = m_st.VScroll;
  h.Min = 0;
  h.Max = CInt((m_st.ContentWidthPx - m_st.SurfaceWidth) / double(m_st.Zoom));
  v.Min = 0;
  v.Max = CInt((m_st.ContentHeightPx - m_st.SurfaceHeight) / double(m_st.Zoom));
  m_st.ScrollX = h.Max / 2.0;
  m_st.ScrollY = v.Max / 2.0;
  h.Value = CInt(m_st.ScrollX);
  v.Value = CInt(m_st.ScrollY);
  h.Enabled = h.Max > 0;
  v.Enabled = v.Max > 0;
  h.SmallChange = CInt(m_st.SurfaceWidth / 20.0);
  h.LargeChange = CInt(m_st.SurfaceWidth / 4.0);
  v.SmallChange = CInt(m_st.SurfaceHeight / 20.0);
  v.LargeChange = CInt(m_st.SurfaceHeight / 4.0);
  if (m_view) m_view->ScrollBarsChanged();
  m_st.ScrollEventsEnabled = true;
  m_st.FontRatio = float(RoundHalfEven(DocToViewY(m_st, 25.4f))) / 72.0f;
}

void DragEditor::HScrollChange(std::int16_t value) {
  if (!m_st.ScrollEventsEnabled) return;
  m_st.HScroll.Value = value;
  m_st.ScrollX = value;
  if (!m_view || m_view->SurfaceVisible()) {
    if (m_view) m_view->FocusSurface();
    PaintSurface();
  }
}

void DragEditor::VScrollChange(std::int16_t value) {
  if (!m_st.ScrollEventsEnabled) return;
  m_st.VScroll.Value = value;
  m_st.ScrollY = value;
  if (!m_view || m_view->SurfaceVisible()) {
    if (m_view) m_view->FocusSurface();
    PaintSurface();
  }
}

// ---- Layout ------------------------------------------------------------------

void DragEditor::Resize(int outerWidth, int outerHeight, int innerWidth, int innerHeight) {
  const bool complete = LayoutSteps(m_layout, outerWidth, outerHeight, innerWidth, innerHeight);
  const int sw = TwipsToPixels(m_layout.ViewArea.Width);
  const int sh = TwipsToPixels(m_layout.ViewArea.Height);
  const bool surfaceResized = sw != m_st.SurfaceWidth || sh != m_st.SurfaceHeight;
  if (surfaceResized) {
    m_st.SurfaceWidth = sw;
    m_st.SurfaceHeight = sh;
    MakeSurface();
  }
  const bool rulersResized = m_hrule->image().width() != std::max(1, TwipsToPixels(m_layout.HRule.Width)) ||
                             m_vrule->image().height() != std::max(1, TwipsToPixels(m_layout.VRule.Height));
  if (rulersResized) MakeRulers();
  if (m_view) m_view->LayoutChanged();
  if (complete) {
    if (m_st.ZoomPage) SetZoomPage();
    UpdateScrollBars();
    PaintSurface();
  } else if (surfaceResized) {
    // The window system repaints a resized surface.
    PaintSurface();
  }
  if (rulersResized) PaintRulerSurfaces();
}

void DragEditor::MakeSurface() {
  m_surface = std::make_unique<ImageSurface>(std::max(1, m_st.SurfaceWidth), std::max(1, m_st.SurfaceHeight), 96, 96,
                                             SurfaceBackColour);
  SurfaceTouched();
}

void DragEditor::MakeRulers() {
  m_hrule = std::make_unique<ImageSurface>(std::max(1, TwipsToPixels(m_layout.HRule.Width)),
                                           std::max(1, TwipsToPixels(m_layout.HRule.Height)), 96, 96, RulerBackColour);
  m_vrule = std::make_unique<ImageSurface>(std::max(1, TwipsToPixels(m_layout.VRule.Width)),
                                           std::max(1, TwipsToPixels(m_layout.VRule.Height)), 96, 96, RulerBackColour);
  if (m_view) m_view->RulersChanged();
}

DcHandle DragEditor::Dc() const { return m_surface->dc(); }
const QImage& DragEditor::SurfaceImage() const { return m_surface->image(); }
const QImage& DragEditor::HRuleImage() const { return m_hrule->image(); }
const QImage& DragEditor::VRuleImage() const { return m_vrule->image(); }

void DragEditor::SurfaceTouched() {
  if (m_view) m_view->SurfaceChanged();
}

// ---- Tools and pointer -------------------------------------------------------

void DragEditor::SetTool(std::int16_t intTool, std::int16_t UserType) {
  if (intTool == ToolSelect || intTool == ToolRotate) {
    m_st.CurrentTool = intTool;
    m_st.CurrentUserType = UserType;
    SetPointer(MousePointer::Arrow);
    Refresh(true);
    return;
  }
  DeselectAll();
  m_st.CurrentTool = intTool;
  m_st.CurrentUserType = UserType;
  SetMouseIcon(CursorForKind(UserType));
  SetPointer(MousePointer::Custom);
}

void DragEditor::SetPointer(MousePointer p) {
  if (m_pointer == p) return;
  m_pointer = p;
  if (m_view) m_view->PointerChanged();
}

void DragEditor::SetMouseIcon(int id) {
  if (m_mouseIcon == id) return;
  m_mouseIcon = id;
  if (m_view && m_pointer == MousePointer::Custom) m_view->PointerChanged();
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
