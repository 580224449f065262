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
  Ruler(QWidget* parent, std::function<const QImage&()> image) : QWidget(parent), image_(std::move(image)) {
    setAttribute(::Qt::WA_OpaquePaintEvent);
  }

 protected:
  void paintEvent(QPaintEvent* event) override {
    const QImage& img = image_();
    QPainter p(this);
    p.fillRect(event->rect(), ToQColor(RulerBackColour));
    p.drawImage(event->rect().topLeft(), img, event->rect());
  }
  void wheelEvent(QWheelEvent* event) override { static_cast<DragEditorWidget*>(parentWidget())->wheelEvent(event); }

 private:
  std::function<const QImage&()> image_;
};

// The drawing surface: shows the back buffer and feeds mouse and keyboard to
// the canvas.
class DragEditorWidget::Surface : public QWidget {
 public:
  Surface(QWidget* parent, DragEditor& core) : QWidget(parent), core_(core) {
    setAttribute(::Qt::WA_OpaquePaintEvent);
    setFocusPolicy(::Qt::StrongFocus);
    setMouseTracking(true);
  }

 protected:
  void paintEvent(QPaintEvent* event) override {
    QPainter p(this);
    const QImage& img = core_.SurfaceImage();
    p.fillRect(event->rect(), ToQColor(SurfaceBackColour));
    p.drawImage(event->rect().topLeft(), img, event->rect());
  }
  void mousePressEvent(QMouseEvent* e) override {
    core_.MouseDown(ButtonMask(e->button()), ShiftMask(e->modifiers()), float(e->position().x()),
                    float(e->position().y()));
  }
  void mouseMoveEvent(QMouseEvent* e) override {
    core_.MouseMove(ButtonMask(e->buttons()), ShiftMask(e->modifiers()), float(e->position().x()),
                    float(e->position().y()));
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    core_.MouseUp(ButtonMask(e->button()), ShiftMask(e->modifiers()), float(e->position().x()),
                  float(e->position().y()));
  }
  void keyPressEvent(QKeyEvent* e) override {
    const std::int16_t code = KeyCodeOf(e->key());
    if (code != 0) core_.KeyDown(code, ShiftMask(e->modifiers()));
    QWidget::keyPressEvent(e);
  }
  void wheelEvent(QWheelEvent* e) override { static_cast<DragEditorWidget*>(parentWidget())->wheelEvent(e); }

 private:
  DragEditor& core_;
};

DragEditorWidget::DragEditorWidget(QWidget* parent, DragEditorHost* host) : QWidget(parent) {
  core_ = std::make_unique<DragEditor>(host);
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, ToQColor(CanvasBackColour));
  setPalette(pal);

  hrule_ = new Ruler(this, [this]() -> const QImage& { return core_->HRuleImage(); });
  vrule_ = new Ruler(this, [this]() -> const QImage& { return core_->VRuleImage(); });
  surface_ = new Surface(this, *core_);
  hscroll_ = new QScrollBar(::Qt::Horizontal, this);
  vscroll_ = new QScrollBar(::Qt::Vertical, this);
  // A scroll bar never keeps the focus: keyboard input goes to the surface.
  hscroll_->setFocusPolicy(::Qt::NoFocus);
  vscroll_->setFocusPolicy(::Qt::NoFocus);
  connect(hscroll_, &QScrollBar::valueChanged, this, [this](int v) { core_->HScrollChange(std::int16_t(v)); });
  connect(vscroll_, &QScrollBar::valueChanged, this, [this](int v) { core_->VScrollChange(std::int16_t(v)); });

  core_->SetView(this);
  LayoutChanged();
  ScrollBarsChanged();
  PointerChanged();
  resize(TwipsToPixels(core_->Layout().VScroll.Left + core_->Layout().VScroll.Width),
         TwipsToPixels(core_->Layout().HScroll.Top + core_->Layout().HScroll.Height));
}

QWidget* DragEditorWidget::HRule() const { return hrule_; }
QWidget* DragEditorWidget::VRule() const { return vrule_; }
QWidget* DragEditorWidget::ViewArea() const { return surface_; }

DragEditorWidget::~DragEditorWidget() { core_->SetView(nullptr); }

