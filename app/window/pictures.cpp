#include "app/window/pictures.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPixmapCache>
#include <QSvgRenderer>

namespace pv {

namespace {

QString ResFile(int id) {
  switch (id) {
    case PicBanner: return QStringLiteral("banner");
    case PicTabWizardLit: return QStringLiteral("tab_wizard_lit");
    case PicTabEditorLit: return QStringLiteral("tab_editor_lit");
    case PicTabPrintLit: return QStringLiteral("tab_print_lit");
    case PicAbout: return QStringLiteral("about");
    default: break;
  }
  if (id >= PicToolFirst && id <= PicToolLast) return QStringLiteral("tool_%1").arg(id);
  return QString();
}

QPixmap Render(const QString& name, QSize size) {
  const QString path = QStringLiteral(":/plavik/images/%1.svg").arg(name);
  QSvgRenderer svg(path);
  if (!svg.isValid()) return QPixmap();
  if (!size.isValid() || size.isEmpty()) size = svg.defaultSize();
  const QString cacheKey = QStringLiteral("pv-pic-%1-%2x%3").arg(name).arg(size.width()).arg(size.height());
  QPixmap pixmap;
  if (QPixmapCache::find(cacheKey, &pixmap)) return pixmap;
  const qreal ratio = qGuiApp != nullptr ? qGuiApp->devicePixelRatio() : 1.0;
  pixmap = QPixmap(size * ratio);
  pixmap.setDevicePixelRatio(ratio);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  svg.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
  painter.end();
  QPixmapCache::insert(cacheKey, pixmap);
  return pixmap;
}

}  // namespace

QSize ResPictureSize(int id) {
  switch (id) {
    case PicBanner: return QSize(1024, 63);
    case PicTabWizardLit:
    case PicTabEditorLit:
    case PicTabPrintLit: return QSize(200, 50);
    case PicAbout: return QSize(160, 270);
    default: break;
  }
  if (id >= PicToolFirst && id <= PicToolLast) return QSize(26, 26);
  return QSize();
}

QPixmap ResPicture(int id) {
  const QString name = ResFile(id);
  if (name.isEmpty()) return QPixmap();
  return Render(name, ResPictureSize(id));
}

QPixmap NamedPicture(const QString& name, QSize size) { return Render(name, size); }

}  // namespace pv
