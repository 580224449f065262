// One sheet drawn into an image: where ink goes, round clips, outlines, the
// printable-area warning, the caption, the stop-page message, SaveData.
#include "printfixture.h"

#include "document/predefinedfields.h"
#include "render/libraries.h"
#include "tests/support/records.h"

#include <QPainterPath>

namespace {

using printtest::ChangeRun;
using printtest::Ink;

class PageDrawTest : public printtest::PrintTest {
 protected:
  // The page drawn for the printer (or the preview) into a white image of
  // 600 x 350 pixels (the sheet at 10 dots a millimetre).
  QImage Draw(bool preview, bool* finished = nullptr) {
    pv::ImageSurface surface(600, 350, 254, 254, pv::Rgb(255, 255, 255), QImage::Format_RGB32);
    const bool ok = pv::PrintRun().PrintPage(surface.dc(), preview);
    if (finished) *finished = ok;
    return surface.finish();
  }
  void UsePreviewSheet() { controls.sheet = pv::PreviewSheet{600, 350, 60, 35, 254, 254}; }
};

// The four label cells, device pixels, both edges inclusive.
const QRect kCells[] = {QRect(QPoint(50, 50), QPoint(250, 150)), QRect(QPoint(300, 50), QPoint(500, 150)),
                        QRect(QPoint(50, 200), QPoint(250, 300)), QRect(QPoint(300, 200), QPoint(500, 300))};

bool InACell(int x, int y) {
  for (const QRect& c : kCells)
    if (c.contains(x, y)) return true;
  return false;
}

TEST_F(PageDrawTest, InkFallsInLabelCellsOnlyOnPrinterAndPreview) {
  TwoByTwo();
  SolidBackground();
  for (bool preview : {false, true}) {
    SCOPED_TRACE(preview);
    UsePreviewSheet();
    const QImage img = Draw(preview);
    int outside = 0;
    for (int y = 0; y < img.height(); y += 2)
      for (int x = 0; x < img.width(); x += 2)
        if (Ink(img, x, y) && !InACell(x, y)) ++outside;
    EXPECT_EQ(outside, 0);
    for (const QRect& c : kCells) EXPECT_TRUE(Ink(img, c.center().x(), c.center().y()));
  }
}

TEST_F(PageDrawTest, OnlyThePositionsInRangePrint) {
  TwoByTwo();
  SolidBackground();
  ChangeRun([&](pv::PrintRunValues& r) {
    r.m_FirstLabel = 2;
    r.m_LastLabel = 3;
    r.m_RangePages = 2;
  });
  const QImage img = Draw(false);
  EXPECT_FALSE(Ink(img, kCells[0].center().x(), kCells[0].center().y()));
  EXPECT_TRUE(Ink(img, kCells[1].center().x(), kCells[1].center().y()));
  EXPECT_TRUE(Ink(img, kCells[2].center().x(), kCells[2].center().y()));
  EXPECT_FALSE(Ink(img, kCells[3].center().x(), kCells[3].center().y()));

  // The printed positions take the running indexes one after the other: a
  // counter field shows 1 and 2 on positions 2 and 3.
  struct Texts : pv::RenderLibraries {
    QStringList drawn;
    void ScrivaDraw(pv::DeviceContext*, const char* text, pv::Rect*, double, std::int32_t) override {
      drawn << QString::fromUtf8(text);
    }
  } texts;
  pv::ObjectRecord counter = pv::test::BoxRecord(pv::UserTypeDatabaseField, 2, 2, 10, 5);
  counter.Content = QString::fromLatin1(pv::kPredefinedCounter);
  pv::test::AppendRecord(counter);
  pv::RenderLibraries* old = pv::SetRenderLibraries(&texts);
  Draw(false);
  pv::SetRenderLibraries(old);
  EXPECT_EQ(texts.drawn, (QStringList{QStringLiteral("1"), QStringLiteral("2")}));
}

TEST_F(PageDrawTest, RoundLabelsLeaveTheCellCornersBlank) {
  TwoByTwo();
  SolidBackground();
  pv::ProgramSettings().PrintCircle = 1;
  for (bool preview : {false, true}) {
    SCOPED_TRACE(preview);
    UsePreviewSheet();
    const QImage img = Draw(preview);
    for (const QRect& c : kCells) {
      EXPECT_TRUE(Ink(img, c.center().x(), c.center().y()));
      EXPECT_FALSE(Ink(img, c.left() + 4, c.top() + 4));
      EXPECT_FALSE(Ink(img, c.right() - 4, c.bottom() - 4));
    }
  }
}

TEST_F(PageDrawTest, OutlineAlwaysInPreviewInPrintOnlyWithPrintBorder) {
  TwoByTwo();  // no background: only outlines can ink
  UsePreviewSheet();
  const struct {
    bool preview;
    pv::VbBool border;
    bool outlined;
  } cases[] = {
      {true, pv::VbFalse, true}, {true, pv::VbTrue, true}, {false, pv::VbFalse, false}, {false, pv::VbTrue, true}};
  for (const auto& c : cases) {
    pv::ProgramSettings().PrintBorder = c.border;
    const QImage img = Draw(c.preview);
    const QRect& cell = kCells[3];
    EXPECT_EQ(Ink(img, cell.left(), cell.center().y()), c.outlined) << c.preview << c.border;
    EXPECT_EQ(Ink(img, cell.center().x(), cell.top()), c.outlined) << c.preview << c.border;
    EXPECT_FALSE(Ink(img, cell.center().x(), cell.center().y()));
  }
}

TEST_F(PageDrawTest, WarningWhenTheLabelsDoNotFitThePrintableAreaMarginsAside) {
  TwoByTwo();  // needs 45 x 25 mm
  ChangeRun([&](pv::PrintRunValues& r) {
    r.m_Format.Sheet.LeftMargin = 500;  // margins never count
    r.m_Format.Sheet.TopMargin = 500;
  });
  const struct {
    int horz, vert;
    bool warned;
  } cases[] = {{45, 25, false}, {44, 25, true}, {45, 24, true}, {210, 297, false}};
  for (const auto& c : cases) {
    pv::ProgramSettings().Printer.HorzSize = c.horz;
    pv::ProgramSettings().Printer.VertSize = c.vert;
    for (bool preview : {false, true}) {
      controls.warnings.clear();
      Draw(preview);
      ASSERT_EQ(controls.warnings.size(), 1u);
      EXPECT_EQ(controls.warnings.back(), c.warned) << c.horz << "x" << c.vert;
    }
  }
}

TEST_F(PageDrawTest, CaptionStopMessageAndOneSaveDataPerPage) {
  TwoByTwo();
  SolidBackground();
  ChangeRun([&](pv::PrintRunValues& r) { r.m_PageCount = 3; });
  pv::PrintRun().SetPageNumber(2);
  pv::ProgramSettings().PrintStopPage = pv::VbTrue;
  Draw(true);
  EXPECT_EQ(Count16200(), 0);  // never in the preview
  EXPECT_EQ(editor.saves, 1);
  ASSERT_EQ(controls.pageCaptions.size(), 1u);
  EXPECT_EQ(controls.pageCaptions.back().toStdString(), "Numero di pagine: 2 di  3");
  Draw(false);
  EXPECT_EQ(Count16200(), 1);
  EXPECT_EQ(boxes.back().icon, pv::MsgIcon::Information);
  EXPECT_EQ(editor.saves, 2);
  pv::ProgramSettings().PrintStopPage = pv::VbFalse;
  Draw(false);
  EXPECT_EQ(Count16200(), 1);
}

TEST_F(PageDrawTest, NoSheetOrNoResolutionDrawsNothingAndNeverThrows) {
  TwoByTwo();
  SolidBackground();
  controls.sheet = pv::PreviewSheet{600, 350, 0, 0, 254, 254};
  bool finished = false;
  QImage img = Draw(true, &finished);
  EXPECT_TRUE(finished);
  EXPECT_FALSE(Ink(img, kCells[0].center().x(), kCells[0].center().y()));
  // A preview sheet so small that labels round to nothing.
  controls.sheet = pv::PreviewSheet{3, 2, 60, 35, 254, 254};
  img = Draw(true, &finished);
  EXPECT_TRUE(finished);
  pv::ProgramSettings().Printer.DpiX = 0;
  img = Draw(false, &finished);
  EXPECT_FALSE(Ink(img, kCells[0].center().x(), kCells[0].center().y()));
}

TEST_F(PageDrawTest, ClipOutlineSurvivesTheObjectsOwnClipsAndRestores) {
  // What the label's clip relies on in the drawing layer.
  pv::ImageSurface s(100, 100, 96, 96, pv::Rgb(255, 255, 255), QImage::Format_RGB32);
  QPainterPath circle;
  circle.addEllipse(QRectF(0, 0, 100, 100));
  const int level = pv::SaveDC(s.dc());
  pv::SelectClipOutline(s.dc(), &circle);
  pv::SaveDC(s.dc());
  pv::IntersectClipRect(s.dc(), pv::Rect{0, 0, 100, 100});
  pv::SelectClipRegion(s.dc(), nullptr);  // "select none" of an object leaves the outline
  pv::FillRect(s.dc(), pv::Rect{0, 0, 100, 100}, pv::Rgb(0, 0, 0));
  pv::RestoreDC(s.dc(), -1);
  EXPECT_TRUE(pv::GetClipOutline(s.dc(), nullptr));
  EXPECT_FALSE(pv::PtVisible(s.dc(), 1, 1));
  EXPECT_TRUE(pv::PtVisible(s.dc(), 50, 50));
  pv::RestoreDC(s.dc(), level);
  EXPECT_FALSE(pv::GetClipOutline(s.dc(), nullptr));
  pv::FillRect(s.dc(), pv::Rect{0, 0, 4, 4}, pv::Rgb(0, 0, 0));
  const QImage img = s.finish();
  EXPECT_TRUE(Ink(img, 50, 50));
  EXPECT_TRUE(Ink(img, 1, 1));    // drawn after the outline went
  EXPECT_FALSE(Ink(img, 98, 2));  // a corner outside the circle
}

}  // namespace
