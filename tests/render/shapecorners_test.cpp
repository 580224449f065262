// The corners of the chamfered and the rounded rectangle as a user sees
// them: drawn by the real shape library on the editor's path and on the
// print path, at the aspect a new shape takes.
#include "fakes.h"

#include <cmath>

using namespace pvtest;

namespace {

constexpr pv::Colour kInk = pv::Rgb(40, 40, 160);

class ShapeCorners : public RenderTest {
 protected:
  void SetUp() override {
    RenderTest::SetUp();
    m_real = pv::SetRenderLibraries(nullptr);  // the shape library itself
  }
  void TearDown() override {
    pv::SetRenderLibraries(m_real);
    RenderTest::TearDown();
  }

  // A filled shape of the kind in one colour, at the aspect of new shapes.
  pv::ObjectRecord& AddShape(std::int16_t kind, float cx, float cy, float w, float h) {
    pv::ObjectRecord& r = AddBox(kind, cx, cy, w, h);
    r.Aspect = 4;
    r.FillStyle = 1;
    r.Color1 = r.Color2 = r.LineColor = kInk;
    r.LineStyle = 2;
    return r;
  }

 private:
  pv::RenderLibraries* m_real = nullptr;
};

// The top-left corner of the shape drawn in the box (l, t, r, b): the
// first inked column of each row from the top down to the depth the
// corner's cut or radius reaches.
struct Corner {
  std::vector<int> firstInk;  // per row from the top edge
  int inkedInCorner = 0;      // inked pixels in the corner's square
};

bool Inked(const QImage& img, int x, int y) { return qGray(img.pixel(x, y)) < 200; }

Corner ReadCorner(const QImage& img, const pv::Rect& box, int depth) {
  Corner c;
  for (int y = box.top; y < box.top + depth; ++y) {
    int x = box.left;
    while (x < box.right && !Inked(img, x, y)) ++x;
    c.firstInk.push_back(x - box.left);
    for (int i = box.left; i < box.left + depth; ++i) c.inkedInCorner += Inked(img, i, y);
  }
  return c;
}

// Along a straight cut the boundary steps one column per row; x + y stays
// put. Over the cut less its ends, where it meets the sides.
int Bend(const Corner& c) {
  const int n = int(c.firstInk.size());
  int lo = 1 << 30, hi = -(1 << 30);
  for (int y = n / 8; y < 7 * n / 8; ++y) {
    lo = std::min(lo, c.firstInk[std::size_t(y)] + y);
    hi = std::max(hi, c.firstInk[std::size_t(y)] + y);
  }
  return hi - lo;
}

TEST_F(ShapeCorners, ChamferIsCutStraightByTheAspectAndDiffersFromTheRoundedCorner) {
  // The same object on each path: 50 x 30 mm, 12 mm from the label's corner.
  struct Path {
    const char* name;
    int dpi;
    bool screen;
  };
  for (const Path& path : {Path{"editor", 96, true}, Path{"preview", 96, false}, Path{"printer", 600, false}}) {
    SCOPED_TRACE(path.name);
    const double perMm = path.dpi / 25.4;
    const auto px = [&](double mm) { return int(std::lround(mm * perMm)); };
    const pv::Rect box{px(12), px(12), px(62), px(42)};
    const int side = box.bottom - box.top;  // the shorter side
    // Aspect 4 of 10: the cut, and the radius, take a fifth of the shorter side.
    const int cut = side / 5;
    Corner corners[2];
    for (int k = 0; k < 2; ++k) {
      const std::int16_t kind = k == 0 ? pv::UserTypeChamferedRect : pv::UserTypeRoundedRect;
      pv::ResetDocumentState();
      pv::Header.LabelWidth = 80;
      pv::Header.LabelHeight = 60;
      pv::ObjectRecord& r = AddShape(kind, 37, 27, 50, 30);
      pv::ImageSurface surface(px(80), px(60), path.dpi, path.dpi);
      if (path.screen) {
        DrawOnScreen(surface.dc(), r, box);
      } else {
        pv::Rect label{0, 0, px(80), px(60)};
        DrawLabel(surface.dc(), label, path.dpi == 96);
      }
      const QImage img = surface.finish();
      ASSERT_TRUE(Inked(img, (box.left + box.right) / 2, (box.top + box.bottom) / 2));
      corners[k] = ReadCorner(img, box, cut);
    }
    const Corner& chamfer = corners[0];
    const Corner& rounded = corners[1];
    // The cut starts a fifth of the side in along the top edge and reaches
    // the left edge a fifth of the side down, in a straight line.
    const int slack = std::max(2, cut / 12);
    EXPECT_NEAR(chamfer.firstInk.front(), cut, slack);
    EXPECT_NEAR(chamfer.firstInk[std::size_t(cut / 2)], cut / 2, slack);
    EXPECT_LE(Bend(chamfer), 2);
    // A quarter circle bends and fills more of the corner's square.
    EXPECT_GT(Bend(rounded), std::max(3, cut / 8));
    EXPECT_GT(rounded.inkedInCorner, chamfer.inkedInCorner + cut * cut / 8);
  }
}

}  // namespace
