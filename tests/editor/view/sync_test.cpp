// The floating property windows kept in step with the selection: what each
// loaded window receives for no, one and several selected objects, and that
// windows that are not loaded are never called.
#include "view_fixture.h"

#include <QCheckBox>
#include <QLabel>
#include <QMouseEvent>

using namespace pv;
using viewtest::ViewTest;

namespace {

QString Padded(const QString& s) { return QLatin1Char('"') + FixedString(s, 32) + QLatin1Char('"'); }

}  // namespace

TEST_F(ViewTest, NothingSelectedFontAndFillShowTheCurrentStyle) {
  DefaultStyle.Bold = VbTrue;
  DefaultStyle.Alignment = 22;
  DefaultStyle.FillStyle = 141;
  windows.loaded = {PopFont, PopFill};
  view->SincronizePopWindow();
  const QStringList font = {"Font:501=16777215", "Font:114=" + Padded("Arial"),
                            "Font:115=12",       "Font:100=-1",
                            "Font:101=0",        "Font:102=0",
                            "Font:103=0",        "Font:110=False",
                            "Font:111=True",     "Font:112=False",
                            "Font:113=False",    "Font:201=\"\""};
  EXPECT_EQ(windows.Of("Font"), font);
  EXPECT_EQ(windows.Of("Fill"), QStringList{"Fill:141,16777215,3289650,100"});
  EXPECT_TRUE(windows.Of("Text").isEmpty());
  EXPECT_TRUE(windows.Of("Linee").isEmpty());
  // Font first, fill last.
  EXPECT_TRUE(windows.calls.first().startsWith("Font:"));
  EXPECT_TRUE(windows.calls.last().startsWith("Fill:"));
  EXPECT_EQ(Enabled(), std::vector<bool>(5, false));
}

TEST_F(ViewTest, OneTextBoxGivesItsValuesAndNoLineValues) {
  const std::int32_t key = AddBox(UserTypeTextBox, 30, 20, 20, 8);
  ObjectRecord& r = Record(key);
  r.Content = "Ciao";
  r.FontName = "Verdana";
  r.FontSize = 18;
  r.Italic = 1;
  r.Alignment = 21;
  r.Color1 = 255;
  r.LineColor = 77;
  r.LineStyle = 5;
  r.Aspect = 9;
  r.FillStyle = 0;
  r.Opacity = 60;
  SelObject(key, false);
  windows.loaded = {PopFont, PopText, PopLinee, PopFill};
  view->SincronizePopWindow();
  const QStringList font = {"Font:501=255",   "Font:114=\"Verdana\"", "Font:115=18",    "Font:100=0",
                            "Font:101=1",     "Font:102=0",           "Font:103=0",     "Font:110=False",
                            "Font:111=False", "Font:112=True",        "Font:113=False", "Font:201=\"Ciao\""};
  EXPECT_EQ(windows.Of("Font"), font);
  EXPECT_EQ(windows.Of("Text"), QStringList{"Text:0=\"Ciao\""});
  EXPECT_EQ(windows.Of("Linee"), QStringList{"Linee:0,0,0,1"});
  EXPECT_EQ(windows.Of("Fill"), QStringList{"Fill:0,255,0,60"});
  EXPECT_EQ(windows.calls.size(), 15);
}

TEST_F(ViewTest, LineValuesByKindOfTheOneSelectedObject) {
  struct Case {
    std::int16_t kind;
    const char* linee;
    const char* text;
  } cases[] = {
      {UserTypeDatabaseField, "Linee:0,0,0,1", "Text:0=\"\""}, {UserTypeImage, "Linee:0,0,0,1", "Text:0=\"\""},
      {UserTypeRectangle, "Linee:77,5,9,1", "Text:0=\"\""},    {UserTypeBarcode, "Linee:77,5,9,1", "Text:0=\"\""},
      {UserTypeArtText, "Linee:77,5,9,1", "Text:0=\"Abc\""},   {205, "Linee:77,5,9,1", "Text:0=\"\""},
  };
  windows.loaded = {PopText, PopLinee};
  for (const Case& c : cases) {
    ResetDocumentState();
    windows.calls.clear();
    const std::int32_t key = AddBox(c.kind, 30, 20, 20, 8);
    ObjectRecord& r = Record(key);
    r.Content = "Abc";
    r.LineColor = 77;
    r.LineStyle = 5;
    r.Aspect = 9;
    SelObject(key, false);
    view->SincronizePopWindow();
    EXPECT_EQ(windows.calls, QStringList({c.text, c.linee})) << c.kind;
  }
}

