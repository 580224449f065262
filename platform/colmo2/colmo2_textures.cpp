// Colmo2: the 113 textures, generated from their number alone. Every texture
// is a seamless tile (the noise and the waves are periodic over the tile), so
// fills of any size repeat it without seams. Sixteen families of seven
// colourings each (textures 1-112) and a parchment (113).

#include "platform/colmo2/colmo2.h"
#include "platform/colmo2/colmo2_internal.h"
#include "platform/recentcache.h"

#include <QImage>

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace pv::colmo {

namespace {

constexpr double kTau = 6.283185307179586;

std::uint32_t Hash(std::uint32_t x, std::uint32_t y, std::uint32_t seed) {
  std::uint32_t h = x * 374761393u + y * 668265263u + seed * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  return h ^ (h >> 16);
}

double Lattice(int x, int y, int period, std::uint32_t seed) {
  const int px = ((x % period) + period) % period;
  const int py = ((y % period) + period) % period;
  return Hash(static_cast<std::uint32_t>(px), static_cast<std::uint32_t>(py), seed) / 4294967295.0;
}

// Periodic value noise: u, v in tile units [0, 1), period lattice cells per tile.
double Noise(double u, double v, int period, std::uint32_t seed) {
  const double x = u * period;
  const double y = v * period;
  const int ix = static_cast<int>(std::floor(x));
  const int iy = static_cast<int>(std::floor(y));
  const double fx = x - ix;
  const double fy = y - iy;
  const double sx = fx * fx * (3 - 2 * fx);
  const double sy = fy * fy * (3 - 2 * fy);
  const double a = Lattice(ix, iy, period, seed);
  const double b = Lattice(ix + 1, iy, period, seed);
  const double c = Lattice(ix, iy + 1, period, seed);
  const double d = Lattice(ix + 1, iy + 1, period, seed);
  return (a + (b - a) * sx) + ((c + (d - c) * sx) - (a + (b - a) * sx)) * sy;
}

double Fbm(double u, double v, int period, int octaves, std::uint32_t seed) {
  double sum = 0, amp = 0.5, norm = 0;
  for (int o = 0; o < octaves; ++o) {
    sum += amp * Noise(u, v, period << o, seed + static_cast<std::uint32_t>(o) * 101u);
    norm += amp;
    amp *= 0.5;
  }
  return sum / norm;
}

// Anisotropic periodic noise (different periods along u and v).
double Noise2(double u, double v, int pu, int pv, std::uint32_t seed) {
  const double x = u * pu;
  const double y = v * pv;
  const int ix = static_cast<int>(std::floor(x));
  const int iy = static_cast<int>(std::floor(y));
  const double fx = x - ix, fy = y - iy;
  const double sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
  auto L = [&](int a, int b) {
    const int qa = ((a % pu) + pu) % pu;
    const int qb = ((b % pv) + pv) % pv;
    return Hash(static_cast<std::uint32_t>(qa), static_cast<std::uint32_t>(qb), seed) / 4294967295.0;
  };
  const double a = L(ix, iy), b = L(ix + 1, iy), c = L(ix, iy + 1), d = L(ix + 1, iy + 1);
  const double top = a + (b - a) * sx, bot = c + (d - c) * sx;
  return top + (bot - top) * sy;
}

// Periodic cellular noise: distances to the nearest and second feature point.
void Cells(double u, double v, int period, std::uint32_t seed, double* f1, double* f2, std::uint32_t* id) {
  const double x = u * period, y = v * period;
  const int ix = static_cast<int>(std::floor(x)), iy = static_cast<int>(std::floor(y));
  double d1 = 9, d2 = 9;
  std::uint32_t best = 0;
  for (int j = -1; j <= 1; ++j)
    for (int i = -1; i <= 1; ++i) {
      const int cx = ix + i, cy = iy + j;
      const int wx = ((cx % period) + period) % period, wy = ((cy % period) + period) % period;
      const std::uint32_t h = Hash(static_cast<std::uint32_t>(wx), static_cast<std::uint32_t>(wy), seed);
      const double px = cx + (h & 0xFFFF) / 65535.0;
      const double py = cy + (h >> 16) / 65535.0;
      const double d = std::hypot(px - x, py - y);
      if (d < d1) {
        d2 = d1;
        d1 = d;
        best = h;
      } else if (d < d2) {
        d2 = d;
      }
    }
  *f1 = d1;
  *f2 = d2;
  *id = best;
}

struct Rgbf {
  double r, g, b;
};

Rgbf FromHex(std::uint32_t hex) {
  return Rgbf{((hex >> 16) & 0xFF) / 255.0, ((hex >> 8) & 0xFF) / 255.0, (hex & 0xFF) / 255.0};
}
Rgbf Mix(const Rgbf& a, const Rgbf& b, double t) {
  t = std::clamp(t, 0.0, 1.0);
  return Rgbf{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
Rgbf Shade(const Rgbf& c, double k) { return Rgbf{c.r * k, c.g * k, c.b * k}; }
Rgbf Tint(const Rgbf& c, double k) { return Mix(c, Rgbf{1, 1, 1}, k); }

// Seven base colours per family (0xRRGGBB).
constexpr std::array<std::array<std::uint32_t, 7>, 16> kPalettes = {{
    {0xB07A45, 0x6B4226, 0x9E4B2F, 0xD9B27C, 0x7A2E1C, 0x3A2A20,
     0xE2CFA8},  // wood: oak walnut cherry pine mahogany ebony birch
    {0xECE8E0, 0xDCCFC0, 0x2F3033, 0x9FB8A8, 0xE6C9C0, 0xC9CED6, 0xEADFB8},  // marble
    {0xF4F1E8, 0xEFE6CF, 0xE4ECF2, 0xF2E4E4, 0xE6EFE0, 0xD9CBB0, 0xCFCFCF},  // paper
    {0xC9B99A, 0x8A9BB0, 0xB55A4E, 0x6E8B5A, 0xD8CDB8, 0x5A5F7A, 0xC7A24A},  // canvas / linen
    {0x8C8C88, 0xA08A78, 0x5E6266, 0xB7A792, 0x7A6A5A, 0x9A7F86, 0x6F7F6A},  // granite / stone
    {0xB8BCC2, 0xC9A24A, 0xB87333, 0x8A8F96, 0xD8D8D8, 0x6A6E73, 0xA9B7A0},  // brushed metal: steel gold copper ...
    {0x6FA8DC, 0xF2C6A0, 0x9AA6B2, 0xA7D3E8, 0xD9A6C9, 0x3C4E78, 0xE8E2C8},  // clouds / sky
    {0x7A4A2A, 0x3B2418, 0x8C2A24, 0x2E2E2E, 0xA67C52, 0x4A5A3A, 0x6A3A5A},  // leather
    {0x2E7DB2, 0x1E5A78, 0x3AA6A0, 0x6FB7D9, 0x24466E, 0x4C9A7A, 0x8FC2D8},  // water
    {0xB98B5A, 0xA8744A, 0xC9A27A, 0x8F6A48, 0xD2B48C, 0x9E7B5B, 0x7D5A3C},  // cork
    {0xA4482E, 0x8A5A44, 0xB8926A, 0x6E3A2A, 0x9A9A94, 0xC07A50, 0x5E4A3E},  // bricks
    {0x3A7CA5, 0xC05A3A, 0x4A9A5A, 0xD9B84A, 0x7A5AA5, 0x2E2E3A, 0xE0E0E0},  // mosaic
    {0x3B5A8A, 0x24385C, 0x6A8AB0, 0x4A4A4A, 0x7A3A3A, 0x3A5A3A, 0x8A7A5A},  // twill / denim
    {0xD9C08A, 0xC9A66A, 0xE8D8B0, 0xB08A5A, 0xD0B8A0, 0xA89A80, 0xE0C8A0},  // sand
    {0x5A6A3A, 0x8A7A5A, 0x6A6A6A, 0x3A4A5A, 0x9A8A6A, 0x4A5A4A, 0x7A5A4A},  // camouflage
    {0x2A2A2A, 0x3A3A4A, 0x4A2A2A, 0x2A3A2A, 0x5A5A5A, 0x2A2A3A, 0x6A5A3A},  // carbon / woven checks
}};

Rgbf Texel(int texture, double u, double v) {
  const int n = texture - 1;
  const int family = n / 7;
  const int variant = n % 7;
  const std::uint32_t seed = 7919u * static_cast<std::uint32_t>(texture);
  if (family >= 16) {
    // 113: parchment.
    const Rgbf base = FromHex(0xE8D9B0);
    const double blot = Fbm(u, v, 3, 5, seed);
    const double fine = Fbm(u, v, 48, 2, seed + 3);
    Rgbf c = Mix(Tint(base, 0.3), Shade(base, 0.78), std::pow(blot, 1.6) * 1.2);
    return Shade(c, 0.94 + 0.08 * fine);
  }
  const Rgbf base = FromHex(kPalettes[static_cast<std::size_t>(family)][static_cast<std::size_t>(variant)]);
  const Rgbf dark = Shade(base, 0.55);
  const Rgbf light = Tint(base, 0.45);
  switch (family) {
    case 0: {  // wood: rings bent by noise, fine grain along the boards
      const double bend = Fbm(u, v, 2, 4, seed);
      const double ring = 0.5 + 0.5 * std::sin(kTau * (6 * v + 1.6 * bend + 0.3 * std::sin(kTau * u)));
      const double grain = Noise2(u, v, 4, 96, seed + 11);
      Rgbf c = Mix(base, dark, std::pow(ring, 3.0) * 0.85);
      return Mix(c, light, (grain - 0.5) * 0.35 + 0.05);
    }
    case 1: {  // marble: turbulent veins on a light stone
      const double turb = Fbm(u, v, 3, 6, seed);
      const double s = std::sin(kTau * (u + 2 * v) + 9 * turb);
      const double vein = std::pow(1 - std::fabs(s), 9.0);
      const Rgbf ground = variant == 2 ? base : Tint(base, 0.35);
      const Rgbf veinColour = variant == 2 ? FromHex(0xE8E8E8) : Shade(base, 0.45);
      return Mix(Mix(ground, base, Fbm(u, v, 4, 3, seed + 5) * 0.6), veinColour, vein);
    }
    case 2: {  // paper: fine fibres and a soft cloud
      const double cloud = Fbm(u, v, 4, 3, seed);
      const double fibre = Noise2(u, v, 96, 24, seed + 1) * Noise2(u, v, 24, 96, seed + 2);
      return Shade(base, 0.93 + 0.07 * cloud - 0.05 * fibre);
    }
    case 3: {  // canvas: threads woven over and under
      const int threads = 32;
      const double wu = 0.5 + 0.5 * std::cos(kTau * u * threads);
      const double wv = 0.5 + 0.5 * std::cos(kTau * v * threads);
      const int cu = static_cast<int>(std::floor(u * threads)), cv = static_cast<int>(std::floor(v * threads));
      const bool over = ((cu + cv) & 1) != 0;
      const double thread = over ? wv : wu;
      const double slub = Noise2(u, v, over ? 8 : 64, over ? 64 : 8, seed);
      return Mix(Mix(dark, base, 0.45 + 0.55 * thread), light, (slub - 0.5) * 0.4 + 0.1);
    }
    case 4: {  // granite: speckles of three minerals on a mottled ground
      const double m = Fbm(u, v, 8, 4, seed);
      Rgbf c = Mix(dark, base, m * 1.3);
      const double s1 = Noise(u, v, 96, seed + 3);
      const double s2 = Noise(u, v, 128, seed + 4);
      if (s1 > 0.78) c = Mix(c, Shade(base, 0.3), (s1 - 0.78) * 5);
      if (s2 > 0.8) c = Mix(c, Tint(base, 0.75), (s2 - 0.8) * 5);
      return c;
    }
    case 5: {  // brushed metal: streaks along the tile and a soft sheen
      const double streak = Noise2(u, v, 2, 160, seed) * 0.6 + Noise2(u, v, 6, 320, seed + 1) * 0.4;
      const double sheen = 0.5 + 0.5 * std::cos(kTau * (u + 0.15 * std::sin(kTau * v)));
      Rgbf c = Mix(dark, light, 0.35 + 0.45 * sheen);
      return Mix(c, base, 0.3 + 0.4 * streak);
    }
    case 6: {  // clouds
      const double f = Fbm(u, v, 3, 6, seed);
      return Mix(base, Rgbf{1, 1, 1}, std::clamp((f - 0.35) * 2.2, 0.0, 1.0));
    }
    case 7: {  // leather: pebbled cells with dark creases
      double f1, f2;
      std::uint32_t id;
      Cells(u, v, 20, seed, &f1, &f2, &id);
      const double crease = std::clamp((f2 - f1) * 4, 0.0, 1.0);
      const double tone = (id & 0xFF) / 255.0;
      Rgbf c = Mix(dark, base, crease);
      return Mix(c, light, tone * 0.18 * crease + 0.15 * Fbm(u, v, 6, 2, seed + 7));
    }
    case 8: {  // water: interfering ripples
      const double w = Fbm(u, v, 3, 3, seed);
      const double r = std::sin(kTau * (4 * u + 2 * v) + 5 * w) + std::sin(kTau * (-2 * u + 5 * v) + 4 * w);
      const double t = 0.5 + 0.25 * r;
      return Mix(dark, light, std::pow(std::clamp(t, 0.0, 1.0), 1.5));
    }
    case 9: {  // cork: grains with dark pits
      const double g = Fbm(u, v, 24, 3, seed);
      const double pit = Noise(u, v, 40, seed + 9);
      Rgbf c = Mix(dark, light, g);
      if (pit < 0.18) c = Mix(c, Shade(base, 0.35), (0.18 - pit) * 5);
      return c;
    }
    case 10: {  // bricks: four courses, half-bond, mortar joints
      const int rows = 4;
      const double y = v * rows;
      const int row = static_cast<int>(std::floor(y));
      const double x = u * 2 + ((row & 1) ? 0.5 : 0.0);
      const double fx = x - std::floor(x), fy = y - row;
      const double joint = 0.06;
      if (fy < joint || fx < joint * 0.5) return Tint(FromHex(0xB8B2A8), 0.1 + 0.2 * Noise(u, v, 64, seed));
      const int brick = static_cast<int>(std::floor(x)) & 1;
      const double tone = Lattice(brick + row * 3, row, 64, seed + 1);
      const Rgbf c = Mix(dark, light, 0.3 + 0.4 * tone);
      return Mix(c, base, Fbm(u, v, 16, 3, seed + 2));
    }
    case 11: {  // mosaic: small tiles in shades of the colour, light grout
      const int cells = 12;
      const double x = u * cells, y = v * cells;
      const double fx = x - std::floor(x), fy = y - std::floor(y);
      if (fx < 0.08 || fy < 0.08) return FromHex(0xE6E2DA);
      const double tone = Lattice(static_cast<int>(std::floor(x)), static_cast<int>(std::floor(y)), cells, seed);
      return Mix(Mix(dark, base, tone * 2), light, (tone - 0.5) * 2);
    }
    case 12: {  // twill: diagonal ribs
      const int ribs = 40;
      const double d = 0.5 + 0.5 * std::sin(kTau * (u + v) * ribs);
      const double slub = Noise2(u, v, 64, 8, seed);
      return Mix(Mix(dark, base, d), Tint(base, 0.6), (slub - 0.4) * 0.35);
    }
    case 13: {  // sand: fine grain and low dunes
      const double grain = Noise(u, v, 160, seed);
      const double dune = 0.5 + 0.5 * std::sin(kTau * (3 * v + 0.8 * Fbm(u, v, 2, 3, seed + 1)));
      return Shade(Mix(base, light, dune * 0.35), 0.88 + 0.14 * grain);
    }
    case 14: {  // camouflage: four patches of colour
      const double f = Fbm(u, v, 3, 4, seed);
      const double g = Fbm(u, v, 4, 4, seed + 17);
      if (f > 0.58) return Shade(base, 0.45);
      if (g > 0.56) return Tint(base, 0.35);
      if (f < 0.4) return Mix(base, FromHex(0x6A5A3A), 0.5);
      return base;
    }
    default: {  // 15: woven carbon checks
      const int cells = 16;
      const double x = u * cells, y = v * cells;
      const int cx = static_cast<int>(std::floor(x)), cy = static_cast<int>(std::floor(y));
      const double fx = x - cx, fy = y - cy;
      const bool alongX = ((cx + cy) & 1) == 0;
      const double t = alongX ? 0.5 - 0.5 * std::cos(kTau * fy) : 0.5 - 0.5 * std::cos(kTau * fx);
      return Mix(Shade(base, 0.7), Tint(base, 0.35), t * 0.9);
    }
  }
}

QImage MakeTile(int texture, int size) {
  QImage img(size, size, QImage::Format_RGB32);
  if (img.isNull()) return img;
  for (int y = 0; y < size; ++y) {
    QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(y));
    const double v = (y + 0.5) / size;
    for (int x = 0; x < size; ++x) {
      const Rgbf c = Texel(texture, (x + 0.5) / size, v);
      line[x] = qRgb(std::clamp(static_cast<int>(c.r * 255 + 0.5), 0, 255),
                     std::clamp(static_cast<int>(c.g * 255 + 0.5), 0, 255),
                     std::clamp(static_cast<int>(c.b * 255 + 0.5), 0, 255));
    }
  }
  return img;
}

}  // namespace

int NormalizedTexture(int texture) {
  if (texture >= 1 && texture <= TextureCount) return texture;
  const long long t = ((static_cast<long long>(texture) - 1) % TextureCount + TextureCount) % TextureCount;
  return static_cast<int>(t) + 1;
}

int TextureTileSize(int dpi) {
  const int d = std::clamp(dpi, 24, 2400);
  return std::clamp(static_cast<int>(std::lround(128.0 * d / 96.0)), 32, 1024);
}

QImage TextureTile(int texture, int dpi) {
  const int t = NormalizedTexture(texture);
  const int size = TextureTileSize(dpi);
  // Room for every texture at screen sizes (a page of the fill window shows
  // them all), within a bound on memory for the large printer tiles.
  static RecentCache<std::pair<int, int>, QImage> tiles(
      2 * TextureCount, [](const QImage& tile) { return tile.sizeInBytes(); }, 96 * 1024 * 1024);
  return tiles.Get({t, size}, [&] {
    // Printer resolutions: the picture is worked out at no more than 400
    // pixels a side and smoothly enlarged (the textures hold no detail finer
    // than that), which keeps a first use quick.
    constexpr int kMaxWorked = 400;
    return size <= kMaxWorked
               ? MakeTile(t, size)
               : MakeTile(t, kMaxWorked).scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  });
}

QImage TextureImage(int texture, int width, int height, int dpi) {
  if (width <= 0 || height <= 0 || static_cast<long long>(width) * height > 256LL * 1024 * 1024) return QImage();
  const QImage tile = TextureTile(texture, dpi);
  QImage out(width, height, QImage::Format_RGB32);
  if (out.isNull() || tile.isNull()) return QImage();
  const int ts = tile.width();
  for (int y = 0; y < height; ++y) {
    const QRgb* src = reinterpret_cast<const QRgb*>(tile.constScanLine(y % ts));
    QRgb* dst = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < width; ++x) dst[x] = src[x % ts];
  }
  return out;
}

}  // namespace pv::colmo
