// Device context: edge rules, selections, mix modes, mapping, save / restore,
// clipping and paths, drawn into images and read back.

#include "dc_support.h"

#include <QPainterPath>

#include <QPainter>

#include <gtest/gtest.h>

#include <limits>

using namespace pv;
using namespace dctest;

namespace {

class Dc : public ::testing::Test {
 protected:
  void SetUp() override { EnsureApp(); }
};

TEST_F(Dc, RectangleCoversLeftToRightMinusOne) {
  ImageSurface s(40, 30);
  SelectPen(s.dc(), SolidPen(kBlack));
  SelectBrush(s.dc(), Brush::SolidColour(kRed));
  Rectangle(s.dc(), 10, 10, 20, 15);
  const QImage img = s.finish();
  EXPECT_EQ(At(img, 10, 10), kBlack);
  EXPECT_EQ(At(img, 19, 14), kBlack);
  EXPECT_EQ(At(img, 15, 12), kRed);
  EXPECT_EQ(At(img, 11, 11), kRed);
  EXPECT_EQ(ChangedOutside(img, kWhite, 10, 10, 20, 15), 0);
  EXPECT_EQ(Count(img, kWhite, 10, 10, 10, 5), 0);
}

TEST_F(Dc, FilledFiguresStayInTheirBox) {
  struct Case {
    const char* name;
    void (*draw)(DeviceContext*);
  } cases[] = {
      {"ellipse", [](DeviceContext* dc) { Ellipse(dc, 5, 6, 35, 26); }},
      {"roundrect",
       [](DeviceContext* dc) {
         RoundRect(dc, Rect{5, 6, 35, 26}, 10, 8);
       }},
      {"fillrect",
       [](DeviceContext* dc) {
         FillRect(dc, Rect{5, 6, 35, 26}, kBlue);
       }},
      {"pie",
       [](DeviceContext* dc) {
         Pie(dc, Rect{5, 6, 35, 26}, Point{35, 16}, Point{20, 6});
       }},
      {"chord",
       [](DeviceContext* dc) {
         Chord(dc, Rect{5, 6, 35, 26}, Point{35, 16}, Point{5, 16});
       }},
  };
  for (const Case& c : cases) {
    ImageSurface s(40, 32);
    SelectPen(s.dc(), NullPen());
    SelectBrush(s.dc(), Brush::SolidColour(kBlue));
    SetSmoothing(s.dc(), false);
    c.draw(s.dc());
    const QImage img = s.finish();
    EXPECT_EQ(ChangedOutside(img, kWhite, 5, 6, 35, 26), 0) << c.name;
    EXPECT_GT(Count(img, kBlue, 5, 6, 30, 20), 60) << c.name;
  }
}

TEST_F(Dc, EllipseReachesEveryEdgeOfItsBox) {
  ImageSurface s(40, 32);
  SelectPen(s.dc(), NullPen());
  SelectBrush(s.dc(), Brush::SolidColour(kBlue));
  SetSmoothing(s.dc(), false);
  Ellipse(s.dc(), 5, 6, 35, 26);
  const QImage img = s.finish();
  EXPECT_EQ(At(img, 5, 16), kBlue);   // left column
  EXPECT_EQ(At(img, 34, 16), kBlue);  // right column right-1
  EXPECT_EQ(At(img, 20, 6), kBlue);
  EXPECT_EQ(At(img, 20, 25), kBlue);
  EXPECT_EQ(At(img, 5, 6), kWhite);  // corner outside the ellipse
}

TEST_F(Dc, LineLeavesOutItsEndPixel) {
  struct Case {
    Point a, b, last, beyond;
  } cases[] = {
      {{2, 5}, {12, 5}, {11, 5}, {12, 5}},
      {{12, 8}, {2, 8}, {3, 8}, {2, 8}},
      {{5, 1}, {5, 9}, {5, 8}, {5, 9}},
      {{1, 1}, {8, 8}, {7, 7}, {8, 8}},
  };
  for (const Case& c : cases) {
    ImageSurface s(16, 12);
    SelectPen(s.dc(), SolidPen(kBlack));
    SetSmoothing(s.dc(), false);
    MoveTo(s.dc(), c.a.x, c.a.y);
    LineTo(s.dc(), c.b.x, c.b.y);
    EXPECT_EQ(GetCurrentPosition(s.dc()).x, c.b.x);
    const QImage img = s.finish();
    EXPECT_EQ(At(img, c.a.x, c.a.y), kBlack);
    EXPECT_EQ(At(img, c.last.x, c.last.y), kBlack);
    EXPECT_EQ(At(img, c.beyond.x, c.beyond.y), kWhite);
  }
}

TEST_F(Dc, InvertRectInvertsExactlyItsPixelsAndUndoesItself) {
  ImageSurface s(30, 20);
  FillRect(s.dc(), Rect{0, 0, 15, 20}, Rgb(10, 200, 30));
  const QImage before = s.image().copy();
  InvertRect(s.dc(), Rect{5, 4, 25, 9});
  const QImage once = s.image().copy();
  EXPECT_EQ(At(once, 5, 4), Rgb(245, 55, 225));
  EXPECT_EQ(At(once, 24, 8), kBlack);
  EXPECT_EQ(At(once, 25, 8), kWhite);
  EXPECT_EQ(At(once, 24, 9), kWhite);
  EXPECT_EQ(At(once, 4, 4), Rgb(10, 200, 30));
  int changed = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 30; ++x) changed += before.pixel(x, y) != once.pixel(x, y);
  EXPECT_EQ(changed, 20 * 5);
  InvertRect(s.dc(), Rect{5, 4, 25, 9});
  EXPECT_EQ(s.finish(), before);
}

