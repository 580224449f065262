// New objects: the current style at start, the record each kind gets from a
// drawing, AUTO_INSERT, the picture copy into the temp folder and the limit
// of 200 objects.
#include "editor_fixture.h"

namespace pvtest {
namespace {

using pv::ObjectRecord;

constexpr std::int32_t Rgb(int r, int g, int b) { return r | (g << 8) | (b << 16); }

TEST(DefaultStyleTest, StartValues) {
  pv::DefaultStyle.Bold = -1;
  pv::DefaultStyle.FontName = QStringLiteral("x");
  pv::ResetDefaultStyle();
  const pv::DefaultStyleRecord& s = pv::DefaultStyle;
  EXPECT_EQ(s.FontName, QStringLiteral("Arial") + QString(27, QLatin1Char(' ')));
  EXPECT_EQ(s.FontName.size(), 32);
  EXPECT_EQ(s.FontSize, 12);
  EXPECT_EQ(s.Bold, 0);
  EXPECT_EQ(s.Italic, 0);
  EXPECT_EQ(s.Underline, 0);
  EXPECT_EQ(s.StrikeOut, 0);
  EXPECT_EQ(s.Alignment, 20);
  EXPECT_EQ(s.LineStyle, 2);
  EXPECT_EQ(s.LineColor, 0);
  EXPECT_EQ(s.FillStyle, 1);
  EXPECT_EQ(s.Color1, Rgb(255, 255, 255));
  EXPECT_EQ(s.Color2, Rgb(50, 50, 50));
  EXPECT_EQ(s.Opacity, 100);
  EXPECT_EQ(pv::StartDefaultStyle(), s);
}

class NewObjectTest : public EditorTest {
 protected:
  // A style with distinct values in every field, so each copy shows.
  void DistinctStyle() {
    pv::DefaultStyleRecord& s = pv::DefaultStyle;
    s.FontName = pv::FixedString(QStringLiteral("Times"), 32);
    s.FontSize = 17;
    s.Italic = -1;
    s.Bold = -1;
    s.Underline = 0;
    s.StrikeOut = -1;
    s.Alignment = 22;
    s.LineStyle = 7;
    s.LineColor = Rgb(1, 2, 3);
    s.FillStyle = 141;
    s.Color1 = Rgb(10, 20, 30);
    s.Color2 = Rgb(40, 50, 60);
    s.Opacity = 55;
  }
};

TEST_F(NewObjectTest, EveryKindTakesTheStyleAndItsOwnDefaults) {
  DistinctStyle();
  logic->InsertFieldName = QStringLiteral("COGNOME");
  logic->InsertFormatText = QStringLiteral("fmt");
  const QString padded = pv::DefaultStyle.FontName;
  const QString newText = pv::LoadResString(15060);
  ASSERT_EQ(newText, QStringLiteral("Nuovo testo"));

  struct Case {
    std::int16_t kind;
    bool textStyle;  // takes the font part of the style
    QString content;
    QString fontName;
  };
  const std::vector<Case> cases = {
      {100, true, QStringLiteral("COGNOME"), padded},
      {101, true, newText, padded},
      {104, false, {}, {}},
      {105, false, {}, {}},
      {106, false, {}, {}},
      {107, false, {}, {}},
      {108, false, {}, {}},
      {109, false, newText, QStringLiteral("ARIAL")},
      {200, false, {}, {}},
      {213, false, {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    const std::int32_t key = Draw(c.kind);
    ASSERT_NE(key, 0);
    const ObjectRecord& r = Rec(key);
    EXPECT_EQ(r.Key, key);
    EXPECT_EQ(r.UserType, c.kind);
    EXPECT_EQ(r.Opacity, 55);
    EXPECT_EQ(r.LineColor, Rgb(1, 2, 3));
    EXPECT_EQ(r.LineStyle, 7);
    EXPECT_EQ(r.FillStyle, 141);
    EXPECT_EQ(r.Color1, Rgb(10, 20, 30));
    EXPECT_EQ(r.Color2, Rgb(40, 50, 60));
    EXPECT_EQ(r.Aspect, 4);
    EXPECT_EQ(r.Page, 0);
    EXPECT_EQ(r.Variant, 0);
    EXPECT_EQ(r.Content, c.content);
    EXPECT_EQ(r.FontName, c.fontName);
    EXPECT_EQ(r.FormatText, c.kind == 100 ? QStringLiteral("fmt") : QString());
    if (c.textStyle) {
      EXPECT_EQ(r.FontSize, 17);
      EXPECT_EQ(r.Alignment, 22);
      EXPECT_EQ(r.Bold, -1);
      EXPECT_EQ(r.Italic, -1);
      EXPECT_EQ(r.Underline, 0);
      EXPECT_EQ(r.StrikeOut, -1);
    } else {
      EXPECT_EQ(r.FontSize, 0);
      EXPECT_EQ(r.Alignment, 0);
      EXPECT_EQ(r.Bold, 0);
      EXPECT_EQ(r.StrikeOut, 0);
    }
    EXPECT_EQ(r.ShowText, 0);
  }
}

TEST_F(NewObjectTest, BarcodeGetsFormatTenAndItsText) {
  DistinctStyle();
  const std::int32_t key = Draw(300);
  const ObjectRecord& r = Rec(key);
  EXPECT_EQ(r.Aspect, 10);
  EXPECT_EQ(r.ShowText, 1);
  EXPECT_EQ(r.ShowMargins, 0);
  EXPECT_EQ(r.BearerBars, 0);
  EXPECT_EQ(r.ShowCheckDigit, 0);
  EXPECT_EQ(r.ExtraOption1, 0);
  EXPECT_EQ(r.ExtraOption2, 0);
  EXPECT_EQ(r.Alignment, 0);
  EXPECT_EQ(r.Color1, 0);
  EXPECT_EQ(r.Color2, 0);
  EXPECT_EQ(r.Content, pv::LoadResString(32003));
  EXPECT_EQ(r.Variant, 0);
  // The style fields a barcode does not overwrite.
  EXPECT_EQ(r.LineColor, Rgb(1, 2, 3));
  EXPECT_EQ(r.Opacity, 55);
  EXPECT_EQ(r.FillStyle, 141);
}

TEST_F(NewObjectTest, WhiteTextColourBecomesBlackForTextKindsOnly) {
  // Start style: Color1 white.
  const std::int32_t text = Draw(101);
  const std::int32_t field = Draw(100);
  const std::int32_t rect = Draw(105);
  const std::int32_t art = Draw(109);
  EXPECT_EQ(Rec(text).Color1, 0);
  EXPECT_EQ(Rec(field).Color1, 0);
  EXPECT_EQ(Rec(rect).Color1, Rgb(255, 255, 255));
  EXPECT_EQ(Rec(art).Color1, Rgb(255, 255, 255));
  // Any other colour stays.
  pv::DefaultStyle.Color1 = Rgb(255, 255, 254);
  EXPECT_EQ(Rec(Draw(101)).Color1, Rgb(255, 255, 254));
}

TEST_F(NewObjectTest, DefaultBoldWithNothingSelectedReachesTheNextTextBox) {
  const std::int32_t other = Put(101, false);
  logic->Apply(100, 1, true, false);
  EXPECT_EQ(pv::DefaultStyle.Bold, -1);
  EXPECT_EQ(Rec(other).Bold, 0);
  EXPECT_EQ(Rec(Draw(101)).Bold, -1);
}

TEST_F(NewObjectTest, AutoInsertDecidesWhetherTheToolStaysArmed) {
  logic->Image2_Click(5);
  recorder->calls.clear();
  services.autoInsert = 0;
  Draw(105);
  EXPECT_EQ(recorder->actions(), QStringList{QStringLiteral("SetTool(100,100)")});
  EXPECT_EQ(canvas->State().CurrentTool, pv::ToolSelect);

  logic->Image2_Click(5);
  recorder->calls.clear();
  services.autoInsert = 1;
  Draw(105);
  Draw(105);
  EXPECT_TRUE(recorder->actions().isEmpty());
  EXPECT_EQ(canvas->State().CurrentTool, pv::ToolDrawBox);
  EXPECT_EQ(canvas->State().CurrentUserType, 105);
}

TEST_F(NewObjectTest, TheHandlerTakesNoSnapshotOfItsOwn) {
  const std::int16_t before = pv::UndoCount;
  Draw(101);  // the append takes one
  EXPECT_EQ(pv::UndoCount, before + 1);
  EXPECT_FALSE(recorder->calls.contains(QStringLiteral("SavedDoc")));
}

TEST_F(NewObjectTest, AReusedSlotKeepsNoEarlierAttributes) {
  // A canvas that appends into a slot without clearing it.
  ObjectRecord& slot = pv::Objects[1];
  slot = ObjectRecord{};
  slot.Content = QStringLiteral("old");
  slot.FormatText = QStringLiteral("old format");
  slot.FontName = QStringLiteral("Old");
  slot.ShowText = 1;
  slot.ExtraOption1 = 1;
  slot.Bold = -1;
  slot.GeomType = pv::GeomBox;
  slot.Key = 7;
  slot.UserType = 105;
  pv::ObjCount = 1;
  logic->InsertObject(7, 105);
  const ObjectRecord& r = pv::Objects[1];
  EXPECT_TRUE(r.Content.isEmpty());
  EXPECT_TRUE(r.FormatText.isEmpty());
  EXPECT_TRUE(r.FontName.isEmpty());
  EXPECT_EQ(r.ShowText, 0);
  EXPECT_EQ(r.ExtraOption1, 0);
  EXPECT_EQ(r.Bold, 0);
  EXPECT_EQ(r.Opacity, 100);
}

// ---- Pictures ---------------------------------------------------------------------

TEST_F(NewObjectTest, TwoPicturesFromOneFileGetNumbersOneAndTwo) {
  const QByteArray bytes("BM-picture-bytes");
  logic->InsertImagePath = SourceFile(QStringLiteral("logo.bmp"), bytes);
  const std::int32_t a = Draw(102);
  const std::int32_t b = Draw(102);
  EXPECT_EQ(Rec(a).Variant, 1);
  EXPECT_EQ(Rec(b).Variant, 2);
  EXPECT_EQ(Rec(a).Content, QStringLiteral("bmp"));
  EXPECT_EQ(logic->InsertImageNumber, 2);
  EXPECT_EQ(ReadAll(pv::TempImageFile(QStringLiteral("1.bmp"))), bytes);
  EXPECT_EQ(ReadAll(pv::TempImageFile(QStringLiteral("2.bmp"))), bytes);
  EXPECT_TRUE(boxes.empty());
}

TEST_F(NewObjectTest, APictureReplacesAnOldFileOfItsName) {
  QFile old(pv::TempImageFile(QStringLiteral("1.jpg")));
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.write("stale stale stale stale");
  old.close();
  logic->InsertImagePath = SourceFile(QStringLiteral("photo.jpg"), "new");
  Draw(102);
  EXPECT_EQ(ReadAll(pv::TempImageFile(QStringLiteral("1.jpg"))), QByteArray("new"));
}

TEST_F(NewObjectTest, APictureThatCannotBeCopiedLeavesNoImageObject) {
  const std::int32_t keep = Put(105, false);
  struct Case {
    const char* name;
    QString source;
  };
  const std::vector<Case> cases = {
      {"missing file", sources.filePath(QStringLiteral("gone.bmp"))},
      {"a folder", sources.path()},
      {"name unfit for the temp folder", SourceFile(QStringLiteral("pic.a b"), "x")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    boxes.clear();
    recorder->calls.clear();
    logic->InsertImagePath = c.source;
    const std::int32_t key = Draw(102);
    EXPECT_NE(key, 0);
    EXPECT_EQ(pv::FindObjectIndex(key), 0);
    EXPECT_EQ(pv::ObjCount, 1);
    EXPECT_EQ(pv::Objects[1].Key, keep);
    EXPECT_EQ(Shown(pv::MsgPictureNotCopied, pv::MsgIcon::Critical), 1);
    EXPECT_EQ(recorder->actions().last(), QStringLiteral("SetTool(100,100)"));
  }
  EXPECT_TRUE(QDir(pv::TempImageFolder()).entryList(QDir::Files).isEmpty());
}

// ---- The limit of 200 -----------------------------------------------------------

TEST_F(NewObjectTest, The200thObjectIsFilledAndThe201stIsRefused) {
  for (int i = 0; i < 199; ++i) ASSERT_NE(pv::AddObject(10, 10, 5, 5, 0, pv::GeomBox, 105, false), 0);
  const std::int32_t last = Draw(101);
  ASSERT_NE(last, 0);
  EXPECT_EQ(pv::ObjCount, 200);
  EXPECT_EQ(Rec(last).Content, QStringLiteral("Nuovo testo"));
  EXPECT_EQ(Rec(last).FontSize, 12);
  EXPECT_TRUE(boxes.empty());

  recorder->calls.clear();
  const std::int16_t undo = pv::UndoCount;
  EXPECT_EQ(Draw(101), 0);
  EXPECT_EQ(pv::ObjCount, 200);
  EXPECT_EQ(pv::UndoCount, undo);
  EXPECT_EQ(Shown(15046, pv::MsgIcon::Information), 1);
  EXPECT_EQ(boxes.size(), 1u);
  EXPECT_EQ(recorder->actions(), QStringList{QStringLiteral("SetTool(100,100)")});

  services.autoInsert = 1;
  recorder->calls.clear();
  logic->InsertObjectRefused(101);
  EXPECT_TRUE(recorder->actions().isEmpty());
  EXPECT_EQ(Shown(15046, pv::MsgIcon::Information), 2);
}

}  // namespace
}  // namespace pvtest
