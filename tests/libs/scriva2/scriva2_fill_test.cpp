// ScrivaDrawEx: the text as a mask through which a gradient or texture is
// blended by the integer opacity rule, inside or around the glyphs, and
// composited where the target cannot be read back.

#include "test_support.h"

#include "platform/colmo2/colmo2.h"

#include <gtest/gtest.h>

#include <QPainter>

#include <set>

using namespace scriva2_test;

namespace {

constexpr int kW = 400;
constexpr int kH = 200;
const pv::Rect kRect{20, 20, 380, 180};  // shrunk: 21, 21, 379, 179

class Scriva2Fill : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureApp();
    PlainStyle(60);
  }
};

// A background that is not one colour, so that "untouched" means something.
QImage Stripes() {
  QImage image(kW, kH, QImage::Format_ARGB32_Premultiplied);
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) image.setPixel(x, y, ((x / 7 + y / 5) % 2) ? qRgb(250, 240, 10) : qRgb(20, 90, 200));
  return image;
}

// ScrivaDrawEx with a black gradient (fill = black everywhere) on a surface
// with a readable image.
QImage DrawExReadable(const QImage& background, const char* text, int opacity, double angle = 0.0, int texture = 0) {
  pv::ImageSurface s(kW, kH);
  s.painter()->drawImage(0, 0, background);
  pv::Rect r = kRect;
  ScrivaDrawEx(s.dc(), text, &r, angle, 20, 100, texture, opacity);
  return s.finish().convertToFormat(QImage::Format_RGB32);
}

// The same on a context without a readable image (as a printer's).
QImage DrawExUnreadable(const QImage& background, const char* text, int opacity, double angle = 0.0) {
  QImage image = background.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  {
    QPainter painter(&image);
    pv::DeviceContextPtr dc(pv::CreateDeviceContext(&painter, 96, 96, nullptr));
    EXPECT_EQ(pv::BackingImage(dc.get()), nullptr);
    pv::Rect r = kRect;
    ScrivaDrawEx(dc.get(), text, &r, angle, 20, 100, 0, opacity);
    EXPECT_EQ(r.left, kRect.left + 1);
  }
  return image.convertToFormat(QImage::Format_RGB32);
}

QImage White() {
  QImage image(kW, kH, QImage::Format_ARGB32_Premultiplied);
  image.fill(qRgb(255, 255, 255));
  return image;
}

TEST_F(Scriva2Fill, OpacityBlendsByTheIntegerRule) {
  const struct {
    int opacity;
    int channel;
  } cases[] = {
      {50, 127},                    // (0 x 50 + 255 x 50) / 100, truncated
      {30, 178},                    // (0 x 30 + 255 x 70) / 100
      {99, 2},   {100, 0}, {0, 0},  // 0 lays the fill on unblended
      {250, 0},                     // out of range: opaque
  };
  for (const auto& c : cases) {
    const QImage image = DrawExReadable(White(), "Hamburg", c.opacity);
    std::set<QRgb> colours;
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x) colours.insert(image.pixel(x, y));
    // Every glyph pixel, its soft edges included, takes the same blend.
    EXPECT_EQ(colours, (std::set<QRgb>{qRgb(255, 255, 255), qRgb(c.channel, c.channel, c.channel)}))
        << "opacity " << c.opacity;
  }
}

TEST_F(Scriva2Fill, OutsideTheGlyphsTheBackgroundStays) {
  const QImage background = Stripes().convertToFormat(QImage::Format_RGB32);
  const QImage image = DrawExReadable(Stripes(), "Hamburg", 100);
  int changed = 0;
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      if (image.pixel(x, y) == background.pixel(x, y)) continue;
      ++changed;
      ASSERT_EQ(image.pixel(x, y), qRgb(0, 0, 0)) << x << "," << y;
      ASSERT_TRUE(x >= 21 && x < 379 && y >= 21 && y < 179) << x << "," << y;
    }
  EXPECT_GT(changed, 500);
}

TEST_F(Scriva2Fill, InverseFillsAroundTheGlyphs) {
  ScrivaSetFillParameter(0, 0, -1);
  const QImage image = DrawExReadable(White(), "H", 100);
  // The box takes the fill except where the mask is pure white.
  EXPECT_EQ(image.pixel(370, 170), qRgb(0, 0, 0));
  EXPECT_EQ(image.pixel(21, 21), qRgb(0, 0, 0));
  EXPECT_EQ(image.pixel(378, 178), qRgb(0, 0, 0));
  EXPECT_EQ(image.pixel(20, 20), qRgb(255, 255, 255));  // outside the box
  EXPECT_EQ(image.pixel(379, 179), qRgb(255, 255, 255));
  int kept = 0;
  for (int y = 21; y < 179; ++y)
    for (int x = 21; x < 379; ++x) kept += image.pixel(x, y) == qRgb(255, 255, 255);
  EXPECT_GT(kept, 200);  // the inside of the "H"
}

TEST_F(Scriva2Fill, TextureFillsTheGlyphsFromTheBoxCorner) {
  const QImage plain = DrawExReadable(White(), "Hamburg", 100);  // glyphs black
  const QImage textured = DrawExReadable(White(), "Hamburg", 100, 0.0, 5);
  const QImage texture = pv::colmo::TextureImage(5, 358, 158, 96).convertToFormat(QImage::Format_RGB32);
  int glyph = 0;
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      if (plain.pixel(x, y) == qRgb(255, 255, 255)) {
        ASSERT_EQ(textured.pixel(x, y), qRgb(255, 255, 255));
        continue;
      }
      ++glyph;
      ASSERT_EQ(textured.pixel(x, y), texture.pixel(x - 21, y - 21)) << x << "," << y;
    }
  EXPECT_GT(glyph, 500);
}

