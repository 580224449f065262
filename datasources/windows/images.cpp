#include "datasources/windows/images.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace pv {

namespace {

const QColor kInk(40, 60, 110);
const QColor kPaper(250, 250, 245);
const QColor kAccent(30, 140, 70);
const QColor kAlarm(200, 40, 40);

// A database drum: an ellipse top over a cylinder.
void Drum(QPainter& p, const QRectF& r) {
  const qreal cap = r.height() / 4;
  QPainterPath body;
  body.moveTo(r.left(), r.top() + cap / 2);
  body.lineTo(r.left(), r.bottom() - cap / 2);
  body.arcTo(QRectF(r.left(), r.bottom() - cap, r.width(), cap), 180, 180);
  body.lineTo(r.right(), r.top() + cap / 2);
  p.setBrush(kPaper);
  p.drawPath(body);
  p.drawEllipse(QRectF(r.left(), r.top(), r.width(), cap));
}

}  // namespace

QPixmap DataSourceCommandPicture(int index, int size) {
  QPixmap pm(size, size);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 32.0, size / 32.0);
  p.setPen(QPen(kInk, 1.6));
  switch (index) {
    case 0:  // New: a drum with a plus
      Drum(p, QRectF(3, 4, 18, 24));
      p.setPen(QPen(kAccent, 3.2));
      p.drawLine(QPointF(24, 14), QPointF(24, 28));
      p.drawLine(QPointF(17, 21), QPointF(31, 21));
      break;
    case 1: {  // Edit: a drum with a pencil
      Drum(p, QRectF(3, 4, 18, 24));
      p.setPen(QPen(kInk, 1.2));
      p.setBrush(QColor(240, 190, 60));
      p.drawPolygon(QPolygonF({QPointF(14, 28), QPointF(16, 22), QPointF(28, 10), QPointF(31, 13), QPointF(19, 25)}));
      break;
    }
    case 2:  // Delete: a drum with a cross
      Drum(p, QRectF(3, 4, 18, 24));
      p.setPen(QPen(kAlarm, 3.2));
      p.drawLine(QPointF(18, 16), QPointF(30, 28));
      p.drawLine(QPointF(30, 16), QPointF(18, 28));
      break;
    case 3:  // View: a grid of records
      p.setBrush(kPaper);
      p.drawRect(QRectF(3, 5, 26, 22));
      p.fillRect(QRectF(3.8, 5.8, 24.4, 5), QColor(170, 190, 225));
      for (int y = 11; y < 27; y += 5) p.drawLine(QPointF(3, y), QPointF(29, y));
      p.drawLine(QPointF(12, 5), QPointF(12, 27));
      p.drawLine(QPointF(20, 5), QPointF(20, 27));
      break;
    case 4:  // Sort: bars of rising length and an arrow down
      p.setBrush(kInk);
      for (int i = 0; i < 4; ++i) p.drawRect(QRectF(4, 6 + i * 6, 5 + i * 4, 3));
      p.setPen(QPen(kAccent, 2.4));
      p.drawLine(QPointF(26, 5), QPointF(26, 26));
      p.setBrush(kAccent);
      p.drawPolygon(QPolygonF({QPointF(21, 22), QPointF(31, 22), QPointF(26, 29)}));
      break;
    default:  // Filter: a funnel
      p.setBrush(QColor(170, 190, 225));
      p.drawPolygon(QPolygonF(
          {QPointF(3, 5), QPointF(29, 5), QPointF(19, 17), QPointF(19, 28), QPointF(13, 24), QPointF(13, 17)}));
      break;
  }
  return pm;
}

QPixmap FieldTreePicture(int image, int size) {
  QPixmap pm(size, size);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 16.0, size / 16.0);
  p.setPen(QPen(kInk, 1));
  if (image == 1) {
    Drum(p, QRectF(2.5, 1.5, 11, 13));
  } else {
    p.setBrush(kPaper);
    p.drawRect(QRectF(1.5, 4.5, 13, 7));
    p.setPen(QPen(kAccent, 1.4));
    p.drawLine(QPointF(4, 8), QPointF(12, 8));
  }
  return pm;
}

}  // namespace pv
