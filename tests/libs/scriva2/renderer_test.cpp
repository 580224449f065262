// The renderer's state: its initial values, what each setter keeps, and the
// integer rotation that places corners and line origins.

#include "libs/scriva2/scriva2.h"
#include "libs/scriva2/textrenderer.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace {

TEST(TextRendererState, InitialValues) {
  const pv::TextRenderer r;
  EXPECT_EQ(r.faceName, QStringLiteral("arial"));
  EXPECT_EQ(r.height, 10);
  EXPECT_EQ(r.weight, 700);
  EXPECT_EQ(r.italic, 0);
  EXPECT_EQ(r.strikeOut, 0);
  EXPECT_EQ(r.underline, 0);
  EXPECT_EQ(r.transparent, 1);
  EXPECT_EQ(r.antialiased, 1);
  EXPECT_EQ(r.foreColor, 0u);
  EXPECT_EQ(r.backColor, 0u);
  EXPECT_EQ(r.margin, 1);
  EXPECT_EQ(r.interline, 1.0);
  EXPECT_EQ(r.safeDC, 0);
  EXPECT_EQ(r.fillParam1, 0);
  EXPECT_EQ(r.fillParam2, 0);
  EXPECT_EQ(r.fillInverse, 0);

  // The font of a draw right after load.
  const pv::Font f = r.MakeFont(0.0, false);
  EXPECT_EQ(f.face, QStringLiteral("arial"));
  EXPECT_EQ(f.height, 10);
  EXPECT_EQ(f.weight, 700);
  EXPECT_TRUE(f.antialiased);
  EXPECT_FALSE(f.italic);
}

TEST(TextRendererState, FontSizeKeepsEveryHeightUpTo32767) {
  pv::TextRenderer& r = pv::TheTextRenderer();
  const struct {
    std::int32_t size;
    std::int32_t kept;
  } cases[] = {
      {50, 50},        {1023, 1023},   {1024, 1024},
      {1667, 1667},    {32767, 32767}, {32768, 32767},  // ignored: the previous height stays
      {100000, 32767},                                  // ignored
      {-12, -12},      {0, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ScrivaFontSize(c.size), c.size);
    EXPECT_EQ(r.height, c.kept) << c.size;
  }
  // A height the renderer stores but no font can have is clamped when drawn.
  ScrivaFontSize(-100000);
  EXPECT_EQ(r.MakeFont(0, false).height, -32767);
}

TEST(TextRendererState, FlagsKeepTheLowByte) {
  pv::TextRenderer& r = pv::TheTextRenderer();
  const struct {
    std::int32_t flag;
    std::int32_t weight;
    std::uint8_t byte;
  } cases[] = {{-1, 700, 255}, {1, 700, 1}, {0, 400, 0}, {256, 400, 0}, {0x101, 700, 1}};
  for (const auto& c : cases) {
    ScrivaSetBold(c.flag);
    EXPECT_EQ(r.weight, c.weight) << c.flag;
    ScrivaSetItalic(c.flag);
    EXPECT_EQ(r.italic, c.byte);
    ScrivaSetUnderline(c.flag);
    EXPECT_EQ(r.underline, c.byte);
    ScrivaSetStrike(c.flag);
    EXPECT_EQ(r.strikeOut, c.byte);
    ScrivaSetTransparent(c.flag);
    EXPECT_EQ(r.transparent, c.byte);
    ScrivaSetAntialiased(c.flag);
    EXPECT_EQ(r.antialiased, c.byte);
    ScrivaSafeDC(c.flag);
    EXPECT_EQ(r.safeDC, c.byte);
    ScrivaSetFillParameter(7, -8, c.flag);
    EXPECT_EQ(r.fillInverse, c.byte);
  }
  EXPECT_EQ(r.fillParam1, 7);
  EXPECT_EQ(r.fillParam2, -8);
  ScrivaSetItalic(-1);
  EXPECT_TRUE(r.MakeFont(0, false).italic);
  // The filled text is bold whatever the setting.
  ScrivaSetBold(0);
  EXPECT_EQ(r.MakeFont(0, true).weight, 700);
}

TEST(TextRendererState, MarginKeepsOneAndMore) {
  pv::TextRenderer& r = pv::TheTextRenderer();
  ScrivaSetMargin(4);
  ScrivaSetMargin(0);
  EXPECT_EQ(r.margin, 4);
  ScrivaSetMargin(-3);
  EXPECT_EQ(r.margin, 4);
  ScrivaSetMargin(1);
  EXPECT_EQ(r.margin, 1);
}

