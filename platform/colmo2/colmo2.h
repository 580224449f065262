#pragma once
// Colmo2, the fill library: gradients, textures, the FillStyleCode fills and
// the bitmap painter, drawing on a device context (platform/dc.h).
//
// The exported functions are extern "C" and bound by name (Scriva2 uses
// ColmoGradient and ColmoTexture for filled text on pictures, and the fill
// brushes below for the same fills on printers; Pictor2 ColmoBitmap for
// bitmaps). Rectangles are device units, by address; colours 0x00BBGGRR.
// Opacity: 100 opaque; 0 also draws fully visible; values outside 0-100 are
// treated as opaque; 1-99 blend the fill over what is already drawn.
// Results carry nothing to rely on (1 when something was drawn, else 0).
// Bad input (null context or rectangle, an empty or inverted rectangle, an
// unknown type or number) draws nothing or a sensible default and returns.
//
// Gradient types (ColmoGradient):
//   100 horizontal, colour 1 at the left to colour 2 at the right
//   101 vertical, colour 1 at the top to colour 2 at the bottom
//   102 diagonal, colour 1 at the top-left corner to colour 2 at the bottom-right
//   103 diagonal, colour 1 at the bottom-left corner to colour 2 at the top-right
//   104 radial, colour 1 at the centre to colour 2 at the corners
//   105 rectangular, colour 1 at the centre to colour 2 at the edges
//   106 horizontal band, colour 1 at the centre line to colour 2 at top and bottom
//   any other number: 100
// One-colour flag (non-zero): colour 2 is replaced by a light tint of colour 1.
//
// Textures 1-113 (ColmoTexture) are generated in code from the number alone,
// so a number always gives the same picture; their cell size follows the
// device's resolution so screen and print look alike. A number outside
// 1-113 is taken modulo 113.

#include "platform/dc.h"

#include <QBrush>
#include <QRectF>

#include <cstdint>

class QImage;
class QPainterPath;

extern "C" {

// Fills rect with a gradient. param1 is reserved (0).
std::int32_t ColmoGradient(pv::DeviceContext* dc, pv::Colour colour1, pv::Colour colour2, const pv::Rect* rect,
                           std::int32_t type, std::int32_t param1, std::int32_t oneColour, std::int32_t opacity);

// Fills rect with texture number 1-113.
std::int32_t ColmoTexture(pv::DeviceContext* dc, const pv::Rect* rect, std::int32_t texture, std::int32_t opacity);

// The bitmap painter: draws the bitmap stretched into the placement rectangle
// (device units). size gives the part of the bitmap to use from its top-left
// corner (nullptr or non-positive = the whole bitmap). transparentColour -1
// (0xFFFFFFFF) = none, else pixels of that 0x00BBGGRR colour are left out.
// opacity as above; flags reserved (0). Pictor2 calls it as
// (dc, placement, bitmap, size, -1, 0, 0).
std::int32_t ColmoBitmap(pv::DeviceContext* dc, const pv::Rect* placement, const QImage* bitmap, const pv::Size* size,
                         std::int32_t transparentColour, std::int32_t opacity, std::int32_t flags);

}  // extern "C"

namespace pv::colmo {

// The number of textures.
inline constexpr int TextureCount = 113;

// Texture number 1-113 as an image of width x height pixels for a device of
// the given resolution (the pattern's cell size scales with it). A number
// outside 1-113 is taken modulo 113. Deterministic.
QImage TextureImage(int texture, int width, int height, int dpi = 96);

// The gradient of ColmoGradient as an image (opaque).
QImage GradientImage(Colour colour1, Colour colour2, int width, int height, int type, bool oneColour);

// One of the nineteen two-colour 8x8 brushes (1-19; others give 1), as a
// cell of 8 x 8 pixels: the ground in colour 1, the pattern in colour 2.
QImage BrushCell(int brush, Colour colour1, Colour colour2);

// Fills a device path per the FillStyleCode: 0 transparent, 1 solid colour 1,
// 2-7 the six hatches (colour 2 lines on colour 1), 8-26 the nineteen
// two-colour brushes, 27-139 textures 1-113, 140-145 one-colour and 146-151
// two-colour gradients (items 1-6 = types 100, 101, 102, 104, 105, 106).
// angleDeg turns hatches, brushes, textures and gradients with the shape
// (counter-clockwise on screen) about the centre of frame; frame is the
// unturned box of the shape in device units. Unknown codes fill nothing.
// Opacity as for the exported functions.
void FillDevicePathStyle(DeviceContext* dc, const QPainterPath& devicePath, const QRectF& frame, double angleDeg,
                         int fillStyle, Colour colour1, Colour colour2, int opacity);

// Opacity 0-100 as the fraction drawn (0 and out-of-range values give 1.0).
double OpacityFraction(int opacity);

// The box that ColmoGradient and ColmoTexture fill for rect (logical units
// of dc), in device units; false when they would fill nothing.
bool DeviceFillFrame(DeviceContext* dc, const Rect& rect, QRectF* frame);

// The fill of ColmoGradient over frame (device units) as one brush, with the
// opacity in its colours (as a PDF needs it). Type 105 is not one gradient:
// NoBrush.
QBrush GradientFillBrush(Colour colour1, Colour colour2, const QRectF& frame, int type, bool oneColour, int opacity);

// The fill of ColmoTexture over frame (device units, a device of dpi) as a
// picture brush of the cached tile, fixed to the frame's top-left corner:
// every use of one texture at one resolution shares the same picture.
QBrush TextureFillBrush(int texture, const QRectF& frame, int dpi);

}  // namespace pv::colmo
