#include "views/imagegridwidget.h"

#include <QMouseEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <QWheelEvent>

namespace pv {

ImageGridSurface::ImageGridSurface(ImageGridCore& core, QWidget* parent) : QWidget(parent), core_(core) {
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
}

void ImageGridSurface::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  p.drawImage(event->rect(), core_.Image(), event->rect());
}

void ImageGridSurface::mouseMoveEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  setCursor(core_.MouseMove(pos.x(), pos.y()) ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void ImageGridSurface::mousePressEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  core_.MousePress(pos.x(), pos.y());
}

void ImageGridSurface::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  core_.MouseRelease(pos.x(), pos.y());
  emit released();
}

ImageGridWidget::ImageGridWidget(ImageGridCore& core, QWidget* parent)
    : QWidget(parent),
      core_(core),
      surface_(new ImageGridSurface(core_, this)),
      scroll_(new QScrollBar(Qt::Vertical, this)) {
  // The grid repaints when the thumb is let go, not while it moves.
  scroll_->setTracking(false);
  scroll_->setFocusPolicy(Qt::NoFocus);
  scroll_->setEnabled(false);
  core_.onImageChanged = [this](const Rect& r) {
    surface_->update(QRect(r.left, r.top, r.right - r.left, r.bottom - r.top));
  };
  core_.onScrollChanged = [this] { SyncScrollBar(); };
  SyncScrollBar();
  scroll_->installEventFilter(this);
  connect(scroll_, &QScrollBar::valueChanged, this, [this](int value) {
    core_.SetScrollValue(value);
    if (surface_->isVisible()) surface_->setFocus();
  });
}

ImageGridWidget::~ImageGridWidget() {
  core_.onImageChanged = nullptr;
  core_.onScrollChanged = nullptr;
}

void ImageGridWidget::SyncScrollBar() {
  const ImageGridScroll& s = core_.Scroll();
  const QSignalBlocker block(scroll_);
  if (s.enabled) {
    scroll_->setRange(s.minimum, s.maximum);
    scroll_->setSingleStep(s.smallChange);
    scroll_->setPageStep(s.largeChange);
  }
  scroll_->setValue(s.value);
  scroll_->setEnabled(s.enabled);
}

void ImageGridWidget::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  surface_->setGeometry(0, 0, width(), height());
  const int barWidth = scroll_->sizeHint().width();
  scroll_->setGeometry(width() - barWidth, 0, barWidth, height());
  scroll_->raise();
  core_.Resize(width(), height(), barWidth);
}

// The surface leaves the wheel to its parent, this widget; the bar's own
// wheel comes through the filter, so that both scroll the same rows.
void ImageGridWidget::wheelEvent(QWheelEvent* event) {
  if (!core_.Scroll().enabled) {
    wheelDelta_ = 0;
    event->ignore();
    return;
  }
  // A notch is 120; a touchpad sends less at a time.
  wheelDelta_ += event->angleDelta().y();
  const int steps = wheelDelta_ / QWheelEvent::DefaultDeltasPerStep;
  wheelDelta_ -= steps * QWheelEvent::DefaultDeltasPerStep;
  core_.ScrollRows(-steps);
  event->accept();
}

bool ImageGridWidget::eventFilter(QObject* watched, QEvent* event) {
  if (watched == scroll_ && event->type() == QEvent::Wheel) {
    wheelEvent(static_cast<QWheelEvent*>(event));
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace pv
