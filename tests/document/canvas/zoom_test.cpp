// Set-up, properties, zoom steps and fit, scroll bars, FontRatio, layout.
#include "canvas_fixture.h"

#include <limits>

using namespace pv;
using pvtest::CanvasTest;
using pvtest::PutBox;
using pvtest::RecordingView;

namespace {

// Puts the zoom at z exactly (p_SetZoomValue keeps 1 < z < 10 and turns 0
// into 1).
void ZoomTo(DragEditor& c, float z) {
  float v = z == 1.0f ? 0.0f : z;
  c.p_SetZoomValue(v);
  ASSERT_FLOAT_EQ(c.State().Zoom, z);
}

}  // namespace

TEST_F(CanvasTest, SetUpShowsTheDefaultPageCentredAtTheFittedZoom) {
  DragEditor& c = Make(600, 400);
  const CanvasState& st = c.State();
  EXPECT_DOUBLE_EQ(st.WorkAreaWidth, 317);
  EXPECT_DOUBLE_EQ(st.WorkAreaHeight, 230);
  EXPECT_DOUBLE_EQ(st.PageWidth, 297);
  EXPECT_DOUBLE_EQ(st.PageHeight, 210);
  EXPECT_FLOAT_EQ(PageOrgX, 10);
  EXPECT_FLOAT_EQ(PageOrgY, 10);
  EXPECT_FLOAT_EQ(c.GridSpaceX(), 5);
  EXPECT_FLOAT_EQ(c.GridSpaceY(), 5);
  EXPECT_EQ(c.Unit(), UnitMillimetres);
  EXPECT_TRUE(c.ShowGrid() && c.ShowRule() && c.Snap() && c.ZoomPage() && c.Edit() && c.ShowPage() && c.Repeat());
  EXPECT_EQ(st.HandleSize, 6);
  EXPECT_EQ(st.CurrentTool, ToolNone);
  // min(600 / 317, 400 / 230) = 1.739 -> 1.6
  EXPECT_FLOAT_EQ(st.Zoom, 1.6f);
  // The page was painted: its edges in view pixels are known, centred with
  // the scroll position (-29, -10): 62.4 and 537.6 round to 62 and 538.
  EXPECT_DOUBLE_EQ(st.ScrollX, -29);
  EXPECT_DOUBLE_EQ(st.ScrollY, -10);
  EXPECT_EQ(st.PageCornerX, 62);
  EXPECT_EQ(st.PageEndX, 538);
  EXPECT_EQ(st.PageCornerY, 32);
  EXPECT_EQ(st.PageEndY, 368);
  EXPECT_EQ(c.MouseIcon(), 1001);
  EXPECT_EQ(c.Pointer(), MousePointer::Custom);
}

TEST_F(CanvasTest, FitZoomFollowsTheSurfaceAndSnapsDown) {
  struct Case {
    int w, h;
    float zoom;
  } cases[] = {{600, 400, 1.2f},    // 1.333
               {250, 250, 1.6f},    // 0.833 -> 1.833
               {3000, 3000, 9.0f},  // 10 -> 9
               {300, 300, 2.0f},    // 1.0 -> 2.0
               {0, 0, 1.0f}};       // an empty surface
  for (const Case& k : cases) {
    DragEditor& c = Make(k.w, k.h);
    c.SetWorkArea(300, 300, false);
    c.SetZoomPage();
    EXPECT_FLOAT_EQ(c.State().Zoom, k.zoom) << k.w << " x " << k.h;
  }
}

TEST_F(CanvasTest, SnapZoomKeepsFractionsZeroPointTwoAndPointSix) {
  struct Case {
    float z, snapped;
  } cases[] = {{1.0f, 1.0f}, {1.1f, 1.0f},   {1.2f, 1.2f}, {1.5f, 1.2f},
               {1.9f, 1.6f}, {1.833f, 1.6f}, {8.6f, 8.6f}, {9.6f, 9.6f}};
  for (const Case& k : cases) EXPECT_FLOAT_EQ(DragEditor::SnapZoom(k.z), k.snapped) << k.z;
}

