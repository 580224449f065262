#include "document/canvas/drageditorwidget.h"

#include "document/canvas/cursors.h"
#include "platform/runtime.h"

#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QResizeEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <functional>

namespace pv {

namespace {

QRect PixelRect(const TwipRect& r) {
  return QRect(TwipsToPixels(r.Left), TwipsToPixels(r.Top), TwipsToPixels(r.Width), TwipsToPixels(r.Height));
}

}  // namespace

// A ruler: shows its image.
class DragEditorWidget::Ruler : public QWidget {
 public:
  Ruler(QWidget* parent, std::function<const QImage&()> image) : QWidget(parent), m_image(std::move(image)) {
    setAttribute(::Qt::WA_OpaquePaintEvent);
  }

 protected:
  void paintEvent(QPaintEvent* event) override {
    const QImage& img = m_image();
    QPainter p(this);
    p.fillRect(event->rect(), ToQColor(RulerBackColour));
    p.drawImage(event->rect().topLeft(), img, event->rect());
  }
  void wheelEvent(QWheelEvent* event) override { static_cast<DragEditorWidget*>(parentWidget())->wheelEvent(event); }

 private:
  std::function<const QImage&()> m_image;
};

// The drawing surface: shows the back buffer and feeds mouse and keyboard to
// the canvas.
class DragEditorWidget::Surface : public QWidget {
 public:
  Surface(QWidget* parent, DragEditor& core) : QWidget(parent), m_core(core) {
    setAttribute(::Qt::WA_OpaquePaintEvent);
    setFocusPolicy(::Qt::StrongFocus);
    setMouseTracking(true);
  }

 protected:
  void paintEvent(QPaintEvent* event) override {
    QPainter p(this);
    const QImage& img = m_core.SurfaceImage();
    p.fillRect(event->rect(), ToQColor(SurfaceBackColour));
    p.drawImage(event->rect().topLeft(), img, event->rect());
  }
  void mousePressEvent(QMouseEvent* e) override {
    m_core.MouseDown(ButtonMask(e->button()), ShiftMask(e->modifiers()), float(e->position().x()),
                     float(e->position().y()));
  }
  void mouseMoveEvent(QMouseEvent* e) override {
    m_core.MouseMove(ButtonMask(e->buttons()), ShiftMask(e->modifiers()), float(e->position().x()),
                     float(e->position().y()));
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    m_core.MouseUp(ButtonMask(e->button()), ShiftMask(e->modifiers()), float(e->position().x()),
                   float(e->position().y()));
  }
  void keyPressEvent(QKeyEvent* e) override {
    const std::int16_t code = KeyCodeOf(e->key());
    if (code != 0) m_core.KeyDown(code, ShiftMask(e->modifiers()));
    QWidget::keyPressEvent(e);
  }
  void wheelEvent(QWheelEvent* e) override { static_cast<DragEditorWidget*>(parentWidget())->wheelEvent(e); }

 private:
  DragEditor& m_core;
};

DragEditorWidget::DragEditorWidget(QWidget* parent, DragEditorHost* host) : QWidget(parent) {
  m_core = std::make_unique<DragEditor>(host);
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, ToQColor(CanvasBackColour));
  setPalette(pal);

  m_hrule = new Ruler(this, [this]() -> const QImage& { return m_core->HRuleImage(); });
  m_vrule = new Ruler(this, [this]() -> const QImage& { return m_core->VRuleImage(); });
  m_surface = new Surface(this, *m_core);
  m_hscroll = new QScrollBar(::Qt::Horizontal, this);
  m_vscroll = new QScrollBar(::Qt::Vertical, this);
  // A scroll bar never keeps the focus: keyboard input goes to the surface.
  m_hscroll->setFocusPolicy(::Qt::NoFocus);
  m_vscroll->setFocusPolicy(::Qt::NoFocus);
  connect(m_hscroll, &QScrollBar::valueChanged, this, [this](int v) { m_core->HScrollChange(std::int16_t(v)); });
  connect(m_vscroll, &QScrollBar::valueChanged, this, [this](int v) { m_core->VScrollChange(std::int16_t(v)); });

