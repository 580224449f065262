#pragma once
// DragEditor: the drawing canvas of the label editor, without widgets. It
// keeps the canvas state (canvasstate.h), fits and steps the zoom, keeps the
// two scroll bars' values, lays out rulers, surface and bars from the
// control's size, paints page, grid, rulers, outlines and selection handles
// into a back-buffer image whose device context it hands to its host, keeps
// the tool and the pointer, and raises its events synchronously into the
// host, which may call back into the canvas before the raising operation
// goes on. It never draws label content: the host does that on DrawPage and
// DrawObject.
//
// A widget (drageditorwidget.h) shows the three images, puts the scroll bars
// and the pointer on the screen and feeds the widget events in; tests drive
// the canvas directly with a fixed surface size.
#include "document/canvas/canvasstate.h"
#include "document/hosts.h"
#include "document/model.h"
#include "document/objectstore.h"
#include "platform/dc.h"

#include <QImage>

#include <array>
#include <cstdint>
#include <memory>

namespace pv {

// An object's outline in view pixels: elements 1-2 (line) or 1-4 (box) are
// used, the rest are 0.
using OutlinePoints = std::array<std::int32_t, 13>;

// The eleven events of the canvas, one call each, in their declared order.
// The defaults do nothing. The canvas reads nothing back from the arguments.
class DragEditorHost {
 public:
  virtual ~DragEditorHost() = default;
  // One visible object: its turned outline X/Y, its unturned box or ends
  // (x1, y1)-(x2, y2), all in view pixels, its angle, key and kind.
  virtual void DrawObject(DcHandle hdc, const OutlinePoints& X, const OutlinePoints& Y, std::int32_t x1,
                          std::int32_t y1, std::int32_t x2, std::int32_t y2, float Angle, std::int32_t lKey,
                          std::int16_t UserType);
  // The page's edges in view pixels (raised instead of drawing the page
  // while ShowPage is False).
  virtual void DrawPage(DcHandle hdc, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2);
  virtual void DrawCoord(float X, float Y, float xStart, float yStart, float Dx, float Dy, std::int16_t Button);
  virtual void InsertObject(std::int32_t lKey, std::int16_t UserType);
  virtual void DeleteObject(std::int32_t lKey, std::int16_t UserType);
  virtual void SelectionStop();
  virtual void SelectedSingle(std::int32_t lKey, std::int16_t UserType);
  virtual void SelectedArea(std::int32_t nObjects);
  virtual void UpdateObjects();
  virtual void SavedDocument();
  virtual void ContextMenu();
  // A drawing drag finished while the table already holds its 200 objects:
  // nothing was added (no snapshot, no record, no InsertObject). The host
  // tells the user (message 15046) and goes on as after an insertion.
  virtual void InsertRefused(std::int16_t UserType);
};

// The pointer of the drawing surface. Custom shows the image MouseIcon().
enum class MousePointer {
  Arrow,    // the standard arrow
  Custom,   // the cursor image MouseIcon() (1001-1010)
  SizeAll,  // four-way size pointer
  SizeWE,
  SizeNESW,
  SizeNS,
  SizeNWSE,
  Cross,
};

// What the widget is told after the canvas changed something it shows.
// The defaults do nothing (headless canvas).
class DragEditorView {
 public:
  virtual ~DragEditorView() = default;
  // Pixels of the surface image changed (or the image was replaced).
  virtual void SurfaceChanged();
  // Pixels of the ruler images changed (or they were replaced).
  virtual void RulersChanged();
  // The scroll bars' values changed (called while ScrollEventsEnabled is
  // False, so value changes the widget reports back are ignored).
  virtual void ScrollBarsChanged();
  // The layout of the children changed (Layout()).
  virtual void LayoutChanged();
  virtual void PointerChanged();
  // The drawing surface should take the keyboard focus.
  virtual void FocusSurface();
  // Whether the drawing surface is on the screen (headless: true).
  virtual bool SurfaceVisible() const;
};

// Positions and sizes of the children in twips (1/1440 inch), the control's
// own unit. 15 twips make one pixel.
inline constexpr int TwipsPerPixel = 15;
struct TwipRect {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
};
struct CanvasLayout {
  TwipRect HRule{450, 45, 0, 330};
  TwipRect VRule{45, 405, 375, 0};
  TwipRect ViewArea{450, 405, 0, 0};
  TwipRect HScroll{0, 0, 0, 240};
  TwipRect VScroll{0, 0, 240, 0};
};
// Twips to whole pixels (rounded).
int TwipsToPixels(int twips);

// Background colours of the control and its children.
inline constexpr Colour CanvasBackColour = Rgb(192, 192, 192);
inline constexpr Colour RulerBackColour = Rgb(224, 224, 224);
inline constexpr Colour SurfaceBackColour = Rgb(255, 255, 255);

class DragEditor : public CanvasHost {
 public:
  // Runs the set-up with a drawing surface of the given size in pixels.
  // host and view may be given later. The canvas is the document's canvas
  // (document/hosts.h) only where someone installs it (ScopedHost).
  explicit DragEditor(DragEditorHost* host = nullptr, int surfaceWidth = 400, int surfaceHeight = 300);
  ~DragEditor() override;
  DragEditor(const DragEditor&) = delete;
  DragEditor& operator=(const DragEditor&) = delete;

