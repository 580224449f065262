// The text format window beside the main window on a real (virtual)
// display: it stands at the main window's right edge, over the editor,
// drawn with its controls and the bold toggle's picture.
#include "tests/support/xvfb.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>

#include <set>

namespace {

QRect Rect(const QString& out, const QString& name) {
  for (const QString& line : out.split(QLatin1Char('\n'))) {
    const QStringList f = line.split(QLatin1Char(' '));
    if (f.size() == 5 && f[0] == name) return QRect(f[1].toInt(), f[2].toInt(), f[3].toInt(), f[4].toInt());
  }
  return {};
}

TEST(FontWindowScreenshot, TheWindowStandsAtTheMainWindowsRightEdgeWithItsControls) {
  const QString xvfb = pv::test::FindXvfbRun();
  if (xvfb.isEmpty()) GTEST_SKIP() << "xvfb-run is not installed";
  QTemporaryDir out, home;
  ASSERT_TRUE(out.isValid() && home.isValid());
  const pv::test::ProbeResult run =
      pv::test::RunProbeOnXvfb(xvfb, QStringLiteral(PLAVIK_FONTWINDOW_PROBE), home.path(), out.path(), 60000);
  ASSERT_TRUE(run.finished);
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  const QRect main = Rect(run.out, "main");
  const QRect window = Rect(run.out, "window");
  const QRect bold = Rect(run.out, "bold");
  ASSERT_FALSE(main.isEmpty() || window.isEmpty() || bold.isEmpty()) << run.out.toStdString();
  // At the right edge, inside the main window's width, below its menus.
  EXPECT_LE(window.right(), main.right());
  EXPECT_GT(window.right(), main.right() - 60);
  EXPECT_GT(window.top(), main.top());

  const QImage shot = QImage(out.filePath(QStringLiteral("screen.png"))).convertToFormat(QImage::Format_RGB32);
  ASSERT_FALSE(shot.isNull());
  std::set<QRgb> colours;
  for (int y = window.top(); y <= window.bottom(); y += 2) {
    for (int x = window.left(); x <= window.right(); x += 2) colours.insert(shot.pixel(x, y));
  }
  EXPECT_GT(colours.size(), 8u) << "the window shows its controls";
  const int dark = pv::test::CountPixels(shot, bold, [](QColor c) { return c.lightness() < 100; });
  EXPECT_GT(dark, 15) << "the bold toggle shows its picture";
}

}  // namespace
