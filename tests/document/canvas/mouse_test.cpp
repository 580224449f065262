// Whole gestures on the canvas: presses, moves and releases with the select,
// rotate and drawing tools, checked by the records and the events raised,
// in order; the hover pointer, the coordinate report, the outline feedback
// and the Delete key.
#include "gesture_fixture.h"

#include "document/canvas/cursors.h"

using namespace pv;
using namespace pvtest;

namespace {

class Gestures : public GestureTest {
 protected:
  void SetUp() override {
    GestureTest::SetUp();
    a = PutBox(150, 150, 40, 20, 0, 105);  // 130..170 x 140..160
    b = PutBox(165, 150, 20, 20, 0, 101);  // on top of A's right part
    l = PutLine(120, 180, 160, 180);
  }
  std::vector<std::int32_t> selection() const {
    std::vector<std::int32_t> s;
    for (std::int32_t i = 1; i <= ObjCount; ++i)
      if (Objects[std::size_t(i)].IsSelected) s.push_back(i);
    return s;
  }
  std::int32_t a = 0, b = 0, l = 0;
};

}  // namespace

TEST_F(Gestures, ClicksSelectAndEveryReleaseOfAGrabTakesOneSnapshot) {
  struct Case {
    const char* name;
    std::vector<std::int32_t> before;
    std::int16_t shift;
    float x, y;
    std::int16_t modeAfterPress;
    QStringList events;
    std::vector<std::int32_t> after;
  } cases[] = {
      {"object",
       {},
       0,
       135,
       150,
       200,
       {"SelectionStop", "SelectedSingle(1,105)", "SavedDocument", "UpdateObjects"},
       {1}},
      {"topmost of two",
       {1},
       0,
       175,
       155,
       200,
       {"SelectionStop", "SelectedSingle(2,101)", "SavedDocument", "UpdateObjects"},
       {2}},
      {"shift adds", {3}, 1, 135, 150, 200, {"SelectedSingle(1,105)", "SavedDocument", "UpdateObjects"}, {1, 3}},
      {"selected body", {1, 3}, 0, 140, 150, 200, {"SavedDocument", "UpdateObjects"}, {1, 3}},
      {"handle", {1}, 0, 130, 160, 105, {"SavedDocument", "UpdateObjects"}, {1}},
      {"line", {}, 0, 140, 180, 200, {"SelectionStop", "SelectedSingle(3,104)", "SavedDocument", "UpdateObjects"}, {3}},
      // A press on the corner of an unselected box selects it and grabs the
      // handle at once.
      {"new box's corner",
       {},
       0,
       130,
       140,
       103,
       {"SelectionStop", "SelectedSingle(1,105)", "SavedDocument", "UpdateObjects"},
       {1}},
      // Empty space: the press clears, the zero-size band clears again.
      {"empty", {1}, 0, 250, 250, 300, {"SelectionStop", "SelectionStop"}, {}},
      {"empty, shift", {1}, 1, 250, 250, 300, {"SelectionStop"}, {}},
  };
  for (const Case& k : cases) {
    for (std::int32_t i = 1; i <= ObjCount; ++i) rec(i).IsSelected = VbFalse;
    for (std::int32_t i : k.before) select(i);
    const DocumentBlock table = DocBlock;
    host.clearAll();
    c().MouseDown(Left, k.shift, V(k.x), V(k.y));
    EXPECT_EQ(c().State().DragMode, k.modeAfterPress) << k.name;
    EXPECT_TRUE(c().State().DragActive) << k.name;
    c().MouseUp(Left, k.shift, V(k.x), V(k.y));
    EXPECT_EQ(host.flow(), k.events) << k.name;
    EXPECT_EQ(selection(), k.after) << k.name;
    EXPECT_EQ(c().State().DragMode, -100) << k.name;
    EXPECT_FALSE(c().State().DragActive) << k.name;
    // No geometry changed.
    for (std::int32_t i = 1; i <= ObjCount; ++i) {
      ObjectRecord r = rec(i), t = table.Objects[std::size_t(i)];
      r.IsSelected = t.IsSelected = 0;
      EXPECT_EQ(r, t) << k.name << " " << i;
    }
  }
}

