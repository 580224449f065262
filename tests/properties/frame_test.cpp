// The floating windows' frame with the real editor view: a ticked switch
// loads, fills and shows its window; closing the window clears its flag and
// the switch; clearing the switch closes it once; the main window hides and
// shows it with the editor view. Batches from the windows reach the
// selected objects as one undo step; the barcode dialog through the editor.
#include "app/window/mainwnd.h"
#include "views/popups.h"
#include "app/window/shellhosts.h"
#include "properties/windows/codebardialogwidget.h"
#include "properties/windows/fontwindowwidget.h"
#include "properties/windows/icons.h"
#include "properties/windows/arttextwindowwidget.h"
#include "properties/windows/fillwindowwidget.h"
#include "properties/windows/propertypickers.h"
#include "properties/windows/linewindowwidget.h"
#include "properties/windows/popupwindows.h"
#include "properties/windows/textwindowwidget.h"
#include "tests/editor/view/view_fixture.h"
#include "tests/properties/popup_recorder.h"
#include "tests/support/pixels.h"

#include <QApplication>
#include <QRegularExpression>
#include <QTimer>

#include <functional>
#include <vector>

using namespace pv;
using viewtest::ViewTest;

namespace {

const QStringList kFonts = {"Courier New", "DejaVu Sans", "Liberation Sans", "Verdana"};

// The editor of the windows: the view under test, with the switch calls
// recorded.
class ViewEditor : public PopUpEditor {
 public:
  EditCard* view = nullptr;
  QStringList switches;
  void SavedDoc() override { view->SavedDoc(); }
  void Apply(int code, const QVariant& v, int d, bool refresh) override { view->Apply(code, v, d, refresh); }
  void SetShowPop(int index, bool mode) override {
    switches << QStringLiteral("%1,%2").arg(index).arg(mode);
    view->SetShowPop(index, mode);
  }
  void SetMousePointer(int) override {}
};

void DeleteLater() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

class FrameTest : public ViewTest {
 protected:
  void SetUp() override {
    ViewTest::SetUp();
    ForgetPopUpPlaces();
    set.Register(PopFont, [](QWidget* owner) { return new FontWindow(owner, &kFonts); });
    set.Register(PopText, [](QWidget* owner) { return new TextWindow(owner); });
    set.Register(PopLinee, [](QWidget* owner) { return new LineWindow(owner); });
    set.Register(PopFill, [](QWidget* owner) { return new FillWindow(owner); });
    set.Register(PopArtText, [](QWidget* owner) { return new ArtTextWindow(owner, &kFonts); });
    SetPropertyWindows(&set);
    SetColorDialogHost(&colors);
    editor.view = view.get();
    SetPopUpEditor(&editor);
  }
  void TearDown() override {
    for (int i : PopUpVisitOrder) set.Unload(i);
    DeleteLater();
    ViewTest::TearDown();
  }
  FontWindow* Font() const { return qobject_cast<FontWindow*>(PopUpWindow(PopFont)); }
  TextWindow* Text() const { return qobject_cast<TextWindow*>(PopUpWindow(PopText)); }

  ArtTextWindow* ArtText() const { return qobject_cast<ArtTextWindow*>(PopUpWindow(PopArtText)); }
  FillWindow* Fill() const { return qobject_cast<FillWindow*>(PopUpWindow(PopFill)); }
  LineWindow* Lines() const { return qobject_cast<LineWindow*>(PopUpWindow(PopLinee)); }

