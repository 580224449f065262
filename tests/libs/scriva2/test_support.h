#pragma once
// Helpers of the Scriva2 tests: a settings reset, a font like the one the
// library makes, and the ink of a drawing.

#include "libs/scriva2/scriva2.h"
#include "platform/dc.h"
#include "tests/support/app_fixture.h"
#include "tests/support/pixels.h"

#include <QGuiApplication>
#include <QImage>
#include <QRect>
#include <QString>

namespace scriva2_test {

inline const char* kFace = "Liberation Sans";

// A GUI application for fonts, made once for the test process.
inline void EnsureApp() { pv::test::EnsureGuiApplication(); }

// Settings back to a known plain style (the library keeps them between calls).
inline void PlainStyle(int height = 40) {
  ScrivaFontName(kFace);
  ScrivaFontSize(height);
  ScrivaSetBold(0);
  ScrivaSetItalic(0);
  ScrivaSetUnderline(0);
  ScrivaSetStrike(0);
  ScrivaSetForeColor(0);
  ScrivaSetBackColor(0);
  ScrivaSetTransparent(1);
  ScrivaSetAntialiased(1);
  ScrivaSetInterline(1.0);
  ScrivaSetMargin(1);
  ScrivaSafeDC(0);
  ScrivaSetFillParameter(0, 0, 0);
}

// The font the library makes for ScrivaDraw with PlainStyle.
inline pv::Font PlainFont(int height = 40, int weight = 400) {
  pv::Font f;
  f.face = QString::fromUtf8(kFace);
  f.height = height;
  f.weight = weight;
  return f;
}

// Width of text in that font on a 96-dpi surface.
inline int TextWidth(const QString& text, int height = 40, int weight = 400) {
  pv::ImageSurface s(8, 8);
  pv::SelectFont(s.dc(), PlainFont(height, weight));
  return pv::GetTextExtent(s.dc(), text).cx;
}

inline int CellHeight(int height = 40) {
  pv::ImageSurface s(8, 8);
  pv::SelectFont(s.dc(), PlainFont(height));
  return pv::GetTextMetrics(s.dc()).height;
}

// The box of the pixels that differ from background (null when none).
inline QRect InkBox(const QImage& image, QRgb background = qRgb(255, 255, 255), QRect area = QRect()) {
  return pv::test::PixelBounds(image, area.isNull() ? image.rect() : area, pv::test::Except(background));
}

inline bool HasInk(const QImage& image, QRect area) { return !InkBox(image, qRgb(255, 255, 255), area).isNull(); }

// ScrivaDraw on a fresh white surface; returns the picture.
inline QImage DrawText(const char* text, pv::Rect rect, double angle = 0, int alignment = 20, int w = 400,
                       int h = 300) {
  pv::ImageSurface s(w, h);
  ScrivaDraw(s.dc(), text, &rect, angle, alignment);
  return s.finish().convertToFormat(QImage::Format_RGB32);
}

// The band of rows [top, top + height) of image, as an image.
inline QImage Band(const QImage& image, int top, int height) { return image.copy(0, top, image.width(), height); }

}  // namespace scriva2_test
