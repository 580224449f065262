// Enhanced metafile records -> device context.

#include "libs/pictor2/dib.h"
#include "libs/pictor2/player.h"

#include "platform/cp1252.h"

#include <uemf.h>
#include <uemf_safe.h>

#include <QString>
#include <algorithm>
#include <cmath>
#include <cstddef>

namespace pv::pictor {
namespace {

constexpr std::uint32_t kEmfSignature = 0x464D4520;  // " EMF"

// Fields of the libuemf record structures, as offsets into a record.
#define OFF(type, field) offsetof(type, field)

bool PointsFit(const RecordView& r, std::size_t off, std::uint64_t count, std::size_t each) {
  return count <= r.size() && r.Has(off, count * each);
}

std::vector<Point> Points32(const RecordView& r, std::size_t off, std::uint32_t count) {
  std::vector<Point> pts(count);
  for (std::uint32_t i = 0; i < count; ++i) pts[i] = {r.I32(off + 8 * i), r.I32(off + 8 * i + 4)};
  return pts;
}
std::vector<Point> Points16(const RecordView& r, std::size_t off, std::uint32_t count) {
  std::vector<Point> pts(count);
  for (std::uint32_t i = 0; i < count; ++i) pts[i] = {r.I16(off + 4 * i), r.I16(off + 4 * i + 2)};
  return pts;
}
Rect RectAt(const RecordView& r, std::size_t off) {
  return Rect{r.I32(off), r.I32(off + 4), r.I32(off + 8), r.I32(off + 12)};
}
QTransform XFormAt(const RecordView& r, std::size_t off) {
  return QTransform(r.F32(off), r.F32(off + 4), r.F32(off + 8), r.F32(off + 12), r.F32(off + 16), r.F32(off + 20));
}

Pen MakePen(std::uint32_t style, std::int64_t width, Colour colour) {
  Pen p;
  const std::uint32_t kind = style & 0x0F;
  p.style = kind <= 8 ? static_cast<PenStyle>(kind) : PenStyle::Solid;
  if (kind == 6) p.style = PenStyle::Solid;
  p.insideFrame = kind == 6;
  p.width = static_cast<std::int32_t>(std::clamp<std::int64_t>(width, 0, 1 << 24));
  p.colour = colour;
  switch (style & 0x0F00) {
    case 0x0100: p.cap = PenCap::Square; break;
    case 0x0200: p.cap = PenCap::Flat; break;
    default: p.cap = PenCap::Round; break;
  }
  switch (style & 0xF000) {
    case 0x1000: p.join = PenJoin::Bevel; break;
    case 0x2000: p.join = PenJoin::Miter; break;
    default: p.join = PenJoin::Round; break;
  }
  p.geometric = (style & 0x00010000u) != 0;
  return p;
}

Brush MakeBrush(std::uint32_t style, Colour colour, std::uint32_t hatch) {
  switch (style) {
    case 0: return Brush::SolidColour(colour);
    case 2: return Brush::Hatch(hatch <= 5 ? static_cast<HatchStyle>(hatch) : HatchStyle::Horizontal, colour);
    case 1: return Brush::Hollow();
    default: return Brush::SolidColour(colour);
  }
}

// A DIB stored in a record by offsets.
QImage RecordDib(const RecordView& r, std::uint32_t usage, std::uint32_t offBmi, std::uint32_t cbBmi,
                 std::uint32_t offBits, std::uint32_t cbBits, bool alpha = false) {
  if (cbBmi == 0 || !r.Has(offBmi, cbBmi) || !r.Has(offBits, cbBits)) return {};
  return DecodeDib(r.data() + offBmi, cbBmi, r.data() + offBits, cbBits,
                   usage == 1 ? DibColors::PaletteIndexes : DibColors::Rgb, alpha);
}

// Rows of a bottom-up DIB are counted from the bottom in the records' source
// rectangles; the decoded image is top-down.
Rect SourceRect(const RecordView& r, std::uint32_t offBmi, const QImage& img, std::int32_t x, std::int32_t y,
                std::int32_t w, std::int32_t h, bool fromBottom) {
  bool bottomUp = true;
  if (r.U32(offBmi) >= 40)
    bottomUp = r.I32(offBmi + 8) > 0;
  else if (r.U32(offBmi) == 12)
    bottomUp = r.I16(offBmi + 6) > 0;
  std::int64_t top = y;
  if (fromBottom && bottomUp) top = static_cast<std::int64_t>(img.height()) - y - h;
  auto c = [](std::int64_t v) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, -(1LL << 30), 1LL << 30));
  };
  return Rect{c(x), c(top), c(static_cast<std::int64_t>(x) + w), c(top + h)};
}

Rect DestRect(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) {
  auto c = [](std::int64_t v) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, -(1LL << 30), 1LL << 30));
  };
  return Rect{x, y, c(static_cast<std::int64_t>(x) + w), c(static_cast<std::int64_t>(y) + h)};
}

// The rectangles of region data (header then rectangles), reference device units.
bool RegionRects(const RecordView& r, std::size_t off, std::uint32_t cb, std::vector<QRectF>* out) {
  if (cb < sizeof(U_RGNDATAHEADER) || !r.Has(off, cb)) return false;
  const std::uint32_t count = r.U32(off + OFF(U_RGNDATAHEADER, nCount));
  if (count > (cb - sizeof(U_RGNDATAHEADER)) / 16) return false;
  out->clear();
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::size_t p = off + sizeof(U_RGNDATAHEADER) + 16 * i;
    out->push_back(QRectF(QPointF(r.I32(p), r.I32(p + 4)), QPointF(r.I32(p + 8), r.I32(p + 12))));
  }
  return true;
}

class EmfReader {
 public:
  EmfReader(Player& player) : m_p(player), m_dc(player.dc()) {}
  // False when the record does not hold what its type needs.
  bool Play(std::uint32_t type, const RecordView& r);