TEST_F(Gestures, APressThatSelectsDrawsTheObjectAndTheReleaseShowsItsHandles) {
  c().MouseDown(Left, NoShift, V(135), V(150));
  const QStringList afterPress = host.events;
  // The object is drawn once right after it was selected.
  ASSERT_GE(afterPress.size(), 2);
  EXPECT_EQ(afterPress.last(), "DrawObject(1)");
  EXPECT_EQ(afterPress[afterPress.size() - 2], "SelectedSingle(1,105)");
  EXPECT_EQ(c().Pointer(), MousePointer::SizeAll);
  EXPECT_NE(c().SurfaceImage().pixel(257, 280), qRgb(0, 0, 0));
  c().MouseUp(Left, NoShift, V(135), V(150));
  EXPECT_EQ(c().SurfaceImage().pixel(257, 280), qRgb(0, 0, 0));  // handle frame
  EXPECT_EQ(c().Pointer(), MousePointer::Arrow);
}

TEST_F(Gestures, RightButtonOnlyRaisesContextMenu) {
  select(a);
  for (bool edit : {true, false}) {
    c().SetEdit(edit);
    host.clearAll();
    c().MouseDown(Right, NoShift, V(175), V(150));
    c().MouseMove(Right, NoShift, V(185), V(150));
    c().MouseUp(Right, NoShift, V(185), V(150));
    EXPECT_EQ(host.flow(), QStringList({"ContextMenu"})) << edit;
    EXPECT_EQ(selection(), std::vector<std::int32_t>({1})) << edit;
    EXPECT_EQ(rec(a).CenterX, 150) << edit;
  }
}

TEST_F(Gestures, WithEditOffTheMouseDoesNothingButTheDeleteKeyStillDeletes) {
  select(a);
  c().SetEdit(false);
  Drag(150, 150, 180, 160);
  EXPECT_TRUE(host.events.isEmpty());
  EXPECT_TRUE(host.coords.empty());
  EXPECT_EQ(rec(a).CenterX, 150);
  c().SetTool(ToolDrawBox, 105);
  host.clearAll();
  Drag(200, 200, 220, 220);
  EXPECT_EQ(ObjCount, 3);
  EXPECT_TRUE(host.events.isEmpty());

  select(l);
  c().KeyDown(65, NoShift);  // 'A': nothing
  EXPECT_EQ(ObjCount, 3);
  c().KeyDown(46, NoShift);
  EXPECT_EQ(ObjCount, 2);
  EXPECT_EQ(host.flow(), QStringList({"SavedDocument", "DeleteObject(3,104)"}));
}

TEST_F(Gestures, AReleaseWithoutAPressFinishesNothing) {
  select(a);
  c().MouseUp(Left, NoShift, V(150), V(150));
  EXPECT_TRUE(host.events.isEmpty());
  c().SetTool(ToolDrawBox, 105);
  host.clearAll();
  c().MouseUp(Left, NoShift, V(150), V(150));
  EXPECT_TRUE(host.events.isEmpty());
  EXPECT_EQ(ObjCount, 3);
}

TEST_F(Gestures, RubberBandsSelectWhatTheyEnclose) {
  rec(l).IsHidden = VbTrue;
  struct Case {
    const char* name;
    float x1, y1, x2, y2;
    std::vector<std::int32_t> after;
  } cases[] = {
      {"around A, B and the hidden line", 100, 120, 210, 200, {1, 2}},
      {"up and left", 210, 200, 100, 120, {1, 2}},
      {"across A, around B", 152, 130, 190, 170, {2}},
      {"outside", 220, 220, 260, 260, {}},
  };
  for (const Case& k : cases) {
    select(a);
    host.clearAll();
    c().MouseDown(Left, NoShift, V(k.x1), V(k.y1));
    EXPECT_EQ(c().State().DragMode, 300) << k.name;
    c().MouseMove(Left, NoShift, V(k.x2), V(k.y2));
    c().MouseUp(Left, NoShift, V(k.x2), V(k.y2));
    EXPECT_EQ(host.flow(), QStringList({"SelectionStop", "SelectionStop", "SelectedArea(3)"})) << k.name;
    EXPECT_EQ(selection(), k.after) << k.name;
  }
}

