// The fill window against a recording editor and recording drawing
// libraries: codes to kinds and marks, cells to codes, the kind change, the
// batches after fills and the user's changes, and the previews of each kind.
#include "properties/fillwindow.h"
#include "properties/windows/fillwindowwidget.h"
#include "tests/properties/popup_recorder.h"
#include "tests/properties/render_recorder.h"
#include "tests/support/app_fixture.h"

#include <gtest/gtest.h>

namespace {

using proptest::AnsweringColorDialog;
using proptest::RecordingEditor;
using proptest::RecordingRender;

constexpr std::int32_t kRed = 0x0000FF;
constexpr std::int32_t kBlue = 0xFF0000;

class FillWindowTest : public pv::test::AppFixture {
 protected:
  void SetUp() override {
    AppFixture::SetUp();
    pv::SetPopUpEditor(&editor);
    pv::SetColorDialogHost(&colors);
    pv::SetRenderLibraries(&render);
    model.Grid().Resize(300, 200, 16);
  }
  QStringList Batch() {
    editor.calls.clear();
    model.Command1_Click();
    return editor.calls;
  }
  RecordingEditor editor;
  AnsweringColorDialog colors;
  RecordingRender render;
  pv::FillWindowModel model;
};

struct CodeCase {
  std::int64_t before;  // the code shown first
  std::int64_t code;
  int kind;
  pv::Mark mark;
  int pending;  // the code "Applica" would send
};

void PrintTo(const CodeCase& c, std::ostream* os) { *os << c.before << " then " << c.code; }

class FillCodeTest : public FillWindowTest, public ::testing::WithParamInterface<CodeCase> {};

TEST_P(FillCodeTest, ACodeShowsItsKindAndMark) {
  const CodeCase& c = GetParam();
  model.Apply(static_cast<std::int32_t>(c.before), kRed, kBlue, 60);
  model.Apply(static_cast<std::int32_t>(c.code), kRed, kBlue, 60);
  EXPECT_EQ(model.FillKind, c.kind);
  EXPECT_EQ(model.FillMark, c.mark);
  EXPECT_EQ(model.FillStyle, c.pending);
  EXPECT_EQ(model.Grid().SelectedIndex(), -1);
  EXPECT_EQ(model.Grid().nBitmap, pv::FillKindOf(c.kind).cells);
}

using M = pv::Mark;
INSTANTIATE_TEST_SUITE_P(Codes, FillCodeTest,
                         ::testing::Values(CodeCase{30, 0, 0, M::Yes, 0}, CodeCase{30, 1, 1, M::Yes, 1},
                                           CodeCase{0, 2, 6, M::No, 2}, CodeCase{0, 7, 6, M::No, 2},
                                           CodeCase{0, 8, 7, M::No, 8}, CodeCase{0, 26, 7, M::No, 8},
                                           CodeCase{0, 27, 5, M::No, 27}, CodeCase{0, 139, 5, M::No, 27},
                                           CodeCase{0, 140, 2, M::No, 140}, CodeCase{0, 145, 2, M::No, 140},
                                           CodeCase{0, 146, 3, M::No, 146}, CodeCase{0, 151, 3, M::No, 146},
                                           // Outside the table: kind and mark stay.
                                           CodeCase{30, 152, 5, M::No, 27}, CodeCase{30, -1, 5, M::No, 27},
                                           CodeCase{30, 65537, 5, M::No, 27}, CodeCase{0, 65537, 0, M::Yes, 0},
                                           CodeCase{146, 65538, 3, M::No, 146}, CodeCase{146, -65535, 3, M::No, 146}));

struct CellCase {
  int kind;
  int cell;
  int code;
  std::int32_t colour1, colour2;  // after the click (preset pairs for kind 4)
};

void PrintTo(const CellCase& c, std::ostream* os) { *os << "kind " << c.kind << " cell " << c.cell; }

class FillCellTest : public FillWindowTest, public ::testing::WithParamInterface<CellCase> {};

TEST_P(FillCellTest, ACellGivesItsCode) {
  const CellCase& c = GetParam();
  model.Apply(146, kRed, kBlue, 60);
  model.ChooseKind(c.kind);
  model.ClickImage(static_cast<std::int16_t>(c.cell));
  EXPECT_EQ(model.FillStyle, c.code);
  EXPECT_EQ(model.FillMark, M::Yes);
  EXPECT_EQ(model.BackColor1, c.colour1);
  EXPECT_EQ(model.Backcolor2, c.colour2);
}

constexpr std::int32_t Rgb(int r, int g, int b) { return static_cast<std::int32_t>(pv::Rgb(r, g, b)); }

INSTANTIATE_TEST_SUITE_P(Cells, FillCellTest,
                         ::testing::Values(CellCase{2, 1, 140, kRed, kBlue}, CellCase{2, 6, 145, kRed, kBlue},
                                           CellCase{3, 1, 146, kRed, kBlue}, CellCase{3, 6, 151, kRed, kBlue},
                                           CellCase{4, 1, 146, Rgb(255, 255, 30), Rgb(200, 150, 150)},
                                           CellCase{4, 12, 146, Rgb(30, 255, 255), Rgb(50, 150, 255)},
                                           CellCase{4, 13, 147, Rgb(255, 255, 30), Rgb(200, 150, 150)},
                                           CellCase{4, 19, 147, Rgb(0, 0, 250), Rgb(120, 0, 50)},
                                           CellCase{4, 24, 147, Rgb(30, 255, 255), Rgb(50, 150, 255)},
                                           CellCase{5, 1, 27, kRed, kBlue}, CellCase{5, 113, 139, kRed, kBlue},
                                           CellCase{6, 3, 4, kRed, kBlue}, CellCase{7, 19, 26, kRed, kBlue}));

TEST_F(FillWindowTest, TheKindChangeSetsSliderOpacityCellsAndLayout) {
  struct Row {
    int kind;
    bool slider;
    int opacity;
    int layout;
    int cells;
    int swatches;
  };
  const Row rows[] = {{0, false, 100, 2, 0, 0}, {1, false, 100, 1, 0, 1}, {2, true, 60, 0, 6, 1},
                      {3, true, 60, 0, 6, 2},   {4, true, 60, 0, 24, 0},  {5, true, 60, 0, 113, 0},
                      {6, false, 100, 0, 6, 1}, {7, false, 100, 0, 19, 2}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.kind);
    model.Apply(150, kRed, kBlue, 60);
    model.ChooseKind(r.kind);
    EXPECT_EQ(model.SliderEnabled, r.slider);
    EXPECT_EQ(model.Transparence, r.opacity);
    EXPECT_EQ(model.Slider, r.opacity);
    EXPECT_EQ(model.LayoutMode, r.layout);
    EXPECT_EQ(model.Grid().nBitmap, r.cells);
    EXPECT_EQ(pv::FillKindOf(r.kind).swatches, r.swatches);
    EXPECT_EQ(model.FillStyle, pv::FillKindOf(r.kind).code);
    // A kind the user picks that puts the opacity at 100 sends it.
    EXPECT_EQ(model.OpacityMark, r.slider ? M::No : M::Yes);
  }
  pv::FillLayout l{};
  ASSERT_TRUE(pv::FillLayoutOf(0, l));
  EXPECT_EQ(l.buttonsTop, 277);
  EXPECT_EQ(l.height, 327);
  EXPECT_TRUE(l.gridVisible);
  ASSERT_TRUE(pv::FillLayoutOf(2, l));
  EXPECT_EQ(l.buttonsTop, 47);
  EXPECT_FALSE(l.gridVisible);
  EXPECT_FALSE(pv::FillLayoutOf(3, l));
}