TEST(TextRendererState, ColoursAndInterline) {
  pv::TextRenderer& r = pv::TheTextRenderer();
  ScrivaSetForeColor(0x00123456);
  ScrivaSetBackColor(0x00ABCDEF);
  ScrivaSetInterline(1.9);
  EXPECT_EQ(r.foreColor, 0x00123456u);
  EXPECT_EQ(r.backColor, 0x00ABCDEFu);
  EXPECT_EQ(r.interline, 1.9);
}

TEST(TextRendererState, FaceNameIsCutAtThirtyOneCharacters) {
  pv::TextRenderer& r = pv::TheTextRenderer();
  const std::string exact(31, 'a');
  ScrivaFontName(exact.c_str());
  EXPECT_EQ(r.faceName, QString::fromStdString(exact));
  ScrivaFontName((exact + "bcd").c_str());
  EXPECT_EQ(r.faceName, QString::fromStdString(exact));
  // Characters, not bytes: 40 two-byte characters keep 31 of them.
  std::string accented;
  for (int i = 0; i < 40; ++i) accented += "\xc3\xa8";
  ScrivaFontName(accented.c_str());
  EXPECT_EQ(r.faceName, QString(31, QChar(0xE8)));
  ScrivaFontName("Liberation Sans");
  EXPECT_EQ(r.faceName, QStringLiteral("Liberation Sans"));
}

TEST(TextRendererState, EscapementIsTheAngleInWholeDegrees) {
  const pv::TextRenderer r;
  const struct {
    double angle;
    std::int32_t tenths;
  } cases[] = {{90.0, 900}, {45.7, 450}, {-45.7, -450}, {0.4, 0}};
  for (const auto& c : cases) {
    const pv::Font f = r.MakeFont(c.angle, false);
    EXPECT_EQ(f.escapement, c.tenths) << c.angle;
    EXPECT_EQ(f.orientation, c.tenths) << c.angle;
  }
}

struct RotateCase {
  std::int32_t x, y;
  double angle;
  std::int32_t ex, ey;
};

TEST(TextRendererRotate, RoundsHalvesUpAndTruncatesNegatives) {
  const RotateCase cases[] = {
      {10, 0, -90.0, 0, -10},  // drawing at 90: 10 right of the centre turns to 10 above it
      {10, 0, 90.0, 0, 10},
      {0, 10, 90.0, -10, 0},
      {10, 0, 180.0, -10, 0},
      {5, 0, 60.0, 3, 4},                // 2.5 gives 3; 4.33 gives 4
      {-5, 0, 60.0, -2, -4},             // -2.5 gives -2; -4.33 gives -4
      {-1, 0, 53.13010235415598, 0, 0},  // -0.6 gives 0; -0.8 gives 0
      {7, -3, 0.0, 7, -3},
  };
  for (const RotateCase& c : cases) {
    std::int32_t x = 100 + c.x, y = 200 + c.y;
    pv::TextRenderer::RotatePoint(100, 200, x, y, c.angle);
    EXPECT_EQ(x - 100, c.ex) << c.x << "," << c.y << " by " << c.angle;
    EXPECT_EQ(y - 200, c.ey) << c.x << "," << c.y << " by " << c.angle;
  }
}

TEST(TextRendererRotate, ExtremeValuesSaturateAtTheLongRange) {
  // Offsets of up to 2^32 turned by 45 degrees reach about 6.07e9: each
  // result stops at the end of the range on the side the point went to.
  const struct {
    std::int32_t cx, cy, x, y;
    double angle;
    std::int32_t ex, ey;
  } cases[] = {
      {INT32_MIN, INT32_MAX, INT32_MAX, INT32_MIN, 45.0, INT32_MAX, INT32_MAX},
      {INT32_MAX, INT32_MIN, INT32_MIN, INT32_MAX, 45.0, INT32_MIN, INT32_MIN},
      {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, 180.0, INT32_MIN, INT32_MIN},
      {INT32_MIN, 0, INT32_MAX, 0, 90.0, INT32_MIN, INT32_MAX},
  };
  for (const auto& c : cases) {
    std::int32_t x = c.x, y = c.y;
    pv::TextRenderer::RotatePoint(c.cx, c.cy, x, y, c.angle);
    EXPECT_EQ(x, c.ex) << c.cx << "," << c.cy << " by " << c.angle;
    EXPECT_EQ(y, c.ey) << c.cx << "," << c.cy << " by " << c.angle;
  }
  std::int32_t x = 5, y = 5;
  pv::TextRenderer::RotatePoint(0, 0, x, y, std::numeric_limits<double>::quiet_NaN());
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);
}

}  // namespace