TEST_F(Gestures, TheRubberBandIsAnXorOutlineThatLeavesNoTrace) {
  c().SelectAll();
  c().SelStop();
  const QImage before = c().SurfaceImage().copy();
  c().MouseDown(Left, NoShift, V(220), V(200));
  c().MouseMove(Left, NoShift, V(240), V(230));
  // The band from (440, 400) to (480, 460): white XOR grey 215 = 40.
  const auto greyInRow = [this](int y, int x1, int x2) {
    int n = 0;
    for (int x = x1; x <= x2; ++x) n += c().SurfaceImage().pixel(x, y) == qRgb(40, 40, 40);
    return n;
  };
  EXPECT_GT(greyInRow(400, 440, 480), 5);
  EXPECT_GT(greyInRow(460, 440, 480), 5);  // its bottom edge
  EXPECT_TRUE(c().State().FeedbackShown);
  // The next move erases the old band (bottom edge row 460) and draws the
  // new one (bottom edge row 480).
  c().MouseMove(Left, NoShift, V(250), V(240));
  EXPECT_EQ(greyInRow(460, 442, 478), 0);
  EXPECT_GT(greyInRow(480, 442, 498), 5);
  c().MouseUp(Left, NoShift, V(250), V(240));
  EXPECT_EQ(c().SurfaceImage(), before);

  // A drawing drag that creates nothing leaves no trace either.
  c().SetTool(ToolDrawLine, 104);
  const QImage before2 = c().SurfaceImage().copy();
  c().MouseDown(Left, NoShift, V(220), V(200));
  c().MouseMove(Left, NoShift, V(240), V(230));
  EXPECT_NE(c().SurfaceImage(), before2);
  c().MouseMove(Left, NoShift, V(220), V(200));
  c().MouseUp(Left, NoShift, V(220), V(200));
  EXPECT_EQ(ObjCount, 3);
  EXPECT_EQ(c().SurfaceImage(), before2);
}

TEST_F(Gestures, AMoveDragMovesTheSelectionBySnappedSteps) {
  select(a);
  select(l);
  host.clearAll();
  // Press at (150.6, 149.3) snaps to (150, 150); release at (161.2, 147.1)
  // snaps to (160, 145).
  c().MouseDown(Left, NoShift, V(150.6f), V(149.3f));
  c().MouseMove(Left, NoShift, V(155), V(148));
  // The outline follows the pointer; the records stay until the release.
  EXPECT_EQ(rec(a).CenterX, 150);
  c().MouseMove(Left, NoShift, V(161.2f), V(147.1f));
  c().MouseUp(Left, NoShift, V(161.2f), V(147.1f));
  EXPECT_EQ(host.flow(), QStringList({"SavedDocument", "UpdateObjects"}));
  EXPECT_FLOAT_EQ(rec(a).CenterX, 160);
  EXPECT_FLOAT_EQ(rec(a).CenterY, 145);
  EXPECT_FLOAT_EQ(rec(l).X1, 130);
  EXPECT_FLOAT_EQ(rec(l).Y1, 175);
  EXPECT_FLOAT_EQ(rec(l).X2, 170);
  EXPECT_FLOAT_EQ(rec(l).Y2, 175);
  EXPECT_FLOAT_EQ(rec(b).CenterX, 165);  // not selected
  EXPECT_EQ(rec(a).Width, 40);
}