  void SetHost(DragEditorHost* host) { m_host = host; }
  void SetView(DragEditorView* view) { m_view = view; }
  const CanvasState& State() const { return m_st; }

  // ---- Object store (the document's table operations) ---------------------
  std::int32_t AddObject(float x1, float y1, float x2, float y2, float Angle, std::int16_t Tool, std::int16_t UserTool,
                         bool bDraw) {
    return pv::AddObject(x1, y1, x2, y2, Angle, Tool, UserTool, bDraw);
  }
  std::int32_t GetFirstObject(bool bMode) { return pv::GetFirstObject(bMode); }
  std::int32_t GetNextObject(bool bMode) { return pv::GetNextObject(bMode); }
  std::int32_t GetUserType(std::int32_t Key) { return pv::GetUserType(Key); }
  std::int32_t GetType(std::int32_t Key) { return pv::GetType(Key); }
  void Purge() { pv::Purge(); }
  void Clear() { pv::Clear(); }
  std::int32_t SelCount() { return pv::SelCount(); }
  std::int32_t Selected() { return pv::Selected(); }
  void SelObject(std::int32_t Key, bool bDraw) { pv::SelObject(Key, bDraw); }
  void DelObject(std::int32_t Key, bool bDraw) { pv::DelObject(Key, bDraw); }
  void SetNewKey(std::int32_t& lKey) { pv::SetNewKey(lKey); }
  void SetObjectDimension(std::int32_t Key, float x1, float y1, float x2, float y2, float Angle, bool bDraw) {
    pv::SetObjectDimension(Key, x1, y1, x2, y2, Angle, bDraw);
  }
  void GetObjectDimension(std::int32_t Key, float& x1, float& y1, float& x2, float& y2, float& Angle) {
    pv::GetObjectDimension(Key, x1, y1, x2, y2, Angle);
  }
  void MoveFront() { pv::MoveFront(); }
  void MoveDown() { pv::MoveDown(); }
  void MoveUp() { pv::MoveUp(); }
  void MoveBack() { pv::MoveBack(); }
  void RotateObject(float dAngle) { pv::RotateObject(dAngle); }
  void HideObject(bool bHide, std::int32_t lKey) { pv::HideObject(bHide, lKey); }
  void DelObjects() { pv::DelObjects(); }
  void SavedDoc() { pv::SavedDoc(); }
  void Undo() { pv::Undo(); }
  void Redo() { pv::Redo(); }

  // ---- Properties and set-up members --------------------------------------
  // Repaints the drawing surface; with bMode also both rulers in full.
  void Refresh(bool bMode) override;
  // No range check; with blnRefresh the surface is repainted.
  void SetGrid(float Dx, float Dy, bool blnRefresh);
  void SetPage(double PageWidth, double PageHeight, bool blnRefresh);
  void SetWorkArea(double AreaWidth, double AreaHeight, bool blnRefresh);
  bool ShowGrid() const { return m_st.ShowGrid; }
  void SetShowGrid(bool v) { m_st.ShowGrid = v; }
  bool Snap() const { return m_st.Snap; }
  void SetSnap(bool v) { m_st.Snap = v; }
  bool ShowPage() const { return m_st.ShowPage; }
  void SetShowPage(bool v) { m_st.ShowPage = v; }
  bool ShowRule() const { return m_st.ShowRule; }
  void SetShowRule(bool v) { m_st.ShowRule = v; }
  bool ZoomPage() const { return m_st.ZoomPage; }
  void SetZoomPageFlag(bool v) { m_st.ZoomPage = v; }
  bool Edit() const { return m_st.Edit; }
  void SetEdit(bool v) { m_st.Edit = v; }
  bool Repeat() const { return m_st.Repeat; }
  void SetRepeat(bool v) { m_st.Repeat = v; }
  float FontRatio() const { return m_st.FontRatio; }
  std::int16_t Unit() const { return m_st.Unit; }
  // Units other than 1, 2 and 3 are refused (the unit stays).
  void SetUnit(std::int16_t iUnit);
  float GridSpaceX() const { return m_st.GridSpaceX; }
  float GridSpaceY() const { return m_st.GridSpaceY; }
  // Stored only when 0 < value <= 100.
  void SetGridSpaceX(float fSpaceX);
  void SetGridSpaceY(float fSpaceY);

