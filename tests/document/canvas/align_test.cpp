// Alignment and equal sizing of the selection: edge, centre and size modes
// (lines, whose box fields are not what is drawn, take no part), and the grid
// mode.
#include "gesture_fixture.h"

using namespace pv;
using namespace pvtest;

namespace {

class Align : public GestureTest {
 protected:
  // Three unrotated boxes with left edges 30, 10 and 20 and a selected line
  // whose box fields are stale zeros; all selected.
  void SetUp() override {
    GestureTest::SetUp();
    l = PutLine(40, 60, 80, 60);  // backmost: first in table order
    a = PutBox(50, 40, 40, 20);   // 30..70 x 30..50
    b = PutBox(20, 70, 20, 10);   // 10..30 x 65..75
    d = PutBox(30, 20, 20, 30);   // 20..40 x 5..35
    for (std::int32_t i : {l, a, b, d}) select(i);
  }
  std::int32_t l = 0, a = 0, b = 0, d = 0;
};

}  // namespace

TEST_F(Align, EdgeAndCentreModesLineUpTheBoxesAndLeaveTheLine) {
  struct Case {
    std::int16_t mode;
    float ax, ay, bx, by, dx, dy;  // centres afterwards
    float aw, bw, dw, ah, bh, dh;  // sizes afterwards
  } cases[] = {
      {1, 30, 40, 20, 70, 20, 20, 40, 20, 20, 20, 10, 30},  // left edges on 10
      {2, 50, 40, 60, 70, 60, 20, 40, 20, 20, 20, 10, 30},  // right edges on 70
      {3, 50, 40, 50, 70, 50, 20, 40, 20, 20, 20, 10, 30},  // centres on A's (the first box)
      {4, 50, 15, 20, 10, 30, 20, 40, 20, 20, 20, 10, 30},  // top edges on 5
      {5, 50, 65, 20, 70, 30, 60, 40, 20, 20, 20, 10, 30},  // bottom edges on 75
      {6, 50, 40, 20, 40, 30, 40, 40, 20, 20, 20, 10, 30},
      {7, 50, 40, 20, 70, 30, 20, 40, 40, 40, 20, 10, 30},  // A's width
      {8, 50, 40, 20, 70, 30, 20, 40, 20, 20, 20, 20, 20},  // A's height
  };
  const DocumentBlock start = DocBlock;
  for (const Case& k : cases) {
    DocBlock = start;
    host.clearAll();
    c().SetAlign(k.mode, false);
    EXPECT_TRUE(host.events.isEmpty()) << k.mode;  // no snapshot, no event
    EXPECT_EQ(std::vector<float>(
                  {rec(a).CenterX, rec(a).CenterY, rec(b).CenterX, rec(b).CenterY, rec(d).CenterX, rec(d).CenterY}),
              std::vector<float>({k.ax, k.ay, k.bx, k.by, k.dx, k.dy}))
        << k.mode;
    EXPECT_EQ(
        std::vector<float>({rec(a).Width, rec(b).Width, rec(d).Width, rec(a).Height, rec(b).Height, rec(d).Height}),
        std::vector<float>({k.aw, k.bw, k.dw, k.ah, k.bh, k.dh}))
        << k.mode;
    EXPECT_EQ(rec(l), start.Objects[std::size_t(l)]) << k.mode;
  }
}

TEST_F(Align, EdgeModesUseTheScreenExtentsOfQuarterTurnsAndSkipOtherAngles) {
  rec(a).Angle = 360;  // drawn as 0: left edge 30
  rec(b).Angle = 90;   // 20 wide, 10 high, turned: left edge 20 - 5 = 15
  rec(d).Angle = 45;   // neither measured (left edge 20) nor moved
  c().SetAlign(1, false);
  EXPECT_FLOAT_EQ(rec(a).CenterX, 35);
  EXPECT_FLOAT_EQ(rec(b).CenterX, 20);
  EXPECT_FLOAT_EQ(rec(d).CenterX, 30);
  // Bottom edges: A 50, B turned 70 + 10 = 80.
  c().SetAlign(5, false);
  EXPECT_FLOAT_EQ(rec(a).CenterY, 70);
  EXPECT_FLOAT_EQ(rec(b).CenterY, 70);
  EXPECT_FLOAT_EQ(rec(d).CenterY, 20);
}

