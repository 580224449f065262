// Hit testing and selection: what a press grabs among the selected objects,
// click selection, rubber bands and select all; hidden objects are never hit
// or selected.
#include "gesture_fixture.h"

using namespace pv;
using namespace pvtest;

namespace {

class Selection : public GestureTest {
 protected:
  void SetUp() override {
    GestureTest::SetUp();
    a = PutBox(150, 150, 40, 20, 0, 105);  // 130..170 x 140..160
    b = PutBox(165, 150, 20, 20, 0, 101);  // overlaps A's right part, on top
    l = PutLine(120, 180, 160, 180);
  }
  std::int32_t a = 0, b = 0, l = 0;
};

}  // namespace

TEST_F(Selection, HitTestFindsHandlesEndsAndBodiesOfSelectedObjectsOnly) {
  select(a);
  select(l);
  struct Case {
    std::int16_t tool;
    float x, y;
    std::int16_t result, cursor;
    std::int32_t grabbed;
  } cases[] = {
      {ToolSelect, 170, 150, 100, 100, 1},        // A's right edge
      {ToolSelect, 171.4f, 148.6f, 100, 100, 1},  // within the tolerance (1.5 mm)
      {ToolSelect, 170, 140, 101, 101, 1},        // A's top-right corner
      {ToolSelect, 130, 160, 105, 105, 1},        // bottom-left corner
      {ToolSelect, 150, 150, 200, 0, 1},          // A's body
      {ToolSelect, 120, 180, 110, 110, 3},        // the line's first end
      {ToolSelect, 160, 180, 111, 110, 3},        // its second end: pointer code 110
      {ToolSelect, 140, 180, 200, 0, 3},          // the line's body
      {ToolSelect, 250, 250, -100, 0, 77},        // nothing: GrabbedObject as set
      {ToolRotate, 170, 140, 202, 101, 1},        // corner with the rotate tool
      {ToolRotate, 170, 150, -100, 100, 1},       // middle of an edge: nothing, also over the body
      {ToolRotate, 120, 180, 202, 0, 3},          // line end: rotation, cursor left alone
      {ToolRotate, 150, 150, 200, 0, 1},
  };
  for (const Case& k : cases) {
    std::int16_t cursor = 0, result = 0;
    const_cast<CanvasState&>(c().State()).GrabbedObject = 77;
    c().HitTest(V(k.x), V(k.y), k.tool, cursor, result);
    EXPECT_EQ(result, k.result) << k.tool << " " << k.x << "," << k.y;
    EXPECT_EQ(cursor, k.cursor) << k.tool << " " << k.x << "," << k.y;
    EXPECT_EQ(c().State().GrabbedObject, k.grabbed) << k.tool << " " << k.x << "," << k.y;
  }
  // B is not selected: its body over empty page is no hit.
  std::int16_t cursor = 0, result = 0;
  c().HitTest(V(180), V(155), ToolSelect, cursor, result);
  EXPECT_EQ(result, -100);
  EXPECT_TRUE(host.events.isEmpty());
}

TEST_F(Selection, WhereHandlesOverlapTheBackmostSelectedObjectWins) {
  // C's left edge handle lies on A's right edge handle.
  const std::int32_t cc = PutBox(180, 150, 20, 20);
  select(a);
  select(cc);
  std::int16_t cursor = 0, result = 0;
  c().HitTest(V(170), V(150), ToolSelect, cursor, result);
  EXPECT_EQ(result, 100);
  EXPECT_EQ(c().State().GrabbedObject, a);
  // Once A is no longer selected C's handle is found.
  rec(a).IsSelected = VbFalse;
  c().HitTest(V(170), V(150), ToolSelect, cursor, result);
  EXPECT_EQ(result, 104);
  EXPECT_EQ(c().State().GrabbedObject, cc);
}

TEST_F(Selection, AHiddenSelectedObjectIsHitByItsBodyButNotByItsHandles) {
  select(a);
  rec(a).IsHidden = VbTrue;
  std::int16_t cursor = 0, result = 0;
  c().HitTest(V(170), V(140), ToolSelect, cursor, result);  // corner, also inside the box
  EXPECT_EQ(result, 200);
  c().HitTest(V(171.4f), V(138.6f), ToolSelect, cursor, result);  // corner, outside the box
  EXPECT_EQ(result, -100);
}

