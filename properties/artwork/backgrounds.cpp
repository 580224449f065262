#include "properties/artwork/designs.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace pv::artwork {

namespace {

// Every background stays light: text printed over it must read.
QImage Gradient(int w, int h, QColor from, QColor to, bool vertical) {
  QImage img(w, h, QImage::Format_RGB32);
  QPainter p(&img);
  QLinearGradient g(0, 0, vertical ? 0 : w, vertical ? h : 0);
  g.setColorAt(0, from);
  g.setColorAt(1, to);
  p.fillRect(img.rect(), g);
  return img;
}

QImage Dots(int w, int h, QColor base, QColor dot) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(base);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(dot);
  for (int y = 12, row = 0; y < h; y += 30, ++row) {
    for (int x = row % 2 ? 27 : 12; x < w; x += 30) p.drawEllipse(QPoint(x, y), 5, 5);
  }
  return img;
}

QImage Stripes(int w, int h, QColor base, QColor stripe, bool diagonal) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(base);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(stripe, 12));
  if (diagonal) {
    for (int x = -h; x < w; x += 40) p.drawLine(x, h, x + h, 0);
  } else {
    for (int y = 10; y < h; y += 40) p.drawLine(0, y, w, y);
  }
  return img;
}

QImage Checks(int w, int h, QColor a, QColor b) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(a);
  QPainter p(&img);
  for (int y = 0; y < h; y += 40)
    for (int x = (y / 40) % 2 ? 40 : 0; x < w; x += 80) p.fillRect(x, y, 40, 40, b);
  return img;
}

QImage Waves(int w, int h, QColor base, QColor wave) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(base);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(wave, 6));
  for (int y = 20; y < h + 40; y += 45) {
    QPainterPath path(QPointF(0, y));
    for (int x = 0; x < w; x += 100) path.cubicTo(x + 30, y - 20, x + 70, y + 20, x + 100, y);
    p.drawPath(path);
  }
  return img;
}

QImage Glow(int w, int h, QColor centre, QColor edge) {
  QImage img(w, h, QImage::Format_RGB32);
  QPainter p(&img);
  QRadialGradient g(w / 2.0, h / 2.0, std::max(w, h) / 1.4);
  g.setColorAt(0, centre);
  g.setColorAt(1, edge);
  p.fillRect(img.rect(), g);
  return img;
}

QImage Paper(int w, int h) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(QColor(0xFB, 0xF6, 0xEA));
  QPainter p(&img);
  p.setPen(QPen(QColor(0xC5, 0xDA, 0xF0), 2));
  for (int y = 50; y < h; y += 32) p.drawLine(0, y, w, y);
  p.setPen(QPen(QColor(0xF2, 0xB8, 0xB8), 3));
  p.drawLine(70, 0, 70, h);
  return img;
}

QImage Bubbles(int w, int h) {
  QImage img = Gradient(w, h, QColor(0xEA, 0xF6, 0xFF), QColor(0xFF, 0xFF, 0xFF), true);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(0xB3, 0xD9, 0xF2), 3));
  p.setBrush(Qt::NoBrush);
  const int spots[][3] = {{60, 60, 40},   {200, 300, 60}, {420, 100, 30}, {520, 320, 50},
                          {330, 180, 20}, {120, 220, 25}, {560, 60, 35},  {260, 70, 18}};
  for (const auto& s : spots) p.drawEllipse(QPoint(s[0] * w / 600, s[1] * h / 400), s[2], s[2]);
  return img;
}

std::vector<BackgroundDesign> Build() {
  return {
      {"cielo", [](int w, int h) { return Gradient(w, h, QColor(0xCF, 0xE8, 0xFF), QColor(0xFF, 0xFF, 0xFF), true); }},
      {"tramonto",
       [](int w, int h) { return Gradient(w, h, QColor(0xFF, 0xE3, 0xC8), QColor(0xFF, 0xF4, 0xF8), true); }},
      {"prato", [](int w, int h) { return Gradient(w, h, QColor(0xFF, 0xFF, 0xF4), QColor(0xDD, 0xF2, 0xD4), true); }},
      {"lavanda",
       [](int w, int h) { return Gradient(w, h, QColor(0xEE, 0xE6, 0xFA), QColor(0xFF, 0xFF, 0xFF), false); }},
      {"pois", [](int w, int h) { return Dots(w, h, QColor(0xFF, 0xFF, 0xFF), QColor(0xFF, 0xD6, 0xE0)); }},
      {"righe", [](int w, int h) { return Stripes(w, h, QColor(0xFF, 0xFF, 0xFF), QColor(0xE3, 0xF0, 0xFA), false); }},
      {"diagonali",
       [](int w, int h) { return Stripes(w, h, QColor(0xFF, 0xFD, 0xF2), QColor(0xFA, 0xEE, 0xC8), true); }},
      {"scacchi", [](int w, int h) { return Checks(w, h, QColor(0xFF, 0xFF, 0xFF), QColor(0xEE, 0xF4, 0xEA)); }},
      {"onde", [](int w, int h) { return Waves(w, h, QColor(0xF4, 0xFB, 0xFF), QColor(0xCC, 0xE6, 0xF5)); }},
      {"alone", [](int w, int h) { return Glow(w, h, QColor(0xFF, 0xFF, 0xFF), QColor(0xFF, 0xEC, 0xB8)); }},
      {"quaderno", [](int w, int h) { return Paper(w, h); }},
      {"bolle", [](int w, int h) { return Bubbles(w, h); }},
  };
}

}  // namespace

const std::vector<BackgroundDesign>& BackgroundDesigns() {
  static const std::vector<BackgroundDesign> designs = Build();
  return designs;
}

}  // namespace pv::artwork