TEST_F(Align, EdgeModesTwoAndFiveStartFromTheOrigin) {
  // Everything left of and above the document origin lines up on 0.
  for (std::int32_t i : {a, b, d}) {
    rec(i).CenterX -= 200;
    rec(i).CenterY -= 200;
  }
  c().SetAlign(2, false);
  c().SetAlign(5, false);
  EXPECT_EQ(std::vector<float>({rec(a).CenterX, rec(a).CenterY, rec(b).CenterX, rec(b).CenterY}),
            std::vector<float>({-20, -10, -10, -5}));
}

TEST_F(Align, ModeSevenCopiesTheStoredWidthAlsoIntoTurnedBoxes) {
  rec(b).Angle = 90;
  c().SetAlign(7, false);
  EXPECT_FLOAT_EQ(rec(b).Width, 40);
  EXPECT_FLOAT_EQ(rec(b).Height, 10);
}

TEST_F(Align, TheGridModeSnapsPointsAndKeepsBoxesAtLeastOnePitch) {
  for (std::int32_t i : {l, a, b, d}) rec(i).IsSelected = VbFalse;
  const std::int32_t e = PutBox(12.4f, 7.6f, 12, 8);
  const std::int32_t f = PutBox(31, 42, 4, 4);
  const std::int32_t g = PutLine(11.2f, 13.9f, 27.6f, 13.1f);
  for (std::int32_t i : {e, f, g}) select(i);
  c().SetAlign(9, false);
  EXPECT_EQ(std::vector<float>({rec(e).CenterX, rec(e).CenterY, rec(e).Width, rec(e).Height}),
            std::vector<float>({10, 10, 10, 10}));
  // 4 mm rounds to no pitches at all; the box keeps one.
  EXPECT_EQ(std::vector<float>({rec(f).CenterX, rec(f).CenterY, rec(f).Width, rec(f).Height}),
            std::vector<float>({30, 40, 5, 5}));
  EXPECT_EQ(std::vector<float>({rec(g).X1, rec(g).Y1, rec(g).X2, rec(g).Y2}), std::vector<float>({10, 15, 30, 15}));
  EXPECT_FLOAT_EQ(rec(a).CenterX, 50);  // not selected
  // Another pitch; the surface is repainted on request.
  c().SetGrid(2, 3, false);
  host.clearAll();
  c().SetAlign(9, true);
  EXPECT_EQ(std::vector<float>({rec(e).CenterX, rec(e).CenterY, rec(e).Width, rec(e).Height}),
            std::vector<float>({10, 9, 8, 12}));
  EXPECT_EQ(host.flow(), QStringList());
  EXPECT_EQ(host.count("DrawPage"), 1);
}

TEST_F(Align, WithoutASelectionOrWithAnUnknownModeNothingChanges) {
  const DocumentBlock start = DocBlock;
  for (std::int16_t mode : {0, 10, -1}) {
    c().SetAlign(mode, true);
    EXPECT_TRUE(SameLiveObjects(DocBlock, start)) << mode;
  }
  for (std::int32_t i = 1; i <= ObjCount; ++i) rec(i).IsSelected = VbFalse;
  const DocumentBlock unselected = DocBlock;
  for (std::int16_t mode = 1; mode <= 9; ++mode) {
    c().SetAlign(mode, false);
    EXPECT_TRUE(SameLiveObjects(DocBlock, unselected)) << mode;
  }
  // Only a line selected: it is no reference and nothing moves.
  select(l);
  const DocumentBlock lineOnly = DocBlock;
  for (std::int16_t mode = 1; mode <= 8; ++mode) {
    c().SetAlign(mode, false);
    EXPECT_TRUE(SameLiveObjects(DocBlock, lineOnly)) << mode;
  }
}

TEST_F(Align, UndoAfterAnAlignmentReturnsToTheLastSnapshot) {
  c().SavedDoc();
  const DocumentBlock beforeMove = DocBlock;
  c().ApplyDrag(200, 0, 0, 5, 5);  // snapshot of beforeMove
  const DocumentBlock afterMove = DocBlock;
  c().SetAlign(1, false);
  EXPECT_FALSE(SameLiveObjects(DocBlock, afterMove));
  c().Undo();
  EXPECT_TRUE(SameLiveObjects(DocBlock, beforeMove));
}
