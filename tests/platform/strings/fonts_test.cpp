// The default style's face is "Arial"; on this system it must resolve through
// fontconfig to Liberation Sans, whose advance widths are those of Arial, so
// that text measures and wraps on a label as it does with the original face.

#include "tests/support/app_fixture.h"
#include <gtest/gtest.h>

#include <QFont>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

namespace {

void App() {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  pv::test::EnsureGuiApplication();
}

// 2048 pixels to the em: advances then read in the font units of the face.
constexpr int kEm = 2048;

QFont Arial(bool bold = false, bool italic = false) {
  QFont f(QStringLiteral("Arial"));
  f.setPixelSize(kEm);
  f.setBold(bold);
  f.setItalic(italic);
  f.setHintingPreference(QFont::PreferNoHinting);
  f.setKerning(false);
  return f;
}

TEST(Fonts, ArialResolvesToLiberationSans) {
  App();
  struct Style {
    bool bold, italic;
  };
  for (const Style s : {Style{false, false}, Style{true, false}, Style{false, true}, Style{true, true}}) {
    const QFontInfo info(Arial(s.bold, s.italic));
    EXPECT_EQ(info.family().toStdString(), "Liberation Sans") << "bold " << s.bold << " italic " << s.italic;
    EXPECT_EQ(info.bold(), s.bold);
    EXPECT_EQ(info.italic(), s.italic);
  }
}

TEST(Fonts, ArialHasArialAdvanceWidths) {
  App();
  // Advance widths of Arial (regular), in units of a 2048-unit em.
  struct Advance {
    char16_t ch;
    qreal units;
  };
  const Advance arial[] = {
      {u' ', 569}, {u'a', 1139}, {u'c', 1024}, {u'e', 1139}, {u'i', 455},  {u'l', 455},  {u'm', 1706}, {u'r', 682},
      {u't', 569}, {u'A', 1366}, {u'H', 1479}, {u'W', 1933}, {u'0', 1139}, {u'7', 1139}, {u'.', 569},
  };
  const QFontMetricsF fm(Arial());
  for (const auto& a : arial) {
    EXPECT_NEAR(fm.horizontalAdvance(QChar(a.ch)), a.units, 0.5) << char(a.ch);
  }
  // The same face under its own name measures the same, bold included.
  for (const bool bold : {false, true}) {
    QFont liberation(QStringLiteral("Liberation Sans"));
    liberation.setPixelSize(kEm);
    liberation.setBold(bold);
    liberation.setHintingPreference(QFont::PreferNoHinting);
    liberation.setKerning(false);
    const QString sample = QStringLiteral("Tavrel Lumetra 4 - Etichetta 70 x 37 mm");
    EXPECT_DOUBLE_EQ(QFontMetricsF(Arial(bold)).horizontalAdvance(sample),
                     QFontMetricsF(liberation).horizontalAdvance(sample))
        << "bold " << bold;
  }
}

// Drawing offscreen uses the same face, and the ink lies within the measured
// advance of the text.
TEST(Fonts, ArialDrawsOffscreenWithinItsAdvance) {
  App();
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(40);
  const QString text = QStringLiteral("HHHH WWWW");
  const qreal advance = QFontMetricsF(font).horizontalAdvance(text);
  // 4 H, 4 W and a blank of Arial at 40 px: (4 x 1479 + 4 x 1933 + 569) / 2048 x 40.
  EXPECT_NEAR(advance, (4 * 1479 + 4 * 1933 + 569) * 40.0 / 2048, 4.0);

  QImage image(600, 80, QImage::Format_ARGB32);
  image.fill(Qt::white);
  QString drawnFamily;
  {
    QPainter p(&image);
    p.setFont(font);
    drawnFamily = p.fontInfo().family();
    p.setPen(Qt::black);
    p.drawText(QPointF(10, 55), text);
  }
  EXPECT_EQ(drawnFamily.toStdString(), "Liberation Sans");

  int left = image.width(), right = -1;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (qGray(image.pixel(x, y)) < 128) {
        left = std::min(left, x);
        right = std::max(right, x);
      }
    }
  }
  ASSERT_GE(right, 0) << "nothing was drawn";
  // H has side bearings of about 3 px at this size, W almost none.
  EXPECT_GE(left, 10);
  EXPECT_LE(left, 16);
  EXPECT_LE(right, 10 + advance + 1);
  EXPECT_GE(right, 10 + advance - 4);
}

}  // namespace
