// Sheet layout: printed positions, order, indexes, device units, preview
// mapping, pagination and caption.
#include "printing/layout.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

namespace {

// 3 across, 2 down, 50 x 30 mm cells, 5 mm gaps, 10 / 20 mm margins.
pv::SheetFormat Sheet3x2() {
  pv::SheetFormat f;
  f.Width = 50;
  f.Height = 30;
  f.nOri = 3;
  f.nVer = 2;
  f.TopMargin = 20;
  f.LeftMargin = 10;
  f.vertipitch = 5;
  f.horizpitch = 5;
  f.sheetwidth = 210;
  f.sheetdepth = 297;
  return f;
}

pv::LayoutTarget Printer(int dpi) {
  pv::LayoutTarget t;
  t.DpiX = t.DpiY = dpi;
  return t;
}

std::vector<int> Positions(const pv::PageLayout& p) {
  std::vector<int> n;
  for (const auto& c : p.Cells) n.push_back(c.n);
  return n;
}

TEST(LayoutPage, PositionsByPageFilterOnFirstMiddleAndLastPage) {
  // Three pages, range 2..4 on a sheet of six.
  const std::vector<int> all{1, 2, 3, 4, 5, 6}, range{2, 3, 4};
  const struct {
    int rangePages;
    std::vector<int> page1, page2, page3;
  } cases[] = {
      {0, all, all, all},        {1, range, all, all},     {2, range, range, range},
      {3, all, all, range},      {7, range, range, range},  // an unknown filter restricts every page
      {-1, range, range, range},
  };
  for (const auto& c : cases) {
    const pv::RunValues run{3, 2, 4, c.rangePages};
    SCOPED_TRACE(c.rangePages);
    EXPECT_EQ(Positions(pv::LayoutPage(Sheet3x2(), 50, 30, run, 1, Printer(254))), c.page1);
    EXPECT_EQ(Positions(pv::LayoutPage(Sheet3x2(), 50, 30, run, 2, Printer(254))), c.page2);
    EXPECT_EQ(Positions(pv::LayoutPage(Sheet3x2(), 50, 30, run, 3, Printer(254))), c.page3);
  }
}

TEST(LayoutPage, RowsAreTheOuterLoopAndLabelsTakeRunningIndexes) {
  const pv::RunValues whole{3, 1, 6, 0};
  const pv::PageLayout p = pv::LayoutPage(Sheet3x2(), 50, 30, whole, 2, Printer(254));
  ASSERT_EQ(p.Cells.size(), 6u);
  const int rows[] = {1, 1, 1, 2, 2, 2}, cols[] = {1, 2, 3, 1, 2, 3};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(p.Cells[i].Row, rows[i]);
    EXPECT_EQ(p.Cells[i].Column, cols[i]);
    // Page 2 of a 6-up sheet starts at index and record 6.
    EXPECT_EQ(p.Cells[i].LabelIndex, 6 + i);
    EXPECT_EQ(p.Cells[i].RecordIndex, 6 + i);
  }
  EXPECT_EQ(p.LabelCounterStart, 6);
  EXPECT_EQ(p.LabelCounterEnd, 12);
  // Position 4 is the first label of the second row: 10 mm left, 20 + 35 mm down, at 10 dots per mm.
  EXPECT_EQ(p.Cells[3].X1, 100);
  EXPECT_EQ(p.Cells[3].Y1, 550);
  // The drawn size comes from the document, the pitch from the format.
  const pv::PageLayout smaller = pv::LayoutPage(Sheet3x2(), 40, 20, whole, 1, Printer(254));
  EXPECT_EQ(smaller.Cells[1].X1, 650);
  EXPECT_EQ(smaller.Cells[1].X2, 1050);
  EXPECT_EQ(smaller.Cells[1].Y2, 400);

  // A last page printed from position 1 to 2 keeps the record rule: 12, 13.
  const pv::RunValues lastTwo{3, 1, 2, 3};
  const pv::PageLayout last = pv::LayoutPage(Sheet3x2(), 50, 30, lastTwo, 3, Printer(254));
  ASSERT_EQ(last.Cells.size(), 2u);
  EXPECT_EQ(last.Cells[0].RecordIndex, 12);
  EXPECT_EQ(last.Cells[1].RecordIndex, 13);
  // A page printed from position 3 numbers its printed labels on from the page start.
  const pv::RunValues fromThree{1, 3, 5, 2};
  const pv::PageLayout mid = pv::LayoutPage(Sheet3x2(), 50, 30, fromThree, 1, Printer(254));
  EXPECT_EQ(mid.Cells[0].LabelIndex, 0);
  EXPECT_EQ(mid.Cells[2].LabelIndex, 2);
  EXPECT_EQ(mid.LabelCounterEnd, 3);
}