TEST_F(Dc, XorPenTwiceRestoresThePicture) {
  ImageSurface s(30, 30);
  FillRect(s.dc(), Rect{0, 0, 30, 15}, Rgb(90, 20, 200));
  const QImage before = s.image().copy();
  SetRop2(s.dc(), Rop2::Not);
  SelectBrush(s.dc(), Brush::Hollow());
  for (int i = 0; i < 2; ++i) {
    Rectangle(s.dc(), 3, 3, 27, 27);
    MoveTo(s.dc(), 2, 28);
    LineTo(s.dc(), 28, 2);
  }
  EXPECT_EQ(s.finish(), before);
}

TEST_F(Dc, PenSurvivesTextColourAndBrushChanges) {
  ImageSurface s(20, 20);
  SelectPen(s.dc(), SolidPen(kRed, 1));
  SetTextColour(s.dc(), kGreen);
  SelectBrush(s.dc(), Brush::SolidColour(kBlue));
  FillRect(s.dc(), Rect{0, 0, 2, 2}, kBlue);
  EXPECT_EQ(CurrentPen(s.dc()).colour, kRed);
  EXPECT_EQ(GetTextColour(s.dc()), kGreen);
  MoveTo(s.dc(), 0, 10);
  LineTo(s.dc(), 20, 10);
  const QImage img = s.finish();
  EXPECT_EQ(At(img, 10, 10), kRed);
}

TEST_F(Dc, HatchBrushUsesBackgroundModeAndDashedPenGaps) {
  for (BkMode mode : {BkMode::Opaque, BkMode::Transparent}) {
    ImageSurface s(32, 32, 96, 96, kWhite);
    SetBkMode(s.dc(), mode);
    SetBkColour(s.dc(), kGreen);
    FillRect(s.dc(), Rect{0, 0, 32, 32}, Brush::Hatch(HatchStyle::Cross, kBlue));
    const QImage img = s.finish();
    EXPECT_GT(Count(img, kBlue), 50);
    if (mode == BkMode::Opaque) {
      EXPECT_EQ(Count(img, kWhite), 0);
    } else {
      EXPECT_EQ(Count(img, kGreen), 0);
    }
  }
}

TEST_F(Dc, ClipRegionsClip) {
  struct Case {
    const char* name;
    Region rgn;
    Point inside, outside;
  };
  const Point star[5] = {{50, 0}, {80, 100}, {0, 35}, {100, 35}, {20, 100}};
  std::vector<Case> cases = {
      {"rect", Region::FromRect(Rect{20, 20, 60, 50}), {20, 20}, {60, 50}},
      {"ellipse", Region::FromEllipse(Rect{0, 0, 100, 100}), {50, 50}, {3, 3}},
      {"winding star centre", Region::FromPolygon(star, 5, FillMode::Winding), {50, 50}, {5, 90}},
      {"alternate star hole", Region::FromPolygon(star, 5, FillMode::Alternate), {50, 30}, {50, 50}},
  };
  for (const Case& c : cases) {
    ImageSurface s(100, 100);
    SelectClipRegion(s.dc(), &c.rgn);
    FillRect(s.dc(), Rect{0, 0, 100, 100}, kRed);
    const QImage img = s.finish();
    EXPECT_EQ(At(img, c.inside.x, c.inside.y), kRed) << c.name;
    EXPECT_EQ(At(img, c.outside.x, c.outside.y), kWhite) << c.name;
  }
}

