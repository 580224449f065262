// The art-text window against a recording editor and recording drawing
// libraries: the style table, the starting font, the previews (always in
// Arial) and the batch before and after a style was clicked.
#include "properties/arttextwindow.h"
#include "properties/windows/arttextwindowwidget.h"
#include "tests/properties/popup_recorder.h"
#include "tests/properties/render_recorder.h"
#include "tests/support/app_fixture.h"

#include <gtest/gtest.h>

namespace {

using proptest::RecordingEditor;
using proptest::RecordingRender;

class ArtTextTest : public pv::test::AppFixture {
 protected:
  void SetUp() override {
    AppFixture::SetUp();
    pv::SetPopUpEditor(&editor);
    pv::SetRenderLibraries(&render);
  }
  RecordingEditor editor;
  RecordingRender render;
};

constexpr std::int32_t C(int r, int g, int b) { return static_cast<std::int32_t>(pv::Rgb(r, g, b)); }

TEST_F(ArtTextTest, TheStyleTableEntryByEntry) {
  const std::int32_t k = C(0, 0, 0), w = C(255, 255, 255);
  const pv::ArtTextStyle expected[21] = {{0, 0, 0, 0},
                                         {35, 0, C(255, 0, 0), w},
                                         {1, 0, C(155, 155, 255), C(155, 155, 255)},
                                         {75, 0, k, w},
                                         {140, 1, k, w},
                                         {140, 2, C(255, 255, 0), w},
                                         {65, 3, k, w},
                                         {66, 4, k, w},
                                         {140, 5, C(255, 0, 255), C(255, 0, 255)},
                                         {67, 6, k, w},
                                         {140, 7, k, w},
                                         {140, 8, C(255, 0, 0), w},
                                         {58, 9, k, w},
                                         {75, 10, k, w},
                                         {44, 11, k, w},
                                         {45, 12, k, w},
                                         {63, 13, k, w},
                                         {9, 14, k, w},
                                         {34, 0, k, w},
                                         {45, 7, k, w},
                                         {15, 8, k, w}};
  for (int i = 0; i <= 20; ++i) {
    SCOPED_TRACE(i);
    const pv::ArtTextStyle& s = pv::ArtTextStyleOf(i);
    EXPECT_EQ(s.fill, expected[i].fill);
    EXPECT_EQ(s.shape, expected[i].shape);
    EXPECT_EQ(s.colour1, expected[i].colour1);
    EXPECT_EQ(s.colour2, expected[i].colour2);
  }
}

TEST_F(ArtTextTest, TheListStartsOnTheLastArialElseTheFirst) {
  struct Row {
    QStringList fonts;
    int start;
  };
  const Row rows[] = {
      {{"DejaVu Sans", "Arial", "Verdana"}, 1},
      {{"arial", "DejaVu Sans", "  ARIAL  ", "Verdana"}, 2},
      {{"Arial Black", "Arial Narrow", "Verdana"}, 0},
      {{"DejaVu Sans", "Verdana"}, 0},
      {{}, -1},
  };
  for (const Row& r : rows) EXPECT_EQ(pv::ArtTextStartFont(r.fonts), r.start) << r.fonts.join('|').toStdString();
}

TEST_F(ArtTextTest, PreviewsDrawTheSampleInArialWhateverFontIsChosen) {
  pv::ArtTextWindowModel m;
  m.Load({"DejaVu Sans", "Verdana"});
  QStringList before, after;
  for (int choice : {0, 1}) {
    m.ChooseFont(choice);
    pv::ImageSurface pic(260, 100);
    render.calls.clear();
    m.PaintImage(4, 10, 20, 210, 80, pic);
    (choice == 0 ? before : after) = render.calls;
    const QImage image = pic.finish();
    // The frame one pixel outside the cell.
    EXPECT_EQ(QColor(image.pixel(9, 19)), QColor(Qt::black));
    EXPECT_EQ(QColor(image.pixel(210, 50)), QColor(Qt::black));
    EXPECT_EQ(QColor(image.pixel(100, 80)), QColor(Qt::black));
    EXPECT_EQ(QColor(image.pixel(100, 50)), QColor(Qt::white));
  }
  EXPECT_EQ(before, after);
  EXPECT_EQ(
      before,
      QStringList({QStringLiteral("ArtText:\"Nuovo testo\" ARIAL 10,20,210,80@0 shape 1 fill 140 0,%1 0").arg(0xFFFFFF),
                   "Pen:2,0"}));
}

TEST_F(ArtTextTest, BeforeAStyleIsClickedOnlyTheFontGoes) {
  pv::ArtTextWindowModel m;
  m.Load({"DejaVu Sans", "Arial"});
  m.Command1_Click();
  EXPECT_EQ(editor.calls, QStringList({"SavedDoc", "Apply:601=\"Arial\",0,True"}));
  editor.calls.clear();
  m.ClickImage(4);
  m.ChooseFont(0);
  m.Command1_Click();
  EXPECT_EQ(editor.calls, QStringList({"SavedDoc", "Apply:601=\"DejaVu Sans\",0,False", "Apply:602=1,0,False",
                                       "Apply:603=140,0,False", "Apply:604=0,0,False", "Apply:605=16777215,0,True"}));
}

TEST_F(ArtTextTest, TheWindowLoadsUnderTheHourglass) {
  pv::ArtTextWindow w(nullptr);
  EXPECT_EQ(editor.pointers, QList<int>({11, 0}));
  EXPECT_EQ(w.windowTitle(), "Testo grafico");
  EXPECT_EQ(w.fontList()->currentIndex(), w.model().FontEntry);
  EXPECT_EQ(w.model().Grid().nBitmap, 20);
}

}  // namespace