TEST_F(CanvasTest, ZoomStepsAndTheirLimits) {
  DragEditor& c = MakeEditorCanvas(600, 400);
  PutBox(100, 100, 20, 10);
  struct Case {
    float start;
    bool in;
    float result;
    bool repainted;
  } cases[] = {{1.0f, false, 1.0f, false}, {2.0f, false, 1.0f, true}, {1.6f, false, 1.6f, false},
               {1.2f, false, 1.2f, false}, {8.6f, true, 9.6f, true},  {9.0f, true, 9.0f, false},
               {9.2f, true, 9.2f, false},  {1.2f, true, 2.2f, true},  {3.0f, false, 2.0f, true},
               {2.2f, true, 3.2f, true}};
  for (const Case& k : cases) {
    ZoomTo(c, k.start);
    host.clear();
    c.SetZoom(k.in);
    EXPECT_FLOAT_EQ(c.State().Zoom, k.result) << k.start << (k.in ? " in" : " out");
    EXPECT_EQ(host.count("DrawObject"), k.repainted ? 1 : 0) << k.start;
  }
}

TEST_F(CanvasTest, SetZoomValueNormalisesAndReturnsTheSnappedValue) {
  DragEditor& c = Make();
  struct Case {
    float in, changed, result;
  } cases[] = {{0.5f, 1.5f, 1.2f}, {1.0f, 2.0f, 2.0f}, {5.5f, 5.5f, 5.2f}, {10.0f, 9.0f, 9.0f}, {12.7f, 11.7f, 11.6f}};
  for (const Case& k : cases) {
    float z = k.in;
    EXPECT_FLOAT_EQ(c.p_SetZoomValue(z), k.result) << k.in;
    EXPECT_FLOAT_EQ(z, k.changed) << k.in;
    EXPECT_FLOAT_EQ(c.State().Zoom, k.changed) << k.in;  // not snapped
  }
}

TEST_F(CanvasTest, ScrollRangesAfterAZoomCentreTheWorkArea) {
  DragEditor& c = MakeEditorCanvas(600, 400);
  const CanvasState& st = c.State();
  ASSERT_FLOAT_EQ(st.Zoom, 1.2f);
  // 360 x 360 pixels of work area in a 600 x 400 surface.
  EXPECT_EQ(st.HScroll.Max, -200);
  EXPECT_FALSE(st.HScroll.Enabled);
  EXPECT_DOUBLE_EQ(st.ScrollX, -100);
  EXPECT_EQ(st.VScroll.Max, -33);
  EXPECT_DOUBLE_EQ(st.ScrollY, -16.5);
  EXPECT_EQ(st.VScroll.Value, -16);  // halves to even
  EXPECT_FALSE(st.VScroll.Enabled);
  EXPECT_DOUBLE_EQ(st.ContentWidthPx, double(1.2f) * 300);

  c.SetZoom(true);  // 2.2: 660 pixels
  EXPECT_EQ(st.HScroll.Min, 0);
  EXPECT_EQ(st.HScroll.Max, 27);
  EXPECT_TRUE(st.HScroll.Enabled);
  EXPECT_DOUBLE_EQ(st.ScrollX, 13.5);
  EXPECT_EQ(st.HScroll.Value, 14);
  EXPECT_EQ(st.VScroll.Max, 118);
  EXPECT_DOUBLE_EQ(st.ScrollY, 59);
  EXPECT_EQ(st.HScroll.SmallChange, 30);
  EXPECT_EQ(st.HScroll.LargeChange, 150);
  EXPECT_EQ(st.VScroll.SmallChange, 20);
  EXPECT_EQ(st.VScroll.LargeChange, 100);

  // Scrolling moves the view; the next zoom centres it again.
  c.HScrollChange(0);
  c.VScrollChange(100);
  EXPECT_DOUBLE_EQ(st.ScrollX, 0);
  EXPECT_DOUBLE_EQ(st.ScrollY, 100);
  c.SetZoom(true);
  EXPECT_DOUBLE_EQ(st.ScrollX, st.HScroll.Max / 2.0);
  EXPECT_DOUBLE_EQ(st.ScrollY, st.VScroll.Max / 2.0);
}

TEST_F(CanvasTest, FontRatioIsWholePixelsOfAnInchPerPoint) {
  DragEditor& c = MakeEditorCanvas(600, 400);
  ZoomTo(c, 2.0f);
  EXPECT_FLOAT_EQ(c.FontRatio(), 51.0f / 72.0f);  // 50.8 -> 51
  ZoomTo(c, 1.0f);
  EXPECT_FLOAT_EQ(c.FontRatio(), 25.0f / 72.0f);
}

