// Texts in changing fonts drawn one after another on one context, as a label
// draws its objects and a job its labels: each must look as the same text
// drawn alone on a fresh context, whatever font the context or its painter
// held before.

#include "test_support.h"

#include <gtest/gtest.h>

#include <QFont>
#include <QPainter>

using namespace scriva2_test;

namespace {

struct Step {
  const char* face;
  int height;
  int bold, italic, underline, strike;
  const char* text;
  // What another caller does to the painter before the step: 0 nothing,
  // 1 selects a font of its own, 2 selects one between save and restore.
  int foreign;
};

constexpr int kBand = 70;
constexpr int kWidth = 420;

void Style(const Step& s) {
  PlainStyle(s.height);
  ScrivaFontName(s.face);
  ScrivaSetBold(s.bold);
  ScrivaSetItalic(s.italic);
  ScrivaSetUnderline(s.underline);
  ScrivaSetStrike(s.strike);
}

void Draw(pv::DeviceContext* dc, const Step& s, int band) {
  Style(s);
  pv::Rect rect{5, band * kBand, kWidth - 5, (band + 1) * kBand};
  ScrivaDraw(dc, s.text, &rect, 0.0, 20);
}

void Foreign(QPainter* painter, int what) {
  QFont other(QStringLiteral("DejaVu Serif"));
  other.setPixelSize(23);
  other.setItalic(true);
  if (what == 1) painter->setFont(other);
  if (what == 2) {
    painter->save();
    painter->setFont(other);
    painter->restore();
  }
}

TEST(Scriva2FontSequence, EachTextLooksAsDrawnAloneOnAFreshContext) {
  EnsureApp();
  const Step steps[] = {
      {"Liberation Sans", 40, 0, 0, 0, 0, "Spett.le", 0},
      {"Liberation Sans", 40, 0, 0, 0, 0, "Cliente 17", 0},  // the same font again
      {"Liberation Sans", 28, 0, 0, 0, 0, "Cliente 17", 0},  // smaller
      {"Liberation Sans", 28, 1, 0, 0, 0, "Cliente 17", 0},  // bold
      {"Liberation Sans", 28, 1, 1, 0, 0, "Cliente 17", 0},  // and italic
      {"Liberation Sans", 28, 0, 0, 1, 0, "Cliente 17", 0},  // underlined
      {"Liberation Sans", 28, 0, 0, 0, 1, "Cliente 17", 0},  // struck out
      {"DejaVu Serif", 28, 0, 0, 0, 0, "Cliente 17", 0},     // another face
      {"Liberation Sans", 40, 0, 0, 0, 0, "Spett.le", 1},    // back, after a foreign font
      {"Liberation Sans", 40, 0, 0, 0, 0, "Milano", 1},      // the same, after another one
      {"Liberation Sans", 40, 0, 0, 0, 0, "Roma", 2},        // after a foreign font undone
      {"Liberation Sans", 40, 0, 0, 1, 0, "Roma", 0},        // underline alone changes
      {"Liberation Sans", 40, 0, 0, 0, 0, "Roma", 0},        // and goes again
  };
  const int n = static_cast<int>(sizeof steps / sizeof steps[0]);

  pv::ImageSurface sequence(kWidth, n * kBand);
  for (int i = 0; i < n; ++i) {
    Foreign(sequence.painter(), steps[i].foreign);
    Draw(sequence.dc(), steps[i], i);
  }
  const QImage all = sequence.finish().convertToFormat(QImage::Format_RGB32);

  for (int i = 0; i < n; ++i) {
    SCOPED_TRACE(i);
    pv::ImageSurface alone(kWidth, n * kBand);
    Draw(alone.dc(), steps[i], i);
    const QImage one = alone.finish().convertToFormat(QImage::Format_RGB32);
    ASSERT_TRUE(HasInk(one, QRect(0, i * kBand, kWidth, kBand)));
    EXPECT_EQ(Band(all, i * kBand, kBand), Band(one, i * kBand, kBand));
  }
}

}  // namespace
