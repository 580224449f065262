// The metafile player: fixtures made with libuemf's writers played into an
// offscreen image, checked by their pixels.

#include "fixtures.h"
#include "libs/pictor2/metafile.h"
#include "tests/support/app_fixture.h"
#include "tests/support/pixels.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QRect>
#include <cstring>
#include <functional>

namespace fx = pictor2_fixtures;
using pv::pictor::PlayMetafile;
using pv::pictor::PlayResult;

namespace {

void App() { pv::test::EnsureGuiApplication(); }

constexpr int kSurfaceW = 220, kSurfaceH = 120;
const pv::Rect kTarget{10, 10, 210, 110};  // the frame at a fifth of its size

struct Played {
  PlayResult result;
  QImage image;
};

Played Play(const QByteArray& bytes, const pv::Rect& target = kTarget,
            const std::function<void(pv::DeviceContext*)>& before = {}) {
  App();
  pv::ImageSurface surface(kSurfaceW, kSurfaceH);
  if (before) before(surface.dc());
  const PlayResult r = PlayMetafile(surface.dc(), reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                    static_cast<std::size_t>(bytes.size()), target);
  return {r, surface.finish()};
}

using pv::test::EveryPixel;

// Colour tests, with the tolerance that smoothed edges and rounding need.
const pv::test::PixelTest White = pv::test::Near(qRgb(255, 255, 255), 10);
const pv::test::PixelTest Black = pv::test::Near(qRgb(0, 0, 0), 60);
bool IsColour(const QImage& img, int x, int y, QRgb want) { return pv::test::Near(want, 40)(img.pixel(x, y)); }
bool IsWhite(const QImage& img, int x, int y) { return White(img.pixel(x, y)); }
bool IsBlack(const QImage& img, int x, int y) { return Black(img.pixel(x, y)); }
bool AllWhite(const QImage& img) { return EveryPixel(img, img.rect(), White); }

// ---------------------------------------------------------------------------
// Frame mapping, transforms, state

TEST(PictorPlayer, FrameMapsOntoTheTarget) {
  const Played p = Play(fx::FilledFrameEmf());
  EXPECT_EQ(p.result, PlayResult::Played);
  // The target is covered, up to its edges; nothing outside it is touched.
  EXPECT_TRUE(EveryPixel(p.image, QRect(11, 11, 198, 98), Black));
  EXPECT_TRUE(EveryPixel(p.image, QRect(0, 0, kSurfaceW, 9), White));
  EXPECT_TRUE(EveryPixel(p.image, QRect(0, 111, kSurfaceW, 9), White));
  EXPECT_TRUE(EveryPixel(p.image, QRect(0, 0, 9, kSurfaceH), White));
  EXPECT_TRUE(EveryPixel(p.image, QRect(211, 0, 9, kSurfaceH), White));
}

TEST(PictorPlayer, FrameStretchesToAnyTarget) {
  const Played p = Play(fx::FilledFrameEmf(), pv::Rect{50, 20, 70, 100});
  EXPECT_TRUE(EveryPixel(p.image, QRect(51, 21, 18, 78), Black));
  EXPECT_TRUE(IsWhite(p.image, 48, 60));
  EXPECT_TRUE(IsWhite(p.image, 72, 60));
  EXPECT_TRUE(IsWhite(p.image, 60, 18));
  EXPECT_TRUE(IsWhite(p.image, 60, 102));
}

TEST(PictorPlayer, WindowViewportAndWorldTransform) {
  // Window (0,0)-(100,50) on the frame's viewport: a rectangle over the window covers the target.
  const Played mapped = Play(fx::MappedEmf());
  EXPECT_EQ(mapped.result, PlayResult::Played);
  EXPECT_TRUE(EveryPixel(mapped.image, QRect(12, 12, 196, 96), Black));
  // A world transform halving x: the left half only.
  const Played world = Play(fx::WorldTransformEmf());
  EXPECT_TRUE(EveryPixel(world.image, QRect(12, 12, 94, 96), Black));
  EXPECT_TRUE(EveryPixel(world.image, QRect(113, 12, 95, 96), White));
}

TEST(PictorPlayer, SaveRestoreBringsBackTheSelectedBrush) {
  const Played p = Play(fx::SaveRestoreEmf());
  EXPECT_EQ(p.result, PlayResult::Played);
  EXPECT_TRUE(IsColour(p.image, 110, 60, qRgb(0, 0, 255)));
}

TEST(PictorPlayer, ContextIsAsBeforeAfterAnUnbalancedFile) {
  App();
  pv::ImageSurface surface(kSurfaceW, kSurfaceH);
  pv::DeviceContext* dc = surface.dc();
  pv::SetMapMode(dc, pv::MapMode::Anisotropic);
  pv::SetWindowExt(dc, 3, 4);
  pv::SetViewportExt(dc, 6, 8);
  pv::SetWindowOrg(dc, 1, 2);
  pv::XForm xf;
  xf.dx = 7;
  pv::SetWorldTransform(dc, xf);
  pv::SelectPen(dc, pv::SolidPen(pv::Rgb(1, 2, 3), 4));
  pv::SelectBrush(dc, pv::Brush::SolidColour(pv::Rgb(4, 5, 6)));
  pv::SetTextColour(dc, pv::Rgb(7, 8, 9));
  const QTransform before = pv::LogicalToDeviceTransform(dc);
  const QByteArray bytes = fx::UnbalancedEmf();
  PlayMetafile(dc, reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size()),
               kTarget);
  EXPECT_EQ(pv::GetMapMode(dc), pv::MapMode::Anisotropic);
  EXPECT_EQ(pv::GetWindowExt(dc).cx, 3);
  EXPECT_EQ(pv::GetWindowOrg(dc).y, 2);
  EXPECT_EQ(pv::GetWorldTransform(dc).dx, 7.0f);
  EXPECT_EQ(pv::LogicalToDeviceTransform(dc), before);
  EXPECT_EQ(pv::CurrentPen(dc).colour, pv::Rgb(1, 2, 3));
  EXPECT_EQ(pv::CurrentBrush(dc).colour, pv::Rgb(4, 5, 6));
  EXPECT_EQ(pv::GetTextColour(dc), pv::Rgb(7, 8, 9));
  pv::Region clip;
  EXPECT_FALSE(pv::GetClipRegion(dc, &clip));
}

