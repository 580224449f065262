#pragma once
// The state of the drawing canvas: zoom and scroll position, work area and
// page, grid and view flags, the current tool, the page edges of the last
// paint, the scroll bars and the mouse state. One canvas per process; the
// geometry functions (geometry.h) read it, the canvas (drageditor.h) writes
// it. The page origin in document units is pv::PageOrgX / pv::PageOrgY of the
// open document (document/model.h).
#include <cstdint>

namespace pv {

// Tool codes (CurrentTool).
inline constexpr std::int16_t ToolNone = 0;  // before the host's first SetTool
inline constexpr std::int16_t ToolSelect = 100;
inline constexpr std::int16_t ToolRotate = 101;
inline constexpr std::int16_t ToolDrawBox = 200;
inline constexpr std::int16_t ToolDrawLine = 201;

// Units of rulers, grid and coordinate reports (Unit).
inline constexpr std::int16_t UnitMillimetres = 1;
inline constexpr std::int16_t UnitInches = 2;
inline constexpr std::int16_t UnitPixels = 3;  // view pixels from the page corner

// Handle codes of a box (before rotation), of a line's ends, and none. They
// are also the drag modes of the mouse.
inline constexpr std::int16_t HandleRight = 100;
inline constexpr std::int16_t HandleTopRight = 101;
inline constexpr std::int16_t HandleTop = 102;
inline constexpr std::int16_t HandleTopLeft = 103;
inline constexpr std::int16_t HandleLeft = 104;
inline constexpr std::int16_t HandleBottomLeft = 105;
inline constexpr std::int16_t HandleBottom = 106;
inline constexpr std::int16_t HandleBottomRight = 107;
inline constexpr std::int16_t HandleLineEnd1 = 110;
inline constexpr std::int16_t HandleLineEnd2 = 111;
inline constexpr std::int16_t HandleNone = -1;

// Drag modes besides the handle codes.
inline constexpr std::int16_t DragNone = -100;
inline constexpr std::int16_t DragMove = 200;
inline constexpr std::int16_t DragRotate = 202;
inline constexpr std::int16_t DragRubberBand = 300;
inline constexpr std::int16_t DragCreate = 301;

// Modes of the drawing of one object.
inline constexpr std::int16_t DrawModeEvent = 100;    // raise DrawObject
inline constexpr std::int16_t DrawModeOutline = 101;  // grey outline
inline constexpr std::int16_t DrawModeExtents = 102;  // only measure the outline

// One scroll bar: range Min..Max in whole millimetres (Max may be 0 or
// negative), the position, the steps, and whether it can be used.
struct ScrollBarState {
  std::int16_t Min = 0;
  std::int16_t Max = 0;
  std::int16_t Value = 0;
  std::int16_t SmallChange = 1;
  std::int16_t LargeChange = 1;
  bool Enabled = true;
};

struct CanvasState {
  std::int16_t CurrentTool = ToolNone;
  std::int16_t CurrentUserType = 0;
  std::int16_t HandleSize = 6;  // side of a selection handle, view pixels
  std::int16_t DragMode = 0;    // 0 until the first mouse press

  float Zoom = 1.0f;            // view pixels per millimetre
  double ScrollX = 0.0;         // document coordinate at the left edge of the surface
  double ScrollY = 0.0;         // ... and at its top edge
  double ContentWidthPx = 0.0;  // the work area in view pixels
  double ContentHeightPx = 0.0;

  double WorkAreaOrgX = 0.0;  // always 0
  double WorkAreaOrgY = 0.0;
  double WorkAreaWidth = 317.0;
  double WorkAreaHeight = 230.0;
  double PageWidth = 297.0;  // the label page, centred in the work area
  double PageHeight = 210.0;

  // The page's edges in view pixels, written by the page painting.
  std::int32_t PageCornerX = 0;
  std::int32_t PageCornerY = 0;
  std::int32_t PageEndX = 0;
  std::int32_t PageEndY = 0;

  float GridSpaceX = 5.0f;  // millimetres (view pixels in UnitPixels)
  float GridSpaceY = 5.0f;
  bool ShowGrid = true;
  bool ShowRule = true;
  bool ShowPage = true;  // False: the host draws the page on DrawPage
  bool ZoomPage = true;  // re-fit the zoom on every resize
  bool Snap = true;
  bool Edit = true;
  bool Repeat = true;
  std::int16_t Unit = UnitMillimetres;

  float FontRatio = 0.0f;           // view pixels per typographic point
  bool ScrollEventsEnabled = true;  // False while the scroll bars are being set

  // Bounds of the last measured outline (view pixels).
  float ExtentLeft = 0, ExtentTop = 0, ExtentRight = 0, ExtentBottom = 0;
  // Page edges for which the rulers were last drawn.
  std::int32_t RulerCacheLeft = 0, RulerCacheTop = 0;
  std::int32_t RulerCacheRight = 0, RulerCacheBottom = 0;

  // Size of the drawing surface in view pixels.
  int SurfaceWidth = 0;
  int SurfaceHeight = 0;

  ScrollBarState HScroll;
  ScrollBarState VScroll;

  // Mouse state: the drag under way, its anchor and the latest points.
  bool DragActive = false;
  float AnchorX = 0, AnchorY = 0;      // document point of the press, snapped
  float CurrentX = 0, CurrentY = 0;    // document point of the latest move
  float PrevX = 0, PrevY = 0;          // point of the feedback last drawn
  float RawStartX = 0, RawStartY = 0;  // view point of the press, unsnapped
  bool FeedbackShown = false;
  std::int32_t GrabbedObject = 0;  // table index hit or selected by a press
};

}  // namespace pv