void DragEditorWidget::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  HandOver(event->size());
}

void DragEditorWidget::Place(const QRect& r) {
  setGeometry(r);
  // Shown, the resize event has just handed the size over; hidden, it waits
  // for the show.
  if (size() != handedSize_) HandOver(size());
}

void DragEditorWidget::HandOver(const QSize& size) {
  handedSize_ = size;
  const int w = size.width() * TwipsPerPixel;
  const int h = size.height() * TwipsPerPixel;
  core_->Resize(w, h, w, h);
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
    zoomRest_ += turn.y() != 0 ? turn.y() : turn.x();
    for (int n = TakeNotches(zoomRest_); n != 0; n += n > 0 ? -1 : 1) core_->SetZoom(n > 0);
    return;
  }
  QPoint move = turn;
  // Shift turns the wheel's scrolling across.
  if ((modifiers & ::Qt::ShiftModifier) && move.x() == 0) move = QPoint(move.y(), 0);
  wheelRest_ += move;
  int across = wheelRest_.x();
  int down = wheelRest_.y();
  const int notchesAcross = TakeNotches(across);
  const int notchesDown = TakeNotches(down);
  wheelRest_ = QPoint(across, down);
  const CanvasState& st = core_->State();
  ScrollByNotches(hscroll_, notchesAcross, st.SurfaceWidth, st.Zoom);
  ScrollByNotches(vscroll_, notchesDown, st.SurfaceHeight, st.Zoom);
}

void DragEditorWidget::SurfaceChanged() {
  if (surface_) surface_->update();
  emit SurfaceRepainted();
}

void DragEditorWidget::RulersChanged() {
  if (hrule_) hrule_->update();
  if (vrule_) vrule_->update();
}

void DragEditorWidget::ScrollBarsChanged() {
  if (!hscroll_ || !vscroll_) return;
  const auto apply = [](QScrollBar* bar, const ScrollBarState& s) {
    bar->setRange(s.Min, std::max(s.Min, s.Max));
    bar->setValue(s.Value);
    bar->setSingleStep(std::max<int>(1, s.SmallChange));
    bar->setPageStep(std::max<int>(1, s.LargeChange));
    bar->setEnabled(s.Enabled);
  };
  apply(hscroll_, core_->State().HScroll);
  apply(vscroll_, core_->State().VScroll);
}

void DragEditorWidget::LayoutChanged() {
  if (!surface_) return;
  const CanvasLayout& l = core_->Layout();
  hrule_->setGeometry(PixelRect(l.HRule));
  vrule_->setGeometry(PixelRect(l.VRule));
  surface_->setGeometry(PixelRect(l.ViewArea));
  hscroll_->setGeometry(PixelRect(l.HScroll));
  vscroll_->setGeometry(PixelRect(l.VScroll));
}

void DragEditorWidget::PointerChanged() {
  if (!surface_) return;
  switch (core_->Pointer()) {
    case MousePointer::Arrow: surface_->setCursor(::Qt::ArrowCursor); break;
    case MousePointer::Custom: {
      const CursorPicture& pic = CursorResource(core_->MouseIcon());
      if (pic.image.isNull()) {
        surface_->setCursor(::Qt::ArrowCursor);
      } else {
        surface_->setCursor(QCursor(QPixmap::fromImage(pic.image), pic.hotspot.x(), pic.hotspot.y()));
      }
      break;
    }
    case MousePointer::SizeAll: surface_->setCursor(::Qt::SizeAllCursor); break;
    case MousePointer::SizeWE: surface_->setCursor(::Qt::SizeHorCursor); break;
    case MousePointer::SizeNESW: surface_->setCursor(::Qt::SizeBDiagCursor); break;
    case MousePointer::SizeNS: surface_->setCursor(::Qt::SizeVerCursor); break;
    case MousePointer::SizeNWSE: surface_->setCursor(::Qt::SizeFDiagCursor); break;
    case MousePointer::Cross: surface_->setCursor(::Qt::CrossCursor); break;
  }
}

void DragEditorWidget::FocusSurface() {
  if (surface_) surface_->setFocus(::Qt::OtherFocusReason);
}

bool DragEditorWidget::SurfaceVisible() const { return surface_ && surface_->isVisible(); }

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