 private:
  bool Poly(std::uint32_t type, const RecordView& r, bool small);
  bool PolyPoly(std::uint32_t type, const RecordView& r, bool small);
  bool Text(const RecordView& r, bool wide);
  bool Blit(std::uint32_t type, const RecordView& r);
  bool Font(const RecordView& r);
  bool Gradient(const RecordView& r);
  // Ends the open path with `draw` where the file may draw, else drops it.
  bool EndPathWith(void (*draw)(DeviceContext*)) {
    if (m_p.CanDraw())
      draw(m_dc);
    else
      AbortPath(m_dc);
    return true;
  }

  Player& m_p;
  DeviceContext* m_dc;
};

bool EmfReader::Poly(std::uint32_t type, const RecordView& r, bool small) {
  const std::size_t countOff = OFF(U_EMRPOLYLINE, cptl);
  const std::size_t ptsOff = countOff + 4;
  const std::uint32_t count = r.U32(countOff);
  if (!PointsFit(r, ptsOff, count, small ? 4 : 8)) return false;
  if (!m_p.CanDraw()) return true;
  const std::vector<Point> pts = small ? Points16(r, ptsOff, count) : Points32(r, ptsOff, count);
  const int n = static_cast<int>(pts.size());
  switch (type) {
    case U_EMR_POLYBEZIER:
    case U_EMR_POLYBEZIER16: PolyBezier(m_dc, pts.data(), n); break;
    case U_EMR_POLYGON:
    case U_EMR_POLYGON16: Polygon(m_dc, pts.data(), n); break;
    case U_EMR_POLYLINE:
    case U_EMR_POLYLINE16: Polyline(m_dc, pts.data(), n); break;
    case U_EMR_POLYBEZIERTO:
    case U_EMR_POLYBEZIERTO16: PolyBezierTo(m_dc, pts.data(), n); break;
    case U_EMR_POLYLINETO:
    case U_EMR_POLYLINETO16: PolylineTo(m_dc, pts.data(), n); break;
    default: break;
  }
  return true;
}

bool EmfReader::PolyPoly(std::uint32_t type, const RecordView& r, bool small) {
  const std::size_t nPolysOff = OFF(U_EMRPOLYPOLYLINE, nPolys);
  const std::uint32_t nPolys = r.U32(nPolysOff);
  const std::uint32_t count = r.U32(nPolysOff + 4);
  const std::size_t countsOff = nPolysOff + 8;
  if (!PointsFit(r, countsOff, nPolys, 4)) return false;
  const std::size_t ptsOff = countsOff + 4 * static_cast<std::size_t>(nPolys);
  if (!PointsFit(r, ptsOff, count, small ? 4 : 8)) return false;
  std::vector<std::int32_t> counts(nPolys);
  std::uint64_t sum = 0;
  for (std::uint32_t i = 0; i < nPolys; ++i) {
    const std::uint32_t c = r.U32(countsOff + 4 * i);
    sum += c;
    if (sum > count) return false;  // the counts claim more points than the record has
    counts[i] = static_cast<std::int32_t>(c);
  }
  if (!m_p.CanDraw()) return true;
  const std::vector<Point> pts = small ? Points16(r, ptsOff, count) : Points32(r, ptsOff, count);
  if (type == U_EMR_POLYPOLYGON || type == U_EMR_POLYPOLYGON16)
    PolyPolygon(m_dc, pts.data(), counts.data(), static_cast<int>(nPolys));
  else
    PolyPolyline(m_dc, pts.data(), counts.data(), static_cast<int>(nPolys));
  return true;
}

bool EmfReader::Text(const RecordView& r, bool wide) {
  const std::size_t t = OFF(U_EMREXTTEXTOUTW, emrtext);
  const std::int32_t x = r.I32(t + OFF(U_EMRTEXT, ptlReference));
  const std::int32_t y = r.I32(t + OFF(U_EMRTEXT, ptlReference) + 4);
  const std::uint32_t nChars = r.U32(t + OFF(U_EMRTEXT, nChars));
  const std::uint32_t offString = r.U32(t + OFF(U_EMRTEXT, offString));
  const std::uint32_t options = r.U32(t + OFF(U_EMRTEXT, fOptions));
  std::size_t next = t + sizeof(U_EMRTEXT);
  Rect rect;
  bool haveRect = false;
  if (!(options & U_ETO_NO_RECT)) {
    if (!r.Has(next, 20)) return false;
    rect = RectAt(r, next);
    haveRect = true;
    next += 16;
  }
  if (!r.Has(next, 4)) return false;
  const std::uint32_t offDx = r.U32(next);
  const std::size_t charSize = wide ? 2 : 1;
  if (nChars > r.size() || !r.Has(offString, static_cast<std::uint64_t>(nChars) * charSize)) return false;
  QString text;
  if (wide) {
    std::vector<char16_t> chars(nChars);
    for (std::uint32_t i = 0; i < nChars; ++i) chars[i] = r.U16(offString + 2 * i);
    text = QString::fromUtf16(chars.data(), static_cast<qsizetype>(chars.size()));
  } else {
    text = FromAnsi(reinterpret_cast<const char*>(r.data() + offString), static_cast<qsizetype>(nChars));
  }
  // Advances: one per character (two with ETO_PDY, of which x is used). A
  // record whose advances do not fit still draws its text, unspaced.
  std::vector<std::int32_t> dx;
  const std::uint64_t per = (options & U_ETO_PDY) ? 2 : 1;
  if (offDx != 0 && nChars != 0 && r.Has(offDx, nChars * per * 4)) {
    dx.resize(nChars);
    for (std::uint32_t i = 0; i < nChars; ++i) dx[i] = r.I32(offDx + 4 * per * i);
  }
  if (!m_p.CanDraw()) return true;
  // A character array with surrogate pairs has fewer QChars' worth of
  // advances in some writers; only pass advances when the counts agree.
  const bool useDx = !dx.empty() && static_cast<std::size_t>(text.size()) == dx.size();
  ExtTextOut(m_dc, x, y, options & (EtoOpaque | EtoClipped), haveRect ? &rect : nullptr, text,
             useDx ? dx.data() : nullptr);
  return true;
}