  PopUpWindowSet set;
  ViewEditor editor;
  proptest::AnsweringColorDialog colors;
};

TEST_F(FrameTest, ATickedSwitchLoadsFillsAndShowsItsWindow) {
  DefaultStyle.FontSize = 20;
  view->SetShowPop(PopFont, true);
  FontWindow* w = Font();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(PopFontLoaded, VbTrue);
  EXPECT_TRUE(set.Loaded(PopFont));
  EXPECT_TRUE(w->isVisible());
  EXPECT_TRUE(w->windowFlags() & Qt::Tool);
  EXPECT_EQ(w->parentWidget(), view->window());
  // Filled from the current style (nothing is selected).
  EXPECT_EQ(w->sizeBox()->text(), "20");
  EXPECT_EQ(w->fontBox()->currentText(), "Arial");
  EXPECT_TRUE(w->alignButton(0)->isChecked());
  EXPECT_EQ(w->model().FontMark, Mark::Yes);
  // A selection refills it.
  const std::int32_t key = AddBox(UserTypeTextBox, 30, 20, 20, 8);
  Record(key).FontName = "Verdana";
  SelObject(key, false);
  view->SincronizePopWindow();
  EXPECT_EQ(w->fontBox()->currentIndex(), 3);
}

TEST_F(FrameTest, ClosingTheWindowClearsItsFlagAndSwitchOnce) {
  view->SetShowPop(PopText, true);
  TextWindow* raw = Text();
  ASSERT_NE(raw, nullptr);
  QPointer<TextWindow> w = raw;
  raw->close();
  EXPECT_EQ(PopTextLoaded, VbFalse);
  EXPECT_FALSE(view->ShowPop(PopText)->isChecked());
  EXPECT_FALSE(set.Loaded(PopText));
  EXPECT_EQ(editor.switches, QStringList{"1,0"});
  DeleteLater();
  EXPECT_TRUE(w.isNull());
  // Reopened: a fresh window, where the user left the old one.
  view->SetShowPop(PopText, true);
  ASSERT_NE(Text(), nullptr);
  EXPECT_TRUE(Text()->model().Text.isEmpty());
}

TEST_F(FrameTest, ClearingTheSwitchClosesTheWindowOnce) {
  view->SetShowPop(PopFont, true);
  FontWindow* raw = Font();
  ASSERT_NE(raw, nullptr);
  QPointer<FontWindow> w = raw;
  const QPoint first = raw->pos();
  raw->move(first + QPoint(-40, 25));
  view->ShowPop(PopFont)->setChecked(false);
  EXPECT_EQ(PopFontLoaded, VbFalse);
  EXPECT_EQ(editor.switches, QStringList{"0,0"});
  EXPECT_FALSE(raw->isVisible());
  DeleteLater();
  EXPECT_TRUE(w.isNull());
  view->SetShowPop(PopFont, true);
  ASSERT_NE(Font(), nullptr);
  EXPECT_EQ(Font()->pos(), first + QPoint(-40, 25));
}

TEST_F(FrameTest, WindowsStartAtTheOwnersRightEdgeStackedByIndex) {
  const QRect owner(100, 50, 1000, 700);
  const QPoint font = PopUpFirstPlace(PopFont, owner, QSize(300, 200));
  const QPoint text = PopUpFirstPlace(PopText, owner, QSize(300, 200));
  EXPECT_LE(font.x() + 300, owner.right());
  EXPECT_GT(font.x() + 300, owner.right() - 40);
  EXPECT_EQ(font.x(), text.x());
  EXPECT_GT(text.y(), font.y());
  EXPECT_GT(font.y(), owner.top());
}

TEST_F(FrameTest, BoldOnThreeTextsKeepsTheirFontsAndUndoesInOneStep) {
  const char* fonts[3] = {"Verdana", "DejaVu Sans", "Courier New"};
  std::int32_t keys[3];
  for (int i = 0; i < 3; ++i) {
    keys[i] = AddBox(UserTypeTextBox, 20 + 25 * i, 20, 20, 8);
    Record(keys[i]).FontName = fonts[i];
    Record(keys[i]).Bold = 0;
    SelObject(keys[i], false);
  }
  view->SetShowPop(PopFont, true);
  FontWindow* w = Font();
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(w->fontBox()->currentText().isEmpty());
  w->styleButton(0)->click();
  w->applyButton()->click();
  for (int i = 0; i < 3; ++i) {
    EXPECT_NE(Record(keys[i]).Bold, 0);
    EXPECT_EQ(Record(keys[i]).FontName.trimmed(), fonts[i]);
  }
  EXPECT_EQ(DefaultStyle.Bold, 0);
  view->Exec(QStringLiteral("edit_undo"), 0);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Record(keys[i]).Bold, 0);
}