TEST_F(Gestures, EachHandleResizesAndTheOppositeSideStays) {
  struct Case {
    std::int16_t handle;
    float hx, hy;  // the handle of A (150, 150) 40 x 20
    float w, h, cx, cy;
    MousePointer hover;
  } cases[] = {
      {100, 170, 150, 50, 20, 155, 150, MousePointer::SizeWE},
      {101, 170, 140, 50, 15, 155, 152.5f, MousePointer::SizeNESW},
      {102, 150, 140, 40, 15, 150, 152.5f, MousePointer::SizeNS},
      {103, 130, 140, 30, 15, 155, 152.5f, MousePointer::SizeNWSE},
      {104, 130, 150, 30, 20, 155, 150, MousePointer::SizeWE},
      {105, 130, 160, 30, 25, 155, 152.5f, MousePointer::SizeNESW},
      {106, 150, 160, 40, 25, 150, 152.5f, MousePointer::SizeNS},
      {107, 170, 160, 50, 25, 155, 152.5f, MousePointer::SizeNWSE},
  };
  rec(b).IsHidden = VbTrue;  // keep B out of A's way
  for (const Case& k : cases) {
    rec(a).CenterX = rec(a).CenterY = 150;
    rec(a).Width = 40;
    rec(a).Height = 20;
    select(a);
    c().MouseMove(0, NoShift, V(k.hx + 0.4f), V(k.hy - 0.4f));
    EXPECT_EQ(c().Pointer(), k.hover) << k.handle;
    host.clearAll();
    // 10 mm right and 5 mm down, each end a little off the grid.
    c().MouseDown(Left, NoShift, V(k.hx + 0.4f), V(k.hy - 0.4f));
    EXPECT_EQ(c().State().DragMode, k.handle);
    c().MouseMove(Left, NoShift, V(k.hx + 6), V(k.hy + 2));
    c().MouseUp(Left, NoShift, V(k.hx + 10.9f), V(k.hy + 5.6f));
    EXPECT_EQ(host.flow(), QStringList({"SavedDocument", "UpdateObjects"})) << k.handle;
    EXPECT_FLOAT_EQ(rec(a).Width, k.w) << k.handle;
    EXPECT_FLOAT_EQ(rec(a).Height, k.h) << k.handle;
    EXPECT_FLOAT_EQ(rec(a).CenterX, k.cx) << k.handle;
    EXPECT_FLOAT_EQ(rec(a).CenterY, k.cy) << k.handle;
  }
}

TEST_F(Gestures, DraggingALineEndMovesThatEndOnly) {
  select(l);
  c().MouseMove(0, NoShift, V(120), V(180));
  EXPECT_EQ(c().Pointer(), MousePointer::Cross);
  host.clearAll();
  Drag(120, 180, 116, 171);  // snapped to (115, 170)
  EXPECT_EQ(host.flow(), QStringList({"SavedDocument", "UpdateObjects"}));
  EXPECT_FLOAT_EQ(rec(l).X1, 115);
  EXPECT_FLOAT_EQ(rec(l).Y1, 170);
  EXPECT_FLOAT_EQ(rec(l).X2, 160);
  EXPECT_FLOAT_EQ(rec(l).Y2, 180);
}

TEST_F(Gestures, TheRotateToolTurnsByTheCornerAndImagesKeepTheirAngle) {
  const std::int32_t img = PutBox(220, 150, 20, 20, 0, 102);
  c().SetTool(ToolRotate, ToolRotate);
  select(a);
  select(img);
  // Hovering A's corner shows the rotation pointer, its edge nothing.
  c().MouseMove(0, NoShift, V(170), V(140));
  EXPECT_EQ(c().Pointer(), MousePointer::Custom);
  EXPECT_EQ(c().MouseIcon(), CursorRotation);
  c().MouseMove(0, NoShift, V(150), V(150));
  EXPECT_EQ(c().Pointer(), MousePointer::SizeAll);
  host.clearAll();
  // About A's centre (150, 150): from the corner (26.57 degrees) to straight
  // up (90 degrees).
  c().MouseDown(Left, NoShift, V(170), V(140));
  EXPECT_EQ(c().State().DragMode, 202);
  EXPECT_EQ(c().State().GrabbedObject, a);
  c().MouseMove(Left, NoShift, V(160), V(132));
  c().MouseUp(Left, NoShift, V(151), V(131));  // snapped to (150, 130)
  EXPECT_EQ(host.flow(), QStringList({"SavedDocument", "UpdateObjects"}));
  EXPECT_EQ(rec(a).Angle, 63);
  EXPECT_EQ(rec(img).Angle, 0);
  EXPECT_FLOAT_EQ(rec(a).CenterX, 150);  // turned about its centre
  EXPECT_FLOAT_EQ(rec(a).CenterY, 150);
}

