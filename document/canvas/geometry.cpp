#include "document/canvas/geometry.h"

#include "platform/runtime.h"

#include <cmath>
#include <utility>

namespace pv {

namespace {

double ToRadians(double degrees) { return degrees * CanvasPi / 180.0; }
double ToDegrees(double radians) { return radians * 180.0 / CanvasPi; }

// A rotation angle reduced to one turn; the same direction, and sine and
// cosine stay precise for any stored angle.
double OneTurn(double angle) { return std::fmod(angle, 360.0); }

}  // namespace

double VectorAngle(float x0, float y0, float x1, float y1) {
  const float dx = x1 - x0;
  const float dy = y1 - y0;
  if (dx == 0.0f && dy == 0.0f) return 0.0;
  if (dx == 0.0f) return dy < 0.0f ? 90.0 : 270.0;
  if (dy == 0.0f) return dx > 0.0f ? 0.0 : 180.0;
  if (dx > 0.0f && dy < 0.0f) return ToDegrees(std::atan(std::fabs(double(dy / dx))));
  if (dx < 0.0f && dy < 0.0f) return 90.0 + ToDegrees(std::atan(std::fabs(double(dx / dy))));
  if (dx < 0.0f && dy > 0.0f) return 180.0 + ToDegrees(std::atan(std::fabs(double(dy / dx))));
  return 270.0 + ToDegrees(std::atan(std::fabs(double(dx / dy))));
}

float AngleBetween(float cx, float cy, float x1, float y1, float x2, float y2) {
  double a1 = VectorAngle(cx, cy, x1, y1);
  const double a2 = VectorAngle(cx, cy, x2, y2);
  if (a1 > a2) a1 -= 360.0;
  return float(a2 - a1);
}

std::int16_t AngleOctant(float a) {
  std::int16_t o = 0;
  if (a > 0.0f) o = 1;
  if (a > 22.5f && a <= 67.5f) o = 2;
  if (a > 67.5f && a <= 112.5f) o = 3;
  if (a > 112.5f && a <= 157.5f) o = 4;
  if (a > 157.5f && a <= 202.5f) o = 5;
  if (a > 202.5f && a <= 247.5f) o = 6;
  if (a > 247.5f && a <= 292.5f) o = 7;
  if (a > 292.5f && a <= 337.5f) o = 8;
  return o;
}

double PointDistance(float x1, float y1, float x2, float y2) {
  const double dx = double(x1) - double(x2);
  const double dy = double(y1) - double(y2);
  return std::sqrt(dx * dx + dy * dy);
}

void RotatePoint(float cx, float cy, float& x, float& y, double angle) {
  const double r = -ToRadians(OneTurn(angle));
  const double dx = double(x - cx);
  const double dy = double(y - cy);
  const double c = std::cos(r);
  const double s = std::sin(r);
  x = float(double(cx) + (dx * c - dy * s));
  y = float(double(cy) + (dx * s + dy * c));
}

void RotatePointLong(std::int32_t cx, std::int32_t cy, std::int32_t& x, std::int32_t& y, double angle) {
  const double r = -ToRadians(OneTurn(angle));
  const double dx = double(std::int64_t(x) - cx);
  const double dy = double(std::int64_t(y) - cy);
  const double c = std::cos(r);
  const double s = std::sin(r);
  const std::int32_t ox = CLng(dx * c - dy * s);
  const std::int32_t oy = CLng(dx * s + dy * c);
  x = CLng(double(cx) + double(ox));
  y = CLng(double(cy) + double(oy));
}

std::int32_t NormalizeAngle(std::int64_t angle) {
  std::int64_t a = angle % 360;
  if (a < 0) a += 360;
  return std::int32_t(a);
}

float HitTolerance(const CanvasState& st) { return float(st.HandleSize) / (2.0f * st.Zoom); }

bool PointSegmentDistance(const CanvasState& st, float x1, float y1, float x2, float y2, float px, float py) {
  const float t = HitTolerance(st);
  if (x1 == x2) {
    if (std::fabs(px - x1) < t && MinValue(y1, y2) < py && py < MaxValue(y1, y2)) return true;
  }
  if (y1 == y2) {
    if (std::fabs(py - y1) < t && MinValue(x1, x2) < px && px < MaxValue(x1, x2)) return true;
  }
  const double len = PointDistance(x1, y1, x2, y2);
  const double d1 = PointDistance(x1, y1, px, py);
  const double d2 = PointDistance(x2, y2, px, py);
  if (d1 < len && d2 < len) {
    const double cross =
        double(x1) * y2 - double(x2) * y1 + double(py) * (double(x2) - x1) + double(px) * (double(y1) - y2);
    return std::fabs(cross) / len < double(t);
  }
  return false;
}

bool PointNearLine(const CanvasState& st, float px, float py, float x1, float y1, float x2, float y2,
                   std::int32_t Angle) {
  const float mx = (x1 + x2) / 2.0f;
  const float my = (y1 + y2) / 2.0f;
  RotatePoint(mx, my, x1, y1, Angle);
  RotatePoint(mx, my, x2, y2, Angle);
  return PointSegmentDistance(st, x1, y1, x2, y2, px, py);
}

bool PointInBox(float px, float py, float cx, float cy, float w, float h, std::int32_t Angle) {
  RotatePoint(cx, cy, px, py, -double(Angle));
  return cx - w / 2.0f <= px && px <= cx + w / 2.0f && cy - h / 2.0f <= py && py <= cy + h / 2.0f;
}

std::int16_t HitTestBox(const CanvasState& st, float px, float py, float cx, float cy, float w, float h,
                        std::int32_t Angle, std::int16_t& cursor) {
  const float t = HitTolerance(st);
  RotatePoint(cx, cy, px, py, -double(Angle));
  const float hw = w / 2.0f;
  const float hh = h / 2.0f;
  const float hx[8] = {cx + hw, cx + hw, cx, cx - hw, cx - hw, cx - hw, cx, cx + hw};
  const float hy[8] = {cy, cy - hh, cy - hh, cy - hh, cy, cy + hh, cy + hh, cy + hh};
  std::int16_t code = HandleNone;
  for (int i = 0; i < 8; ++i) {
    if (hx[i] - t <= px && px <= hx[i] + t && hy[i] - t <= py && py <= hy[i] + t) code = std::int16_t(HandleRight + i);
  }
  if (code == HandleNone) return HandleNone;
  // The handle's direction on the screen: its code advanced by the sector of
  // the box's angle (0 for -22.5 < a <= 22.5, one more per 45 degrees).
  const std::int32_t a = NormalizeAngle(Angle);
  int k = 0;
  if (a > 22.5 && a <= 67.5)
    k = 1;
  else if (a > 67.5 && a <= 112.5)
    k = 2;
  else if (a > 112.5 && a <= 157.5)
    k = 3;
  else if (a > 157.5 && a <= 202.5)
    k = 4;
  else if (a > 202.5 && a <= 247.5)
    k = 5;
  else if (a > 247.5 && a <= 292.5)
    k = 6;
  else if (a > 292.5 && a <= 337.5)
    k = 7;
  int c = code + k;
  if (c > HandleBottomRight) c -= 8;
  cursor = std::int16_t(c);
  return code;
}

std::int16_t HitTestLine(const CanvasState& st, float px, float py, float x1, float y1, float x2, float y2,
                         std::int32_t Angle) {
  const float t = HitTolerance(st);
  const float mx = (x1 + x2) / 2.0f;
  const float my = (y1 + y2) / 2.0f;
  RotatePoint(mx, my, x1, y1, Angle);
  RotatePoint(mx, my, x2, y2, Angle);
  std::int16_t code = HandleNone;
  if (std::fabs(px - x1) <= t && std::fabs(py - y1) <= t) code = HandleLineEnd1;
  if (std::fabs(px - x2) <= t && std::fabs(py - y2) <= t) code = HandleLineEnd2;
  return code;
}

bool BoxInArea(float ax1, float ay1, float ax2, float ay2, float cx, float cy, float w, float h, std::int32_t Angle) {
  const float hw = w / 2.0f;
  const float hh = h / 2.0f;
  const float xs[4] = {cx - hw, cx + hw, cx - hw, cx + hw};
  const float ys[4] = {cy - hh, cy - hh, cy + hh, cy + hh};
  for (int i = 0; i < 4; ++i) {
    float x = xs[i];
    float y = ys[i];
    RotatePoint(cx, cy, x, y, Angle);
    if (!(ax1 <= x && x <= ax2 && ay1 <= y && y <= ay2)) return false;
  }
  return true;
}

bool LineInArea(float ax1, float ay1, float ax2, float ay2, float x1, float y1, float x2, float y2,
                std::int32_t Angle) {
  const float mx = (x1 + x2) / 2.0f;
  const float my = (y1 + y2) / 2.0f;
  RotatePoint(mx, my, x1, y1, Angle);
  RotatePoint(mx, my, x2, y2, Angle);
  return ax1 <= x1 && x1 <= ax2 && ay1 <= y1 && y1 <= ay2 && ax1 <= x2 && x2 <= ax2 && ay1 <= y2 && y2 <= ay2;
}

void ViewToDoc(const CanvasState& st, float vx, float vy, float& dx, float& dy) {
  dx = float((double(vx) + double(st.Zoom) * st.ScrollX) / double(st.Zoom));
  dy = float((double(vy) + double(st.Zoom) * st.ScrollY) / double(st.Zoom));
}

void DocToView(const CanvasState& st, float dx, float dy, std::int32_t& vx, std::int32_t& vy) {
  vx = CLng((double(dx) - st.ScrollX) * double(st.Zoom));
  vy = CLng((double(dy) - st.ScrollY) * double(st.Zoom));
}

float DocToViewX(const CanvasState& st, float len) {
  const float a = float((double(len) - st.ScrollX) * double(st.Zoom));
  const float b = float((0.0 - st.ScrollX) * double(st.Zoom));
  return a - b;
}

float DocToViewY(const CanvasState& st, float len) {
  const float a = float((double(len) - st.ScrollY) * double(st.Zoom));
  const float b = float((0.0 - st.ScrollY) * double(st.Zoom));
  return a - b;
}

void DocToViewRect(const CanvasState& st, float x1, float y1, float x2, float y2, std::int32_t& left, std::int32_t& top,
                   std::int32_t& right, std::int32_t& bottom) {
  left = CLng(RoundHalfEven((double(x1) - st.ScrollX) * double(st.Zoom)));
  top = CLng(RoundHalfEven((double(y1) - st.ScrollY) * double(st.Zoom)));
  right = CLng(RoundHalfEven((double(x2) - st.ScrollX) * double(st.Zoom)));
  bottom = CLng(RoundHalfEven((double(y2) - st.ScrollY) * double(st.Zoom)));
}

void SnapPoint(const CanvasState& st, float& x, float& y) {
  if (st.Unit == UnitPixels) {
    if (st.GridSpaceX > 0.0f) {
      const float cx = float(st.PageCornerX);
      x = float(CInt((x - cx) / st.GridSpaceX)) * st.GridSpaceX + cx;
    }
    if (st.GridSpaceY > 0.0f) {
      const float cy = float(st.PageCornerY);
      y = float(CInt((y - cy) / st.GridSpaceY)) * st.GridSpaceY + cy;
    }
    ViewToDoc(st, x, y, x, y);
    return;
  }
  ViewToDoc(st, x, y, x, y);
  if (!st.Snap) return;
  if (st.GridSpaceX > 0.0f) x = float(CInt(x / st.GridSpaceX)) * st.GridSpaceX;
  if (st.GridSpaceY > 0.0f) y = float(CInt(y / st.GridSpaceY)) * st.GridSpaceY;
}

void NormalizeRect(std::int32_t& x1, std::int32_t& y1, std::int32_t& x2, std::int32_t& y2) {
  if (x1 > x2) std::swap(x1, x2);
  if (y1 > y2) std::swap(y1, y2);
}

void AddAngle(std::int32_t& a, std::int32_t d) {
  // The sum taken on 64 bits; the subtraction and addition loops reduced to
  // one step each: above 360 into 1..360, below 0 into 0..359.
  std::int64_t s = std::int64_t(a) + d;
  if (s > 360)
    s = (s - 1) % 360 + 1;
  else if (s < 0)
    s = NormalizeAngle(s);
  a = std::int32_t(s);
}

float RoundToSteps(float value, std::int16_t /*steps*/) { return float(CInt(value)); }

}  // namespace pv
