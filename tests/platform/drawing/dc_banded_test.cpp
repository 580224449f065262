// Device context: large smoothed paths drawn in bands of rows give the
// pixels Qt gives drawing them whole, with no seam between the bands, on
// their own, translucent, with a gradient, stroked with a wide or dashed pen,
// and under a shifted painter.

#include "dc_support.h"

#include <gtest/gtest.h>

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <vector>

using namespace pv;
using namespace dctest;

namespace {

constexpr int kW = 900, kH = 700;

struct BandCase {
  const char* name;
  std::function<QPainterPath()> path;
  std::function<void(QPainter*)> setUp;
};

QPainterPath Star() {
  QPainterPath p;
  p.moveTo(450, 20);
  p.lineTo(700, 680);
  p.lineTo(40, 250);
  p.lineTo(860, 250);
  p.lineTo(200, 680);
  p.closeSubpath();
  return p;  // odd-even: the pentagon in the middle is a hole
}

QPainterPath Letters() {
  QFont f(QStringLiteral("DejaVu Sans"));
  f.setPixelSize(300);
  f.setBold(true);
  QPainterPath p;
  p.addText(QPointF(20, 300), f, QStringLiteral("Ago"));
  return QTransform::fromScale(1.0, 2.1).map(p);  // tall, with curves and holes
}

QPainterPath TurnedEllipse() {
  QPainterPath p;
  p.addEllipse(QRectF(100, 200, 700, 300));
  QTransform t;
  t.translate(450, 350);
  t.rotate(-30);
  t.translate(-450, -350);
  return t.map(p);
}

void Solid(QPainter* p) {
  p->setPen(Qt::NoPen);
  p->setBrush(QColor(20, 60, 160));
}

const BandCase kCases[] = {
    {"star", Star, Solid},
    {"letters", Letters, Solid},
    {"turned ellipse", TurnedEllipse, Solid},
    {"translucent letters", Letters,
     [](QPainter* p) {
       Solid(p);
       p->setOpacity(0.4);
     }},
    {"gradient star", Star,
     [](QPainter* p) {
       QLinearGradient g(0, 0, kW, kH);
       g.setColorAt(0, QColor(250, 220, 40));
       g.setColorAt(1, QColor(20, 60, 160));
       p->setPen(Qt::NoPen);
       p->setBrush(g);
     }},
    {"wide pen over fill", TurnedEllipse,
     [](QPainter* p) {
       QPen pen(QColor(90, 0, 0), 40);
       pen.setJoinStyle(Qt::MiterJoin);
       p->setPen(pen);
       p->setBrush(QColor(250, 220, 40));
     }},
    {"dashed pen", Letters,
     [](QPainter* p) {
       QPen pen(QColor(0, 0, 0), 9);
       pen.setDashPattern({4, 2});
       p->setPen(pen);
       p->setBrush(Qt::NoBrush);
     }},
    {"shifted painter", Letters,
     [](QPainter* p) {
       Solid(p);
       p->translate(-7, -150);
     }},
};

QImage Drawn(const BandCase& c, bool banded) {
  QImage img(kW, kH, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::white);
  QPainter p(&img);
  p.fillRect(QRect(0, kH / 3, kW, kH / 3), Qt::black);  // shows a translucent overlap
  p.setRenderHint(QPainter::Antialiasing, true);
  c.setUp(&p);
  if (banded)
    DrawPainterPath(&p, c.path());
  else
    p.drawPath(c.path());
  p.end();
  return img;
}

TEST(DcBanded, BandsGiveThePixelsOfTheWholePath) {
  EnsureApp();
  for (const BandCase& c : kCases) {
    SCOPED_TRACE(c.name);
    const QImage whole = Drawn(c, false), bands = Drawn(c, true);
    long sum = 0;
    int large = 0, ink = 0;
    std::vector<long> rowSum(kH, 0);
    for (int y = 0; y < kH; ++y) {
      const QRgb* a = reinterpret_cast<const QRgb*>(whole.constScanLine(y));
      const QRgb* b = reinterpret_cast<const QRgb*>(bands.constScanLine(y));
      for (int x = 0; x < kW; ++x) {
        const int d = std::max({std::abs(qRed(a[x]) - qRed(b[x])), std::abs(qGreen(a[x]) - qGreen(b[x])),
                                std::abs(qBlue(a[x]) - qBlue(b[x]))});
        sum += d;
        rowSum[y] += d;
        large += d > 48;
        ink += a[x] != qRgb(255, 255, 255) && (y < kH / 3 || y >= 2 * kH / 3);
      }
    }
    EXPECT_GT(ink, kW * kH / 40);                                              // the case draws something
    EXPECT_LT(double(sum) / (kW * kH), 0.1);                                   // differences at the edges only
    EXPECT_EQ(large, 0);                                                       // and small there
    for (int y = 0; y < kH; ++y) EXPECT_LT(rowSum[y], 4 * kW) << "row " << y;  // no seam row
  }
}

// Below the height from which bands pay, on another device than a picture,
// or under a scaled painter, the path is drawn whole: the very same pixels.
TEST(DcBanded, SmallPathsAndScaledPaintersDrawAsQtDoes) {
  EnsureApp();
  const QPainterPath small = QTransform::fromScale(0.3, 0.3).map(Letters());
  for (const bool scaled : {false, true}) {
    QImage a(kW, kH, QImage::Format_ARGB32_Premultiplied), b(kW, kH, QImage::Format_ARGB32_Premultiplied);
    for (QImage* img : {&a, &b}) {
      img->fill(Qt::white);
      QPainter p(img);
      p.setRenderHint(QPainter::Antialiasing, true);
      Solid(&p);
      if (scaled) p.scale(0.9, 0.9);
      const QPainterPath path = scaled ? Letters() : small;
      if (img == &a)
        p.drawPath(path);
      else
        DrawPainterPath(&p, path);
    }
    EXPECT_EQ(Differing(a, b), 0) << scaled;
  }
}

}  // namespace