TEST_F(ViewTest, OneBarcodeFillsWithItsRecordValues) {
  const std::int32_t key = AddBox(UserTypeBarcode, 30, 20, 40, 15);
  ObjectRecord& r = Record(key);
  r.FillStyle = 3;
  r.Color1 = 10;
  r.Color2 = 20;
  r.Opacity = 55;
  SelObject(key, false);
  windows.loaded = {PopFill};
  view->SincronizePopWindow();
  EXPECT_EQ(windows.calls, QStringList{"Fill:3,10,20,55"});
}

TEST_F(ViewTest, SeveralSelectedGetTheMarkerOrTheCurrentStyle) {
  DefaultStyle.LineColor = 1234;
  DefaultStyle.LineStyle = 7;
  for (int i = 0; i < 2; ++i) {
    const std::int32_t k = AddBox(UserTypeTextBox, 30 + 30 * i, 20, 20, 8);
    Record(k).Content = "x";
    SelObject(k, false);
  }
  windows.loaded = {PopFont, PopText, PopLinee, PopFill};
  view->SincronizePopWindow();
  QStringList font;
  for (int code : {501, 114, 115, 100, 101, 102, 103, 110, 111, 112, 113, 201})
    font << QStringLiteral("Font:%1=-20").arg(code);
  EXPECT_EQ(windows.Of("Font"), font);
  EXPECT_EQ(windows.Of("Text"), QStringList{"Text:0=\"\""});
  EXPECT_EQ(windows.Of("Linee"), QStringList{"Linee:1234,7,0,-20"});
  EXPECT_EQ(windows.Of("Fill"), QStringList{"Fill:1,16777215,3289650,100"});
  EXPECT_EQ(Enabled(), std::vector<bool>(5, true));
  EXPECT_EQ(view->Label2(0)->text(), "Centro X / Coord. X1 :");
}

TEST_F(ViewTest, NothingSelectedLinesGetTheStyleWithModeMinusTen) {
  windows.loaded = {PopLinee, PopText};
  view->SincronizePopWindow();
  EXPECT_EQ(windows.calls, QStringList({"Text:0=\"\"", "Linee:0,2,0,-10"}));
}

TEST_F(ViewTest, WindowsThatAreNotLoadedAreNeverCalled) {
  const std::int32_t key = AddBox(UserTypeTextBox, 30, 20, 20, 8);
  SelObject(key, false);
  view->SincronizePopWindow();
  EXPECT_TRUE(windows.calls.isEmpty());
  // The art-text window is loaded but is not filled from the selection.
  windows.loaded = {PopArtText};
  view->SincronizePopWindow();
  EXPECT_TRUE(windows.calls.isEmpty());
}

TEST_F(ViewTest, SelectionEventsRefreshPanelAndOpenWindows) {
  const std::int32_t a = AddBox(UserTypeRectangle, 30, 20, 10, 6);
  const std::int32_t b = AddBox(UserTypeRectangle, 60, 20, 10, 6);
  windows.loaded = {PopFill};
  DragEditorHost& events = *view;

  SelObject(a, false);
  events.SelectedSingle(a, UserTypeRectangle);
  EXPECT_EQ(Tags()[0], "YES");
  EXPECT_EQ(windows.calls.size(), 1);

  SelObject(b, false);
  events.SelectedArea(2);
  EXPECT_EQ(Tags()[0], "NO");
  EXPECT_TRUE(view->Text1(0)->isEnabled());
  EXPECT_EQ(windows.calls.size(), 2);

  DeselectAllObjects();
  events.SelectionStop();
  EXPECT_FALSE(view->Text1(0)->isEnabled());
  EXPECT_EQ(windows.calls.size(), 3);

  SelObject(a, false);
  Record(a).CenterX = PageOrgX + 44;
  events.UpdateObjects();
  EXPECT_EQ(view->Text1(0)->text(), "44");
  EXPECT_EQ(windows.calls.size(), 4);
}

