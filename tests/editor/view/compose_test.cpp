// The editor view on a real (virtual) display: a label composed with the
// mouse through the view survives saving and reopening record for record,
// and the screenshots show every object drawn.
#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QRect>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "tests/support/xvfb.h"

#include <functional>
#include <map>

namespace {

using pv::test::CountPixels;

bool Red(QColor c) { return c.red() > 200 && c.green() < 70 && c.blue() < 70; }
bool Green(QColor c) { return c.green() > 150 && c.red() < 70 && c.blue() < 70; }
bool Dark(QColor c) { return c.lightness() < 80; }

// Changes from dark to light along the middle row: bars of a barcode.
int Transitions(const QImage& img, const QRect& r) {
  const int y = r.center().y();
  int n = 0;
  bool previous = false;
  for (int x = r.left(); x <= r.right(); ++x) {
    const bool dark = Dark(QColor(img.pixel(x, y)));
    if (x > r.left() && dark != previous) ++n;
    previous = dark;
  }
  return n;
}

void CheckDrawn(const QImage& img, const std::map<int, QRect>& regions, const char* which) {
  SCOPED_TRACE(which);
  ASSERT_FALSE(img.isNull());
  const QRect rect = regions.at(105).adjusted(3, 3, -3, -3);
  EXPECT_GT(CountPixels(img, rect, Red), rect.width() * rect.height() * 8 / 10);
  const QRect picture = regions.at(102).adjusted(3, 3, -3, -3);
  EXPECT_GT(CountPixels(img, picture, Green), picture.width() * picture.height() * 8 / 10);
  const QRect barcode = regions.at(300);
  EXPECT_GT(Transitions(img, barcode), 20);
  const QRect text = regions.at(101);
  // The letters of "Nuovo testo" (small and smoothed: ink darker than paper).
  EXPECT_GT(CountPixels(img, text, [](QColor c) { return c.lightness() < 180; }), 30);
  EXPECT_EQ(CountPixels(img, text, Red), 0);  // drawn after the red style was reset
}

TEST(EditCardOnDisplay, ComposedLabelSurvivesSaveAndReopenAndIsDrawn) {
  const QString xvfb = pv::test::FindXvfbRun();
  ASSERT_FALSE(xvfb.isEmpty()) << "xvfb-run is not installed (tools/setup.sh installs it)";
  QTemporaryDir home;
  QTemporaryDir out;
  ASSERT_TRUE(home.isValid() && out.isValid());
  const pv::test::ProbeResult run =
      pv::test::RunProbeOnXvfb(xvfb, QStringLiteral(PLAVIK_COMPOSE_PROBE), home.path(), out.path(), 90000);
  ASSERT_TRUE(run.finished);
  const QString& stdoutText = run.out;
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString() << stdoutText.toStdString();

  const QStringList lines = stdoutText.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  EXPECT_TRUE(lines.contains(QStringLiteral("objects 4"))) << stdoutText.toStdString();
  EXPECT_TRUE(lines.contains(QStringLiteral("kinds 105 101 300 102"))) << stdoutText.toStdString();
  EXPECT_TRUE(lines.contains(QStringLiteral("roundtrip same"))) << stdoutText.toStdString();
  EXPECT_TRUE(lines.contains(QStringLiteral("picture same"))) << stdoutText.toStdString();
  EXPECT_TRUE(lines.contains(QStringLiteral("messages 0"))) << stdoutText.toStdString();

  std::map<int, QRect> regions;
  for (const QString& line : lines) {
    const QStringList f = line.split(QLatin1Char(' '));
    if (f.size() == 6 && f[0] == QLatin1String("region"))
      regions[f[1].toInt()] = QRect(f[2].toInt(), f[3].toInt(), f[4].toInt(), f[5].toInt());
  }
  ASSERT_EQ(regions.size(), 4u) << stdoutText.toStdString();
  for (const auto& [kind, r] : regions) EXPECT_GT(r.width() * r.height(), 400) << kind;

  const QDir dir(out.path());
  CheckDrawn(QImage(dir.filePath(QStringLiteral("composed.png"))).convertToFormat(QImage::Format_RGB32), regions,
             "composed");
  CheckDrawn(QImage(dir.filePath(QStringLiteral("reopened.png"))).convertToFormat(QImage::Format_RGB32), regions,
             "reopened");
  // The display itself shows the window drawn, not a blank area.
  const QImage screen = QImage(dir.filePath(QStringLiteral("screen.png"))).convertToFormat(QImage::Format_RGB32);
  ASSERT_FALSE(screen.isNull());
  EXPECT_GT(CountPixels(screen, screen.rect(), Red), 500);
  // Keep the pictures for a person to look at.
  const QString keep = QStringLiteral(PLAVIK_COMPOSE_KEEP_DIR);
  QDir().mkpath(keep);
  for (const char* name : {"composed.png", "reopened.png", "screen.png"}) {
    QFile::remove(keep + QLatin1Char('/') + QLatin1String(name));
    QFile::copy(dir.filePath(QLatin1String(name)), keep + QLatin1Char('/') + QLatin1String(name));
  }
}

}  // namespace