bool EmfReader::Font(const RecordView& r) {
  const std::size_t lf = OFF(U_EMREXTCREATEFONTINDIRECTW, elfw);
  if (!r.Has(lf, sizeof(U_LOGFONT))) return false;
  pv::Font f;
  f.height = r.I32(lf + OFF(U_LOGFONT, lfHeight));
  f.width = r.I32(lf + OFF(U_LOGFONT, lfWidth));
  f.escapement = r.I32(lf + OFF(U_LOGFONT, lfEscapement));
  f.orientation = r.I32(lf + OFF(U_LOGFONT, lfOrientation));
  f.weight = r.I32(lf + OFF(U_LOGFONT, lfWeight));
  f.italic = r.U8(lf + OFF(U_LOGFONT, lfItalic)) != 0;
  f.underline = r.U8(lf + OFF(U_LOGFONT, lfUnderline)) != 0;
  f.strikeOut = r.U8(lf + OFF(U_LOGFONT, lfStrikeOut)) != 0;
  char16_t face[U_LF_FACESIZE];
  int len = 0;
  for (; len < U_LF_FACESIZE; ++len) {
    face[len] = r.U16(lf + OFF(U_LOGFONT, lfFaceName) + 2 * len);
    if (face[len] == 0) break;
  }
  if (len > 0) f.face = QString::fromUtf16(face, len);
  m_p.Put(r.U32(OFF(U_EMREXTCREATEFONTINDIRECTW, ihFont)), f);
  return true;
}

bool EmfReader::Gradient(const RecordView& r) {
  const std::size_t base = OFF(U_EMRGRADIENTFILL, nTriVert);
  const std::uint32_t nVer = r.U32(base);
  const std::uint32_t nGrad = r.U32(base + 4);
  const std::uint32_t mode = r.U32(base + 8);
  const std::size_t vOff = base + 12;
  if (!PointsFit(r, vOff, nVer, 16)) return false;
  const std::size_t per = mode == 2 ? 3 : 2;
  const std::size_t iOff = vOff + 16 * static_cast<std::size_t>(nVer);
  if (mode > 2 || !PointsFit(r, iOff, nGrad, 4 * per)) return false;
  if (!m_p.CanDraw()) return true;
  std::vector<TriVertex> v(nVer);
  for (std::uint32_t i = 0; i < nVer; ++i) {
    const std::size_t o = vOff + 16 * i;
    v[i] = TriVertex{r.I32(o), r.I32(o + 4), r.U16(o + 8), r.U16(o + 10), r.U16(o + 12), r.U16(o + 14)};
  }
  std::vector<std::uint32_t> idx(nGrad * per);
  for (std::size_t i = 0; i < idx.size(); ++i) {
    idx[i] = r.U32(iOff + 4 * i);
    if (idx[i] >= nVer) return false;
  }
  GradientFill(m_dc, v.data(), static_cast<int>(v.size()), idx.data(), static_cast<int>(idx.size()),
               static_cast<GradientMode>(mode));
  return true;
}

namespace {

// Where a bitmap record keeps its fields: offsets into the record, 0 for a
// field the record does not have. Without a destination size the picture
// takes the source size, without a source size the destination size;
// without a raster operation it is copied.
struct BitmapLayout {
  std::size_t dest, cDest, src, cSrc, rop, usage, offBmi, cbBmi, offBits, cbBits;
  // Source rows counted from the bottom of a bottom-up DIB.
  bool fromBottom;
};

template <typename T>
constexpr BitmapLayout LayoutOf(std::size_t cDest, std::size_t cSrc, std::size_t rop, bool fromBottom) {
  return BitmapLayout{OFF(T, Dest),
                      cDest,
                      OFF(T, Src),
                      cSrc,
                      rop,
                      OFF(T, iUsageSrc),
                      OFF(T, offBmiSrc),
                      OFF(T, cbBmiSrc),
                      OFF(T, offBitsSrc),
                      OFF(T, cbBitsSrc),
                      fromBottom};
}

constexpr BitmapLayout kBitBlt = LayoutOf<U_EMRBITBLT>(OFF(U_EMRBITBLT, cDest), 0, OFF(U_EMRBITBLT, dwRop), false);
constexpr BitmapLayout kStretchBlt = LayoutOf<U_EMRSTRETCHBLT>(OFF(U_EMRSTRETCHBLT, cDest), OFF(U_EMRSTRETCHBLT, cSrc),
                                                               OFF(U_EMRSTRETCHBLT, dwRop), false);
constexpr BitmapLayout kStretchDiBits = LayoutOf<U_EMRSTRETCHDIBITS>(
    OFF(U_EMRSTRETCHDIBITS, cDest), OFF(U_EMRSTRETCHDIBITS, cSrc), OFF(U_EMRSTRETCHDIBITS, dwRop), true);
constexpr BitmapLayout kSetDiBitsToDevice =
    LayoutOf<U_EMRSETDIBITSTODEVICE>(0, OFF(U_EMRSETDIBITSTODEVICE, cSrc), 0, true);
// Alpha blend and transparent blit share this layout; the blend function
// (or the transparent colour) stands where the others keep the operation.
constexpr BitmapLayout kAlphaBlend =
    LayoutOf<U_EMRALPHABLEND>(OFF(U_EMRALPHABLEND, cDest), OFF(U_EMRALPHABLEND, cSrc), 0, false);

// A bitmap record's fields, read by its layout.
struct BitmapFields {
  Rect dest;
  std::int32_t sx = 0, sy = 0, scx = 0, scy = 0;
  std::uint32_t rop = RopSrcCopy;
  std::uint32_t usage = 0, offBmi = 0, cbBmi = 0, offBits = 0, cbBits = 0;
};

BitmapFields ReadBitmap(const RecordView& r, const BitmapLayout& l) {
  const auto pair = [&r](std::size_t off, std::int32_t* a, std::int32_t* b) {
    *a = r.I32(off);
    *b = r.I32(off + 4);
  };
  BitmapFields f;
  std::int32_t dx = 0, dy = 0, cx = 0, cy = 0;
  pair(l.dest, &dx, &dy);
  pair(l.src, &f.sx, &f.sy);
  if (l.cDest) pair(l.cDest, &cx, &cy);
  if (l.cSrc) pair(l.cSrc, &f.scx, &f.scy);
  if (!l.cDest) {
    cx = f.scx;
    cy = f.scy;
  }
  if (!l.cSrc) {
    f.scx = cx;
    f.scy = cy;
  }
  f.dest = DestRect(dx, dy, cx, cy);
  if (l.rop) f.rop = r.U32(l.rop);
  f.usage = r.U32(l.usage);
  f.offBmi = r.U32(l.offBmi);
  f.cbBmi = r.U32(l.cbBmi);
  f.offBits = r.U32(l.offBits);
  f.cbBits = r.U32(l.cbBits);
  return f;
}

}  // namespace

