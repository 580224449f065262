#pragma once
// The thumbnail grid's widget: the surface that shows the core's backing
// image and takes the mouse, and the vertical scroll bar over its right edge.
// The wheel, over the cells, the white around them or the bar, scrolls a
// row of cells a step.
#include "render/imagegrid.h"

#include <QScrollBar>
#include <QWidget>

namespace pv {

class ImageGridSurface : public QWidget {
  Q_OBJECT
 public:
  ImageGridSurface(ImageGridCore& core, QWidget* parent);

 signals:
  // After the grid handled a release (its host may have changed state).
  void released();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  ImageGridCore& m_core;
};

class ImageGridWidget : public QWidget {
  Q_OBJECT
 public:
  // Shows `core`, which outlives the widget (the window's model owns it).
  explicit ImageGridWidget(ImageGridCore& core, QWidget* parent = nullptr);
  ~ImageGridWidget() override;

  ImageGridCore& core() { return m_core; }
  QScrollBar* scrollBar() const { return m_scroll; }
  ImageGridSurface* surface() const { return m_surface; }
  // ImageListNoBorder: the drawing surface's window.
  QWidget* hwnd() const { return m_surface; }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void SyncScrollBar();

  ImageGridCore& m_core;
  ImageGridSurface* m_surface;
  QScrollBar* m_scroll;
  int m_wheelDelta = 0;  // eighths of a degree not yet a whole step
};

}  // namespace pv
