// The canvas widget under the offscreen platform: layout of rulers, surface
// and bars, the scroll bars following the canvas, the input mappings.
#include "document/canvas/drageditorwidget.h"
#include "document/model.h"
#include "tests/support/app_fixture.h"

#include <QApplication>
#include <QKeyEvent>
#include <QScrollBar>
#include <QWheelEvent>
#include <gtest/gtest.h>

using namespace pv;

namespace {

class CanvasWidgetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    pv::test::EnsureApplication();
    ResetDocumentState();
  }
  void TearDown() override { ResetDocumentState(); }
};

}  // namespace

TEST_F(CanvasWidgetTest, ResizeLaysOutRulersSurfaceAndBars) {
  DragEditorWidget w;
  w.resize(800, 600);
  w.show();
  QApplication::processEvents();
  // In twips: 12000 x 9000. Surface from (450, 405) to the bars; rulers along
  // it; bars 240 twips thick at the right and bottom edges.
  EXPECT_EQ(w.ViewArea()->geometry(), QRect(30, 27, 754, 557));
  EXPECT_EQ(w.HRule()->geometry(), QRect(30, 3, 769, 22));
  EXPECT_EQ(w.VRule()->geometry(), QRect(3, 27, 25, 572));
  EXPECT_EQ(w.HScrollBar()->geometry(), QRect(30, 584, 754, 16));
  EXPECT_EQ(w.VScrollBar()->geometry(), QRect(784, 27, 16, 557));
  EXPECT_EQ(w.Core().SurfaceImage().size(), QSize(754, 557));
  EXPECT_EQ(w.Core().HRuleImage().size(), QSize(769, 22));
  EXPECT_EQ(w.Core().VRuleImage().size(), QSize(25, 572));
  EXPECT_FLOAT_EQ(w.Core().State().Zoom, 2.2f);  // fitted again

  w.resize(640, 480);
  QApplication::processEvents();
  EXPECT_EQ(w.ViewArea()->geometry(), QRect(30, 27, 594, 437));
  EXPECT_EQ(w.VScrollBar()->geometry(), QRect(624, 27, 16, 437));
}

TEST_F(CanvasWidgetTest, ScrollBarsFollowTheCanvasAndScrollIt) {
  DragEditorWidget w;
  w.resize(800, 600);
  w.show();
  QApplication::processEvents();
  DragEditor& c = w.Core();
  c.SetWorkArea(300, 300, false);
  c.SetZoomPage();  // 1.6: the work area fits, nothing to scroll
  EXPECT_FALSE(w.HScrollBar()->isEnabled());
  EXPECT_FALSE(w.VScrollBar()->isEnabled());
  c.SetZoom(true);
  c.SetZoom(true);  // 3.2: 960 pixels
  ASSERT_FLOAT_EQ(c.State().Zoom, 3.2f);
  QScrollBar* h = w.HScrollBar();
  QScrollBar* v = w.VScrollBar();
  EXPECT_TRUE(h->isEnabled());
  EXPECT_EQ(h->maximum(), 64);
  EXPECT_EQ(h->value(), 32);
  EXPECT_EQ(v->maximum(), 126);
  EXPECT_EQ(v->value(), 63);
  EXPECT_DOUBLE_EQ(c.State().ScrollX, 32);  // not disturbed by the bars' own signals
  EXPECT_EQ(h->singleStep(), 38);           // 754 / 20 rounded
  EXPECT_EQ(h->pageStep(), 188);
  v->setValue(10);
  EXPECT_DOUBLE_EQ(c.State().ScrollY, 10);
  EXPECT_EQ(h->focusPolicy(), Qt::NoFocus);
}

namespace {

// A canvas on the screen with both bars in the middle of a range.
void ScrollableCanvas(DragEditorWidget& w) {
  w.resize(800, 600);
  w.show();
  QApplication::processEvents();
  w.Core().SetWorkArea(300, 300, false);
  w.Core().SetZoomPage();
  w.Core().SetZoom(true);
  w.Core().SetZoom(true);  // 3.2: bars 0-64 and 0-126
}

void Turn(QWidget* target, QPoint angle, Qt::KeyboardModifiers modifiers) {
  QWheelEvent e(QPointF(10, 10), target->mapToGlobal(QPointF(10, 10)), QPoint(), angle, Qt::NoButton, modifiers,
                Qt::NoScrollPhase, false);
  QApplication::sendEvent(target, &e);
}

}  // namespace

