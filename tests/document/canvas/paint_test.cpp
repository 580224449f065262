// Painting: the events of a repaint and their order, outlines, the page,
// handles, grid, rulers, selection bounds and partial redraws.
#include "canvas_fixture.h"
#include "tests/support/pixels.h"

#include <QColor>

using namespace pv;
using pvtest::CanvasTest;
using pvtest::PutBox;
using pvtest::PutLine;
using pvtest::RecordingView;

namespace {

Colour PixelAt(const QImage& img, int x, int y) { return FromQColor(img.pixelColor(x, y)); }

// Exactly the canvas colour c.
test::PixelTest Is(Colour c) { return test::Exactly(ToQColor(c).rgb()); }

constexpr Colour White = Rgb(255, 255, 255);
constexpr Colour Black = Rgb(0, 0, 0);
constexpr Colour Tick = Rgb(92, 92, 92);
constexpr Colour RulerBack = Rgb(224, 224, 224);

}  // namespace

// The editor's canvas used below: 600 x 400 pixels, 300 x 300 work area and
// a 100 x 50 page, fitted to zoom 1.2 with the scroll position (-100, -16.5):
// the page lies at (240, 170)-(360, 230) and a document point (x, y) is at
// ((x + 100) x 1.2, (y + 16.5) x 1.2).

TEST_F(CanvasTest, ARepaintRaisesThePageThenEveryVisibleObjectInTableOrder) {
  DragEditor& c = MakeEditorCanvas();
  PutBox(150, 150, 20, 10);
  const std::int32_t hidden = PutBox(120, 140, 10, 10);
  Objects[std::size_t(hidden)].IsHidden = VbTrue;
  PutLine(140, 150, 160, 150);
  PutBox(170, 160, 5, 5);
  c.Refresh(false);
  EXPECT_EQ(host.events, QStringList({"DrawPage(240,170,360,230)", "DrawObject(1)", "DrawObject(3)", "DrawObject(4)"}));
  const CanvasState& st = c.State();
  EXPECT_EQ(st.PageCornerX, 240);
  EXPECT_EQ(st.PageCornerY, 170);
  EXPECT_EQ(st.PageEndX, 360);
  EXPECT_EQ(st.PageEndY, 230);
  EXPECT_FLOAT_EQ(PageOrgX, 100);
  EXPECT_FLOAT_EQ(PageOrgY, 125);
  for (const auto& d : host.draws) EXPECT_TRUE(d.hadDc);
}

TEST_F(CanvasTest, DrawObjectGetsTheTurnedOutlineAndTheUnturnedBox) {
  DragEditor& c = MakeEditorCanvas();
  PutBox(150, 150, 20, 10, 90);
  PutLine(140, 150, 160, 150, 0);
  PutLine(140, 150, 160, 150, -90);
  c.Refresh(false);
  ASSERT_EQ(host.draws.size(), 3u);
  const auto& box = host.draws[0];
  // Unturned: top-left (288, 194), bottom-right (312, 206); centre (300, 200).
  EXPECT_EQ(box.x1, 288);
  EXPECT_EQ(box.y1, 194);
  EXPECT_EQ(box.x2, 312);
  EXPECT_EQ(box.y2, 206);
  // Corners (left, bottom), (right, bottom), (right, top), (left, top),
  // turned a quarter counter-clockwise on the screen.
  const std::int32_t xs[] = {0, 306, 306, 294, 294, 0, 0, 0, 0, 0, 0, 0, 0};
  const std::int32_t ys[] = {0, 212, 188, 188, 212, 0, 0, 0, 0, 0, 0, 0, 0};
  for (int i = 0; i <= 12; ++i) {
    EXPECT_EQ(box.X[std::size_t(i)], xs[i]) << i;
    EXPECT_EQ(box.Y[std::size_t(i)], ys[i]) << i;
  }
  EXPECT_FLOAT_EQ(box.angle, 90);
  EXPECT_EQ(box.userType, 105);

  const auto& line = host.draws[1];
  EXPECT_EQ(line.X[1], 288);
  EXPECT_EQ(line.Y[1], 200);
  EXPECT_EQ(line.X[2], 312);
  EXPECT_EQ(line.Y[2], 200);
  EXPECT_EQ(line.X[3], 0);
  EXPECT_EQ(line.x1, 288);
  EXPECT_EQ(line.x2, 312);
  // A negative angle is reported in 0..359; the ends turn clockwise.
  const auto& turned = host.draws[2];
  EXPECT_FLOAT_EQ(turned.angle, 270);
  EXPECT_EQ(turned.X[1], 300);
  EXPECT_EQ(turned.Y[1], 188);
  EXPECT_EQ(turned.X[2], 300);
  EXPECT_EQ(turned.Y[2], 212);
}

