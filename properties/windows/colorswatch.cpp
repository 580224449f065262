#include "properties/windows/colorswatch.h"

#include "platform/commondialogs.h"

#include <QMouseEvent>
#include <QPainter>

namespace pv {

ColorSwatch::ColorSwatch(QWidget* parent) : QFrame(parent) {
  setFrameStyle(QFrame::Box | QFrame::Plain);
  setCursor(Qt::PointingHandCursor);
  setMinimumSize(40, 20);
}

void ColorSwatch::SetColor(std::int32_t color) {
  if (m_color == color) return;
  m_color = color;
  update();
}

void ColorSwatch::paintEvent(QPaintEvent* event) {
  {
    QPainter p(this);
    p.fillRect(contentsRect(), ColorFromLong(m_color));
  }
  QFrame::paintEvent(event);
}

void ColorSwatch::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
}

}  // namespace pv