TEST_F(Dc, ClipIntersectsReplacesAndSelectsNone) {
  ImageSurface s(100, 100);
  const Region a = Region::FromRect(Rect{0, 0, 60, 60});
  const Region b = Region::FromRect(Rect{40, 40, 100, 100});
  SelectClipRegion(s.dc(), &a);
  SelectClipRegion(s.dc(), &b, RegionOp::And);
  FillRect(s.dc(), Rect{0, 0, 100, 100}, kRed);
  EXPECT_EQ(Count(s.image(), kRed), 20 * 20);
  SelectClipRegion(s.dc(), &b);  // replace
  FillRect(s.dc(), Rect{0, 0, 100, 100}, kBlue);
  EXPECT_EQ(Count(s.image(), kBlue), 60 * 60);
  SelectClipRegion(s.dc(), nullptr);
  FillRect(s.dc(), Rect{0, 0, 10, 10}, kGreen);
  EXPECT_EQ(Count(s.image(), kGreen), 100);
  // An empty clip shows nothing.
  const Region none = Region::FromRect(Rect{5, 5, 5, 5});
  SelectClipRegion(s.dc(), &none);
  FillRect(s.dc(), Rect{0, 0, 100, 100}, kBlack);
  EXPECT_EQ(Count(s.finish(), kBlack), 0);
}

TEST_F(Dc, IntersectAndExcludeClipRectInLogicalUnits) {
  ImageSurface s(100, 100);
  SetMapMode(s.dc(), MapMode::Anisotropic);
  SetWindowExt(s.dc(), 10, 10);
  SetViewportExt(s.dc(), 100, 100);
  IntersectClipRect(s.dc(), Rect{0, 0, 5, 5});  // 0..50 device
  ExcludeClipRect(s.dc(), Rect{0, 0, 2, 2});    // minus 0..20
  FillRect(s.dc(), Rect{0, 0, 10, 10}, kRed);
  const QImage img = s.finish();
  EXPECT_EQ(Count(img, kRed), 50 * 50 - 20 * 20);
  EXPECT_EQ(At(img, 10, 10), kWhite);
  EXPECT_EQ(At(img, 30, 30), kRed);
}

TEST_F(Dc, SaveRestoreBringsBackSelectionsMappingAndClip) {
  ImageSurface s(50, 50);
  DeviceContext* dc = s.dc();
  SelectPen(dc, SolidPen(kRed, 3));
  const int level = SaveDC(dc);
  EXPECT_EQ(level, 1);
  SelectPen(dc, SolidPen(kBlue));
  SetTextColour(dc, kGreen);
  SetViewportOrg(dc, 10, 10);
  const Region r = Region::FromRect(Rect{0, 0, 5, 5});
  SelectClipRegion(dc, &r);
  EXPECT_EQ(SaveDC(dc), 2);
  SetMapMode(dc, MapMode::LoMetric);
  EXPECT_TRUE(RestoreDC(dc, level));
  EXPECT_EQ(CurrentPen(dc).colour, kRed);
  EXPECT_EQ(CurrentPen(dc).width, 3);
  EXPECT_EQ(GetTextColour(dc), kBlack);
  EXPECT_EQ(GetViewportOrg(dc).x, 0);
  EXPECT_EQ(GetMapMode(dc), MapMode::Text);
  EXPECT_FALSE(GetClipRegion(dc, nullptr));
  EXPECT_FALSE(RestoreDC(dc, -1));  // nothing left on the stack
  EXPECT_FALSE(RestoreDC(dc, 7));
  FillRect(dc, Rect{0, 0, 50, 50}, kRed);
  EXPECT_EQ(Count(s.finish(), kRed), 2500);
}

