// The object table: keys, enumeration, selection, measuring, kinds.
#include "fakes.h"

#include <cmath>

namespace pvtest {
namespace {

using namespace pv;

// The test run's picture folder goes away with the run.
class TempFolderCleanup : public ::testing::Environment {
 public:
  void TearDown() override { RemoveTempImageFolder(); }
};
[[maybe_unused]] ::testing::Environment* const kCleanup = ::testing::AddGlobalTestEnvironment(new TempFolderCleanup);

class ObjectStore : public DocumentTest {};

TEST_F(ObjectStore, KeysAreSmallestFreeAndReusedAfterDelete) {
  EXPECT_EQ(AddBox(1, 1, 1, 1), 1);
  EXPECT_EQ(AddBox(1, 1, 1, 1), 2);
  EXPECT_EQ(AddBox(1, 1, 1, 1), 3);
  DelObject(2, false);
  EXPECT_EQ(AddBox(1, 1, 1, 1), 2);
  EXPECT_EQ(Keys(), (std::vector<std::int32_t>{1, 3, 2}));
  std::int32_t k = 0;
  SetNewKey(k);
  EXPECT_EQ(k, 4);
  EXPECT_EQ(ObjCount, 3);  // SetNewKey does not change the table
}

TEST_F(ObjectStore, AddObjectStoresBoxAndLineGeometryAndRoundsAngleHalfToEven) {
  const std::int32_t box = AddObject(40, 30, 20, 10, 12.5f, GeomBox, UserTypeEllipse, false);
  const std::int32_t line = AddObject(1, 2, 3, 4, 13.5f, GeomLine, UserTypeLine, false);
  const ObjectRecord& b = Rec(box);
  EXPECT_EQ(b.GeomType, GeomBox);
  EXPECT_EQ(b.UserType, UserTypeEllipse);
  EXPECT_EQ(b.Angle, 12);
  EXPECT_EQ(b.CenterX, 40.0f);
  EXPECT_EQ(b.CenterY, 30.0f);
  EXPECT_EQ(b.Width, 20.0f);
  EXPECT_EQ(b.Height, 10.0f);
  EXPECT_EQ(b.IsSelected, 0);
  const ObjectRecord& l = Rec(line);
  EXPECT_EQ(l.GeomType, GeomLine);
  EXPECT_EQ(l.Angle, 14);
  EXPECT_EQ(l.X1, 1.0f);
  EXPECT_EQ(l.Y1, 2.0f);
  EXPECT_EQ(l.X2, 3.0f);
  EXPECT_EQ(l.Y2, 4.0f);
}

TEST_F(ObjectStore, AddObjectDrawsOnlyWithBDrawAndTakesOneSnapshot) {
  AddObject(1, 1, 1, 1, 0, GeomBox, UserTypeRectangle, true);
  AddObject(1, 1, 1, 1, 0, GeomBox, UserTypeRectangle, false);
  EXPECT_EQ(canvas.calls, (QStringList{"SavedDocument", "Draw(1,100)", "SavedDocument"}));
  EXPECT_EQ(UndoCount, 2);
}

TEST_F(ObjectStore, NewObjectInReusedSlotStartsFromEmptyRecord) {
  const std::int32_t k = AddBox(1, 1, 1, 1);
  ObjectRecord& old = Rec(k);
  old.IsHidden = VbTrue;
  old.IsSelected = VbTrue;
  old.Content = "stale";
  old.Width = 99;
  old.X1 = 7;
  old.FillStyle = 5;
  DelObject(k, false);
  Purge();
  const std::int32_t fresh = AddObject(5, 6, 7, 8, 0, GeomBox, UserTypeTextBox, false);
  ObjectRecord expected;
  expected.CenterX = 5;
  expected.CenterY = 6;
  expected.Width = 7;
  expected.Height = 8;
  expected.GeomType = GeomBox;
  expected.UserType = UserTypeTextBox;
  expected.Key = fresh;
  EXPECT_EQ(Rec(fresh), expected);
}

TEST_F(ObjectStore, FullTableRefusesAddObjectWithoutSnapshot) {
  for (int i = 0; i < MaxObjects; ++i) ASSERT_EQ(AddBox(1, 1, 1, 1), i + 1);
  const std::int16_t undo = UndoCount;
  const DocumentBlock before = DocBlock;
  EXPECT_EQ(AddBox(1, 1, 1, 1), 0);
  EXPECT_EQ(UndoCount, undo);
  EXPECT_TRUE(SameLiveObjects(DocBlock, before));
  Purge();
  EXPECT_EQ(ObjCount, 0);
  EXPECT_EQ(canvas.calls.last(), "Refresh(0)");
}

TEST_F(ObjectStore, EnumerationAllAndSelected) {
  EXPECT_EQ(GetFirstObject(false), -1);
  for (int i = 0; i < 6; ++i) AddBox(1, 1, 1, 1);
  EXPECT_EQ(GetFirstObject(true), -1);
  std::vector<std::int32_t> all;
  for (std::int32_t k = GetFirstObject(false); k != -1; k = GetNextObject(false)) all.push_back(k);
  EXPECT_EQ(all, (std::vector<std::int32_t>{1, 2, 3, 4, 5, 6}));
  Objects[2].IsSelected = VbTrue;
  Objects[5].IsSelected = VbTrue;
  Objects[5].IsHidden = VbTrue;  // hidden ones are returned like the others
  EXPECT_EQ(GetFirstObject(true), 2);
  EXPECT_EQ(GetNextObject(true), 5);
  EXPECT_EQ(GetNextObject(true), -1);
}

TEST_F(ObjectStore, SelectionCountsAndFrontMostSelected) {
  for (int i = 0; i < 4; ++i) AddBox(1, 1, 1, 1);
  EXPECT_EQ(SelCount(), 0);
  EXPECT_EQ(Selected(), 0);
  SelObject(2, false);
  SelObject(4, true);
  SelObject(3, false);
  SelObject(77, true);  // unknown key: nothing
  EXPECT_EQ(SelCount(), 3);
  EXPECT_EQ(Selected(), 4);
  EXPECT_EQ(canvas.count("Draw("), 1);
  Objects[1].IsHidden = VbTrue;
  SelObject(1, true);  // selected but not drawn
  EXPECT_EQ(canvas.count("Draw("), 1);
  EXPECT_EQ(Objects[1].IsSelected, VbTrue);
}

TEST_F(ObjectStore, KindAndTypeOfKeys) {
  const std::int32_t f = AddBox(1, 1, 1, 1, UserTypeDatabaseField);
  const std::int32_t l = AddLine(1, 1, 2, 2);
  EXPECT_EQ(GetUserType(f), 100);
  EXPECT_EQ(GetType(f), 1001);
  EXPECT_EQ(GetUserType(l), 104);
  EXPECT_EQ(GetType(l), 1000);
  EXPECT_EQ(GetUserType(99), 0);
  EXPECT_EQ(GetType(99), 0);
  EXPECT_EQ(FindObjectIndex(l), 2);
  EXPECT_EQ(FindObjectIndex(99), 0);
}

TEST_F(ObjectStore, SetObjectDimensionAddsPageOriginAndKeepsMarkedValues) {
  PageOrgX = 10.25f;
  PageOrgY = 7.5f;
  const std::int32_t box = AddBox(1, 2, 3, 4);
  const std::int32_t line = AddLine(1, 2, 3, 4);
  SetObjectDimension(box, 10, -1, -1, -1, -1, false);
  SetObjectDimension(line, 10, -1, -1, -1, -1, false);
  EXPECT_EQ(Rec(box).CenterX, PageOrgX + 10.0f);
  EXPECT_EQ(Rec(box).CenterY, 2.0f);
  EXPECT_EQ(Rec(box).Width, 3.0f);
  EXPECT_EQ(Rec(line).X1, PageOrgX + 10.0f);
  EXPECT_EQ(Rec(line).Y1, 2.0f);
  EXPECT_EQ(Rec(line).X2, 3.0f);
  SetObjectDimension(line, -1, 5, 6, 7, 33.5f, false);
  EXPECT_EQ(Rec(line).Y1, PageOrgY + 5.0f);
  EXPECT_EQ(Rec(line).X2, PageOrgX + 6.0f);
  EXPECT_EQ(Rec(line).Y2, PageOrgY + 7.0f);
  EXPECT_EQ(Rec(line).Angle, 34);
  // Only exactly -1 is the marker: -1.0001 and -0.9999 are set.
  SetObjectDimension(box, -1.0001f, -0.9999f, -1, -1, -1, false);
  EXPECT_EQ(Rec(box).CenterX, PageOrgX + -1.0001f);
  EXPECT_EQ(Rec(box).CenterY, PageOrgY + -0.9999f);
}

TEST_F(ObjectStore, SetThenGetDimensionGivesOriginIncluded) {
  PageOrgX = 12;
  PageOrgY = 9;
  const std::int32_t box = AddBox(1, 2, 3, 4);
  SetObjectDimension(box, 10, 20, 30, 40, 0, false);
  float x1 = 0, y1 = 0, x2 = 0, y2 = 0, a = 5;
  GetObjectDimension(box, x1, y1, x2, y2, a);
  EXPECT_EQ(x1, 22.0f);
  EXPECT_EQ(y1, 29.0f);
  EXPECT_EQ(x2, 30.0f);
  EXPECT_EQ(y2, 40.0f);
  EXPECT_EQ(a, 0.0f);
  float u1 = 1, u2 = 2, u3 = 3, u4 = 4, u5 = 5;
  GetObjectDimension(404, u1, u2, u3, u4, u5);
  EXPECT_EQ(std::vector<float>({u1, u2, u3, u4, u5}), std::vector<float>({1, 2, 3, 4, 5}));
}

TEST_F(ObjectStore, SetObjectDimensionAngleSparesImagesAndBarcodes) {
  struct Case {
    std::int16_t kind;
    std::int32_t expected;
  };
  for (const Case c : {Case{UserTypeImage, 0}, Case{UserTypeBarcode, 0}, Case{UserTypeRectangle, 45},
                       Case{static_cast<std::int16_t>(UserTypeShapeBase + 3), 45}}) {
    const std::int32_t k = AddBox(1, 1, 1, 1, c.kind);
    SetObjectDimension(k, -1, -1, -1, -1, 45, false);
    EXPECT_EQ(Rec(k).Angle, c.expected) << c.kind;
  }
}

TEST_F(ObjectStore, SetObjectDimensionRaisesUpdateObjectsEvenForUnknownKey) {
  const std::int32_t k = AddBox(1, 1, 1, 1);
  canvas.calls.clear();
  SetObjectDimension(k, 1, 1, 1, 1, 0, true);
  SetObjectDimension(999, 1, 1, 1, 1, 0, true);
  EXPECT_EQ(canvas.calls, (QStringList{"Draw(1,100)", "UpdateObjects", "UpdateObjects"}));
}

TEST_F(ObjectStore, FileExtensionTable) {
  struct Case {
    const char* in;
    const char* out;
  };
  for (const Case c : {Case{"C:/pics/photo.jpeg", "peg"}, Case{"/x/logo.bmp", "bmp"}, Case{"ab", "ab"},
                       Case{" a ", "a"}, Case{"", ""}, Case{"pic.jpg  ", "g"}}) {
    EXPECT_EQ(FileExtension(QString::fromUtf8(c.in)), QString::fromUtf8(c.out)) << c.in;
  }
}

TEST_F(ObjectStore, NextImageNumberSkipsUsedNumbersOfImagesOnly) {
  EXPECT_EQ(NextImageNumber(), 1);
  for (std::int16_t n : {1, 2, 4}) Rec(AddBox(1, 1, 1, 1, UserTypeImage)).Variant = n;
  Rec(AddBox(1, 1, 1, 1, UserTypeArtText)).Variant = 3;  // not an image
  EXPECT_EQ(NextImageNumber(), 3);
  ResetDocumentState();
  for (std::int16_t n = 1; n <= 200; ++n) {
    ObjCount = n;
    Objects[static_cast<std::size_t>(n)].UserType = UserTypeImage;
    Objects[static_cast<std::size_t>(n)].Variant = n;
  }
  EXPECT_EQ(NextImageNumber(), 0);
}

TEST_F(ObjectStore, FixedNamesArePaddedAndCut) {
  EXPECT_EQ(FixedName(""), QString(128, ' '));
  EXPECT_EQ(FixedName("/a/b.jpg").size(), 128);
  EXPECT_EQ(FixedName("/a/b.jpg").trimmed(), "/a/b.jpg");
  EXPECT_EQ(FixedName(QString(200, 'x')), QString(128, 'x'));
}

}  // namespace
}  // namespace pvtest