TEST_F(CanvasTest, WithShowPageTheCanvasDrawsPageFrameAndShadowItself) {
  DragEditor& c = MakeEditorCanvas();
  c.SetShowGrid(false);
  c.SetShowPage(true);
  c.Refresh(false);
  EXPECT_EQ(host.count("DrawPage"), 0);
  const QImage& img = c.SurfaceImage();
  EXPECT_EQ(PixelAt(img, 240, 200), Black);               // frame, left edge
  EXPECT_EQ(PixelAt(img, 360, 200), Black);               // frame, right edge
  EXPECT_EQ(PixelAt(img, 300, 170), Black);               // frame, top edge
  EXPECT_EQ(PixelAt(img, 300, 200), White);               // inside
  EXPECT_EQ(PixelAt(img, 362, 200), Rgb(210, 210, 210));  // shadow right
  EXPECT_EQ(PixelAt(img, 300, 232), Rgb(210, 210, 210));  // shadow below
  EXPECT_EQ(PixelAt(img, 364, 200), White);
  EXPECT_EQ(PixelAt(img, 362, 171), White);  // the shadow starts 3 lower

  c.SetShowPage(false);
  c.Refresh(false);
  EXPECT_EQ(host.events.last(), "DrawPage(240,170,360,230)");
  EXPECT_EQ(PixelAt(img, 240, 200), White);
  EXPECT_EQ(PixelAt(img, 362, 200), White);
}

TEST_F(CanvasTest, GridDotsAtThePitchOverThePageOnly) {
  DragEditor& c = MakeEditorCanvas();
  c.Refresh(false);
  const QImage& img = c.SurfaceImage();
  // 5 mm at zoom 1.2 is 6 pixels: 21 x 11 dots from the page corner.
  EXPECT_EQ(test::CountPixels(img, Is(Black)), 21 * 11);
  EXPECT_EQ(PixelAt(img, 240, 170), Black);
  EXPECT_EQ(PixelAt(img, 246, 176), Black);
  EXPECT_EQ(PixelAt(img, 360, 230), Black);
  EXPECT_EQ(PixelAt(img, 243, 170), White);
  EXPECT_EQ(PixelAt(img, 234, 170), White);

  // Pixel units: the pitch counts pixels from the page corner.
  c.SetUnit(UnitPixels);
  c.SetGrid(10, 20, true);
  EXPECT_EQ(test::CountPixels(img, Is(Black)), 13 * 4);

  // Fewer than 5 pixels apart: no grid at all.
  c.SetUnit(UnitMillimetres);
  c.SetGrid(4, 4, true);  // 4.8 pixels
  EXPECT_EQ(test::CountPixels(img, Is(Black)), 0);
}

TEST_F(CanvasTest, AGridPitchOfZeroOrLessIsNoGrid) {
  DragEditor& c = MakeEditorCanvas();
  for (std::int16_t unit : {UnitMillimetres, UnitPixels}) {
    c.SetUnit(unit);
    for (float pitch : {0.0f, -5.0f}) {
      c.SetGrid(pitch, 5, true);  // would never end with a zero step
      EXPECT_EQ(test::CountPixels(c.SurfaceImage(), Is(Black)), 0) << unit << " " << pitch;
      c.SetGrid(5, pitch, true);
      EXPECT_EQ(test::CountPixels(c.SurfaceImage(), Is(Black)), 0) << unit << " " << pitch;
    }
  }
  // A pitch below half a pixel ends too, one dot per pixel.
  c.SetUnit(UnitPixels);
  c.SetGrid(0.25f, 0.25f, true);
  EXPECT_EQ(test::CountPixels(c.SurfaceImage(), Is(Black)), 121 * 61);
}

