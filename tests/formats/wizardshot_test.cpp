// The new-label wizard on a real (virtual) display: the size cards and the
// template cards are drawn, each with its small white or pale yellow label.
#include <QColor>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "tests/support/xvfb.h"

namespace {

using pv::test::CountPixels;
using pv::test::Exactly;

bool Reddish(QRgb p) { return qRed(p) > 180 && qGreen(p) < 110 && qBlue(p) < 110; }

TEST(WizardScreenshot, SizeAndTemplateCardsAreDrawn) {
  const QString xvfb = pv::test::FindXvfbRun();
  if (xvfb.isEmpty()) GTEST_SKIP() << "xvfb-run is not installed";
  QTemporaryDir home;
  QTemporaryDir out;
  ASSERT_TRUE(home.isValid() && out.isValid());
  const pv::test::ProbeResult run =
      pv::test::RunProbeOnXvfb(xvfb, QStringLiteral(PLAVIK_WIZARDSHOT_PROBE), home.path(), out.path(), 60000);
  ASSERT_TRUE(run.finished);
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  const QStringList f = run.out.section(QStringLiteral("grid "), 1).split(QLatin1Char(' '));
  ASSERT_GE(f.size(), 4) << run.out.toStdString();
  const QRect grid(f[0].toInt(), f[1].toInt(), f[2].toInt(), f[3].trimmed().toInt());
  EXPECT_GT(grid.width(), 700);

  const QImage sizes = QImage(out.filePath(QStringLiteral("sizes.png"))).convertToFormat(QImage::Format_RGB32);
  const QImage templates = QImage(out.filePath(QStringLiteral("templates.png"))).convertToFormat(QImage::Format_RGB32);
  ASSERT_FALSE(sizes.isNull());
  ASSERT_FALSE(templates.isNull());
  const int cell = 360 * 160;
  // Several cards of each kind fill the grid: grey faces, red size texts.
  EXPECT_GT(CountPixels(sizes, grid, Exactly(qRgb(225, 225, 225))), 3 * cell / 2);
  EXPECT_GT(CountPixels(sizes, grid, &Reddish), 200);
  EXPECT_GT(CountPixels(templates, grid, Exactly(qRgb(225, 225, 225))), 3 * cell / 2);
  // The labels: pale yellow faces only among the templates.
  EXPECT_EQ(CountPixels(sizes, grid, Exactly(qRgb(255, 255, 192))), 0);
  EXPECT_GT(CountPixels(templates, grid, Exactly(qRgb(255, 255, 192))), 4 * 1000);
}

}  // namespace