TEST_F(Gestures, TheHoverPointerFollowsTheHitTestAlsoBeforeTheFirstPress) {
  select(a);
  EXPECT_EQ(c().State().DragMode, 0);  // never pressed
  c().MouseMove(0, NoShift, V(170), V(140));
  EXPECT_EQ(c().Pointer(), MousePointer::SizeNESW);
  c().MouseMove(0, NoShift, V(140), V(150));
  EXPECT_EQ(c().Pointer(), MousePointer::SizeAll);
  c().MouseMove(0, NoShift, V(250), V(250));
  EXPECT_EQ(c().Pointer(), MousePointer::Arrow);
  // During a drag the pointer stays.
  c().MouseMove(0, NoShift, V(140), V(150));
  c().MouseDown(Left, NoShift, V(140), V(150));
  c().MouseMove(Left, NoShift, V(250), V(250));
  EXPECT_EQ(c().Pointer(), MousePointer::SizeAll);
  // A turned box: its right edge handle lies on top and shows north-south.
  c().MouseUp(Left, NoShift, V(140), V(150));
  rec(a).Angle = 90;
  c().MouseMove(0, NoShift, V(150), V(130));
  EXPECT_EQ(c().Pointer(), MousePointer::SizeNS);
}

TEST_F(Gestures, DrawingToolsCreateEveryKind) {
  const std::int16_t kinds[] = {100, 101, 102, 105, 106, 107, 108, 109, 200, 207, 213, 300};
  std::int32_t n = ObjCount;
  for (std::int16_t kind : kinds) {
    c().SetTool(ToolDrawBox, kind);
    host.clearAll();
    Drag(120.7f, 139.2f, 160.4f, 161.1f);  // snapped: (120, 140) to (160, 160)
    ++n;
    ASSERT_EQ(ObjCount, n) << kind;
    const ObjectRecord& r = rec(n);
    EXPECT_EQ(r.GeomType, GeomBox) << kind;
    EXPECT_EQ(r.UserType, kind);
    EXPECT_FLOAT_EQ(r.CenterX, 140);
    EXPECT_FLOAT_EQ(r.CenterY, 150);
    EXPECT_FLOAT_EQ(r.Width, 40);
    EXPECT_FLOAT_EQ(r.Height, 20);
    EXPECT_EQ(r.Angle, 0);
    EXPECT_EQ(r.IsSelected, VbFalse);
    EXPECT_EQ(r.Key, n);
    // Snapshot, insertion, then the new object is drawn.
    EXPECT_EQ(host.events, QStringList({"SavedDocument", QStringLiteral("InsertObject(%1,%2)").arg(n).arg(kind),
                                        QStringLiteral("DrawObject(%1)").arg(n)}))
        << kind;
    EXPECT_EQ(c().State().CurrentTool, ToolDrawBox);  // Repeat is on
  }
  c().SetTool(ToolDrawLine, 104);
  host.clearAll();
  Drag(160, 160, 120, 140);
  ++n;
  ASSERT_EQ(ObjCount, n);
  const ObjectRecord& r = rec(n);
  EXPECT_EQ(r.GeomType, GeomLine);
  EXPECT_EQ(r.UserType, 104);
  EXPECT_EQ(std::vector<float>({r.X1, r.Y1, r.X2, r.Y2}), std::vector<float>({160, 160, 120, 140}));
  EXPECT_EQ(host.flow(), QStringList({"SavedDocument", QStringLiteral("InsertObject(%1,104)").arg(n)}));
}

