#pragma once
// Device-independent bitmaps as metafile records carry them: a bitmap header
// (BITMAPINFOHEADER and its later variants, or the old BITMAPCOREHEADER), an
// optional colour table and the pixel rows. Every size is checked against the
// bytes that are actually there; a bitmap that does not fit, or that is larger
// than kMaxDibPixels, gives a null image.

#include <QImage>
#include <cstddef>
#include <cstdint>
#include <map>
#include <utility>

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

// The bitmaps of one metafile's records as decoded, by the record's offset in
// the metafile and the way it was decoded. Played again, the metafile draws
// the very same images: no decoding per play, and a PDF holds each picture
// once however many labels show it. Valid only for the bytes it was filled
// from; it keeps up to kBudgetBytes of pixels.
class DibCache {
 public:
  static constexpr std::int64_t kBudgetBytes = 64LL * 1024 * 1024;

  // The image kept for the key, or a null image.
  QImage Find(std::size_t offset, std::uint32_t variant) const {
    const auto it = m_images.find({offset, variant});
    return it == m_images.end() ? QImage() : it->second;
  }
  // Keeps a decoded image while the budget allows.
  void Keep(std::size_t offset, std::uint32_t variant, const QImage& image) {
    if (image.isNull() || m_used + image.sizeInBytes() > kBudgetBytes) return;
    if (m_images.emplace(std::make_pair(offset, variant), image).second) m_used += image.sizeInBytes();
  }

 private:
  std::map<std::pair<std::size_t, std::uint32_t>, QImage> m_images;
  std::int64_t m_used = 0;
};

}  // namespace pv::pictor
