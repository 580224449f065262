#pragma once
// Device-independent bitmaps as metafile records carry them: a bitmap header
// (BITMAPINFOHEADER and its later variants, or the old BITMAPCOREHEADER), an
// optional colour table and the pixel rows. Every size is checked against the
// bytes that are actually there; a bitmap that does not fit, or that is larger
// than kMaxDibPixels, gives a null image.

#include <QImage>
#include <cstddef>
#include <cstdint>

namespace pv::pictor {

inline constexpr std::int64_t kMaxDibPixels = 64LL * 1024 * 1024;

// How the colour table is to be read: RGB quads, or indexes into the logical
// palette (which a metafile played here never has, so they read as greys).
enum class DibColors { Rgb, PaletteIndexes };

// The bitmap whose header starts at info (infoSize bytes available) and whose
// pixels start at bits (bitsSize bytes available). Rows come out top-down.
// With premultipliedAlpha a 32-bit bitmap keeps its fourth byte as
// premultiplied alpha (what an alpha-blend record holds); otherwise that byte
// is ignored and the bitmap is opaque.
QImage DecodeDib(const std::uint8_t* info, std::size_t infoSize, const std::uint8_t* bits, std::size_t bitsSize,
                 DibColors colors, bool premultipliedAlpha = false);

// A packed bitmap: the header and colour table immediately followed by the
// pixel rows, all inside size bytes.
QImage DecodePackedDib(const std::uint8_t* data, std::size_t size, DibColors colors);

}  // namespace pv::pictor
