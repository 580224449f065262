#pragma once
// Metafile fixtures made with libuemf's writers: every EMF here has a
// reference device of 10 pixels per millimetre and a frame of kFrameW x
// kFrameH reference pixels (100 mm x 50 mm), drawn in MM_TEXT units unless a
// fixture sets another mapping.

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <map>

namespace pictor2_fixtures {

inline constexpr int kFrameW = 1000;
inline constexpr int kFrameH = 500;

// 0x00BBGGRR
inline constexpr std::uint32_t kBlack = 0x000000, kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000,
                               kWhite = 0xFFFFFF;

QByteArray FilledFrameEmf(std::uint32_t colour = kBlack);
// An EMF whose header frame is (0, 0, width, height) in 0.01 mm.
QByteArray FrameOnlyEmf(int width001mm, int height001mm);
// Clip to the left half, then fill the whole frame.
QByteArray ClippedEmf();
// Select no clip (RGN_COPY with no region), then fill the whole frame.
QByteArray UnclipEmf();
// "HHHH" in black, 100 units high, top-left at (100, 100).
QByteArray TextEmf();
// A 2 x 2 bitmap (top row red, green; bottom row blue, white) stretched over
// the whole frame.
QByteArray BitmapEmf();
// The anisotropic mapping: window (0,0)-(100,50) onto the viewport of the
// frame, then a rectangle over the window.
QByteArray MappedEmf();
// A world transform halving x, then a fill of the whole frame.
QByteArray WorldTransformEmf();
// Blue brush selected, SaveDC, red brush selected, RestoreDC(-1), then a fill.
QByteArray SaveRestoreEmf();
// Unbalanced: SaveDC twice, RestoreDC(-7), a mapping mode and a world
// transform left set at the end.
QByteArray UnbalancedEmf();
// A triangle through a path, filled.
QByteArray PathEmf();
// An EMF+ comment record ahead of the EMF records that draw the picture.
QByteArray EmfPlusDualEmf();
// One record of each family the player draws.
QByteArray AllFamiliesEmf();
// A fill of the left half, then records that can be cut or spoilt.
QByteArray LeftHalfThenMoreEmf();

// A label picture of about `records` records: filled and outlined polygons,
// polylines, ellipses and text in a few colours.
QByteArray ManyRecordsEmf(int records);

// Windows metafiles: a black rectangle over the window (0,0)-(200,100).
QByteArray PlaceableWmf();
QByteArray StandardWmf();
// One record of each family, standard header.
QByteArray AllFamiliesWmf();

// Every fixture above by file name (the fuzz corpus).
std::map<QString, QByteArray> AllFixtures();

}  // namespace pictor2_fixtures
