// Geometry commit, object clipboard, clone and series copies.
#include "fakes.h"
#include "tests/support/records.h"

namespace pvtest {
namespace {

using namespace pv;

class Clipboard : public DocumentTest {
 protected:
  // Appends `n` plain boxes straight into the table (no snapshots).
  static void Fill(int n) {
    for (int i = 0; i < n; ++i) test::AppendRecord(test::BoxRecord(UserTypeRectangle, 0, 0, 0, 0));
  }
};

TEST_F(Clipboard, SaveDataCopiesBoxCentreAndSizeAndLeavesLines) {
  const std::int32_t box = AddBox(40, 30, 20, 10);
  const std::int32_t line = AddLine(1, 2, 3, 4);
  const ObjectRecord lineBefore = Rec(line);
  SaveData();
  EXPECT_EQ(Rec(box).X1, 40.0f);
  EXPECT_EQ(Rec(box).Y1, 30.0f);
  EXPECT_EQ(Rec(box).X2, 20.0f);
  EXPECT_EQ(Rec(box).Y2, 10.0f);
  EXPECT_EQ(Rec(box).CenterX, 40.0f);
  EXPECT_EQ(Rec(line), lineBefore);
}

TEST_F(Clipboard, PasteTwiceStacksCopiesWithNewKeysAndSelectsTheLastSet) {
  const std::int32_t src = AddBox(40, 30, 20, 10);
  Rec(src).Content = "città";
  SelObject(src, false);
  DocumentCopy();
  const std::int16_t undo = UndoCount;
  canvas.calls.clear();
  DocumentPaste();
  EXPECT_EQ(canvas.calls, (QStringList{"SelectionStop", "Refresh(1)"}));
  DocumentPaste();
  ASSERT_EQ(ObjCount, 3);
  EXPECT_EQ(Keys(), (std::vector<std::int32_t>{1, 2, 3}));
  for (int i : {2, 3}) {
    EXPECT_EQ(Objects[static_cast<std::size_t>(i)].CenterX, 45.0f);
    EXPECT_EQ(Objects[static_cast<std::size_t>(i)].CenterY, 35.0f);
    EXPECT_EQ(Objects[static_cast<std::size_t>(i)].Width, 20.0f);
    EXPECT_EQ(Objects[static_cast<std::size_t>(i)].Content, "città");
  }
  EXPECT_EQ(Objects[1].IsSelected, 0);
  EXPECT_EQ(Objects[2].IsSelected, 0);
  EXPECT_EQ(Objects[3].IsSelected, VbTrue);
  EXPECT_EQ(UndoCount, undo);  // no snapshot
}

TEST_F(Clipboard, ClipboardSurvivesNewDocument) {
  SelObject(AddBox(10, 10, 5, 5), false);
  DocumentCopy();
  NewDocument();
  EXPECT_EQ(ObjCount, 0);
  DocumentPaste();
  ASSERT_EQ(ObjCount, 1);
  EXPECT_EQ(Objects[1].CenterX, 15.0f);
  // The copy is appended still holding its source's key 1 and then takes
  // the smallest key free beside it.
  EXPECT_EQ(Objects[1].Key, 2);
}

TEST_F(Clipboard, CopyWithNothingSelectedEmptiesClipboard) {
  SelObject(AddBox(10, 10, 5, 5), false);
  DocumentCopy();
  DeselectAllObjects();
  DocumentCopy();
  DocumentPaste();
  EXPECT_EQ(ObjCount, 1);
}

TEST_F(Clipboard, CloneMovesLineBothEndsAndSelectsOnlyTheCopy) {
  const std::int32_t line = AddLine(10, 10, 50, 10);
  SelObject(line, false);
  DocumentClone();
  ASSERT_EQ(ObjCount, 2);
  const ObjectRecord& copy = Objects[2];
  EXPECT_EQ(copy.X1, 15.0f);
  EXPECT_EQ(copy.Y1, 15.0f);
  EXPECT_EQ(copy.X2, 55.0f);
  EXPECT_EQ(copy.Y2, 15.0f);
  EXPECT_EQ(copy.Key, 2);
  EXPECT_EQ(copy.IsSelected, VbTrue);
  EXPECT_EQ(Rec(line).IsSelected, 0);
  EXPECT_EQ(ClipCount[1], 0);  // the paste clipboard is not touched
}

TEST_F(Clipboard, SeriesCopiesGoColumnByColumn) {
  const std::int32_t box = AddObject(10, 20, 8, 4, 30, GeomBox, UserTypeRectangle, false);
  SelObject(box, false);
  DocumentArray(3, 2, 20, 15);
  ASSERT_EQ(ObjCount, 6);
  const std::vector<std::pair<float, float>> expected = {{10, 35}, {30, 20}, {30, 35}, {50, 20}, {50, 35}};
  for (int i = 2; i <= 6; ++i) {
    const ObjectRecord& r = Objects[static_cast<std::size_t>(i)];
    EXPECT_EQ(r.CenterX, expected[static_cast<std::size_t>(i - 2)].first) << i;
    EXPECT_EQ(r.CenterY, expected[static_cast<std::size_t>(i - 2)].second) << i;
    EXPECT_EQ(r.Angle, 30) << i;
    EXPECT_EQ(r.Key, i) << i;
    EXPECT_EQ(r.IsSelected, VbTrue) << i;
  }
  EXPECT_EQ(Rec(box).IsSelected, VbTrue);
}

TEST_F(Clipboard, SeriesCopiesOfALineMoveBothEnds) {
  SelObject(AddLine(0, 0, 10, 5), false);
  DocumentArray(2, 1, 7.5f, 3);
  ASSERT_EQ(ObjCount, 2);
  EXPECT_EQ(Objects[2].X1, 7.5f);
  EXPECT_EQ(Objects[2].X2, 17.5f);
  EXPECT_EQ(Objects[2].Y1, 0.0f);
  EXPECT_EQ(Objects[2].Y2, 5.0f);
}

TEST_F(Clipboard, SeriesCopiesWithOneCellOrLessAppendNothing) {
  SelObject(AddBox(1, 1, 1, 1), false);
  for (auto [x, y] : {std::pair{1, 1}, {0, 5}, {5, 0}, {-2, 3}}) {
    DocumentArray(static_cast<std::int16_t>(x), static_cast<std::int16_t>(y), 5, 5);
    EXPECT_EQ(ObjCount, 1) << x << "," << y;
  }
}

TEST_F(Clipboard, AppendingStopsAtTheLimitWithOneMessage) {
  struct Case {
    const char* name;
    void (*run)();
  };
  const Case cases[] = {
      {"paste", [] { DocumentPaste(); }},
      {"clone", [] { DocumentClone(); }},
      {"array", [] { DocumentArray(3, 3, 10, 10); }},
  };
  for (const Case& c : cases) {
    ResetDocumentState();
    boxes.clear();
    Fill(5);
    for (int i = 1; i <= 5; ++i) Objects[static_cast<std::size_t>(i)].IsSelected = VbTrue;
    DocumentCopy();
    Fill(193);  // 198 objects
    c.run();
    EXPECT_EQ(ObjCount, 200) << c.name;
    EXPECT_EQ(Shown(MsgTableFull, MsgIcon::Information), 1) << c.name;
    EXPECT_EQ(boxes.size(), 1u) << c.name;
    // Every key stays unique.
    std::vector<std::int32_t> k = Keys();
    std::sort(k.begin(), k.end());
    EXPECT_EQ(std::adjacent_find(k.begin(), k.end()), k.end()) << c.name;
  }
}

TEST_F(Clipboard, CopiesOfImagesShareThePicture) {
  const std::int32_t img = AddBox(10, 10, 10, 10, UserTypeImage);
  Rec(img).Variant = 4;
  Rec(img).Content = "jpg";
  SelObject(img, false);
  DocumentClone();
  EXPECT_EQ(Objects[2].Variant, 4);
  EXPECT_EQ(Objects[2].Content, "jpg");
  EXPECT_EQ(ImageTempPath(Objects[2]), ImageTempPath(Objects[1]));
}

}  // namespace
}  // namespace pvtest