bool EmfReader::Blit(std::uint32_t type, const RecordView& r) {
  if (!m_p.CanDraw()) return true;
  const BitmapLayout* layout = nullptr;
  switch (type) {
    case U_EMR_BITBLT: layout = &kBitBlt; break;
    case U_EMR_STRETCHBLT: layout = &kStretchBlt; break;
    case U_EMR_STRETCHDIBITS: layout = &kStretchDiBits; break;
    case U_EMR_SETDIBITSTODEVICE: layout = &kSetDiBitsToDevice; break;
    case U_EMR_ALPHABLEND:
    case U_EMR_TRANSPARENTBLT: layout = &kAlphaBlend; break;
    default: return true;
  }
  const BitmapFields f = ReadBitmap(r, *layout);
  if (f.cbBmi == 0 && layout->rop) {  // no source: a pattern operation
    PatBlt(m_dc, f.dest, f.rop);
    return true;
  }
  if (type == U_EMR_STRETCHBLT && r.size() < sizeof(U_EMRSTRETCHBLT)) return false;
  const std::size_t blend = OFF(U_EMRALPHABLEND, Blend);
  const bool pixelAlpha = type == U_EMR_ALPHABLEND && (r.U8(blend + 3) & 0x01) != 0;
  const QImage img = m_p.Dib(r.data(), pixelAlpha ? 1u : 0u,
                             [&] { return RecordDib(r, f.usage, f.offBmi, f.cbBmi, f.offBits, f.cbBits, pixelAlpha); });
  if (img.isNull()) return false;
  const Rect src = SourceRect(r, f.offBmi, img, f.sx, f.sy, f.scx, f.scy, layout->fromBottom);
  if (type == U_EMR_ALPHABLEND)
    AlphaBlendImage(m_dc, f.dest, img, &src, r.U8(blend + 2), pixelAlpha);
  else if (type == U_EMR_TRANSPARENTBLT)
    TransparentImage(m_dc, f.dest, img, &src, r.U32(blend) & 0x00FFFFFFu);
  else
    StretchImage(m_dc, f.dest, img, &src, f.rop);
  return true;
}

