// Lineo2: pens, figures, fills, turning, art text and bad input, drawn into
// images and read back.

#include "platform/lineo2/lineo2.h"
#include "platform/colmo2/colmo2.h"
#include "platform/dc.h"
#include "tests/support/app_fixture.h"
#include "tests/support/pixels.h"

#include <QGuiApplication>
#include <QImage>
#include <QTransform>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>

using namespace pv;

namespace {

void EnsureApp() { pv::test::EnsureGuiApplication(); }

constexpr Colour kWhite = Rgb(255, 255, 255);
constexpr Colour kBlack = Rgb(0, 0, 0);
constexpr Colour kRed = Rgb(255, 0, 0);
constexpr Colour kBlue = Rgb(0, 0, 255);
constexpr Colour kGreen = Rgb(0, 255, 0);

Colour At(const QImage& img, int x, int y) { return FromQColor(img.pixelColor(x, y)); }

int CountNot(const QImage& img, Colour c, const QRect& area) {
  return test::CountPixels(img, area, test::Except(ToQColor(c).rgb()));
}

int ChangedOutside(const QImage& img, const QRect& inside) {
  return CountNot(img, kWhite, img.rect()) - CountNot(img, kWhite, inside);
}

int RowInk(const QImage& img, int y) { return CountNot(img, kWhite, QRect(0, y, img.width(), 1)); }

class Lineo : public ::testing::Test {
 protected:
  void SetUp() override { EnsureApp(); }
};

TEST_F(Lineo, PenStaysSelectedThroughFillsAndTextColour) {
  ImageSurface s(100, 100);
  LineoPen(s.dc(), 3, kRed);
  const Rect r{10, 10, 60, 60};
  LineoRectangle(s.dc(), &r, 0.0, 1, kBlue, kBlue, 100);
  ColmoGradient(s.dc(), kGreen, kBlue, &r, 100, 0, 0, 100);
  ColmoTexture(s.dc(), &r, 5, 100);
  SetTextColour(s.dc(), kGreen);
  EXPECT_EQ(CurrentPen(s.dc()).colour, kRed);
  // The platform's own figures outline with it too.
  SelectBrush(s.dc(), Brush::Hollow());
  Rectangle(s.dc(), 70, 70, 95, 95);
  const Point a{5, 98}, b{95, 98};
  LineoLine(s.dc(), &a, &b, 0.0);
  const QImage img = s.finish();
  EXPECT_EQ(At(img, 70, 80), kRed);
  EXPECT_EQ(At(img, 82, 70), kRed);
  EXPECT_EQ(At(img, 82, 82), kWhite);
  EXPECT_EQ(At(img, 50, 98), kRed);
}

TEST_F(Lineo, PenWidthFollowsTheResolution) {
  auto thickness = [](int style, int dpi) {
    ImageSurface s(400, 200, dpi, dpi);
    LineoPen(s.dc(), style, kBlack);
    const Point a{20, 100}, b{380, 100};
    LineoLine(s.dc(), &a, &b, 0.0);
    const QImage img = s.finish();
    return CountNot(img, kWhite, QRect(200, 0, 1, 200));
  };
  EXPECT_EQ(thickness(1, 96), 1);
  EXPECT_EQ(thickness(1, 600), 1);
  // Style 4 is three points wide on any device.
  EXPECT_NEAR(thickness(4, 96), 3 * 96 / 72.0, 1.0);
  EXPECT_NEAR(thickness(4, 600), 3 * 600 / 72.0, 1.5);
  EXPECT_NEAR(thickness(12, 300), 6 * 300 / 72.0, 1.5);
  // A style outside 1-12 draws no line.
  EXPECT_EQ(thickness(0, 96), 0);
  EXPECT_EQ(thickness(13, 96), 0);
}

TEST_F(Lineo, DashedStylesHaveGapsSolidOnesNone) {
  for (int style = 1; style <= 12; ++style) {
    ImageSurface s(400, 40);
    LineoPen(s.dc(), style, kBlack);
    const Point a{0, 20}, b{400, 20};
    LineoLine(s.dc(), &a, &b, 0.0);
    const QImage img = s.finish();
    const int ink = RowInk(img, 20);
    const bool dashed = style >= 6 && style <= 11;
    if (dashed) {
      EXPECT_LT(ink, 330) << style;
      EXPECT_GT(ink, 80) << style;
    } else {
      EXPECT_GE(ink, 399) << style;
    }
  }
}

struct FigureCase {
  const char* name;
  std::int32_t (*draw)(DeviceContext*, const Rect*, double angle, int fill, Colour c1, Colour c2, int opacity);
  double probeX, probeY;  // a point inside the figure, as fractions of the box
};

std::int32_t DrawRect(DeviceContext* dc, const Rect* r, double a, int f, Colour c1, Colour c2, int o) {
  return LineoRectangle(dc, r, a, f, c1, c2, o);
}
std::int32_t DrawEllipse(DeviceContext* dc, const Rect* r, double a, int f, Colour c1, Colour c2, int o) {
  return LineoEllipse(dc, r, a, f, c1, c2, o);
}
std::int32_t DrawChamfer(DeviceContext* dc, const Rect* r, double a, int f, Colour c1, Colour c2, int o) {
  return LineoChamferRect(dc, r, 20.0, a, f, c1, c2, o);
}
std::int32_t DrawRounded(DeviceContext* dc, const Rect* r, double a, int f, Colour c1, Colour c2, int o) {
  return LineoRoundedRect(dc, r, 20.0, a, f, c1, c2, o);
}
template <int N>
std::int32_t DrawShape(DeviceContext* dc, const Rect* r, double a, int f, Colour c1, Colour c2, int o) {
  return LineoShape(dc, r, 5.0, a, 200 + N, f, c1, c2, o);
}

const FigureCase kFigures[] = {
    {"rectangle", DrawRect, 0.5, 0.5},         {"ellipse", DrawEllipse, 0.5, 0.5},
    {"chamfer", DrawChamfer, 0.5, 0.5},        {"rounded", DrawRounded, 0.5, 0.5},
    {"triangle", DrawShape<0>, 0.5, 0.7},      {"right triangle", DrawShape<1>, 0.2, 0.8},
    {"diamond", DrawShape<2>, 0.5, 0.5},       {"pentagon", DrawShape<3>, 0.5, 0.5},
    {"hexagon", DrawShape<4>, 0.5, 0.5},       {"octagon", DrawShape<5>, 0.5, 0.5},
    {"parallelogram", DrawShape<6>, 0.5, 0.5}, {"star", DrawShape<7>, 0.5, 0.5},
    {"arrow", DrawShape<8>, 0.5, 0.5},         {"double arrow", DrawShape<9>, 0.5, 0.5},
    {"heart", DrawShape<10>, 0.5, 0.5},        {"balloon", DrawShape<11>, 0.5, 0.35},
    {"cross", DrawShape<12>, 0.5, 0.5},        {"frame", DrawShape<13>, 0.5, 0.05},
};

TEST_F(Lineo, FilledFiguresAreFilledInsideAndLeaveTheOutsideAlone) {
  const Rect r{20, 30, 140, 110};
  const QRect box(20, 30, 120, 80);
  for (const FigureCase& c : kFigures) {
    ImageSurface s(160, 140);
    LineoPen(s.dc(), 2, kBlack);
    c.draw(s.dc(), &r, 0.0, 1, kRed, kBlue, 100);
    const QImage img = s.finish();
    const int px = static_cast<int>(r.left + c.probeX * 120);
    const int py = static_cast<int>(r.top + c.probeY * 80);
    EXPECT_EQ(At(img, px, py), kRed) << c.name;
    EXPECT_EQ(ChangedOutside(img, box), 0) << c.name;
  }
}

// Turned and with the widest pen, every figure's outline stays in its turned
// box: a pixel with ink lies in it, or less than a pixel and a half beyond
// its edge (smoothing). The chamfer cut to the middle of the shorter side
// (the aspect 10 of the table) meets in a right angle, whose mitre would
// reach past the box.
TEST_F(Lineo, TurnedOutlinesStayInTheirTurnedBox) {
  const Rect r{40, 60, 160, 140};  // 120 x 80, centred on (100, 100)
  for (double angle : {30.0, 0.0, -75.0}) {
    QTransform toBox;  // device -> the unturned box
    toBox.translate(60, 40);
    toBox.rotate(angle);
    toBox.translate(-100, -100);
    for (const FigureCase& c : kFigures) {
      ImageSurface s(200, 200);
      LineoPen(s.dc(), 12, kBlack);
      c.draw(s.dc(), &r, angle, 1, kRed, kBlue, 100);
      const QImage img = s.finish();
      int outside = 0, ink = 0;
      for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
          if (At(img, x, y) == kWhite) continue;
          ++ink;
          const QPointF q = toBox.map(QPointF(x + 0.5, y + 0.5));
          outside += q.x() < -1.5 || q.y() < -1.5 || q.x() > 121.5 || q.y() > 81.5;
        }
      EXPECT_GT(ink, 1000) << c.name << " " << angle;
      EXPECT_EQ(outside, 0) << c.name << " " << angle;
    }
  }
}

