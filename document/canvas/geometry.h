#pragma once
// Geometry of the canvas: directions and angles, rotation of points,
// distances, hit tests of rotated boxes and of lines, containment in a
// selection rectangle, the transforms between view pixels and document
// millimetres, snapping to the grid. The functions keep no state; those that
// need the zoom, scroll position, handle size, grid or unit read a
// CanvasState.
//
// Document coordinates: Single millimetres from the top-left corner of the
// work area, x to the right, y downwards. View coordinates: pixels of the
// drawing surface. Angles: degrees counter-clockwise on the screen (0 right,
// 90 up). "Rounded" means to the nearest whole number with halves to even.
#include "document/canvas/canvasstate.h"

#include <cstdint>

namespace pv {

// Degrees and radians convert with this value of pi.
inline constexpr double CanvasPi = 3.141592654;

// Direction of (x1, y1) seen from (x0, y0), 0 <= a < 360.
double VectorAngle(float x0, float y0, float x1, float y1);
// Counter-clockwise sweep about (cx, cy) from point 1 to point 2, 0 <= a < 360.
float AngleBetween(float cx, float cy, float x1, float y1, float x2, float y2);
// 0 for a <= 0; 1 for 0 < a <= 22.5 and a > 337.5; 2..8 for the further
// 45-degree sectors, each upper bound in its own sector.
std::int16_t AngleOctant(float a);
double PointDistance(float x1, float y1, float x2, float y2);

// Turns (x, y) about (cx, cy) by angle degrees (counter-clockwise on screen).
void RotatePoint(float cx, float cy, float& x, float& y, double angle);
// The same on whole pixels: the turned offsets are rounded before the centre
// is added.
void RotatePointLong(std::int32_t cx, std::int32_t cy, std::int32_t& x, std::int32_t& y, double angle);

// An angle brought into 0..359 (any Long, negative ones included).
std::int32_t NormalizeAngle(std::int64_t angle);

// Half a handle in millimetres at the current zoom.
float HitTolerance(const CanvasState& st);
// The point lies strictly within the tolerance of the segment (never for a
// segment of length 0, never beyond an end).
bool PointSegmentDistance(const CanvasState& st, float x1, float y1, float x2, float y2, float px, float py);
// The point hits the body of a line object (ends turned by Angle about their
// midpoint).
bool PointNearLine(const CanvasState& st, float px, float py, float x1, float y1, float x2, float y2,
                   std::int32_t Angle);
// The point lies in the box turned by Angle about its centre (edges included).
bool PointInBox(float px, float py, float cx, float cy, float w, float h, std::int32_t Angle);
// Handle code 100..107 under the point, or -1. On a match cursor receives the
// handle's direction on the screen (the code turned by the box's angle); with
// no match cursor is left as passed. Where several handles match the highest
// code wins.
std::int16_t HitTestBox(const CanvasState& st, float px, float py, float cx, float cy, float w, float h,
                        std::int32_t Angle, std::int16_t& cursor);
// 110 (first end), 111 (second end, also when both match) or -1.
std::int16_t HitTestLine(const CanvasState& st, float px, float py, float x1, float y1, float x2, float y2,
                         std::int32_t Angle);
// The whole turned box lies in the ordered rectangle (edges included).
bool BoxInArea(float ax1, float ay1, float ax2, float ay2, float cx, float cy, float w, float h, std::int32_t Angle);
// Both turned ends of a line lie in the ordered rectangle (edges included).
bool LineInArea(float ax1, float ay1, float ax2, float ay2, float x1, float y1, float x2, float y2, std::int32_t Angle);

template <typename T>
constexpr T MinValue(T a, T b) {
  return a < b ? a : b;
}
template <typename T>
constexpr T MaxValue(T a, T b) {
  return a < b ? b : a;
}

// View point -> document point.
void ViewToDoc(const CanvasState& st, float vx, float vy, float& dx, float& dy);
// Document point -> view point, rounded to whole pixels.
void DocToView(const CanvasState& st, float dx, float dy, std::int32_t& vx, std::int32_t& vy);
// A length along x (y) in view pixels, not rounded.
float DocToViewX(const CanvasState& st, float len);
float DocToViewY(const CanvasState& st, float len);
// A document rectangle in view pixels, each edge rounded.
void DocToViewRect(const CanvasState& st, float x1, float y1, float x2, float y2, std::int32_t& left, std::int32_t& top,
                   std::int32_t& right, std::int32_t& bottom);
// A view point in, its document point out, snapped to the grid: in pixel
// units to the pixel grid from the page corner (whether Snap is on or not),
// otherwise, with Snap on, to multiples of the pitch from the document
// origin. A pitch of 0 or less snaps nothing along its axis.
void SnapPoint(const CanvasState& st, float& x, float& y);
// Orders the corners (x1 <= x2, y1 <= y2).
void NormalizeRect(std::int32_t& x1, std::int32_t& y1, std::int32_t& x2, std::int32_t& y2);
// a := a + d brought into 0..360 (360 stays 360), without overflow.
void AddAngle(std::int32_t& a, std::int32_t d);
// The value rounded to a whole number (into the Integer range).
float RoundToSteps(float value, std::int16_t steps = 0);

}  // namespace pv
