// The insert palette: the tool each button arms, the pickers before it and
// their cancels, the picture choice, backgrounds and borders.
#include "editor_fixture.h"
#include "tests/support/records.h"

namespace pvtest {
namespace {

class PaletteTest : public EditorTest {};

TEST_F(PaletteTest, ButtonsWithoutAPickerArmTheirTool) {
  struct Case {
    int index;
    std::int16_t tool, kind;
  };
  const std::vector<Case> cases = {
      {1, 200, 101}, {4, 201, 104}, {5, 200, 105},  {6, 200, 106},
      {7, 200, 107}, {8, 200, 108}, {11, 200, 109}, {12, 200, 300},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.index);
    recorder->calls.clear();
    logic->Image2_Click(c.index);
    EXPECT_EQ(recorder->actions(), QStringList{QStringLiteral("SetTool(%1,%2)").arg(c.tool).arg(c.kind)});
    EXPECT_EQ(canvas->State().CurrentTool, c.tool);
    EXPECT_EQ(canvas->State().CurrentUserType, c.kind);
  }
  for (int index : {-1, 14, 99}) {
    recorder->calls.clear();
    logic->Image2_Click(index);
    EXPECT_TRUE(recorder->actions().isEmpty());
  }
  EXPECT_TRUE(pickers.calls.isEmpty());
}

TEST_F(PaletteTest, ADrawingToolClearsTheSelection) {
  const std::int32_t rect = Put(105, true);
  logic->Image2_Click(5);
  EXPECT_EQ(Rec(rect).IsSelected, 0);
}

TEST_F(PaletteTest, FieldButtonTakesThePickersField) {
  logic->Image2_Click(1);  // some tool armed before
  recorder->calls.clear();
  logic->Image2_Click(0);  // cancelled
  EXPECT_TRUE(pickers.lastPresetNull);
  EXPECT_TRUE(recorder->actions().isEmpty());
  EXPECT_EQ(canvas->State().CurrentUserType, 101);
  EXPECT_TRUE(logic->InsertFieldName.isEmpty());

  pickers.fieldAnswers.push_back({QStringLiteral("KINTERNAL238547-01"), QStringLiteral("000")});
  logic->Image2_Click(0);
  EXPECT_EQ(recorder->actions(), QStringList{QStringLiteral("SetTool(200,100)")});
  EXPECT_EQ(logic->InsertFieldName, QStringLiteral("KINTERNAL238547-01"));
  // The format chosen in the picker goes onto the new field.
  EXPECT_EQ(logic->InsertFormatText, QStringLiteral("000"));
  const std::int32_t key = Draw(100);
  EXPECT_EQ(Rec(key).Content, QStringLiteral("KINTERNAL238547-01"));
  EXPECT_EQ(Rec(key).FormatText, QStringLiteral("000"));

  // A field picked without a format gets none, whatever the one before had.
  pickers.fieldAnswers.push_back({QStringLiteral("CITTA"), QString()});
  logic->Image2_Click(0);
  canvas->DeselectAll();
  const std::int32_t plain = Draw(100, 50, 80);
  EXPECT_EQ(Rec(plain).Content, QStringLiteral("CITTA"));
  EXPECT_TRUE(Rec(plain).FormatText.isEmpty());
}

TEST_F(PaletteTest, PictureButtonAsksForAFile) {
  logic->InsertImagePath = QStringLiteral("/earlier/choice.bmp");
  logic->Image2_Click(2);  // cancelled
  ASSERT_EQ(fileDialog.calls.size(), 1u);
  EXPECT_EQ(fileDialog.calls[0].defaultExt, QStringLiteral("bmp"));
  EXPECT_EQ(fileDialog.calls[0].filters, pv::FileDialogFilters(pv::LoadResString(15047)));
  EXPECT_EQ(pv::LoadResString(15047),
            QStringLiteral("Windows bitmap (*.bmp)|*.bmp|Windows Metafile (*.wmf)|*.wmf|JPEG (*.jpg)|*.jpg|Tutti i "
                           "files (*.*)|*.*"));
  EXPECT_EQ(fileDialog.calls[0].title, QStringLiteral("Importa immagine"));
  EXPECT_TRUE(fileDialog.calls[0].fileName.isEmpty());
  EXPECT_EQ(fileDialog.calls[0].kind, pv::FileKind::Pictures);
  EXPECT_TRUE(logic->InsertImagePath.isEmpty());
  EXPECT_NE(canvas->State().CurrentTool, pv::ToolDrawBox);

  const QString source = SourceFile(QStringLiteral("sky.jpg"), "jpeg");
  fileDialog.answer = source;
  recorder->calls.clear();
  logic->Image2_Click(2);
  EXPECT_EQ(logic->InsertImagePath, source);
  EXPECT_EQ(recorder->actions(), QStringList{QStringLiteral("SetTool(200,102)")});
  const std::int32_t key = Draw(102);
  EXPECT_EQ(Rec(key).Content, QStringLiteral("jpg"));
  EXPECT_EQ(ReadAll(pv::ImageTempPath(Rec(key))), QByteArray("jpeg"));
}

TEST_F(PaletteTest, ClipArtButtonWantsAChoiceAndAFreeImageNumber) {
  logic->Image2_Click(3);  // cancelled
  EXPECT_TRUE(recorder->actions().isEmpty());

  pickers.clipAnswer = SourceFile(QStringLiteral("cat.emf"), "emf bytes");
  logic->Image2_Click(3);
  EXPECT_EQ(logic->InsertImageNumber, 1);
  EXPECT_EQ(logic->InsertImagePath, pickers.clipAnswer);
  EXPECT_EQ(recorder->actions(), QStringList{QStringLiteral("SetTool(200,102)")});

  // Every image number in use: no tool.
  logic->Image2_Click(1);
  pv::ObjCount = 0;
  for (int n = 1; n <= 200; ++n) {
    pv::ObjectRecord r = pv::test::BoxRecord(pv::UserTypeImage, 0, 0, 0, 0);
    r.Variant = static_cast<std::int16_t>(n);
    pv::test::AppendRecord(r);
  }
  recorder->calls.clear();
  logic->InsertImagePath = QStringLiteral("before");
  logic->Image2_Click(3);
  EXPECT_EQ(logic->InsertImageNumber, 0);
  EXPECT_EQ(logic->InsertImagePath, QStringLiteral("before"));
  EXPECT_TRUE(recorder->actions().isEmpty());
}

TEST_F(PaletteTest, ShapeButtonArmsTheChosenShape) {
  logic->Image2_Click(9);  // cancelled (-1)
  EXPECT_TRUE(recorder->actions().isEmpty());
  for (std::int16_t answer : {0, 7, 13}) {
    recorder->calls.clear();
    pickers.shapeAnswer = answer;
    logic->Image2_Click(9);
    EXPECT_EQ(recorder->actions(), QStringList{QStringLiteral("SetTool(200,%1)").arg(200 + answer)});
  }
  // An answer outside the shapes arms nothing.
  for (std::int16_t answer : {14, -2}) {
    recorder->calls.clear();
    pickers.shapeAnswer = answer;
    logic->Image2_Click(9);
    EXPECT_TRUE(recorder->actions().isEmpty());
  }
}

TEST_F(PaletteTest, BackgroundStoresTheJpgTwinOfTheChosenBitmap) {
  const QString blank = pv::FixedName(QString());
  pv::BackgroundName = pv::FixedName(QStringLiteral("/g/background/old.jpg"));
  pv::BorderName = pv::FixedName(QStringLiteral("/g/border/b.emf"));
  const QString oldBackground = pv::BackgroundName;

  struct Case {
    QString answer;
    QString expected;
  };
  const std::vector<Case> cases = {
      {QString(), oldBackground},  // cancelled
      {QStringLiteral("/g/background/sky.bmp"), pv::FixedName(QStringLiteral("/g/background/sky.jpg"))},
      {QStringLiteral("NO_IMAGE_4532756"), blank},
      {QStringLiteral("ab"), pv::FixedName(QStringLiteral(".jpg"))},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer.toStdString());
    recorder->calls.clear();
    pickers.backgroundAnswer = c.answer;
    logic->Image2_Click(10);
    EXPECT_FALSE(pickers.lastBackgroundMode);
    EXPECT_EQ(pv::BackgroundName, c.expected);
    EXPECT_EQ(pv::BackgroundName.size(), 128);
    EXPECT_EQ(pv::BorderName, pv::FixedName(QStringLiteral("/g/border/b.emf")));
    EXPECT_EQ(recorder->actions(), QStringList{QStringLiteral("Refresh(0)")});
  }
}

