// The main window on a real (virtual) display: it opens at its design size
// and its banner, the lit editor tab and the toolbar are drawn.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

int Colours(const QImage& img, const QRect& r) {
  QSet<QRgb> colours;
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x) colours.insert(img.pixel(x, y));
  return static_cast<int>(colours.size());
}

int Count(const QImage& img, const QRect& r, bool (*pred)(QColor)) {
  int n = 0;
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x) n += pred(QColor(img.pixel(x, y))) ? 1 : 0;
  return n;
}

TEST(MainWindowScreenshot, OpensAtItsSizeWithBannerTabsAndToolbarDrawn) {
  const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("xvfb-run"));
  if (xvfb.isEmpty()) GTEST_SKIP() << "xvfb-run is not installed";
  QTemporaryDir home;
  QTemporaryDir out;
  ASSERT_TRUE(home.isValid() && out.isValid());

  QProcess p;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
  env.insert(QStringLiteral("PLAVIK_HOME"), home.path());
  p.setProcessEnvironment(env);
  p.start(xvfb, {QStringLiteral("-a"), QStringLiteral("-s"), QStringLiteral("-screen 0 1280x1024x24"),
                 QStringLiteral(PLAVIK_SCREENSHOT_PROBE), out.path()});
  ASSERT_TRUE(p.waitForFinished(60000));
  const QString stdoutText = QString::fromLocal8Bit(p.readAllStandardOutput());
  ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();

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
  EXPECT_GT(Count(img, banner, blue), banner.width() * banner.height() / 2);
  EXPECT_GT(Colours(img, banner), 30);
  // The editor's lit tab: a light face on the banner.
  const QRect editorTab(cx + 261 + 60, cy + 8 + 10, 120, 30);
  EXPECT_GT(Count(img, editorTab, light), editorTab.width() * editorTab.height() / 3);
  // The wizard's tab is not lit: mostly banner blue.
  const QRect wizardTab(cx + 5 + 60, cy + 7 + 10, 120, 30);
  EXPECT_GT(Count(img, wizardTab, blue), wizardTab.width() * wizardTab.height() / 2);
  // The toolbar: its buttons' images.
  const QRect toolbar(cx + 673, cy + 64, 31, 480);
  EXPECT_GT(Colours(img, toolbar), 20);
  EXPECT_GT(Count(img, toolbar, blue), 100);

  // What the display itself shows is not blank.
  const QImage screen(out.filePath(QStringLiteral("screen.png")));
  ASSERT_FALSE(screen.isNull());
  EXPECT_GT(Colours(screen.convertToFormat(QImage::Format_RGB32), screen.rect()), 30);
}

}  // namespace
