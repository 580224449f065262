#include "libs/pictor2/dib.h"

#include <QByteArray>
#include <QImageReader>
#include <QBuffer>
#include <algorithm>
#include <bit>
#include <cstring>
#include <vector>

namespace pv::pictor {
namespace {

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitfields = 3;
constexpr std::uint32_t kBiJpeg = 4;
constexpr std::uint32_t kBiPng = 5;
constexpr std::uint32_t kBiAlphaBitfields = 6;

std::uint32_t U32(const std::uint8_t* p) {
  std::uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}
std::uint16_t U16(const std::uint8_t* p) {
  std::uint16_t v;
  std::memcpy(&v, p, 2);
  return v;
}

// One channel out of a bit-field pixel, scaled to 0..255.
struct Channel {
  std::uint32_t mask = 0;
  int shift = 0;
  std::uint32_t max = 0;
  explicit Channel(std::uint32_t m) : mask(m) {
    if (mask != 0) {
      shift = std::countr_zero(mask);
      max = mask >> shift;
    }
  }
  int Get(std::uint32_t px) const {
    if (mask == 0 || max == 0) return 0;
    return static_cast<int>((static_cast<std::uint64_t>((px & mask) >> shift) * 255 + max / 2) / max);
  }
};

QImage DecodeCompressed(const std::uint8_t* bits, std::size_t bitsSize, std::int64_t width, std::int64_t height) {
  QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(bits), static_cast<qsizetype>(bitsSize));
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer);
  const QSize size = reader.size();
  if (!size.isValid() || static_cast<std::int64_t>(size.width()) * size.height() > kMaxDibPixels) return {};
  (void)width;
  (void)height;
  QImage image = reader.read();
  if (image.isNull()) return {};
  return image.convertToFormat(QImage::Format_ARGB32);
}

}  // namespace