// The painter is given a clip only when it changes; every change still
// reaches it, the outline under a region and back without one included.
TEST_F(Dc, EveryChangeOfTheClipReachesThePainter) {
  ImageSurface s(60, 60);
  DeviceContext* dc = s.dc();
  QPainterPath outline;
  outline.addRect(QRectF(10, 10, 40, 40));
  const int level = SaveDC(dc);
  SelectClipOutline(dc, &outline);
  const Region left = Region::FromRect(Rect{0, 0, 30, 60});
  for (int round = 0; round < 2; ++round) {  // the same clips again
    SaveDC(dc);
    SelectClipRegion(dc, &left, RegionOp::And);
    FillRect(dc, Rect{0, 0, 60, 60}, kRed);  // 10..29 x 10..49
    RestoreDC(dc, -1);
    FillRect(dc, Rect{30, 0, 60, 60}, kBlue);  // the outline again: 30..49 x 10..49
  }
  RestoreDC(dc, level);
  FillRect(dc, Rect{0, 0, 60, 5}, kGreen);  // no clip at all
  const Region empty;
  SelectClipRegion(dc, &empty);
  FillRect(dc, Rect{0, 0, 60, 60}, kRed);  // an empty clip shows nothing
  const QImage img = s.finish();
  EXPECT_EQ(Count(img, kRed, 10, 10, 20, 40), 800);
  EXPECT_EQ(Count(img, kBlue, 30, 10, 20, 40), 800);
  EXPECT_EQ(Count(img, kGreen), 300);
  EXPECT_EQ(ChangedOutside(img, kWhite, 10, 10, 50, 50), 300);
}

TEST_F(Dc, WindowViewportMapsLogicalUnitsIntoARectangle) {
  ImageSurface s(100, 100);
  DeviceContext* dc = s.dc();
  SetMapMode(dc, MapMode::Anisotropic);
  SetWindowOrg(dc, 0, 0);
  SetWindowExt(dc, 1000, 500);
  SetViewportOrg(dc, 10, 20);
  SetViewportExt(dc, 50, 50);
  Point p[2] = {{0, 0}, {1000, 500}};
  LPtoDP(dc, p, 2);
  EXPECT_EQ(p[0].x, 10);
  EXPECT_EQ(p[0].y, 20);
  EXPECT_EQ(p[1].x, 60);
  EXPECT_EQ(p[1].y, 70);
  DPtoLP(dc, p, 2);
  EXPECT_EQ(p[1].x, 1000);
  SelectPen(dc, NullPen());
  SelectBrush(dc, Brush::SolidColour(kBlue));
  Rectangle(dc, 0, 0, 1000, 500);
  // A zero extent is refused.
  SetWindowExt(dc, 0, 5);
  EXPECT_EQ(GetWindowExt(dc).cx, 1000);
  const QImage img = s.finish();
  EXPECT_EQ(Count(img, kBlue), 50 * 50);
  EXPECT_EQ(At(img, 10, 20), kBlue);
  EXPECT_EQ(At(img, 60, 70), kWhite);
}

TEST_F(Dc, IsotropicKeepsUnitsSquareAndMetricIsYUp) {
  ImageSurface s(100, 100, 254, 254);
  DeviceContext* dc = s.dc();
  SetMapMode(dc, MapMode::LoMetric);  // 0.1 mm = 1 px at 254 dpi, y up
  Point p{10, 10};
  LPtoDP(dc, &p, 1);
  EXPECT_EQ(p.x, 10);
  EXPECT_EQ(p.y, -10);
  SetMapMode(dc, MapMode::Isotropic);
  SetWindowExt(dc, 100, 100);
  SetViewportExt(dc, 50, 20);
  Point q{100, 100};
  LPtoDP(dc, &q, 1);
  EXPECT_EQ(q.x, 20);
  EXPECT_EQ(q.y, 20);
}

TEST_F(Dc, WorldTransformTurnsAQuarterCounterClockwise) {
  ImageSurface s(100, 100);
  DeviceContext* dc = s.dc();
  // Turn by 90 degrees counter-clockwise on screen about (50, 50).
  XForm xf{0, -1, 1, 0, 0, 100};
  ASSERT_TRUE(SetWorldTransform(dc, xf));
  Point p{60, 50};  // 10 right of the centre ...
  LPtoDP(dc, &p, 1);
  EXPECT_EQ(p.x, 50);  // ... lands 10 above it
  EXPECT_EQ(p.y, 40);
  EXPECT_FALSE(SetWorldTransform(dc, XForm{0, 0, 0, 0, 1, 1}));  // singular
  ASSERT_TRUE(ModifyWorldTransform(dc, XForm{}, XFormMode::Identity));
  ASSERT_TRUE(ModifyWorldTransform(dc, XForm{1, 0, 0, 1, 5, 0}, XFormMode::RightMultiply));
  ASSERT_TRUE(ModifyWorldTransform(dc, XForm{2, 0, 0, 2, 0, 0}, XFormMode::LeftMultiply));
  Point q{10, 10};
  LPtoDP(dc, &q, 1);  // scaled first, then moved
  EXPECT_EQ(q.x, 25);
  EXPECT_EQ(q.y, 20);
}

