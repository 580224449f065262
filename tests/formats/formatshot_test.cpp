// The format archive on a real (virtual) display: the sheet of the format
// clicked is drawn white with its labels, with its shadow beside it.
#include <QColor>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "tests/support/xvfb.h"

namespace {

using pv::test::CountPixels;

TEST(FormatArchiveScreenshot, TheClickedSheetIsDrawnWithItsShadow) {
  const QString xvfb = pv::test::FindXvfbRun();
  if (xvfb.isEmpty()) GTEST_SKIP() << "xvfb-run is not installed";
  QTemporaryDir home;
  QTemporaryDir out;
  ASSERT_TRUE(home.isValid() && out.isValid());
  const pv::test::ProbeResult run =
      pv::test::RunProbeOnXvfb(xvfb, QStringLiteral(PLAVIK_FORMATSHOT_PROBE), home.path(), out.path(), 60000);
  ASSERT_TRUE(run.finished);
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  const QStringList f = run.out.section(QStringLiteral("page "), 1).split(QLatin1Char(' '));
  ASSERT_GE(f.size(), 4) << run.out.toStdString();
  const QRect page(f[0].toInt(), f[1].toInt(), f[2].toInt(), f[3].trimmed().toInt());
  EXPECT_NEAR(page.width(), 118, 1);
  EXPECT_NEAR(page.height(), 167, 1);

  const QImage img = QImage(out.filePath(QStringLiteral("archive.png"))).convertToFormat(QImage::Format_RGB32);
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
