// The page preview surface: sheet layout in the control, defaults, font
// ratio, shadow, and the page drawn through it.
#include "tests/printing/printfixture.h"
#include "printing/fieldvalue.h"
#include "printing/panel/preview.h"

#include <QImage>

namespace {

class PreviewTest : public printtest::PrintTest {};

TEST_F(PreviewTest, SheetIsScaledToFitAndCentred) {
  pv::PrintPreview preview;
  // Before PreparePrinting: A4 portrait at 300 dpi.
  const pv::PreviewSheet defaults = preview.Geometry();
  EXPECT_EQ(defaults.PageWidth, 210);
  EXPECT_EQ(defaults.PageHeight, 297);
  EXPECT_EQ(defaults.PrinterResX, 300);
  EXPECT_EQ(defaults.PrinterResY, 300);
  const struct {
    int w, h;
    double pw, ph;
    QRect sheet;
  } cases[] = {
      {500, 800, 210, 297, QRect(23, 79, 455, 643)},
      {1100, 297, 210, 297, QRect(455, 14, 191, 270)},
      {800, 500, 297, 210, QRect(79, 23, 643, 455)},
  };
  for (const auto& c : cases) {
    preview.resize(c.w, c.h);
    preview.PreparePrinting(c.pw, c.ph, 600, 600);
    EXPECT_EQ(preview.Sheet()->geometry(), c.sheet) << c.w << "x" << c.h;
  }
  EXPECT_EQ(preview.Geometry().PrinterResX, 600);
  // A page of no size leaves the sheet where it was; nothing divides by it.
  const QRect before = preview.Sheet()->geometry();
  preview.PreparePrinting(0, 0, 600, 600);
  EXPECT_EQ(preview.Sheet()->geometry(), before);
  EXPECT_EQ(preview.GetX(1000), 0);
  EXPECT_EQ(preview.GetY(1000), 0);
  // SetScaleMode changes nothing.
  preview.PreparePrinting(210, 297, 300, 300);
  const QRect sheet = preview.Sheet()->geometry();
  EXPECT_EQ(preview.SetScaleMode(3), 0);
  EXPECT_EQ(preview.Sheet()->geometry(), sheet);
  EXPECT_EQ(preview.ScaleMode().toInt(), 1);
  std::int32_t x = 2480, y = 0;
  preview.GetPoint(x, y);
  EXPECT_NEAR(x, sheet.width(), 1);
  EXPECT_EQ(y, 0);
}

TEST_F(PreviewTest, PaintRaisesDrawSetsTheFontRatioAndDrawsTheShadow) {
  pv::PrintPreview preview;
  preview.resize(500, 800);
  preview.PreparePrinting(210, 297, 300, 300);
  EXPECT_EQ(preview.OCXFontRatio, 0.0f);
  int draws = 0;
  QObject::connect(&preview, &pv::PrintPreview::Draw, [&draws](pv::DeviceContext* hdc) {
    ++draws;
    pv::FillRect(hdc, pv::Rect{10, 10, 20, 20}, pv::Rgb(0, 0, 0));
  });
  const QImage img = preview.grab().toImage();
  EXPECT_GE(draws, 1);
  const QRect s = preview.Sheet()->geometry();
  EXPECT_FLOAT_EQ(preview.OCXFontRatio, float(s.height() * 25.4 / 297 / 72));
  EXPECT_EQ(QColor(img.pixel(s.left() + 15, s.top() + 15)), QColor(0, 0, 0));
  EXPECT_EQ(QColor(img.pixel(s.left() + 100, s.top() + 100)), QColor(255, 255, 255));
  const QColor shadow(100, 100, 100);
  EXPECT_EQ(QColor(img.pixel(s.right() + 1, s.top() + 3)), shadow);
  EXPECT_EQ(QColor(img.pixel(s.right() + 1, s.bottom() + 1)), shadow);
  EXPECT_EQ(QColor(img.pixel(s.left() + 3, s.bottom() + 1)), shadow);
  EXPECT_NE(QColor(img.pixel(s.right() + 1, s.top() + 1)), shadow);
  EXPECT_NE(QColor(img.pixel(s.left() + 1, s.bottom() + 1)), shadow);
  EXPECT_NE(QColor(img.pixel(s.right() + 2, s.top() + 50)), shadow);
}

TEST_F(PreviewTest, PreviewControlsDrawTheEnginePageAndServeTheFontRatio) {
  TwoByTwo();
  SolidBackground();
  pv::PrintPreview preview;
  preview.resize(660, 385);  // the 60 x 35 mm sheet at 10 pixels a millimetre
  pv::PreviewControls previewControls(&preview);
  pv::SetPrintPanelControls(&previewControls);
  previewControls.PreparePrinting(60, 35, 254, 254);
  const QImage img = preview.grab().toImage();
  const QRect s = preview.Sheet()->geometry();
  ASSERT_EQ(s.size(), QSize(600, 350));
  EXPECT_EQ(qGray(img.pixel(s.left() + 150, s.top() + 100)), 0);    // inside label 1
  EXPECT_EQ(qGray(img.pixel(s.left() + 275, s.top() + 100)), 255);  // between labels
  EXPECT_GT(previewControls.OCXFontRatio(), 0.0f);
  EXPECT_EQ(previewControls.PreviewGeometry().WidthPx, 600);
  // The label drawing scales the preview's fonts by it and is given the
  // run's field values: none without a merge source.
  EXPECT_EQ(previewControls.OCXFontRatio(), preview.OCXFontRatio);
  const QString field = QStringLiteral("Name");
  EXPECT_EQ(pv::PrintRun().FieldValues().Value(field, QString()), QString());
  pv::ProgramSettings().PrintFieldCode = 1;
  EXPECT_EQ(pv::PrintRun().FieldValues().Value(field, QString()), QStringLiteral("Name"));
  pv::SetPrintPanelControls(&controls);
}

}  // namespace
