// The view's set-up: captions and tooltips, the layout, the public set-up
// members, the canvas's events and their handlers, and the repaint drawing
// every object through the object drawing.
#include "view_fixture.h"

#include "render/hosts.h"
#include "tests/support/pixels.h"

#include <QCheckBox>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

using namespace pv;
using viewtest::RecordingDrawing;
using viewtest::ViewTest;

TEST_F(ViewTest, CaptionsAndTooltipsComeFromTheStringTable) {
  EXPECT_EQ(view->PanelHeading(0)->text(), "Proprietà oggetto :");
  EXPECT_EQ(view->PanelHeading(1)->text(), "Visualizza finestre proprietà :");
  EXPECT_EQ(view->lblApply()->text(), "Applica impostazioni");
  EXPECT_EQ(view->Heading()->text(), "Modifica etichetta");
  const std::pair<int, const char*> switches[] = {{0, "Formato e stile di testo"},
                                                  {1, "Contenuto testo"},
                                                  {3, "Bordi e linee"},
                                                  {4, "Riempimento"},
                                                  {5, "Testo grafico"}};
  for (const auto& [index, text] : switches) {
    EXPECT_EQ(view->Label3(index)->text(), QString::fromUtf8(text));
    EXPECT_EQ(view->Label3(index)->toolTip(), "Visualizza la finestra pop-up");
    EXPECT_EQ(view->ShowPop(index)->toolTip(), "Visualizza la finestra pop-up");
  }
  EXPECT_EQ(view->lblApply()->toolTip(), "Applica le modifiche");
  EXPECT_EQ(view->imgApply()->toolTip(), "Applica le modifiche");
  for (int i = 0; i < 5; ++i) EXPECT_EQ(view->Text1(i)->toolTip(), "Valore coordinata");
  const int tips[] = {13520, 13521, 13522, 13523, 13524, 13525, 13526, 13527, 13528, 13529, 13530, 13531, 13535, 13536};
  for (int i = 0; i < 14; ++i) {
    EXPECT_EQ(view->Image2(i)->toolTip(), LoadResString(tips[i])) << i;
    EXPECT_FALSE(view->Image2(i)->icon().isNull()) << i;
  }
  EXPECT_EQ(view->Image2(12)->toolTip(), "Inserisce un codice a barre");
}

TEST_F(ViewTest, LayoutPanelContainerSeparatorAndCanvas) {
  view->show();
  view->resize(800, 600);
  QApplication::processEvents();
  // The panel keeps its design width, or grows where the font needs it for
  // the coordinate boxes; the container begins one pixel after it.
  const int p = view->PanelWidth();
  EXPECT_GE(p, 180);
  EXPECT_EQ(view->LeftPanel()->geometry(), QRect(0, 0, p, 600));
  EXPECT_EQ(view->Container()->geometry(), QRect(p + 1, 0, 800 - p - 1, 600));
  EXPECT_EQ(view->SeparatorLine()->geometry(), QRect(0, 19, 800 - p - 1, 1));
  EXPECT_EQ(view->DragEditorControl()->geometry(), QRect(0, 20, 800 - p - 1, 580));

  view->resize(1024, 700);
  QApplication::processEvents();
  EXPECT_EQ(view->Container()->geometry(), QRect(p + 1, 0, 1024 - p - 1, 700));
  EXPECT_EQ(view->DragEditorControl()->geometry(), QRect(0, 20, 1024 - p - 1, 680));

  // Smaller than the panel: nothing negative, nothing stops.
  view->resize(100, 10);
  QApplication::processEvents();
  EXPECT_EQ(view->Container()->width(), 0);
  EXPECT_EQ(view->DragEditorControl()->height(), 0);
  EXPECT_EQ(view->LeftPanel()->geometry(), QRect(0, 0, p, 10));
}