TEST_F(FrameTest, WithDefaultTickedNewTextsTakeTheStyle) {
  view->SetShowPop(PopFont, true);
  FontWindow* w = Font();
  ASSERT_NE(w, nullptr);
  w->defaultBox()->click();
  w->styleButton(1)->click();
  w->applyButton()->click();
  EXPECT_NE(DefaultStyle.Italic, 0);
  // An alignment clicked with Default goes at once.
  w->alignButton(2)->click();
  EXPECT_EQ(DefaultStyle.Alignment, 21);
}

TEST_F(FrameTest, TheTextWindowEditsTheWordsOfTheSelectedText) {
  const std::int32_t key = AddBox(UserTypeTextBox, 30, 20, 20, 8);
  Record(key).Content = "Prima\r\nriga";
  SelObject(key, false);
  view->SetShowPop(PopText, true);
  TextWindow* w = Text();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->textBox()->toPlainText(), "Prima\nriga");
  w->textBox()->selectAll();
  w->textBox()->insertPlainText("Uno\nDue");
  w->button(4)->click();
  EXPECT_EQ(Record(key).Content, "Uno\r\nDue");
  view->Exec(QStringLiteral("edit_undo"), 0);
  EXPECT_EQ(Record(key).Content, "Prima\r\nriga");
}

TEST_F(FrameTest, ANewColourForTwoShapesLeavesTheirCorners) {
  const std::int32_t a = AddBox(UserTypeRoundedRect, 20, 20, 20, 10);
  const std::int32_t b = AddBox(UserTypeRoundedRect, 60, 20, 20, 10);
  Record(a).Aspect = 3;
  Record(b).Aspect = 8;
  SelObject(a, false);
  SelObject(b, false);
  view->SetShowPop(PopLinee, true);
  LineWindow* w = Lines();
  ASSERT_NE(w, nullptr);
  colors.answers = {QColor(255, 0, 0)};
  emit w->swatch()->clicked();
  w->applyButton()->click();
  EXPECT_EQ(Record(a).LineColor, 255);
  EXPECT_EQ(Record(b).LineColor, 255);
  EXPECT_EQ(Record(a).Aspect, 3);
  EXPECT_EQ(Record(b).Aspect, 8);
  // One rounded rectangle: the slider rounds its corners.
  Canvas().DeselectAll();
  SelObject(a, false);
  view->SincronizePopWindow();
  ASSERT_EQ(Canvas().SelCount(), 1);
  w->slider()->setValue(6);
  w->applyButton()->click();
  EXPECT_EQ(Record(a).Aspect, 6);
  view->Exec(QStringLiteral("edit_undo"), 0);
  EXPECT_EQ(Record(a).Aspect, 3);
}

TEST_F(FrameTest, ATextureOnThreeRectanglesKeepsTheirColoursAndUndoesInOneStep) {
  const std::int32_t colours[3] = {0x0000FF, 0x00FF00, 0xFF0000};
  std::int32_t keys[3];
  for (int i = 0; i < 3; ++i) {
    keys[i] = AddBox(UserTypeRectangle, 20 + 25 * i, 20, 20, 10);
    Record(keys[i]).FillStyle = 1;
    Record(keys[i]).Color1 = colours[i];
    Record(keys[i]).Color2 = colours[i];
    Record(keys[i]).Opacity = 50 + i;
    SelObject(keys[i], false);
  }
  view->SetShowPop(PopFill, true);
  FillWindow* w = Fill();
  ASSERT_NE(w, nullptr);
  // Several selected: the window shows the current style's solid fill.
  EXPECT_EQ(w->model().FillKind, 1);
  w->model().ChooseKind(5);
  w->model().ClickImage(12);
  w->Sync();
  w->applyButton()->click();
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(Record(keys[i]).FillStyle, 38);
    EXPECT_EQ(Record(keys[i]).Color1, colours[i]);
    EXPECT_EQ(Record(keys[i]).Color2, colours[i]);
    EXPECT_EQ(Record(keys[i]).Opacity, 50 + i);
  }
  view->Exec(QStringLiteral("edit_undo"), 0);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Record(keys[i]).FillStyle, 1);
}