TEST_F(CanvasTest, ScrollChangesWhileTheBarsAreBeingSetDoNothing) {
  DragEditor& c = MakeEditorCanvas(600, 400);
  PutBox(100, 100, 20, 10);
  // A widget reports value changes back while the canvas sets the bars.
  struct EchoView : RecordingView {
    DragEditor* c = nullptr;
    void ScrollBarsChanged() override {
      ++bars;
      c->HScrollChange(0);
      c->VScrollChange(0);
    }
  } view;
  view.c = &c;
  c.SetView(&view);
  host.clear();
  c.SetZoom(true);
  c.SetView(nullptr);
  EXPECT_EQ(view.bars, 1);
  EXPECT_DOUBLE_EQ(c.State().ScrollX, 13.5);  // not the value echoed
  EXPECT_DOUBLE_EQ(c.State().ScrollY, 59);
  EXPECT_EQ(host.count("DrawObject"), 1);  // the zoom's own repaint only
  EXPECT_EQ(view.focus, 0);
}

TEST_F(CanvasTest, AScrollChangeRepaintsAndFocusesTheSurface) {
  DragEditor& c = MakeEditorCanvas(600, 400);
  c.SetZoom(true);
  PutBox(100, 100, 20, 10);
  RecordingView view;
  c.SetView(&view);
  host.clear();
  c.HScrollChange(5);
  EXPECT_DOUBLE_EQ(c.State().ScrollX, 5);
  EXPECT_EQ(c.State().HScroll.Value, 5);
  EXPECT_EQ(host.count("DrawObject"), 1);
  EXPECT_EQ(host.count("DrawPage"), 1);
  EXPECT_EQ(view.focus, 1);
  c.SetView(nullptr);
}

TEST_F(CanvasTest, SettingPageOrWorkAreaKeepsZoomAndScrollButPlacesThePage) {
  DragEditor& c = MakeEditorCanvas(600, 400);
  const float zoom = c.State().Zoom;
  const ScrollBarState h = c.State().HScroll;
  host.clear();
  c.SetWorkArea(500, 400, false);
  c.SetPage(80, 40, false);
  EXPECT_FLOAT_EQ(c.State().Zoom, zoom);
  EXPECT_EQ(c.State().HScroll.Max, h.Max);
  EXPECT_TRUE(host.events.isEmpty());
  // The page origin is known before any paint (the print side reads it).
  EXPECT_FLOAT_EQ(PageOrgX, 210);
  EXPECT_FLOAT_EQ(PageOrgY, 180);
  c.SetPage(100, 50, true);
  EXPECT_FLOAT_EQ(PageOrgX, 200);
  EXPECT_EQ(host.count("DrawPage"), 1);
}

TEST_F(CanvasTest, PropertyLetsAndTheirRanges) {
  DragEditor& c = Make();
  struct Case {
    float value;
    float stored;
  } cases[] = {{0, 5}, {-3, 5}, {100.5f, 5}, {100, 100}, {0.5f, 0.5f}};
  for (const Case& k : cases) {
    c.SetGrid(5, 5, false);
    c.SetGridSpaceX(k.value);
    c.SetGridSpaceY(k.value);
    EXPECT_FLOAT_EQ(c.GridSpaceX(), k.stored) << k.value;
    EXPECT_FLOAT_EQ(c.GridSpaceY(), k.stored) << k.value;
  }
  c.SetGrid(0, -2, false);  // SetGrid checks nothing
  EXPECT_FLOAT_EQ(c.GridSpaceX(), 0);
  EXPECT_FLOAT_EQ(c.GridSpaceY(), -2);
  c.SetUnit(2);
  EXPECT_EQ(c.Unit(), 2);
  c.SetUnit(4);  // no such unit
  EXPECT_EQ(c.Unit(), 2);
  c.SetShowGrid(false);
  EXPECT_FALSE(c.ShowGrid());
  c.SetShowGrid(7);  // any non-zero value is True
  EXPECT_TRUE(c.ShowGrid());
  host.clear();
  c.SetShowPage(false);  // a Let repaints nothing
  c.SetSnap(false);
  EXPECT_TRUE(host.events.isEmpty());
}

