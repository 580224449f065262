// The editor's page on pages of any size: what the window shows is drawn,
// and a repaint costs what the window shows.
#include "fakes.h"

#include <QTemporaryDir>

#include <cmath>

using namespace pvtest;

namespace {

class EditorPage : public RenderTest {
 protected:
  // A picture of distinct colours, so that a misplaced or rescaled part shows.
  QString WriteChequer() {
    QImage img(8, 6, QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x) img.setPixel(x, y, qRgb(30 * x, 40 * y, (x + y) % 2 ? 230 : 20));
    const QString path = dir.filePath("chequer.png");
    EXPECT_TRUE(img.save(path));
    return path;
  }
  QTemporaryDir dir;
};

bool Dark(const QImage& img, int x, int y) { return qGray(img.pixel(x, y)) < 128; }

TEST_F(EditorPage, HugePagesShowTheirEdgesAndCostWhatTheWindowShows) {
  struct Case {
    const char* name;
    std::int32_t l, t, r, b;
    // Pixels of the frame's top and left edges and of the shadow edge (the
    // background covers the frame's right and bottom edges).
    std::vector<QPoint> frame;
    std::vector<QPoint> inside;  // pixels inside the page
  };
  const std::vector<Case> cases{
      {"whole page in view", 10, 10, 110, 60, {{10, 10}, {10, 30}, {60, 10}, {111, 30}, {60, 61}}, {{60, 35}}},
      {"top-left corner in view", 20, 30, 20 + 20000000, 30 + 20000000, {{20, 30}, {150, 30}, {20, 140}}, {{100, 100}}},
      {"bottom-right corner in view", -30000000, -30000000, 150, 100, {{151, 50}, {50, 101}}, {{50, 50}}},
      {"edges at the ends of the coordinates",
       -2000000000,
       40,
       2000000000,
       2000000000,
       {{0, 40}, {199, 40}},
       {{100, 100}}},
  };
  hosts.printCircle = true;
  pv::BackgroundName = pv::FixedName(WriteChequer());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    pv::ImageSurface surface(200, 150);
    const std::uint64_t before = pv::DrawCallCount(surface.dc());
    pv::DragEditor_DrawPage(surface.dc(), c.l, c.t, c.r, c.b);
    EXPECT_LE(pv::DrawCallCount(surface.dc()) - before, 24u);
    const QImage img = surface.finish();
    for (const QPoint& p : c.frame) EXPECT_TRUE(Dark(img, p.x(), p.y())) << p.x() << "," << p.y();
    // The background covers the page inside its frame.
    for (const QPoint& p : c.inside) EXPECT_NE(img.pixel(p), qRgb(255, 255, 255)) << p.x() << "," << p.y();
  }
  // A page that covers the whole window shows no frame at all.
  pv::BackgroundName = pv::FixedName("");
  hosts.printCircle = false;
  pv::ImageSurface covered(200, 150);
  pv::DragEditor_DrawPage(covered.dc(), -20000000, -20000000, 20000000, 20000000);
  EXPECT_EQ(NonWhitePixels(covered.finish(), {0, 0, 200, 150}), 0);
}

TEST_F(EditorPage, BackgroundShowsTheSamePixelsWhereverThePageLies) {
  pv::BackgroundName = pv::FixedName(WriteChequer());
  // The page shown whole on a large surface is the reference; a small
  // window onto the same page, moved by (dx, dy), must show its pixels.
  pv::ImageSurface whole(700, 500);
  pv::DragEditor_DrawPage(whole.dc(), 50, 50, 650, 450);
  const QImage reference = whole.finish();
  const int dx = 200, dy = 150;
  pv::ImageSurface window(200, 150);
  pv::DragEditor_DrawPage(window.dc(), 50 - dx, 50 - dy, 650 - dx, 450 - dy);
  const QImage shown = window.finish();
  int worst = 0;
  for (int y = 0; y < shown.height(); ++y)
    for (int x = 0; x < shown.width(); ++x) {
      const QRgb a = shown.pixel(x, y), b = reference.pixel(x + dx, y + dy);
      worst = std::max(
          {worst, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
    }
  EXPECT_LE(worst, 3);
}

TEST_F(EditorPage, RoundLabelGuideOfAHugePageShowsWhereItCrossesTheWindow) {
  hosts.printCircle = true;
  // A circle of radius 10^7 pixels whose 45-degree point lies at (100, 75).
  const double radius = 1e7, offset = radius / std::sqrt(2.0);
  const auto l = std::int32_t(std::lround(100 - radius - offset));
  const auto t = std::int32_t(std::lround(75 - radius + offset));
  pv::ImageSurface surface(200, 150);
  pv::DragEditor_DrawPage(surface.dc(), l, t, l + 2 * std::int32_t(radius), t + 2 * std::int32_t(radius));
  EXPECT_LE(pv::DrawCallCount(surface.dc()), 24u);
  const QImage img = surface.finish();
  // There the circle runs down to the right, one pixel across per pixel down.
  for (int k : {-60, -30, 0, 30, 60}) {
    SCOPED_TRACE(k);
    EXPECT_GT(NonWhitePixels(img, {100 + k - 2, 75 + k - 2, 100 + k + 3, 75 + k + 3}), 0);
  }
  EXPECT_EQ(NonWhitePixels(img, {60, 100, 80, 120}), 0);  // inside the circle
  EXPECT_EQ(NonWhitePixels(img, {120, 30, 140, 50}), 0);  // outside it
}

}  // namespace