  m_core->SetView(this);
  LayoutChanged();
  ScrollBarsChanged();
  PointerChanged();
  resize(TwipsToPixels(m_core->Layout().VScroll.Left + m_core->Layout().VScroll.Width),
         TwipsToPixels(m_core->Layout().HScroll.Top + m_core->Layout().HScroll.Height));
}

QWidget* DragEditorWidget::HRule() const { return m_hrule; }
QWidget* DragEditorWidget::VRule() const { return m_vrule; }
QWidget* DragEditorWidget::ViewArea() const { return m_surface; }

DragEditorWidget::~DragEditorWidget() { m_core->SetView(nullptr); }

void DragEditorWidget::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  HandOver(event->size());
}

void DragEditorWidget::Place(const QRect& r) {
  setGeometry(r);
  // Shown, the resize event has just handed the size over; hidden, it waits
  // for the show.
  if (size() != m_handedSize) HandOver(size());
}

void DragEditorWidget::HandOver(const QSize& size) {
  m_handedSize = size;
  const int w = size.width() * TwipsPerPixel;
  const int h = size.height() * TwipsPerPixel;
  m_core->Resize(w, h, w, h);
}

namespace {

// The whole notches in `rest` (a wheel notch is 120), taken out of it.
int TakeNotches(int& rest) {
  constexpr int kNotch = 120;
  const int notches = rest / kNotch;
  rest -= notches * kNotch;
  return notches;
}

// Moves a bar by notches of a tenth of the visible extent (up or left for a
// turn away from the user); the bar's value change scrolls the canvas.
void ScrollByNotches(QScrollBar* bar, int notches, double visiblePixels, float zoom) {
  if (notches == 0 || !bar->isEnabled() || !(zoom > 0.0f)) return;
  const int step = std::max(1, int(RoundHalfEven(visiblePixels / 10.0 / double(zoom))));
  bar->setValue(std::clamp(bar->value() - notches * step, bar->minimum(), bar->maximum()));
}

}  // namespace

void DragEditorWidget::wheelEvent(QWheelEvent* event) {
  const QPoint turn = event->angleDelta();
  const Qt::KeyboardModifiers modifiers = event->modifiers();
  event->accept();
  if (modifiers & ::Qt::ControlModifier) {
    m_zoomRest += turn.y() != 0 ? turn.y() : turn.x();
    for (int n = TakeNotches(m_zoomRest); n != 0; n += n > 0 ? -1 : 1) m_core->SetZoom(n > 0);
    return;
  }
  QPoint move = turn;
  // Shift turns the wheel's scrolling across.
  if ((modifiers & ::Qt::ShiftModifier) && move.x() == 0) move = QPoint(move.y(), 0);
  m_wheelRest += move;
  int across = m_wheelRest.x();
  int down = m_wheelRest.y();
  const int notchesAcross = TakeNotches(across);
  const int notchesDown = TakeNotches(down);
  m_wheelRest = QPoint(across, down);
  const CanvasState& st = m_core->State();
  ScrollByNotches(m_hscroll, notchesAcross, st.SurfaceWidth, st.Zoom);
  ScrollByNotches(m_vscroll, notchesDown, st.SurfaceHeight, st.Zoom);
}

void DragEditorWidget::SurfaceChanged() {
  if (m_surface) m_surface->update();
  emit SurfaceRepainted();
}

void DragEditorWidget::RulersChanged() {
  if (m_hrule) m_hrule->update();
  if (m_vrule) m_vrule->update();
}

void DragEditorWidget::ScrollBarsChanged() {
  if (!m_hscroll || !m_vscroll) return;
  const auto apply = [](QScrollBar* bar, const ScrollBarState& s) {
    bar->setRange(s.Min, std::max(s.Min, s.Max));
    bar->setValue(s.Value);
    bar->setSingleStep(std::max<int>(1, s.SmallChange));
    bar->setPageStep(std::max<int>(1, s.LargeChange));
    bar->setEnabled(s.Enabled);
  };
  apply(m_hscroll, m_core->State().HScroll);
  apply(m_vscroll, m_core->State().VScroll);
}