TEST_F(Lineo, TheFramesHoleAndTransparentFillShowTheBackground) {
  ImageSurface s(160, 140);
  const Rect r{20, 30, 140, 110};
  LineoShape(s.dc(), &r, 0.0, 0.0, 213, 1, kRed, kRed, 100);
  LineoPen(s.dc(), 2, kBlack);
  const Rect r2{0, 0, 20, 20};
  LineoEllipse(s.dc(), &r2, 0.0, 0, kRed, kRed, 100);
  const QImage img = s.finish();
  EXPECT_EQ(At(img, 80, 70), kWhite);
  EXPECT_EQ(At(img, 10, 10), kWhite);
  EXPECT_NE(At(img, 10, 0), kWhite);  // only the outline
}

// The generic shapes read the aspect in the program's steps of 1 to 10, as
// the chamfered and rounded rectangles do: the frame's side is aspect
// twenty-fifths of the shorter side above a twentieth, 10 the fullest.
TEST_F(Lineo, GenericShapesReadTheAspectInStepsOfOneToTen) {
  const Rect r{20, 30, 140, 110};  // 120 x 80
  const auto frameSide = [&](double aspect) {
    ImageSurface s(160, 140);
    LineoShape(s.dc(), &r, aspect, 0.0, 213, 1, kRed, kRed, 100);
    const QImage img = s.finish();
    int x = 20;
    while (x < 80 && At(img, x, 70) != kWhite) ++x;
    return x - 20;
  };
  struct Side {
    double aspect;
    int pixels;  // (0.05 + 0.04 x aspect) x 80
  };
  for (const Side& c : {Side{1, 7}, Side{4, 17}, Side{5, 20}, Side{10, 36}, Side{100, 36}}) {
    EXPECT_NEAR(frameSide(c.aspect), c.pixels, 2) << c.aspect;  // the outline adds a pixel or two
  }
  // Every shape with a free proportion: 1 and 10 differ, 10 and above do not.
  const auto draw = [&](std::int32_t shape, double aspect) {
    ImageSurface s(160, 140);
    LineoPen(s.dc(), 2, kBlack);
    LineoShape(s.dc(), &r, aspect, 0.0, shape, 1, kRed, kBlue, 100);
    return s.finish();
  };
  for (std::int32_t shape : {204, 205, 206, 207, 208, 209, 211, 212, 213}) {
    EXPECT_NE(draw(shape, 1), draw(shape, 10)) << shape;
    EXPECT_EQ(draw(shape, 10), draw(shape, 60)) << shape;
  }
}