// ---------------------------------------------------------------------------
// Clipping

TEST(PictorPlayer, ClipRectangleClips) {
  const Played p = Play(fx::ClippedEmf());
  EXPECT_TRUE(EveryPixel(p.image, QRect(12, 12, 94, 96), Black));
  EXPECT_TRUE(EveryPixel(p.image, QRect(113, 12, 95, 96), White));
}

TEST(PictorPlayer, RemovingTheClipNeverEscapesTheCallersClip) {
  // The label's clip (left half of the target) stays, whatever the file does with its own.
  const Played p = Play(fx::UnclipEmf(), kTarget, [](pv::DeviceContext* dc) {
    const pv::Region left = pv::Region::FromRect(pv::Rect{10, 10, 110, 110});
    pv::SelectClipRegion(dc, &left, pv::RegionOp::Copy);
  });
  EXPECT_TRUE(IsBlack(p.image, 50, 60));
  EXPECT_TRUE(EveryPixel(p.image, QRect(112, 10, 100, 100), White));
}

// ---------------------------------------------------------------------------
// Text, bitmaps, paths, EMF+

TEST(PictorPlayer, TextLandsInsideItsBox) {
  const Played p = Play(fx::TextEmf());
  EXPECT_EQ(p.result, PlayResult::Played);
  const QRect ink = pv::test::PixelBounds(p.image, pv::test::DarkerThan(128));
  ASSERT_FALSE(ink.isEmpty());
  // Reference (100, 100), 100 units high, four letters: about x 30..110, y 30..50 on the surface.
  EXPECT_GE(ink.left(), 29);
  EXPECT_LE(ink.left(), 34);
  EXPECT_GE(ink.top(), 29);
  EXPECT_LE(ink.bottom(), 52);
  EXPECT_LE(ink.right(), 120);
  EXPECT_GE(ink.height(), 10);
}

