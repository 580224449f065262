// Tools and pointers: SetTool, the pointer images, and the selection the
// tools keep or clear; the document's operations through the canvas.
#include "canvas_fixture.h"

#include "document/canvas/cursors.h"
#include "document/objectstore.h"

using namespace pv;
using pvtest::CanvasTest;
using pvtest::PutBox;
using pvtest::RecordingView;

TEST_F(CanvasTest, ADrawingToolClearsTheSelectionAndShowsTheKindsPointer) {
  DragEditor& c = MakeEditorCanvas();
  const std::int32_t k = PutBox(150, 150, 20, 10);
  Objects[std::size_t(k)].IsSelected = VbTrue;
  c.SetTool(ToolSelect, ToolSelect);
  host.clear();
  c.SetTool(ToolDrawBox, 105);
  EXPECT_EQ(Objects[std::size_t(k)].IsSelected, VbFalse);
  EXPECT_EQ(host.events.last(), "SelectionStop");
  EXPECT_EQ(host.count("SelectionStop"), 1);
  EXPECT_EQ(c.State().CurrentTool, ToolDrawBox);
  EXPECT_EQ(c.State().CurrentUserType, 105);
  EXPECT_EQ(c.Pointer(), MousePointer::Custom);
  EXPECT_EQ(c.MouseIcon(), CursorDrawRectangle);

  // Back to select: the standard arrow, surface and rulers repainted.
  RecordingView view;
  c.SetView(&view);
  host.clear();
  c.SetTool(ToolSelect, ToolSelect);
  EXPECT_EQ(c.Pointer(), MousePointer::Arrow);
  EXPECT_EQ(view.pointer, 1);
  EXPECT_GE(view.rulers, 1);
  EXPECT_EQ(host.count("DrawObject"), 1);
  EXPECT_EQ(host.count("SelectionStop"), 0);
  c.SetView(nullptr);
}

TEST_F(CanvasTest, SelectAndRotateKeepTheSelection) {
  DragEditor& c = MakeEditorCanvas();
  const std::int32_t k = PutBox(150, 150, 20, 10);
  Objects[std::size_t(k)].IsSelected = VbTrue;
  for (std::int16_t tool : {ToolSelect, ToolRotate}) {
    host.clear();
    c.SetTool(tool, tool);
    EXPECT_EQ(Objects[std::size_t(k)].IsSelected, VbTrue) << tool;
    EXPECT_EQ(host.count("SelectionStop"), 0) << tool;
    EXPECT_EQ(c.State().CurrentTool, tool);
  }
}

TEST_F(CanvasTest, EveryKindHasItsPointer) {
  struct Case {
    std::int16_t tool, kind;
    int cursor;
  } cases[] = {{200, 100, 1004}, {200, 101, 1004}, {200, 102, 1005}, {201, 104, 1003}, {200, 105, 1007},
               {200, 106, 1006}, {200, 107, 1009}, {200, 108, 1009}, {200, 109, 1008}, {200, 200, 1008},
               {200, 205, 1008}, {200, 213, 1008}, {200, 300, 1010}};
  DragEditor& c = MakeEditorCanvas();
  for (const Case& k : cases) {
    c.SetTool(k.tool, k.kind);
    EXPECT_EQ(c.MouseIcon(), k.cursor) << k.kind;
    EXPECT_EQ(c.Pointer(), MousePointer::Custom) << k.kind;
    EXPECT_EQ(CursorForKind(k.kind), k.cursor) << k.kind;
  }
}

TEST_F(CanvasTest, PointerImagesAreTwoColourWithTheirHotspots) {
  struct Case {
    int id;
    QPoint hotspot;
  } cases[] = {{1001, {5, 0}},  {1002, {16, 17}}, {1003, {12, 8}}, {1004, {12, 8}}, {1005, {12, 8}},
               {1006, {12, 8}}, {1007, {12, 8}},  {1008, {12, 8}}, {1009, {12, 8}}, {1010, {12, 8}}};
  for (const Case& k : cases) {
    const CursorPicture& pic = CursorResource(k.id);
    ASSERT_FALSE(pic.image.isNull()) << k.id;
    EXPECT_EQ(pic.image.size(), QSize(32, 32)) << k.id;
    EXPECT_EQ(pic.hotspot, k.hotspot) << k.id;
    int black = 0;
    for (int y = 0; y < 32; ++y) {
      for (int x = 0; x < 32; ++x) {
        const QRgb p = pic.image.pixel(x, y);
        if (qAlpha(p) == 0) continue;
        EXPECT_EQ(qAlpha(p), 255) << k.id;
        EXPECT_TRUE(p == qRgb(0, 0, 0) || p == qRgb(255, 255, 255)) << k.id << " " << x << "," << y;
        black += p == qRgb(0, 0, 0) ? 1 : 0;
      }
    }
    EXPECT_GT(black, 20) << k.id;
    // The hotspot is on the picture: the crosshair's centre, the finger tip.
    EXPECT_EQ(pic.image.pixel(k.hotspot), qRgb(0, 0, 0)) << k.id;
  }
  // The kinds' pictures differ from each other.
  for (int a = 1003; a <= 1010; ++a)
    for (int b = a + 1; b <= 1010; ++b) EXPECT_NE(CursorResource(a).image, CursorResource(b).image) << a << " " << b;
  EXPECT_TRUE(CursorResource(999).image.isNull());
}

TEST_F(CanvasTest, SelStopClearsRepaintsAndRaisesSelectionStop) {
  DragEditor& c = MakeEditorCanvas();
  c.SetTool(ToolSelect, ToolSelect);
  const std::int32_t a = PutBox(150, 150, 20, 10);
  const std::int32_t b = PutBox(120, 140, 10, 10);
  Objects[std::size_t(a)].IsSelected = VbTrue;
  Objects[std::size_t(b)].IsSelected = VbTrue;
  host.clear();
  c.SelStop();
  EXPECT_EQ(SelCount(), 0);
  EXPECT_EQ(host.events.last(), "SelectionStop");
  EXPECT_EQ(host.count("DrawObject"), 2);  // the area is repainted
  // Nothing selected: still raised.
  host.clear();
  c.SelStop();
  EXPECT_EQ(host.count("SelectionStop"), 1);
}

TEST_F(CanvasTest, TheDocumentsOperationsPaintAndRaiseThroughTheCanvas) {
  DragEditor& c = MakeEditorCanvas();
  EXPECT_EQ(&Canvas(), &c);
  {
    // A second canvas takes nothing over.
    DragEditor other(nullptr, 100, 100);
    EXPECT_EQ(&Canvas(), &c);
  }
  const std::int32_t key = c.AddObject(150, 150, 20, 10, 0, GeomBox, 105, true);
  EXPECT_EQ(host.events, QStringList({"SavedDocument", QStringLiteral("DrawObject(%1)").arg(key)}));
  host.clear();
  c.SelObject(key, true);
  EXPECT_EQ(host.events, QStringList({QStringLiteral("DrawObject(%1)").arg(key)}));
  host.clear();
  c.SetObjectDimension(key, 10, -1, -1, -1, -1, false);
  EXPECT_EQ(host.events, QStringList({"UpdateObjects"}));
  host.clear();
  c.DelObject(key, true);
  EXPECT_EQ(host.events.first(), QStringLiteral("DeleteObject(%1,105)").arg(key));
  EXPECT_EQ(host.count("DrawPage"), 1);  // the view area is repainted
  // Its install gone: the document's default canvas again.
  documentCanvas.reset();
  EXPECT_NE(static_cast<void*>(&Canvas()), static_cast<void*>(&c));
}
