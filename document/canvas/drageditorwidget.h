#pragma once
// The canvas on the screen: a QWidget with the horizontal and vertical
// rulers, the drawing surface and the two scroll bars, laid out by the
// canvas from the widget's size. It shows the canvas's back-buffer images
// and maps paint, mouse, keyboard, focus, resize and the scroll bars onto
// the canvas (drageditor.h), which does all the work. The mouse wheel over
// the rulers and the surface scrolls down and up (with Shift across) by a
// tenth of what the surface shows a notch, and with Ctrl steps the zoom a notch at a time as
// the zoom commands do.
#include "document/canvas/drageditor.h"

#include <QWidget>

#include <memory>

class QScrollBar;

namespace pv {

class DragEditorWidget : public QWidget, public DragEditorView {
  Q_OBJECT

 public:
  explicit DragEditorWidget(QWidget* parent = nullptr, DragEditorHost* host = nullptr);
  ~DragEditorWidget() override;

  DragEditor& Core() { return *m_core; }
  const DragEditor& Core() const { return *m_core; }
  void SetHost(DragEditorHost* host) { m_core->SetHost(host); }

  QWidget* HRule() const;
  QWidget* VRule() const;
  QWidget* ViewArea() const;
  QScrollBar* HScrollBar() const { return m_hscroll; }
  QScrollBar* VScrollBar() const { return m_vscroll; }

  // Puts the control at r (in its parent) and lays the canvas out for that
  // size at once. Qt holds a hidden widget's resize event back until the
  // widget is shown; a host that sizes the canvas while it is hidden (the
  // editor view at start-up, before the settings reach the canvas) calls
  // this, so that the canvas's surface, fit and scroll bars follow the size
  // it really has. The resize event delivered when the control is shown
  // lays it out again (and fits once more while ZoomPage is set).
  void Place(const QRect& r);

  // The key number of the host GUI for a Qt key (46 for Delete, 65-90 for
  // letters, ...); 0 for keys without one.
  static std::int16_t KeyCodeOf(int qtKey);
  // Mouse buttons (1 left, 2 right, 4 middle) and modifiers (1 Shift,
  // 2 Ctrl, 4 Alt) as masks.
  static std::int16_t ButtonMask(Qt::MouseButtons buttons);
  static std::int16_t ShiftMask(Qt::KeyboardModifiers modifiers);

 signals:
  // The drawing surface's image changed: whatever changed the objects or
  // the selection has repainted by now.
  void SurfaceRepainted();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  // Hands the control's size in pixels to the canvas's layout.
  void HandOver(const QSize& size);

  class Surface;
  class Ruler;

  // DragEditorView
  void SurfaceChanged() override;
  void RulersChanged() override;
  void ScrollBarsChanged() override;
  void LayoutChanged() override;
  void PointerChanged() override;
  void FocusSurface() override;
  bool SurfaceVisible() const override;

  std::unique_ptr<DragEditor> m_core;
  Ruler* m_hrule = nullptr;
  Ruler* m_vrule = nullptr;
  Surface* m_surface = nullptr;
  QScrollBar* m_hscroll = nullptr;
  QScrollBar* m_vscroll = nullptr;
  // The size last handed to the canvas (none yet: invalid).
  QSize m_handedSize;
  // Wheel turns not yet a whole notch (a fine-grained wheel or touchpad):
  // across, down, and of the zoom.
  QPoint m_wheelRest;
  int m_zoomRest = 0;
};

}  // namespace pv