TEST(PictorPlayer, BitmapRecordDrawsItsPixelsTheRightWayUp) {
  const Played p = Play(fx::BitmapEmf());
  EXPECT_EQ(p.result, PlayResult::Played);
  EXPECT_TRUE(IsColour(p.image, 50, 30, qRgb(255, 0, 0)));   // top left
  EXPECT_TRUE(IsColour(p.image, 170, 30, qRgb(0, 255, 0)));  // top right
  EXPECT_TRUE(IsColour(p.image, 50, 90, qRgb(0, 0, 255)));   // bottom left
  EXPECT_TRUE(IsColour(p.image, 170, 90, qRgb(255, 255, 255)));
}

TEST(PictorPlayer, FilledPathAndEmfPlusFallback) {
  const Played path = Play(fx::PathEmf());
  EXPECT_EQ(path.result, PlayResult::Played);
  EXPECT_TRUE(IsBlack(path.image, 30, 30));   // inside the triangle
  EXPECT_TRUE(IsWhite(path.image, 190, 90));  // beyond its long side
  const Played plus = Play(fx::EmfPlusDualEmf());
  EXPECT_EQ(plus.result, PlayResult::Played);
  EXPECT_TRUE(IsBlack(plus.image, 110, 60));
}

TEST(PictorPlayer, EveryRecordFamilyPlaysWhole) {
  for (const QByteArray& bytes : {fx::AllFamiliesEmf(), fx::AllFamiliesWmf()}) {
    const Played p = Play(bytes);
    EXPECT_EQ(p.result, PlayResult::Played);
    EXPECT_FALSE(AllWhite(p.image));
  }
}

// ---------------------------------------------------------------------------
// Windows metafiles

TEST(PictorPlayer, PlaceableAndStandardWmfBothDraw) {
  const QByteArray placeable = fx::PlaceableWmf();
  const QByteArray standard = fx::StandardWmf();
  ASSERT_EQ(static_cast<unsigned char>(placeable[0]), 0xD7);
  ASSERT_NE(static_cast<unsigned char>(standard[0]), 0xD7);
  EXPECT_EQ(pv::pictor::DetectMetafile(reinterpret_cast<const std::uint8_t*>(standard.constData()),
                                       static_cast<std::size_t>(standard.size())),
            pv::pictor::MetafileKind::Standard);
  for (const QByteArray& bytes : {placeable, standard}) {
    const Played p = Play(bytes);
    EXPECT_EQ(p.result, PlayResult::Played);
    EXPECT_TRUE(EveryPixel(p.image, QRect(12, 12, 196, 96), Black));
    EXPECT_TRUE(IsWhite(p.image, 5, 60));
    EXPECT_TRUE(IsWhite(p.image, 215, 60));
  }
}

// ---------------------------------------------------------------------------
// Bad input: no crash, no read outside, what is valid is drawn, failure told.

void PutU32(QByteArray& b, int off, std::uint32_t v) { std::memcpy(b.data() + off, &v, 4); }
std::uint32_t GetU32(const QByteArray& b, int off) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<std::uint8_t>(b.at(off + i));
  return v;
}
// Offset of the n-th record of the given type.
int FindRecord(const QByteArray& b, std::uint32_t type, int nth = 0) {
  int off = 0;
  while (off + 8 <= b.size()) {
    const std::uint32_t size = GetU32(b, off + 4);
    if (GetU32(b, off) == type && nth-- == 0) return off;
    if (size < 8) return -1;
    off += static_cast<int>(size);
  }
  return -1;
}