struct FillBatchCase {
  const char* name;
  std::int32_t code;
  bool defaultBox;
  std::function<void(pv::FillWindowModel&, AnsweringColorDialog&)> user;
  QStringList sent;
};

void PrintTo(const FillBatchCase& c, std::ostream* os) { *os << c.name; }

class FillBatchTest : public FillWindowTest, public ::testing::WithParamInterface<FillBatchCase> {};

TEST_P(FillBatchTest, SendsTheMarkedValues) {
  const FillBatchCase& c = GetParam();
  model.Apply(c.code, kRed, kBlue, 60);
  model.SetDefault(c.defaultBox);
  if (c.user) c.user(model, colors);
  EXPECT_EQ(Batch(), proptest::ExpectedBatch(c.sent, c.defaultBox));
}

using U = std::function<void(pv::FillWindowModel&, AnsweringColorDialog&)>;
INSTANTIATE_TEST_SUITE_P(
    Batches, FillBatchTest,
    ::testing::Values(FillBatchCase{"TwoColourGradientUntouched", 148, false, nullptr, {}},
                      FillBatchCase{"TransparentSendsItsCode", 0, false, nullptr, {"Apply:500=0,%D,False"}},
                      FillBatchCase{"TextureClicked",
                                    148,
                                    true,
                                    U([](pv::FillWindowModel& m, AnsweringColorDialog&) {
                                      m.ChooseKind(5);
                                      m.ClickImage(10);
                                    }),
                                    {"Apply:500=36,%D,False"}},
                      FillBatchCase{
                          "PresetPair",
                          148,
                          false,
                          U([](pv::FillWindowModel& m, AnsweringColorDialog&) {
                            m.ChooseKind(4);
                            m.ClickImage(13);
                          }),
                          {"Apply:500=147,%D,False", "Apply:501=2031615,%D,False", "Apply:502=9869000,%D,False"}},
                      FillBatchCase{"SliderMoved",
                                    148,
                                    true,
                                    U([](pv::FillWindowModel& m, AnsweringColorDialog&) { m.MoveSlider(35); }),
                                    {"Apply:503=35,%D,False"}},
                      FillBatchCase{"SecondColourChosen",
                                    148,
                                    false,
                                    U([](pv::FillWindowModel& m, AnsweringColorDialog& d) {
                                      d.answers = {QColor(0, 255, 0)};
                                      m.ClickColor(1);
                                    }),
                                    {"Apply:502=65280,%D,False"}},
                      FillBatchCase{"ColourCancelled",
                                    148,
                                    false,
                                    U([](pv::FillWindowModel& m, AnsweringColorDialog& d) {
                                      d.answers = {std::nullopt};
                                      m.ClickColor(0);
                                    }),
                                    {}},
                      FillBatchCase{"HatchKindThenCell",
                                    3,
                                    false,
                                    U([](pv::FillWindowModel& m, AnsweringColorDialog&) {
                                      m.ChooseKind(6);
                                      m.ClickImage(3);
                                    }),
                                    {"Apply:500=4,%D,False", "Apply:503=100,%D,False"}},
                      FillBatchCase{"SolidThenTwoColoursWithoutACell",
                                    1,
                                    false,
                                    U([](pv::FillWindowModel& m, AnsweringColorDialog&) { m.ChooseKind(3); }),
                                    {"Apply:500=146,%D,False"}}),
    [](const ::testing::TestParamInfo<FillBatchCase>& i) { return std::string(i.param.name); });