TEST(LayoutPage, DeviceUnitsRoundHalvesToEven) {
  // At 254 dpi one millimetre is 10 dots: 0.25 mm is 2.5 dots, 0.75 mm 7.5.
  const struct {
    double left;
    int x1;
  } cases[] = {
      {0.25, 2},  // floor gives 2, half-away-from-zero 3
      {0.75, 8},  // floor gives 7, half-away-from-zero 8
      {1.0, 10},
  };
  for (const auto& c : cases) {
    pv::SheetFormat f = Sheet3x2();
    f.LeftMargin = c.left;
    const pv::PageLayout p = pv::LayoutPage(f, 50, 30, pv::RunValues{1, 1, 6, 0}, 1, Printer(254));
    EXPECT_EQ(p.Cells[0].X1, c.x1) << c.left;
  }
}

TEST(LayoutPage, PrinterOffsetComesOffAndCalibrationGoesOn) {
  pv::LayoutTarget t = Printer(254);
  t.OffsetX = 30;
  t.OffsetY = 40;
  t.CalibrationX = 10;
  t.CalibrationY = -5;
  const pv::PageLayout p = pv::LayoutPage(Sheet3x2(), 50, 30, pv::RunValues{1, 1, 6, 0}, 1, t);
  EXPECT_EQ(p.Cells[0].X1, 100 - 30 + 10);
  EXPECT_EQ(p.Cells[0].Y1, 200 - 40 - 5);
  EXPECT_EQ(p.Cells[0].X2, 600 - 30 + 10);
  EXPECT_EQ(p.Cells[0].Y2, 500 - 40 - 5);
}

TEST(LayoutPage, PreviewMapsDeviceUnitsOntoTheSheet) {
  pv::LayoutTarget t = Printer(254);
  t.Preview = true;
  t.OffsetX = 99;  // printer values take no part in the preview
  t.CalibrationX = 99;
  t.Sheet = pv::PreviewSheet{420, 594, 210, 297, 254, 254};  // 2 pixels per mm
  const pv::PageLayout p = pv::LayoutPage(Sheet3x2(), 50, 30, pv::RunValues{1, 1, 6, 0}, 1, t);
  ASSERT_EQ(p.Cells.size(), 6u);
  EXPECT_EQ(p.Cells[0].X1, 20);
  EXPECT_EQ(p.Cells[0].Y1, 40);
  EXPECT_EQ(p.Cells[5].X2, 2 * (10 + 2 * 55 + 50));
  EXPECT_EQ(p.Cells[5].Y2, 2 * (20 + 35 + 30));

  // No sheet (or no resolution): no page at all.
  for (pv::PreviewSheet bad :
       {pv::PreviewSheet{0, 594, 210, 297, 254, 254}, pv::PreviewSheet{420, 594, 0, 297, 254, 254},
        pv::PreviewSheet{420, 594, 210, 297, 0, 254}}) {
    t.Sheet = bad;
    EXPECT_TRUE(pv::LayoutPage(Sheet3x2(), 50, 30, pv::RunValues{1, 1, 6, 0}, 1, t).Cells.empty());
  }
  EXPECT_TRUE(pv::LayoutPage(Sheet3x2(), 50, 30, pv::RunValues{1, 1, 6, 0}, 1, Printer(0)).Cells.empty());
}

TEST(LayoutPage, CountersGoPast32767Labels) {
  // 65 labels per sheet (5 x 13): page 600 starts at label 38,935.
  pv::SheetFormat f = Sheet3x2();
  f.nOri = 5;
  f.nVer = 13;
  const pv::PageLayout p = pv::LayoutPage(f, 10, 10, pv::RunValues{600, 1, 65, 0}, 600, Printer(254));
  ASSERT_EQ(p.Cells.size(), 65u);
  EXPECT_EQ(p.Cells.front().LabelIndex, 65 * 599);
  EXPECT_EQ(p.Cells.back().RecordIndex, 65 * 600 - 1);
  EXPECT_GT(p.Cells.back().LabelIndex, 32767);
}

TEST(LayoutPage, FractionalCountsAreRoundedOnceAndMultiplied) {
  pv::SheetFormat f = Sheet3x2();
  f.nOri = 2.5;  // 2
  f.nVer = 3.5;  // 4
  EXPECT_EQ(pv::LabelsAcross(f), 2);
  EXPECT_EQ(pv::LabelsDown(f), 4);
  EXPECT_EQ(pv::LabelsPerPage(f), 8);
  const pv::PageLayout p = pv::LayoutPage(f, 10, 10, pv::RunValues{2, 1, 8, 0}, 2, Printer(254));
  EXPECT_EQ(p.Cells.size(), 8u);
  EXPECT_EQ(p.Cells.front().LabelIndex, 8);
  f.nOri = -3;
  EXPECT_EQ(pv::LabelsPerPage(f), 0);
  EXPECT_TRUE(pv::LayoutPage(f, 10, 10, pv::RunValues{1, 1, 8, 0}, 1, Printer(254)).Cells.empty());
}