TEST_F(Selection, ClickSelectsTheTopmostObjectAndAModifierAdds) {
  struct Case {
    const char* name;
    std::vector<std::int32_t> before;
    std::int16_t shift;
    float x, y;
    QStringList events;
    std::vector<std::int32_t> after;
  } cases[] = {
      {"on A only", {}, 0, 135, 150, {"SelectionStop", "SelectedSingle(1,105)"}, {1}},
      {"overlap: topmost", {}, 0, 160, 150, {"SelectionStop", "SelectedSingle(2,101)"}, {2}},
      {"replaces", {1}, 0, 175, 150, {"SelectionStop", "SelectedSingle(2,101)"}, {2}},
      {"shift adds", {1}, 1, 175, 150, {"SelectedSingle(2,101)"}, {1, 2}},
      {"ctrl adds", {3}, 2, 135, 150, {"SelectedSingle(1,105)"}, {1, 3}},
      {"shift again", {2}, 1, 160, 150, {"SelectedSingle(2,101)"}, {2}},
      {"line body", {}, 0, 140, 180.5f, {"SelectionStop", "SelectedSingle(3,104)"}, {3}},
      {"empty", {1, 3}, 0, 250, 250, {"SelectionStop"}, {}},
      {"empty, shift", {1, 3}, 1, 250, 250, {}, {1, 3}},
  };
  for (const Case& k : cases) {
    for (std::int32_t i = 1; i <= ObjCount; ++i) rec(i).IsSelected = VbFalse;
    for (std::int32_t i : k.before) select(i);
    host.clearAll();
    c().SelectAtPoint(V(k.x), V(k.y), k.shift);
    EXPECT_EQ(host.flow(), k.events) << k.name;
    std::vector<std::int32_t> selected;
    for (std::int32_t i = 1; i <= ObjCount; ++i)
      if (rec(i).IsSelected) selected.push_back(i);
    EXPECT_EQ(selected, k.after) << k.name;
    if (!k.events.isEmpty() && k.events.last().startsWith("SelectedSingle")) {
      // The clicked object is the grabbed one.
      EXPECT_EQ(QStringLiteral("SelectedSingle(%1,").arg(rec(c().State().GrabbedObject).Key),
                k.events.last().section(',', 0, 0) + ",")
          << k.name;
    }
  }
}

TEST_F(Selection, HiddenObjectsAreNeverClickedBandedOrSelectedAll) {
  rec(b).IsHidden = VbTrue;
  c().SelectAtPoint(V(175), V(150), NoShift);  // only B is there
  EXPECT_EQ(SelCount(), 0);
  c().SelectAtPoint(V(160), V(150), NoShift);  // A is under the hidden B
  EXPECT_EQ(rec(a).IsSelected, VbTrue);
  EXPECT_EQ(rec(b).IsSelected, VbFalse);

  c().SelectInArea(0, 0, 600, 600);
  EXPECT_EQ(rec(a).IsSelected, VbTrue);
  EXPECT_EQ(rec(b).IsSelected, VbFalse);
  EXPECT_EQ(rec(l).IsSelected, VbTrue);

  c().SelStop();
  host.clearAll();
  c().SelectAll();
  EXPECT_EQ(rec(a).IsSelected, VbTrue);
  EXPECT_EQ(rec(b).IsSelected, VbFalse);
  EXPECT_EQ(rec(l).IsSelected, VbTrue);
  EXPECT_TRUE(host.flow().isEmpty());  // SelectAll raises nothing
}

TEST_F(Selection, SelectAllDrawsTheHandles) {
  const QImage before = c().SurfaceImage().copy();
  c().SelectAll();
  // A's top-left corner handle: a white square with a black frame at (260, 280).
  EXPECT_EQ(c().SurfaceImage().pixel(257, 280), qRgb(0, 0, 0));
  EXPECT_NE(before.pixel(257, 280), qRgb(0, 0, 0));
}

TEST_F(Selection, ARubberBandSelectsWhatLiesWhollyInside) {
  // A spans view pixels 260..340 x 280..320.
  struct Case {
    const char* name;
    std::int32_t x1, y1, x2, y2;
    std::vector<std::int32_t> after;
    QStringList events;
  } cases[] = {
      {"around all", 200, 200, 400, 400, {1, 2, 3}, {"SelectionStop", "SelectedArea(3)"}},
      {"corners reversed", 400, 400, 200, 200, {1, 2, 3}, {"SelectionStop", "SelectedArea(3)"}},
      {"exactly along A", 260, 280, 340, 320, {1}, {"SelectionStop", "SelectedArea(3)"}},
      {"one pixel short", 261, 280, 340, 320, {}, {"SelectionStop", "SelectedArea(3)"}},
      {"across A, around B", 300, 260, 400, 340, {2}, {"SelectionStop", "SelectedArea(3)"}},
      {"outside", 500, 500, 560, 560, {}, {"SelectionStop", "SelectedArea(3)"}},
      {"zero size", 300, 300, 300, 300, {}, {"SelectionStop"}},
  };
  for (const Case& k : cases) {
    select(a);
    host.clearAll();
    c().SelectInArea(k.x1, k.y1, k.x2, k.y2);
    std::vector<std::int32_t> selected;
    for (std::int32_t i = 1; i <= ObjCount; ++i)
      if (rec(i).IsSelected) selected.push_back(i);
    EXPECT_EQ(selected, k.after) << k.name;
    EXPECT_EQ(host.flow(), k.events) << k.name;
  }
}

TEST_F(Selection, ATurnedBoxMustFitWithItsTurnedCorners) {
  rec(a).Angle = 45;  // the unturned outline fits 260..340 x 280..320
  c().SelectInArea(258, 278, 342, 322);
  EXPECT_EQ(rec(a).IsSelected, VbFalse);
  c().SelectInArea(220, 220, 380, 380);
  EXPECT_EQ(rec(a).IsSelected, VbTrue);
}