TEST_F(FrameTest, AnArtTextTakesAStyleAndAFontUndoneInOneStep) {
  const std::int32_t key = AddBox(UserTypeArtText, 40, 20, 40, 12);
  ObjectRecord& r = Record(key);
  r.FontName = "Verdana";
  r.FillStyle = 1;
  r.Color1 = 0x0000FF;
  r.Color2 = 0x00FF00;
  r.Variant = 0;
  SelObject(key, false);
  view->SetShowPop(PopArtText, true);
  ArtTextWindow* w = ArtText();
  ASSERT_NE(w, nullptr);
  // Before a style is chosen only the font goes.
  w->fontList()->setCurrentIndex(1);
  emit w->fontList()->activated(1);
  w->applyButton()->click();
  EXPECT_EQ(Record(key).FontName.trimmed(), "DejaVu Sans");
  EXPECT_EQ(Record(key).FillStyle, 1);
  EXPECT_EQ(Record(key).Color1, 0x0000FF);
  w->model().ClickImage(5);
  w->applyButton()->click();
  EXPECT_EQ(Record(key).Variant, 2);
  EXPECT_EQ(Record(key).FillStyle, 140);
  EXPECT_EQ(Record(key).Color1, 0x00FFFF);
  EXPECT_EQ(Record(key).Color2, 0xFFFFFF);
  view->Exec(QStringLiteral("edit_undo"), 0);
  EXPECT_EQ(Record(key).Variant, 0);
  EXPECT_EQ(Record(key).FillStyle, 1);
  EXPECT_EQ(Record(key).Color1, 0x0000FF);
  EXPECT_EQ(Record(key).FontName.trimmed(), "DejaVu Sans");
}

// Answers the next modal barcode dialog with `answer`, then OK or Cancel.
void AnswerCodeBar(std::function<void(CodeBarDialog&)> answer, bool ok, bool* seen) {
  QTimer::singleShot(0, [answer, ok, seen] {
    auto* d = qobject_cast<CodeBarDialog*>(QApplication::activeModalWidget());
    if (d == nullptr) return;
    *seen = true;
    answer(*d);
    (ok ? d->okButton() : d->cancelButton())->click();
  });
}

TEST_F(FrameTest, TheBarcodeDialogThroughTheEditor) {
  PropertyPickers pickers;
  SetEditorPickers(&pickers);
  const std::int32_t key = AddBox(UserTypeBarcode, 40, 20, 40, 15);
  ObjectRecord& r = Record(key);
  r.Aspect = 10;
  r.Alignment = 0;
  r.ShowText = 0;
  r.Content = "12345";
  SelObject(key, false);
  const int ean13 = static_cast<int>(CodeBarDialogModel().Formats.indexOf(
      QRegularExpression(QStringLiteral("^EAN.?13"), QRegularExpression::CaseInsensitiveOption)));
  ASSERT_GE(ean13, 0);

  bool seen = false;
  AnswerCodeBar(
      [ean13](CodeBarDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Proprietà codice a barre");
        EXPECT_EQ(d.contentBox()->text(), "12345");
        d.formatList()->setCurrentIndex(ean13);
        d.orientationList()->setCurrentIndex(1);
        d.option(0)->setChecked(true);
        d.contentBox()->setText("400638133393");
      },
      true, &seen);
  view->Exec(QStringLiteral("edit_field"), 0);
  ASSERT_TRUE(seen);
  EXPECT_EQ(Record(key).Aspect, ean13);
  EXPECT_EQ(Record(key).Alignment, 1);
  EXPECT_EQ(Record(key).ShowText, 1);
  EXPECT_EQ(Record(key).Content, "400638133393");

  const ObjectRecord before = Record(key);
  seen = false;
  AnswerCodeBar(
      [](CodeBarDialog& d) {
        d.orientationList()->setCurrentIndex(3);
        d.contentBox()->setText("changed");
      },
      false, &seen);
  view->Exec(QStringLiteral("edit_field"), 0);
  ASSERT_TRUE(seen);
  EXPECT_EQ(Record(key).Alignment, before.Alignment);
  EXPECT_EQ(Record(key).Content, before.Content);
}