void DragEditorWidget::LayoutChanged() {
  if (!m_surface) return;
  const CanvasLayout& l = m_core->Layout();
  m_hrule->setGeometry(PixelRect(l.HRule));
  m_vrule->setGeometry(PixelRect(l.VRule));
  m_surface->setGeometry(PixelRect(l.ViewArea));
  m_hscroll->setGeometry(PixelRect(l.HScroll));
  m_vscroll->setGeometry(PixelRect(l.VScroll));
}

void DragEditorWidget::PointerChanged() {
  if (!m_surface) return;
  switch (m_core->Pointer()) {
    case MousePointer::Arrow: m_surface->setCursor(::Qt::ArrowCursor); break;
    case MousePointer::Custom: {
      const CursorPicture& pic = CursorResource(m_core->MouseIcon());
      if (pic.image.isNull()) {
        m_surface->setCursor(::Qt::ArrowCursor);
      } else {
        m_surface->setCursor(QCursor(QPixmap::fromImage(pic.image), pic.hotspot.x(), pic.hotspot.y()));
      }
      break;
    }
    case MousePointer::SizeAll: m_surface->setCursor(::Qt::SizeAllCursor); break;
    case MousePointer::SizeWE: m_surface->setCursor(::Qt::SizeHorCursor); break;
    case MousePointer::SizeNESW: m_surface->setCursor(::Qt::SizeBDiagCursor); break;
    case MousePointer::SizeNS: m_surface->setCursor(::Qt::SizeVerCursor); break;
    case MousePointer::SizeNWSE: m_surface->setCursor(::Qt::SizeFDiagCursor); break;
    case MousePointer::Cross: m_surface->setCursor(::Qt::CrossCursor); break;
  }
}

void DragEditorWidget::FocusSurface() {
  if (m_surface) m_surface->setFocus(::Qt::OtherFocusReason);
}

bool DragEditorWidget::SurfaceVisible() const { return m_surface && m_surface->isVisible(); }

std::int16_t DragEditorWidget::ButtonMask(::Qt::MouseButtons buttons) {
  std::int16_t m = 0;
  if (buttons & ::Qt::LeftButton) m |= 1;
  if (buttons & ::Qt::RightButton) m |= 2;
  if (buttons & ::Qt::MiddleButton) m |= 4;
  return m;
}

std::int16_t DragEditorWidget::ShiftMask(::Qt::KeyboardModifiers modifiers) {
  std::int16_t m = 0;
  if (modifiers & ::Qt::ShiftModifier) m |= 1;
  if (modifiers & ::Qt::ControlModifier) m |= 2;
  if (modifiers & ::Qt::AltModifier) m |= 4;
  return m;
}

std::int16_t DragEditorWidget::KeyCodeOf(int key) {
  if (key >= ::Qt::Key_A && key <= ::Qt::Key_Z) return std::int16_t(65 + (key - ::Qt::Key_A));
  if (key >= ::Qt::Key_0 && key <= ::Qt::Key_9) return std::int16_t(48 + (key - ::Qt::Key_0));
  if (key >= ::Qt::Key_F1 && key <= ::Qt::Key_F12) return std::int16_t(112 + (key - ::Qt::Key_F1));
  switch (key) {
    case ::Qt::Key_Backspace: return 8;
    case ::Qt::Key_Tab: return 9;
    case ::Qt::Key_Return:
    case ::Qt::Key_Enter: return 13;
    case ::Qt::Key_Shift: return 16;
    case ::Qt::Key_Control: return 17;
    case ::Qt::Key_Alt: return 18;
    case ::Qt::Key_Escape: return 27;
    case ::Qt::Key_Space: return 32;
    case ::Qt::Key_PageUp: return 33;
    case ::Qt::Key_PageDown: return 34;
    case ::Qt::Key_End: return 35;
    case ::Qt::Key_Home: return 36;
    case ::Qt::Key_Left: return 37;
    case ::Qt::Key_Up: return 38;
    case ::Qt::Key_Right: return 39;
    case ::Qt::Key_Down: return 40;
    case ::Qt::Key_Insert: return 45;
    case ::Qt::Key_Delete: return 46;
    default: return 0;
  }
}

}  // namespace pv
