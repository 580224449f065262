// Geometry of the canvas: directions, rotation, hit tests, containment,
// transforms, snapping and angle arithmetic.
#include "document/canvas/geometry.h"

#include <gtest/gtest.h>

#include <cmath>

#include <cstdint>
#include <limits>

using namespace pv;

namespace {

CanvasState StateAt(float zoom, double scrollX = 0, double scrollY = 0) {
  CanvasState st;
  st.Zoom = zoom;
  st.ScrollX = scrollX;
  st.ScrollY = scrollY;
  return st;
}

}  // namespace

TEST(CanvasGeometry, VectorAngleOfTheCompassPoints) {
  struct Case {
    float x, y;
    double angle;
  } cases[] = {{1, 0, 0},   {0, -1, 90},   {-1, 0, 180}, {0, 1, 270}, {1, -1, 45},
               {1, 1, 315}, {-1, -1, 135}, {-1, 1, 225}, {0, 0, 0}};
  for (const Case& c : cases) EXPECT_NEAR(VectorAngle(0, 0, c.x, c.y), c.angle, 1e-6) << c.x << "," << c.y;
  // Measured from another origin the same.
  EXPECT_NEAR(VectorAngle(5, 5, 6, 4), 45.0, 1e-6);
}

TEST(CanvasGeometry, AngleBetweenSweepsCounterClockwise) {
  const auto dir = [](double deg, float& x, float& y) {
    x = float(std::cos(deg * CanvasPi / 180.0) * 10);
    y = float(-std::sin(deg * CanvasPi / 180.0) * 10);
  };
  struct Case {
    double from, to, sweep;
  } cases[] = {{350, 10, 20}, {10, 350, 340}, {30, 30, 0}, {0, 90, 90}, {90, 0, 270}};
  for (const Case& c : cases) {
    float x1, y1, x2, y2;
    dir(c.from, x1, y1);
    dir(c.to, x2, y2);
    EXPECT_NEAR(AngleBetween(0, 0, x1, y1, x2, y2), c.sweep, 1e-3) << c.from << "->" << c.to;
  }
}

TEST(CanvasGeometry, AngleOctantBoundsBelongToTheirOwnOctant) {
  struct Case {
    float a;
    int octant;
  } cases[] = {{-5, 0},     {0, 0},   {0.1f, 1},   {22.5f, 1}, {22.6f, 2},  {67.5f, 2},  {90, 3},
               {112.6f, 4}, {180, 5}, {247.5f, 6}, {270, 7},   {337.5f, 8}, {337.6f, 1}, {360, 1}};
  for (const Case& c : cases) EXPECT_EQ(AngleOctant(c.a), c.octant) << c.a;
}

TEST(CanvasGeometry, RotatePointTurnsCounterClockwiseOnScreen) {
  float x = 1, y = 0;
  RotatePoint(0, 0, x, y, 90);
  EXPECT_NEAR(x, 0, 1e-6);
  EXPECT_NEAR(y, -1, 1e-6);  // up on the screen
  x = 12, y = 10;
  RotatePoint(10, 10, x, y, 180);
  EXPECT_NEAR(x, 8, 1e-5);
  EXPECT_NEAR(y, 10, 1e-5);
  // Whole pixels: the turned offsets are rounded before the centre is added.
  struct Case {
    std::int32_t x, y;
    double angle;
    std::int32_t rx, ry;
  } cases[] = {{110, 100, 90, 100, 90},
               {110, 100, 45, 107, 93},
               {110, 100, -90, 100, 110},
               {110, 100, 450, 100, 90},
               {110, 100, 0, 110, 100}};
  for (const Case& c : cases) {
    std::int32_t px = c.x, py = c.y;
    RotatePointLong(100, 100, px, py, c.angle);
    EXPECT_EQ(px, c.rx) << c.angle;
    EXPECT_EQ(py, c.ry) << c.angle;
  }
}

