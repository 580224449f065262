// The calls that label object drawing makes into Scriva2 and Lineo2, on the
// screen path and on the print and preview path.
#include "fakes.h"

#include "platform/stringtable.h"

using namespace pvtest;

namespace {

class LabelObjects : public RenderTest {
 protected:
  pv::ImageSurface surface{400, 300};
  pv::DeviceContext* dc() { return surface.dc(); }
};

// ---- Text objects ------------------------------------------------------------

TEST_F(LabelObjects, TextOnScreenSetsFontThenColoursThenDraws) {
  pv::ObjectRecord& r = AddBox(pv::UserTypeTextBox, 0, 0, 10, 10);
  r.Content = "  Hello  ";
  r.FontName = " Times New Roman ";
  r.Bold = -1;
  r.Italic = 0;
  r.Underline = -1;
  r.StrikeOut = 0;
  r.Color1 = 0x0000FF;
  r.Color2 = 0x00FF00;
  r.Alignment = 22;
  r.Angle = 30;
  r.FillStyle = 1;
  DrawOnScreen(dc(), r, {100, 100, 200, 160});
  const QStringList expected{
      "ScrivaFontSize(50)",  // R(12 x 4.1667)
      "ScrivaSetBold(-1)",
      "ScrivaSetItalic(0)",
      "ScrivaSetUnderline(-1)",
      "ScrivaSetStrike(0)",
      "ScrivaFontName(Times New Roman)",
      "ScrivaSetForeColor(255)",
      "ScrivaSetBackColor(65280)",
      "ScrivaDraw(Hello|100,100,200,160|30|22)",
  };
  EXPECT_EQ(libs.calls, expected);
}

struct FillCase {
  std::int32_t fill;
  QStringList screen;   // calls after the colour setters, screen path (Opacity 40)
  QStringList printer;  // the same on the printer path
};

TEST_F(LabelObjects, FillStyleChoosesPlainTextureOrGradient) {
  const std::vector<FillCase> cases{
      {0, {"ScrivaDraw(T|0,0,50,20|0|20)"}, {"ScrivaDraw(T|0,0,50,20|0|20)"}},
      {26, {"ScrivaDraw(T|0,0,50,20|0|20)"}, {"ScrivaDraw(T|0,0,50,20|0|20)"}},
      {27, {"ScrivaDrawEx(T|0,0,50,20|0|20|0|1|40)"}, {"ScrivaDrawEx(T|0,0,50,20|0|20|0|1|40)"}},
      {139, {"ScrivaDrawEx(T|0,0,50,20|0|20|0|113|40)"}, {"ScrivaDrawEx(T|0,0,50,20|0|20|0|113|40)"}},
      {140,
       {"ScrivaSetFillParameter(0|1|0)", "ScrivaDrawEx(T|0,0,50,20|0|20|100|0|40)"},
       {"ScrivaSetFillParameter(0|1|0)", "ScrivaDrawEx(T|0,0,50,20|0|20|100|0|40)"}},
      {143,
       {"ScrivaSetFillParameter(0|1|0)", "ScrivaDrawEx(T|0,0,50,20|0|20|104|0|40)"},
       {"ScrivaSetFillParameter(0|1|0)", "ScrivaDrawEx(T|0,0,50,20|0|20|104|0|40)"}},
      {145,
       {"ScrivaSetFillParameter(0|1|0)", "ScrivaDrawEx(T|0,0,50,20|0|20|106|0|40)"},
       {"ScrivaSetFillParameter(0|1|0)", "ScrivaDrawEx(T|0,0,50,20|0|20|106|0|40)"}},
      {146,
       {"ScrivaSetFillParameter(0|0|0)", "ScrivaDrawEx(T|0,0,50,20|0|20|100|0|40)"},
       {"ScrivaSetFillParameter(0|0|0)", "ScrivaDrawEx(T|0,0,50,20|0|20|100|0|40)"}},
      {148,
       {"ScrivaSetFillParameter(0|0|0)", "ScrivaDrawEx(T|0,0,50,20|0|20|102|0|40)"},
       {"ScrivaSetFillParameter(0|0|0)", "ScrivaDrawEx(T|0,0,50,20|0|20|102|0|40)"}},
      {151,
       {"ScrivaSetFillParameter(0|0|0)", "ScrivaDrawEx(T|0,0,50,20|0|20|106|0|40)"},
       {"ScrivaSetFillParameter(0|0|0)", "ScrivaDrawEx(T|0,0,50,20|0|20|106|0|40)"}},
      {152, {"ScrivaDraw(T|0,0,50,20|0|20)"}, {"ScrivaDraw(T|0,0,50,20|0|20)"}},
  };
  for (const FillCase& c : cases) {
    SCOPED_TRACE(c.fill);
    pv::ResetDocumentState();
    pv::ObjectRecord& r = AddBox(pv::UserTypeTextBox, 0, 0, 10, 10);
    r.Content = "T";
    r.FillStyle = c.fill;
    r.Opacity = 40;
    libs.calls.clear();
    DrawOnScreen(dc(), r, {0, 0, 50, 20});
    EXPECT_EQ(libs.calls.mid(8), c.screen);
    libs.calls.clear();
    DrawForPrint(dc(), r, 0, 0, 50, 20, 0.0f, false);
    EXPECT_EQ(libs.calls.mid(8), c.printer);
  }
}

TEST_F(LabelObjects, TexturedTextInThePreviewUsesTheObjectsOpacity) {
  pv::ObjectRecord& r = AddBox(pv::UserTypeTextBox, 0, 0, 10, 10);
  r.Content = "T";
  r.FillStyle = 30;
  r.Opacity = 40;
  DrawForPrint(dc(), r, 0, 0, 50, 20, 0.0f, true);
  EXPECT_EQ(libs.calls.last(), "ScrivaDrawEx(T|0,0,50,20|0|20|0|4|40)");
}

TEST_F(LabelObjects, FontHeightFollowsTheScaleOfEachPath) {
  pv::ObjectRecord& r = AddBox(pv::UserTypeTextBox, 0, 0, 10, 10);
  r.Content = "T";
  r.FontSize = 12;
  hosts.printerDpi = 300;
  hosts.ocxFontRatio = 2.5f;
  DrawForPrint(dc(), r, 0, 0, 50, 20, 0.0f, false);
  EXPECT_EQ(libs.calls.first(), "ScrivaFontSize(50)");  // 12 x 300 / 72
  libs.calls.clear();
  DrawForPrint(dc(), r, 0, 0, 50, 20, 0.0f, true);
  EXPECT_EQ(libs.calls.first(), "ScrivaFontSize(30)");  // 12 x 2.5
  libs.calls.clear();
  r.FontSize = 5;
  hosts.fontRatio = 2.5f;  // 12.5: halves go to the even neighbour
  DrawOnScreen(dc(), r, {0, 0, 50, 20});
  EXPECT_EQ(libs.calls.first(), "ScrivaFontSize(12)");
}

TEST_F(LabelObjects, FieldShowsCaptionOrNameOnScreenAndTheMergeValueInPrint) {
  pv::ObjectRecord& field = AddBox(pv::UserTypeDatabaseField, 0, 0, 10, 10);
  field.Content = " KINTERNAL238547-01 ";
  field.FormatText = "000";
  pv::ObjectRecord& column = AddBox(pv::UserTypeDatabaseField, 0, 0, 10, 10);
  column.Content = "Surname";
  DrawOnScreen(dc(), field, {0, 0, 50, 20});
  DrawOnScreen(dc(), column, {0, 0, 50, 20});
  const QStringList screen = libs.named("ScrivaDraw");
  ASSERT_EQ(screen.size(), 2);
  EXPECT_EQ(screen[0], "ScrivaDraw(" + pv::LoadResString(32005) + "|0,0,50,20|0|20)");
  EXPECT_EQ(screen[1], "ScrivaDraw(Surname|0,0,50,20|0|20)");
  EXPECT_TRUE(hosts.fieldRequests.isEmpty());

  libs.calls.clear();
  DrawForPrint(dc(), field, 0, 0, 50, 20, 0.0f, false);
  EXPECT_EQ(hosts.fieldRequests, QStringList{" KINTERNAL238547-01 |000"});
  EXPECT_EQ(libs.named("ScrivaDraw"), QStringList{"ScrivaDraw(value of  KINTERNAL238547-01|0,0,50,20|0|20)"});
}

TEST_F(LabelObjects, LongTextIsCutTo1024CharactersAndTrimmed) {
  EXPECT_EQ(pv::WorkingText(QString(1100, 'x')).size(), 1024);
  EXPECT_EQ(pv::WorkingText(QString(1020, ' ') + "abcdefgh"), QByteArray("abcd"));
  EXPECT_EQ(pv::WorkingText(QStringLiteral("  città ")), QStringLiteral("città").toUtf8());
}

// ---- Shapes and shadows --------------------------------------------------------

TEST_F(LabelObjects, EachShapeKindCallsItsLineoFunction) {
  struct Case {
    std::int16_t kind;
    QString call;
  };
  const std::vector<Case> cases{
      {105, "LineoRectangle(10,20,110,80|15|3|255|65280|100)"},
      {106, "LineoEllipse(10,20,110,80|15|3|255|65280|100)"},
      {107, "LineoChamferRect(10,20,110,80|25|15|3|255|65280|100)"},
      {108, "LineoRoundedRect(10,20,110,80|25|15|3|255|65280|100)"},
      {200, "LineoShape(10,20,110,80|25|15|200|3|255|65280|100)"},
      {213, "LineoShape(10,20,110,80|25|15|213|3|255|65280|100)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    pv::ResetDocumentState();
    pv::ObjectRecord& r = AddBox(c.kind, 0, 0, 10, 10);
    r.LineStyle = 4;
    r.LineColor = 0x112233;
    r.FillStyle = 3;
    r.Color1 = 0x0000FF;
    r.Color2 = 0x00FF00;
    r.Aspect = 25;
    r.Angle = 15;
    libs.calls.clear();
    DrawOnScreen(dc(), r, {10, 20, 110, 80});
    EXPECT_EQ(libs.calls, (QStringList{"LineoPen(4|1122867)", c.call}));
    libs.calls.clear();
    DrawForPrint(dc(), r, 10, 20, 110, 80, 15.0f, false);
    EXPECT_EQ(libs.calls, (QStringList{"LineoPen(4|1122867)", c.call}));
  }
}

TEST_F(LabelObjects, ShapeOpacityIsBlendedOnScreenInPreviewAndInPrint) {
  pv::ObjectRecord& r = AddBox(pv::UserTypeRectangle, 0, 0, 10, 10);
  r.Opacity = 40;
  DrawOnScreen(dc(), r, {0, 0, 10, 10});
  EXPECT_TRUE(libs.calls.last().endsWith("|40)")) << libs.calls.last().toStdString();
  DrawForPrint(dc(), r, 0, 0, 10, 10, 0.0f, true);
  EXPECT_TRUE(libs.calls.last().endsWith("|40)")) << libs.calls.last().toStdString();
  DrawForPrint(dc(), r, 0, 0, 10, 10, 0.0f, false);
  EXPECT_TRUE(libs.calls.last().endsWith("|40)")) << libs.calls.last().toStdString();
}

TEST_F(LabelObjects, ShadowOnScreenThenBodyAtFullOpacity) {
  pv::ObjectRecord& r = AddBox(pv::UserTypeRectangle, 0, 0, 10, 10);
  r.Variant = 1;
  r.Opacity = 40;
  r.LineStyle = 2;
  r.LineColor = 0;
  r.FillStyle = 1;
  r.Color1 = 255;
  r.Color2 = 0;
  DrawOnScreen(dc(), r, {100, 100, 200, 160});
  const QStringList expected{
      "LineoPen(1|0)",
      "LineoRectangle(104,100,200,156|0|1|6579300|3289650|100)",
      "LineoPen(2|0)",
      "LineoRectangle(100,104,196,160|0|1|255|0|100)",
  };
  EXPECT_EQ(libs.calls, expected);
}

TEST_F(LabelObjects, ShadowOffsetsByModeAndPath) {
  pv::ObjectRecord& r = AddBox(pv::UserTypeEllipse, 0, 0, 10, 10);
  r.FillStyle = 1;
  r.Variant = 5;  // top right, half offset
  DrawOnScreen(dc(), r, {100, 100, 200, 160});
  EXPECT_EQ(libs.calls[1], "LineoEllipse(102,100,200,158|0|1|6579300|3289650|100)");
  EXPECT_EQ(libs.calls[3].left(32), "LineoEllipse(100,102,198,160|0|1");
  libs.calls.clear();
  r.Variant = 1;
  DrawForPrint(dc(), r, 100, 100, 200, 160, 0.0f, false);  // size unit 8
  EXPECT_EQ(libs.calls[1], "LineoEllipse(132,100,200,128|0|1|6579300|3289650|100)");
  EXPECT_EQ(libs.calls[3].left(32), "LineoEllipse(100,132,168,160|0|1");
  libs.calls.clear();
  DrawForPrint(dc(), r, 100, 100, 200, 160, 0.0f, true);  // size unit 1
  EXPECT_EQ(libs.calls[1], "LineoEllipse(104,100,200,156|0|1|6579300|3289650|100)");
}

TEST_F(LabelObjects, TransparentShapeHasNoShadowOnScreenButInPreviewAndPrint) {
  pv::ObjectRecord& r = AddBox(pv::UserTypeRoundedRect, 0, 0, 10, 10);
  r.FillStyle = 0;
  r.Variant = 3;
  r.Opacity = 60;
  DrawOnScreen(dc(), r, {100, 100, 200, 160});
  EXPECT_EQ(libs.calls.size(), 2);
  EXPECT_EQ(libs.calls[1], "LineoRoundedRect(100,100,200,160|0|0|0|16777215|3289650|60)");
  libs.calls.clear();
  DrawForPrint(dc(), r, 100, 100, 200, 160, 0.0f, true);
  ASSERT_EQ(libs.calls.size(), 4);
  EXPECT_EQ(libs.calls[1], "LineoRoundedRect(104,104,200,160|0|0|1|6579300|3289650|100)");
  EXPECT_EQ(libs.calls[3], "LineoRoundedRect(100,100,196,156|0|0|0|16777215|3289650|100)");
}

struct ShadowCase {
  std::int16_t mode;
  pv::Rect shadow;
  pv::Rect body;
};

TEST(AdjustShadowRect, ModesMoveTheEdgesTowardsTheirCorner) {
  const pv::Rect box{100, 100, 200, 160};
  const std::vector<ShadowCase> cases{
      {1, {104, 100, 200, 156}, {100, 104, 196, 160}},
      {2, {100, 100, 196, 156}, {104, 104, 200, 160}},
      {3, {104, 104, 200, 160}, {100, 100, 196, 156}},
      {4, {100, 104, 196, 160}, {104, 100, 200, 156}},
      {5, {102, 100, 200, 158}, {100, 102, 198, 160}},
      {8, {100, 102, 198, 160}, {102, 100, 200, 158}},
      {0, box, box},
      {9, box, box},
      {-1, box, box},
  };
  for (const ShadowCase& c : cases) {
    SCOPED_TRACE(c.mode);
    pv::Rect r = box;
    pv::AdjustShadowRect(r, c.mode, true, 1);
    EXPECT_EQ(R(&r), R(&c.shadow));
    pv::AdjustShadowRect(r, c.mode, false, 1);
    EXPECT_EQ(R(&r), R(&c.body));
  }
  pv::Rect r = box;
  pv::AdjustShadowRect(r, 7, true, 8);  // bottom right, half offset: 2 x 8
  EXPECT_EQ(R(&r), "116,116,200,160");
}

// ---- Lines, art text, other kinds ------------------------------------------------

TEST_F(LabelObjects, LineOnScreenUsesTheTurnedOutlinePoints) {
  pv::ObjectRecord& r = AddLine(0, 0, 10, 0);
  r.LineStyle = 3;
  r.LineColor = 255;
  r.Angle = 90;
  DrawOnScreen(dc(), r, {10, 50, 110, 50}, {60, 100}, {60, 0});
  EXPECT_EQ(libs.calls, (QStringList{"LineoPen(3|255)", "LineoLine(60,100|60,0|90)"}));
}

TEST_F(LabelObjects, LineOnThePrintPathIsTurnedAboutItsMidpoint) {
  pv::ObjectRecord& r = AddLine(0, 0, 10, 0);
  r.Angle = 90;
  DrawForPrint(dc(), r, 10, 50, 110, 50, 90.0f, false);
  // Counter-clockwise on the page: the first end goes below, the second above.
  EXPECT_EQ(libs.calls.last(), "LineoLine(60,100|60,0|90)");
  DrawForPrint(dc(), r, 10, 50, 110, 50, 0.0f, false);
  EXPECT_EQ(libs.calls.last(), "LineoLine(10,50|110,50|0)");
  DrawForPrint(dc(), r, 0, 0, 100, 0, 180.0f, true);
  EXPECT_EQ(libs.calls.last(), "LineoLine(100,0|0,0|180)");
}

TEST_F(LabelObjects, ArtTextOpacityIsZeroOnScreenAndTheObjectsInPreviewAndPrint) {
  pv::ObjectRecord& r = AddBox(pv::UserTypeArtText, 0, 0, 10, 10);
  r.Content = "  Arco ";
  r.FontName = " ARIAL ";
  r.Variant = 3;
  r.LineStyle = 1;
  r.LineColor = 7;
  r.FillStyle = 141;
  r.Color1 = 1;
  r.Color2 = 2;
  r.Opacity = 55;
  DrawOnScreen(dc(), r, {0, 0, 80, 40});
  EXPECT_EQ(libs.calls, (QStringList{"LineoPen(1|7)", "LineoArtTextDraw(Arco|ARIAL|0,0,80,40|0|3|141|1|2|0)"}));
  DrawForPrint(dc(), r, 0, 0, 80, 40, 0.0f, false);
  EXPECT_EQ(libs.calls.last(), "LineoArtTextDraw(Arco|ARIAL|0,0,80,40|0|3|141|1|2|55)");
  DrawForPrint(dc(), r, 0, 0, 80, 40, 0.0f, true);
  EXPECT_EQ(libs.calls.last(), "LineoArtTextDraw(Arco|ARIAL|0,0,80,40|0|3|141|1|2|55)");
  EXPECT_TRUE(libs.named("ScrivaFontSize").isEmpty());
}

TEST_F(LabelObjects, UnknownKindsAndKeysDrawNothing) {
  pv::ObjectRecord& r = AddBox(103, 0, 0, 10, 10);
  DrawOnScreen(dc(), r, {0, 0, 10, 10});
  DrawForPrint(dc(), r, 0, 0, 10, 10, 0.0f, false);
  pv::RenderOutline X{}, Y{};
  pv::DragEditor_DrawObject(dc(), X, Y, 0, 0, 10, 10, 0, 12345, pv::UserTypeRectangle, pv::DocBlock, captions);
  EXPECT_TRUE(libs.calls.isEmpty());
}

// ---- DrawLabelObjects ---------------------------------------------------------------

TEST_F(LabelObjects, LabelObjectsScaleIntoTheRectangleWithHalvesToEven) {
  // The label drawn is the one given: the open document holds another, which
  // stays undrawn, and the drawing leaves the canvas geometry to its caller.
  pv::Header.LabelWidth = 400;
  pv::PageOrgX = 70;
  AddBox(pv::UserTypeEllipse, 50, 25, 10, 10);
  pv::DocumentBlock block;
  pv::LabelHeader header;
  header.LabelWidth = 100;
  header.LabelHeight = 50;
  // 1 mm per pixel into (20, 30)-(120, 80), page origin (10, 5); the
  // geometry as committed (a box's centre and size in X1..Y2).
  pv::ObjectRecord& box = block.Objects[1];
  box = pv::test::BoxRecord(pv::UserTypeRectangle, 10 + 13, 5 + 7, 3, 3);  // edges 11.5 / 14.5, 5.5 / 8.5
  box.X1 = box.CenterX;
  box.Y1 = box.CenterY;
  box.X2 = box.Width;
  box.Y2 = box.Height;
  block.Objects[2] = pv::test::LineRecord(10 + 2.5f, 5 + 1.5f, 10 + 40, 5 + 20);
  block.Count = 2;
  const pv::LabelContent label{block, header, 10, 5};
  pv::DrawLabelObjects(dc(), pv::Rect{20, 30, 120, 80}, label, hosts, Surface(false));
  EXPECT_EQ(hosts.saveDataCalls, 0);
  EXPECT_TRUE(libs.named("LineoEllipse").isEmpty());
  const QStringList shapes = libs.named("LineoRectangle");
  ASSERT_EQ(shapes.size(), 1);
  EXPECT_TRUE(shapes[0].startsWith("LineoRectangle(32,36,34,38|")) << shapes[0].toStdString();
  EXPECT_EQ(libs.named("LineoLine"), QStringList{"LineoLine(22,32|60,50|0)"});

  // Twice the resolution: 0.5 mm per pixel.
  libs.calls.clear();
  pv::DrawLabelObjects(dc(), pv::Rect{0, 0, 200, 100}, label, hosts, Surface(false));
  EXPECT_TRUE(libs.named("LineoRectangle")[0].startsWith("LineoRectangle(23,11,29,17|"));
}

TEST_F(LabelObjects, HiddenObjectsAreDrawnInPrintButNotOnScreen) {
  pv::Header.LabelWidth = 100;
  pv::Header.LabelHeight = 50;
  pv::ObjectRecord& r = AddBox(pv::UserTypeRectangle, 50, 25, 10, 10);
  r.IsHidden = -1;
  DrawOnScreen(dc(), r, {0, 0, 10, 10});
  EXPECT_TRUE(libs.calls.isEmpty());
  pv::Rect rect{0, 0, 100, 50};
  DrawLabel(dc(), rect, true);
  EXPECT_EQ(libs.named("LineoRectangle").size(), 1);
}

TEST_F(LabelObjects, EmptyLabelRectangleDrawsNothing) {
  pv::Header.LabelWidth = 100;
  pv::Header.LabelHeight = 50;
  AddBox(pv::UserTypeRectangle, 50, 25, 10, 10);
  for (pv::Rect rect : {pv::Rect{10, 10, 10, 40}, pv::Rect{10, 10, 40, 10}, pv::Rect{40, 40, 10, 10}}) {
    DrawLabel(dc(), rect, false);
  }
  EXPECT_TRUE(libs.calls.isEmpty());
  pv::Header.LabelWidth = 0;  // a label of no size
  pv::Rect rect{0, 0, 100, 50};
  DrawLabel(dc(), rect, false);
  EXPECT_TRUE(libs.calls.isEmpty());
}

TEST_F(LabelObjects, ObjectsAreDrawnInTableOrder) {
  pv::Header.LabelWidth = 100;
  pv::Header.LabelHeight = 50;
  AddBox(pv::UserTypeEllipse, 50, 25, 10, 10);
  AddBox(pv::UserTypeRectangle, 50, 25, 10, 10);
  AddBox(pv::UserTypeChamferedRect, 50, 25, 10, 10);
  pv::Rect rect{0, 0, 100, 50};
  DrawLabel(dc(), rect, false);
  QStringList kinds;
  for (const QString& c : libs.calls)
    if (!c.startsWith("LineoPen")) kinds << c.section('(', 0, 0);
  EXPECT_EQ(kinds, (QStringList{"LineoEllipse", "LineoRectangle", "LineoChamferRect"}));
}

}  // namespace
