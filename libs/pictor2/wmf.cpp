// Windows metafile records -> device context.

#include "libs/pictor2/dib.h"
#include "libs/pictor2/player.h"

#include "platform/cp1252.h"

#include <uwmf.h>

#include <QString>
#include <algorithm>
#include <cmath>

namespace pv::pictor {
namespace {

constexpr std::size_t kParams = 6;  // size (32 bits) and function (16 bits) come first

Rect RectLtrbReversed(const RecordView& r, std::size_t off) {
  // bottom, right, top, left
  return Rect{r.I16(off + 6), r.I16(off + 4), r.I16(off + 2), r.I16(off)};
}

std::vector<Point> Points(const RecordView& r, std::size_t off, std::size_t count) {
  std::vector<Point> pts(count);
  for (std::size_t i = 0; i < count; ++i) pts[i] = {r.I16(off + 4 * i), r.I16(off + 4 * i + 2)};
  return pts;
}

class WmfReader {
 public:
  WmfReader(Player& player) : m_p(player), m_dc(player.dc()) {}
  bool Play(std::uint8_t function, const RecordView& r);

 private:
  void Create(TableObject object) {
    // Slot n of the table holds the file's object n - 1 (files count from 0).
    const std::int64_t slot = m_p.FirstFree();
    if (slot > 0) m_p.Put(static_cast<std::uint32_t>(slot), std::move(object));
  }
  bool Text(const RecordView& r, bool extended);
  bool Blit(std::uint8_t function, const RecordView& r);

