#pragma once
// Questions about the pixels of a finished picture, for every test that
// looks at what was drawn: how many pixels of an area pass a colour test,
// whether all do, the box of those that do, how many colours an area holds.
// Colours are compared on red, green and blue; alpha is ignored.
#include <QImage>
#include <QRect>
#include <QRgb>
#include <QSet>

#include <algorithm>
#include <cstdlib>
#include <functional>

namespace pv::test {

// A test on one pixel's colour.
using PixelTest = std::function<bool(QRgb)>;

// Exactly the colour c.
inline PixelTest Exactly(QRgb c) {
  return [c](QRgb p) { return (p & 0xFFFFFFu) == (c & 0xFFFFFFu); };
}
// Any colour but c.
inline PixelTest Except(QRgb c) {
  return [c](QRgb p) { return (p & 0xFFFFFFu) != (c & 0xFFFFFFu); };
}
// Each channel within tolerance of c's.
inline PixelTest Near(QRgb c, int tolerance) {
  return [c, tolerance](QRgb p) {
    return std::abs(qRed(p) - qRed(c)) <= tolerance && std::abs(qGreen(p) - qGreen(c)) <= tolerance &&
           std::abs(qBlue(p) - qBlue(c)) <= tolerance;
  };
}
// A grey level (qGray) below grey.
inline PixelTest DarkerThan(int grey) {
  return [grey](QRgb p) { return qGray(p) < grey; };
}

// How many pixels of area (clipped to the image) pass the test.
inline int CountPixels(const QImage& img, const QRect& area, const PixelTest& test) {
  const QRect r = area.intersected(img.rect());
  int n = 0;
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x) n += test(img.pixel(x, y)) ? 1 : 0;
  return n;
}

// How many pixels of the whole image pass the test.
inline int CountPixels(const QImage& img, const PixelTest& test) { return CountPixels(img, img.rect(), test); }

// Every pixel of area passes the test (an area off the image fails).
inline bool EveryPixel(const QImage& img, const QRect& area, const PixelTest& test) {
  return !area.isEmpty() && img.rect().contains(area) && CountPixels(img, area, test) == area.width() * area.height();
}

// The smallest rectangle holding every pixel of area (clipped to the image)
// that passes the test; null when none does.
inline QRect PixelBounds(const QImage& img, const QRect& area, const PixelTest& test) {
  const QRect r = area.intersected(img.rect());
  int left = r.right() + 1, top = r.bottom() + 1, right = r.left() - 1, bottom = r.top() - 1;
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x)
      if (test(img.pixel(x, y))) {
        left = std::min(left, x);
        top = std::min(top, y);
        right = std::max(right, x);
        bottom = std::max(bottom, y);
      }
  if (right < left) return QRect();
  return QRect(QPoint(left, top), QPoint(right, bottom));
}
inline QRect PixelBounds(const QImage& img, const PixelTest& test) { return PixelBounds(img, img.rect(), test); }

// How many different colours area (clipped to the image) holds.
inline int DistinctColours(const QImage& img, const QRect& area) {
  const QRect r = area.intersected(img.rect());
  QSet<QRgb> colours;
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x) colours.insert(img.pixel(x, y) & 0xFFFFFFu);
  return static_cast<int>(colours.size());
}

// How many pixels of area (clipped to both pictures) differ in colour
// between two pictures.
inline int DifferingPixels(const QImage& a, const QImage& b, const QRect& area) {
  const QRect r = area.intersected(a.rect()).intersected(b.rect());
  int n = 0;
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x) n += (a.pixel(x, y) & 0xFFFFFFu) != (b.pixel(x, y) & 0xFFFFFFu) ? 1 : 0;
  return n;
}
// The same over two whole pictures of the same size.
inline int DifferingPixels(const QImage& a, const QImage& b) { return DifferingPixels(a, b, a.rect()); }

}  // namespace pv::test
