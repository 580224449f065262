// The line window against a recording editor and recording drawing
// libraries: the marks each fill gives, the batches, the slider that the
// fill places without touching the aspect, and the style previews.
#include "properties/linewindow.h"
#include "properties/windows/linewindowwidget.h"
#include "tests/properties/popup_recorder.h"
#include "tests/properties/render_recorder.h"
#include "tests/support/app_fixture.h"

#include <gtest/gtest.h>

namespace {

using proptest::AnsweringColorDialog;
using proptest::RecordingEditor;
using proptest::RecordingRender;

class LineWindowTest : public pv::test::AppFixture {
 protected:
  void SetUp() override {
    AppFixture::SetUp();
    pv::SetPopUpEditor(&editor);
    pv::SetColorDialogHost(&colors);
    pv::SetRenderLibraries(&render);
  }
  QStringList Batch() {
    editor.calls.clear();
    model.Command1_Click();
    return editor.calls;
  }
  RecordingEditor editor;
  AnsweringColorDialog colors;
  RecordingRender render;
  pv::LineWindowModel model;
};

struct LineCase {
  const char* name;
  std::int16_t mode;
  bool defaultBox;
  std::function<void(pv::LineWindowModel&, AnsweringColorDialog&)> user;
  QStringList sent;  // between SavedDoc and the end
};

void PrintTo(const LineCase& c, std::ostream* os) { *os << c.name; }

class LineBatchTest : public LineWindowTest, public ::testing::WithParamInterface<LineCase> {};

TEST_P(LineBatchTest, SendsWhatIsNotMarkedNo) {
  const LineCase& c = GetParam();
  model.Apply(255, QVariant(5), c.mode == 1 ? 3 : 0, c.mode);
  model.SetDefault(c.defaultBox);
  if (c.user) c.user(model, colors);
  EXPECT_EQ(Batch(), proptest::ExpectedBatch(c.sent, c.defaultBox));
}

INSTANTIATE_TEST_SUITE_P(
    Modes, LineBatchTest,
    ::testing::Values(
        LineCase{
            "OneObject", 1, false, nullptr, {"Apply:401=255,%D,False", "Apply:402=5,%D,False", "Apply:403=3,%D,False"}},
        LineCase{"OneObjectDefault",
                 1,
                 true,
                 nullptr,
                 {"Apply:401=255,%D,False", "Apply:402=5,%D,False", "Apply:403=3,%D,False"}},
        LineCase{"Nothing", -10, false, nullptr, {"Apply:401=255,%D,False", "Apply:402=5,%D,False"}},
        LineCase{"NothingSliderMoved",
                 -10,
                 true,
                 [](pv::LineWindowModel& m, AnsweringColorDialog&) { m.MoveSlider(4); },
                 {"Apply:401=255,%D,False", "Apply:402=5,%D,False", "Apply:403=4,%D,False"}},
        LineCase{"Several", -20, false, nullptr, {}},
        LineCase{"SeveralStyle12",
                 -20,
                 false,
                 [](pv::LineWindowModel& m, AnsweringColorDialog&) { m.ClickImage(12); },
                 {"Apply:402=12,%D,False"}},
        LineCase{"SeveralColour",
                 -20,
                 false,
                 [](pv::LineWindowModel& m, AnsweringColorDialog& d) {
                   d.answers = {QColor(255, 0, 0)};
                   m.ClickColor();
                 },
                 {"Apply:401=255,%D,False"}},
        LineCase{"SeveralColourCancelled",
                 -20,
                 false,
                 [](pv::LineWindowModel& m, AnsweringColorDialog& d) {
                   d.answers = {std::nullopt};
                   m.ClickColor();
                 },
                 {}}),
    [](const ::testing::TestParamInfo<LineCase>& i) { return std::string(i.param.name); });

TEST_F(LineWindowTest, StoredValuesBeyondSixteenBitsAreClampedNotWrapped) {
  model.Apply(0, QVariant(qint64(65537)), 70000, 1);
  EXPECT_EQ(model.LineStyle, 32767);
  EXPECT_EQ(model.Aspect, 32767);
  model.Apply(0, QVariant(-70000), -65535, 1);
  EXPECT_EQ(model.LineStyle, -32768);
  EXPECT_EQ(model.Aspect, -32768);
  model.Apply(0, QVariant(0), 0, 1);  // no style: no cell
  EXPECT_EQ(model.Grid().SelectedIndex(), -1);
  model.Apply(0, QVariant(7), 0, 1);
  EXPECT_EQ(model.Grid().SelectedIndex(), 7);
}

TEST_F(LineWindowTest, TheSliderPlacedByTheFillLeavesTheAspect) {
  pv::LineWindow w(nullptr);
  w.LineeApply(0, QVariant(2), 0, 1);
  EXPECT_EQ(w.slider()->value(), 1);
  EXPECT_TRUE(w.slider()->isEnabled());
  EXPECT_EQ(w.model().Aspect, 0);
  w.LineeApply(0, QVariant(2), 25, 1);
  EXPECT_EQ(w.slider()->value(), 10);
  EXPECT_EQ(w.model().Aspect, 25);
  // The user's move is taken.
  w.slider()->setValue(4);
  EXPECT_EQ(w.model().Aspect, 4);
  EXPECT_EQ(w.model().AspectMark, pv::Mark::Yes);
  w.LineeApply(0, QVariant(2), 0, -20);
  EXPECT_EQ(w.model().AspectMark, pv::Mark::No);
}

TEST_F(LineWindowTest, MidHeightRoundsHalvesToEven) {
  EXPECT_EQ(pv::MidPixel(10, 30), 20);
  EXPECT_EQ(pv::MidPixel(10, 31), 20);  // 20.5
  EXPECT_EQ(pv::MidPixel(11, 32), 22);  // 21.5
  EXPECT_EQ(pv::MidPixel(0, 1), 0);
}

TEST_F(LineWindowTest, EachCellShowsItsStyleInTheWindowsColourInsideABlackFrame) {
  model.Apply(0x0000FF, QVariant(3), 1, 1);
  pv::ImageSurface pic(120, 40);
  render.calls.clear();
  model.PaintImage(7, 10, 5, 90, 26, pic);
  EXPECT_EQ(render.calls, QStringList({"Pen:2,0", "Pen:7,255", "Line:15,16-85,16@0"}));
  const QImage image = pic.finish();
  EXPECT_EQ(QColor(image.pixel(10, 5)), QColor(Qt::black));
  EXPECT_EQ(QColor(image.pixel(90, 26)), QColor(Qt::black));
  EXPECT_EQ(QColor(image.pixel(50, 26)), QColor(Qt::black));
  EXPECT_EQ(QColor(image.pixel(50, 10)), QColor(Qt::white));

  // The whole grid: twelve cells, each framed and drawn in its style.
  model.Grid().Resize(220, 200, 16);
  render.calls.clear();
  model.Grid().Paint();
  EXPECT_EQ(render.calls.filter("Pen:2,0").size(), 12);
  for (int i = 1; i <= 12; ++i) EXPECT_TRUE(render.calls.contains(QStringLiteral("Pen:%1,255").arg(i))) << i;
}

}  // namespace