TEST_F(Scriva2Fill, GradientRunsAcrossTheBox) {
  ScrivaSetForeColor(static_cast<std::int32_t>(pv::Rgb(255, 0, 0)));
  ScrivaSetBackColor(static_cast<std::int32_t>(pv::Rgb(0, 0, 255)));
  ScrivaSetFillParameter(0, 0, -1);  // fill around the glyphs: the box shows the gradient
  const QImage image = DrawExReadable(White(), "", 100);
  EXPECT_GT(qRed(image.pixel(22, 100)), 200);
  EXPECT_GT(qBlue(image.pixel(377, 100)), 200);
}

TEST_F(Scriva2Fill, TurnedFillFollowsTheTurnedLayout) {
  PlainStyle(30);
  ScrivaSetBold(1);  // the filled text is always bold
  const char* text = "Hamburg";
  pv::ImageSurface s(kW, kH);
  pv::Rect r = {120, 0, 280, 200};
  ScrivaDraw(s.dc(), text, &r, 90.0, 20);
  const QRect drawn = InkBox(s.finish());

  pv::ImageSurface t(kW, kH);
  r = {120, 0, 280, 200};
  ScrivaDrawEx(t.dc(), text, &r, 90.0, 20, 100, 0, 100);
  const QRect filled = InkBox(t.finish());
  ASSERT_FALSE(drawn.isNull());
  EXPECT_NEAR(filled.left(), drawn.left(), 1);
  EXPECT_NEAR(filled.right(), drawn.right(), 1);
  EXPECT_NEAR(filled.top(), drawn.top(), 1);
  EXPECT_NEAR(filled.bottom(), drawn.bottom(), 1);
}

TEST_F(Scriva2Fill, UnreadableTargetPaintsOnlyTheGlyphs) {
  const QImage background = Stripes().convertToFormat(QImage::Format_RGB32);
  for (int opacity : {100, 0, 50}) {
    const QImage readable = DrawExReadable(Stripes(), "Hamburg", opacity);
    const QImage printed = DrawExUnreadable(Stripes(), "Hamburg", opacity);
    int untouched = 0, painted = 0;
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x) {
        if (readable.pixel(x, y) == background.pixel(x, y)) {
          // Not a glyph pixel: the printed picture keeps the background.
          ASSERT_EQ(printed.pixel(x, y), background.pixel(x, y)) << opacity << " at " << x << "," << y;
          ++untouched;
        } else if (printed.pixel(x, y) == readable.pixel(x, y)) {
          ++painted;  // inside the glyphs both agree
        }
      }
    EXPECT_GT(untouched, kW * kH / 2) << opacity;
    EXPECT_GT(painted, 500) << opacity;
  }
}

TEST_F(Scriva2Fill, EachCallFillsWithItsOwnSettings) {
  // A box drawn after one with other settings comes out as it does drawn
  // after itself: nothing of the fill before stays behind.
  struct Setting {
    const char* name;
    int fore, back, style, texture, oneColour, opacity;
  };
  const Setting settings[] = {
      {"red to blue", 0x0000FF, 0xFF0000, 100, 0, 0, 100},  {"green to blue", 0x00FF00, 0xFF0000, 100, 0, 0, 100},
      {"red to green", 0x0000FF, 0x00FF00, 100, 0, 0, 100}, {"vertical", 0x0000FF, 0xFF0000, 101, 0, 0, 100},
      {"one colour", 0x0000FF, 0xFF0000, 100, 0, 1, 100},   {"texture", 0x0000FF, 0xFF0000, 100, 5, 0, 100},
      {"texture 9", 0x0000FF, 0xFF0000, 100, 9, 0, 100},    {"translucent", 0x0000FF, 0xFF0000, 100, 0, 0, 40},
  };
  const auto draw = [](const Setting& c) {
    pv::ImageSurface s(kW, kH);
    s.painter()->drawImage(0, 0, Stripes());
    ScrivaSetForeColor(c.fore);
    ScrivaSetBackColor(c.back);
    ScrivaSetFillParameter(0, c.oneColour, 0);
    pv::Rect r = kRect;
    ScrivaDrawEx(s.dc(), "Hamburg", &r, 0.0, 20, c.style, c.texture, c.opacity);
    return s.finish().convertToFormat(QImage::Format_RGB32);
  };
  for (const Setting& c : settings) {
    draw(c);
    const QImage again = draw(c);
    for (const Setting& before : settings) {
      draw(before);
      EXPECT_EQ(draw(c), again) << c.name << " after " << before.name;
    }
  }
}

TEST_F(Scriva2Fill, EmptyBoxDrawsNothing) {
  pv::ImageSurface s(kW, kH);
  pv::Rect r{50, 50, 51, 51};  // nothing left after the margin
  ScrivaDrawEx(s.dc(), "Hamburg", &r, 0.0, 20, 100, 0, 100);
  EXPECT_EQ(r.left, 51);
  EXPECT_EQ(r.right, 50);
  EXPECT_TRUE(InkBox(s.finish()).isNull());
}

}  // namespace