TEST_F(ViewTest, SetShowPopOpensTheWindowShowingTheSelectionAndCloses) {
  const std::int32_t key = AddBox(UserTypeRectangle, 30, 20, 10, 6);
  Record(key).FillStyle = 4;
  SelObject(key, false);
  view->SetShowPop(PopFill, true);
  EXPECT_TRUE(view->ShowPop(PopFill)->isChecked());
  ASSERT_EQ(windows.calls.size(), 3);
  EXPECT_EQ(windows.calls[0], "Load:4");
  EXPECT_TRUE(windows.calls[1].startsWith("Fill:4,"));
  EXPECT_EQ(windows.calls[2], "Show:4");

  windows.calls.clear();
  view->SetShowPop(PopFill, false);
  EXPECT_FALSE(view->ShowPop(PopFill)->isChecked());
  EXPECT_EQ(windows.calls, QStringList{"Unload:4"});

  // A window that closed itself (flag already cleared) is not unloaded again.
  view->SetShowPop(PopFont, true);
  windows.loaded.erase(PopFont);
  windows.calls.clear();
  view->SetShowPop(PopFont, false);
  EXPECT_TRUE(windows.calls.isEmpty());
  EXPECT_FALSE(view->ShowPop(PopFont)->isChecked());

  // Index 2 has no window and no box.
  view->SetShowPop(2, true);
  view->SetShowPop(7, true);
  EXPECT_TRUE(windows.calls.isEmpty());
  EXPECT_EQ(view->ShowPop(2), nullptr);
}

TEST_F(ViewTest, AClickOnTheCaptionTogglesTheLinesWindow) {
  view->show();
  QApplication::processEvents();
  QLabel* caption = view->Label3(PopLinee);
  ASSERT_NE(caption, nullptr);
  EXPECT_EQ(caption->text(), "Bordi e linee");
  const QPointF at(5, 5);
  QMouseEvent press(QEvent::MouseButtonPress, at, caption->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QMouseEvent release(QEvent::MouseButtonRelease, at, caption->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QApplication::sendEvent(caption, &press);
  QApplication::sendEvent(caption, &release);
  EXPECT_TRUE(view->ShowPop(PopLinee)->isChecked());
  EXPECT_EQ(windows.calls.first(), "Load:3");
  EXPECT_EQ(windows.calls.last(), "Show:3");
  windows.calls.clear();
  view->Label3_Click(PopLinee);
  EXPECT_FALSE(view->ShowPop(PopLinee)->isChecked());
  EXPECT_EQ(windows.calls, QStringList{"Unload:3"});
}

TEST_F(ViewTest, TheDefaultWindowSetHasNoWindowLoaded) {
  // The editor without the property windows: whatever was loaded before,
  // no index answers loaded, and a switch ticked on it loads nothing that
  // could later be unloaded.
  PropertyWindows w;
  for (int index : {-1, PopFont, PopText, 2, PopLinee, PopFill, PopArtText, 6}) {
    EXPECT_FALSE(w.Loaded(index)) << index;
  }
  SetPropertyWindows(&w);
  view->SetShowPop(PopFill, true);
  EXPECT_FALSE(w.Loaded(PopFill));
  view->SetShowPop(PopFill, false);
  EXPECT_FALSE(view->ShowPop(PopFill)->isChecked());
  SetPropertyWindows(&windows);
}

TEST_F(ViewTest, OnlyTheWindowsHaveASwitchAndACaption) {
  struct Case {
    int index;
    bool hasSwitch;
  };
  const Case cases[] = {{-1, false},      {PopFont, true}, {PopText, true},    {2, false},
                        {PopLinee, true}, {PopFill, true}, {PopArtText, true}, {6, false}};
  for (const Case& c : cases) {
    EXPECT_EQ(view->ShowPop(c.index) != nullptr, c.hasSwitch) << c.index;
    EXPECT_EQ(view->Label3(c.index) != nullptr, c.hasSwitch) << c.index;
  }
}
