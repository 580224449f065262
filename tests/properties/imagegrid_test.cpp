// The thumbnail grid's core: layout, hit tests, scrolling, the press and
// release rules of both variants, tags and property lets, the marks on the
// backing image.
#include "render/imagegrid.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>

#include <stdexcept>
#include <vector>

namespace {

using pv::ImageGridCore;
using pv::ImageGridVariant;

constexpr pv::Colour kCellColour = pv::Rgb(200, 220, 240);

struct Painted {
  int index;
  pv::Rect rect;
};

// Fills each cell with one light colour and records the events.
class RecordingHost : public pv::ImageGridHost {
 public:
  void PaintImage(std::int16_t Index, std::int16_t X1, std::int16_t Y1, std::int16_t X2, std::int16_t Y2,
                  pv::ImageSurface& Pic) override {
    painted.push_back({Index, pv::Rect{X1, Y1, X2, Y2}});
    pv::FillRect(Pic.dc(), pv::Rect{X1, Y1, X2, Y2}, kCellColour);
  }
  void ClickImage(std::int16_t Index) override { clicks.push_back(Index); }
  void Repaint() override { ++repaints; }

  std::vector<Painted> painted;
  std::vector<int> clicks;
  int repaints = 0;
};

struct Grid {
  explicit Grid(ImageGridVariant v) : core(v, &host) {}
  RecordingHost host;
  ImageGridCore core;