TEST_F(Dc, PathsFillStrokeAndClip) {
  ImageSurface s(60, 60);
  DeviceContext* dc = s.dc();
  BeginPath(dc);
  EXPECT_TRUE(PathIsOpen(dc));
  Rectangle(dc, 10, 10, 30, 30);  // adds to the path, draws nothing
  EXPECT_EQ(Count(s.image(), kWhite), 3600);
  EndPath(dc);
  SelectBrush(dc, Brush::SolidColour(kRed));
  FillPath(dc);
  EXPECT_EQ(Count(s.image(), kRed), 400);
  FillPath(dc);  // the path is used up
  BeginPath(dc);
  Ellipse(dc, 0, 0, 60, 60);
  EndPath(dc);
  SelectClipPath(dc, RegionOp::Copy);
  FillRect(dc, Rect{0, 0, 60, 60}, kBlue);
  const QImage img = s.finish();
  EXPECT_EQ(At(img, 1, 1), kWhite);
  EXPECT_EQ(At(img, 30, 30), kBlue);
}

TEST_F(Dc, DeletingTheContextGivesThePainterBack) {
  EnsureApp();
  QImage img(50, 50, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::white);
  QPainter p(&img);
  p.translate(5, 5);
  p.setClipRect(0, 0, 20, 20);
  DeviceContext* dc = CreateDeviceContext(&p, 96, 96, &img);
  ASSERT_NE(dc, nullptr);
  // Device units are the painter's coordinates at creation, and its clip stays.
  FillRect(dc, Rect{0, 0, 50, 50}, kRed);
  SetViewportOrg(dc, 3, 3);
  const Region r = Region::FromRect(Rect{0, 0, 2, 2});
  SelectClipRegion(dc, &r);
  SetRop2(dc, Rop2::XorPen);
  DeleteDeviceContext(dc);
  EXPECT_EQ(p.transform(), QTransform::fromTranslate(5, 5));
  EXPECT_TRUE(p.hasClipping());
  EXPECT_EQ(p.compositionMode(), QPainter::CompositionMode_SourceOver);
  p.end();
  EXPECT_EQ(Count(img, kRed), 400);
  EXPECT_EQ(At(img, 5, 5), kRed);
  EXPECT_EQ(CreateDeviceContext(nullptr, 96, 96), nullptr);
}

TEST_F(Dc, DeviceCapsReportResolutionAndSize) {
  ImageSurface s(600, 300, 600, 300);
  EXPECT_EQ(GetDeviceCaps(s.dc(), DeviceCap::LogPixelsX), 600);
  EXPECT_EQ(GetDeviceCaps(s.dc(), DeviceCap::LogPixelsY), 300);
  EXPECT_EQ(GetDeviceCaps(s.dc(), DeviceCap::HorzRes), 600);
  EXPECT_EQ(GetDeviceCaps(s.dc(), DeviceCap::HorzSize), 25);
  EXPECT_EQ(GetDeviceCaps(s.dc(), DeviceCap::HasBackingImage), 1);
  EXPECT_NE(BackingImage(s.dc()), nullptr);
  EXPECT_EQ(GetDeviceCaps(nullptr, DeviceCap::LogPixelsX), 0);
  EXPECT_EQ(DpiX(nullptr), 96);
}

