#pragma once
// Pictor2, the picture library: metafiles played into a rectangle of a device
// context, the aspect of an enhanced metafile's frame, and bitmaps handed to
// the fill library's bitmap painter. Twelve exported functions over one
// process-wide renderer; the eight that the program does not use are stubs
// with a fixed result.
//
// Across the boundary: the device context of platform/dc.h, rectangles by
// address (left, top, right, bottom, read and not changed), file names as
// NUL-terminated UTF-8 paths owned by the caller, colours 0x00BBGGRR. A BOOL
// result is 1 (TRUE) or 0 (FALSE). Nothing allocated on one side is freed on
// the other.

#include "platform/dc.h"

#include <cstdint>

class QImage;

extern "C" {

// The bitmap (its whole size) through the fill library's bitmap painter into
// placement. TRUE.
std::int32_t PictorRender(pv::DeviceContext* target, const QImage* bitmap, const pv::Rect* placement);
std::int32_t PictorRenderEx(std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                            std::int32_t);                                                               // FALSE
std::int32_t PictorRenderAlphaEx(std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t);  // FALSE
std::int32_t PictorRenderWMF(std::int32_t, std::int32_t);                                                // TRUE
std::int32_t PictorRenderFile(std::int32_t, std::int32_t, std::int32_t);                                 // FALSE
std::int32_t PictorRenderFileEx(std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                                std::int32_t);  // FALSE
std::int32_t PictorProcessingBitmap(std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                                    std::int32_t);  // 0
// Plays an enhanced metafile, or a Windows metafile (placeable or standard),
// stretched into rect; the context is as before afterwards. TRUE when the
// file was played whole; FALSE when it cannot be read, is not a metafile, or
// is damaged (then what it validly holds is drawn).
std::int32_t PictorRenderMetaFile(pv::DeviceContext* dc, const pv::Rect* rect, const char* fileName);
std::int32_t PictorRenderMetaFileEx(std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                                    std::int32_t);  // FALSE
// Keeps the mask colour (used by nothing) and returns it.
pv::Colour PictorSetMaskColor(pv::Colour colour);
std::int32_t PictorRenderFileFast(std::int32_t, std::int32_t, std::int32_t);  // FALSE
// Height / width of an enhanced metafile's frame; 1.0 for anything else and
// whenever either side of the frame is not positive.
double PictorImageAspect(const char* fileName);

}  // extern "C"
