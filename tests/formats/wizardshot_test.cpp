// The new-label wizard on a real (virtual) display: the size cards and the
// template cards are drawn, each with its small white or pale yellow label.
#include <QColor>
#include <QImage>

#include <gtest/gtest.h>

#include "tests/formats/shotprobe.h"

namespace {

using pv::test::CountPixels;
using pv::test::Exactly;

bool Reddish(QRgb p) { return qRed(p) > 180 && qGreen(p) < 110 && qBlue(p) < 110; }

TEST(WizardScreenshot, SizeAndTemplateCardsAreDrawn) {
  formatstest::ShotProbe shot;
  ASSERT_NO_FATAL_FAILURE(shot.Run(QStringLiteral(PLAVIK_WIZARDSHOT_PROBE), QStringLiteral("grid ")));
  const QRect grid = shot.rect;
  EXPECT_GT(grid.width(), 700);

  const QImage sizes = shot.Image(QStringLiteral("sizes.png"));
  const QImage templates = shot.Image(QStringLiteral("templates.png"));
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