TEST_F(Dc, BadInputDrawsNothingAndReturns) {
  ImageSurface s(40, 40);
  DeviceContext* dc = s.dc();
  SelectPen(dc, NullPen());
  SelectBrush(dc, Brush::SolidColour(kRed));
  const int big = std::numeric_limits<int>::max();
  const int small = std::numeric_limits<int>::min();
  Rectangle(dc, 30, 30, 10, 10);  // inverted: drawn normalized, as the platform did
  const int afterInverted = Count(s.image(), kRed);
  Rectangle(dc, 10, 10, 10, 30);  // empty
  Ellipse(dc, small, small, big, big);
  Polygon(dc, nullptr, 5);
  Point pts[3] = {{0, 0}, {big, 0}, {0, small}};
  Polygon(dc, pts, -3);
  Polygon(dc, pts, 3);
  Polyline(dc, pts, 3);
  PolyBezier(dc, pts, 2);
  std::int32_t counts[2] = {-1, 3};
  PolyPolygon(dc, pts, counts, 2);
  const std::uint8_t types[3] = {0x06, 0x09, 0x02};
  PolyDraw(dc, pts, types, 3);
  AngleArc(dc, 0, 0, 0xFFFFFFFFu, 0, 1e30f);
  Arc(dc, Rect{0, 0, 0, 0}, Point{}, Point{});
  SetViewportExt(dc, big, big);
  SetMapMode(dc, MapMode::Anisotropic);
  SetWindowExt(dc, 1, 1);
  Rectangle(dc, 0, 0, 100, 100);
  TextOut(dc, big, big, QStringLiteral("x"));
  SetMapMode(dc, MapMode::Text);
  ScaleWindowExt(dc, 1, 0, 1, 0);
  RestoreDC(dc, -100);
  StretchImage(dc, Rect{0, 0, 10, 10}, QImage());
  FrameRegion(dc, Region::FromRect(Rect{0, 0, 10, 10}), Brush::SolidColour(kRed), -1, 1);
  GradientFill(dc, nullptr, 3, nullptr, 3, GradientMode::Triangle);
  // A null context everywhere.
  Rectangle(nullptr, 0, 0, 10, 10);
  LineTo(nullptr, 1, 1);
  TextOut(nullptr, 0, 0, QStringLiteral("x"));
  InvertRect(nullptr, Rect{0, 0, 1, 1});
  SelectClipRegion(nullptr, nullptr);
  EXPECT_EQ(SaveDC(nullptr), 0);
  EXPECT_EQ(GetPixel(nullptr, 0, 0), ClrInvalid);
  EXPECT_EQ(GetTextExtent(nullptr, QStringLiteral("x")).cx, 0);
  const QImage img = s.finish();
  EXPECT_EQ(afterInverted, 400);
  EXPECT_EQ(Count(img, kRed), afterInverted);
  EXPECT_EQ(Count(img, kRed) + Count(img, kWhite), 1600);
}

TEST_F(Dc, DrawCallCountCountsWhatReachesThePainter) {
  ImageSurface s(40, 40);
  DeviceContext* dc = s.dc();
  SelectPen(dc, SolidPen(kBlack));
  struct Case {
    const char* name;
    void (*run)(DeviceContext*);
    bool draws;
  } cases[] = {
      {"pixel", [](DeviceContext* d) { SetPixel(d, 1, 1, kRed); }, true},
      {"fill",
       [](DeviceContext* d) {
         FillRect(d, Rect{0, 0, 5, 5}, kRed);
       },
       true},
      {"line",
       [](DeviceContext* d) {
         MoveTo(d, 0, 0);
         LineTo(d, 9, 3);
       },
       true},
      {"figure", [](DeviceContext* d) { Ellipse(d, 2, 2, 20, 20); }, true},
      {"text", [](DeviceContext* d) { TextOut(d, 2, 2, QStringLiteral("ab")); }, true},
      {"image", [](DeviceContext* d) { WritePixels(d, 0, 0, QImage(4, 4, QImage::Format_RGB32)); }, true},
      {"invert",
       [](DeviceContext* d) {
         InvertRect(d, Rect{0, 0, 4, 4});
       },
       true},
      {"selections and mapping",
       [](DeviceContext* d) {
         SelectBrush(d, Brush::SolidColour(kRed));
         SetMapMode(d, MapMode::LoMetric);
         SetMapMode(d, MapMode::Text);
         IntersectClipRect(d, Rect{0, 0, 30, 30});
         SelectClipRegion(d, nullptr);
       },
       false},
      {"into a path",
       [](DeviceContext* d) {
         BeginPath(d);
         Rectangle(d, 0, 0, 9, 9);
         LineTo(d, 4, 4);
         AbortPath(d);
       },
       false},
      {"null pen line",
       [](DeviceContext* d) {
         const Pen old = SelectPen(d, NullPen());
         LineTo(d, 30, 30);
         SelectPen(d, old);
       },
       false},
      {"off the coordinate range", [](DeviceContext* d) { SetPixel(d, 2000000000, 0, kRed); }, false},
  };
  for (const Case& c : cases) {
    const std::uint64_t before = DrawCallCount(dc);
    c.run(dc);
    if (c.draws)
      EXPECT_GE(DrawCallCount(dc), before + 1) << c.name;
    else
      EXPECT_EQ(DrawCallCount(dc), before) << c.name;
  }
  const std::uint64_t before = DrawCallCount(dc);
  for (int i = 0; i < 100; ++i) SetPixel(dc, i % 40, i / 40, kRed);
  EXPECT_EQ(DrawCallCount(dc) - before, 100u);
  EXPECT_EQ(DrawCallCount(nullptr), 0u);
}

}  // namespace