TEST(CanvasGeometry, PointNearLineIsStrictAndStaysBetweenTheEnds) {
  const CanvasState st = StateAt(1.0f);  // tolerance 3 mm
  ASSERT_FLOAT_EQ(HitTolerance(st), 3.0f);
  struct Case {
    float px, py, x1, y1, x2, y2;
    std::int32_t angle;
    bool hit;
  } cases[] = {
      {15, 12, 10, 10, 30, 10, 0, true},                                       // beside a horizontal line
      {15, 13, 10, 10, 30, 10, 0, false},                                      // exactly the tolerance away
      {15, 12, 30, 10, 10, 10, 0, true},                                       // the same line drawn right to left
      {31, 10, 10, 10, 30, 10, 0, false},                                      // beyond an end
      {12, 20, 10, 10, 10, 30, 0, true},                                       // vertical line
      {13, 20, 10, 10, 10, 30, 0, false},  {20, 21, 10, 10, 30, 30, 0, true},  // diagonal, ~0.7 mm off
      {20, 25, 10, 10, 30, 30, 0, false},                                      // ~3.5 mm off
      {10, 10, 10, 10, 10, 10, 0, false},                                      // a line of length 0
      {20, 15, 10, 10, 30, 10, 90, true},                                      // turned upright about its middle
      {25, 10, 10, 10, 30, 10, 90, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(PointNearLine(st, c.px, c.py, c.x1, c.y1, c.x2, c.y2, c.angle), c.hit)
        << c.px << "," << c.py << " angle " << c.angle;
}

TEST(CanvasGeometry, PointInBoxIncludesTheEdgesOfTheTurnedBox) {
  struct Case {
    float px, py;
    std::int32_t angle;
    bool in;
  } cases[] = {{50, 50, 0, true},  {60, 55, 0, true},   {60.5f, 50, 0, false}, {50, 44, 0, false},
               {50, 59, 90, true}, {59, 50, 90, false}, {50, 59, -90, true},   {50, 59, 270, true}};
  // A 20 x 10 box centred at (50, 50).
  for (const Case& c : cases)
    EXPECT_EQ(PointInBox(c.px, c.py, 50, 50, 20, 10, c.angle), c.in) << c.px << "," << c.py << " angle " << c.angle;
}

TEST(CanvasGeometry, HitTestBoxFindsHandlesAndTheirScreenDirection) {
  const CanvasState st = StateAt(1.0f);  // tolerance 3 mm
  struct Case {
    float px, py;
    std::int32_t angle;
    int code, cursor;
  } cases[] = {
      {60, 50, 0, 100, 100},                             // right edge middle
      {63, 53, 0, 107, 107},                             // exactly the tolerance from the corner: still a hit
      {63.5f, 50, 0, -1, -7},                            // just outside: cursor left as passed
      {40, 45, 0, 103, 103},                             // top-left
      {50, 40, 90, 100, 102},                            // right handle of a box turned by 90 is on top
      {60, 50, 350, 100, 100},                           // 350 is within the first sector
      {60, 50, 360, 100, 100}, {50, 60, -90, 100, 106},  // -90 is 270: right handle points down
      {50, 60, 270, 100, 106}, {50, 40, 450, 100, 102},  // beyond one turn
  };
  for (const Case& c : cases) {
    std::int16_t cursor = -7;
    EXPECT_EQ(HitTestBox(st, c.px, c.py, 50, 50, 20, 10, c.angle, cursor), c.code)
        << c.px << "," << c.py << " angle " << c.angle;
    EXPECT_EQ(cursor, c.cursor) << c.px << "," << c.py << " angle " << c.angle;
  }
  // A box smaller than a handle: every handle matches, the highest wins.
  std::int16_t cursor = 0;
  EXPECT_EQ(HitTestBox(st, 50, 50, 50, 50, 0.5f, 0.5f, 0, cursor), 107);
  // A stored angle near the Long limit does not overflow the sector rule.
  EXPECT_NE(HitTestBox(st, 50, 50, 50, 50, 0.5f, 0.5f, std::numeric_limits<std::int32_t>::min(), cursor), -1);
  EXPECT_GE(cursor, 100);
  EXPECT_LE(cursor, 107);
}

TEST(CanvasGeometry, HitTestLineEndsIncludeTheEdgeAndTheSecondEndWins) {
  const CanvasState st = StateAt(1.0f);
  EXPECT_EQ(HitTestLine(st, 13, 13, 10, 10, 30, 10, 0), 110);
  EXPECT_EQ(HitTestLine(st, 30, 10, 10, 10, 30, 10, 0), 111);
  EXPECT_EQ(HitTestLine(st, 20, 10, 10, 10, 30, 10, 0), -1);
  EXPECT_EQ(HitTestLine(st, 10, 10, 10, 10, 11, 10, 0), 111);  // both match
  // Turned by 90 about the midpoint (20, 10): the first end is at (20, 20).
  EXPECT_EQ(HitTestLine(st, 20, 20, 10, 10, 30, 10, 90), 110);
  // A line of length 0 still has its end handles.
  EXPECT_EQ(HitTestLine(st, 10, 10, 10, 10, 10, 10, 0), 111);
}

TEST(CanvasGeometry, BoxAndLineInAreaNeedEveryTurnedPointInside) {
  EXPECT_TRUE(BoxInArea(40, 45, 60, 55, 50, 50, 20, 10, 0));  // edges included
  EXPECT_FALSE(BoxInArea(41, 45, 60, 55, 50, 50, 20, 10, 0));
  EXPECT_FALSE(BoxInArea(40, 45, 60, 55, 50, 50, 20, 10, 45));  // turned corners stick out
  EXPECT_TRUE(BoxInArea(30, 30, 70, 70, 50, 50, 20, 10, 45));
  EXPECT_TRUE(LineInArea(10, 10, 30, 10, 10, 10, 30, 10, 0));
  EXPECT_FALSE(LineInArea(10, 10, 30, 10, 10, 10, 30, 10, 90));
  EXPECT_TRUE(LineInArea(15, 0, 25, 20, 10, 10, 30, 10, 90));
}

TEST(CanvasGeometry, DocumentAndViewTransformsAtSeveralZoomsAndScrolls) {
  struct Case {
    float zoom;
    double sx, sy;
    float dx, dy;
    std::int32_t vx, vy;
  } cases[] = {
      {1.0f, 0, 0, 10, 20, 10, 20},    {2.0f, 0, 0, 10, 20, 20, 40},
      {1.6f, 0, 0, 10, 20, 16, 32},    {1.2f, -100, -16.5, 0, 0, 120, 20},  // 19.8 rounds to 20
      {2.2f, 13.5, 59, 20, 60, 14, 2},                                      // 14.3 and 2.2
      {1.0f, 2.5, 0, 3, 0, 0, 0},                                           // 0.5 rounds to even (0)
      {1.0f, 2.5, 0, 4, 0, 2, 0},                                           // 1.5 rounds to even (2)
      {9.6f, 10, 10, 20, 30, 96, 192},
  };
  for (const Case& c : cases) {
    const CanvasState st = StateAt(c.zoom, c.sx, c.sy);
    std::int32_t vx = 0, vy = 0;
    DocToView(st, c.dx, c.dy, vx, vy);
    EXPECT_EQ(vx, c.vx) << "zoom " << c.zoom;
    EXPECT_EQ(vy, c.vy) << "zoom " << c.zoom;
    // And back: the view point of an exact pixel gives the document point.
    float bx = 0, by = 0;
    ViewToDoc(st, float((c.dx - c.sx) * c.zoom), float((c.dy - c.sy) * c.zoom), bx, by);
    EXPECT_NEAR(bx, c.dx, 1e-4) << "zoom " << c.zoom;
    EXPECT_NEAR(by, c.dy, 1e-4) << "zoom " << c.zoom;
  }
  const CanvasState st = StateAt(1.6f, -3.5, 7);
  EXPECT_NEAR(DocToViewX(st, 5), 8.0f, 1e-5);
  EXPECT_NEAR(DocToViewY(st, 25.4f), 40.64f, 1e-4);  // not rounded
  std::int32_t l, t, r, b;
  DocToViewRect(StateAt(1.2f, -100, -16.5), 100, 125, 200, 175, l, t, r, b);
  EXPECT_EQ(l, 240);
  EXPECT_EQ(t, 170);  // 169.8
  EXPECT_EQ(r, 360);
  EXPECT_EQ(b, 230);  // 229.8
}

TEST(CanvasGeometry, SnapPointRoundsToThePitchWithTiesToEven) {
  CanvasState st = StateAt(1.0f);
  struct Case {
    float vx, vy;
    bool snap;
    float x, y;
  } cases[] = {
      {12, 13, true, 10, 15},
      {12.5f, 7.5f, true, 10, 10},   // 2.5 -> 2 and 1.5 -> 2
      {17.5f, 22.5f, true, 20, 20},  // 3.5 -> 4 and 4.5 -> 4
      {12.3f, 13.7f, false, 12.3f, 13.7f},
  };
  for (const Case& c : cases) {
    st.Snap = c.snap;
    float x = c.vx, y = c.vy;
    SnapPoint(st, x, y);
    EXPECT_FLOAT_EQ(x, c.x) << c.vx;
    EXPECT_FLOAT_EQ(y, c.y) << c.vy;
  }
  // Pixel units: the pixel grid from the page corner, Snap on or off.
  st.Unit = UnitPixels;
  st.Snap = false;
  st.PageCornerX = 3;
  st.PageCornerY = 4;
  st.GridSpaceX = st.GridSpaceY = 10;
  float x = 17, y = 20;
  SnapPoint(st, x, y);
  EXPECT_FLOAT_EQ(x, 13);  // (17-3)/10 = 1.4 -> 1
  EXPECT_FLOAT_EQ(y, 24);  // (20-4)/10 = 1.6 -> 2
  // A pitch of 0 or less snaps nothing (and divides by nothing).
  for (std::int16_t unit : {UnitMillimetres, UnitPixels}) {
    st.Unit = unit;
    st.Snap = true;
    st.GridSpaceX = 0;
    st.GridSpaceY = -5;
    x = 12.3f, y = 13.7f;
    SnapPoint(st, x, y);
    EXPECT_FLOAT_EQ(x, 12.3f) << unit;
    EXPECT_FLOAT_EQ(y, 13.7f) << unit;
  }
}

TEST(CanvasGeometry, AddAngleStaysInOneTurnWithoutOverflow) {
  struct Case {
    std::int32_t a, d, result;
  } cases[] = {{350, 20, 10},
               {340, 20, 360},
               {10, -30, 340},
               {0, 0, 0},
               {0, 360, 360},
               {0, 720, 360},
               {0, -360, 0},
               {0, -361, 359},
               {std::numeric_limits<std::int32_t>::max(), 10, 137},
               {std::numeric_limits<std::int32_t>::min(), -10, 222}};
  for (const Case& c : cases) {
    std::int32_t a = c.a;
    AddAngle(a, c.d);
    EXPECT_EQ(a, c.result) << c.a << " + " << c.d;
  }
  EXPECT_EQ(NormalizeAngle(-90), 270);
  EXPECT_EQ(NormalizeAngle(360), 0);
  EXPECT_EQ(NormalizeAngle(-720), 0);
}

TEST(CanvasGeometry, SmallHelpers) {
  std::int32_t x1 = 10, y1 = 5, x2 = 2, y2 = 8;
  NormalizeRect(x1, y1, x2, y2);
  EXPECT_EQ(x1, 2);
  EXPECT_EQ(x2, 10);
  EXPECT_EQ(y1, 5);
  EXPECT_EQ(y2, 8);
  EXPECT_FLOAT_EQ(RoundToSteps(2.5f), 2);
  EXPECT_FLOAT_EQ(RoundToSteps(3.5f), 4);
  EXPECT_FLOAT_EQ(RoundToSteps(1e9f), 32767);  // into the Integer range
  EXPECT_EQ(MinValue(3, 3), 3);
  EXPECT_EQ(MaxValue(2.0f, 5.0f), 5.0f);
  EXPECT_DOUBLE_EQ(PointDistance(0, 0, 3, 4), 5.0);
}