  // ---- Zoom, scrolling and layout ------------------------------------------
  // One zoom step in (true) or out (false); beyond the limits nothing happens.
  void SetZoom(bool bMode);
  // Normalises dZoom (changed in place), sets Zoom to it unsnapped, updates
  // the bars, repaints, and returns the snapped value.
  float p_SetZoomValue(float& dZoom);
  // Fits the zoom to the drawing surface.
  void SetZoomPage();
  // The snapped zoom: its fraction brought down to 0, 0.2 or 0.6.
  static float SnapZoom(float z);
  // A change of the horizontal / vertical scroll bar to value (nothing while
  // the bars are being set).
  void HScrollChange(std::int16_t value);
  void VScrollChange(std::int16_t value);
  // The control's resize: outer and inner size in twips (no border: the
  // same). Stops at the first size that would be negative.
  void Resize(int outerWidth, int outerHeight, int innerWidth, int innerHeight);
  void Resize(int width, int height) { Resize(width, height, width, height); }
  const CanvasLayout& Layout() const { return m_layout; }

  // ---- Painting ----------------------------------------------------------------
  // The drawing surface's paint: cleared to white, the page, all objects.
  void PaintSurface();
  // Either ruler's paint: both rulers in full for the current page edges
  // (cleared to their background while ShowRule is False).
  void PaintRulerSurfaces();
  // One object: mode 100 raises DrawObject, 101 draws its grey outline with
  // the surface's current mix mode, 102 measures it into the extents.
  // Hidden objects are not drawn (they are still measured).
  void DrawObjectItem(const ObjectRecord& record, std::int16_t mode) override;
  // Selection handles of object i in the look of the current tool.
  void DrawSelectionHandles(std::int32_t index, bool flag);
  // The view rectangle the selected objects and their handles cover.
  void GetSelectionBounds(std::int32_t& left, std::int32_t& top, std::int32_t& right, std::int32_t& bottom, bool reset);
  // Repaints the page and the objects inside the rectangle only.
  void RedrawArea(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom);
  // The outline of a record in view pixels (turned X/Y, unturned x1..y2).
  // False for a record of an unknown geometry type.
  bool ObjectOutline(const ObjectRecord& record, OutlinePoints& X, OutlinePoints& Y, std::int32_t& x1, std::int32_t& y1,
                     std::int32_t& x2, std::int32_t& y2) const;
  // The step of the ruler labels and its length in pixels.
  void GetRuleStep(std::int32_t& pixels, float& stepValue) const;

  // The device context of the surface's back buffer and the images.
  DcHandle Dc() const;
  const QImage& SurfaceImage() const;
  const QImage& HRuleImage() const;
  const QImage& VRuleImage() const;

  // ---- Tools, pointer and selection ----------------------------------------
  void SetTool(std::int16_t intTool, std::int16_t UserType);
  MousePointer Pointer() const { return m_pointer; }
  int MouseIcon() const { return m_mouseIcon; }
  void SetPointer(MousePointer p);
  void SetMouseIcon(int id);
  // Clears the selection: repaints what it covered and raises SelectionStop.
  void DeselectAll();
  void SelStop() override { DeselectAll(); }
  // Selects every object that is not hidden and draws its handles; raises
  // nothing.
  void SelectAll();

  // ---- Hit testing and selection ---------------------------------------------
  // What a press of tool at view point (X, Y) would grab among the selected
  // objects: a box handle 100..107, a line end 110/111, 202 (rotation), 200
  // (a body) or -100 (nothing). cursor receives the handle's direction on the
  // screen and is left as passed when there is none. Sets GrabbedObject on a
  // hit (and when the rotate tool meets the middle of an edge).
  void HitTest(float X, float Y, std::int16_t tool, std::int16_t& cursor, std::int16_t& result);
  // A click: without a modifier the selection is cleared first; then the
  // topmost visible object under the point is selected (SelectedSingle).
  void SelectAtPoint(float X, float Y, std::int16_t Shift);
  // A rubber band (view pixels, corners in any order): selects the visible
  // objects lying wholly inside it (SelectionStop, then SelectedArea).
  void SelectInArea(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2);