bool EmfReader::Play(std::uint32_t type, const RecordView& r) {
  switch (type) {
    case U_EMR_POLYBEZIER:
    case U_EMR_POLYGON:
    case U_EMR_POLYLINE:
    case U_EMR_POLYBEZIERTO:
    case U_EMR_POLYLINETO: return Poly(type, r, false);
    case U_EMR_POLYBEZIER16:
    case U_EMR_POLYGON16:
    case U_EMR_POLYLINE16:
    case U_EMR_POLYBEZIERTO16:
    case U_EMR_POLYLINETO16: return Poly(type, r, true);
    case U_EMR_POLYPOLYLINE:
    case U_EMR_POLYPOLYGON: return PolyPoly(type, r, false);
    case U_EMR_POLYPOLYLINE16:
    case U_EMR_POLYPOLYGON16: return PolyPoly(type, r, true);
    case U_EMR_POLYDRAW:
    case U_EMR_POLYDRAW16: {
      const bool small = type == U_EMR_POLYDRAW16;
      const std::size_t countOff = OFF(U_EMRPOLYDRAW, cptl);
      const std::uint32_t count = r.U32(countOff);
      const std::size_t each = small ? 4 : 8;
      if (!PointsFit(r, countOff + 4, count, each + 1)) return false;
      if (!m_p.CanDraw()) return true;
      const std::vector<Point> pts = small ? Points16(r, countOff + 4, count) : Points32(r, countOff + 4, count);
      PolyDraw(m_dc, pts.data(), r.data() + countOff + 4 + each * count, static_cast<int>(count));
      return true;
    }

    case U_EMR_SETWINDOWEXTEX: m_p.SetWindowExt(r.I32(8), r.I32(12)); return true;
    case U_EMR_SETWINDOWORGEX: m_p.SetWindowOrg(r.I32(8), r.I32(12)); return true;
    case U_EMR_SETVIEWPORTEXTEX: m_p.SetViewportExt(r.I32(8), r.I32(12)); return true;
    case U_EMR_SETVIEWPORTORGEX: m_p.SetViewportOrg(r.I32(8), r.I32(12)); return true;
    case U_EMR_SCALEVIEWPORTEXTEX: m_p.ScaleViewportExt(r.I32(8), r.I32(12), r.I32(16), r.I32(20)); return true;
    case U_EMR_SCALEWINDOWEXTEX: m_p.ScaleWindowExt(r.I32(8), r.I32(12), r.I32(16), r.I32(20)); return true;
    case U_EMR_SETMAPMODE: m_p.SetMapMode(r.I32(8)); return true;
    case U_EMR_SETWORLDTRANSFORM: m_p.SetWorld(XFormAt(r, 8)); return true;
    case U_EMR_MODIFYWORLDTRANSFORM: m_p.ModifyWorld(XFormAt(r, 8), r.U32(32)); return true;
    case U_EMR_SETBRUSHORGEX: SetBrushOrigin(m_dc, Point{r.I32(8), r.I32(12)}); return true;

    case U_EMR_SAVEDC: m_p.Save(); return true;
    case U_EMR_RESTOREDC: m_p.Restore(r.I32(8)); return true;

    case U_EMR_SETTEXTCOLOR: SetTextColour(m_dc, ColourAt(r, 8)); return true;
    case U_EMR_SETBKCOLOR: SetBkColour(m_dc, ColourAt(r, 8)); return true;
    case U_EMR_SETBKMODE: SetBkMode(m_dc, r.U32(8) == 1 ? BkMode::Transparent : BkMode::Opaque); return true;
    case U_EMR_SETPOLYFILLMODE:
      SetPolyFillMode(m_dc, r.U32(8) == 2 ? FillMode::Winding : FillMode::Alternate);
      return true;
    case U_EMR_SETTEXTALIGN: SetTextAlign(m_dc, r.U32(8) & 0x1F); return true;
    case U_EMR_SETARCDIRECTION:
      SetArcDirection(m_dc, r.U32(8) == 2 ? ArcDirection::Clockwise : ArcDirection::CounterClockwise);
      return true;
    case U_EMR_SETMITERLIMIT: SetMiterLimit(m_dc, std::clamp<double>(r.U32(8), 1, 100)); return true;
    case U_EMR_SETROP2:
      if (r.U32(8) >= 1 && r.U32(8) <= 16) SetRop2(m_dc, static_cast<Rop2>(r.U32(8)));
      return true;
    case U_EMR_SETSTRETCHBLTMODE:
      if (r.U32(8) >= 1 && r.U32(8) <= 4) SetStretchMode(m_dc, static_cast<StretchMode>(r.U32(8)));
      return true;

    case U_EMR_CREATEPEN: {
      const std::size_t lp = OFF(U_EMRCREATEPEN, lopn);
      m_p.Put(r.U32(OFF(U_EMRCREATEPEN, ihPen)),
              MakePen(r.U32(lp + OFF(U_LOGPEN, lopnStyle)), r.I32(lp + OFF(U_LOGPEN, lopnWidth)),
                      ColourAt(r, lp + OFF(U_LOGPEN, lopnColor))));
      return true;
    }
    case U_EMR_EXTCREATEPEN: {
      const std::size_t ep = OFF(U_EMREXTCREATEPEN, elp);
      if (!r.Has(ep, U_SIZE_EXTLOGPEN)) return false;
      const std::uint32_t style = r.U32(ep + OFF(U_EXTLOGPEN, elpPenStyle));
      Pen pen = MakePen(style, r.U32(ep + OFF(U_EXTLOGPEN, elpWidth)), ColourAt(r, ep + OFF(U_EXTLOGPEN, elpColor)));
      if (r.U32(ep + OFF(U_EXTLOGPEN, elpBrushStyle)) == 1) pen = NullPen();
      if ((style & 0x0F) == 7) {
        const std::uint32_t n = r.U32(ep + OFF(U_EXTLOGPEN, elpNumEntries));
        const std::size_t entries = ep + OFF(U_EXTLOGPEN, elpStyleEntry);
        if (!PointsFit(r, entries, n, 4)) return false;
        pen.dashCount = static_cast<int>(std::min<std::uint32_t>(n, 16));
        for (int i = 0; i < pen.dashCount; ++i) pen.dashes[i] = r.U32(entries + 4 * static_cast<std::size_t>(i));
      }
      m_p.Put(r.U32(OFF(U_EMREXTCREATEPEN, ihPen)), pen);
      return true;
    }
    case U_EMR_CREATEBRUSHINDIRECT: {
      const std::size_t lb = OFF(U_EMRCREATEBRUSHINDIRECT, lb);
      m_p.Put(r.U32(OFF(U_EMRCREATEBRUSHINDIRECT, ihBrush)), MakeBrush(r.U32(lb), ColourAt(r, lb + 4), r.U32(lb + 8)));
      return true;
    }
    case U_EMR_CREATEDIBPATTERNBRUSHPT:
    case U_EMR_CREATEMONOBRUSH: {
      const QImage img = RecordDib(r, r.U32(OFF(U_EMRCREATEMONOBRUSH, iUsage)),
                                   r.U32(OFF(U_EMRCREATEMONOBRUSH, offBmi)), r.U32(OFF(U_EMRCREATEMONOBRUSH, cbBmi)),
                                   r.U32(OFF(U_EMRCREATEMONOBRUSH, offBits)), r.U32(OFF(U_EMRCREATEMONOBRUSH, cbBits)));
      Brush b = img.isNull() ? Brush::SolidColour(Rgb(0, 0, 0)) : Brush::PatternImage(img);
      b.monochrome = type == U_EMR_CREATEMONOBRUSH && !img.isNull();
      m_p.Put(r.U32(OFF(U_EMRCREATEMONOBRUSH, ihBrush)), b);
      return !img.isNull();
    }
    case U_EMR_EXTCREATEFONTINDIRECTW: return Font(r);
    case U_EMR_SELECTOBJECT: m_p.Select(r.U32(8)); return true;
    case U_EMR_DELETEOBJECT: m_p.Delete(r.U32(8)); return true;

    case U_EMR_MOVETOEX: MoveTo(m_dc, r.I32(8), r.I32(12)); return true;
    case U_EMR_LINETO:
      if (m_p.CanDraw()) LineTo(m_dc, r.I32(8), r.I32(12));
      return true;
    case U_EMR_RECTANGLE:
      if (m_p.CanDraw()) Rectangle(m_dc, RectAt(r, 8));
      return true;
    case U_EMR_ELLIPSE:
      if (m_p.CanDraw()) Ellipse(m_dc, RectAt(r, 8));
      return true;
    case U_EMR_ROUNDRECT:
      if (m_p.CanDraw()) RoundRect(m_dc, RectAt(r, 8), r.I32(24), r.I32(28));
      return true;
    case U_EMR_ARC:
    case U_EMR_ARCTO:
    case U_EMR_CHORD:
    case U_EMR_PIE: {
      if (!m_p.CanDraw()) return true;
      const Rect box = RectAt(r, 8);
      const Point s{r.I32(24), r.I32(28)}, e{r.I32(32), r.I32(36)};
      if (type == U_EMR_ARC)
        Arc(m_dc, box, s, e);
      else if (type == U_EMR_ARCTO)
        ArcTo(m_dc, box, s, e);
      else if (type == U_EMR_CHORD)
        Chord(m_dc, box, s, e);
      else
        Pie(m_dc, box, s, e);
      return true;
    }
    case U_EMR_ANGLEARC:
      if (!m_p.CanDraw() || !std::isfinite(r.F32(20)) || !std::isfinite(r.F32(24))) return true;
      // A zero radius is a line to the centre (the context's arc needs a
      // box with an area).
      if (r.U32(16) == 0)
        LineTo(m_dc, r.I32(8), r.I32(12));
      else
        AngleArc(m_dc, r.I32(8), r.I32(12), std::min<std::uint32_t>(r.U32(16), 1u << 30), r.F32(20), r.F32(24));
      return true;
    case U_EMR_SETPIXELV:
      if (m_p.CanDraw()) SetPixel(m_dc, r.I32(8), r.I32(12), ColourAt(r, 16));
      return true;

    case U_EMR_BEGINPATH: BeginPath(m_dc); return true;
    case U_EMR_ENDPATH: EndPath(m_dc); return true;
    case U_EMR_ABORTPATH: AbortPath(m_dc); return true;
    case U_EMR_CLOSEFIGURE: CloseFigure(m_dc); return true;
    case U_EMR_FILLPATH: return EndPathWith(FillPath);
    case U_EMR_STROKEPATH: return EndPathWith(StrokePath);
    case U_EMR_STROKEANDFILLPATH: return EndPathWith(StrokeAndFillPath);
    case U_EMR_FLATTENPATH: FlattenPath(m_dc); return true;
    case U_EMR_WIDENPATH: WidenPath(m_dc); return true;
    case U_EMR_SELECTCLIPPATH: {
      const std::uint32_t mode = r.U32(8);
      if (mode >= 1 && mode <= 5) SelectClipPath(m_dc, static_cast<RegionOp>(mode));
      m_p.ClipChanged();
      return true;
    }

    case U_EMR_INTERSECTCLIPRECT: IntersectClipRect(m_dc, RectAt(r, 8)); return true;
    case U_EMR_EXCLUDECLIPRECT:
      ExcludeClipRect(m_dc, RectAt(r, 8));
      m_p.ClipChanged();
      return true;
    case U_EMR_OFFSETCLIPRGN: {
      // The offset is logical; the context moves regions in device units.
      const QTransform t = LogicalToDeviceTransform(m_dc);
      const QPointF d = t.map(QPointF(r.I32(8), r.I32(12))) - t.map(QPointF(0, 0));
      if (std::isfinite(d.x()) && std::isfinite(d.y()) && std::abs(d.x()) < 1e8 && std::abs(d.y()) < 1e8)
        OffsetClipRegion(m_dc, static_cast<std::int32_t>(std::lround(d.x())),
                         static_cast<std::int32_t>(std::lround(d.y())));
      m_p.ClipChanged();
      return true;
    }
    case U_EMR_EXTSELECTCLIPRGN: {
      const std::uint32_t cb = r.U32(OFF(U_EMREXTSELECTCLIPRGN, cbRgnData));
      const std::uint32_t mode = r.U32(OFF(U_EMREXTSELECTCLIPRGN, iMode));
      if (mode < 1 || mode > 5) return true;
      if (cb == 0) {
        if (mode == U_RGN_COPY) SelectClipRegion(m_dc, nullptr, RegionOp::Copy);
        m_p.ClipChanged();
        return true;
      }
      std::vector<QRectF> rects;
      if (!RegionRects(r, OFF(U_EMREXTSELECTCLIPRGN, RgnData), cb, &rects)) return false;
      const Region rgn = m_p.DeviceRegion(rects);
      SelectClipRegion(m_dc, &rgn, static_cast<RegionOp>(mode));
      m_p.ClipChanged();
      return true;
    }
    case U_EMR_FILLRGN:
    case U_EMR_FRAMERGN:
    case U_EMR_INVERTRGN:
    case U_EMR_PAINTRGN: {
      std::size_t dataOff = OFF(U_EMRINVERTRGN, RgnData);
      if (type == U_EMR_FILLRGN) dataOff = OFF(U_EMRFILLRGN, RgnData);
      if (type == U_EMR_FRAMERGN) dataOff = OFF(U_EMRFRAMERGN, RgnData);
      std::vector<QRectF> rects;
      if (!RegionRects(r, dataOff, r.U32(OFF(U_EMRINVERTRGN, cbRgnData)), &rects)) return false;
      if (!m_p.CanDraw()) return true;
      const Region rgn = m_p.DeviceRegion(rects);
      if (type == U_EMR_PAINTRGN)
        PaintRegion(m_dc, rgn);
      else if (type == U_EMR_INVERTRGN)
        InvertRegion(m_dc, rgn);
      else if (const Brush* b = m_p.BrushAt(r.U32(OFF(U_EMRFILLRGN, ihBrush)))) {
        if (type == U_EMR_FILLRGN)
          FillRegion(m_dc, rgn, *b);
        else
          FrameRegion(m_dc, rgn, *b, r.I32(OFF(U_EMRFRAMERGN, szlStroke)), r.I32(OFF(U_EMRFRAMERGN, szlStroke) + 4));
      }
      return true;
    }

    case U_EMR_EXTTEXTOUTW: return Text(r, true);
    case U_EMR_EXTTEXTOUTA: return Text(r, false);

    case U_EMR_BITBLT:
    case U_EMR_STRETCHBLT:
    case U_EMR_STRETCHDIBITS:
    case U_EMR_SETDIBITSTODEVICE:
    case U_EMR_ALPHABLEND:
    case U_EMR_TRANSPARENTBLT: return Blit(type, r);
    case U_EMR_GRADIENTFILL: return Gradient(r);

    default: return true;  // not drawn here (comments, EMF+ records, palettes ...)
  }
}

