// The wizard's cells drawn offscreen: the card's label drawing at its
// computed place and scale, its face, outline and shadow, the template card's
// lines, and the picture and border cells.
#include "formats/wizardcells.h"
#include "render/libraries.h"
#include "tests/support/app_fixture.h"
#include "tests/support/pixels.h"

#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using pv::test::CountPixels;
using pv::test::EveryPixel;
using pv::test::Exactly;

constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kYellow = qRgb(255, 255, 192);
constexpr QRgb kFace = qRgb(225, 225, 225);
constexpr QRgb kFrame = qRgb(220, 220, 220);
// Red text, smoothed at its edges.
bool Reddish(QRgb p) { return qRed(p) > 180 && qGreen(p) < 110 && qBlue(p) < 110; }

class WizardCells : public pv::test::AppFixture {};

TEST_F(WizardCells, TheLabelIsDrawnAtTwoThirdsOfAPixelPerMillimetreOrHalfThat) {
  struct Case {
    double width, height;
    int w, h;
  };
  const Case cases[] = {
      {100, 50, 34, 17},                         // 33.67 and 16.84
      {99.1, 38.1, 33, 13}, {210, 140, 36, 24},  // 71 x 47 halved: 35.5 and 23.5 go to the even 36 and 24
      {1400, 50, 236, 8},                        // 471 wide: halved by the width alone (17 -> 8.5 -> 8)
      {130, 134, 22, 22},                        // h = 45: halved (43.77 -> 44 -> 22; 45 -> 22.5 -> 22)
      {60, 60, 20, 20},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.width);
    const pv::CardLabel g = pv::CardLabelGeometry(c.width, c.height, 10, 20);
    EXPECT_EQ(g.CX, 70);
    EXPECT_EQ(g.CY, 125);
    EXPECT_EQ(g.w, c.w);
    EXPECT_EQ(g.h, c.h);
  }
}

QImage Card(int mode, double width, double height, int X1 = 10, int Y1 = 10, int surfaceWidth = 400);

TEST_F(WizardCells, TheLabelsFaceFillsItsComputedRectangle) {
  const double sizes[][2] = {{100, 50}, {99.1, 38.1}, {210, 140}, {130, 134}, {60, 60}, {52.5, 29.7}};
  for (const auto& size : sizes) {
    SCOPED_TRACE(size[0]);
    const pv::CardLabel g = pv::CardLabelGeometry(size[0], size[1], 10, 10);
    const QImage img = Card(1, size[0], size[1]);
    // Inside the cell only the label's face is white: within its outline.
    const QRect face = pv::test::PixelBounds(img, QRect(11, 60, 140, 109), Exactly(kWhite));
    EXPECT_EQ(face, QRect(QPoint(g.CX - g.w + 1, g.CY - g.h + 1), QPoint(g.CX + g.w - 1, g.CY + g.h - 1)));
  }
}

QImage Card(int mode, double width, double height, int X1, int Y1, int surfaceWidth) {
  pv::ImageSurface s(surfaceWidth, 200);
  pv::ModelEntry e;
  e.DimText = QStringLiteral("100 x 50");
  e.Description = QStringLiteral("Indirizzo");
  e.printer = QStringLiteral("Generica");
  e.Codes = QStringLiteral("A, B, C");
  e.Width = width;
  e.Height = height;
  pv::PaintModelCard(s.dc(), mode, e, X1, Y1, X1 + 360, Y1 + 160);
  return s.finish().convertToFormat(QImage::Format_RGB32);
}

TEST_F(WizardCells, ASizeCardHasItsFaceOutlineLabelAndShadow) {
  const QImage img = Card(1, 100, 50);
  const int CX = 70, CY = 115, w = 34, h = 17;
  // Cell: grey face, black outline on its edge pixels.
  EXPECT_EQ(img.pixel(60, 165), kFace);
  EXPECT_TRUE(EveryPixel(img, QRect(10, 10, 1, 160), Exactly(kBlack)));
  EXPECT_TRUE(EveryPixel(img, QRect(369, 10, 1, 160), Exactly(kBlack)));
  EXPECT_TRUE(EveryPixel(img, QRect(10, 169, 360, 1), Exactly(kBlack)));
  EXPECT_EQ(img.pixel(370, 80), kWhite);
  // The label: white inside a black outline from (CX - w, CY - h) to (CX + w, CY + h).
  EXPECT_TRUE(EveryPixel(img, QRect(CX - w + 1, CY - h + 1, 2 * w - 1, 2 * h - 1), Exactly(kWhite)));
  EXPECT_TRUE(EveryPixel(img, QRect(CX - w, CY - h, 2 * w + 1, 1), Exactly(kBlack)));
  EXPECT_TRUE(EveryPixel(img, QRect(CX + w, CY - h, 1, 2 * h + 1), Exactly(kBlack)));
  // The shadow: one line under it from x + 2, one at its right from y + 2.
  EXPECT_TRUE(EveryPixel(img, QRect(CX - w + 2, CY + h + 1, 2 * w, 1), Exactly(kBlack)));
  EXPECT_TRUE(EveryPixel(img, QRect(CX + w + 1, CY - h + 2, 1, 2 * h), Exactly(kBlack)));
  EXPECT_EQ(img.pixel(CX - w + 1, CY + h + 1), kFace);
  EXPECT_EQ(img.pixel(CX + w + 1, CY - h + 1), kFace);
  // The captions in black, the size text in red.
  EXPECT_GT(CountPixels(img, QRect(13, 13, 130, 60), Exactly(kBlack)), 100);
  EXPECT_GT(CountPixels(img, QRect(160, 13, 200, 14), &Reddish), 10);
}