TEST_F(ViewTest, SetParameterPushesSettingsAndLabelSizeAndRepaintsOnce) {
  Header.LabelWidth = 100;
  Header.LabelHeight = 50;
  Settings settings;
  settings.SettingGridX = 2.5f;
  settings.SettingGridY = 4;
  settings.SettingShowRule = 0;
  settings.SettingShowGrid = 1;
  settings.SettingSnap = 0;
  ProgramSettings() = settings;
  RecordingDrawing drawing;
  SetEditCardDrawing(&drawing);
  Canvas().SetShowPage(true);
  view->SetParameter();
  const CanvasState& st = Canvas().State();
  EXPECT_DOUBLE_EQ(st.PageWidth, 100);
  EXPECT_DOUBLE_EQ(st.PageHeight, 50);
  EXPECT_DOUBLE_EQ(st.WorkAreaWidth, 300);
  EXPECT_DOUBLE_EQ(st.WorkAreaHeight, 300);
  EXPECT_FALSE(st.ShowPage);
  EXPECT_FALSE(st.ShowRule);
  EXPECT_TRUE(st.ShowGrid);
  EXPECT_FALSE(st.Snap);
  EXPECT_FLOAT_EQ(st.GridSpaceX, 2.5f);
  EXPECT_FLOAT_EQ(st.GridSpaceY, 4);
  EXPECT_EQ(drawing.calls.count("DrawPage"), 1);  // one repaint
}

TEST_F(ViewTest, TheDocumentCommandsReachTheView) {
  Header.LabelWidth = 70;
  Header.LabelHeight = 35;
  Editor().SetParameter();
  EXPECT_DOUBLE_EQ(Canvas().State().PageWidth, 70);
  const std::int32_t key = AddBox(UserTypeRectangle, 30, 20, 10, 6, 12);
  Editor().SaveData();  // the geometry is committed into X1..Y2
  EXPECT_FLOAT_EQ(Record(key).X1, 30);
  EXPECT_FLOAT_EQ(Record(key).X2, 10);
  Editor().Reset();
  EXPECT_EQ(ObjCount, 0);
  // The drawing is scaled by the canvas's font ratio.
  EXPECT_FLOAT_EQ(RenderCanvas().FontRatio(), Canvas().FontRatio());
}

TEST_F(ViewTest, TheViewLeavesTheHostsAsItFoundThem) {
  EditorHost* editorHost = &Editor();
  RenderCanvasHost* scale = &RenderCanvas();
  CanvasHost* canvas = &pv::Canvas();
  {
    EditCard second;
    AttachEditCard(second);
    AttachEditCard(second);  // a second time changes nothing
    EXPECT_NE(&Editor(), editorHost);
    EXPECT_NE(&RenderCanvas(), scale);
    EXPECT_EQ(&pv::Canvas(), static_cast<CanvasHost*>(&second.Canvas()));
  }
  EXPECT_EQ(&Editor(), editorHost);
  EXPECT_EQ(&RenderCanvas(), scale);
  EXPECT_EQ(&pv::Canvas(), canvas);
}

TEST_F(ViewTest, SetBaseToolSelectsAndSetNewKeyAsksTheCanvas) {
  Canvas().SetTool(ToolDrawBox, UserTypeRectangle);
  view->SetBaseTool();
  EXPECT_EQ(Canvas().State().CurrentTool, ToolSelect);
  EXPECT_EQ(Canvas().State().CurrentUserType, ToolSelect);
  const DocumentBlock before = DocBlock;
  view->SetNewKey(5);
  view->SetFirstPage();
  EXPECT_TRUE(SameLiveObjects(before, DocBlock));
}

TEST_F(ViewTest, CoordinateAndContextMenuEvents) {
  DragEditorHost& events = *view;
  events.DrawCoord(12.5f, 7.25f, 1, 2, 3, 4, 1);
  EXPECT_EQ(window.calls, QStringList{"SetStatusCoord:12.5,7.25"});

  window.calls.clear();
  events.ContextMenu();
  EXPECT_TRUE(window.calls.isEmpty());  // nothing selected: no menu
  const std::int32_t key = AddBox(UserTypeRectangle, 30, 20, 10, 6);
  SelObject(key, false);
  events.ContextMenu();
  EXPECT_EQ(window.calls, QStringList{"popup_edit"});

  // DeleteObject and SavedDocument have no handling.
  const QStringList before = Texts();
  events.DeleteObject(key, UserTypeRectangle);
  events.SavedDocument();
  EXPECT_EQ(Texts(), before);
}

TEST_F(ViewTest, InsertObjectFillsTheNewRecordThroughTheLogic) {
  const std::int32_t key = AddBox(UserTypeTextBox, 30, 20, 20, 8);
  DragEditorHost& events = *view;
  events.InsertObject(key, UserTypeTextBox);
  const ObjectRecord& r = Record(key);
  EXPECT_EQ(r.Content, "Nuovo testo");
  EXPECT_EQ(r.FontSize, 12);
  EXPECT_EQ(r.Color1, 0);  // white text becomes black
  EXPECT_EQ(Canvas().State().CurrentTool, ToolSelect);
}

