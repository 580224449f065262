#include "views/imagegridwidget.h"

#include <QMouseEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <QWheelEvent>

namespace pv {

ImageGridSurface::ImageGridSurface(ImageGridCore& core, QWidget* parent) : QWidget(parent), m_core(core) {
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
}

void ImageGridSurface::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  p.drawImage(event->rect(), m_core.Image(), event->rect());
}

void ImageGridSurface::mouseMoveEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  setCursor(m_core.MouseMove(pos.x(), pos.y()) ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void ImageGridSurface::mousePressEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  m_core.MousePress(pos.x(), pos.y());
}

void ImageGridSurface::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  m_core.MouseRelease(pos.x(), pos.y());
  emit released();
}

ImageGridWidget::ImageGridWidget(ImageGridCore& core, QWidget* parent)
    : QWidget(parent),
      m_core(core),
      m_surface(new ImageGridSurface(m_core, this)),
      m_scroll(new QScrollBar(Qt::Vertical, this)) {
  // The grid repaints when the thumb is let go, not while it moves.
  m_scroll->setTracking(false);
  m_scroll->setFocusPolicy(Qt::NoFocus);
  m_scroll->setEnabled(false);
  m_core.onImageChanged = [this](const Rect& r) {
    m_surface->update(QRect(r.left, r.top, r.right - r.left, r.bottom - r.top));
  };
  m_core.onScrollChanged = [this] { SyncScrollBar(); };
  SyncScrollBar();
  m_scroll->installEventFilter(this);
  connect(m_scroll, &QScrollBar::valueChanged, this, [this](int value) {
    m_core.SetScrollValue(value);
    if (m_surface->isVisible()) m_surface->setFocus();
  });
}

ImageGridWidget::~ImageGridWidget() {
  m_core.onImageChanged = nullptr;
  m_core.onScrollChanged = nullptr;
}

void ImageGridWidget::SyncScrollBar() {
  const ImageGridScroll& s = m_core.Scroll();
  const QSignalBlocker block(m_scroll);
  if (s.enabled) {
    m_scroll->setRange(s.minimum, s.maximum);
    m_scroll->setSingleStep(s.smallChange);
    m_scroll->setPageStep(s.largeChange);
  }
  m_scroll->setValue(s.value);
  m_scroll->setEnabled(s.enabled);
}

void ImageGridWidget::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  m_surface->setGeometry(0, 0, width(), height());
  const int barWidth = m_scroll->sizeHint().width();
  m_scroll->setGeometry(width() - barWidth, 0, barWidth, height());
  m_scroll->raise();
  m_core.Resize(width(), height(), barWidth);
}

// The surface leaves the wheel to its parent, this widget; the bar's own
// wheel comes through the filter, so that both scroll the same rows.
void ImageGridWidget::wheelEvent(QWheelEvent* event) {
  if (!m_core.Scroll().enabled) {
    m_wheelDelta = 0;
    event->ignore();
    return;
  }
  // A notch is 120; a touchpad sends less at a time.
  m_wheelDelta += event->angleDelta().y();
  const int steps = m_wheelDelta / QWheelEvent::DefaultDeltasPerStep;
  m_wheelDelta -= steps * QWheelEvent::DefaultDeltasPerStep;
  m_core.ScrollRows(-steps);
  event->accept();
}

bool ImageGridWidget::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_scroll && event->type() == QEvent::Wheel) {
    wheelEvent(static_cast<QWheelEvent*>(event));
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace pv