TEST_F(PaletteTest, BorderStoresTheChosenPathWhole) {
  pv::BackgroundName = pv::FixedName(QStringLiteral("/g/background/sky.jpg"));
  const std::int16_t undo = pv::UndoCount;
  pickers.backgroundAnswer = QStringLiteral("/g/border/frame 1.emf");
  logic->Image2_Click(13);
  EXPECT_TRUE(pickers.lastBackgroundMode);
  EXPECT_EQ(pv::BorderName, pv::FixedName(QStringLiteral("/g/border/frame 1.emf")));

  pickers.backgroundAnswer = QString();
  logic->Image2_Click(13);
  EXPECT_EQ(pv::BorderName, pv::FixedName(QStringLiteral("/g/border/frame 1.emf")));

  pickers.backgroundAnswer = QStringLiteral("NO_IMAGE_4532756");
  logic->Image2_Click(13);
  EXPECT_EQ(pv::BorderName, pv::FixedName(QString()));
  EXPECT_EQ(pv::BackgroundName, pv::FixedName(QStringLiteral("/g/background/sky.jpg")));
  EXPECT_EQ(pv::UndoCount, undo);
  EXPECT_EQ(pickers.calls.count(QStringLiteral("dlgBackGround(1)")), 3);
}

TEST_F(PaletteTest, APathLongerThanTheStoredNameIsRefusedAndTheLabelKeepsItsPictures) {
  const QString background = pv::FixedName(QStringLiteral("/g/background/sky.jpg"));
  const QString border = pv::FixedName(QStringLiteral("/g/border/b.emf"));
  const QString folder = QStringLiteral("/g/") + QString(110, QLatin1Char('d')) + QLatin1Char('/');
  struct Case {
    int button;
    QString answer;
    bool refused;
  };
  // The background's stored name is its .jpg twin: that is the length that counts.
  const std::vector<Case> cases = {
      {10, folder + QStringLiteral("abcdefghij.bmp"), false},  // 128 with .jpg
      {10, folder + QStringLiteral("abcdefghijk.bmp"), true},  // 129
      {13, folder + QStringLiteral("abcdefghij.emf"), false},
      {13, folder + QStringLiteral("abcdefghijk.emf"), true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer.toStdString());
    pv::BackgroundName = background;
    pv::BorderName = border;
    boxes.clear();
    pickers.backgroundAnswer = c.answer;
    logic->Image2_Click(c.button);
    QString& stored = c.button == 13 ? pv::BorderName : pv::BackgroundName;
    if (c.refused) {
      ASSERT_EQ(boxes.size(), 1u);
      EXPECT_TRUE(boxes[0].text.contains(c.button == 13 ? c.answer : c.answer.left(c.answer.size() - 3)));
      EXPECT_EQ(pv::BackgroundName, background);
      EXPECT_EQ(pv::BorderName, border);
    } else {
      EXPECT_TRUE(boxes.empty());
      EXPECT_EQ(stored.trimmed().size(), 128);
      EXPECT_EQ(stored.size(), 128);
    }
  }
}

TEST(DefaultPickersTest, EveryDialogAnswersCancelled) {
  pv::EditorPickers p;
  EXPECT_TRUE(p.ShowFieldPicker(nullptr).FieldName.isEmpty());
  EXPECT_TRUE(p.ShowClipArt().isEmpty());
  EXPECT_EQ(p.ShowShapePicker(), -1);
  EXPECT_TRUE(p.ShowBackGround(true).isEmpty());
  EXPECT_EQ(p.ShowArray().RetCode, 0);
  EXPECT_EQ(p.ShowCodeBar(), 0);
  QString key = QStringLiteral(" KINTERNAL238547-03  ");
  EXPECT_EQ(p.GetPredefinedFieldCaption(key), QStringLiteral("Numero random"));
  EXPECT_EQ(key, QStringLiteral("KINTERNAL238547-03"));
  EXPECT_EQ(p.GetPredefinedFieldCode(key), 3);
  QString column = QStringLiteral(" NOME ");
  EXPECT_EQ(p.GetPredefinedFieldCode(column), 0);
  EXPECT_EQ(column, QStringLiteral("NOME"));
}

}  // namespace
}  // namespace pvtest