TEST_F(CanvasTest, ResizeLaysOutTheChildrenInTwips) {
  DragEditor& c = Make();
  c.Resize(12000, 9000);
  const CanvasLayout& l = c.Layout();
  EXPECT_EQ(l.ViewArea.Left, 450);
  EXPECT_EQ(l.ViewArea.Top, 405);
  EXPECT_EQ(l.ViewArea.Width, 12000 - 450 - 240);
  EXPECT_EQ(l.ViewArea.Height, 9000 - 405 - 240);
  EXPECT_EQ(l.HRule.Left, 450);
  EXPECT_EQ(l.HRule.Width, 12000 - 450 - 20);
  EXPECT_EQ(l.VRule.Top, 405);
  EXPECT_EQ(l.VRule.Height, 9000 - 405 - 20);
  EXPECT_EQ(l.HScroll.Left, 450);
  EXPECT_EQ(l.HScroll.Top, 9000 - 240);
  EXPECT_EQ(l.HScroll.Width, 12000 - 690);
  EXPECT_EQ(l.VScroll.Left, 12000 - 240);
  EXPECT_EQ(l.VScroll.Top, 405);
  EXPECT_EQ(l.VScroll.Height, 9000 - 645);
  EXPECT_EQ(c.State().SurfaceWidth, 754);
  EXPECT_EQ(c.State().SurfaceHeight, 557);
  EXPECT_EQ(c.SurfaceImage().width(), 754);
  EXPECT_EQ(c.HRuleImage().width(), 769);
  EXPECT_EQ(c.VRuleImage().height(), 572);
  // Fitted again: min(754 / 317, 557 / 230) = 2.378 -> 2.2
  EXPECT_FLOAT_EQ(c.State().Zoom, 2.2f);

  // Without ZoomPage the zoom stays; the bars are set again.
  c.SetZoomPageFlag(false);
  c.Resize(15000, 12000);
  EXPECT_FLOAT_EQ(c.State().Zoom, 2.2f);
  // 2.2 x 317 = 697.4 pixels of work area on a 954-pixel surface: the bar's
  // maximum (697.4 - 954) / 2.2 = -116.6 rounds to -117 and the bar is off.
  EXPECT_EQ(c.State().SurfaceWidth, 954);
  EXPECT_EQ(c.State().HScroll.Max, -117);
  EXPECT_FALSE(c.State().HScroll.Enabled);
}

TEST_F(CanvasTest, ResizeTooSmallStopsAtTheFirstInvalidSize) {
  DragEditor& c = Make();
  c.Resize(12000, 9000);
  const CanvasLayout before = c.Layout();
  const float zoom = c.State().Zoom;
  // Wide enough, but too low for the surface: the width is laid out, the
  // height and everything after it keep their sizes.
  c.Resize(6000, 500);
  const CanvasLayout& l = c.Layout();
  EXPECT_EQ(l.ViewArea.Width, 6000 - 690);
  EXPECT_EQ(l.ViewArea.Height, before.ViewArea.Height);
  EXPECT_EQ(l.HRule.Width, before.HRule.Width);
  EXPECT_EQ(l.VScroll.Height, before.VScroll.Height);
  EXPECT_FLOAT_EQ(c.State().Zoom, zoom);  // no fit
  c.Resize(100, 100);
  EXPECT_EQ(c.Layout().ViewArea.Width, 6000 - 690);
}

TEST_F(CanvasTest, RulerStepPerUnitAndZoom) {
  DragEditor& c = MakeEditorCanvas(600, 400);
  struct Case {
    std::int16_t unit;
    float zoom;
    std::int32_t pixels;
    float step;
  } cases[] = {{1, 1.0f, 40, 40},    {1, 9.0f, 45, 5},      {1, 2.2f, 44, 20}, {2, 1.0f, 51, 50.8f},
               {2, 1.6f, 41, 25.4f}, {2, 9.6f, 244, 25.4f}, {3, 1.0f, 50, 50}, {3, 5.2f, 50, 50}};
  for (const Case& k : cases) {
    c.SetUnit(k.unit);
    ZoomTo(c, k.zoom);
    std::int32_t p = 0;
    float s = 0;
    c.GetRuleStep(p, s);
    EXPECT_EQ(p, k.pixels) << "unit " << k.unit << " zoom " << k.zoom;
    EXPECT_FLOAT_EQ(s, k.step) << "unit " << k.unit << " zoom " << k.zoom;
  }
}