TEST(PictorPlayer, DamagedFilesDrawWhatTheyValidlyHold) {
  struct Case {
    const char* name;
    std::function<void(QByteArray&)> spoil;
  };
  const std::vector<Case> cases = {
      {"cut in the polygon", [](QByteArray& b) { b.truncate(FindRecord(b, 3) + 20); }},
      {"record size past the end", [](QByteArray& b) { PutU32(b, FindRecord(b, 3) + 4, 0x7FFFFFF0); }},
      {"record smaller than its structure", [](QByteArray& b) { PutU32(b, FindRecord(b, 3) + 4, 12); }},
      {"absurd point count", [](QByteArray& b) { PutU32(b, FindRecord(b, 3) + 24, 0x40000000); }},
      {"negative point count", [](QByteArray& b) { PutU32(b, FindRecord(b, 3) + 24, 0xFFFFFFFF); }},
      {"no end record", [](QByteArray& b) { b.truncate(FindRecord(b, 14)); }},
      {"size not a multiple of four", [](QByteArray& b) { PutU32(b, FindRecord(b, 3) + 4, 33); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QByteArray bytes = fx::LeftHalfThenMoreEmf();
    c.spoil(bytes);
    const Played p = Play(bytes);
    EXPECT_EQ(p.result, PlayResult::Damaged);
    EXPECT_TRUE(IsBlack(p.image, 50, 60));  // the fill before the damage is drawn
  }
}

TEST(PictorPlayer, DamagedBitmapsAndCountsDrawNothingOfThemselves) {
  struct Case {
    const char* name;
    std::function<void(QByteArray&)> spoil;
  };
  const int dib = FindRecord(fx::BitmapEmf(), 81);
  ASSERT_GT(dib, 0);
  const std::vector<Case> cases = {
      {"huge bitmap",
       [&](QByteArray& b) {
         PutU32(b, dib + 84, 100000);
         PutU32(b, dib + 88, 100000);
       }},
      {"bitmap offset outside", [&](QByteArray& b) { PutU32(b, dib + 48, 0xFFFFFFF0); }},
      {"bitmap bits too short", [&](QByteArray& b) { PutU32(b, dib + 60, 4); }},
      {"bad colour depth", [&](QByteArray& b) { PutU32(b, dib + 80 + 12, 0x00070001); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QByteArray bytes = fx::BitmapEmf();
    c.spoil(bytes);
    const Played p = Play(bytes);
    EXPECT_EQ(p.result, PlayResult::Damaged);
  }
}

TEST(PictorPlayer, NotAMetafileDrawsNothing) {
  const std::vector<QByteArray> inputs = {
      QByteArray(),
      QByteArray("BM\x36\0\0\0", 6),
      QByteArray(300, 'x'),
      fx::FilledFrameEmf().left(60),                             // a header cut short
      QByteArray("\xD7\xCD\xC6\x9A", 4) + QByteArray(30, '\0'),  // placeable key, no header after it
  };
  for (const QByteArray& bytes : inputs) {
    const Played p = Play(bytes);
    EXPECT_EQ(p.result, PlayResult::NotMetafile);
    EXPECT_TRUE(AllWhite(p.image));
  }
}

TEST(PictorPlayer, DamagedWmfRecords) {
  QByteArray bytes = fx::StandardWmf();
  // Cut inside the rectangle record (the last but one): the chain ends there.
  QByteArray cut = bytes.left(bytes.size() - 10);
  EXPECT_EQ(Play(cut).result, PlayResult::Damaged);
  // A polygon whose point count runs past its record.
  QByteArray poly = fx::AllFamiliesWmf();
  for (int off = 18; off + 8 <= poly.size();) {
    const std::uint32_t words = GetU32(poly, off);
    if ((static_cast<unsigned char>(poly[off + 4]) | (static_cast<unsigned char>(poly[off + 5]) << 8)) == 0x0324) {
      poly[off + 6] = 0x7F;
      poly[off + 7] = 0x7F;
      break;
    }
    if (words < 3) break;
    off += static_cast<int>(2 * words);
  }
  EXPECT_EQ(Play(poly).result, PlayResult::Damaged);
}

}  // namespace