TEST_F(CanvasTest, HandlesTakeTheLookOfTheTool) {
  DragEditor& c = MakeEditorCanvas();
  c.SetShowGrid(false);
  // 40 x 20 mm: (276, 188)-(324, 212) with its centre at (300, 200).
  const std::int32_t k = PutBox(150, 150, 40, 20);
  Objects[std::size_t(k)].IsSelected = VbTrue;
  const QImage& img = c.SurfaceImage();
  // Before the host's first SetTool: no handles.
  c.Refresh(false);
  EXPECT_EQ(test::CountPixels(img, Is(Black)), 0);
  // The corner (left, bottom) at (276, 212): a 7 x 7 handle around it.
  // Rotate: a green dot with a black rim, nothing outside its circle.
  c.SetTool(ToolRotate, ToolRotate);  // repaints
  EXPECT_EQ(PixelAt(img, 276, 212), Rgb(0, 255, 0));
  EXPECT_EQ(PixelAt(img, 272, 212), White);
  EXPECT_EQ(PixelAt(img, 273, 209), White);  // the square's corner is not part of it
  // Every handle: 4 corners and 4 edge middles, each a framed 7 x 7 square.
  c.SetTool(ToolSelect, ToolSelect);
  EXPECT_EQ(test::CountPixels(img, Is(Black)), 8 * 24);
  EXPECT_EQ(PixelAt(img, 300, 188), White);  // top middle
  EXPECT_EQ(PixelAt(img, 297, 188), Black);
  EXPECT_EQ(PixelAt(img, 327, 200), Black);  // right middle
  // A selected hidden object is not drawn but keeps its handles.
  Objects[std::size_t(k)].IsHidden = VbTrue;
  host.clear();
  c.Refresh(false);
  EXPECT_EQ(host.count("DrawObject"), 0);
  EXPECT_EQ(test::CountPixels(img, Is(Black)), 8 * 24);
  // A line gets two.
  Objects[std::size_t(k)].IsSelected = VbFalse;
  const std::int32_t l = PutLine(140, 150, 160, 150);
  Objects[std::size_t(l)].IsSelected = VbTrue;
  c.Refresh(false);
  EXPECT_EQ(test::CountPixels(img, Is(Black)), 2 * 24);
  // A drawing tool shows none.
  c.SetTool(ToolDrawBox, 105);
  Objects[std::size_t(l)].IsSelected = VbTrue;
  c.Refresh(false);
  EXPECT_EQ(test::CountPixels(img, Is(Black)), 0);
}

TEST_F(CanvasTest, TheHostsDrawingDoesNotLeakIntoTheCanvasFurniture) {
  // A host that clips the context to nothing and selects a red pen.
  struct MessyHost : pvtest::RecordingHost {
    void DrawObject(DcHandle hdc, const OutlinePoints& X, const OutlinePoints& Y, std::int32_t x1, std::int32_t y1,
                    std::int32_t x2, std::int32_t y2, float Angle, std::int32_t lKey, std::int16_t UserType) override {
      RecordingHost::DrawObject(hdc, X, Y, x1, y1, x2, y2, Angle, lKey, UserType);
      FillRect(hdc, Rect{x1, y1, x2, y2}, Rgb(0, 0, 255));
      const Region none = Region::FromRect(Rect{0, 0, 1, 1});
      SelectClipRegion(hdc, &none);
      SelectPen(hdc, SolidPen(Rgb(255, 0, 0)));
    }
  } messy;
  DragEditor& c = MakeEditorCanvas();
  c.SetShowGrid(false);
  c.SetHost(&messy);
  c.SetTool(ToolSelect, ToolSelect);
  const std::int32_t k = PutBox(150, 150, 20, 10);
  Objects[std::size_t(k)].IsSelected = VbTrue;
  c.Refresh(false);
  const QImage& img = c.SurfaceImage();
  EXPECT_EQ(PixelAt(img, 300, 200), Rgb(0, 0, 255));  // the host's own drawing
  EXPECT_EQ(PixelAt(img, 285, 206), Black);           // handles after it
  EXPECT_EQ(test::CountPixels(img, Is(Rgb(255, 0, 0))), 0);
  c.SetHost(&host);
}