TEST_F(FillWindowTest, EachKindPreviewsItsCellsThroughTheLibraries) {
  struct Row {
    int kind;
    int cell;
    QString call;
    bool framed;
  };
  const QString rect = "10,20,50,60";
  const Row rows[] = {
      {2, 4, "Gradient:" + rect + " 255,16711680 type 104 0 1 100", true},
      {3, 6, "Gradient:" + rect + " 255,16711680 type 106 0 0 100", true},
      {4, 2,
       QStringLiteral("Gradient:%1 %2,%3 type 100 0 0 100").arg(rect).arg(Rgb(0, 250, 250)).arg(Rgb(50, 150, 100)),
       true},
      {4, 14,
       QStringLiteral("Gradient:%1 %2,%3 type 101 0 0 100").arg(rect).arg(Rgb(0, 250, 250)).arg(Rgb(50, 150, 100)),
       true},
      {5, 77, "Texture:" + rect + " 77 100", true},
      {6, 2, "Rectangle:" + rect + "@0 fill 3 255,16711680 100", false},
      {7, 19, "Rectangle:" + rect + "@0 fill 26 255,16711680 100", false},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.kind);
    model.Apply(146, kRed, kBlue, 60);
    model.ChooseKind(r.kind);
    pv::ImageSurface pic(80, 80);
    render.calls.clear();
    model.PaintImage(static_cast<std::int16_t>(r.cell), 10, 20, 50, 60, pic);
    EXPECT_EQ(render.calls, QStringList{r.call});
    const QImage image = pic.finish();
    EXPECT_EQ(QColor(image.pixel(10, 20)) == QColor(Qt::black), r.framed);
  }
  // A full page of textures: one call per visible cell, numbered from 1.
  model.ChooseKind(5);
  render.calls.clear();
  model.Grid().Paint();
  const int visible = model.Grid().Layout().perPage();
  ASSERT_GT(visible, 0);
  EXPECT_EQ(render.calls.size(), std::min(visible, 113));
  EXPECT_TRUE(render.calls.first().endsWith(" 1 100"));
}

TEST_F(FillWindowTest, TheWindowFollowsTheKind) {
  pv::FillWindow w(nullptr);
  w.FillApply(0, kRed, kBlue, 40);
  EXPECT_EQ(w.kindList()->currentText(), "Trasparente");
  EXPECT_TRUE(w.grid()->isHidden());
  EXPECT_TRUE(w.swatch(0)->isHidden());
  EXPECT_FALSE(w.slider()->isEnabled());
  EXPECT_EQ(w.slider()->value(), 100);
  EXPECT_EQ(w.height(), 97);
  w.FillApply(148, kRed, kBlue, 40);
  EXPECT_EQ(w.kindList()->currentText(), "Gradiente 2 colori");
  EXPECT_FALSE(w.grid()->isHidden());
  EXPECT_FALSE(w.swatch(1)->isHidden());
  EXPECT_EQ(w.swatchLabel()->text(), "Colori gradienti :");
  EXPECT_EQ(w.slider()->value(), 40);
  EXPECT_EQ(w.model().OpacityMark, M::No);  // the fill placed it
  EXPECT_EQ(w.height(), 327);
  w.slider()->setValue(70);
  EXPECT_EQ(w.model().Transparence, 70);
  EXPECT_EQ(w.model().OpacityMark, M::Yes);
}

}  // namespace