// What the user sees after OK is the new barcode, as a fresh repaint of the
// whole canvas draws it, with nothing else touched.
TEST_F(FrameTest, TheCanvasShowsTheNewBarcodeAtOnceAfterOk) {
  PropertyPickers pickers;
  SetEditorPickers(&pickers);
  const QStringList formats = CodeBarDialogModel().Formats;
  const auto format = [&formats](const char* pattern) {
    return static_cast<int>(
        formats.indexOf(QRegularExpression(QLatin1String(pattern), QRegularExpression::CaseInsensitiveOption)));
  };
  const int code128 = format("^Code.?128");
  const int code39 = format("^Code.?39");
  ASSERT_GE(code128, 0);
  ASSERT_GE(code39, 0);
  struct Case {
    const char* name;
    std::function<void(CodeBarDialog&)> change;
  };
  const std::vector<Case> cases = {
      {"text", [](CodeBarDialog& d) { d.contentBox()->setText("98765"); }},
      {"format", [code39](CodeBarDialog& d) { d.formatList()->setCurrentIndex(code39); }},
      {"orientation", [](CodeBarDialog& d) { d.orientationList()->setCurrentIndex(1); }},
  };
  const auto shown = [this] { return view->DragEditorControl()->grab().toImage(); };
  // On screen and laid out: a grab then shows the canvas's picture as it is.
  view->show();
  QApplication::processEvents();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::int32_t key = AddBox(UserTypeBarcode, 40, 20, 40, 15);
    Record(key).Aspect = code128;
    Record(key).Content = "12345";
    SelObject(key, false);
    Canvas().Refresh(true);
    const QImage before = shown();

    bool seen = false;
    AnswerCodeBar(c.change, true, &seen);
    view->Exec(QStringLiteral("edit_field"), 0);
    ASSERT_TRUE(seen);
    const QImage after = shown();
    EXPECT_TRUE(after != before) << "the old barcode is still on screen";
    Canvas().Refresh(true);
    EXPECT_TRUE(after == shown()) << "a fresh repaint draws something else";
    DelObject(key, false);
  }
}

TEST(PropertyPictures, TwelvePicturesDrawSomething) {
  test::EnsureApplication();
  for (int id : {7000, 7001, 7002, 7003, 7004, 7005, 7006, 7007, 8000, 8001, 8002, 8003}) {
    SCOPED_TRACE(id);
    const QImage image = PropertyPicture(id).toImage();
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(26, 26));
    EXPECT_GT(pv::test::CountPixels(image, [](QRgb p) { return qAlpha(p) > 128; }), 20);
  }
  EXPECT_TRUE(PropertyPicture(7008).isNull());
}

}  // namespace

// The main window hides the windows outside the editor and shows them with
// it; the shutdown unloads them and clears their switches.
class FrameMainWindowTest : public test::AppFixture {
 protected:
  FrameMainWindowTest() : AppFixture(true) {}
  void TearDown() override {
    DestroyMainWnd();
    DeleteLater();
    AppFixture::TearDown();
  }
};

TEST_F(FrameMainWindowTest, ViewSwitchingHidesAndShowsTheWindowAndShutdownUnloadsIt) {
  for (auto& f : PopUpLoaded) f = VbFalse;
  MainWnd& main = GetMainWnd();
  main.InitGui();
  main.show();
  main.SelectView(QStringLiteral("tbr_editor"));
  auto* editCard = dynamic_cast<EditCard*>(main.EditCard());
  ASSERT_NE(editCard, nullptr);
  editCard->SetShowPop(PopFont, true);
  QWidget* raw = PopUpWindow(PopFont);
  ASSERT_NE(raw, nullptr);
  QPointer<QWidget> w = raw;
  EXPECT_TRUE(raw->isVisible());
  EXPECT_EQ(raw->parentWidget(), &main);
  main.SelectView(QStringLiteral("tbr_template"));
  EXPECT_FALSE(raw->isVisible());
  main.SelectView(QStringLiteral("tbr_editor"));
  EXPECT_TRUE(raw->isVisible());
  ShellPopUps().UnloadPopUp(PopFont);
  EXPECT_EQ(PopFontLoaded, VbFalse);
  EXPECT_FALSE(editCard->ShowPop(PopFont)->isChecked());
  DeleteLater();
  EXPECT_TRUE(w.isNull());
}