TEST_F(Gestures, CreationClicksDegenerateDragsAndTheShiftConstraint) {
  struct Case {
    const char* name;
    std::int16_t tool, shift;
    float x1, y1, x2, y2;
    bool added;
    std::vector<float> geometry;  // box: cx, cy, w, h; line: x1, y1, x2, y2
  } cases[] = {
      {"box click", ToolDrawBox, 0, 143, 151, 143, 151, true, {145, 150, 40, 20}},
      {"box horizontal", ToolDrawBox, 0, 120, 140, 160, 140, false, {}},
      {"box vertical", ToolDrawBox, 0, 120, 140, 120, 170, false, {}},
      {"box up-left square", ToolDrawBox, 1, 160, 160, 130, 150, true, {145, 145, 30, 30}},
      {"box down-right square", ToolDrawBox, 1, 120, 140, 140, 170, true, {130, 150, 20, 20}},
      {"box up-right square", ToolDrawBox, 1, 120, 140, 150, 135, true, {135, 125, 30, 30}},
      {"line click", ToolDrawLine, 0, 120, 140, 120, 140, false, {}},
      {"line diagonal", ToolDrawLine, 1, 120, 140, 150, 115, true, {120, 140, 150, 110}},
      {"line down-left", ToolDrawLine, 1, 120, 140, 100, 165, true, {120, 140, 100, 160}},
      {"line near horizontal", ToolDrawLine, 1, 120, 140, 160, 125, true, {120, 140, 160, 140}},
      {"line near vertical", ToolDrawLine, 1, 120, 140, 125, 100, true, {120, 140, 120, 100}},
  };
  for (const Case& k : cases) {
    ResetDocumentState();
    c().SetTool(k.tool, k.tool == ToolDrawLine ? 104 : 105);
    host.clearAll();
    Drag(k.x1, k.y1, k.x2, k.y2, k.shift);
    EXPECT_EQ(ObjCount, k.added ? 1 : 0) << k.name;
    // The snapshot comes first, also when nothing is added.
    ASSERT_FALSE(host.flow().isEmpty()) << k.name;
    EXPECT_EQ(host.flow().first(), "SavedDocument") << k.name;
    EXPECT_EQ(host.count("InsertObject"), k.added ? 1 : 0) << k.name;
    if (!k.added) continue;
    const ObjectRecord& r = rec(1);
    const std::vector<float> g = k.tool == ToolDrawBox ? std::vector<float>({r.CenterX, r.CenterY, r.Width, r.Height})
                                                       : std::vector<float>({r.X1, r.Y1, r.X2, r.Y2});
    EXPECT_EQ(g, k.geometry) << k.name;
  }
}

TEST_F(Gestures, ANewObjectStartsFromAnEmptySlot) {
  // A deleted object's fields are still in slot 4.
  ObjectRecord& stale = rec(4);
  stale = ObjectRecord{};
  stale.IsHidden = VbTrue;
  stale.Content = QStringLiteral("old");
  stale.Key = 99;
  c().SetTool(ToolDrawBox, 106);
  Drag(200, 200, 220, 220);
  ASSERT_EQ(ObjCount, 4);
  EXPECT_EQ(rec(4).IsHidden, VbFalse);
  EXPECT_TRUE(rec(4).Content.isEmpty());
  EXPECT_EQ(rec(4).Key, 4);
}

TEST_F(Gestures, WithRepeatOffTheCanvasReturnsToTheSelectTool) {
  c().SetRepeat(false);
  c().SetTool(ToolDrawBox, 106);
  // The host fills the new record on InsertObject, before it is drawn.
  host.onInsert = [](std::int32_t key) { Objects[std::size_t(IndexOfKey(key))].Content = QStringLiteral("filled"); };
  Drag(200, 200, 220, 220);
  EXPECT_EQ(rec(4).Content, "filled");
  EXPECT_EQ(c().State().CurrentTool, ToolSelect);
  EXPECT_EQ(c().State().CurrentUserType, 100);
  EXPECT_EQ(c().Pointer(), MousePointer::Arrow);
}

TEST_F(Gestures, AFullTableRefusesTheCreationWithoutASnapshot) {
  while (ObjCount < MaxObjects - 1) PutBox(20, 20, 4, 4);
  c().SetTool(ToolDrawBox, 105);
  // The 200th object is added like any other.
  host.clearAll();
  Drag(200, 200, 220, 220);
  ASSERT_EQ(ObjCount, 200);
  EXPECT_EQ(host.flow(), QStringList({"SavedDocument", "InsertObject(200,105)"}));
  // One more: nothing written, the host is told.
  const std::int16_t undo = UndoCount;
  const ObjectRecord scratch = Objects[0];
  host.clearAll();
  Drag(230, 200, 250, 220);
  EXPECT_EQ(ObjCount, 200);
  EXPECT_EQ(UndoCount, undo);
  EXPECT_EQ(Objects[0], scratch);
  EXPECT_EQ(host.flow(), QStringList({"InsertRefused(105)"}));
  c().SetTool(ToolDrawLine, 104);
  host.clearAll();
  Drag(230, 200, 250, 220);
  EXPECT_EQ(host.flow(), QStringList({"InsertRefused(104)"}));
}

