#pragma once
// Small helpers of the drawing tests: an application object for fonts, and
// pixel questions about a finished picture.

#include "platform/dc.h"
#include "tests/support/app_fixture.h"

#include <QGuiApplication>
#include <QImage>
#include <QRect>


namespace dctest {

inline void EnsureApp() { pv::test::EnsureGuiApplication(); }

inline pv::Colour At(const QImage& img, int x, int y) { return pv::FromQColor(img.pixelColor(x, y)); }

// Pixels of exactly colour c inside the rectangle (x, y, w, h).
inline int Count(const QImage& img, pv::Colour c, int x0 = 0, int y0 = 0, int w = -1, int h = -1) {
  if (w < 0) w = img.width() - x0;
  if (h < 0) h = img.height() - y0;
  int n = 0;
  for (int y = y0; y < y0 + h; ++y)
    for (int x = x0; x < x0 + w; ++x)
      if (At(img, x, y) == c) ++n;
  return n;
}

// Pixels that differ from c anywhere outside the rectangle l..r-1 x t..b-1.
inline int ChangedOutside(const QImage& img, pv::Colour c, int l, int t, int r, int b) {
  int n = 0;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x)
      if ((x < l || x >= r || y < t || y >= b) && At(img, x, y) != c) ++n;
  return n;
}

// Pixels that differ between two pictures of the same size.
inline int Differing(const QImage& a, const QImage& b) {
  int n = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (At(a, x, y) != At(b, x, y)) ++n;
  return n;
}

// Bounding box (inclusive) of the pixels of colour c, or an invalid QRect.
inline QRect BoxOf(const QImage& img, pv::Colour c) {
  QRect box;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x)
      if (At(img, x, y) == c) box = box.united(QRect(x, y, 1, 1));
  return box;
}

inline constexpr pv::Colour kWhite = pv::Rgb(255, 255, 255);
inline constexpr pv::Colour kBlack = pv::Rgb(0, 0, 0);
inline constexpr pv::Colour kRed = pv::Rgb(255, 0, 0);
inline constexpr pv::Colour kGreen = pv::Rgb(0, 255, 0);
inline constexpr pv::Colour kBlue = pv::Rgb(0, 0, 255);

}  // namespace dctest