  Player& m_p;
  DeviceContext* m_dc;
};

bool WmfReader::Text(const RecordView& r, bool extended) {
  std::int32_t x = 0, y = 0;
  std::size_t len = 0, strOff = 0, after = 0;
  std::uint32_t options = 0;
  Rect rect;
  bool haveRect = false;
  if (!extended) {
    const std::int16_t n = r.I16(kParams);
    if (n < 0) return false;
    len = static_cast<std::size_t>(n);
    strOff = kParams + 2;
    after = strOff + ((len + 1) & ~std::size_t{1});
    if (!r.Has(after, 4)) return false;
    y = r.I16(after);
    x = r.I16(after + 2);
  } else {
    y = r.I16(kParams);
    x = r.I16(kParams + 2);
    const std::int16_t n = r.I16(kParams + 4);
    if (n < 0) return false;
    len = static_cast<std::size_t>(n);
    options = r.U16(kParams + 6);
    strOff = kParams + 8;
    if (options & (EtoOpaque | EtoClipped)) {
      if (!r.Has(strOff, 8)) return false;
      rect = Rect{r.I16(strOff), r.I16(strOff + 2), r.I16(strOff + 4), r.I16(strOff + 6)};
      haveRect = true;
      strOff += 8;
    }
    after = strOff + ((len + 1) & ~std::size_t{1});
  }
  if (!r.Has(strOff, len)) return false;
  const QString text = FromAnsi(reinterpret_cast<const char*>(r.data() + strOff), static_cast<qsizetype>(len));
  std::vector<std::int32_t> dx;
  if (extended && len > 0 && r.Has(after, 2 * len)) {
    dx.resize(len);
    for (std::size_t i = 0; i < len; ++i) dx[i] = r.I16(after + 2 * i);
  }
  if (!m_p.CanDraw()) return true;
  const bool useDx = !dx.empty() && static_cast<std::size_t>(text.size()) == dx.size();
  ExtTextOut(m_dc, x, y, options & (EtoOpaque | EtoClipped), haveRect ? &rect : nullptr, text,
             useDx ? dx.data() : nullptr);
  return true;
}

bool WmfReader::Blit(std::uint8_t function, const RecordView& r) {
  // Parameters (reversed): raster op first, then source then destination,
  // then the packed bitmap.
  const std::uint32_t rop =
      static_cast<std::uint32_t>(r.U16(kParams)) | (static_cast<std::uint32_t>(r.U16(kParams + 2)) << 16);
  std::size_t o = kParams + 4;
  std::int32_t sx = 0, sy = 0, sw = 0, sh = 0, dx = 0, dy = 0, dw = 0, dh = 0;
  std::uint16_t usage = 0;
  bool fromBottom = true;
  switch (function) {
    case U_WMR_STRETCHDIB:
      usage = r.U16(o);
      o += 2;
      [[fallthrough]];
    case U_WMR_DIBSTRETCHBLT:
      sh = r.I16(o);
      sw = r.I16(o + 2);
      sy = r.I16(o + 4);
      sx = r.I16(o + 6);
      dh = r.I16(o + 8);
      dw = r.I16(o + 10);
      dy = r.I16(o + 12);
      dx = r.I16(o + 14);
      o += 16;
      fromBottom = function == U_WMR_STRETCHDIB;
      break;
    case U_WMR_DIBBITBLT:
      sy = r.I16(o);
      sx = r.I16(o + 2);
      dh = r.I16(o + 4);
      dw = r.I16(o + 6);
      dy = r.I16(o + 8);
      dx = r.I16(o + 10);
      sw = dw;
      sh = dh;
      o += 12;
      fromBottom = false;
      break;
    default: return true;
  }
  const Rect dest{dx, dy, dx + dw, dy + dh};
  if (o >= r.size()) {  // no bitmap: these records then carry one reserved word
    if (m_p.CanDraw()) PatBlt(m_dc, dest, rop);
    return true;
  }
  // The short form without a bitmap has one more word before the destination.
  if (function != U_WMR_STRETCHDIB && r.size() - o == 2) {
    if (m_p.CanDraw()) PatBlt(m_dc, dest, rop);
    return true;
  }
  const QImage img = m_p.Dib(r.data() + o, usage, [&] {
    return DecodePackedDib(r.data() + o, r.size() - o, usage == 1 ? DibColors::PaletteIndexes : DibColors::Rgb);
  });
  if (img.isNull()) return false;
  if (!m_p.CanDraw()) return true;
  bool bottomUp = true;
  const std::uint32_t hs = r.U32(o);
  if (hs >= 40) bottomUp = r.I32(o + 8) > 0;
  const std::int32_t top = fromBottom && bottomUp ? img.height() - sy - sh : sy;
  const Rect src{sx, top, sx + sw, top + sh};
  StretchImage(m_dc, dest, img, &src, rop);
  return true;
}

bool WmfReader::Play(std::uint8_t function, const RecordView& r) {
  const std::size_t n = r.size();
  auto need = [&](std::size_t paramBytes) { return n >= kParams + paramBytes; };
  switch (function) {
    case U_WMR_SETWINDOWORG:
      if (!need(4)) return false;
      m_p.SetWindowOrg(r.I16(8), r.I16(6));
      return true;
    case U_WMR_SETWINDOWEXT:
      if (!need(4)) return false;
      m_p.SetWindowExt(r.I16(8), r.I16(6));
      return true;
    case U_WMR_OFFSETWINDOWORG:
      if (!need(4)) return false;
      m_p.OffsetWindowOrg(r.I16(8), r.I16(6));
      return true;
    case U_WMR_SCALEWINDOWEXT:
      if (!need(8)) return false;
      m_p.ScaleWindowExt(r.I16(12), r.I16(10), r.I16(8), r.I16(6));
      return true;
    case U_WMR_SETVIEWPORTORG:
    case U_WMR_SETVIEWPORTEXT:
    case U_WMR_OFFSETVIEWPORTORG:
    case U_WMR_SCALEVIEWPORTEXT:
    case U_WMR_SETMAPMODE: return true;  // the viewport is the target rectangle

    case U_WMR_SAVEDC: m_p.Save(); return true;
    case U_WMR_RESTOREDC:
      if (!need(2)) return false;
      m_p.Restore(r.I16(6));
      return true;

    case U_WMR_SETBKCOLOR:
      if (!need(4)) return false;
      SetBkColour(m_dc, ColourAt(r, 6));
      return true;
    case U_WMR_SETTEXTCOLOR:
      if (!need(4)) return false;
      SetTextColour(m_dc, ColourAt(r, 6));
      return true;
    case U_WMR_SETBKMODE:
      if (!need(2)) return false;
      SetBkMode(m_dc, r.U16(6) == 1 ? BkMode::Transparent : BkMode::Opaque);
      return true;
    case U_WMR_SETPOLYFILLMODE:
      if (!need(2)) return false;
      SetPolyFillMode(m_dc, r.U16(6) == 2 ? FillMode::Winding : FillMode::Alternate);
      return true;
    case U_WMR_SETTEXTALIGN:
      if (!need(2)) return false;
      SetTextAlign(m_dc, r.U16(6) & 0x1F);
      return true;
    case U_WMR_SETROP2:
      if (!need(2)) return false;
      if (r.U16(6) >= 1 && r.U16(6) <= 16) SetRop2(m_dc, static_cast<Rop2>(r.U16(6)));
      return true;

    case U_WMR_CREATEPENINDIRECT: {
      if (!need(10)) return false;
      Pen pen;
      const std::uint16_t style = r.U16(6);
      const std::uint16_t kind = style & 0x0F;
      pen.style = kind <= 8 ? static_cast<PenStyle>(kind) : PenStyle::Solid;
      if (kind == 6) pen.style = PenStyle::Solid;
      pen.insideFrame = kind == 6;
      pen.width = std::max<std::int16_t>(r.I16(8), 0);
      pen.colour = ColourAt(r, 12);
      pen.cap = (style & 0x0F00) == 0x0100 ? PenCap::Square : (style & 0x0F00) == 0x0200 ? PenCap::Flat : PenCap::Round;
      pen.join = (style & 0xF000) == 0x1000   ? PenJoin::Bevel
                 : (style & 0xF000) == 0x2000 ? PenJoin::Miter
                                              : PenJoin::Round;
      Create(pen);
      return true;
    }
    case U_WMR_CREATEBRUSHINDIRECT: {
      if (!need(8)) return false;
      const std::uint16_t style = r.U16(6);
      const Colour c = ColourAt(r, 8);
      const std::uint16_t hatch = r.U16(12);
      Brush b = Brush::SolidColour(c);
      if (style == 1)
        b = Brush::Hollow();
      else if (style == 2)
        b = Brush::Hatch(hatch <= 5 ? static_cast<HatchStyle>(hatch) : HatchStyle::Horizontal, c);
      Create(b);
      return true;
    }
    case U_WMR_DIBCREATEPATTERNBRUSH: {
      if (!need(4)) return false;
      const std::uint16_t usage = r.U16(8);
      const QImage img =
          DecodePackedDib(r.data() + 10, n - 10, usage == 1 ? DibColors::PaletteIndexes : DibColors::Rgb);
      Create(img.isNull() ? Brush::SolidColour(Rgb(0, 0, 0)) : Brush::PatternImage(img));
      return !img.isNull();
    }
    case U_WMR_CREATEFONTINDIRECT: {
      if (!need(18)) return false;
      Font f;
      f.height = r.I16(6);
      f.width = r.I16(8);
      f.escapement = r.I16(10);
      f.orientation = r.I16(12);
      f.weight = r.I16(14);
      f.italic = r.U8(16) != 0;
      f.underline = r.U8(17) != 0;
      f.strikeOut = r.U8(18) != 0;
      QByteArray face;
      for (std::size_t i = 24; i < n && i < 24 + 32; ++i) {
        if (r.U8(i) == 0) break;
        face.append(static_cast<char>(r.U8(i)));
      }
      if (!face.isEmpty()) f.face = FromAnsi(face);
      Create(f);
      return true;
    }
    case U_WMR_CREATEPALETTE:
    case U_WMR_CREATEPATTERNBRUSH:
    case U_WMR_CREATEREGION:
    case U_WMR_CREATEBITMAPINDIRECT:
    case U_WMR_CREATEBITMAP:
      Create(Placeholder{});  // takes its slot; not drawn with
      return true;
    case U_WMR_SELECTOBJECT:
      if (!need(2)) return false;
      m_p.Select(static_cast<std::uint32_t>(r.U16(6)) + 1);
      return true;
    case U_WMR_DELETEOBJECT:
      if (!need(2)) return false;
      m_p.Delete(static_cast<std::uint32_t>(r.U16(6)) + 1);
      return true;

    case U_WMR_MOVETO:
      if (!need(4)) return false;
      MoveTo(m_dc, r.I16(8), r.I16(6));
      return true;
    case U_WMR_LINETO:
      if (!need(4)) return false;
      if (m_p.CanDraw()) LineTo(m_dc, r.I16(8), r.I16(6));
      return true;
    case U_WMR_POLYLINE:
    case U_WMR_POLYGON: {
      if (!need(2)) return false;
      const std::int16_t count = r.I16(6);
      if (count < 0 || !r.Has(8, 4 * static_cast<std::uint64_t>(count))) return false;
      if (!m_p.CanDraw()) return true;
      const std::vector<Point> pts = Points(r, 8, static_cast<std::size_t>(count));
      if (function == U_WMR_POLYGON)
        Polygon(m_dc, pts.data(), count);
      else
        Polyline(m_dc, pts.data(), count);
      return true;
    }
    case U_WMR_POLYPOLYGON: {
      if (!need(2)) return false;
      const std::uint16_t polys = r.U16(6);
      if (!r.Has(8, 2 * static_cast<std::uint64_t>(polys))) return false;
      std::vector<std::int32_t> counts(polys);
      std::uint64_t total = 0;
      for (std::size_t i = 0; i < polys; ++i) {
        counts[i] = r.U16(8 + 2 * i);
        total += static_cast<std::uint64_t>(counts[i]);
      }
      const std::size_t ptsOff = 8 + 2 * static_cast<std::size_t>(polys);
      if (!r.Has(ptsOff, 4 * total)) return false;
      if (!m_p.CanDraw()) return true;
      const std::vector<Point> pts = Points(r, ptsOff, static_cast<std::size_t>(total));
      PolyPolygon(m_dc, pts.data(), counts.data(), polys);
      return true;
    }
    case U_WMR_RECTANGLE:
      if (!need(8)) return false;
      if (m_p.CanDraw()) Rectangle(m_dc, RectLtrbReversed(r, 6));
      return true;
    case U_WMR_ELLIPSE:
      if (!need(8)) return false;
      if (m_p.CanDraw()) Ellipse(m_dc, RectLtrbReversed(r, 6));
      return true;
    case U_WMR_ROUNDRECT:
      if (!need(12)) return false;
      if (m_p.CanDraw()) RoundRect(m_dc, RectLtrbReversed(r, 10), r.I16(8), r.I16(6));
      return true;
    case U_WMR_ARC:
    case U_WMR_CHORD:
    case U_WMR_PIE: {
      if (!need(16)) return false;
      if (!m_p.CanDraw()) return true;
      const Point end{r.I16(8), r.I16(6)}, start{r.I16(12), r.I16(10)};
      const Rect box = RectLtrbReversed(r, 14);
      if (function == U_WMR_ARC)
        Arc(m_dc, box, start, end);
      else if (function == U_WMR_CHORD)
        Chord(m_dc, box, start, end);
      else
        Pie(m_dc, box, start, end);
      return true;
    }
    case U_WMR_SETPIXEL:
      if (!need(8)) return false;
      if (m_p.CanDraw()) SetPixel(m_dc, r.I16(12), r.I16(10), ColourAt(r, 6));
      return true;
    case U_WMR_PATBLT: {
      if (!need(12)) return false;
      const std::uint32_t rop = static_cast<std::uint32_t>(r.U16(6)) | (static_cast<std::uint32_t>(r.U16(8)) << 16);
      const std::int32_t h = r.I16(10), w = r.I16(12), y = r.I16(14), x = r.I16(16);
      if (m_p.CanDraw()) PatBlt(m_dc, Rect{x, y, x + w, y + h}, rop);
      return true;
    }

    case U_WMR_INTERSECTCLIPRECT:
      if (!need(8)) return false;
      IntersectClipRect(m_dc, RectLtrbReversed(r, 6));
      return true;
    case U_WMR_EXCLUDECLIPRECT:
      if (!need(8)) return false;
      ExcludeClipRect(m_dc, RectLtrbReversed(r, 6));
      m_p.ClipChanged();
      return true;

    case U_WMR_TEXTOUT: return Text(r, false);
    case U_WMR_EXTTEXTOUT:
      if (!need(8)) return false;
      return Text(r, true);

    case U_WMR_STRETCHDIB:
      if (!need(22)) return false;
      return Blit(function, r);
    case U_WMR_DIBSTRETCHBLT:
      if (!need(20)) return false;
      return Blit(function, r);
    case U_WMR_DIBBITBLT:
      if (!need(16)) return false;
      return Blit(function, r);

    default: return true;  // escapes, palettes, regions and the rest: skipped
  }
}

}  // namespace

PlayOutcome PlayWmfRecords(DeviceContext* dc, const std::uint8_t* data, std::size_t size, bool placeable,
                           const Rect& target, DibCache* dibs) {
  PlayOutcome out;
  const std::size_t start = placeable ? 22 : 0;
  const RecordView all(data, size);
  const std::uint16_t headerWords = all.U16(start + 2);
  const std::uint16_t objects = all.U16(start + 14);

  // The viewport is the target; the window starts as the placeable box (or
  // as the target itself, when there is none) until the records set it.
  Player player(dc, QTransform(), 96 / 25.4, 96 / 25.4, true);
  player.UseDibCache(dibs, data);
  player.SetTableSize(static_cast<std::size_t>(objects) + 1);
  if (RectIsEmpty(target)) return out;
  player.SetWmfViewport(target);
  if (placeable) {
    const std::int16_t l = all.I16(6), t = all.I16(8), r = all.I16(10), b = all.I16(12);
    if (r != l && b != t) {
      player.SetWindowOrg(l, t);
      player.SetWindowExt(r - l, b - t);
    }
  } else {
    player.SetWindowOrg(target.left, target.top);
    player.SetWindowExt(RectWidth(target), RectHeight(target));
  }

  WmfReader reader(player);
  std::size_t off = start + 2 * static_cast<std::size_t>(headerWords);
  bool ended = false;
  while (off < size) {
    if (size - off < 6) break;
    const RecordView peek(data + off, size - off);
    const std::uint64_t bytes = 2 * static_cast<std::uint64_t>(peek.U32(0));
    const std::uint16_t function = peek.U16(4);
    if (function == 0) {  // META_EOF
      ended = true;
      break;
    }
    if (bytes < 6 || bytes > size - off) break;  // the chain of records is broken
    if (U_WMRRECSAFE_get(reinterpret_cast<const char*>(data + off), reinterpret_cast<const char*>(data + size)) == 0 ||
        !reader.Play(static_cast<std::uint8_t>(function & 0xFF),
                     RecordView(data + off, static_cast<std::size_t>(bytes))))
      out.damaged = true;
    off += static_cast<std::size_t>(bytes);
  }
  if (!ended) out.damaged = true;
  return out;
}

}  // namespace pv::pictor
