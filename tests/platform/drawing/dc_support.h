#pragma once
// Small helpers of the drawing tests: an application object for fonts, and
// pixel questions about a finished picture.

#include "platform/dc.h"
#include "tests/support/app_fixture.h"
#include "tests/support/pixels.h"

#include <QGuiApplication>
#include <QImage>
#include <QRect>

namespace dctest {

inline void EnsureApp() { pv::test::EnsureGuiApplication(); }

inline pv::Colour At(const QImage& img, int x, int y) { return pv::FromQColor(img.pixelColor(x, y)); }

// The colour test "exactly c".
inline pv::test::PixelTest Is(pv::Colour c) { return pv::test::Exactly(pv::ToQColor(c).rgb()); }

// Pixels of exactly colour c inside the rectangle (x, y, w, h).
inline int Count(const QImage& img, pv::Colour c, int x0 = 0, int y0 = 0, int w = -1, int h = -1) {
  if (w < 0) w = img.width() - x0;
  if (h < 0) h = img.height() - y0;
  return pv::test::CountPixels(img, QRect(x0, y0, w, h), Is(c));
}

// Pixels that differ from c anywhere outside the rectangle l..r-1 x t..b-1.
inline int ChangedOutside(const QImage& img, pv::Colour c, int l, int t, int r, int b) {
  const pv::test::PixelTest changed = pv::test::Except(pv::ToQColor(c).rgb());
  return pv::test::CountPixels(img, img.rect(), changed) -
         pv::test::CountPixels(img, QRect(l, t, r - l, b - t), changed);
}

// Pixels that differ between two pictures of the same size.
inline int Differing(const QImage& a, const QImage& b) { return pv::test::DifferingPixels(a, b); }

// Bounding box (inclusive) of the pixels of colour c, or an invalid QRect.
inline QRect BoxOf(const QImage& img, pv::Colour c) { return pv::test::PixelBounds(img, Is(c)); }

inline constexpr pv::Colour kWhite = pv::Rgb(255, 255, 255);
inline constexpr pv::Colour kBlack = pv::Rgb(0, 0, 0);
inline constexpr pv::Colour kRed = pv::Rgb(255, 0, 0);
inline constexpr pv::Colour kGreen = pv::Rgb(0, 255, 0);
inline constexpr pv::Colour kBlue = pv::Rgb(0, 0, 255);

}  // namespace dctest
