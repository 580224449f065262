// The format archive on a real (virtual) display: the sheet of the format
// clicked is drawn white with its labels, with its shadow beside it.
#include <QColor>
#include <QImage>

#include <gtest/gtest.h>

#include "tests/formats/shotprobe.h"

namespace {

using pv::test::CountPixels;

TEST(FormatArchiveScreenshot, TheClickedSheetIsDrawnWithItsShadow) {
  formatstest::ShotProbe shot;
  ASSERT_NO_FATAL_FAILURE(shot.Run(QStringLiteral(PLAVIK_FORMATSHOT_PROBE), QStringLiteral("page ")));
  const QRect page = shot.rect;
  EXPECT_NEAR(page.width(), 118, 1);
  EXPECT_NEAR(page.height(), 167, 1);

  const QImage img = shot.Image(QStringLiteral("archive.png"));
  ASSERT_FALSE(img.isNull());
  auto white = [](QColor c) { return c == QColor(Qt::white); };
  auto dark = [](QColor c) { return c.lightness() < 100; };
  auto shadow = [](QColor c) { return c == QColor(200, 200, 200); };
  // The sheet: white paper with the label outlines on it.
  EXPECT_GT(CountPixels(img, page, white), page.width() * page.height() / 3);
  EXPECT_GT(CountPixels(img, page, dark), page.width() + page.height());
  // The shadow: below and at the right of the sheet.
  const QRect below(page.left() + 2, page.bottom() + 1, page.width(), 2);
  const QRect right(page.right() + 1, page.top() + 2, 2, page.height());
  EXPECT_GE(CountPixels(img, below, shadow), below.width() * below.height() * 9 / 10);
  EXPECT_GE(CountPixels(img, right, shadow), right.width() * right.height() * 9 / 10);
}

}  // namespace
