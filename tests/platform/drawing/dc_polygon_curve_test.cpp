// Device context: the pixels of filled polygons and of polygon regions, and
// curves with degenerate input.

#include "dc_support.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace pv;
using namespace dctest;

namespace {

class DcPolygon : public ::testing::Test {
 protected:
  void SetUp() override { EnsureApp(); }
};

constexpr Point kRectCorners[4] = {{100, 50}, {300, 50}, {300, 150}, {100, 150}};

// A filled polygon covers the pixels whose centres are inside: for the
// corners (100, 50) - (300, 150) the pixels 100..299 x 50..149, whichever
// call fills it and whether it is smoothed or not.
TEST_F(DcPolygon, FilledRectangleCoversLeftToRightMinusOne) {
  const Point reversed[4] = {kRectCorners[3], kRectCorners[2], kRectCorners[1], kRectCorners[0]};
  const Point twoRects[8] = {{100, 50}, {200, 50}, {200, 150}, {100, 150},
                             {200, 50}, {300, 50}, {300, 150}, {200, 150}};
  const std::int32_t counts[2] = {4, 4};
  struct Case {
    const char* name;
    bool smoothing;
    std::function<void(DeviceContext*)> draw;
  } cases[] = {
      {"polygon", false, [](DeviceContext* dc) { Polygon(dc, kRectCorners, 4); }},
      {"polygon smoothed", true, [](DeviceContext* dc) { Polygon(dc, kRectCorners, 4); }},
      {"polygon reversed", false, [&](DeviceContext* dc) { Polygon(dc, reversed, 4); }},
      {"polypolygon halves", false, [&](DeviceContext* dc) { PolyPolygon(dc, twoRects, counts, 2); }},
      {"polypolygon smoothed", true, [&](DeviceContext* dc) { PolyPolygon(dc, twoRects, counts, 2); }},
      {"polygon in a path", false,
       [](DeviceContext* dc) {
         BeginPath(dc);
         Polygon(dc, kRectCorners, 4);
         EndPath(dc);
         FillPath(dc);
       }},
      {"hatched brush", false,
       [](DeviceContext* dc) {
         SetBkColour(dc, kRed);
         SelectBrush(dc, Brush::Hatch(HatchStyle::Cross, kRed));
         Polygon(dc, kRectCorners, 4);
       }},
  };
  for (const Case& c : cases) {
    ImageSurface s(400, 200);
    SelectPen(s.dc(), NullPen());
    SelectBrush(s.dc(), Brush::SolidColour(kRed));
    SetSmoothing(s.dc(), c.smoothing);
    c.draw(s.dc());
    const QImage img = s.finish();
    EXPECT_EQ(BoxOf(img, kRed), QRect(QPoint(100, 50), QPoint(299, 149))) << c.name;
    EXPECT_EQ(Count(img, kRed), 200 * 100) << c.name;
  }
}

TEST_F(DcPolygon, OutlineRunsThroughTheVertexPixels) {
  ImageSurface s(400, 200);
  SelectPen(s.dc(), SolidPen(kBlack));
  SelectBrush(s.dc(), Brush::SolidColour(kRed));
  SetSmoothing(s.dc(), false);
  Polygon(s.dc(), kRectCorners, 4);
  const QImage img = s.finish();
  for (const Point& p : kRectCorners) EXPECT_EQ(At(img, p.x, p.y), kBlack) << p.x << "," << p.y;
  EXPECT_EQ(At(img, 200, 50), kBlack);
  EXPECT_EQ(At(img, 101, 51), kRed);
  EXPECT_EQ(At(img, 299, 149), kRed);
  EXPECT_EQ(ChangedOutside(img, kWhite, 100, 50, 301, 151), 0);
}

// A polygon region selected as the clip lets through exactly the pixels that
// filling the same polygon paints (smoothing off): text clipped to a turned
// rectangle sits exactly on its background.
TEST_F(DcPolygon, PolygonRegionIsThePixelsOfTheFilledPolygon) {
  struct Case {
    std::string name;
    std::vector<Point> points;
    std::vector<std::int32_t> counts;  // empty: one polygon
    FillMode mode;
  };
  const std::vector<Point> star = {{150, 10}, {240, 190}, {10, 70}, {290, 70}, {60, 190}};
  const std::vector<Case> cases = {
      {"rectangle", {kRectCorners, kRectCorners + 4}, {}, FillMode::Alternate},
      {"turned rectangle", {{120, 20}, {280, 60}, {250, 180}, {90, 140}}, {}, FillMode::Winding},
      {"thin triangle", {{3, 3}, {297, 11}, {5, 20}}, {}, FillMode::Alternate},
      {"slope one", {{20, 20}, {120, 120}, {20, 120}}, {}, FillMode::Alternate},
      {"star winding", star, {}, FillMode::Winding},
      {"star alternate", star, {}, FillMode::Alternate},
      {"frame with a hole",
       {{20, 20}, {280, 20}, {280, 180}, {20, 180}, {60, 60}, {240, 60}, {240, 140}, {60, 140}},
       {4, 4},
       FillMode::Alternate},
  };
  for (const Case& c : cases) {
    const int n = static_cast<int>(c.points.size());
    ImageSurface filled(300, 200);
    SelectPen(filled.dc(), NullPen());
    SelectBrush(filled.dc(), Brush::SolidColour(kBlue));
    SetSmoothing(filled.dc(), false);
    SetPolyFillMode(filled.dc(), c.mode);
    Region rgn;
    if (c.counts.empty()) {
      Polygon(filled.dc(), c.points.data(), n);
      rgn = Region::FromPolygon(c.points.data(), n, c.mode);
    } else {
      PolyPolygon(filled.dc(), c.points.data(), c.counts.data(), static_cast<int>(c.counts.size()));
      rgn = Region::FromPolyPolygon(c.points.data(), c.counts.data(), static_cast<int>(c.counts.size()), c.mode);
    }
    const QImage a = filled.finish();

    ImageSurface clipped(300, 200);
    SelectClipRegion(clipped.dc(), &rgn);
    FillRect(clipped.dc(), Rect{0, 0, 300, 200}, kBlue);
    const QImage b = clipped.finish();

    ImageSurface painted(300, 200);
    FillRegion(painted.dc(), rgn, Brush::SolidColour(kBlue));
    const QImage p = painted.finish();

    EXPECT_GT(Count(a, kBlue), 100) << c.name;
    EXPECT_EQ(Differing(a, b), 0) << c.name;
    EXPECT_EQ(Differing(a, p), 0) << c.name;
  }
  const Region r = Region::FromPolygon(kRectCorners, 4, FillMode::Alternate);
  const Rect box = r.boundingRect();
  EXPECT_EQ(box.left, 100);
  EXPECT_EQ(box.top, 50);
  EXPECT_EQ(box.right, 300);
  EXPECT_EQ(box.bottom, 150);
  EXPECT_TRUE(r.contains(299, 149));
  EXPECT_FALSE(r.contains(300, 100));
  EXPECT_FALSE(r.contains(200, 150));
}

TEST_F(DcPolygon, WildPolygonRegionsStayBounded) {
  const Point huge[3] = {{-9000000, -9000000}, {9000000, -9000000}, {0, 9000000}};
  const Region r = Region::FromPolygon(huge, 3, FillMode::Winding);
  EXPECT_TRUE(r.contains(0, 0));
  const Point flat[4] = {{0, 5}, {100, 5}, {50, 5}, {10, 5}};
  EXPECT_TRUE(Region::FromPolygon(flat, 4, FillMode::Alternate).isEmpty());
  const Point beyond[3] = {{0, 0}, {2000000000, 0}, {0, 10}};
  EXPECT_TRUE(Region::FromPolygon(beyond, 3, FillMode::Alternate).isEmpty());
}

class DcCurve : public ::testing::Test {
 protected:
  void SetUp() override { EnsureApp(); }
};

// A zero radius: the line from the current position to the centre (end
// pixel left out, as every line), and the position ends there.
TEST_F(DcCurve, AngleArcWithZeroRadiusDrawsTheLineToTheCentre) {
  for (bool inPath : {false, true}) {
    ImageSurface s(60, 40);
    DeviceContext* dc = s.dc();
    SelectPen(dc, SolidPen(kBlack));
    SetSmoothing(dc, false);
    if (inPath) BeginPath(dc);
    MoveTo(dc, 5, 20);
    AngleArc(dc, 45, 20, 0, 30.0f, 90.0f);
    EXPECT_EQ(GetCurrentPosition(dc).x, 45) << inPath;
    EXPECT_EQ(GetCurrentPosition(dc).y, 20) << inPath;
    if (inPath) {
      EndPath(dc);
      StrokePath(dc);
    }
    const QImage img = s.finish();
    EXPECT_EQ(At(img, 6, 20), kBlack) << inPath;
    EXPECT_EQ(At(img, 25, 20), kBlack) << inPath;
    EXPECT_EQ(At(img, 44, 20), kBlack) << inPath;
    if (!inPath) {
      EXPECT_EQ(At(img, 5, 20), kBlack);
      EXPECT_EQ(At(img, 45, 20), kWhite);
    }
    EXPECT_EQ(ChangedOutside(img, kWhite, 4, 19, 47, 22), 0) << inPath;
  }
  // A real radius still ends on the arc.
  ImageSurface s(60, 60);
  MoveTo(s.dc(), 0, 0);
  AngleArc(s.dc(), 30, 30, 10, 0.0f, 90.0f);
  EXPECT_EQ(GetCurrentPosition(s.dc()).x, 30);
  EXPECT_EQ(GetCurrentPosition(s.dc()).y, 20);
}

// Zero-size and flat boxes, equal start and end points, Bézier counts that
// are 0 or leave points over: never a crash, drawn and in a path.
TEST_F(DcCurve, DegenerateCurvesDrawSensiblyAndReturn) {
  const Point bez[5] = {{5, 5}, {20, 30}, {40, 30}, {55, 5}, {10, 10}};
  struct Case {
    const char* name;
    std::function<void(DeviceContext*)> draw;
    bool inks;  // draws something
  } cases[] = {
      {"arc zero box",
       [](DeviceContext* dc) {
         Arc(dc, Rect{30, 20, 30, 20}, Point{30, 20}, Point{30, 20});
       },
       false},
      {"arc flat box",
       [](DeviceContext* dc) {
         Arc(dc, Rect{10, 20, 50, 20}, Point{0, 0}, Point{60, 0});
       },
       false},
      {"chord zero box",
       [](DeviceContext* dc) {
         Chord(dc, Rect{30, 20, 30, 20}, Point{}, Point{});
       },
       false},
      {"pie zero box",
       [](DeviceContext* dc) {
         Pie(dc, Rect{30, 20, 30, 20}, Point{}, Point{});
       },
       false},
      {"pie flat box",
       [](DeviceContext* dc) {
         Pie(dc, Rect{10, 5, 10, 35}, Point{0, 0}, Point{0, 40});
       },
       false},
      {"arc start is end",
       [](DeviceContext* dc) {
         Arc(dc, Rect{10, 5, 50, 35}, Point{50, 20}, Point{50, 20});
       },
       true},
      {"arc start is centre",
       [](DeviceContext* dc) {
         Arc(dc, Rect{10, 5, 50, 35}, Point{30, 20}, Point{30, 20});
       },
       true},
      {"chord start is end",
       [](DeviceContext* dc) {
         Chord(dc, Rect{10, 5, 50, 35}, Point{0, 0}, Point{0, 0});
       },
       true},
      {"pie start is end",
       [](DeviceContext* dc) {
         Pie(dc, Rect{10, 5, 50, 35}, Point{0, 0}, Point{0, 0});
       },
       true},
      {"arcto zero box",
       [](DeviceContext* dc) {
         ArcTo(dc, Rect{30, 20, 30, 20}, Point{}, Point{});
       },
       true},
      {"arcto flat box",
       [](DeviceContext* dc) {
         ArcTo(dc, Rect{10, 20, 50, 20}, Point{0, 0}, Point{60, 0});
       },
       true},
      {"bezier none", [&](DeviceContext* dc) { PolyBezier(dc, bez, 0); }, false},
      {"bezier one point", [&](DeviceContext* dc) { PolyBezier(dc, bez, 1); }, false},
      {"bezier two points", [&](DeviceContext* dc) { PolyBezier(dc, bez, 2); }, false},
      {"bezier one over", [&](DeviceContext* dc) { PolyBezier(dc, bez, 5); }, true},
      {"bezierto none", [&](DeviceContext* dc) { PolyBezierTo(dc, bez, 0); }, false},
      {"bezierto two points", [&](DeviceContext* dc) { PolyBezierTo(dc, bez, 2); }, false},
      {"bezierto one over", [&](DeviceContext* dc) { PolyBezierTo(dc, bez, 4); }, true},
      {"anglearc no sweep", [](DeviceContext* dc) { AngleArc(dc, 30, 20, 10, 0.0f, 0.0f); }, true},
  };
  for (const Case& c : cases) {
    for (bool inPath : {false, true}) {
      ImageSurface s(60, 40);
      DeviceContext* dc = s.dc();
      SelectPen(dc, SolidPen(kBlack));
      SelectBrush(dc, Brush::SolidColour(kRed));
      SetSmoothing(dc, false);
      MoveTo(dc, 2, 38);
      if (inPath) BeginPath(dc);
      c.draw(dc);
      if (inPath) {
        EndPath(dc);
        StrokeAndFillPath(dc);
      }
      const QImage img = s.finish();
      const int ink = 60 * 40 - Count(img, kWhite);
      if (c.inks)
        EXPECT_GT(ink, 0) << c.name << (inPath ? " in a path" : "");
      else
        EXPECT_EQ(ink, 0) << c.name << (inPath ? " in a path" : "");
    }
  }
}

// ArcTo on a box without size: a line to the centre, the position there.
TEST_F(DcCurve, ArcToOnAPointBoxEndsAtTheCentre) {
  ImageSurface s(60, 40);
  SelectPen(s.dc(), SolidPen(kBlack));
  SetSmoothing(s.dc(), false);
  MoveTo(s.dc(), 5, 10);
  ArcTo(s.dc(), Rect{40, 10, 40, 10}, Point{0, 0}, Point{60, 40});
  EXPECT_EQ(GetCurrentPosition(s.dc()).x, 40);
  EXPECT_EQ(GetCurrentPosition(s.dc()).y, 10);
  const QImage img = s.finish();
  EXPECT_EQ(At(img, 20, 10), kBlack);
  EXPECT_EQ(ChangedOutside(img, kWhite, 4, 9, 42, 12), 0);
}

}  // namespace