  pv::Rect Cell(int index) {
    pv::Rect r;
    EXPECT_TRUE(core.VisibleCellRect(index, r)) << index;
    return r;
  }
  void Press(int index) {
    const pv::Rect r = Cell(index);
    core.MousePress((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  }
  void Release(int index) {
    const pv::Rect r = Cell(index);
    core.MouseRelease((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  }
  // The cells whose centre does not show the host's colour.
  std::vector<int> Marked() {
    std::vector<int> out;
    for (const Painted& p : host.painted) {
      const QRgb px = core.Image().pixel((p.rect.left + p.rect.right) / 2, (p.rect.top + p.rect.bottom) / 2);
      if (px != pv::ColourToArgb(kCellColour)) out.push_back(p.index);
    }
    return out;
  }
};

TEST(ImageGridLayoutTest, ColumnsRowsOffsetsAndCornersWithTiesToEven) {
  struct Case {
    int w, h, bx, by, sx, sy;
    int cols, rows;
    double xOff, yOff;
    pv::Rect first, last;  // cells 1 and cols x rows
  };
  const std::vector<Case> cases = {
      // yOff 47.5 rounds to 48, 152.5 to 152.
      {400, 300, 100, 100, 5, 5, 3, 2, 45, 47.5, {45, 48, 145, 148}, {255, 152, 355, 252}},
      // The clip-art picker's cells.
      {400, 300, 80, 80, 12, 12, 4, 3, 22, 18, {22, 18, 102, 98}, {298, 202, 378, 282}},
      // xOff 3.5 rounds to 4, 108.5 to 108.
      // A row needs its cell and its gap: 105 high holds one.
      {212, 105, 100, 100, 5, 5, 2, 1, 3.5, 2.5, {4, 2, 104, 102}, {108, 2, 208, 102}},
      // The wizard's gaps; 7.5 to 8, 117.5 to 118.
      {225, 115, 100, 100, 10, 10, 2, 1, 7.5, 7.5, {8, 8, 108, 108}, {118, 8, 218, 108}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.w << "x" << c.h);
    const pv::ImageGridLayout l = pv::ComputeImageGridLayout(c.w, c.h, c.bx, c.by, c.sx, c.sy);
    EXPECT_EQ(l.cols, c.cols);
    EXPECT_EQ(l.rows, c.rows);
    EXPECT_DOUBLE_EQ(l.xOff, c.xOff);
    EXPECT_DOUBLE_EQ(l.yOff, c.yOff);

    Grid g(ImageGridVariant::ImageList);
    g.core.BitmapX = static_cast<std::int16_t>(c.bx);
    g.core.BitmapY = static_cast<std::int16_t>(c.by);
    g.core.SpaceX = static_cast<std::int16_t>(c.sx);
    g.core.SpaceY = static_cast<std::int16_t>(c.sy);
    g.core.Resize(c.w + 17, c.h, 17);
    const int n = c.cols * c.rows;
    ASSERT_EQ(g.host.painted.size(), static_cast<std::size_t>(n));
    const pv::Rect f = g.host.painted.front().rect, e = g.host.painted.back().rect;
    EXPECT_EQ((std::vector<int>{f.left, f.top, f.right, f.bottom}),
              (std::vector<int>{c.first.left, c.first.top, c.first.right, c.first.bottom}));
    EXPECT_EQ((std::vector<int>{e.left, e.top, e.right, e.bottom}),
              (std::vector<int>{c.last.left, c.last.top, c.last.right, c.last.bottom}));
  }
  // Too small for one cell either way, or no pitch at all.
  EXPECT_EQ(pv::ComputeImageGridLayout(91, 500, 80, 80, 12, 12).perPage(), 0);
  EXPECT_EQ(pv::ComputeImageGridLayout(500, 91, 80, 80, 12, 12).perPage(), 0);
  EXPECT_EQ(pv::ComputeImageGridLayout(500, 500, 0, 0, 0, 0).perPage(), 0);
  EXPECT_EQ(pv::ComputeImageGridLayout(212, 104, 100, 100, 5, 5).perPage(), 0);
}

TEST(ImageGridLayoutTest, HitTestsIncludeEdgesAndLeaveGapsEmpty) {
  Grid g(ImageGridVariant::ImageList);
  g.core.Resize(400 + 20, 300, 20);  // cells 45..145, 150..250; rows 48..148, 153..
  struct Case {
    int x, y, index;
  };
  const std::vector<Case> cases = {
      {45, 48, 1},   {145, 148, 1}, {146, 100, 0}, {149, 100, 0}, {150, 100, 2}, {44, 100, 0},
      {100, 150, 0}, {100, 152, 4}, {355, 252, 6}, {356, 252, 0}, {410, 100, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(g.core.CellAt(c.x, c.y), c.index) << c.x << "," << c.y;
  // Only existing cells are hit.
  g.core.nBitmap = 4;
  EXPECT_EQ(g.core.CellAt(355, 252), 0);
  EXPECT_EQ(g.core.CellAt(100, 152), 4);
}

TEST(ImageGridScrollTest, RangesPagesAndArrowStepOfRowsCells) {
  Grid g(ImageGridVariant::ImageList);
  g.core.BitmapX = g.core.BitmapY = 80;
  g.core.SpaceX = g.core.SpaceY = 12;
  g.core.nBitmap = 12;
  g.core.Resize(420, 300, 20);  // 4 x 3
  EXPECT_FALSE(g.core.Scroll().enabled);
  EXPECT_EQ(g.core.Scroll().value, 0);

  g.core.nBitmap = 13;
  g.core.Refresh();
  EXPECT_TRUE(g.core.Scroll().enabled);
  EXPECT_EQ(g.core.Scroll().maximum, 1);
  EXPECT_EQ(g.core.Scroll().smallChange, 3);
  EXPECT_EQ(g.core.Scroll().largeChange, 12);
  g.host.painted.clear();
  g.core.SetScrollValue(1);
  ASSERT_EQ(g.host.painted.size(), 12u);
  EXPECT_EQ(g.host.painted.front().index, 2);
  EXPECT_EQ(g.host.painted.back().index, 13);

  // The last page shows only the cells up to nBitmap.
  g.core.nBitmap = 30;
  g.core.Refresh();
  g.host.painted.clear();
  g.core.SetScrollValue(g.core.Scroll().smallChange);  // one arrow click: three cells
  EXPECT_EQ(g.host.painted.front().index, 4);
  g.host.painted.clear();
  g.core.SetScrollValue(100);  // clamped to the maximum
  EXPECT_EQ(g.core.Scroll().value, 18);
  EXPECT_EQ(g.host.painted.back().index, 30);

  // Refresh goes back to the first cell.
  g.core.Refresh();
  EXPECT_EQ(g.core.Scroll().value, 0);
}

// The wheel moves whole rows and keeps the cells in their columns, even from
// a value the bar's arrow step (rows, as cells) left inside a row.
TEST(ImageGridScrollTest, TheWheelMovesWholeRowsWithinTheRange) {
  Grid g(ImageGridVariant::ImageListNoBorder);
  g.core.BitmapX = g.core.BitmapY = 80;
  g.core.SpaceX = g.core.SpaceY = 12;
  g.core.nBitmap = 30;
  g.core.Resize(420, 300, 20);  // 4 x 3, maximum 18
  ASSERT_EQ(g.core.Scroll().maximum, 18);
  struct Case {
    int from;
    int rows;
    int to;
  };
  const Case cases[] = {{0, 1, 4},  {4, 2, 12}, {12, 5, 18}, {18, -1, 16}, {3, 1, 4},
                        {3, -1, 0}, {0, -1, 0}, {17, -9, 0}, {8, 0, 8}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.from << " by " << c.rows);
    g.core.SetScrollValue(c.from);
    g.host.painted.clear();
    g.core.ScrollRows(c.rows);
    EXPECT_EQ(g.core.Scroll().value, c.to);
    if (c.to != c.from) {
      ASSERT_FALSE(g.host.painted.empty());
      EXPECT_EQ(g.host.painted.front().index, c.to + 1) << "repainted from the new first cell";
    }
  }
  // Nothing to scroll: the wheel changes nothing.
  g.core.nBitmap = 12;
  g.core.Refresh();
  g.core.ScrollRows(1);
  EXPECT_EQ(g.core.Scroll().value, 0);
}

TEST(ImageGridScrollTest, EmptyGridsAndTooSmallSurfacesRaiseWhatTheyShould) {
  for (ImageGridVariant v : {ImageGridVariant::ImageList, ImageGridVariant::ImageListNoBorder}) {
    Grid g(v);
    g.core.nBitmap = 0;
    g.core.Resize(500, 300, 20);
    EXPECT_TRUE(g.host.painted.empty());
    EXPECT_EQ(g.host.repaints, v == ImageGridVariant::ImageListNoBorder ? 1 : 0);
    EXPECT_FALSE(g.core.Scroll().enabled);
    g.core.MousePress(100, 100);
    g.core.MouseRelease(100, 100);
    EXPECT_TRUE(g.host.clicks.empty());

    // Scroll state as it was, no event at all.
    g.core.nBitmap = 100;
    g.core.Refresh();
    const pv::ImageGridScroll before = g.core.Scroll();
    ASSERT_TRUE(before.enabled);
    g.host = RecordingHost{};
    g.core.Resize(60, 60, 20);
    g.core.Refresh();
    g.core.MousePress(10, 10);
    g.core.MouseRelease(10, 10);
    EXPECT_TRUE(g.host.painted.empty());
    EXPECT_EQ(g.host.repaints, 0);
    EXPECT_TRUE(g.host.clicks.empty());
    EXPECT_EQ(g.core.Scroll().maximum, before.maximum);
    EXPECT_TRUE(g.core.Scroll().enabled);
  }
}

TEST(ImageGridMouseTest, GesturesPerVariantAndMode) {
  struct Case {
    ImageGridVariant variant;
    bool selectMode;
    int press;    // 0: in a gap
    int release;  // 0: in a gap
    std::vector<int> clicks;
    int selected;
    std::vector<int> marked;
  };
  const auto L = ImageGridVariant::ImageList;
  const auto N = ImageGridVariant::ImageListNoBorder;
  // Cell 2 is selected and marked before each gesture.
  const std::vector<Case> cases = {
      {L, true, 5, 5, {5}, 5, {5}}, {L, true, 5, 6, {6}, 5, {5}}, {L, true, 5, 0, {}, 5, {5}},
      {L, true, 0, 6, {6}, 0, {2}},                                // falls back to the last press that hit (none)
      {N, true, 5, 5, {5}, 5, {5}}, {N, true, 5, 6, {6}, 6, {6}},  // the mark follows the selection
      {N, true, 5, 0, {}, 2, {2}},  {N, true, 0, 6, {6}, 6, {6}}, {L, false, 5, 5, {5}, 5, {}},
      {L, false, 5, 6, {6}, 5, {}}, {N, false, 5, 6, {6}, 6, {}}, {N, false, 0, 0, {}, 2, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << (c.variant == L ? "ImageList" : "NoBorder") << " select " << c.selectMode << " "
                                    << c.press << "->" << c.release);
    Grid g(c.variant);
    g.core.pSelectMode = c.selectMode;
    g.core.nBitmap = 12;
    g.core.Selected(2);
    g.core.Resize(440, 330, 20);  // 4 x 3 cells of 100 + gaps
    const pv::Rect gap = g.Cell(1);
    if (c.press)
      g.Press(c.press);
    else
      g.core.MousePress(gap.right + 2, gap.top + 10);
    if (c.release)
      g.Release(c.release);
    else
      g.core.MouseRelease(gap.right + 2, gap.top + 10);
    EXPECT_EQ(g.host.clicks, c.clicks);
    EXPECT_EQ(g.core.SelectedIndex(), c.selected);
    const std::vector<int> wasMarked = c.selectMode ? c.marked : std::vector<int>{};
    EXPECT_EQ(g.Marked(), wasMarked);
    // A repaint marks the selected cell (selection mode) and nothing else.
    g.host.painted.clear();
    g.core.Paint();
    const std::vector<int> afterRepaint =
        c.selectMode && c.selected >= 1 ? std::vector<int>{c.selected} : std::vector<int>{};
    EXPECT_EQ(g.Marked(), afterRepaint);
  }
}

TEST(ImageGridMarkTest, InversionTwiceRestoresAndTheBlueFrameLiesTwoPixelsOut) {
  Grid inv(ImageGridVariant::ImageList);
  inv.core.Resize(440, 330, 20);
  const QImage before = inv.core.Image().copy();
  inv.Press(3);  // click mode: marked while held
  EXPECT_EQ(inv.Marked(), std::vector<int>{3});
  inv.Release(3);
  EXPECT_EQ(inv.core.Image(), before);

  Grid frame(ImageGridVariant::ImageList);
  frame.core.EvidMode = 1;
  frame.core.pSelectMode = true;
  frame.core.Selected(6);
  frame.core.Resize(440, 330, 20);
  const pv::Rect r = frame.Cell(6);
  const QImage& img = frame.core.Image();
  const QRgb blue = qRgb(0, 0, 255), white = qRgb(255, 255, 255);
  const std::vector<QPoint> frameCorners = {{r.left - 2, r.top - 2},
                                            {r.right + 2, r.top - 2},
                                            {r.left - 2, r.bottom + 2},
                                            {r.right + 2, r.bottom + 2},
                                            {(r.left + r.right) / 2, r.top - 2},
                                            {r.left - 2, (r.top + r.bottom) / 2}};
  for (const QPoint& p : frameCorners) EXPECT_EQ(img.pixel(p), blue) << p.x() << "," << p.y();
  EXPECT_EQ(img.pixel(r.left - 1, r.top - 1), white);
  EXPECT_EQ(img.pixel(r.left - 3, r.top - 3), white);
  EXPECT_TRUE(frame.Marked().empty());  // the cell itself is untouched

  frame.Press(8);  // not a neighbour: neighbouring frames share a column in a 5-pixel gap
  const pv::Rect s = frame.Cell(8);
  for (const QPoint& p : frameCorners) EXPECT_EQ(img.pixel(p), white) << p.x() << "," << p.y();
  EXPECT_EQ(img.pixel(s.left - 2, s.top - 2), blue);
}

TEST(ImageGridPropertyTest, TagsAndLetsFailAtTheirBoundsChangingNothing) {
  ImageGridCore core(ImageGridVariant::ImageList);
  core.SetTag(7, 1024);
  core.SetTag(-3, 0);
  EXPECT_EQ(core.GetTag(1024), 7);
  EXPECT_EQ(core.GetTag(0), -3);
  EXPECT_THROW(core.SetTag(9, 1025), std::out_of_range);
  EXPECT_THROW(core.SetTag(9, -1), std::out_of_range);
  EXPECT_THROW(core.GetTag(1025), std::out_of_range);
  EXPECT_EQ(core.GetTag(1024), 7);

  struct Case {
    double value;
    bool fits;
    int stored;
  };
  const std::vector<Case> cases = {
      {32767, true, 32767},   {-32768, true, -32768}, {2.5, true, 2},    {3.5, true, 4},
      {32767.4, true, 32767}, {32767.5, false, 0},    {32768, false, 0}, {-32769, false, 0},
  };
  using Getter = double (ImageGridCore::*)() const;
  using Setter = void (ImageGridCore::*)(double);
  const std::vector<std::pair<Getter, Setter>> properties = {
      {&ImageGridCore::ImageWidth, &ImageGridCore::SetImageWidth},
      {&ImageGridCore::ImageHeight, &ImageGridCore::SetImageHeight},
      {&ImageGridCore::ImageSpaceX, &ImageGridCore::SetImageSpaceX},
      {&ImageGridCore::ImageSpaceY, &ImageGridCore::SetImageSpaceY},
      {&ImageGridCore::ImageCount, &ImageGridCore::SetImageCount},
  };
  for (const auto& [get, set] : properties) {
    for (const Case& c : cases) {
      (core.*set)(11);
      if (c.fits) {
        (core.*set)(c.value);
        EXPECT_EQ((core.*get)(), c.stored) << c.value;
      } else {
        EXPECT_THROW((core.*set)(c.value), std::overflow_error) << c.value;
        EXPECT_EQ((core.*get)(), 11);
      }
    }
  }
}

TEST(ImageGridPictureTest, ShowBitmapPaintsAFileAndFailsOnABadOne) {
  QTemporaryDir dir;
  const QString good = dir.filePath(QStringLiteral("red.bmp"));
  QImage red(4, 4, QImage::Format_RGB32);
  red.fill(qRgb(255, 0, 0));
  ASSERT_TRUE(red.save(good));
  const QString bad = dir.filePath(QStringLiteral("bad.bmp"));
  {
    QFile f(bad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a picture");
  }

  Grid g(ImageGridVariant::ImageListNoBorder);
  g.core.Resize(300, 200, 20);
  const QImage before = g.core.Image().copy();
  EXPECT_THROW(g.core.ShowBitmap(bad, 0, 0, 50, 50), std::runtime_error);
  EXPECT_THROW(g.core.ShowBitmap(dir.filePath(QStringLiteral("none.bmp")), 0, 0, 50, 50), std::runtime_error);
  EXPECT_EQ(g.core.Image(), before);
  g.core.ShowBitmap(QStringLiteral("  ") + good + QStringLiteral(" "), 10, 20, 40, 30);
  EXPECT_EQ(g.core.Image().pixel(10, 20), qRgb(255, 0, 0));
  EXPECT_EQ(g.core.Image().pixel(49, 49), qRgb(255, 0, 0));
  EXPECT_EQ(g.core.Image().pixel(50, 50), before.pixel(50, 50));
}

}  // namespace