// The records whose structure libuemf checks; the others are skipped whole
// or read with this file's own checks only.
bool Known(std::uint32_t type) {
  switch (type) {
    case U_EMR_POLYBEZIER:
    case U_EMR_POLYGON:
    case U_EMR_POLYLINE:
    case U_EMR_POLYBEZIERTO:
    case U_EMR_POLYLINETO:
    case U_EMR_POLYPOLYLINE:
    case U_EMR_POLYPOLYGON:
    case U_EMR_SETWINDOWEXTEX:
    case U_EMR_SETWINDOWORGEX:
    case U_EMR_SETVIEWPORTEXTEX:
    case U_EMR_SETVIEWPORTORGEX:
    case U_EMR_SETBRUSHORGEX:
    case U_EMR_SETPIXELV:
    case U_EMR_SETMAPMODE:
    case U_EMR_SETBKMODE:
    case U_EMR_SETPOLYFILLMODE:
    case U_EMR_SETROP2:
    case U_EMR_SETSTRETCHBLTMODE:
    case U_EMR_SETTEXTALIGN:
    case U_EMR_SETTEXTCOLOR:
    case U_EMR_SETBKCOLOR:
    case U_EMR_OFFSETCLIPRGN:
    case U_EMR_MOVETOEX:
    case U_EMR_EXCLUDECLIPRECT:
    case U_EMR_INTERSECTCLIPRECT:
    case U_EMR_SCALEVIEWPORTEXTEX:
    case U_EMR_SCALEWINDOWEXTEX:
    case U_EMR_SAVEDC:
    case U_EMR_RESTOREDC:
    case U_EMR_SETWORLDTRANSFORM:
    case U_EMR_MODIFYWORLDTRANSFORM:
    case U_EMR_SELECTOBJECT:
    case U_EMR_CREATEPEN:
    case U_EMR_CREATEBRUSHINDIRECT:
    case U_EMR_DELETEOBJECT:
    case U_EMR_ANGLEARC:
    case U_EMR_ELLIPSE:
    case U_EMR_RECTANGLE:
    case U_EMR_ROUNDRECT:
    case U_EMR_ARC:
    case U_EMR_CHORD:
    case U_EMR_PIE:
    case U_EMR_LINETO:
    case U_EMR_ARCTO:
    case U_EMR_POLYDRAW:
    case U_EMR_SETARCDIRECTION:
    case U_EMR_SETMITERLIMIT:
    case U_EMR_BEGINPATH:
    case U_EMR_ENDPATH:
    case U_EMR_CLOSEFIGURE:
    case U_EMR_FILLPATH:
    case U_EMR_STROKEANDFILLPATH:
    case U_EMR_STROKEPATH:
    case U_EMR_FLATTENPATH:
    case U_EMR_WIDENPATH:
    case U_EMR_SELECTCLIPPATH:
    case U_EMR_ABORTPATH:
    case U_EMR_FILLRGN:
    case U_EMR_FRAMERGN:
    case U_EMR_INVERTRGN:
    case U_EMR_PAINTRGN:
    case U_EMR_EXTSELECTCLIPRGN:
    case U_EMR_BITBLT:
    case U_EMR_STRETCHBLT:
    case U_EMR_SETDIBITSTODEVICE:
    case U_EMR_STRETCHDIBITS:
    case U_EMR_EXTCREATEFONTINDIRECTW:
    case U_EMR_EXTTEXTOUTA:
    case U_EMR_EXTTEXTOUTW:
    case U_EMR_POLYBEZIER16:
    case U_EMR_POLYGON16:
    case U_EMR_POLYLINE16:
    case U_EMR_POLYBEZIERTO16:
    case U_EMR_POLYLINETO16:
    case U_EMR_POLYPOLYLINE16:
    case U_EMR_POLYPOLYGON16:
    case U_EMR_POLYDRAW16:
    case U_EMR_CREATEMONOBRUSH:
    case U_EMR_CREATEDIBPATTERNBRUSHPT:
    case U_EMR_EXTCREATEPEN:
    case U_EMR_ALPHABLEND:
    case U_EMR_TRANSPARENTBLT:
    case U_EMR_GRADIENTFILL: return true;
    default: return false;
  }
}