TEST_F(CanvasTest, OutlineAndExtentModes) {
  DragEditor& c = MakeEditorCanvas();
  c.SetShowGrid(false);
  c.Refresh(false);
  ObjectRecord box;
  box.GeomType = GeomBox;
  box.CenterX = 150;
  box.CenterY = 150;
  box.Width = 20;
  box.Height = 10;
  c.DrawObjectItem(box, DrawModeOutline);
  const QImage& img = c.SurfaceImage();
  const Colour grey = Rgb(215, 215, 215);
  EXPECT_EQ(PixelAt(img, 300, 206), grey);
  EXPECT_EQ(PixelAt(img, 288, 200), grey);
  EXPECT_EQ(PixelAt(img, 300, 200), White);
  EXPECT_EQ(host.count("DrawObject"), 0);
  box.IsHidden = VbTrue;
  c.DrawObjectItem(box, DrawModeExtents);  // hidden objects are measured too
  const CanvasState& st = c.State();
  EXPECT_FLOAT_EQ(st.ExtentLeft, 288);
  EXPECT_FLOAT_EQ(st.ExtentTop, 194);
  EXPECT_FLOAT_EQ(st.ExtentRight, 312);
  EXPECT_FLOAT_EQ(st.ExtentBottom, 206);
  // Clamped to the surface.
  box.CenterX = -150;
  box.CenterY = 400;
  c.DrawObjectItem(box, DrawModeExtents);
  EXPECT_FLOAT_EQ(st.ExtentLeft, 0);
  EXPECT_FLOAT_EQ(st.ExtentBottom, 400);
  // An unknown geometry raises and measures nothing.
  box.GeomType = 7;
  box.IsHidden = VbFalse;
  host.clear();
  c.DrawObjectItem(box, DrawModeEvent);
  EXPECT_TRUE(host.events.isEmpty());
}

TEST_F(CanvasTest, SelectionBoundsCoverOutlinesAndHandles) {
  DragEditor& c = MakeEditorCanvas();
  std::int32_t l = 5, t = 5, r = 5, b = 5;
  c.GetSelectionBounds(l, t, r, b, true);
  EXPECT_EQ(l, 0);
  EXPECT_EQ(t, 0);
  EXPECT_EQ(r, 0);
  EXPECT_EQ(b, 0);
  const std::int32_t k1 = PutBox(150, 150, 20, 10);
  const std::int32_t k2 = PutBox(150, 150, 20, 10, 90);
  PutBox(10, 10, 5, 5);  // not selected
  Objects[std::size_t(k1)].IsSelected = VbTrue;
  c.GetSelectionBounds(l, t, r, b, true);
  EXPECT_EQ(l, 282);
  EXPECT_EQ(t, 188);
  EXPECT_EQ(r, 318);
  EXPECT_EQ(b, 212);
  Objects[std::size_t(k1)].IsSelected = VbFalse;
  Objects[std::size_t(k2)].IsSelected = VbTrue;
  Objects[std::size_t(k2)].IsHidden = VbTrue;  // its handles are still drawn
  c.GetSelectionBounds(l, t, r, b, true);
  EXPECT_EQ(l, 288);
  EXPECT_EQ(t, 182);
  EXPECT_EQ(r, 312);
  EXPECT_EQ(b, 218);
}

TEST_F(CanvasTest, RedrawAreaRepaintsOnlyInsideTheRectangle) {
  DragEditor& c = MakeEditorCanvas();
  c.SetShowGrid(false);
  // A host that paints every object's box blue.
  struct PaintingHost : pvtest::RecordingHost {
    void DrawObject(DcHandle hdc, const OutlinePoints& X, const OutlinePoints& Y, std::int32_t x1, std::int32_t y1,
                    std::int32_t x2, std::int32_t y2, float Angle, std::int32_t lKey, std::int16_t UserType) override {
      RecordingHost::DrawObject(hdc, X, Y, x1, y1, x2, y2, Angle, lKey, UserType);
      FillRect(hdc, Rect{x1, y1, x2, y2}, Rgb(0, 0, 255));
    }
  } painter;
  c.SetHost(&painter);
  PutBox(150, 150, 20, 10);  // (288, 194)-(312, 206)
  c.Refresh(false);
  // Scribble over it, then redraw the left half only.
  FillRect(c.Dc(), Rect{280, 190, 320, 210}, Rgb(255, 0, 0));
  c.RedrawArea(280, 190, 299, 209);
  const QImage& img = c.SurfaceImage();
  EXPECT_EQ(PixelAt(img, 290, 200), Rgb(0, 0, 255));
  EXPECT_EQ(PixelAt(img, 282, 192), White);
  EXPECT_EQ(PixelAt(img, 305, 200), Rgb(255, 0, 0));  // outside: untouched
  EXPECT_EQ(PixelAt(img, 315, 192), Rgb(255, 0, 0));
  // Drawing after it is not clipped any more.
  FillRect(c.Dc(), Rect{0, 0, 2, 2}, Rgb(0, 255, 0));
  EXPECT_EQ(PixelAt(img, 1, 1), Rgb(0, 255, 0));
  c.SetHost(&host);
}

