#include "document/canvas/cursors.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

#include <map>

namespace pv {

namespace {

constexpr int Side = 32;
const QPoint CrossHotspot(12, 8);

QImage Blank() {
  QImage img(Side, Side, QImage::Format_ARGB32);
  img.fill(Qt::transparent);
  return img;
}

// Two colours only: every drawn pixel becomes black or white, and every
// transparent pixel that touches a black one becomes white, so the pointer
// reads on dark and light backgrounds alike.
QImage TwoColour(const QImage& drawn) {
  QImage img = Blank();
  for (int y = 0; y < Side; ++y) {
    for (int x = 0; x < Side; ++x) {
      const QRgb p = drawn.pixel(x, y);
      if (qAlpha(p) < 128) continue;
      img.setPixel(x, y, qGray(p) < 128 ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
    }
  }
  QImage out = img;
  for (int y = 0; y < Side; ++y) {
    for (int x = 0; x < Side; ++x) {
      if (qAlpha(img.pixel(x, y)) != 0) continue;
      bool nearBlack = false;
      for (int dy = -1; dy <= 1 && !nearBlack; ++dy) {
        for (int dx = -1; dx <= 1 && !nearBlack; ++dx) {
          const int nx = x + dx, ny = y + dy;
          if (nx < 0 || ny < 0 || nx >= Side || ny >= Side) continue;
          const QRgb q = img.pixel(nx, ny);
          nearBlack = qAlpha(q) != 0 && qGray(q) < 128;
        }
      }
      if (nearBlack) out.setPixel(x, y, qRgb(255, 255, 255));
    }
  }
  return out;
}

QPen BlackPen(qreal width = 1) {
  QPen pen(Qt::black, width);
  pen.setCapStyle(Qt::FlatCap);
  pen.setJoinStyle(Qt::MiterJoin);
  return pen;
}

void Crosshair(QPainter& p) {
  p.setPen(BlackPen());
  p.drawLine(CrossHotspot.x() - 8, CrossHotspot.y(), CrossHotspot.x() - 2, CrossHotspot.y());
  p.drawLine(CrossHotspot.x() + 2, CrossHotspot.y(), CrossHotspot.x() + 8, CrossHotspot.y());
  p.drawLine(CrossHotspot.x(), CrossHotspot.y() - 8, CrossHotspot.x(), CrossHotspot.y() - 2);
  p.drawLine(CrossHotspot.x(), CrossHotspot.y() + 2, CrossHotspot.x(), CrossHotspot.y() + 8);
  p.drawPoint(CrossHotspot);
}

QImage DrawHand() {
  QImage img = Blank();
  QPainter p(&img);
  QPainterPath hand;
  // The index finger points up, its tip at the hotspot (5, 0).
  hand.moveTo(3, 2);
  hand.lineTo(4, 0);
  hand.lineTo(7, 0);
  hand.lineTo(8, 2);
  hand.lineTo(8, 9);
  hand.lineTo(11, 9);
  hand.lineTo(12, 10);
  hand.lineTo(14, 10);
  hand.lineTo(15, 11);
  hand.lineTo(17, 11);
  hand.lineTo(18, 12);
  hand.lineTo(18, 19);
  hand.lineTo(16, 23);
  hand.lineTo(16, 26);
  hand.lineTo(6, 26);
  hand.lineTo(6, 23);
  hand.lineTo(1, 17);
  hand.lineTo(0, 15);
  hand.lineTo(1, 13);
  hand.lineTo(3, 13);
  hand.closeSubpath();
  p.setBrush(Qt::white);
  p.setPen(BlackPen());
  p.drawPath(hand);
  // The folded fingers.
  p.drawLine(11, 10, 11, 14);
  p.drawLine(14, 11, 14, 14);
  p.end();
  return TwoColour(img);
}

QImage DrawRotation() {
  QImage img = Blank();
  QPainter p(&img);
  p.setPen(BlackPen(2));
  // Three quarters of a circle about the hotspot (16, 17), open at the top
  // right, with the arrow head at its upper end.
  const QRect circle(8, 9, 16, 16);
  p.drawArc(circle, 60 * 16, 270 * 16);
  p.setPen(BlackPen());
  p.setBrush(Qt::black);
  const QPolygon head({QPoint(18, 4), QPoint(25, 9), QPoint(18, 13)});
  p.drawPolygon(head);
  p.drawPoint(16, 17);
  p.end();
  return TwoColour(img);
}

// A drawing tool's pointer: the crosshair and the kind's picture in the box
// (16, 18)-(30, 30).
QImage DrawTool(int id) {
  QImage img = Blank();
  QPainter p(&img);
  Crosshair(p);
  p.setPen(BlackPen());
  p.setBrush(Qt::NoBrush);
  switch (id) {
    case CursorDrawLine: p.drawLine(17, 30, 30, 18); break;
    case CursorDrawText:
      // "Ab"
      p.drawLine(16, 30, 19, 19);
      p.drawLine(19, 19, 22, 30);
      p.drawLine(17, 26, 21, 26);
      p.drawLine(25, 19, 25, 30);
      p.drawRect(25, 24, 4, 6);
      break;
    case CursorDrawImage:
      p.drawRect(16, 18, 14, 12);
      p.drawPolyline(QPolygon({QPoint(18, 28), QPoint(21, 23), QPoint(24, 26), QPoint(26, 24), QPoint(29, 28)}));
      p.drawRect(25, 20, 1, 1);
      break;
    case CursorDrawEllipse: p.drawEllipse(16, 19, 14, 10); break;
    case CursorDrawRectangle: p.drawRect(16, 19, 14, 10); break;
    case CursorDrawRounded: p.drawRoundedRect(16, 19, 14, 10, 4, 4); break;
    case CursorDrawBarcode:
      for (int x : {16, 17, 19, 22, 23, 25, 27, 28, 30}) p.drawLine(x, 19, x, 30);
      break;
    default:  // a free shape
      p.drawPolygon(
          QPolygon({QPoint(17, 29), QPoint(18, 20), QPoint(23, 23), QPoint(29, 18), QPoint(27, 29), QPoint(22, 26)}));
      break;
  }
  p.end();
  return TwoColour(img);
}

CursorPicture Make(int id) {
  switch (id) {
    case CursorHand: return {DrawHand(), QPoint(5, 0)};
    case CursorRotation: return {DrawRotation(), QPoint(16, 17)};
    default:
      if (id >= CursorDrawLine && id <= CursorDrawBarcode) return {DrawTool(id), CrossHotspot};
      return {};
  }
}

}  // namespace

const CursorPicture& CursorResource(int id) {
  static std::map<int, CursorPicture> pictures;
  auto it = pictures.find(id);
  if (it == pictures.end()) it = pictures.emplace(id, Make(id)).first;
  return it->second;
}

int CursorForKind(std::int16_t userType) {
  switch (userType) {
    case 100:
    case 101: return CursorDrawText;
    case 102: return CursorDrawImage;
    case 104: return CursorDrawLine;
    case 105: return CursorDrawRectangle;
    case 106: return CursorDrawEllipse;
    case 107:
    case 108: return CursorDrawRounded;
    case 300: return CursorDrawBarcode;
    default: return CursorDrawShape;
  }
}

}  // namespace pv