TEST_F(Lineo, QuarterTurnIsCounterClockwiseOnScreen) {
  // An arrow pointing right, turned by +90, points up; by -90, down.
  for (double angle : {90.0, -90.0, 450.0}) {
    ImageSurface s(200, 200);
    const Rect r{50, 70, 150, 130};  // 100 x 60, centred on (100, 100)
    LineoShape(s.dc(), &r, 0.0, angle, 208, 1, kBlack, kBlack, 100);
    const QImage img = s.finish();
    // Turned, it spans y 50..150; the head's base lies 45 from the tip,
    // the head is narrow at the tip and wide at its base, the shaft between.
    EXPECT_NEAR(CountNot(img, kWhite, QRect(0, 0, 200, 50)), 0, 2) << angle;
    const bool up = std::fmod(angle + 360.0, 360.0) == 90.0;
    const int tip = RowInk(img, up ? 55 : 145);
    const int headBase = RowInk(img, up ? 90 : 110);
    const int shaft = RowInk(img, up ? 140 : 60);
    EXPECT_GT(headBase, shaft + 10) << angle;
    EXPECT_LT(tip, shaft) << angle;
  }
}

TEST_F(Lineo, TurnedRectangleSwapsItsSides) {
  ImageSurface s(200, 200);
  const Rect r{40, 90, 160, 110};  // 120 x 20
  LineoRectangle(s.dc(), &r, 90.0, 1, kRed, kRed, 100);
  const QImage img = s.finish();
  EXPECT_EQ(At(img, 100, 45), kRed);
  EXPECT_EQ(At(img, 100, 155), kRed);
  EXPECT_EQ(At(img, 45, 100), kWhite);
  EXPECT_EQ(At(img, 155, 100), kWhite);
}