TEST_F(CanvasTest, RulersRedrawOnlyWhenThePageEdgesMove) {
  DragEditor& c = MakeEditorCanvas();
  RecordingView view;
  c.SetView(&view);
  c.Refresh(false);
  EXPECT_EQ(view.rulers, 0);  // nothing moved
  c.Refresh(true);
  EXPECT_GE(view.rulers, 1);  // repainted in full
  c.SetZoom(true);            // 2.2: the bars can scroll
  view.rulers = 0;
  c.HScrollChange(std::int16_t(c.State().HScroll.Value + 1));  // one millimetre
  EXPECT_EQ(view.rulers, 1);
  EXPECT_EQ(c.State().RulerCacheLeft, c.State().PageCornerX);
  c.SetView(nullptr);
}

TEST_F(CanvasTest, RulerTicksBandsAndEdges) {
  DragEditor& c = MakeEditorCanvas();
  c.Refresh(true);
  // Millimetres at zoom 1.2: a labelled step of 35 mm, 42 pixels.
  const QImage& h = c.HRuleImage();
  const int bottom = h.height() - 1;
  EXPECT_EQ(PixelAt(h, 240, 2), Tick);        // the page's left edge, full height
  EXPECT_EQ(PixelAt(h, 360, 2), Tick);        // right edge
  EXPECT_EQ(PixelAt(h, 250, bottom), White);  // band over the page
  EXPECT_EQ(PixelAt(h, 230, bottom), RulerBack);
  // Left of the page: ticks every 42 pixels from the page edge, half ticks
  // between, no labels.
  EXPECT_EQ(PixelAt(h, 198, 10), Tick);
  EXPECT_EQ(PixelAt(h, 198, 3), RulerBack);  // ticks start 5 pixels down
  EXPECT_EQ(PixelAt(h, 219, bottom), Tick);
  EXPECT_EQ(PixelAt(h, 219, 10), RulerBack);  // half ticks start at 15
  // Right of the page.
  EXPECT_EQ(PixelAt(h, 402, 10), Tick);
  EXPECT_EQ(PixelAt(h, 381, 16), Tick);
  const QImage& v = c.VRuleImage();
  EXPECT_EQ(PixelAt(v, 2, 170), Rgb(192, 192, 192));  // page edges
  EXPECT_EQ(PixelAt(v, 2, 230), Rgb(192, 192, 192));
  EXPECT_EQ(PixelAt(v, v.width() - 1, 200), White);
  EXPECT_EQ(PixelAt(v, v.width() - 1, 128), Tick);
  // Ruler off: a ruler repaint shows the background only.
  c.SetShowRule(false);
  c.Refresh(true);
  EXPECT_EQ(test::CountPixels(h, Is(RulerBack)), h.width() * h.height());
}

// ---- Labels far larger than the window ----------------------------------------

namespace {

// The canvas with its rulers' device contexts in reach.
struct ProbeCanvas : DragEditor {
  using DragEditor::DragEditor;
  std::uint64_t DrawCalls() const {
    return DrawCallCount(Dc()) + DrawCallCount(m_hrule->dc()) + DrawCallCount(m_vrule->dc());
  }
};

// The editor's set-up (300 x 300 mm work area, zoom 1.2 on 600 x 400 pixels)
// with a page of w x h mm, drawn by the canvas with grid and rulers.
std::unique_ptr<ProbeCanvas> MakeLabel(pvtest::RecordingHost* host, double w, double h, bool showPage) {
  auto c = std::make_unique<ProbeCanvas>(host, 600, 400);
  c->SetShowPage(showPage);
  c->SetShowGrid(true);
  c->SetShowRule(true);
  c->SetWorkArea(300, 300, false);
  c->SetPage(w, h, false);
  c->SetZoomPage();
  return c;
}

}  // namespace

