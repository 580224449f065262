// Device context: paths. Filled and clipped paths cover the pixels of the
// same outline drawn as a polygon; stroked paths run through the pixels
// their points name; one-pixel lines stroked by Qt keep the LineTo end rule.

#include "dc_support.h"

#include <gtest/gtest.h>

#include <QPainterPath>

#include <functional>
#include <string>
#include <vector>

using namespace pv;
using namespace dctest;

namespace {

using Draw = std::function<void(DeviceContext*)>;

constexpr int kW = 320, kH = 200;
constexpr Point kRect[4] = {{100, 50}, {300, 50}, {300, 150}, {100, 150}};
constexpr Point kTriangle[3] = {{20, 20}, {180, 60}, {60, 180}};
constexpr Point kStar[5] = {{150, 10}, {240, 190}, {10, 70}, {290, 70}, {60, 190}};
// A triangle whose bottom side is a Bézier with its control points on the
// side: the same outline as the polygon kBezierTriangle.
constexpr Point kBezierTriangle[3] = {{30, 160}, {180, 160}, {105, 20}};
const Rect kPieBox{20, 20, 180, 180};

// Figures added to a path (between BeginPath and EndPath).
void RectangleByLines(DeviceContext* dc) {
  MoveTo(dc, 100, 50);
  LineTo(dc, 300, 50);
  LineTo(dc, 300, 150);
  LineTo(dc, 100, 150);
  CloseFigure(dc);
}
void RectangleByPolylineTo(DeviceContext* dc) {  // left open: filling closes it
  MoveTo(dc, 100, 50);
  PolylineTo(dc, kRect + 1, 3);
}
void TriangleByPolyline(DeviceContext* dc) {
  Polyline(dc, kTriangle, 3);
  CloseFigure(dc);
}
void StarByPolyDraw(DeviceContext* dc) {
  const std::uint8_t types[5] = {0x06, 0x02, 0x02, 0x02, 0x03};
  PolyDraw(dc, kStar, types, 5);
}
void TriangleWithBezierSide(DeviceContext* dc) {
  const Point side[3] = {{80, 160}, {130, 160}, {180, 160}};
  MoveTo(dc, 30, 160);
  PolyBezierTo(dc, side, 3);
  LineTo(dc, 105, 20);
  CloseFigure(dc);
}
// A quarter of the circle in kPieBox, from 0 to 90 degrees, closed through
// the centre: the pie of the same box and rays.
void PieByArcTo(DeviceContext* dc) {
  MoveTo(dc, 100, 100);
  ArcTo(dc, kPieBox, Point{180, 100}, Point{100, 20});
  CloseFigure(dc);
}
void PieByAngleArc(DeviceContext* dc) {
  MoveTo(dc, 100, 100);
  AngleArc(dc, 100, 100, 80, 0.0f, 90.0f);
  CloseFigure(dc);
}
void QuarterPie(DeviceContext* dc) { Pie(dc, kPieBox, Point{180, 100}, Point{100, 20}); }

struct Shape {
  std::string name;
  Draw path;        // the calls that make the path
  Draw equivalent;  // the same outline drawn directly
  FillMode mode = FillMode::Alternate;
};

std::vector<Shape> Shapes() {
  return {
      {"rectangle by lines", RectangleByLines, [](DeviceContext* dc) { Polygon(dc, kRect, 4); }},
      {"rectangle by polylineto", RectangleByPolylineTo, [](DeviceContext* dc) { Polygon(dc, kRect, 4); }},
      {"triangle", TriangleByPolyline, [](DeviceContext* dc) { Polygon(dc, kTriangle, 3); }},
      {"star by polydraw", StarByPolyDraw, [](DeviceContext* dc) { Polygon(dc, kStar, 5); }, FillMode::Winding},
      {"bezier side", TriangleWithBezierSide, [](DeviceContext* dc) { Polygon(dc, kBezierTriangle, 3); }},
      {"closed arcto", PieByArcTo, QuarterPie},
      {"closed anglearc", PieByAngleArc, QuarterPie},
  };
}

struct Paints {
  bool smoothing = false;
  FillMode mode = FillMode::Alternate;
  Pen pen = NullPen();
  Brush brush = Brush::SolidColour(kRed);
};

QImage Paint(const Paints& setup, const Draw& draw) {
  ImageSurface s(kW, kH);
  DeviceContext* dc = s.dc();
  SetSmoothing(dc, setup.smoothing);
  SetPolyFillMode(dc, setup.mode);
  SelectPen(dc, setup.pen);
  SelectBrush(dc, setup.brush);
  draw(dc);
  return s.finish();
}

Draw InPath(const Draw& calls, void (*use)(DeviceContext*)) {
  return [calls, use](DeviceContext* dc) {
    BeginPath(dc);
    calls(dc);
    EndPath(dc);
    use(dc);
  };
}

// The path as the clip, then the whole surface filled through it.
void FillThroughClip(DeviceContext* dc) {
  SelectClipPath(dc, RegionOp::Copy);
  FillRect(dc, Rect{0, 0, kW, kH}, kRed);
}

class DcPath : public ::testing::Test {
 protected:
  void SetUp() override { EnsureApp(); }
};

// The reported picture: the closed figure of four lines from (100, 50) to
// (300, 150) fills 100..299 x 50..149, as the polygon of its corners does.
TEST_F(DcPath, RectangleOfLinesFillsLeftToRightMinusOne) {
  for (bool smooth : {false, true}) {
    for (void (*use)(DeviceContext*) : {&FillPath, &FillThroughClip}) {
      const QImage img = Paint(Paints{smooth}, InPath(RectangleByLines, use));
      EXPECT_EQ(BoxOf(img, kRed), QRect(QPoint(100, 50), QPoint(299, 149))) << smooth;
      EXPECT_EQ(Count(img, kRed), 200 * 100) << smooth;
    }
  }
}

// Every shape: the filled path paints exactly what the equivalent polygon
// (or pie) paints, smoothed or not, and unsmoothed the path as the clip lets
// through exactly the pixels the filled path paints.
TEST_F(DcPath, FilledPathIsTheEquivalentPolygonAndTheClipIsTheFill) {
  for (const Shape& shape : Shapes()) {
    for (bool smooth : {false, true}) {
      const Paints setup{smooth, shape.mode};
      const QImage filled = Paint(setup, InPath(shape.path, &FillPath));
      EXPECT_GT(Count(filled, kRed), 1000) << shape.name;
      if (smooth || shape.name.rfind("closed", 0) != 0) {
        EXPECT_EQ(Differing(filled, Paint(setup, shape.equivalent)), 0) << shape.name << " smoothed " << smooth;
      }
      if (!smooth) {
        EXPECT_EQ(Differing(filled, Paint(setup, InPath(shape.path, &FillThroughClip))), 0) << shape.name;
        // Unsmoothed pies are drawn by Qt's own filler; as a region the pie
        // is what the path gives.
        Region pixels;
        {
          ImageSurface s(kW, kH);
          BeginPath(s.dc());
          shape.equivalent(s.dc());
          EndPath(s.dc());
          SetPolyFillMode(s.dc(), shape.mode);
          SelectClipPath(s.dc(), RegionOp::Copy);
          ASSERT_TRUE(GetClipRegion(s.dc(), &pixels));
        }
        ImageSurface painted(kW, kH);
        FillRegion(painted.dc(), pixels, Brush::SolidColour(kRed));
        EXPECT_EQ(Differing(filled, painted.finish()), 0) << shape.name;
      }
    }
  }
}

// Stroke and fill: the fill under the stroke is the fill alone; the outline
// on top is the path stroked alone.
TEST_F(DcPath, StrokeAndFillIsTheFillUnderTheStroke) {
  for (const Shape& shape : Shapes()) {
    for (int width : {1, 3}) {
      const Paints setup{false, shape.mode, SolidPen(kBlack, width)};
      const QImage both = Paint(setup, InPath(shape.path, &StrokeAndFillPath));
      const QImage separate = Paint(setup, [&](DeviceContext* dc) {
        InPath(shape.path, &FillPath)(dc);
        InPath(shape.path, &StrokePath)(dc);
      });
      EXPECT_EQ(Differing(both, separate), 0) << shape.name << " width " << width;
    }
  }
}

// A stroked path runs through the pixels its points name, end pixels
// included: the closed rectangle of lines is the same rectangle drawn with
// LineTo, corner pixels and all.
TEST_F(DcPath, StrokedRectangleIsTheOutlineOfItsLines) {
  const Paints setup{false, FillMode::Alternate, SolidPen(kBlack)};
  const QImage stroked = Paint(setup, InPath(RectangleByLines, &StrokePath));
  const QImage lines = Paint(setup, [](DeviceContext* dc) {
    MoveTo(dc, 100, 50);
    for (int i : {1, 2, 3, 0}) LineTo(dc, kRect[i].x, kRect[i].y);
  });
  EXPECT_EQ(Differing(stroked, lines), 0);
  EXPECT_EQ(Count(stroked, kBlack), 600);
  EXPECT_EQ(BoxOf(stroked, kBlack), QRect(QPoint(100, 50), QPoint(300, 150)));
  EXPECT_EQ(At(stroked, 101, 51), kWhite);
}

// Where stroked paths of lines and curves lie (unsmoothed, one and three
// pixels wide): the outlines this layer has drawn all along, pinned by their
// extent and ink. Filling the path fixed its half-pixel offset; the stroke
// stays where it was.
TEST_F(DcPath, StrokedPathsStayWhereTheyWere) {
  const std::uint8_t drawTypes[4] = {0x06, 0x02, 0x02, 0x03};
  const Point drawPoints[4] = {{10, 190}, {190, 190}, {190, 10}, {50, 80}};
  const Point curve[4] = {{10, 10}, {190, 30}, {30, 190}, {150, 150}};
  struct Case {
    const char* name;
    Draw path;
    int width;
    QRect box;
    int ink;
  } cases[] = {
      {"rectangle by lines", RectangleByLines, 1, QRect(QPoint(100, 50), QPoint(300, 150)), 600},
      {"rectangle by lines", RectangleByLines, 3, QRect(QPoint(99, 49), QPoint(301, 151)), 1800},
      {"triangle",
       [](DeviceContext* dc) {
         MoveTo(dc, 20, 20);
         LineTo(dc, 180, 60);
         LineTo(dc, 60, 180);
         CloseFigure(dc);
       },
       1, QRect(QPoint(20, 20), QPoint(180, 180)), 440},
      {"triangle",
       [](DeviceContext* dc) {
         MoveTo(dc, 20, 20);
         LineTo(dc, 180, 60);
         LineTo(dc, 60, 180);
         CloseFigure(dc);
       },
       3, QRect(QPoint(19, 19), QPoint(181, 181)), 1635},
      {"bezier",
       [](DeviceContext* dc) {
         const Point p[3] = {{60, 10}, {140, 10}, {180, 150}};
         MoveTo(dc, 20, 150);
         PolyBezierTo(dc, p, 3);
         CloseFigure(dc);
       },
       1, QRect(QPoint(20, 45), QPoint(180, 150)), 406},
      {"closed arcto",
       [](DeviceContext* dc) {
         MoveTo(dc, 100, 100);
         ArcTo(dc, Rect{20, 20, 180, 180}, Point{180, 100}, Point{100, 20});
         CloseFigure(dc);
       },
       1, QRect(QPoint(100, 20), QPoint(179, 100)), 272},
      {"polydraw", [&](DeviceContext* dc) { PolyDraw(dc, drawPoints, drawTypes, 4); }, 1,
       QRect(QPoint(10, 10), QPoint(190, 190)), 609},
      {"polybezier", [&](DeviceContext* dc) { PolyBezier(dc, curve, 4); }, 3, QRect(QPoint(9, 9), QPoint(151, 157)),
       742},
  };
  for (const Case& c : cases) {
    const QImage img =
        Paint(Paints{false, FillMode::Alternate, SolidPen(kBlack, c.width)}, InPath(c.path, &StrokePath));
    EXPECT_EQ(BoxOf(img, kBlack), c.box) << c.name << " width " << c.width;
    EXPECT_EQ(Count(img, kBlack), c.ink) << c.name << " width " << c.width;
  }
}

// Paths keep their points as given: the ended path of MoveTo / LineTo lies
// on the logical points, through the mapping.
TEST_F(DcPath, CurrentPathHoldsThePointsAsGiven) {
  ImageSurface s(kW, kH);
  DeviceContext* dc = s.dc();
  SetViewportOrg(dc, 10, 20);
  BeginPath(dc);
  RectangleByLines(dc);
  EndPath(dc);
  const QPainterPath p = CurrentPath(dc);
  ASSERT_GE(p.elementCount(), 4);
  EXPECT_EQ(QPointF(p.elementAt(0)), QPointF(110, 70));
  EXPECT_EQ(QPointF(p.elementAt(2)), QPointF(310, 170));
  EXPECT_EQ(p.boundingRect(), QRectF(110, 70, 200, 100));
}

// One-pixel lines that Qt strokes (the line of AngleArc, PolyDraw's lines)
// take their start pixel and leave out their end pixel, as LineTo does,
// smoothed or not.
TEST_F(DcPath, HairlinesThroughTheStrokerKeepTheLineToEnds) {
  for (bool smooth : {false, true}) {
    const Paints setup{smooth, FillMode::Alternate, SolidPen(kBlack)};
    // AngleArc: the line from (5, 20) to the arc's start (50, 20).
    const QImage arc = Paint(setup, [](DeviceContext* dc) {
      MoveTo(dc, 5, 20);
      AngleArc(dc, 60, 20, 10, 180.0f, -90.0f);
    });
    EXPECT_EQ(At(arc, 5, 20), kBlack) << smooth;
    EXPECT_EQ(At(arc, 4, 20), kWhite) << smooth;
    EXPECT_EQ(Count(arc, kBlack, 5, 20, 45, 1), 45) << smooth;
    EXPECT_EQ(Count(arc, kWhite, 0, 19, 40, 1) + Count(arc, kWhite, 0, 21, 40, 1), 80) << smooth;

    // PolyDraw: an open figure of two lines against the same lines by LineTo.
    const Point pts[3] = {{5, 10}, {45, 10}, {45, 30}};
    const std::uint8_t types[3] = {0x06, 0x02, 0x02};
    const QImage drawn = Paint(setup, [&](DeviceContext* dc) { PolyDraw(dc, pts, types, 3); });
    EXPECT_EQ(At(drawn, 5, 10), kBlack) << smooth;
    EXPECT_EQ(At(drawn, 4, 10), kWhite) << smooth;
    EXPECT_EQ(At(drawn, 45, 29), kBlack) << smooth;
    EXPECT_EQ(At(drawn, 45, 30), kWhite) << smooth;
    EXPECT_EQ(Count(drawn, kBlack, 0, 10, kW, 1), 40 + (smooth ? 0 : 1)) << smooth;
    if (!smooth) {
      const QImage lines = Paint(setup, [&](DeviceContext* dc) {
        MoveTo(dc, 5, 10);
        LineTo(dc, 45, 10);
        LineTo(dc, 45, 30);
      });
      EXPECT_EQ(Differing(drawn, lines), 0);
    }
  }
}

}  // namespace
