// The clip-art picker on a real (virtual) display with a selected cell:
// every visible cell shows a drawing, the selected one shows it inverted.
#include "tests/support/xvfb.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>

namespace {

TEST(ClipArtPickerScreenshot, CellsShowDrawingsAndTheClickedOneIsMarked) {
  const QString xvfb = pv::test::FindXvfbRun();
  ASSERT_FALSE(xvfb.isEmpty()) << "xvfb-run is not installed (tools/setup.sh installs it)";
  QTemporaryDir out;
  ASSERT_TRUE(out.isValid());
  const pv::test::ProbeResult run = pv::test::RunProbeOnXvfb(xvfb, QStringLiteral(PLAVIK_PICKER_PROBE),
                                                             QStringLiteral(PLAVIK_PROGRAM_DIR), out.path(), 60000);
  ASSERT_TRUE(run.finished);
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  EXPECT_TRUE(run.out.contains(QStringLiteral("ok 1 selected 2"))) << run.out.toStdString();

  const QImage shot = QImage(out.filePath(QStringLiteral("picker.png"))).convertToFormat(QImage::Format_RGB32);
  ASSERT_FALSE(shot.isNull());
  int cells = 0;
  for (const QString& line : run.out.split(QLatin1Char('\n'))) {
    if (!line.startsWith(QStringLiteral("cell "))) continue;
    const QStringList f = line.split(QLatin1Char(' '));
    const int index = f[1].toInt();
    const QRect r(f[2].toInt(), f[3].toInt(), f[4].toInt(), f[5].toInt());
    const int area = r.width() * r.height();
    const int white = pv::test::CountPixels(shot, r, [](QColor c) { return c == QColor(Qt::white); });
    const int black = pv::test::CountPixels(shot, r, [](QColor c) { return c == QColor(Qt::black); });
    SCOPED_TRACE(line.toStdString());
    if (index == 2) {
      // Inverted: the white paper around the drawing turned black.
      EXPECT_GT(black, area / 5);
    } else {
      EXPECT_LT(white, area * 9 / 10);
      EXPECT_GT(white, area / 10);
    }
    ++cells;
  }
  EXPECT_GE(cells, 4);
}

}  // namespace
