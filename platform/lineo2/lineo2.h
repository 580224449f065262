#pragma once
// Lineo2, the shape library: pens, lines, rectangles, ellipses, chamfered
// and rounded rectangles, the fourteen generic shapes and the fifteen
// art-text envelopes, drawing on a device context (platform/dc.h) and filling
// through Colmo2 (platform/colmo2/colmo2.h).
//
// Exported extern "C", bound by name. Rectangles and points are device units,
// by address; angles are degrees, counter-clockwise as seen on the screen
// (0 to the right, 90 up), and every figure turns about the centre of its
// rectangle. Fill style = the FillStyleCode (0 transparent, 1 solid, 2-7
// hatches, 8-26 two-colour brushes, 27-139 textures 1-113, 140-145 one-colour
// and 146-151 two-colour gradients). Opacity: 100 opaque; 0 also fully
// visible; outside 0-100 opaque. Results carry nothing to rely on.
// Bad input (null context, rectangle or text, an empty or inverted
// rectangle, an unknown style, shape or fill, a huge angle) draws nothing or
// a sensible default and returns.
//
// The pen: LineoPen selects a pen into the device context that stays
// selected: later Lineo2 calls outline with it, and so do the device
// context's own line, rectangle and ellipse calls. Fills never change it.
// Styles (widths in points, scaled by the device's resolution so that screen
// and print agree; the thinnest is one device pixel at least):
//   1 hairline solid (one device pixel)      7 dash, 1 pt
//   2 solid 1 pt                             8 long dash, 1.5 pt
//   3 solid 2 pt                             9 dash-dot, 1 pt
//   4 solid 3 pt                            10 dash-dot-dot, 1 pt
//   5 solid 4.5 pt                          11 dash, 2.5 pt
//   6 dot, 1 pt                             12 solid 6 pt
//   any other style: no outline (null pen).

#include "platform/dc.h"

#include <cstdint>

extern "C" {

std::int32_t LineoPen(pv::DeviceContext* dc, std::int32_t style, pv::Colour colour);

// A line between the points with the current pen. The points are taken as
// already placed: the angle is accepted and not applied again.
std::int32_t LineoLine(pv::DeviceContext* dc, const pv::Point* p1, const pv::Point* p2, double angle);

std::int32_t LineoRectangle(pv::DeviceContext* dc, const pv::Rect* rect, double angle, std::int32_t fillStyle,
                            pv::Colour colour1, pv::Colour colour2, std::int32_t opacity);
std::int32_t LineoEllipse(pv::DeviceContext* dc, const pv::Rect* rect, double angle, std::int32_t fillStyle,
                          pv::Colour colour1, pv::Colour colour2, std::int32_t opacity);

// aspect sizes the chamfer / the corner radius, in steps of 1 to 10: the
// cut (straight, corner to corner) or the radius is aspect twentieths of the
// shorter side, so 10 reaches the middle of that side (above 10 counts as 10;
// 0 gives a plain rectangle).
std::int32_t LineoChamferRect(pv::DeviceContext* dc, const pv::Rect* rect, double aspect, double angle,
                              std::int32_t fillStyle, pv::Colour colour1, pv::Colour colour2, std::int32_t opacity);
std::int32_t LineoRoundedRect(pv::DeviceContext* dc, const pv::Rect* rect, double aspect, double angle,
                              std::int32_t fillStyle, pv::Colour colour1, pv::Colour colour2, std::int32_t opacity);

// Generic shape 200-213 (shape n = number - 200), fitted to the rectangle;
// aspect shapes the figure where it has a free proportion (arrow shaft, star
// depth, frame thickness ...) in the same steps of 1 to 10 as the corners
// above: 10 is the fullest, above 10 counts as 10, 0 gives the shape's own
// proportion. Numbers outside 200-213 draw nothing.
//   200 triangle            207 five-pointed star
//   201 right triangle      208 arrow right
//   202 diamond             209 double arrow
//   203 pentagon            210 heart
//   204 hexagon             211 speech balloon
//   205 octagon             212 cross (plus)
//   206 parallelogram       213 frame (ring)
std::int32_t LineoShape(pv::DeviceContext* dc, const pv::Rect* rect, double aspect, double angle, std::int32_t shape,
                        std::int32_t fillStyle, pv::Colour colour1, pv::Colour colour2, std::int32_t opacity);

// The text (UTF-8) in the font (UTF-8 face name; unknown faces fall back to a
// sans-serif), laid into the rectangle along art-text envelope 0-14, filled
// like a shape and outlined with the current pen. Shapes outside 0-14 are
// taken as 0.
//   0 plain (fills the box)    5 arch down          10 slant up
//   1 arch up                  6 bulge              11 slant down
//   2 wave                     7 pinch              12 perspective near
//   3 circle (top arc)         8 triangle up        13 perspective far
//   4 valley                   9 triangle down      14 double wave
std::int32_t LineoArtTextDraw(pv::DeviceContext* dc, const char* text, const char* fontName, const pv::Rect* rect,
                              double angle, std::int32_t shape, std::int32_t fillStyle, pv::Colour colour1,
                              pv::Colour colour2, std::int32_t opacity);

}  // extern "C"
