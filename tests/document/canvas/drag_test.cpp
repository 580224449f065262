// The arithmetic of a finished drag on the selected records: moves, resizes
// in the box's own turned frame, rotations about the grabbed object's centre,
// line ends; one snapshot each, no geometry change at the press point.
#include "gesture_fixture.h"

#include <cmath>

using namespace pv;
using namespace pvtest;

namespace {
class Drag : public GestureTest {
 protected:
  void grab(std::int32_t index) { const_cast<CanvasState&>(c().State()).GrabbedObject = index; }
};
}  // namespace

TEST_F(Drag, ReleasingAtThePressPointTakesASnapshotAndChangesNothing) {
  const std::int32_t a = PutBox(150, 150, 40, 20, 30);
  const std::int32_t l = PutLine(120, 180, 160, 180, 20);
  select(a);
  select(l);
  for (std::int16_t mode : {200, 202, 100, 103, 107, 110, 111}) {
    const DocumentBlock before = DocBlock;
    host.clearAll();
    grab(a);
    c().ApplyDrag(mode, 150, 150, 150, 150);
    EXPECT_EQ(host.flow(), QStringList({"SavedDocument"})) << mode;
    EXPECT_TRUE(SameLiveObjects(UndoBlocks[1], before)) << mode;
    if (mode < 110) {
      EXPECT_TRUE(SameLiveObjects(DocBlock, before)) << mode;
    }
  }
  // A line-end drag of nothing only straightens the line where it is drawn.
  EXPECT_EQ(rec(l).Angle, 0);
  EXPECT_NEAR(std::hypot(rec(l).X2 - rec(l).X1, rec(l).Y2 - rec(l).Y1), 40, 1e-3);
}

TEST_F(Drag, AResizeWorksInTheBoxsOwnTurnedFrame) {
  // Turned by 90 degrees, the right handle sits on top: dragging it up by
  // 10 mm widens the box by 10 and moves its centre 5 mm up.
  const std::int32_t a = PutBox(150, 150, 40, 20, 90);
  select(a);
  c().ApplyDrag(100, 150, 130, 150, 120);
  EXPECT_NEAR(rec(a).Width, 50, 1e-4);
  EXPECT_NEAR(rec(a).Height, 20, 1e-4);
  EXPECT_NEAR(rec(a).CenterX, 150, 1e-4);
  EXPECT_NEAR(rec(a).CenterY, 145, 1e-4);
  EXPECT_EQ(rec(a).Angle, 90);
}

TEST_F(Drag, AHandlePastTheOppositeSideLeavesAPositiveBox) {
  const std::int32_t a = PutBox(150, 150, 20, 10);  // 140..160
  select(a);
  c().ApplyDrag(104, 140, 150, 170, 150);
  EXPECT_FLOAT_EQ(rec(a).Width, 10);
  EXPECT_FLOAT_EQ(rec(a).CenterX - rec(a).Width / 2, 160);  // the old right side
  // The same past the top.
  c().ApplyDrag(102, 150, 145, 150, 165);
  EXPECT_FLOAT_EQ(rec(a).Height, 10);
  EXPECT_FLOAT_EQ(rec(a).CenterY - rec(a).Height / 2, 155);
}

TEST_F(Drag, HandleAndEndRulesLeaveTheOtherGeometryKindAlone) {
  const std::int32_t a = PutBox(150, 150, 40, 20);
  const std::int32_t l = PutLine(120, 180, 160, 180);
  select(a);
  select(l);
  c().ApplyDrag(107, 170, 160, 180, 170);
  EXPECT_EQ(std::vector<float>({rec(l).X1, rec(l).Y1, rec(l).X2, rec(l).Y2}), std::vector<float>({120, 180, 160, 180}));
  EXPECT_FLOAT_EQ(rec(a).Width, 50);
  c().ApplyDrag(111, 160, 180, 170, 190);
  EXPECT_EQ(std::vector<float>({rec(l).X1, rec(l).Y1, rec(l).X2, rec(l).Y2}), std::vector<float>({120, 180, 170, 190}));
  EXPECT_FLOAT_EQ(rec(a).Width, 50);
  EXPECT_FLOAT_EQ(rec(a).CenterX, 155);
}

