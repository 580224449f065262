#include "editor/view/paletteicons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>

#include <cmath>
#include <numbers>

namespace pv {

namespace {

const QColor kInk(40, 52, 80);
const QColor kBlue(58, 110, 190);
const QColor kPale(206, 222, 246);
const QColor kGreen(62, 150, 84);

QPixmap Canvas() {
  QPixmap pm(PaletteIconSize, PaletteIconSize);
  pm.fill(Qt::transparent);
  return pm;
}

void Pen(QPainter& p, const QColor& c, qreal w = 1.6) {
  p.setPen(QPen(c, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

void Letter(QPainter& p, const QRectF& r, const QString& text, int pixel, bool bold = true) {
  QFont f(QStringLiteral("DejaVu Sans"));
  f.setPixelSize(pixel);
  f.setBold(bold);
  p.setFont(f);
  p.drawText(r, Qt::AlignCenter, text);
}

void Star(QPainter& p, QPointF c, qreal outer, qreal inner) {
  QPolygonF poly;
  for (int i = 0; i < 10; ++i) {
    const qreal r = (i % 2 == 0) ? outer : inner;
    const qreal a = -std::numbers::pi / 2 + i * std::numbers::pi / 5;
    poly << QPointF(c.x() + r * std::cos(a), c.y() + r * std::sin(a));
  }
  p.drawPolygon(poly);
}

void Draw(QPainter& p, int index) {
  const QRectF box(3.5, 5.5, 17, 13);
  switch (index) {
    case 0: {  // database field: a cylinder
      Pen(p, kInk);
      p.setBrush(kPale);
      p.drawRect(QRectF(5, 6, 14, 12));
      p.drawEllipse(QRectF(5, 3, 14, 6));
      p.drawArc(QRectF(5, 9, 14, 6), 180 * 16, 180 * 16);
      p.drawEllipse(QRectF(5, 15, 14, 6));
      p.setPen(Qt::NoPen);
      p.drawRect(QRectF(5.8, 7, 12.4, 10.5));
      Pen(p, kInk);
      p.drawArc(QRectF(5, 9, 14, 6), 180 * 16, 180 * 16);
      break;
    }
    case 1:  // text box
      Pen(p, kInk, 1);
      p.setBrush(Qt::white);
      p.drawRect(QRectF(3.5, 3.5, 17, 17));
      p.setPen(kBlue);
      Letter(p, QRectF(3, 3, 18, 18), QStringLiteral("T"), 15);
      break;
    case 2: {  // picture from file: a landscape
      Pen(p, kInk, 1);
      p.setBrush(kPale);
      p.drawRect(box);
      p.setPen(Qt::NoPen);
      p.setBrush(kGreen);
      p.drawPolygon(QPolygonF({QPointF(4, 18), QPointF(10, 10), QPointF(14, 15), QPointF(17, 12), QPointF(20, 18)}));
      p.setBrush(QColor(240, 180, 40));
      p.drawEllipse(QRectF(14, 7, 4, 4));
      break;
    }
    case 3:  // clip-art: a star
      Pen(p, kInk, 1);
      p.setBrush(QColor(245, 190, 50));
      Star(p, QPointF(12, 12.5), 9.5, 4);
      break;
    case 4:  // line
      Pen(p, kInk, 2);
      p.drawLine(QPointF(4, 20), QPointF(20, 4));
      break;
    case 5:  // rectangle
      Pen(p, kInk);
      p.setBrush(kPale);
      p.drawRect(box);
      break;
    case 6:  // ellipse
      Pen(p, kInk);
      p.setBrush(kPale);
      p.drawEllipse(QRectF(3, 5, 18, 14));
      break;
    case 7: {  // chamfered rectangle
      Pen(p, kInk);
      p.setBrush(kPale);
      p.drawPolygon(QPolygonF({QPointF(7, 5.5), QPointF(17, 5.5), QPointF(20.5, 9), QPointF(20.5, 15),
                               QPointF(17, 18.5), QPointF(7, 18.5), QPointF(3.5, 15), QPointF(3.5, 9)}));
      break;
    }
    case 8:  // rounded rectangle
      Pen(p, kInk);
      p.setBrush(kPale);
      p.drawRoundedRect(box, 4, 4);
      break;
    case 9: {  // generic shape: an arrow
      Pen(p, kInk, 1.2);
      p.setBrush(kPale);
      p.drawPolygon(QPolygonF({QPointF(3, 9), QPointF(13, 9), QPointF(13, 4), QPointF(21, 12), QPointF(13, 20),
                               QPointF(13, 15), QPointF(3, 15)}));
      break;
    }
    case 10: {  // background: a shaded label
      QLinearGradient g(QPointF(3, 3), QPointF(21, 21));
      g.setColorAt(0, QColor(250, 210, 120));
      g.setColorAt(1, QColor(120, 170, 230));
      Pen(p, kInk, 1);
      p.setBrush(g);
      p.drawRoundedRect(QRectF(3.5, 4.5, 17, 15), 2, 2);
      break;
    }
    case 11: {  // art text: a letter on an arc
      QPainterPath path;
      QFont f(QStringLiteral("DejaVu Serif"));
      f.setPixelSize(17);
      f.setBold(true);
      f.setItalic(true);
      path.addText(QPointF(5, 18), f, QStringLiteral("A"));
      QLinearGradient g(QPointF(0, 4), QPointF(0, 20));
      g.setColorAt(0, QColor(230, 90, 60));
      g.setColorAt(1, QColor(150, 40, 120));
      p.setPen(QPen(kInk, 0.8));
      p.setBrush(g);
      p.drawPath(path);
      Pen(p, kBlue, 1.4);
      p.setBrush(Qt::NoBrush);
      p.drawArc(QRectF(2, 13, 20, 10), 200 * 16, 140 * 16);
      break;
    }
    case 12: {  // barcode
      p.setPen(Qt::NoPen);
      p.setBrush(kInk);
      const int widths[] = {2, 1, 1, 2, 1, 3, 1, 1, 2, 1};
      qreal x = 3;
      for (int i = 0; i < 10 && x < 21; ++i) {
        if (i % 2 == 0) p.drawRect(QRectF(x, 4, widths[i], 16));
        x += widths[i] + 0.6;
      }
      break;
    }
    case 13: {  // border: a decorated frame
      Pen(p, kBlue, 2);
      p.setBrush(Qt::NoBrush);
      p.drawRect(QRectF(4, 4, 16, 16));
      Pen(p, kInk, 1);
      p.drawRect(QRectF(7, 7, 10, 10));
      p.setBrush(kBlue);
      for (const QPointF c : {QPointF(4, 4), QPointF(20, 4), QPointF(4, 20), QPointF(20, 20)}) p.drawEllipse(c, 2, 2);
      break;
    }
    default: break;
  }
}

}  // namespace

QIcon PaletteIcon(int index) {
  QPixmap pm = Canvas();
  {
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    Draw(p, index);
  }
  return QIcon(pm);
}

QIcon ApplyIcon() {
  QPixmap pm = Canvas();
  {
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(30, 100, 45), 1));
    p.setBrush(QColor(90, 180, 100));
    p.drawEllipse(QRectF(2.5, 2.5, 19, 19));
    p.setPen(QPen(Qt::white, 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({QPointF(7, 12.5), QPointF(10.5, 16), QPointF(17, 8.5)}));
  }
  return QIcon(pm);
}

}  // namespace pv