TEST_F(ViewTest, ADrawingRefusedAtTheFullTableIsReported) {
  Canvas().SetTool(ToolDrawBox, UserTypeRectangle);
  DragEditorHost& events = *view;
  events.InsertRefused(UserTypeRectangle);
  EXPECT_EQ(messages, QStringList{LoadResString(15046)});
  EXPECT_EQ(icons.front(), MsgIcon::Information);
  EXPECT_EQ(Canvas().State().CurrentTool, ToolSelect);  // AUTO_INSERT is off
}

TEST_F(ViewTest, TheProgramsEditorViewBecomesTheDocumentsCanvasUntilItGoes) {
  // The fixture's view is attached: its canvas is the document's.
  ASSERT_EQ(&pv::Canvas(), &Canvas());
  {
    std::unique_ptr<EditCardView> made(ViewFactories().MakeEditCard(nullptr));
    auto* editor = dynamic_cast<EditCard*>(made.get());
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(&pv::Canvas(), &editor->Canvas());
    EXPECT_EQ(&pv::Editor(), pv::Slot<EditorHost>().Current());
    // A canvas made on its own takes nothing over.
    DragEditor loose(nullptr, 100, 100);
    EXPECT_EQ(&pv::Canvas(), &editor->Canvas());
  }
  EXPECT_EQ(&pv::Canvas(), &Canvas());
}

TEST_F(ViewTest, PaletteAndCommandsGoToTheLogic) {
  view->Image2(5)->click();  // rectangle
  EXPECT_EQ(Canvas().State().CurrentTool, ToolDrawBox);
  EXPECT_EQ(Canvas().State().CurrentUserType, UserTypeRectangle);
  view->Image2(4)->click();  // line
  EXPECT_EQ(Canvas().State().CurrentTool, ToolDrawLine);
  view->Exec("edit_select", 0);
  EXPECT_EQ(Canvas().State().CurrentTool, ToolSelect);

  const std::int32_t key = AddBox(UserTypeRectangle, 30, 20, 10, 6);
  SelObject(key, false);
  view->Apply(500, 3, 1, false);
  EXPECT_EQ(Record(key).FillStyle, 3);
  EXPECT_EQ(DefaultStyle.FillStyle, 3);
}

TEST_F(ViewTest, TheRepaintDrawsThePageThenEveryVisibleObject) {
  RecordingDrawing drawing;
  SetEditCardDrawing(&drawing);
  const std::int32_t a = AddBox(UserTypeRectangle, 100, 120, 20, 10);
  const std::int32_t b = AddLine(110, 130, 150, 140);
  const std::int32_t c = AddBox(UserTypeBarcode, 120, 140, 30, 10);
  const std::int32_t hidden = AddBox(UserTypeEllipse, 130, 130, 10, 10);
  HideObject(true, hidden);
  Canvas().Refresh(false);
  EXPECT_EQ(drawing.calls,
            QStringList({"DrawPage", QStringLiteral("DrawObject:%1,105").arg(a),
                         QStringLiteral("DrawObject:%1,104").arg(b), QStringLiteral("DrawObject:%1,300").arg(c)}));
}

TEST_F(ViewTest, TheRepaintShowsTheObjectsDrawn) {
  view->resize(800, 600);
  view->SetParameter();
  const std::int32_t key = AddBox(UserTypeRectangle, PageOrgX + 50, PageOrgY + 25, 40, 20);
  ObjectRecord& r = Record(key);
  r.FillStyle = 1;
  r.Color1 = 0x0000FF;  // red
  r.LineStyle = 2;
  r.LineColor = 0;
  r.Opacity = 100;
  Canvas().Refresh(false);
  const QImage img = Canvas().SurfaceImage().convertToFormat(QImage::Format_RGB32);
  const int red = pv::test::CountPixels(img, [](QRgb p) { return qRed(p) > 200 && qGreen(p) < 60 && qBlue(p) < 60; });
  // 40 x 20 mm at the fitted zoom (over one pixel per millimetre).
  EXPECT_GT(red, 40 * 20);
}