TEST_F(CanvasTest, ARepaintCostsWhatTheWindowShowsWhateverTheLabelSize) {
  // At most one grid dot per 6 x 6 pixel cell of the window (5 mm at zoom
  // 1.2), and a few hundred calls for rulers and page.
  constexpr std::uint64_t kBound = (600 / 6 + 1) * (400 / 6 + 1) + 400;
  // Smaller sizes first: a hang on the largest would hide what the others say.
  for (const double size : {100.0, 1000.0, 1.0e6}) {
    const auto c = MakeLabel(&host, size, size, true);
    ASSERT_FLOAT_EQ(c->State().Zoom, 1.2f);
    const std::uint64_t before = c->DrawCalls();
    c->Refresh(true);
    const std::uint64_t calls = c->DrawCalls() - before;
    ASSERT_LE(calls, kBound) << size << " mm";
    if (size < 1000.0) continue;
    // The window is full of page: white between the dots, a dot every 6
    // pixels, ticks on the rulers every 42 pixels from the page's edge.
    const QImage& img = c->SurfaceImage();
    EXPECT_GE(test::CountPixels(img, Is(Black)), 99 * 66) << size;
    EXPECT_EQ(test::CountPixels(img, Is(White)) + test::CountPixels(img, Is(Black)), 600 * 400) << size;
    const std::int32_t left = c->State().PageCornerX;
    const int firstTick = int((left % 42 + 42) % 42);
    EXPECT_EQ(PixelAt(c->HRuleImage(), firstTick, 10), Tick) << size;
    EXPECT_EQ(PixelAt(c->HRuleImage(), firstTick + 42, 10), Tick) << size;
  }
}

TEST_F(CanvasTest, GridDotsOfAPageReachingFarOutsideTheWindowKeepTheirPlaces) {
  // The dots that show are those the grid has from the page's corner on,
  // however far off the window the corner lies: here 60,000 pixels.
  struct Case {
    std::int16_t unit;
    float pitch;
  };
  const Case cases[] = {{UnitPixels, 1.0f},      {UnitPixels, 2.5f},     {UnitPixels, 3.5f},  {UnitPixels, 4.8f},
                        {UnitPixels, 7.25f},     {UnitPixels, 0.3f},     {UnitPixels, 13.0f}, {UnitMillimetres, 5.0f},
                        {UnitMillimetres, 4.2f}, {UnitMillimetres, 7.5f}};
  const auto c = MakeLabel(&host, 1.0e5, 1.0e5, false);
  const CanvasState& st = c->State();
  for (const Case& k : cases) {
    c->SetUnit(k.unit);
    c->SetGrid(k.pitch, k.pitch, true);
    ASSERT_LT(st.PageCornerX, -50000);
    ASSERT_LT(st.PageCornerY, -50000);
    // The grid's places along one axis, one dot after the other from the
    // page's corner.
    const auto places = [&](std::int64_t from, std::int64_t to, double count, float zoom) {
      std::vector<std::int64_t> out;
      if (k.unit == UnitPixels) {
        for (std::int64_t v = from; v <= to;) {
          out.push_back(v);
          const std::int64_t n = CLng(double(v) + double(k.pitch));
          v = n > v ? n : v + 1;
        }
      } else {
        for (std::int64_t i = 0; double(i) <= count; ++i) out.push_back(from + CLng(float(i) * k.pitch * zoom));
      }
      return out;
    };
    std::vector<int> columns;
    for (const std::int64_t x : places(st.PageCornerX, st.PageEndX, 1.0e5 / k.pitch, st.Zoom))
      if (x >= 0 && x < 600) columns.push_back(int(x));
    int row = -1;
    for (const std::int64_t y : places(st.PageCornerY, st.PageEndY, 1.0e5 / k.pitch, st.Zoom))
      if (y >= 0 && y < 400) {
        row = int(y);
        break;
      }
    ASSERT_GE(row, 0) << k.unit << " " << k.pitch;
    std::vector<int> shown;
    for (int x = 0; x < 600; ++x)
      if (PixelAt(c->SurfaceImage(), x, row) == Black) shown.push_back(x);
    EXPECT_EQ(shown, columns) << k.unit << " " << k.pitch;
  }
}
