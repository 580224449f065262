// The data-source manager on a real (virtual) display: the sample address
// list on view, sorted by city through the sort dialog, drawn in the grid.
#include <QColor>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "tests/support/xvfb.h"

namespace {

using pv::test::CountPixels;

TEST(ManagerScreenshot, TheSampleIsShownSorted) {
  const QString xvfb = pv::test::FindXvfbRun();
  ASSERT_FALSE(xvfb.isEmpty()) << "xvfb-run is not installed (tools/setup.sh installs it)";
  QTemporaryDir home;
  QTemporaryDir out;
  ASSERT_TRUE(home.isValid() && out.isValid());
  const pv::test::ProbeResult run =
      pv::test::RunProbeOnXvfb(xvfb, QStringLiteral(PLAVIK_MANAGERSHOT_PROBE), home.path(), out.path(), 60000);
  ASSERT_TRUE(run.finished);
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  EXPECT_FALSE(run.err.contains("message:")) << run.err.toStdString();
  EXPECT_FALSE(run.err.contains("never installed")) << run.err.toStdString();

  EXPECT_TRUE(run.out.contains(QStringLiteral("sort [CITTA] DESC\n"))) << run.out.toStdString();
  QStringList cities;
  for (const QString& line : run.out.split(QLatin1Char('\n'))) {
    if (line.startsWith(QStringLiteral("city "))) cities << line.mid(5);
  }
  ASSERT_EQ(cities.size(), 3);
  EXPECT_FALSE(cities[0].isEmpty());
  EXPECT_GE(cities[0].localeAwareCompare(cities[1]), 0);
  EXPECT_GE(cities[1].localeAwareCompare(cities[2]), 0);

  const QStringList f = run.out.section(QStringLiteral("grid "), 1).split(QLatin1Char(' '));
  ASSERT_GE(f.size(), 4) << run.out.toStdString();
  const QRect grid(f[0].toInt(), f[1].toInt(), f[2].toInt(), f[3].section(QLatin1Char('\n'), 0, 0).toInt());
  EXPECT_GT(grid.width(), 600);
  EXPECT_GT(grid.height(), 400);
  const QImage img = QImage(out.filePath(QStringLiteral("manager.png"))).convertToFormat(QImage::Format_RGB32);
  ASSERT_FALSE(img.isNull());
  // The grid is filled with rows of text.
  auto dark = [](QColor c) { return c.lightness() < 110; };
  EXPECT_GT(CountPixels(img, grid, dark), grid.width() * grid.height() / 60);
  EXPECT_GT(pv::test::DistinctColours(img, grid), 8);
}

}  // namespace