QImage DecodeDib(const std::uint8_t* info, std::size_t infoSize, const std::uint8_t* bits, std::size_t bitsSize,
                 DibColors colors, bool premultipliedAlpha) {
  if (info == nullptr || infoSize < 12) return {};
  const std::uint32_t headerSize = U32(info);
  std::int64_t width = 0;
  std::int64_t height = 0;
  std::uint32_t bitCount = 0;
  std::uint32_t compression = kBiRgb;
  std::uint32_t clrUsed = 0;
  std::size_t entrySize = 4;
  std::size_t tableOffset = 0;
  std::uint32_t masks[4] = {0, 0, 0, 0};
  bool haveMasks = false;

  if (headerSize == 12) {
    width = U16(info + 4);
    height = static_cast<std::int16_t>(U16(info + 6));
    bitCount = U16(info + 10);
    entrySize = 3;
    tableOffset = 12;
  } else if (headerSize >= 40 && headerSize <= infoSize) {
    width = static_cast<std::int32_t>(U32(info + 4));
    height = static_cast<std::int32_t>(U32(info + 8));
    bitCount = U16(info + 14);
    compression = U32(info + 16);
    clrUsed = U32(info + 32);
    tableOffset = headerSize;
    if (compression == kBiBitfields || compression == kBiAlphaBitfields) {
      const std::size_t count = compression == kBiAlphaBitfields ? 4 : 3;
      if (headerSize >= 40 + 4 * count) {
        for (std::size_t i = 0; i < count; ++i) masks[i] = U32(info + 40 + 4 * i);
      } else {
        // The masks follow a plain info header, ahead of any colour table.
        if (infoSize < 40 + 4 * count) return {};
        for (std::size_t i = 0; i < count; ++i) masks[i] = U32(info + 40 + 4 * i);
        tableOffset = 40 + 4 * count;
      }
      haveMasks = true;
    }
  } else {
    return {};
  }

  if (compression == kBiJpeg || compression == kBiPng) {
    if (bits == nullptr || bitsSize == 0) return {};
    return DecodeCompressed(bits, bitsSize, width, height);
  }
  if (compression != kBiRgb && !haveMasks) return {};  // run-length and other codings
  if (width <= 0 || height == 0) return {};
  const bool bottomUp = height > 0;
  const std::int64_t rows = bottomUp ? height : -height;
  if (width > 65535 || rows > 65535 || width * rows > kMaxDibPixels) return {};
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32) return {};
  if (haveMasks && bitCount != 16 && bitCount != 32) return {};

  // Colour table, for up to 8 bits a pixel. Entries that the record does not
  // hold read as black.
  std::vector<QRgb> table;
  if (bitCount <= 8) {
    const std::size_t full = std::size_t{1} << bitCount;
    std::size_t count = clrUsed != 0 && clrUsed < full ? clrUsed : full;
    table.assign(full, qRgb(0, 0, 0));
    for (std::size_t i = 0; i < count; ++i) {
      if (colors == DibColors::PaletteIndexes) {
        const std::size_t off = tableOffset + 2 * i;
        if (off + 2 > infoSize) break;
        const int g = static_cast<int>((U16(info + off) * 255u) / (full - 1 == 0 ? 1 : full - 1)) & 0xFF;
        table[i] = qRgb(g, g, g);
      } else {
        const std::size_t off = tableOffset + entrySize * i;
        if (off + entrySize > infoSize) break;
        table[i] = qRgb(info[off + 2], info[off + 1], info[off]);
      }
    }
  }

  const std::int64_t stride = ((width * bitCount + 31) / 32) * 4;
  if (bits == nullptr || stride * rows > static_cast<std::int64_t>(bitsSize)) return {};

  const bool alpha = premultipliedAlpha && bitCount == 32 && !haveMasks;
  QImage image(static_cast<int>(width), static_cast<int>(rows),
               alpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
  if (image.isNull()) return {};

  if (!haveMasks && bitCount == 16) {
    masks[0] = 0x7C00;
    masks[1] = 0x03E0;
    masks[2] = 0x001F;
  }
  const Channel red(masks[0]), green(masks[1]), blue(masks[2]);

  for (std::int64_t y = 0; y < rows; ++y) {
    const std::uint8_t* src = bits + (bottomUp ? rows - 1 - y : y) * stride;
    auto* dst = reinterpret_cast<QRgb*>(image.scanLine(static_cast<int>(y)));
    for (std::int64_t x = 0; x < width; ++x) {
      QRgb c = 0;
      switch (bitCount) {
        case 1: c = table[(src[x >> 3] >> (7 - (x & 7))) & 1]; break;
        case 4: c = table[(src[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F]; break;
        case 8: c = table[src[x]]; break;
        case 16: {
          const std::uint32_t px = U16(src + 2 * x);
          c = qRgb(red.Get(px), green.Get(px), blue.Get(px));
          break;
        }
        case 24: c = qRgb(src[3 * x + 2], src[3 * x + 1], src[3 * x]); break;
        case 32:
          if (haveMasks) {
            const std::uint32_t px = U32(src + 4 * x);
            c = qRgb(red.Get(px), green.Get(px), blue.Get(px));
          } else if (alpha) {
            const int a = src[4 * x + 3];
            c = qRgba(std::min<int>(src[4 * x + 2], a), std::min<int>(src[4 * x + 1], a), std::min<int>(src[4 * x], a),
                      a);
          } else {
            c = qRgb(src[4 * x + 2], src[4 * x + 1], src[4 * x]);
          }
          break;
        default: break;
      }
      dst[x] = c;
    }
  }
  return image;
}

QImage DecodePackedDib(const std::uint8_t* data, std::size_t size, DibColors colors) {
  if (data == nullptr || size < 12) return {};
  const std::uint32_t headerSize = U32(data);
  std::size_t tableBytes = 0;
  if (headerSize == 12) {
    const std::uint32_t bitCount = U16(data + 10);
    if (bitCount <= 8) tableBytes = 3 * (std::size_t{1} << std::min<std::uint32_t>(bitCount, 8));
  } else if (headerSize >= 40 && headerSize <= size) {
    const std::uint32_t bitCount = U16(data + 14);
    const std::uint32_t compression = U32(data + 16);
    const std::uint32_t clrUsed = U32(data + 32);
    const std::size_t entry = colors == DibColors::PaletteIndexes ? 2 : 4;
    if (bitCount <= 8) {
      const std::size_t full = std::size_t{1} << std::min<std::uint32_t>(bitCount, 8);
      tableBytes = entry * (clrUsed != 0 && clrUsed < full ? clrUsed : full);
    } else if (clrUsed != 0 && clrUsed <= 65536) {
      tableBytes = entry * clrUsed;
    }
    if (headerSize == 40 && compression == kBiBitfields) tableBytes += 12;
    if (headerSize == 40 && compression == kBiAlphaBitfields) tableBytes += 16;
  } else {
    return {};
  }
  const std::size_t bitsOffset = headerSize + tableBytes;
  if (bitsOffset > size) return {};
  return DecodeDib(data, bitsOffset, data + bitsOffset, size - bitsOffset, colors);
}

}  // namespace pv::pictor
