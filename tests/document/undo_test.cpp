// Undo ring and redo, deletion, order moves, rotation, hiding.
#include "fakes.h"

namespace pvtest {
namespace {

using namespace pv;

class UndoOrder : public DocumentTest {};

TEST_F(UndoOrder, FirstEditAfterStartUpCannotBeUndone) {
  AddBox(1, 1, 1, 1);
  Undo();
  EXPECT_EQ(ObjCount, 1);
  EXPECT_FALSE(RedoAvailable);
  EXPECT_EQ(canvas.calls.last(), "Refresh(1)");
}

TEST_F(UndoOrder, ThreeObjectsThreeUndosKeepTheFirst) {
  const std::int32_t a = AddBox(1, 1, 1, 1);
  AddBox(2, 2, 2, 2);
  AddBox(3, 3, 3, 3);
  Undo();
  EXPECT_EQ(Keys(), (std::vector<std::int32_t>{a, 2}));
  Undo();
  EXPECT_EQ(Keys(), (std::vector<std::int32_t>{a}));
  Undo();
  EXPECT_EQ(Keys(), (std::vector<std::int32_t>{a}));
  EXPECT_EQ(UndoCount, 1);
}

TEST_F(UndoOrder, UndoRedoUndoRoundTrip) {
  AddBox(1, 1, 1, 1);
  AddBox(2, 2, 2, 2);
  AddBox(3, 3, 3, 3);
  Undo();
  const DocumentBlock afterUndo = DocBlock;
  Redo();
  EXPECT_EQ(Keys(), (std::vector<std::int32_t>{1, 2, 3}));
  EXPECT_FALSE(RedoAvailable);
  Undo();
  EXPECT_TRUE(SameLiveObjects(DocBlock, afterUndo));
}

TEST_F(UndoOrder, RedoTakesASnapshotAndIsItselfUndoable) {
  AddBox(1, 1, 1, 1);
  AddBox(2, 2, 2, 2);
  Undo();
  canvas.calls.clear();
  const std::int16_t before = UndoCount;
  Redo();
  EXPECT_EQ(UndoCount, before + 1);
  EXPECT_EQ(canvas.calls, (QStringList{"SavedDocument", "Refresh(1)"}));
  Redo();  // nothing left to redo
  EXPECT_EQ(UndoCount, before + 1);
}

TEST_F(UndoOrder, NewEditDiscardsRedo) {
  AddBox(1, 1, 1, 1);
  AddBox(2, 2, 2, 2);
  Undo();
  AddBox(5, 5, 5, 5);
  const DocumentBlock now = DocBlock;
  Redo();
  EXPECT_TRUE(SameLiveObjects(DocBlock, now));
}

TEST_F(UndoOrder, SevenEditsSixthUndoShowsNoChangeSeventhDoesNothing) {
  for (int i = 0; i < 7; ++i) AddBox(1, 1, 1, 1);  // counts 1..7
  std::vector<std::int32_t> counts;
  for (int u = 0; u < 7; ++u) {
    Undo();
    counts.push_back(ObjCount);
  }
  // Five kept states 6..2 objects come back, then the oldest stays.
  EXPECT_EQ(counts, (std::vector<std::int32_t>{6, 5, 4, 3, 2, 2, 2}));
  EXPECT_EQ(UndoCount, 1);
}

TEST_F(UndoOrder, UndoCountStopsAt32767) {
  UndoCount = 32766;
  SavedDoc();
  SavedDoc();
  EXPECT_EQ(UndoCount, 32767);
}

TEST_F(UndoOrder, UndoLeavesHeaderNamesAndFileName) {
  AddBox(1, 1, 1, 1);
  AddBox(1, 1, 1, 1);
  Header.LabelFormatCode = "A4-21";
  DocFileName = "/tmp/x.lab";
  BackgroundName = FixedName("/bg.jpg");
  Undo();
  EXPECT_EQ(ObjCount, 1);
  EXPECT_EQ(Header.LabelFormatCode, "A4-21");
  EXPECT_EQ(DocFileName, "/tmp/x.lab");
  EXPECT_EQ(Trim(BackgroundName), "/bg.jpg");
}

TEST_F(UndoOrder, DelObjectsRaisesEventsInTableOrderBeforeRemoval) {
  for (int i = 0; i < 6; ++i) AddBox(1, 1, 1, 1, static_cast<std::int16_t>(UserTypeShapeBase + i));
  Objects[2].IsSelected = VbTrue;
  Objects[5].IsSelected = VbTrue;
  canvas.calls.clear();
  DelObjects();
  EXPECT_EQ(canvas.calls, (QStringList{"SavedDocument", "DeleteObject(2,201)", "DeleteObject(5,204)", "Refresh(0)"}));
  EXPECT_EQ(Keys(), (std::vector<std::int32_t>{1, 3, 4, 6}));
}

TEST_F(UndoOrder, DelObjectsWithNothingSelectedCountsASnapshot) {
  AddBox(1, 1, 1, 1);
  AddBox(2, 2, 2, 2);
  const DocumentBlock before = DocBlock;
  DelObjects();
  EXPECT_TRUE(SameLiveObjects(DocBlock, before));
  Undo();  // re-applies the same state
  EXPECT_TRUE(SameLiveObjects(DocBlock, before));
}

TEST_F(UndoOrder, DelObjectByKeyAndUnknownKey) {
  AddBox(1, 1, 1, 1, UserTypeTextBox);
  AddBox(2, 2, 2, 2);
  canvas.calls.clear();
  DelObject(9, true);
  EXPECT_TRUE(canvas.calls.isEmpty());
  DelObject(1, true);
  EXPECT_EQ(canvas.calls, (QStringList{"DeleteObject(1,101)", "Refresh(0)"}));
  EXPECT_EQ(Keys(), (std::vector<std::int32_t>{2}));
  EXPECT_EQ(UndoCount, 2);  // no snapshot by DelObject
}

struct OrderCase {
  const char* name;
  void (*op)();
  int selected;  // index of the single selection, 0 for none, -1 for two
  std::vector<std::int32_t> expected;
};

TEST_F(UndoOrder, OrderMovesTable) {
  const std::vector<OrderCase> cases = {
      {"front", MoveFront, 2, {1, 3, 4, 2}}, {"front of front", MoveFront, 4, {1, 2, 3, 4}},
      {"back", MoveBack, 3, {3, 1, 2, 4}},   {"back of back", MoveBack, 1, {1, 2, 3, 4}},
      {"up", MoveUp, 2, {1, 3, 2, 4}},       {"up of front", MoveUp, 4, {1, 2, 3, 4}},
      {"down", MoveDown, 3, {1, 3, 2, 4}},   {"down of back", MoveDown, 1, {1, 2, 3, 4}},
      {"none", MoveFront, 0, {1, 2, 3, 4}},  {"two selected", MoveBack, -1, {1, 2, 3, 4}},
  };
  for (const OrderCase& c : cases) {
    ResetDocumentState();
    for (int i = 0; i < 4; ++i) AddBox(1, 1, 1, 1);
    if (c.selected > 0) Objects[static_cast<std::size_t>(c.selected)].IsSelected = VbTrue;
    if (c.selected < 0) Objects[2].IsSelected = Objects[3].IsSelected = VbTrue;
    const std::int16_t undo = UndoCount;
    canvas.calls.clear();
    c.op();
    EXPECT_EQ(Keys(), c.expected) << c.name;
    EXPECT_EQ(canvas.calls, QStringList{"Refresh(0)"}) << c.name;
    EXPECT_EQ(UndoCount, undo) << c.name;
    if (c.selected > 0) {
      EXPECT_EQ(Selected(), c.selected) << c.name;  // the moved key keeps its selection
    }
  }
}

TEST_F(UndoOrder, RotateSetsAngleExceptImagesAndBarcodes) {
  const std::int32_t img = AddBox(1, 1, 1, 1, UserTypeImage);
  const std::int32_t rect = AddBox(1, 1, 1, 1);
  const std::int32_t bar = AddBox(1, 1, 1, 1, UserTypeBarcode);
  const std::int32_t other = AddBox(1, 1, 1, 1);
  for (std::int32_t k : {img, rect, bar}) SelObject(k, false);
  RotateObject(90);
  RotateObject(90);
  EXPECT_EQ(Rec(rect).Angle, 90);
  EXPECT_EQ(Rec(img).Angle, 0);
  EXPECT_EQ(Rec(bar).Angle, 0);
  EXPECT_EQ(Rec(other).Angle, 0);
  RotateObject(180.5f);
  EXPECT_EQ(Rec(rect).Angle, 180);
}

TEST_F(UndoOrder, HideKeepsSelectionAndDoesNotRepaint) {
  const std::int32_t k = AddBox(1, 1, 1, 1);
  SelObject(k, false);
  canvas.calls.clear();
  HideObject(true, k);
  EXPECT_EQ(Rec(k).IsHidden, VbTrue);
  EXPECT_EQ(Rec(k).IsSelected, VbTrue);
  EXPECT_TRUE(canvas.calls.isEmpty());
  HideObject(false, k);
  EXPECT_EQ(Rec(k).IsHidden, 0);
}

}  // namespace
}  // namespace pvtest