TEST_F(WizardCells, ATemplateCardHasAYellowLabelWithThreeLinesAndTheMergeNote) {
  const QImage img = Card(2, 100, 50);
  const int CX = 70, CY = 115, w = 34, h = 17;
  EXPECT_EQ(img.pixel(CX - w + 2, CY - h + 2), kYellow);
  const int y1 = CY - h + 7, y2 = CY - h + 14, y3 = CY - h + 20;  // 6.8, 13.6, 20.4 rounded
  EXPECT_TRUE(EveryPixel(img, QRect(CX - w + 5, y1, w - 4, 1), Exactly(kBlack)));
  EXPECT_EQ(img.pixel(CX + 1, y1), kYellow);  // the first line is the short one
  EXPECT_TRUE(EveryPixel(img, QRect(CX - w + 5, y2, 2 * w - 9, 1), Exactly(kBlack)));
  EXPECT_TRUE(EveryPixel(img, QRect(CX - w + 5, y3, 2 * w - 9, 1), Exactly(kBlack)));
  // The rule from X1 + 150 to X2 - 20 on the label's centre line, the note in red below it.
  EXPECT_TRUE(EveryPixel(img, QRect(160, CY, 191, 1), Exactly(kBlack)));
  EXPECT_EQ(img.pixel(352, CY), kFace);
  EXPECT_GT(CountPixels(img, QRect(160, CY + 1, 180, 59), &Reddish), 20);
}

TEST_F(WizardCells, AWideLabelReachesPastTheCellUnclipped) {
  const QImage img = Card(1, 1400, 50, 400, 10, 1000);
  // CX = 460, w = 236: the face starts at 224, far left of the cell at 400.
  EXPECT_EQ(img.pixel(224, 115), kBlack);
  EXPECT_EQ(img.pixel(300, 115), kWhite);
  EXPECT_EQ(img.pixel(223, 115), kWhite);  // the surface itself
  EXPECT_EQ(img.pixel(300, 107), kBlack);  // top edge at CY - 8
}

TEST_F(WizardCells, ABackgroundFillsItsCellUnderAPaleOutline) {
  QTemporaryDir dir;
  QImage picture(20, 10, QImage::Format_RGB32);
  picture.fill(qRgb(0, 0, 200));
  const QString file = dir.filePath(QStringLiteral("fondo.bmp"));
  ASSERT_TRUE(picture.save(file));
  pv::BackgroundThumbnails thumbnails;
  QImage drawn[2];
  for (int pass = 0; pass < 2; ++pass) {
    SCOPED_TRACE(pass);
    pv::ImageSurface s(200, 120);
    pv::PaintBackgroundCell(s.dc(), QStringLiteral("  ") + file + QStringLiteral("  "), 20, 20, 160, 100,
                            pass == 0 ? nullptr : &thumbnails);
    const QImage& img = drawn[pass] = s.finish().convertToFormat(QImage::Format_RGB32);
    EXPECT_TRUE(EveryPixel(img, QRect(21, 21, 138, 78), Exactly(qRgb(0, 0, 200))));
    EXPECT_TRUE(EveryPixel(img, QRect(20, 20, 140, 1), Exactly(kFrame)));
    EXPECT_TRUE(EveryPixel(img, QRect(159, 20, 1, 80), Exactly(kFrame)));
    EXPECT_EQ(img.pixel(160, 50), kWhite);
    EXPECT_EQ(img.pixel(19, 50), kWhite);
  }
  // The copy kept for repaints draws what the picture itself draws.
  EXPECT_EQ(drawn[0], drawn[1]);
}

TEST_F(WizardCells, ABorderIsPlayedTwoPixelsInsideItsCell) {
  class Recorder : public pv::RenderLibraries {
   public:
    void PictorRenderMetaFile(pv::DeviceContext* dc, const pv::Rect* rect, const char* fileName) override {
      played = *rect;
      file = QString::fromUtf8(fileName);
      pv::FillRect(dc, *rect, pv::Rgb(0, 128, 0));
    }
    pv::Rect played;
    QString file;
  } libraries;
  pv::SetRenderLibraries(&libraries);
  pv::ImageSurface s(200, 120);
  pv::PaintBorderCell(s.dc(), QStringLiteral("/b/cornice.emf "), 20, 20, 160, 100);
  const QImage img = s.finish().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(libraries.file, QStringLiteral("/b/cornice.emf"));
  EXPECT_EQ(libraries.played.left, 22);
  EXPECT_EQ(libraries.played.top, 22);
  EXPECT_EQ(libraries.played.right, 158);
  EXPECT_EQ(libraries.played.bottom, 98);
  EXPECT_TRUE(EveryPixel(img, QRect(20, 20, 140, 1), Exactly(kFrame)));
  EXPECT_TRUE(EveryPixel(img, QRect(20, 99, 140, 1), Exactly(kFrame)));
  EXPECT_EQ(img.pixel(21, 50), kWhite);  // the gap between the art and the outline
  EXPECT_EQ(img.pixel(22, 50), qRgb(0, 128, 0));
  pv::SetRenderLibraries(nullptr);
}

}  // namespace