// Smallest record of each known type, from the libuemf structures (a second
// guard beside libuemf's own check).
std::size_t MinSize(std::uint32_t type) {
  switch (type) {
    case U_EMR_POLYBEZIER:
    case U_EMR_POLYGON:
    case U_EMR_POLYLINE:
    case U_EMR_POLYBEZIERTO:
    case U_EMR_POLYLINETO:
    case U_EMR_POLYBEZIER16:
    case U_EMR_POLYGON16:
    case U_EMR_POLYLINE16:
    case U_EMR_POLYBEZIERTO16:
    case U_EMR_POLYLINETO16:
    case U_EMR_POLYDRAW:
    case U_EMR_POLYDRAW16: return U_SIZE_EMRPOLYLINE;
    case U_EMR_POLYPOLYLINE:
    case U_EMR_POLYPOLYGON:
    case U_EMR_POLYPOLYLINE16:
    case U_EMR_POLYPOLYGON16: return U_SIZE_EMRPOLYPOLYLINE;
    case U_EMR_SETWINDOWEXTEX:
    case U_EMR_SETWINDOWORGEX:
    case U_EMR_SETVIEWPORTEXTEX:
    case U_EMR_SETVIEWPORTORGEX:
    case U_EMR_SETBRUSHORGEX:
    case U_EMR_MOVETOEX:
    case U_EMR_LINETO:
    case U_EMR_OFFSETCLIPRGN: return 16;
    case U_EMR_SETPIXELV: return 20;
    case U_EMR_SCALEVIEWPORTEXTEX:
    case U_EMR_SCALEWINDOWEXTEX: return 24;
    case U_EMR_EXCLUDECLIPRECT:
    case U_EMR_INTERSECTCLIPRECT:
    case U_EMR_ELLIPSE:
    case U_EMR_RECTANGLE:
    case U_EMR_FILLPATH:
    case U_EMR_STROKEANDFILLPATH:
    case U_EMR_STROKEPATH: return 24;
    case U_EMR_ROUNDRECT: return sizeof(U_EMRROUNDRECT);
    case U_EMR_ARC:
    case U_EMR_CHORD:
    case U_EMR_PIE:
    case U_EMR_ARCTO: return sizeof(U_EMRARC);
    case U_EMR_ANGLEARC: return sizeof(U_EMRANGLEARC);
    case U_EMR_SETWORLDTRANSFORM: return sizeof(U_EMRSETWORLDTRANSFORM);
    case U_EMR_MODIFYWORLDTRANSFORM: return sizeof(U_EMRMODIFYWORLDTRANSFORM);
    case U_EMR_CREATEPEN: return sizeof(U_EMRCREATEPEN);
    case U_EMR_CREATEBRUSHINDIRECT: return sizeof(U_EMRCREATEBRUSHINDIRECT);
    case U_EMR_EXTCREATEPEN: return OFF(U_EMREXTCREATEPEN, elp) + U_SIZE_EXTLOGPEN;
    case U_EMR_CREATEMONOBRUSH:
    case U_EMR_CREATEDIBPATTERNBRUSHPT: return sizeof(U_EMRCREATEMONOBRUSH);
    case U_EMR_EXTCREATEFONTINDIRECTW: return U_SIZE_EMREXTCREATEFONTINDIRECTW_LOGFONT;
    case U_EMR_EXTTEXTOUTA:
    case U_EMR_EXTTEXTOUTW: return sizeof(U_EMREXTTEXTOUTW);
    case U_EMR_EXTSELECTCLIPRGN: return U_SIZE_EMREXTSELECTCLIPRGN;
    case U_EMR_FILLRGN: return U_SIZE_EMRFILLRGN;
    case U_EMR_FRAMERGN: return U_SIZE_EMRFRAMERGN;
    case U_EMR_INVERTRGN:
    case U_EMR_PAINTRGN: return U_SIZE_EMRINVERTRGN;
    case U_EMR_BITBLT: return sizeof(U_EMRBITBLT);
    case U_EMR_STRETCHBLT: return sizeof(U_EMRSTRETCHBLT);
    case U_EMR_STRETCHDIBITS: return sizeof(U_EMRSTRETCHDIBITS);
    case U_EMR_SETDIBITSTODEVICE: return sizeof(U_EMRSETDIBITSTODEVICE);
    case U_EMR_ALPHABLEND: return sizeof(U_EMRALPHABLEND);
    case U_EMR_TRANSPARENTBLT: return sizeof(U_EMRTRANSPARENTBLT);
    case U_EMR_GRADIENTFILL: return OFF(U_EMRGRADIENTFILL, ulMode) + 4;
    case U_EMR_SETMAPMODE:
    case U_EMR_SETBKMODE:
    case U_EMR_SETPOLYFILLMODE:
    case U_EMR_SETROP2:
    case U_EMR_SETSTRETCHBLTMODE:
    case U_EMR_SETTEXTALIGN:
    case U_EMR_SETTEXTCOLOR:
    case U_EMR_SETBKCOLOR:
    case U_EMR_RESTOREDC:
    case U_EMR_SELECTOBJECT:
    case U_EMR_DELETEOBJECT:
    case U_EMR_SETARCDIRECTION:
    case U_EMR_SETMITERLIMIT:
    case U_EMR_SELECTCLIPPATH: return 12;
    default: return 8;  // records without parameters
  }
}

}  // namespace