TEST_F(Gestures, DrawCoordReportsInEachUnit) {
  c().SetTool(ToolDrawBox, 105);
  struct Case {
    std::int16_t unit;
    CoordCall expected;
  } cases[] = {
      // Page at (100, 125) mm; press (120, 140), pointer (150.8, 152.4)
      // snapped to (150, 150).
      {UnitMillimetres, {50, 25, 20, 15, 30, 10, 1}},
      // The same in whole inches: a 30 mm drag is 1 inch.
      {UnitInches, {2, 1, 1, 1, 1, 0, 1}},
      // View pixels from the page corner (200, 250), unsnapped.
      {UnitPixels, {101.6f, 54.8f, 40, 30, 61.6f, 24.8f, 1}},
  };
  for (const Case& k : cases) {
    c().SetUnit(k.unit);
    c().MouseDown(Left, NoShift, V(120), V(140));
    host.clearAll();
    c().MouseMove(Left, ShiftKey, V(150.8f), V(152.4f));
    ASSERT_EQ(host.coords.size(), 1u) << k.unit;
    const CoordCall& got = host.coords[0];
    EXPECT_NEAR(got.X, k.expected.X, 1e-3) << k.unit;
    EXPECT_NEAR(got.Y, k.expected.Y, 1e-3) << k.unit;
    EXPECT_NEAR(got.xStart, k.expected.xStart, 1e-3) << k.unit;
    EXPECT_NEAR(got.yStart, k.expected.yStart, 1e-3) << k.unit;
    EXPECT_NEAR(got.Dx, k.expected.Dx, 1e-3) << k.unit;
    EXPECT_NEAR(got.Dy, k.expected.Dy, 1e-3) << k.unit;
    EXPECT_EQ(got.Button, 1) << k.unit;
    c().MouseUp(Left, NoShift, V(120), V(125));  // a vertical drag: nothing made
    EXPECT_EQ(ObjCount, 3);
  }
  // A move without a button is reported too.
  c().SetUnit(UnitMillimetres);
  host.clearAll();
  c().MouseMove(0, NoShift, V(110), V(130));
  ASSERT_EQ(host.coords.size(), 1u);
  EXPECT_FLOAT_EQ(host.coords[0].X, 10);
  EXPECT_EQ(host.coords[0].Button, 0);
  EXPECT_TRUE(host.events.isEmpty());
}

TEST_F(Gestures, TheShiftConstraintIsPublic) {
  struct Case {
    std::int16_t tool;
    float x, y, ex, ey;
  } cases[] = {
      {ToolDrawLine, 30, 0, 30, 0},      // exactly right: unchanged
      {ToolDrawLine, 0, 0, 0, 0},        // on the anchor
      {ToolDrawLine, 30, -5, 30, 0},     // octant 1
      {ToolDrawLine, 20, -18, 20, -20},  // octant 2
      {ToolDrawLine, 2, -30, 0, -30},    // octant 3
      {ToolDrawLine, -20, -18, -20, -20}, {ToolDrawLine, -30, 4, -30, 0}, {ToolDrawLine, -20, 18, -20, 20},
      {ToolDrawLine, 3, 30, 0, 30},       {ToolDrawLine, 20, 25, 20, 20}, {ToolDrawBox, 20, -5, 20, -20},
      {ToolDrawBox, -20, -5, -20, -20},   {ToolDrawBox, 20, 5, 20, 20},   {ToolDrawBox, -20, 5, -20, 20},
      {ToolDrawBox, 20, 0, 20, 0},        {ToolSelect, 20, -5, 20, -5},
  };
  for (const Case& k : cases) {
    c().SetTool(k.tool, k.tool == ToolDrawLine ? 104 : 105);
    c().MouseDown(Left, NoShift, V(150), V(150));  // anchor (150, 150) for the drawing tools
    if (k.tool == ToolSelect) {
      const_cast<CanvasState&>(c().State()).AnchorX = 150;
      const_cast<CanvasState&>(c().State()).AnchorY = 150;
    }
    float x = 150 + k.x, y = 150 + k.y;
    c().p_AdjustPoint(x, y);
    EXPECT_FLOAT_EQ(x, 150 + k.ex) << k.tool << " " << k.x << "," << k.y;
    EXPECT_FLOAT_EQ(y, 150 + k.ey) << k.tool << " " << k.x << "," << k.y;
    c().MouseUp(Left, NoShift, V(150), V(150));
  }
}
