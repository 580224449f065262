#pragma once
// Scriva2, the text drawing library (libscriva2.so.2).
//
// Draws word-wrapped, aligned, rotated text into a rectangle of a device
// context (ScrivaDraw), or uses the laid-out text as a mask through which a
// gradient or texture of Colmo2 is blended onto the device context with an
// opacity (ScrivaDrawEx). One process-wide renderer holds the settings; every
// setter changes one of them and they stay in force from call to call.
//
// Boundary: the device context is the drawing layer's handle; rect is the
// caller's rectangle (left, top, right, bottom, device units), which both draw
// calls shrink in place by the margin; text and face names are UTF-8;
// colours are 0x00BBGGRR; flags are on when their low byte is non-zero.
// Nothing allocated here is handed to the caller; there are no callbacks.
//
// Alignment codes: 20 left, 21 right, 22 centre, 23 justified.

#include "platform/dc.h"

#include <cstdint>

#if defined(SCRIVA2_BUILDING)
#define SCRIVA2_API __attribute__((visibility("default")))
#else
#define SCRIVA2_API
#endif

extern "C" {

// Draws the text. angle: degrees, counter-clockwise on screen, about the
// rectangle's centre. Result carries no information.
SCRIVA2_API std::int32_t ScrivaDraw(pv::DeviceContext* dc, const char* text, pv::Rect* rect, double angle,
                                    std::int32_t alignment);

// Draws the text filled with Colmo2's gradient (fillStyle, texture 0) or
// texture (texture 1-113) blended by opacity (0-100; 0 and 100 lay the fill
// on unblended). Result carries no information.
SCRIVA2_API std::int32_t ScrivaDrawEx(pv::DeviceContext* dc, const char* text, pv::Rect* rect, double angle,
                                      std::int32_t alignment, std::int32_t fillStyle, std::int32_t texture,
                                      std::int32_t opacity);

// Face name, cut at 31 characters. Result carries nothing to rely on.
SCRIVA2_API std::int32_t ScrivaFontName(const char* faceName);

// Font height in device units: positive the cell height, negative the
// character height. Heights above 32767 are ignored. Returns the argument.
SCRIVA2_API std::int32_t ScrivaFontSize(std::int32_t size);

// Flag setters: keep the low byte of the argument and return it.
SCRIVA2_API std::int32_t ScrivaSetBold(std::int32_t flag);
SCRIVA2_API std::int32_t ScrivaSetItalic(std::int32_t flag);
SCRIVA2_API std::int32_t ScrivaSetUnderline(std::int32_t flag);
SCRIVA2_API std::int32_t ScrivaSetStrike(std::int32_t flag);
SCRIVA2_API std::int32_t ScrivaSetTransparent(std::int32_t flag);
SCRIVA2_API std::int32_t ScrivaSetAntialiased(std::int32_t flag);
SCRIVA2_API std::int32_t ScrivaSafeDC(std::int32_t flag);

// Colour setters: return the argument.
SCRIVA2_API std::int32_t ScrivaSetForeColor(std::int32_t colour);
SCRIVA2_API std::int32_t ScrivaSetBackColor(std::int32_t colour);

// Line spacing factor; the line advance uses its whole part.
SCRIVA2_API void ScrivaSetInterline(double factor);

// Inner margin in device units (1 or more; smaller values are ignored).
// Returns the argument.
SCRIVA2_API std::int32_t ScrivaSetMargin(std::int32_t margin);

// The two parameters passed on to Colmo2's gradient and the inverse flag
// (fill around the glyphs). Result carries nothing to rely on.
SCRIVA2_API std::int32_t ScrivaSetFillParameter(std::int32_t param1, std::int32_t param2, std::int32_t inverse);

}  // extern "C"