std::optional<Rect> ReadEmfFrame(const std::uint8_t* data, std::size_t size) {
  const RecordView r(data, size);
  if (data == nullptr || size < U_SIZE_EMRHEADER_MIN) return std::nullopt;
  if (r.U32(0) != U_EMR_HEADER || r.U32(OFF(U_EMRHEADER, dSignature)) != kEmfSignature) return std::nullopt;
  const std::uint32_t nSize = r.U32(4);
  if (nSize < U_SIZE_EMRHEADER_MIN || nSize > size) return std::nullopt;
  return RectAt(r, OFF(U_EMRHEADER, rclFrame));
}

PlayOutcome PlayEmfRecords(DeviceContext* dc, const std::uint8_t* data, std::size_t size, const Rect& target,
                           DibCache* dibs) {
  PlayOutcome out;
  const RecordView head(data, size);
  const Rect frame = RectAt(head, OFF(U_EMRHEADER, rclFrame));
  const Rect bounds = RectAt(head, OFF(U_EMRHEADER, rclBounds));
  const double devX = head.I32(OFF(U_EMRHEADER, szlDevice)), devY = head.I32(OFF(U_EMRHEADER, szlDevice) + 4);
  const double mmX = head.I32(OFF(U_EMRHEADER, szlMillimeters)), mmY = head.I32(OFF(U_EMRHEADER, szlMillimeters) + 4);
  double dpmmX = devX > 0 && mmX > 0 ? devX / mmX : 96 / 25.4;
  double dpmmY = devY > 0 && mmY > 0 ? devY / mmY : 96 / 25.4;

  // The frame in reference device pixels; the bounds when the frame is empty.
  QRectF src(QPointF(frame.left * dpmmX / 100.0, frame.top * dpmmY / 100.0),
             QPointF(frame.right * dpmmX / 100.0, frame.bottom * dpmmY / 100.0));
  if (!(src.width() > 0) || !(src.height() > 0))
    src = QRectF(QPointF(bounds.left, bounds.top), QPointF(bounds.right + 1.0, bounds.bottom + 1.0));
  if (!(src.width() > 0) || !(src.height() > 0) || RectIsEmpty(target)) {
    out.damaged = !(src.width() > 0) || !(src.height() > 0);
    return out;
  }
  const QTransform frameMap =
      QTransform::fromTranslate(-src.left(), -src.top()) *
      QTransform::fromScale(RectWidth(target) / src.width(), RectHeight(target) / src.height()) *
      QTransform::fromTranslate(target.left, target.top);

  Player player(dc, frameMap, dpmmX, dpmmY, false);
  player.UseDibCache(dibs, data);
  player.SetTableSize(static_cast<std::size_t>(head.U16(OFF(U_EMRHEADER, nHandles))) + 1);
  EmfReader reader(player);

  std::size_t off = head.U32(4);
  bool ended = false;
  while (off < size) {
    if (size - off < 8) break;
    const RecordView peek(data + off, size - off);
    const std::uint32_t type = peek.U32(0);
    const std::uint32_t nSize = peek.U32(4);
    if (nSize < 8 || (nSize & 3) != 0 || nSize > size - off) break;  // the chain of records is broken
    const RecordView rec(data + off, nSize);
    if (type == U_EMR_EOF) {
      ended = true;
      break;
    }
    if (Known(type)) {
      if (nSize < MinSize(type) || !U_emf_record_safe(reinterpret_cast<const char*>(data + off)) ||
          !reader.Play(type, rec))
        out.damaged = true;  // this record is left out; the chain goes on
    }
    off += nSize;
  }
  if (!ended) out.damaged = true;
  return out;
}

}  // namespace pv::pictor
