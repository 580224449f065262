// The floating windows beside the main window on a real (virtual) display:
// the text format window stands at the main window's right edge, drawn with
// its controls and the bold toggle's picture; the fill window shows its
// textures, the clicked cell framed in blue.
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

TEST(PopUpWindowsScreenshot, TheFontWindowStandsAtTheRightEdgeAndTheFillWindowFramesTheClickedTexture) {
  const QString xvfb = pv::test::FindXvfbRun();
  ASSERT_FALSE(xvfb.isEmpty()) << "xvfb-run is not installed (tools/setup.sh installs it)";
  QTemporaryDir out, home;
  ASSERT_TRUE(out.isValid() && home.isValid());
  const pv::test::ProbeResult run =
      pv::test::RunProbeOnXvfb(xvfb, QStringLiteral(PLAVIK_POPUPWINDOWS_PROBE), home.path(), out.path(), 60000);
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

  // The fill window on the textures.
  EXPECT_TRUE(run.out.contains("selected 3 style 29")) << run.out.toStdString();
  const QImage fill = QImage(out.filePath(QStringLiteral("fill.png"))).convertToFormat(QImage::Format_RGB32);
  ASSERT_FALSE(fill.isNull());
  auto blue = [](QColor c) { return c.blue() > 200 && c.red() < 60 && c.green() < 60; };
  int cells = 0;
  for (const QString& line : run.out.split(QLatin1Char('\n'))) {
    const QStringList f = line.split(QLatin1Char(' '));
    if (f.size() != 6 || f[0] != "cell") continue;
    const QRect cell(f[2].toInt(), f[3].toInt(), f[4].toInt(), f[5].toInt());
    SCOPED_TRACE(line.toStdString());
    std::set<QRgb> inside;
    for (int y = cell.top() + 2; y < cell.bottom() - 1; ++y) {
      for (int x = cell.left() + 2; x < cell.right() - 1; ++x) inside.insert(fill.pixel(x, y));
    }
    EXPECT_GT(inside.size(), 3u) << "a texture, not a plain cell";
    const int frame = pv::test::CountPixels(fill, cell.adjusted(-3, -3, 3, 3), blue) -
                      pv::test::CountPixels(fill, cell.adjusted(1, 1, -1, -1), blue);
    if (f[1] == "3") {
      EXPECT_GT(frame, cell.width() * 3);
    } else {
      EXPECT_LT(frame, cell.width());
    }
    ++cells;
  }
  EXPECT_GE(cells, 12);
}

}  // namespace