TEST_F(Lineo, OpacityBlendsTheBody) {
  struct Case {
    int opacity;
    int expectRed;
  } cases[] = {{100, 0}, {0, 0}, {50, 128}, {25, 191}, {150, 0}, {-3, 0}};
  for (const Case& c : cases) {
    ImageSurface s(40, 40);
    LineoPen(s.dc(), 0, kBlack);  // no outline
    const Rect r{0, 0, 40, 40};
    LineoRectangle(s.dc(), &r, 0.0, 1, kBlack, kBlack, c.opacity);
    const QImage img = s.finish();
    EXPECT_NEAR(ColourRed(At(img, 20, 20)), c.expectRed, 2) << c.opacity;
  }
}

TEST_F(Lineo, HatchesAndBrushesUseBothColoursAndDiffer) {
  std::set<QByteArray> seen;
  for (int fill = 2; fill <= 26; ++fill) {
    ImageSurface s(64, 64);
    LineoPen(s.dc(), 0, kBlack);
    const Rect r{0, 0, 64, 64};
    LineoRectangle(s.dc(), &r, 0.0, fill, kRed, kBlue, 100);
    const QImage img = s.finish();
    int red = 0, blue = 0;
    for (int y = 0; y < 64; ++y)
      for (int x = 0; x < 64; ++x) {
        red += At(img, x, y) == kRed;
        blue += At(img, x, y) == kBlue;
      }
    EXPECT_GT(red, 100) << fill;  // colour 1 is the ground
    EXPECT_GT(blue, 40) << fill;  // colour 2 the pattern
    if (fill <= 7) {
      EXPECT_GT(red, blue) << fill;  // hatch lines are thin
    }
    seen.insert(QByteArray(reinterpret_cast<const char*>(img.constBits()), static_cast<int>(img.sizeInBytes())));
  }
  EXPECT_EQ(seen.size(), 25u);
}

TEST_F(Lineo, BrushCellsGrowWithTheResolution) {
  auto period = [](int dpi) {
    ImageSurface s(256, 8, dpi, dpi);
    LineoPen(s.dc(), 0, kBlack);
    const Rect r{0, 0, 256, 8};
    LineoRectangle(s.dc(), &r, 0.0, 8, kWhite, kBlack, 100);  // fine checks
    const QImage img = s.finish();
    int changes = 0;
    for (int x = 1; x < 256; ++x) changes += At(img, x, 0) != At(img, x - 1, 0);
    return changes;
  };
  EXPECT_GT(period(96), 3 * period(480));
}

