// The text format window against a recording editor: what each fill shows
// and marks, and the batch "Applica" sends after it and after the user's
// changes, with and without the Default box.
#include "properties/fontwindow.h"
#include "properties/windows/fontwindowwidget.h"
#include "tests/properties/popup_recorder.h"
#include "tests/support/app_fixture.h"

#include <QApplication>
#include <gtest/gtest.h>

namespace {

using proptest::AnsweringColorDialog;
using proptest::RecordingEditor;

const QStringList kFonts = {"Courier New", "DejaVu Sans", "Liberation Sans", "Verdana"};

// One value per code as the editor fills the window.
struct Fill {
  int code;
  QVariant value;
};

// The editor's fill for one object: Verdana 18, italic, right-aligned, red.
std::vector<Fill> OneObject() {
  return {{501, 255},   {114, QString("Verdana")},
          {115, 18},    {100, 0},
          {101, -1},    {102, 0},
          {103, 0},     {110, false},
          {111, false}, {112, true},
          {113, false}, {201, QString("Ciao")}};
}
std::vector<Fill> Several() {
  std::vector<Fill> f;
  for (int code : {501, 114, 115, 100, 101, 102, 103, 110, 111, 112, 113, 201}) f.push_back({code, -20});
  return f;
}

class FontWindowTest : public pv::test::AppFixture {
 protected:
  void SetUp() override {
    AppFixture::SetUp();
    pv::SetPopUpEditor(&editor);
    pv::SetColorDialogHost(&colors);
    model.Load(kFonts);
  }
  void Show(const std::vector<Fill>& fill) {
    for (const Fill& f : fill) model.Apply(f.code, f.value);
  }
  QStringList Batch() {
    editor.calls.clear();
    model.Command1_Click();
    return editor.calls;
  }

