#include "formats/sheetpreview.h"

#include <gtest/gtest.h>

namespace {

pv::PrintFormat SheetOf(double width, double depth) {
  pv::PrintFormat f;
  f.Width = 70;
  f.Height = 37;
  f.nOri = 3;
  f.nVer = 8;
  f.TopMargin = 0.5;
  f.sheetwidth = width;
  f.sheetdepth = depth;
  return f;
}

TEST(SheetPreview, TheLongerSideIsAbout167Pixels) {
  struct Case {
    double width, depth;
    int pixelsW, pixelsH;
  };
  const Case cases[] = {{210, 297, 118, 167}, {297, 210, 167, 118}, {100, 100, 167, 167}, {1000, 10, 167, 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.width << " x " << c.depth);
    const pv::SheetPreview p = pv::MakeSheetPreview(SheetOf(c.width, c.depth));
    ASSERT_TRUE(p.visible);
    EXPECT_NEAR(p.size.width(), c.pixelsW, 1);
    EXPECT_NEAR(p.size.height(), c.pixelsH, 1);
  }
}

TEST(SheetPreview, LabelsSitAtTheirRoundedCentres) {
  const pv::SheetPreview p = pv::MakeSheetPreview(SheetOf(210, 297));
  ASSERT_EQ(p.labels.size(), 24u);
  // Column 1, row 1: centre (35, 19).
  EXPECT_EQ(p.labels[0], QRectF(0, 0.5, 70, 37));
  // Column 3, row 8: centre x 2.5 x 70 = 175, centre y 7.5 x 37 + 0.5 = 278.
  EXPECT_EQ(p.labels.back(), QRectF(140, 259.5, 70, 37));
}

TEST(SheetPreview, NoSheetNoDrawingNoLabelsAnEmptyPage) {
  for (auto [w, d] : {std::pair{0.0, 297.0}, {210.0, 0.0}, {-5.0, 297.0}, {0.0, 0.0}}) {
    EXPECT_FALSE(pv::MakeSheetPreview(SheetOf(w, d)).visible) << w << " x " << d;
  }
  pv::PrintFormat none = SheetOf(210, 297);
  none.nOri = 0;
  const pv::SheetPreview empty = pv::MakeSheetPreview(none);
  EXPECT_TRUE(empty.visible);
  EXPECT_TRUE(empty.labels.empty());
  // Counts of a stored row far beyond any sheet are drawn capped, at once.
  pv::PrintFormat huge = SheetOf(210, 297);
  huge.nOri = 100000;
  huge.nVer = 100000;
  EXPECT_LE(pv::MakeSheetPreview(huge).labels.size(), 500u * 500u);
}

}  // namespace