TEST_F(Drag, AMoveCarriesLinesAndBoxesByTheSameVector) {
  const std::int32_t a = PutBox(150, 150, 40, 20);
  const std::int32_t l = PutLine(120, 180, 160, 180);
  const std::int32_t other = PutBox(200, 200, 10, 10);
  select(a);
  select(l);
  c().ApplyDrag(200, 150, 150, 135, 160);
  EXPECT_FLOAT_EQ(rec(a).CenterX, 135);
  EXPECT_FLOAT_EQ(rec(a).CenterY, 160);
  EXPECT_EQ(std::vector<float>({rec(l).X1, rec(l).Y1, rec(l).X2, rec(l).Y2}), std::vector<float>({105, 190, 145, 190}));
  EXPECT_FLOAT_EQ(rec(other).CenterX, 200);
}

TEST_F(Drag, DraggingTheFirstEndOfATurnedLineKeepsTheSecondWhereItIsDrawn) {
  const std::int32_t l = PutLine(120, 180, 160, 180, 30);
  select(l);
  // Where the ends are drawn: turned by 30 degrees about (140, 180).
  float x1 = 120, y1 = 180, x2 = 160, y2 = 180;
  RotatePoint(140, 180, x1, y1, 30);
  RotatePoint(140, 180, x2, y2, 30);
  c().ApplyDrag(110, x1, y1, x1 + 5, y1 - 10);
  EXPECT_EQ(rec(l).Angle, 0);
  EXPECT_NEAR(rec(l).X2, x2, 1e-4);
  EXPECT_NEAR(rec(l).Y2, y2, 1e-4);
  EXPECT_NEAR(rec(l).X1, x1 + 5, 1e-4);
  EXPECT_NEAR(rec(l).Y1, y1 - 10, 1e-4);
}

TEST_F(Drag, RotationTurnsEverythingButImagesAndBarcodesAboutTheirCentres) {
  const std::int32_t text = PutBox(150, 150, 40, 20, 20, 101);
  const std::int32_t image = PutBox(200, 150, 20, 20, 0, 102);
  const std::int32_t barcode = PutBox(250, 150, 20, 20, 0, 300);
  const std::int32_t line = PutLine(100, 200, 140, 200, 0);
  for (std::int32_t i : {text, image, barcode, line}) select(i);
  grab(text);
  // 10 degrees clockwise about the text box's centre: 350 counter-clockwise.
  const float r = 20;
  const double rad = 10 * CanvasPi / 180;
  c().ApplyDrag(202, 150 + r * float(std::cos(rad)), 150 - r * float(std::sin(rad)), 150 + r, 150);
  EXPECT_EQ(rec(text).Angle, 10);
  EXPECT_EQ(rec(image).Angle, 0);
  EXPECT_EQ(rec(barcode).Angle, 0);
  EXPECT_EQ(rec(line).Angle, 350);
  EXPECT_FLOAT_EQ(rec(text).CenterX, 150);
  EXPECT_FLOAT_EQ(rec(line).X1, 100);
  // The centre of a grabbed line is the midpoint of its ends.
  grab(line);
  c().ApplyDrag(202, 140, 200, 120, 180);  // from 0 to 90 degrees about (120, 200)
  EXPECT_EQ(rec(line).Angle, 80);
  EXPECT_EQ(rec(text).Angle, 100);
}

TEST_F(Drag, TheOutlineFeedbackNeverTouchesTheTable) {
  const std::int32_t a = PutBox(150, 150, 40, 20, 0);
  select(a);
  const DocumentBlock before = DocBlock;
  const QImage quiet = c().SurfaceImage().copy();
  c().MouseDown(Left, NoShift, V(170), V(150));  // right handle
  c().MouseMove(Left, NoShift, V(180), V(150));
  EXPECT_TRUE(SameLiveObjects(DocBlock, before));
  EXPECT_NE(c().SurfaceImage(), quiet);
  // The outline's new right edge at 180 mm, view pixel 360 (row 295 is off
  // the grid's dots).
  EXPECT_EQ(c().SurfaceImage().pixel(360, 295), qRgb(40, 40, 40));
  c().MouseUp(Left, NoShift, V(180), V(150));
  EXPECT_FLOAT_EQ(rec(a).Width, 50);
}