TEST(LayoutPage, AFormatThatCheckSheetRefusesLaysOutNothing) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    double pv::SheetFormat::*field;
    double value;
    pv::SheetCheck expected;
  } cases[] = {
      {&pv::SheetFormat::nOri, 100, pv::SheetCheck::Ok},  // 100 x 100: the bound itself
      {&pv::SheetFormat::nOri, 101, pv::SheetCheck::TooManyLabels},
      {&pv::SheetFormat::nOri, 40000, pv::SheetCheck::TooManyLabels},
      {&pv::SheetFormat::Width, nan, pv::SheetCheck::BadValue},
      {&pv::SheetFormat::Height, -1, pv::SheetCheck::BadValue},
      {&pv::SheetFormat::TopMargin, inf, pv::SheetCheck::BadValue},
      {&pv::SheetFormat::horizpitch, 1e308, pv::SheetCheck::BadValue},
      {&pv::SheetFormat::sheetdepth, 100000.5, pv::SheetCheck::BadValue},
      {&pv::SheetFormat::sheetwidth, 0, pv::SheetCheck::Ok},
  };
  for (const auto& c : cases) {
    pv::SheetFormat f = Sheet3x2();
    f.nVer = 100;
    f.*(c.field) = c.value;
    SCOPED_TRACE(c.value);
    EXPECT_EQ(pv::CheckSheet(f), c.expected);
    const pv::PageLayout p = pv::LayoutPage(f, 1, 1, pv::RunValues{1, 1, 1 << 30, 0}, 1, Printer(254));
    EXPECT_EQ(p.Cells.size(), c.expected == pv::SheetCheck::Ok ? std::size_t(pv::LabelsPerPage(f)) : 0u);
  }
}

TEST(PaginateLabels, PagesAndLastPosition) {
  const struct {
    long long n;
    int p, pages, last;
  } cases[] = {
      {12, 12, 1, 12}, {13, 12, 2, 1},  {11, 12, 1, 11},
      {25, 10, 3, 5},  {30, 10, 3, 10}, {100000, 65, 1539, 30},  // beyond 16 bits
      {0, 12, 0, 0},   {5, 0, 0, 0},
  };
  for (const auto& c : cases) {
    const pv::Pagination r = pv::PaginateLabels(c.n, c.p);
    EXPECT_EQ(r.PageCount, c.pages) << c.n << "/" << c.p;
    EXPECT_EQ(r.LastLabel, c.last) << c.n << "/" << c.p;
  }
}

TEST(PreviewSheetMapping, GetXAndGetY) {
  // 210 mm at 300 dpi is about 2480 dots: the whole sheet width.
  const pv::PreviewSheet s{455, 643, 210, 297, 300, 300};
  EXPECT_EQ(pv::SheetX(s, 0), 0);
  EXPECT_NEAR(pv::SheetX(s, 2480), 455, 1);
  EXPECT_NEAR(pv::SheetY(s, 3508), 643, 1);
  // Nothing to divide by: 0, never a crash.
  EXPECT_EQ(pv::SheetX(pv::PreviewSheet{455, 643, 0, 297, 300, 300}, 100), 0);
  EXPECT_EQ(pv::SheetY(pv::PreviewSheet{455, 643, 210, 297, 300, 0}, 100), 0);
}

TEST(PreviewSheetMapping, PlacementFitsWithATenthToSpare) {
  const struct {
    int w, h;
    double pw, ph;
    int left, top, width, height;
  } cases[] = {
      {500, 800, 210, 297, 23, 79, 455, 643},    // width-bound
      {1100, 297, 210, 297, 455, 14, 191, 270},  // height-bound
      {0, 0, 210, 297, 0, 0, 0, 0},
  };
  for (const auto& c : cases) {
    const pv::PreviewPlacement p = pv::PlacePreviewSheet(c.w, c.h, c.pw, c.ph);
    ASSERT_TRUE(p.Valid);
    EXPECT_EQ(p.Width, c.width) << c.w;
    EXPECT_EQ(p.Height, c.height) << c.w;
    EXPECT_EQ(p.Left, c.left) << c.w;
    EXPECT_EQ(p.Top, c.top) << c.w;
  }
  EXPECT_NEAR(pv::PlacePreviewSheet(500, 800, 210, 297).Zoom, 2.1645, 1e-3);
  EXPECT_FALSE(pv::PlacePreviewSheet(500, 800, 0, 297).Valid);
  EXPECT_FALSE(pv::PlacePreviewSheet(500, 800, 210, 0).Valid);
  EXPECT_FLOAT_EQ(pv::SheetFontRatio(643, 297), float(643 * 25.4 / 297 / 72));
  EXPECT_EQ(pv::SheetFontRatio(643, 0), 0.0f);
}

TEST(PageCaption, OneBlankAfterTheColonTwoBeforeTheCount) {
  EXPECT_EQ(pv::PageCaption(2, 3).toStdString(), "Numero di pagine: 2 di  3");
}

}  // namespace
