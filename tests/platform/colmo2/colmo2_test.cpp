// Colmo2: gradients, textures, the FillStyleCode fills and the bitmap
// painter, drawn into images and read back.

#include "platform/colmo2/colmo2.h"
#include "platform/dc.h"
#include "tests/support/app_fixture.h"

#include <QCryptographicHash>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <set>

using namespace pv;

namespace {

void EnsureApp() { pv::test::EnsureGuiApplication(); }

constexpr Colour kWhite = Rgb(255, 255, 255);
constexpr Colour kRed = Rgb(255, 0, 0);
constexpr Colour kBlue = Rgb(0, 0, 255);

Colour At(const QImage& img, int x, int y) { return FromQColor(img.pixelColor(x, y)); }

// How close a pixel is to colour a rather than b: 0 at a, 1 at b.
double Between(Colour p, Colour a, Colour b) {
  double num = 0, den = 0;
  const int pc[3] = {ColourRed(p), ColourGreen(p), ColourBlue(p)};
  const int ac[3] = {ColourRed(a), ColourGreen(a), ColourBlue(a)};
  const int bc[3] = {ColourRed(b), ColourGreen(b), ColourBlue(b)};
  for (int i = 0; i < 3; ++i) {
    num += (pc[i] - ac[i]) * static_cast<double>(bc[i] - ac[i]);
    den += (bc[i] - ac[i]) * static_cast<double>(bc[i] - ac[i]);
  }
  return den > 0 ? num / den : 0;
}

QByteArray Digest(const QImage& img) {
  const QImage c = img.convertToFormat(QImage::Format_RGB32);
  return QCryptographicHash::hash(
      QByteArrayView(reinterpret_cast<const char*>(c.constBits()), static_cast<qsizetype>(c.sizeInBytes())),
      QCryptographicHash::Sha1);
}

class Colmo : public ::testing::Test {
 protected:
  void SetUp() override { EnsureApp(); }
};

TEST_F(Colmo, GradientsRunFromColourOneToColourTwo) {
  struct P {
    double x, y;  // fractions of the box
  };
  struct Case {
    int type;
    P first, second;  // where colour 1 and colour 2 show
    P middle;         // between them
  } cases[] = {
      {100, {0.01, 0.5}, {0.99, 0.5}, {0.5, 0.5}},   {101, {0.5, 0.01}, {0.5, 0.99}, {0.5, 0.5}},
      {102, {0.01, 0.01}, {0.99, 0.99}, {0.5, 0.5}}, {104, {0.5, 0.5}, {0.99, 0.99}, {0.75, 0.75}},
      {105, {0.5, 0.5}, {0.99, 0.5}, {0.75, 0.5}},   {106, {0.5, 0.5}, {0.5, 0.01}, {0.5, 0.25}},
      {777, {0.01, 0.5}, {0.99, 0.5}, {0.5, 0.5}},  // unknown: horizontal
  };
  for (const Case& c : cases) {
    ImageSurface s(220, 120);
    const Rect r{10, 10, 210, 110};
    ColmoGradient(s.dc(), kRed, kBlue, &r, c.type, 0, 0, 100);
    const QImage img = s.finish();
    auto at = [&](P p) { return At(img, 10 + static_cast<int>(p.x * 200), 10 + static_cast<int>(p.y * 100)); };
    EXPECT_LT(Between(at(c.first), kRed, kBlue), 0.08) << c.type;
    EXPECT_GT(Between(at(c.second), kRed, kBlue), 0.85) << c.type;
    const double mid = Between(at(c.middle), kRed, kBlue);
    EXPECT_GT(mid, 0.2) << c.type;
    EXPECT_LT(mid, 0.8) << c.type;
    EXPECT_EQ(At(img, 5, 5), kWhite) << c.type;
    EXPECT_EQ(At(img, 212, 112), kWhite) << c.type;
  }
}

TEST_F(Colmo, OneColourGradientFadesToALightTintOfColourOne) {
  ImageSurface s(200, 20);
  const Rect r{0, 0, 200, 20};
  ColmoGradient(s.dc(), Rgb(0, 0, 200), kRed, &r, 100, 0, 1, 100);
  const QImage img = s.finish();
  const Colour end = At(img, 199, 10);
  EXPECT_LT(ColourRed(end), ColourBlue(end));  // no trace of colour 2
  EXPECT_GT(ColourBlue(end), 220);
  EXPECT_GT(ColourRed(end), 180);
  EXPECT_EQ(ColourBlue(At(img, 0, 10)) <= 205, true);
}

// On a picture, every gradient, opaque and translucent over black, gives the
// colours its image works out pixel by pixel (however the fill reaches the
// pixels: a gradient, a row of pixels repeated, parts cut along the
// diagonals, bands of rows); only the rectangular one's diagonal seam may
// differ a little where its translucent parts meet.
TEST_F(Colmo, GradientsOnAPictureGiveTheColoursOfTheirImage) {
  constexpr int kW = 600, kH = 400;
  const Colour c1 = Rgb(250, 220, 40), c2 = Rgb(20, 60, 160);
  for (int type = 100; type <= 106; ++type) {
    for (const int opacity : {100, 40}) {
      ImageSurface s(kW, kH, 96, 96, Rgb(0, 0, 0));
      const Rect r{0, 0, kW, kH};
      ColmoGradient(s.dc(), c1, c2, &r, type, 0, 0, opacity);
      const QImage got = s.finish().convertToFormat(QImage::Format_RGB32);
      const QImage want = colmo::GradientImage(c1, c2, kW, kH, type, false);
      const double f = opacity / 100.0;
      double sum = 0;
      int worst = 0;
      for (int y = 0; y < kH; ++y) {
        const QRgb* a = reinterpret_cast<const QRgb*>(got.constScanLine(y));
        const QRgb* b = reinterpret_cast<const QRgb*>(want.constScanLine(y));
        for (int x = 0; x < kW; ++x) {
          const int d = std::max({std::abs(qRed(a[x]) - int(std::lround(qRed(b[x]) * f))),
                                  std::abs(qGreen(a[x]) - int(std::lround(qGreen(b[x]) * f))),
                                  std::abs(qBlue(a[x]) - int(std::lround(qBlue(b[x]) * f)))});
          sum += d;
          worst = std::max(worst, d);
        }
      }
      EXPECT_LT(sum / (kW * kH), 1.5) << type << " at " << opacity;
      EXPECT_LE(worst, type == 105 && opacity < 100 ? 24 : 8) << type << " at " << opacity;
    }
  }
}

TEST_F(Colmo, GradientImageMatchesItsEnds) {
  const QImage g = colmo::GradientImage(kRed, kBlue, 100, 10, 100, false);
  ASSERT_FALSE(g.isNull());
  EXPECT_LT(Between(At(g, 0, 5), kRed, kBlue), 0.02);
  EXPECT_GT(Between(At(g, 99, 5), kRed, kBlue), 0.98);
  EXPECT_TRUE(colmo::GradientImage(kRed, kBlue, 0, 10, 100, false).isNull());
}

TEST_F(Colmo, TexturesAreDeterministicVariedAndDistinct) {
  std::set<QByteArray> digests;
  for (int t = 1; t <= colmo::TextureCount; ++t) {
    const QImage a = colmo::TextureImage(t, 96, 96, 96);
    const QImage b = colmo::TextureImage(t, 96, 96, 96);
    ASSERT_FALSE(a.isNull()) << t;
    EXPECT_EQ(a, b) << t;
    // Not a flat colour: some spread of brightness.
    int lo = 255, hi = 0;
    for (int y = 0; y < 96; y += 3)
      for (int x = 0; x < 96; x += 3) {
        const int g = qGray(a.pixel(x, y));
        lo = std::min(lo, g);
        hi = std::max(hi, g);
      }
    EXPECT_GT(hi - lo, 8) << t;
    digests.insert(Digest(a));
  }
  EXPECT_EQ(digests.size(), static_cast<std::size_t>(colmo::TextureCount));
}

TEST_F(Colmo, TexturesTileWithoutSeams) {
  // Across the tile's edge the picture changes no more than inside it.
  for (int t : {1, 8, 22, 50, 99, 113}) {
    const QImage img = colmo::TextureImage(t, 256, 8, 96);  // tile 128 px wide
    auto step = [&](int x) {
      const QRgb a = img.pixel(x, 4), b = img.pixel(x + 1, 4);
      return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
    };
    double inside = 0;
    for (int x = 100; x < 120; ++x) inside += step(x);
    inside /= 20;
    EXPECT_LE(step(127), std::max(60.0, 4 * inside + 30)) << t;
  }
}

TEST_F(Colmo, TextureFillIsTheSameOnEveryCall) {
  auto draw = [](int texture) {
    ImageSurface s(120, 80);
    const Rect r{10, 10, 110, 70};
    ColmoTexture(s.dc(), &r, texture, 100);
    return s.finish();
  };
  const QImage a = draw(42);
  EXPECT_EQ(a, draw(42));
  EXPECT_NE(a, draw(43));
  EXPECT_EQ(At(a, 5, 5), kWhite);
  EXPECT_NE(At(a, 60, 40), kWhite);
  // Numbers outside 1-113 still draw a texture.
  EXPECT_EQ(draw(114), draw(1));
  EXPECT_NE(At(draw(0), 60, 40), kWhite);
  EXPECT_NE(At(draw(-5), 60, 40), kWhite);
}

TEST_F(Colmo, OpacityBlendsTextureAndGradient) {
  ImageSurface s(100, 20, 96, 96, Rgb(0, 0, 0));
  const Rect left{0, 0, 50, 20}, right{50, 0, 100, 20};
  ColmoGradient(s.dc(), kWhite, kWhite, &left, 100, 0, 0, 50);
  ColmoGradient(s.dc(), kWhite, kWhite, &right, 100, 0, 0, 0);
  const QImage img = s.finish();
  EXPECT_NEAR(ColourRed(At(img, 25, 10)), 128, 2);
  EXPECT_EQ(At(img, 75, 10), kWhite);
}

TEST_F(Colmo, EveryFillStyleCodePaintsOnlyInsideItsPath) {
  for (int code = 0; code <= 152; ++code) {
    ImageSurface s(60, 60);
    QPainterPath p;
    p.addEllipse(QRectF(10, 10, 40, 40));
    colmo::FillDevicePathStyle(s.dc(), p, QRectF(10, 10, 40, 40), 30.0, code, kRed, kBlue, 100);
    const QImage img = s.finish();
    const bool paints = code >= 1 && code <= 151;
    EXPECT_EQ(At(img, 30, 30) != kWhite || At(img, 31, 31) != kWhite || At(img, 29, 33) != kWhite, paints) << code;
    EXPECT_EQ(At(img, 12, 12), kWhite) << code;
    EXPECT_EQ(At(img, 55, 30), kWhite) << code;
  }
}

TEST_F(Colmo, FillsKeepToTheClip) {
  ImageSurface s(100, 100);
  const Region clip = Region::FromRect(Rect{0, 0, 50, 100});
  SelectClipRegion(s.dc(), &clip);
  const Rect r{0, 0, 100, 100};
  ColmoTexture(s.dc(), &r, 7, 100);
  ColmoGradient(s.dc(), kRed, kBlue, &r, 104, 0, 0, 100);
  const QImage img = s.finish();
  EXPECT_NE(At(img, 49, 50), kWhite);
  EXPECT_EQ(At(img, 50, 50), kWhite);
}

TEST_F(Colmo, BitmapPainterStretchesAndKeysOutAColour) {
  QImage bmp(4, 2, QImage::Format_RGB32);
  bmp.fill(qRgb(0, 0, 255));
  bmp.setPixel(0, 0, qRgb(255, 0, 0));
  ImageSurface s(100, 100);
  SetStretchMode(s.dc(), StretchMode::ColorOnColor);
  const Rect place{0, 0, 40, 20};
  const Size size{4, 2};
  ColmoBitmap(s.dc(), &place, &bmp, &size, -1, 0, 0);
  const Rect place2{50, 50, 90, 70};
  ColmoBitmap(s.dc(), &place2, &bmp, nullptr, static_cast<std::int32_t>(kRed), 100, 0);
  const Size half{2, 2};
  const Rect place3{0, 50, 40, 90};
  ColmoBitmap(s.dc(), &place3, &bmp, &half, -1, 100, 0);
  // Null and empty input.
  ColmoBitmap(s.dc(), &place, nullptr, &size, -1, 0, 0);
  ColmoBitmap(nullptr, &place, &bmp, &size, -1, 0, 0);
  ColmoBitmap(s.dc(), nullptr, &bmp, &size, -1, 0, 0);
  const QImage img = s.finish();
  EXPECT_EQ(At(img, 5, 5), kRed);
  EXPECT_EQ(At(img, 35, 15), kBlue);
  EXPECT_EQ(At(img, 40, 5), kWhite);
  EXPECT_EQ(At(img, 52, 52), kWhite);  // keyed out
  EXPECT_EQ(At(img, 85, 65), kBlue);
  EXPECT_EQ(At(img, 15, 55), kRed);  // the left half, stretched
  EXPECT_EQ(At(img, 35, 85), kBlue);
}

TEST_F(Colmo, FillBrushesPaintWhatTheFillsPaint) {
  // The gradient or texture of ColmoGradient / ColmoTexture as one brush
  // (what a text is written with) gives the same pixels over the same box,
  // on a box that is not at the origin and under a mapping.
  const struct {
    const char* name;
    int type;  // 0: the texture
    int texture;
    bool oneColour;
    int opacity;
  } cases[] = {
      {"horizontal", 100, 0, false, 100},  {"vertical", 101, 0, false, 100},    {"diagonal", 102, 0, false, 100},
      {"diagonal up", 103, 0, false, 100}, {"radial", 104, 0, false, 100},      {"band", 106, 0, false, 100},
      {"unknown", 7, 0, false, 100},       {"one colour", 101, 0, true, 100},   {"translucent", 104, 0, false, 40},
      {"texture", 0, 5, false, 100},       {"texture 113", 0, 113, false, 100},
  };
  const Rect box{7, 5, 117, 65};
  for (int scale : {1, 2}) {
    for (const auto& c : cases) {
      const auto paint = [&](bool brush) {
        ImageSurface s(260, 160, 150, 150);
        SetMapMode(s.dc(), MapMode::Anisotropic);
        SetWindowExt(s.dc(), 1, 1);
        SetViewportExt(s.dc(), scale, scale);
        if (!brush) {
          if (c.type == 0)
            ColmoTexture(s.dc(), &box, c.texture, c.opacity);
          else
            ColmoGradient(s.dc(), kRed, kBlue, &box, c.type, 0, c.oneColour ? 1 : 0, c.opacity);
          return s.finish().convertToFormat(QImage::Format_RGB32);
        }
        QRectF frame;
        EXPECT_TRUE(colmo::DeviceFillFrame(s.dc(), box, &frame));
        const QBrush b = c.type == 0 ? colmo::TextureFillBrush(c.texture, frame, DpiX(s.dc()))
                                     : colmo::GradientFillBrush(kRed, kBlue, frame, c.type, c.oneColour, c.opacity);
        EXPECT_NE(b.style(), Qt::NoBrush) << c.name;
        s.painter()->setOpacity(c.type == 0 ? colmo::OpacityFraction(c.opacity) : 1.0);
        s.painter()->fillRect(frame, b);
        return s.finish().convertToFormat(QImage::Format_RGB32);
      };
      const QImage filled = paint(false), brushed = paint(true);
      int worst = 0;
      for (int y = 0; y < filled.height(); ++y)
        for (int x = 0; x < filled.width(); ++x) {
          const QRgb p = filled.pixel(x, y), q = brushed.pixel(x, y);
          worst = std::max(
              {worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)), std::abs(qBlue(p) - qBlue(q))});
        }
      EXPECT_LE(worst, 2) << c.name << " at scale " << scale;
      EXPECT_NE(Digest(filled), Digest(ImageSurface(260, 160).finish())) << c.name;
    }
  }
  // The rectangular gradient is two gradients, not one brush.
  EXPECT_EQ(colmo::GradientFillBrush(kRed, kBlue, QRectF(0, 0, 50, 50), 105, false, 100).style(), Qt::NoBrush);
  QRectF frame;
  ImageSurface s(20, 20);
  EXPECT_FALSE(colmo::DeviceFillFrame(s.dc(), Rect{5, 5, 5, 9}, &frame));
}

TEST_F(Colmo, BadInputDrawsNothing) {
  ImageSurface s(50, 50);
  const Rect empty{10, 10, 10, 30};
  ColmoGradient(nullptr, kRed, kBlue, &empty, 100, 0, 0, 100);
  ColmoGradient(s.dc(), kRed, kBlue, nullptr, 100, 0, 0, 100);
  ColmoGradient(s.dc(), kRed, kBlue, &empty, 100, 0, 0, 100);
  ColmoTexture(s.dc(), &empty, 3, 100);
  ColmoTexture(s.dc(), nullptr, 3, 100);
  const Rect huge{-2000000000, -2000000000, 2000000000, 2000000000};
  ColmoTexture(s.dc(), &huge, 3, 100);
  EXPECT_TRUE(colmo::TextureImage(5, 0, 0).isNull());
  EXPECT_TRUE(colmo::TextureImage(5, -3, 10).isNull());
  const QImage img = s.finish();
  for (int y = 0; y < 50; ++y)
    for (int x = 0; x < 50; ++x) ASSERT_EQ(At(img, x, y), kWhite);
}

}  // namespace