TEST_F(Lineo, ArtTextStaysInItsBoxForEveryShape) {
  std::set<QByteArray> seen;
  for (int shape = 0; shape <= 14; ++shape) {
    ImageSurface s(240, 120);
    LineoPen(s.dc(), 1, kBlack);
    const Rect r{20, 20, 220, 100};
    LineoArtTextDraw(s.dc(), "Nuovo testo", "ARIAL", &r, 0.0, shape, 1, kRed, kBlue, 0);
    const QImage img = s.finish();
    EXPECT_GT(CountNot(img, kWhite, QRect(20, 20, 200, 80)), 600) << shape;
    EXPECT_LE(ChangedOutside(img, QRect(19, 19, 202, 82)), 0) << shape;
    int red = 0;
    for (int y = 20; y < 100; ++y)
      for (int x = 20; x < 220; ++x) red += At(img, x, y) == kRed;
    EXPECT_GT(red, 200) << shape;  // opacity 0 still shows the text fully
    seen.insert(QByteArray(reinterpret_cast<const char*>(img.constBits()), static_cast<int>(img.sizeInBytes())));
  }
  EXPECT_EQ(seen.size(), 15u);
}

TEST_F(Lineo, ArtTextTurnsWithTheAngle) {
  ImageSurface s(200, 200);
  const Rect r{20, 80, 180, 120};  // wide and low
  LineoArtTextDraw(s.dc(), "MMMMM", "Arial", &r, 90.0, 0, 1, kBlack, kBlack, 100);
  const QImage img = s.finish();
  EXPECT_GT(CountNot(img, kWhite, QRect(80, 20, 40, 60)), 100);  // now tall
  EXPECT_EQ(CountNot(img, kWhite, QRect(0, 80, 70, 40)), 0);
}

TEST_F(Lineo, BadInputDrawsNothingAndNeverCrashes) {
  ImageSurface s(60, 60);
  DeviceContext* dc = s.dc();
  const double huge = 1e300;
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const Rect empty{10, 10, 10, 40};
  const Rect ok{5, 5, 55, 55};
  const Rect enormous{std::numeric_limits<int>::min(), std::numeric_limits<int>::min(), std::numeric_limits<int>::max(),
                      std::numeric_limits<int>::max()};
  LineoPen(nullptr, 2, kBlack);
  LineoRectangle(nullptr, &ok, 0, 1, kRed, kRed, 100);
  LineoRectangle(dc, nullptr, 0, 1, kRed, kRed, 100);
  LineoRectangle(dc, &empty, 0, 1, kRed, kRed, 100);
  LineoEllipse(dc, &enormous, 0, 1, kRed, kRed, 100);
  LineoShape(dc, &ok, 5.0, 0, 250, 1, kRed, kRed, 100);  // unknown shape
  LineoShape(dc, &ok, 5.0, 0, 199, 1, kRed, kRed, 100);
  LineoRectangle(dc, &ok, 0, 999, kRed, kRed, 100);  // unknown fill: outline only
  LineoLine(dc, nullptr, nullptr, 0.0);
  LineoArtTextDraw(dc, nullptr, nullptr, &ok, 0, 0, 1, kRed, kRed, 100);
  LineoArtTextDraw(dc, "", "Arial", &ok, 0, 0, 1, kRed, kRed, 100);
  LineoArtTextDraw(dc, "   ", "Arial", &ok, 0, 0, 1, kRed, kRed, 100);
  const QImage before = s.image().copy();
  EXPECT_EQ(CountNot(before, kWhite, QRect(20, 20, 20, 20)), 0);
  EXPECT_GT(CountNot(before, kWhite, QRect(0, 0, 60, 60)), 0);
  // Huge and undefined angles and aspects draw a sensible figure.
  LineoArtTextDraw(dc, "x", "No Such Font", &ok, nan, 99, 140, kRed, kBlue, 100);
  LineoRoundedRect(dc, &ok, huge, huge, 1, kRed, kRed, 100);
  LineoChamferRect(dc, &ok, nan, nan, 1, kRed, kRed, 100);
  LineoShape(dc, &ok, -5, 1e18, 207, 1, kRed, kRed, 100);
  EXPECT_EQ(At(s.finish(), 30, 30), kRed);
}

}  // namespace