TEST_F(CanvasWidgetTest, TheWheelScrollsDownAndWithShiftAcross) {
  struct Case {
    const char* name;
    QPoint angle;
    Qt::KeyboardModifiers modifiers;
    int h, v;  // bar values afterwards (from 32, 63)
  };
  // A tenth of the surface (754 x 557 pixels) at zoom 3.2: 24 and 17 mm.
  const Case cases[] = {
      {"down", {0, -120}, Qt::NoModifier, 32, 80},        {"up", {0, 120}, Qt::NoModifier, 32, 46},
      {"two notches", {0, -240}, Qt::NoModifier, 32, 97}, {"to the end", {0, -1200}, Qt::NoModifier, 32, 126},
      {"half a notch", {0, -60}, Qt::NoModifier, 32, 63}, {"shift across", {0, -120}, Qt::ShiftModifier, 56, 63},
      {"shift back", {0, 120}, Qt::ShiftModifier, 8, 63}, {"tilted wheel", {-120, 0}, Qt::NoModifier, 56, 63},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DragEditorWidget w;
    ScrollableCanvas(w);
    ASSERT_EQ(w.HScrollBar()->value(), 32);
    ASSERT_EQ(w.VScrollBar()->value(), 63);
    Turn(w.ViewArea(), c.angle, c.modifiers);
    EXPECT_EQ(w.HScrollBar()->value(), c.h);
    EXPECT_EQ(w.VScrollBar()->value(), c.v);
    EXPECT_DOUBLE_EQ(w.Core().State().ScrollX, c.h);
    EXPECT_DOUBLE_EQ(w.Core().State().ScrollY, c.v);
    EXPECT_FLOAT_EQ(w.Core().State().Zoom, 3.2f);
  }
  // Two half notches make one; over a ruler as over the surface.
  DragEditorWidget w;
  ScrollableCanvas(w);
  Turn(w.VRule(), {0, -60}, Qt::NoModifier);
  Turn(w.VRule(), {0, -60}, Qt::NoModifier);
  EXPECT_EQ(w.VScrollBar()->value(), 80);
}

TEST_F(CanvasWidgetTest, CtrlWheelStepsTheZoomAsTheZoomCommands) {
  for (int notches : {1, 3, -1, -2, 12, -12}) {
    SCOPED_TRACE(notches);
    DragEditorWidget wheel;
    DragEditorWidget command;
    ScrollableCanvas(wheel);
    ScrollableCanvas(command);
    Turn(wheel.ViewArea(), {0, 120 * notches}, Qt::ControlModifier);
    for (int i = 0; i < std::abs(notches); ++i) command.Core().SetZoom(notches > 0);
    EXPECT_FLOAT_EQ(wheel.Core().State().Zoom, command.Core().State().Zoom);
    EXPECT_NE(wheel.Core().State().Zoom, 3.2f);
    EXPECT_EQ(wheel.HScrollBar()->value(), command.HScrollBar()->value());
    EXPECT_EQ(wheel.VScrollBar()->maximum(), command.VScrollBar()->maximum());
  }
}

TEST_F(CanvasWidgetTest, ThePointerFollowsTheTool) {
  DragEditorWidget w;
  EXPECT_EQ(w.ViewArea()->cursor().shape(), Qt::BitmapCursor);  // the hand
  w.Core().SetTool(ToolSelect, ToolSelect);
  EXPECT_EQ(w.ViewArea()->cursor().shape(), Qt::ArrowCursor);
  w.Core().SetTool(ToolDrawLine, 104);
  EXPECT_EQ(w.ViewArea()->cursor().shape(), Qt::BitmapCursor);
  EXPECT_EQ(w.ViewArea()->cursor().hotSpot(), QPoint(12, 8));
}

TEST_F(CanvasWidgetTest, InputMappings) {
  struct Key {
    int qt;
    int code;
  } keys[] = {{Qt::Key_Delete, 46}, {Qt::Key_A, 65},      {Qt::Key_Z, 90},      {Qt::Key_0, 48},    {Qt::Key_F1, 112},
              {Qt::Key_Left, 37},   {Qt::Key_Escape, 27}, {Qt::Key_Return, 13}, {Qt::Key_Aacute, 0}};
  for (const Key& k : keys) EXPECT_EQ(DragEditorWidget::KeyCodeOf(k.qt), k.code) << k.qt;
  EXPECT_EQ(DragEditorWidget::ButtonMask(Qt::LeftButton), 1);
  EXPECT_EQ(DragEditorWidget::ButtonMask(Qt::RightButton | Qt::MiddleButton), 6);
  EXPECT_EQ(DragEditorWidget::ShiftMask(Qt::ShiftModifier | Qt::AltModifier), 5);
  EXPECT_EQ(DragEditorWidget::ShiftMask(Qt::ControlModifier), 2);
}