  RecordingEditor editor;
  AnsweringColorDialog colors;
  pv::FontWindowModel model;
};

TEST_F(FontWindowTest, AfterLoadingOnlyTheSizeGoes) {
  EXPECT_EQ(model.FontText, "Courier New");
  EXPECT_EQ(model.FontEntry, 0);
  EXPECT_EQ(Batch(), QStringList({"SavedDoc", "Apply:115=\"12\",0,False", "Apply:0=0,0,True"}));
}

struct BatchCase {
  const char* name;
  bool several;
  bool defaultBox;
  std::function<void(pv::FontWindowModel&)> user;  // the user's changes, or none
  QStringList sent;                                // between SavedDoc and the end
};

void PrintTo(const BatchCase& c, std::ostream* os) { *os << c.name; }

class FontBatchTest : public FontWindowTest, public ::testing::WithParamInterface<BatchCase> {};

TEST_P(FontBatchTest, SendsTheMarkedValuesInOrder) {
  const BatchCase& c = GetParam();
  Show(c.several ? Several() : OneObject());
  model.SetDefault(c.defaultBox);
  if (c.user) c.user(model);
  EXPECT_EQ(Batch(), proptest::ExpectedBatch(c.sent, c.defaultBox));
}

const QStringList kAllOfOne = {"Apply:100=0,%D,False",           "Apply:101=1,%D,False",     "Apply:102=0,%D,False",
                               "Apply:103=0,%D,False",           "Apply:110=False,%D,False", "Apply:111=False,%D,False",
                               "Apply:112=True,%D,False",        "Apply:113=False,%D,False", "Apply:501=255,%D,False",
                               "Apply:114=\"Verdana\",%D,False", "Apply:115=\"18\",%D,False"};

INSTANTIATE_TEST_SUITE_P(Fills, FontBatchTest,
                         ::testing::Values(BatchCase{"OneObjectUnchanged", false, false, nullptr, kAllOfOne},
                                           BatchCase{"OneObjectDefault", false, true, nullptr, kAllOfOne},
                                           BatchCase{"SeveralUntouched", true, false, nullptr, {}},
                                           BatchCase{"SeveralBold",
                                                     true,
                                                     false,
                                                     [](pv::FontWindowModel& m) { m.ClickCheck(0, true); },
                                                     {"Apply:100=1,%D,False"}},
                                           BatchCase{"SeveralBoldDefault",
                                                     true,
                                                     true,
                                                     [](pv::FontWindowModel& m) { m.ClickCheck(0, true); },
                                                     {"Apply:100=1,%D,False"}},
                                           BatchCase{"SeveralEmptiedSize",
                                                     true,
                                                     false,
                                                     [](pv::FontWindowModel& m) { m.TypeSize(""); },
                                                     {"Apply:115=\"\",%D,False"}},
                                           BatchCase{
                                               "SeveralChosenFontAndTypedSize",
                                               true,
                                               false,
                                               [](pv::FontWindowModel& m) {
                                                 m.TypeSize("9");
                                                 m.ChooseFont(2);
                                               },
                                               {"Apply:114=\"Liberation Sans\",%D,False", "Apply:115=\"9\",%D,False"}},
                                           BatchCase{"SeveralTypedUnlistedFont",
                                                     true,
                                                     false,
                                                     [](pv::FontWindowModel& m) { m.TypeFontName("Arial"); },
                                                     {"Apply:114=\"Arial\",%D,False"}},
                                           BatchCase{"SeveralCentred",
                                                     true,
                                                     false,
                                                     [](pv::FontWindowModel& m) { m.ClickOption(1); },
                                                     {"Apply:111=True,%D,False"}},
                                           BatchCase{"OneObjectUnticksItalic", false, false,
                                                     [](pv::FontWindowModel& m) { m.ClickCheck(1, false); },
                                                     [] {
                                                       QStringList s = kAllOfOne;
                                                       s[1] = "Apply:101=0,%D,False";
                                                       return s;
                                                     }()}),
                         [](const ::testing::TestParamInfo<BatchCase>& i) { return std::string(i.param.name); });

TEST_F(FontWindowTest, SeveralObjectsBlankEveryControl) {
  Show(OneObject());
  Show(Several());
  EXPECT_EQ(model.FontText, "");
  EXPECT_EQ(model.FontEntry, -1);
  EXPECT_EQ(model.SizeText, "");
  EXPECT_EQ(model.Color, 0xFFFFFF);
  EXPECT_EQ(model.Check, (std::array<int, 4>{}));
  EXPECT_EQ(model.Option, (std::array<bool, 4>{}));
  EXPECT_EQ(model.FontMark, pv::Mark::No);
  EXPECT_EQ(model.OptionMark[2], pv::Mark::No);
}

TEST_F(FontWindowTest, AFontTheListLacksGoesBackUnchanged) {
  Show(OneObject());
  // The current style keeps its name in a 32-character field.
  model.Apply(114, QString("Arial").leftJustified(32));
  EXPECT_EQ(model.FontText, "Arial");
  EXPECT_EQ(model.FontEntry, -1);
  EXPECT_TRUE(Batch().contains("Apply:114=\"Arial\",0,False"));
  // A listed name, padded, selects its entry.
  model.Apply(114, QString(" DejaVu Sans  "));
  EXPECT_EQ(model.FontEntry, 1);
  EXPECT_EQ(model.FontText, "DejaVu Sans");
  // The comparison keeps letter case.
  model.Apply(114, QString("verdana"));
  EXPECT_EQ(model.FontEntry, -1);
  EXPECT_EQ(model.FontText, "verdana");
}

TEST_F(FontWindowTest, AlignmentAppliesAtOnceOnlyWhenTheUserClicksWithDefault) {
  model.SetDefault(true);
  Show(OneObject());  // the editor shows "right": nothing is sent
  EXPECT_TRUE(editor.calls.isEmpty());
  model.ClickOption(3);
  ASSERT_FALSE(editor.calls.isEmpty());
  EXPECT_EQ(editor.calls.first(), "SavedDoc");
  EXPECT_TRUE(editor.calls.contains("Apply:113=True,1,False"));
  EXPECT_TRUE(editor.calls.contains("Apply:112=False,1,False"));
  EXPECT_EQ(editor.calls.last(), "Apply:0=0,0,True");
  // Without Default a click only marks.
  editor.calls.clear();
  model.SetDefault(false);
  model.ClickOption(0);
  EXPECT_TRUE(editor.calls.isEmpty());
  EXPECT_EQ(model.Option, (std::array<bool, 4>{true, false, false, false}));
  // Typing a font name with Default ticked only marks it.
  model.SetDefault(true);
  model.TypeFontName("Verdana");
  EXPECT_TRUE(editor.calls.isEmpty());
}

TEST_F(FontWindowTest, TheColourDialogSetsTheSwatchAndACancelChangesNothing) {
  Show(Several());
  colors.answers = {std::nullopt};
  EXPECT_FALSE(model.ClickColor());
  EXPECT_EQ(model.Color, 0xFFFFFF);
  EXPECT_EQ(model.ColorMark, pv::Mark::No);
  colors.answers = {QColor(0x10, 0x20, 0x30)};
  EXPECT_TRUE(model.ClickColor());
  EXPECT_EQ(colors.opened.last(), QColor(Qt::white));
  EXPECT_EQ(model.Color, 0x302010);
  EXPECT_EQ(Batch(), QStringList({"SavedDoc", "Apply:501=3153936,0,False", "Apply:0=0,0,True"}));
}

TEST_F(FontWindowTest, ValuesTakeTheEditorsTypes) {
  model.Apply(100, true);  // a True of -1 or true ticks
  model.Apply(101, -1);
  model.Apply(501, QString("65280"));
  model.Apply(201, QString("ignored"));
  model.Apply(116, 5);
  EXPECT_EQ(model.Check[0], 1);
  EXPECT_EQ(model.Check[1], 1);
  EXPECT_EQ(model.Color, 65280);
}

// The window itself: its load under the hourglass, and the controls after
// fills and clicks.
TEST_F(FontWindowTest, TheWindowLoadsUnderTheHourglassAndShowsTheModel) {
  {
    pv::FontWindow loaded(nullptr);
    EXPECT_EQ(editor.pointers, QList<int>({11, 0}));
    EXPECT_GT(loaded.fontBox()->count(), 0);
    EXPECT_EQ(loaded.windowTitle(), "Formato testo");
  }
  pv::FontWindow w(nullptr, &kFonts);
  EXPECT_EQ(w.sizeBox()->text(), "12");
  EXPECT_EQ(w.fontBox()->currentText(), "Courier New");
  w.FontApply(114, QString("Arial"));
  EXPECT_EQ(w.fontBox()->currentText(), "Arial");
  EXPECT_EQ(w.fontBox()->currentIndex(), -1);
  w.FontApply(111, true);
  EXPECT_TRUE(w.alignButton(1)->isChecked());
  w.alignButton(3)->click();
  EXPECT_FALSE(w.alignButton(1)->isChecked());
  EXPECT_TRUE(w.alignButton(3)->isChecked());
  w.styleButton(0)->click();
  EXPECT_TRUE(w.styleButton(0)->isChecked());
  w.FontApply(100, -20);
  EXPECT_FALSE(w.styleButton(0)->isChecked());
  w.applyButton()->click();
  EXPECT_EQ(editor.calls, QStringList({"SavedDoc", "Apply:111=False,0,False", "Apply:113=True,0,False",
                                       "Apply:114=\"Arial\",0,False", "Apply:115=\"12\",0,False", "Apply:0=0,0,True"}));
}

}  // namespace