  // ---- Drags, creation, alignment --------------------------------------------
  // Applies a finished drag of mode (200 move, 202 rotate, 100..107 box
  // handle, 110/111 line end) from the anchor (ax, ay) to (x, y), document
  // points, to every selected object: one undo snapshot, then the repaint of
  // the area the selection covered before and after. Raises no UpdateObjects.
  void ApplyDrag(std::int16_t mode, float ax, float ay, float x, float y);
  // The move, box-handle and line-end rules of a drag on one record (the
  // records of the other geometry kind stay as they are).
  static void DragRecord(std::int16_t mode, ObjectRecord& record, float ax, float ay, float x, float y);
  // The whole degrees a rotation drag from the anchor to (x, y) turns by,
  // about the centre of the grabbed object; 0 without a grabbed object.
  std::int32_t RotationDelta(float ax, float ay, float x, float y) const;
  // The Shift constraint of the current drawing tool applied to the document
  // point (x, y) against the anchor: 45-degree steps for lines, squares for
  // boxes. Other tools change nothing.
  void p_AdjustPoint(float& x, float& y) const;
  // A finished drawing drag from (x1, y1) to (x2, y2) with tool 200 or 201:
  // appends the new object (snapshot first), raises InsertObject and, unless
  // Repeat is on, returns to the select tool. Returns the new key, 0 when
  // nothing was added (InsertRefused at the full table).
  std::int32_t CreateObject(float x1, float y1, float x2, float y2, float Angle, std::int16_t Tool,
                            std::int16_t UserType);
  // Lines up the selected objects: 1 left, 2 right, 4 top, 5 bottom edges;
  // 3, 6 horizontal and vertical centres, 7, 8 width and height of the
  // reference object; 9 onto the grid. No snapshot, no event.
  void SetAlign(std::int16_t mode, bool refresh);

  // ---- Mouse and keyboard of the drawing surface ---------------------------
  // Button: 1 left, 2 right, 4 middle; Shift: 1 Shift, 2 Ctrl, 4 Alt; X, Y
  // view pixels. KeyCode: the key numbers of the host GUI (46 Delete).
  void MouseDown(std::int16_t Button, std::int16_t Shift, float X, float Y);
  void MouseMove(std::int16_t Button, std::int16_t Shift, float X, float Y);
  void MouseUp(std::int16_t Button, std::int16_t Shift, float X, float Y);
  void KeyDown(std::int16_t KeyCode, std::int16_t Shift);

  // ---- Events the document raises through the canvas -----------------------
  void DeleteObject(std::int32_t lKey, std::int16_t UserType) override;
  void UpdateObjects() override;
  void SavedDocument() override;
  void SelectionStop() override;

 protected:
  DragEditorHost& Host();
  void UpdateScrollBars();
  void PaintPage();
  void DrawGrid(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom);
  void PaintRules(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom, bool force);
  void DrawAllObjects();
  void AccumulateExtents(const OutlinePoints& X, const OutlinePoints& Y, int count);
  void DrawHandle(std::int32_t x, std::int32_t y);
  // The page origin of the work area (also written when page or work area
  // is set, so the print side finds it before the first paint).
  void ComputePageOrigin(float& right, float& bottom);
  // Recreates the back buffers for the current sizes.
  void MakeSurface();
  void MakeRulers();
  void SurfaceTouched();
  // The outlines that follow the pointer during a drag (XOR): the previous
  // one is erased when shown, the current one drawn when drawNew.
  void DrawFeedback(bool drawNew);
  void DrawRubberBand(float x, float y, bool dotted);
  void RaiseDrawCoord(std::int16_t Button, float X, float Y, float x, float y);
  void SetHoverPointer(float X, float Y);

  CanvasState m_st;
  CanvasLayout m_layout;
  DragEditorHost* m_host = nullptr;
  DragEditorView* m_view = nullptr;
  MousePointer m_pointer = MousePointer::Custom;
  int m_mouseIcon = 1001;
  std::unique_ptr<ImageSurface> m_surface;
  std::unique_ptr<ImageSurface> m_hrule;
  std::unique_ptr<ImageSurface> m_vrule;
};

}  // namespace pv
