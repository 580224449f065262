// The main window on a real (virtual) display: it opens at its design size
// and its banner, the lit editor tab and the toolbar are drawn.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "tests/support/xvfb.h"

namespace {

using pv::test::CountPixels;
using pv::test::DistinctColours;

TEST(MainWindowScreenshot, OpensAtItsSizeWithBannerTabsAndToolbarDrawn) {
  const QString xvfb = pv::test::FindXvfbRun();
  ASSERT_FALSE(xvfb.isEmpty()) << "xvfb-run is not installed (tools/setup.sh installs it)";
  QTemporaryDir home;
  QTemporaryDir out;
  ASSERT_TRUE(home.isValid() && out.isValid());

  const pv::test::ProbeResult run =
      pv::test::RunProbeOnXvfb(xvfb, QStringLiteral(PLAVIK_SCREENSHOT_PROBE), home.path(), out.path(), 60000);
  ASSERT_TRUE(run.finished);
  const QString& stdoutText = run.out;
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();

  const QStringList f = stdoutText.section(QStringLiteral("client "), 1).split(QLatin1Char(' '));
  ASSERT_GE(f.size(), 4) << stdoutText.toStdString();
  const int cx = f[0].toInt();
  const int cy = f[1].toInt();
  EXPECT_EQ(f[2].toInt(), 704);
  EXPECT_EQ(f[3].trimmed().toInt(), 604);

  const QImage window(out.filePath(QStringLiteral("window.png")));
  ASSERT_FALSE(window.isNull());
  EXPECT_GE(window.width(), 704);
  EXPECT_GE(window.height(), 604 + cy);

  const QImage img = window.convertToFormat(QImage::Format_RGB32);
  auto blue = [](QColor c) { return c.blue() > c.red() + 40 && c.blue() > 90; };
  auto light = [](QColor c) { return c.lightness() > 200; };
  // The banner: blue, with drawing on it.
  const QRect banner(cx, cy, 704, 63);
  EXPECT_GT(CountPixels(img, banner, blue), banner.width() * banner.height() / 2);
  EXPECT_GT(DistinctColours(img, banner), 30);
  // The editor's lit tab: a light face on the banner.
  const QRect editorTab(cx + 261 + 60, cy + 8 + 10, 120, 30);
  EXPECT_GT(CountPixels(img, editorTab, light), editorTab.width() * editorTab.height() / 3);
  // The wizard's tab is not lit: mostly banner blue.
  const QRect wizardTab(cx + 5 + 60, cy + 7 + 10, 120, 30);
  EXPECT_GT(CountPixels(img, wizardTab, blue), wizardTab.width() * wizardTab.height() / 2);
  // The toolbar: its buttons' images.
  const QRect toolbar(cx + 673, cy + 64, 31, 480);
  EXPECT_GT(DistinctColours(img, toolbar), 20);
  EXPECT_GT(CountPixels(img, toolbar, blue), 100);

  // What the display itself shows is not blank.
  const QImage screen(out.filePath(QStringLiteral("screen.png")));
  ASSERT_FALSE(screen.isNull());
  EXPECT_GT(DistinctColours(screen.convertToFormat(QImage::Format_RGB32), screen.rect()), 30);
}

}  // namespace
