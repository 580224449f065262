#include "properties/windows/icons.h"

#include <QPainter>
#include <QSvgRenderer>

namespace pv {

namespace {
bool Known(int id) { return (id >= 7000 && id <= 7007) || (id >= 8000 && id <= 8003); }
}  // namespace

QPixmap PropertyPicture(int id) {
  if (!Known(id)) return QPixmap();
  QSvgRenderer svg(QStringLiteral(":/plavik/properties/prop_%1.svg").arg(id));
  if (!svg.isValid()) return QPixmap();
  QPixmap pixmap(svg.defaultSize());
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  svg.render(&painter);
  return pixmap;
}

QIcon PropertyIcon(int id) {
  const QPixmap p = PropertyPicture(id);
  return p.isNull() ? QIcon() : QIcon(p);
}

}  // namespace pv
