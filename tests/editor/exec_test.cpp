// Exec: the calls each command key and menu index makes, their effect on the
// table and the undo history, the properties of a field or barcode object,
// series copies, ResizeImage and SetShadow.
#include "editor_fixture.h"

namespace pvtest {
namespace {

using pv::ObjectRecord;

class ExecTest : public EditorTest {};

TEST_F(ExecTest, EachKeyMakesItsCallsInOrder) {
  struct Case {
    const char* key;
    int index;
    QStringList calls;
  };
  const std::vector<Case> cases = {
      {"edit_select", 0, {"SetTool(100,100)"}},
      {"edit_rotate", 0, {"SetTool(101,101)"}},
      {"edit_selectall", 0, {"SetTool(100,100)", "SelectAll"}},
      {"edit_undo", 0, {"Undo"}},
      {"edit_redo", 0, {"Redo"}},
      {"edit_zoomin", 0, {"SetZoom(1)"}},
      {"edit_zoomout", 0, {"SetZoom(0)"}},
      {"edit_copy", 0, {}},
      {"edit_cut", 0, {"DelObjects"}},
      {"edit_paste", 0, {}},
      {"edit_delete", 0, {"DelObjects"}},
      {"edit_clone", 0, {}},
      {"mnu_align", 0, {"SetAlign(1,1)"}},
      {"mnu_align", 1, {"SetAlign(3,1)"}},
      {"mnu_align", 2, {"SetAlign(2,1)"}},
      {"mnu_align", 3, {"SetAlign(4,1)"}},
      {"mnu_align", 4, {"SetAlign(6,1)"}},
      {"mnu_align", 5, {"SetAlign(5,1)"}},
      {"mnu_align", 9, {"MoveFront"}},
      {"mnu_align", 10, {"MoveBack"}},
      {"mnu_align", 11, {"MoveUp"}},
      {"mnu_align", 12, {"MoveDown"}},
      {"mnu_align", 14, {"SetAlign(9,1)"}},
      {"mnu_size", 6, {"SetAlign(8,1)"}},
      {"mnu_size", 7, {"SetAlign(7,1)"}},
      {"mnu_rotate", 13, {"RotateObject(0)"}},
      {"mnu_rotate", 14, {"RotateObject(90)"}},
      {"mnu_rotate", 15, {"RotateObject(180)"}},
      {"mnu_rotate", 16, {"RotateObject(270)"}},
      {"mnu_shadow", 0, {"Refresh(0)"}},
      {"mnu_shadow", 10, {"Refresh(0)"}},
      // Nothing at all.
      {"mnu_align", 6, {}},
      {"mnu_align", 7, {}},
      {"mnu_align", 13, {}},
      {"mnu_align", 15, {}},
      {"mnu_size", 0, {}},
      {"mnu_rotate", 0, {}},
      {"mnu_rotate", 17, {}},
      {"mnu_shadow", 4, {}},
      {"mnu_shadow", 9, {}},
      {"mnu_shadow", 11, {}},
      {"Edit_select", 0, {}},
      {"edit_Select", 0, {}},
      {"edit_space1", 0, {}},
      {"edit_align", 0, {}},
      {"edit_shadow", 0, {}},
      {"", 0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.key) + " " + std::to_string(c.index));
    recorder->calls.clear();
    logic->Exec(QString::fromLatin1(c.key), c.index);
    EXPECT_EQ(recorder->actions(), c.calls);
    EXPECT_TRUE(pickers.calls.isEmpty());
  }
  EXPECT_TRUE(boxes.empty());
}

TEST_F(ExecTest, CutPutsTheSelectionOnTheClipboardAndTakesOneSnapshot) {
  const std::int32_t a = Put(105, true);
  const std::int32_t b = Put(101, true);
  const std::int32_t c = Put(106, false);
  const std::int16_t undo = pv::UndoCount;
  logic->Exec(QStringLiteral("edit_cut"), 0);
  EXPECT_EQ(pv::ClipCount[1], 2);
  EXPECT_EQ(pv::ClipBlocks[1].Objects[1].Key, a);
  EXPECT_EQ(pv::ClipBlocks[1].Objects[2].Key, b);
  EXPECT_EQ(pv::ObjCount, 1);
  EXPECT_EQ(pv::Objects[1].Key, c);
  EXPECT_EQ(pv::UndoCount, undo + 1);

  // Paste brings them back as the selection, with new keys; no snapshot.
  logic->Exec(QStringLiteral("edit_paste"), 0);
  EXPECT_EQ(pv::ObjCount, 3);
  EXPECT_EQ(pv::SelCount(), 2);
  EXPECT_EQ(pv::UndoCount, undo + 1);

  // Undo gives back the table before the cut.
  logic->Exec(QStringLiteral("edit_undo"), 0);
  EXPECT_EQ(pv::ObjCount, 3);
  EXPECT_NE(pv::FindObjectIndex(a), 0);
  EXPECT_NE(pv::FindObjectIndex(b), 0);
}

TEST_F(ExecTest, CommandsOnTheTable) {
  const std::int32_t a = Put(105, true);
  const std::int32_t b = Put(101, false);
  const std::int32_t hidden = Put(106, false);
  Rec(hidden).IsHidden = -1;
  std::int16_t undo = pv::UndoCount;

  logic->Exec(QStringLiteral("edit_copy"), 0);
  EXPECT_EQ(pv::ClipCount[1], 1);
  EXPECT_EQ(pv::UndoCount, undo);

  logic->Exec(QStringLiteral("edit_clone"), 0);
  EXPECT_EQ(pv::ObjCount, 4);
  EXPECT_FLOAT_EQ(pv::Objects[4].CenterX, Rec(a).CenterX + 5);
  EXPECT_EQ(pv::UndoCount, undo);

  logic->Exec(QStringLiteral("edit_selectall"), 0);
  EXPECT_NE(Rec(a).IsSelected, 0);
  EXPECT_NE(Rec(b).IsSelected, 0);
  EXPECT_EQ(Rec(hidden).IsSelected, 0);
  EXPECT_EQ(canvas->State().CurrentTool, pv::ToolSelect);

  logic->Exec(QStringLiteral("mnu_rotate"), 14);
  EXPECT_EQ(Rec(a).Angle, 90);
  EXPECT_EQ(pv::UndoCount, undo);

  undo = pv::UndoCount;
  logic->Exec(QStringLiteral("edit_delete"), 0);
  EXPECT_EQ(pv::ObjCount, 1);
  EXPECT_EQ(pv::Objects[1].Key, hidden);
  EXPECT_EQ(pv::UndoCount, undo + 1);
}

TEST_F(ExecTest, OrderMovesTheOneSelectedObject) {
  const std::int32_t a = Put(105, true);
  const std::int32_t b = Put(106, false);
  logic->Exec(QStringLiteral("mnu_align"), 9);
  EXPECT_EQ(pv::Objects[2].Key, a);
  logic->Exec(QStringLiteral("mnu_align"), 10);
  EXPECT_EQ(pv::Objects[1].Key, a);
  EXPECT_EQ(pv::Objects[2].Key, b);
}

// ---- Properties of a field or barcode object ("edit_field") -----------------

TEST_F(ExecTest, FieldCommandWantsExactlyOneFieldOrBarcode) {
  struct Case {
    const char* name;
    std::vector<std::int16_t> selected;
  };
  const std::vector<Case> cases = {
      {"nothing", {}},
      {"two fields", {100, 100}},
      {"a text box", {101}},
      {"an image", {102}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    pv::ResetDocumentState();
    for (std::int16_t k : c.selected) Put(k, true);
    Put(100, false);
    boxes.clear();
    pickers.calls.clear();
    const pv::DocumentBlock before = pv::DocBlock;
    logic->Exec(QStringLiteral("edit_field"), 0);
    EXPECT_EQ(Shown(31012, pv::MsgIcon::Information), 1);
    EXPECT_TRUE(pickers.calls.isEmpty());
    EXPECT_TRUE(pv::SameLiveObjects(before, pv::DocBlock));
  }
}

TEST_F(ExecTest, FieldCommandPresetsThePickerAndTakesItsAnswer) {
  const std::int32_t field = Put(100, true);
  Rec(field).Content = QStringLiteral("  KINTERNAL238547-02 ");
  Rec(field).FormatText = QStringLiteral("dd/mm/yyyy");
  const std::int16_t undo = pv::UndoCount;
  recorder->calls.clear();

  // Cancelled: only the blanks of Content are gone.
  logic->Exec(QStringLiteral("edit_field"), 0);
  ASSERT_TRUE(pickers.lastPreset.has_value());
  EXPECT_EQ(pickers.lastPreset->FieldName, QStringLiteral("Data corrente"));
  EXPECT_EQ(pickers.lastPreset->NameText, QStringLiteral("Data corrente"));
  EXPECT_EQ(pickers.lastPreset->NameTag, QStringLiteral("2"));
  EXPECT_EQ(pickers.lastPreset->FieldFormat, QStringLiteral("dd/mm/yyyy"));
  EXPECT_EQ(pickers.lastPreset->FormatText, QStringLiteral("dd/mm/yyyy"));
  EXPECT_EQ(Rec(field).Content, QStringLiteral("KINTERNAL238547-02"));
  EXPECT_EQ(Rec(field).FormatText, QStringLiteral("dd/mm/yyyy"));

  // A column: its own name and code 0.
  Rec(field).Content = QStringLiteral("CITTA");
  pickers.fieldAnswers.push_back({QStringLiteral("PROVINCIA"), QStringLiteral("@>")});
  logic->Exec(QStringLiteral("edit_field"), 0);
  EXPECT_EQ(pickers.lastPreset->FieldName, QStringLiteral("CITTA"));
  EXPECT_EQ(pickers.lastPreset->NameTag, QStringLiteral("0"));
  EXPECT_EQ(Rec(field).Content, QStringLiteral("PROVINCIA"));
  EXPECT_EQ(Rec(field).FormatText, QStringLiteral("@>"));

  // No snapshot and no repaint.
  EXPECT_EQ(pv::UndoCount, undo);
  EXPECT_TRUE(recorder->actions().isEmpty());
}

TEST_F(ExecTest, BarcodeCommandExchangesTheRecordWithTheDialog) {
  const std::int32_t bar = Put(300, true);
  ObjectRecord& r = Rec(bar);
  r.ShowMargins = 1;
  r.BearerBars = 0;
  r.ShowCheckDigit = 1;
  r.ShowText = 1;
  r.ExtraOption1 = 0;
  r.ExtraOption2 = 1;
  r.Aspect = 12;
  r.Alignment = 2;
  r.Color1 = 15;
  r.Color2 = 3;
  r.Content = QStringLiteral("123456");
  r.FormatText = QStringLiteral("000");
  r.Variant = 1;
  const ObjectRecord before = r;

  logic->Exec(QStringLiteral("edit_field"), 0);
  const pv::BarcodeSettingsRecord& seen = pickers.barcodeSeen;
  EXPECT_EQ(seen.ShowMargins, 1);
  EXPECT_EQ(seen.BearerBars, 0);
  EXPECT_EQ(seen.ShowCheckDigit, 1);
  EXPECT_EQ(seen.ShowText, 1);
  EXPECT_EQ(seen.ExtraOption1, 0);
  EXPECT_EQ(seen.ExtraOption2, 1);
  EXPECT_EQ(seen.FormatIndex, 12);
  EXPECT_EQ(seen.Orientation, 2);
  EXPECT_EQ(seen.Reduction, 15);
  EXPECT_EQ(seen.Border, 3);
  EXPECT_EQ(seen.FixedText, QStringLiteral("123456"));
  EXPECT_EQ(seen.FieldFormatText, QStringLiteral("000"));
  EXPECT_EQ(seen.ContentSource, 1);
  EXPECT_EQ(Rec(bar), before);  // cancelled

  pv::BarcodeSettingsRecord confirmed;
  confirmed.Orientation = 3;
  confirmed.FormatIndex = 20;
  confirmed.ShowText = 0;
  confirmed.ShowCheckDigit = 0;
  confirmed.ShowMargins = 0;
  confirmed.BearerBars = 1;
  confirmed.ExtraOption1 = 1;
  confirmed.ExtraOption2 = 0;
  confirmed.Reduction = -5;
  confirmed.Border = 8;
  confirmed.ContentSource = 0;
  confirmed.FixedText = QStringLiteral("ABC");
  confirmed.FieldFormatText = QStringLiteral("f");
  pickers.barcodeConfirm = confirmed;
  logic->Exec(QStringLiteral("edit_field"), 0);
  const ObjectRecord& after = Rec(bar);
  EXPECT_EQ(after.Alignment, 3);
  EXPECT_EQ(after.Aspect, 20);
  EXPECT_EQ(after.ShowText, 0);
  EXPECT_EQ(after.ShowCheckDigit, 0);
  EXPECT_EQ(after.ShowMargins, 0);
  EXPECT_EQ(after.BearerBars, 1);
  EXPECT_EQ(after.ExtraOption1, 1);
  EXPECT_EQ(after.ExtraOption2, 0);
  EXPECT_EQ(after.Color1, -5);
  EXPECT_EQ(after.Color2, 8);
  EXPECT_EQ(after.Variant, 0);
  EXPECT_EQ(after.Content, QStringLiteral("ABC"));
  EXPECT_EQ(after.FormatText, QStringLiteral("f"));
  EXPECT_EQ(after.LineColor, before.LineColor);
}

TEST_F(ExecTest, BarcodeLongsBeyondSixteenBitsAreHeldAtTheEnds) {
  const std::int32_t bar = Put(300, true);
  Rec(bar).Aspect = 70000;
  Rec(bar).Color1 = -100000;
  Rec(bar).Color2 = 32768;
  logic->Exec(QStringLiteral("edit_field"), 0);
  EXPECT_EQ(pickers.barcodeSeen.FormatIndex, 32767);
  EXPECT_EQ(pickers.barcodeSeen.Reduction, -32768);
  EXPECT_EQ(pickers.barcodeSeen.Border, 32767);
  // A cancel leaves the record's own values.
  EXPECT_EQ(Rec(bar).Aspect, 70000);
}

// ---- Series copies -----------------------------------------------------------------

TEST_F(ExecTest, SeriesCopiesOnlyWhenTheDialogConfirms) {
  Put(105, true);
  logic->Exec(QStringLiteral("edit_array"), 0);
  EXPECT_EQ(pickers.calls, QStringList{QStringLiteral("dlgArray")});
  EXPECT_EQ(pv::ObjCount, 1);

  pickers.arrayAnswer = {-1, 3, 2, 25.0f, 12.0f};
  logic->Exec(QStringLiteral("edit_array"), 0);
  EXPECT_EQ(pv::ObjCount, 6);
  EXPECT_FLOAT_EQ(pv::Objects[6].CenterX, pv::Objects[1].CenterX + 50);
  EXPECT_FLOAT_EQ(pv::Objects[6].CenterY, pv::Objects[1].CenterY + 12);
}

// ---- ResizeImage ---------------------------------------------------------------------

TEST_F(ExecTest, ResizeImageTakesThePicturesProportion) {
  const std::int32_t image = Put(102, true);
  Rec(image).Variant = 3;
  Rec(image).Content = QStringLiteral(" emf");
  Rec(image).Height = 20;
  Rec(image).Width = 7;
  Rec(image).CenterX = 60;
  services.aspect = 0.5;  // a 600 x 300 frame
  recorder->calls.clear();
  logic->Exec(QStringLiteral("edit_resize"), 0);
  EXPECT_FLOAT_EQ(Rec(image).Width, 40);
  EXPECT_FLOAT_EQ(Rec(image).Height, 20);
  EXPECT_FLOAT_EQ(Rec(image).CenterX, 60);
  EXPECT_EQ(services.aspectPaths, QStringList{pv::TempImageFile(QStringLiteral("3.emf"))});
  EXPECT_EQ(recorder->actions(), QStringList{QStringLiteral("Refresh(1)")});

  services.aspect = 1.0;  // a bitmap
  logic->ResizeImage();
  EXPECT_FLOAT_EQ(Rec(image).Width, 20);

  // No proportion: the width stays finite and unchanged.
  for (double bad : {0.0, -1.0, std::nan("")}) {
    services.aspect = bad;
    logic->ResizeImage();
    EXPECT_FLOAT_EQ(Rec(image).Width, 20);
  }
}

TEST_F(ExecTest, ResizeImageWantsOneSelectedImage) {
  const std::int32_t image = Put(102, true);
  Rec(image).Width = 7;
  Rec(image).Height = 20;
  services.aspect = 0.5;
  const std::int32_t rect = Put(105, true);
  recorder->calls.clear();
  logic->ResizeImage();  // two selected
  Rec(image).IsSelected = 0;
  Rec(rect).Height = 20;
  logic->ResizeImage();  // one, not an image
  EXPECT_FLOAT_EQ(Rec(image).Width, 7);
  EXPECT_FLOAT_EQ(Rec(rect).Width, 20);
  EXPECT_TRUE(recorder->actions().isEmpty());
  EXPECT_TRUE(services.aspectPaths.isEmpty());
}

// The default service asks Pictor2 for the frame of an enhanced metafile.
TEST_F(ExecTest, ResizeImageReadsAMetafileFrame) {
  pv::EditorServices program;  // the picture library's own aspect
  pv::SetEditorServices(&program);
  // An EMR_HEADER (frame 0,0-600,300) and an EMR_EOF.
  QByteArray emf;
  const auto u32 = [&](std::uint32_t v) {
    for (int i = 0; i < 4; ++i) emf.append(static_cast<char>((v >> (8 * i)) & 0xFF));
  };
  u32(1);
  u32(108);  // type, size
  u32(0);
  u32(0);
  u32(60);
  u32(30);  // bounds
  u32(0);
  u32(0);
  u32(600);
  u32(300);  // frame, 0.01 mm
  u32(0x464D4520);
  u32(0x10000);  // " EMF", version
  u32(108 + 20);
  u32(2);
  u32(1);
  u32(0);  // bytes, records, handles + reserved
  u32(0);
  u32(0);  // description offset, palette
  u32(1024);
  u32(768);
  u32(320);
  u32(240);  // device, millimetres
  u32(0);
  u32(0);
  u32(0);  // pixel format, OpenGL
  u32(320000);
  u32(240000);  // micrometres
  u32(14);
  u32(20);
  u32(0);
  u32(0);
  u32(20);  // EMR_EOF
  const std::int32_t image = Put(102, true);
  Rec(image).Variant = 1;
  Rec(image).Content = QStringLiteral("emf");
  Rec(image).Height = 20;
  QFile f(pv::ImageTempPath(Rec(image)));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(emf);
  f.close();
  logic->ResizeImage();
  EXPECT_FLOAT_EQ(Rec(image).Width, 40);
}

// ---- SetShadow -------------------------------------------------------------------

TEST_F(ExecTest, ShadowReachesSelectedShapesOnly) {
  const std::vector<std::int16_t> shapes = {105, 106, 107, 108, 200, 213};
  const std::vector<std::int16_t> others = {100, 101, 102, 104, 109, 300};
  std::vector<std::int32_t> shapeKeys, otherKeys;
  for (std::int16_t k : shapes) shapeKeys.push_back(Put(k, true));
  for (std::int16_t k : others) otherKeys.push_back(Put(k, true));
  const std::int32_t unselected = Put(105, false);
  for (int i = 1; i <= pv::ObjCount; ++i) pv::Objects[i].Variant = 9;

  struct Case {
    int index;
    std::int16_t mode;
  };
  for (const Case c : std::vector<Case>{{0, 1}, {1, 2}, {2, 3}, {3, 4}, {5, 5}, {6, 6}, {7, 7}, {8, 8}, {10, 0}}) {
    SCOPED_TRACE(c.index);
    logic->Exec(QStringLiteral("mnu_shadow"), c.index);
    for (std::int32_t k : shapeKeys) EXPECT_EQ(Rec(k).Variant, c.mode);
    for (std::int32_t k : otherKeys) EXPECT_EQ(Rec(k).Variant, 9);
    EXPECT_EQ(Rec(unselected).Variant, 9);
  }
}

// ---- Set-up forwarded by the view ------------------------------------------------

TEST_F(ExecTest, SetParameterPushesTheSettingsAndTheLabelSize) {
  pv::Header.LabelWidth = 100;
  pv::Header.LabelHeight = 50;
  recorder->calls.clear();
  logic->SetParameter();
  const QStringList expected = {
      QStringLiteral("SetGrid(%1,%2,0)").arg(services.GridX()).arg(services.GridY()),
      QStringLiteral("SetShowRule(%1)").arg(services.ShowRule() ? 1 : 0),
      QStringLiteral("SetShowGrid(%1)").arg(services.ShowGrid() ? 1 : 0),
      QStringLiteral("SetSnap(%1)").arg(services.Snap() ? 1 : 0),
      QStringLiteral("SetShowPage(0)"),
      QStringLiteral("SetWorkArea(300,300,0)"),
      QStringLiteral("SetPage(100,50,0)"),
      QStringLiteral("Refresh(1)"),
  };
  EXPECT_EQ(recorder->actions(), expected);
  EXPECT_FALSE(canvas->ShowPage());
  EXPECT_DOUBLE_EQ(canvas->State().PageWidth, 100);
  EXPECT_DOUBLE_EQ(canvas->State().WorkAreaWidth, 300);
}

TEST_F(ExecTest, SavedDocTakesOneSnapshotThroughTheCanvas) {
  const std::int16_t undo = pv::UndoCount;
  recorder->calls.clear();
  logic->SavedDoc();
  EXPECT_EQ(recorder->actions(), QStringList{QStringLiteral("SavedDoc")});
  EXPECT_EQ(pv::UndoCount, undo + 1);
}

}  // namespace
}  // namespace pvtest
