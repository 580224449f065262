// The device context: fonts and text.

#include "platform/dc_internal.h"

#include <QFontMetricsF>
#include <QPaintDevice>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <vector>

namespace pv {

using namespace detail;

namespace {

constexpr double kMaxFontPx = 16384.0;
constexpr int kMaxTextLength = 1 << 20;

bool SameFont(const Font& a, const Font& b) {
  return a.face == b.face && a.height == b.height && a.width == b.width && a.weight == b.weight &&
         a.italic == b.italic && a.underline == b.underline && a.strikeOut == b.strikeOut &&
         a.antialiased == b.antialiased;
}

// Vertical and horizontal scale of the logical -> device transform.
double ScaleY(const QTransform& m) { return std::hypot(m.m21(), m.m22()); }
double ScaleX(const QTransform& m) { return std::hypot(m.m11(), m.m12()); }

QFontMetricsF Metrics(const DeviceContext* dc, const QFont& f) {
  QPaintDevice* dev = dc->painter ? dc->painter->device() : nullptr;
  return dev ? QFontMetricsF(f, dev) : QFontMetricsF(f);
}

using Run = TextRun;

QFont MakeQFontFor(const DeviceContext* dc, const Font& f, const QTransform& m, double* deviceHeight);

// m: the context's full transform.
Run LayOutAfresh(const DeviceContext* dc, const QString& text, const std::int32_t* dx, const QTransform& m) {
  const double sx = std::max(1e-9, ScaleX(m));
  // Made with its font: a run made empty would first make the default font,
  // a look-up of the application's font under its lock.
  Run run{MakeQFontFor(dc, dc->st.font, m, nullptr)};
  const QFontMetricsF fm = Metrics(dc, run.font);
  run.ascent = fm.ascent();
  run.descent = fm.descent();
  const int n = static_cast<int>(text.size());
  const bool justify = dc->st.justCount > 0 && dc->st.justExtra != 0 && text.contains(QLatin1Char(' '));
  if (dx || dc->st.charExtra != 0) {
    run.advances.resize(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
      double a;
      if (dx) {
        a = dx[i] * sx;
      } else {
        a = fm.horizontalAdvance(text.at(i)) + dc->st.charExtra * sx;
      }
      run.advances[static_cast<std::size_t>(i)] = a;
    }
  }
  if (justify) {
    // The extra width spread over the spaces, the remainder to the first ones.
    run.wordExtra.assign(static_cast<std::size_t>(n) + 1, 0.0);
    const int count = dc->st.justCount;
    const int share = dc->st.justExtra / count;
    int rest = dc->st.justExtra % count;
    int seen = 0;
    for (int i = 0; i < n; ++i) {
      if (text.at(i) == QLatin1Char(' ') && seen < count) {
        int e = share;
        if (rest > 0) {
          ++e;
          --rest;
        } else if (rest < 0) {
          --e;
          ++rest;
        }
        run.wordExtra[static_cast<std::size_t>(i) + 1] = e * sx;
        ++seen;
      }
    }
  }
  double w = 0;
  if (!run.advances.empty()) {
    for (double a : run.advances) w += a;
  } else {
    w = fm.horizontalAdvance(text);
  }
  for (double e : run.wordExtra) w += e;
  run.width = w;
  return run;
}

// The layout of a text without per-character advances, from the context's
// cache when the same text was laid out last with the same font, mapping
// and spacing; m is the context's full transform. The answer is the cache
// itself, valid until the next layout on the context; a text with
// per-character advances is laid out into *own.
const Run& Layout(const DeviceContext* dc, const QString& text, const std::int32_t* dx, const QTransform& m,
                  std::optional<Run>* own) {
  if (dx) return own->emplace(LayOutAfresh(dc, text, dx, m));
  const DcState& st = dc->st;
  if (dc->runCacheValid && dc->runCacheText == text && SameFont(dc->runCacheFont, st.font) &&
      dc->runCacheTransform == m && dc->runCacheExtra[0] == st.charExtra && dc->runCacheExtra[1] == st.justExtra &&
      dc->runCacheExtra[2] == st.justCount)
    return dc->runCache;
  dc->runCache = LayOutAfresh(dc, text, nullptr, m);
  dc->runCacheValid = true;
  dc->runCacheText = text;
  dc->runCacheFont = st.font;
  dc->runCacheTransform = m;
  dc->runCacheExtra[0] = st.charExtra;
  dc->runCacheExtra[1] = st.justExtra;
  dc->runCacheExtra[2] = st.justCount;
  return dc->runCache;
}

// Where a text goes: its layout, the turn and move of its reference point
// into device units, and the offset of its top left from that point by the
// text alignment.
struct Placement {
  const Run* run = nullptr;  // the context's run cache, or own
  std::optional<Run> own;
  QTransform full;  // the context's full transform
  Point ref;        // the reference point, logical units
  QTransform local;
  double rot = 0;  // degrees
  double ox = 0, by = 0;
};

// The placement of the text with its reference point at logical (x, y), or
// false when the point lies beyond any device.
bool Place(const DeviceContext* dc, std::int32_t x, std::int32_t y, const QString& text, const std::int32_t* dx,
           Placement* out) {
  const bool useCp = (dc->st.textAlign & TaUpdateCp) != 0;
  const Point ref = useCp ? dc->st.position : Point{x, y};
  out->full = FullTransform(dc);
  const QTransform& m = out->full;
  const QPointF p = m.map(QPointF(ref.x, ref.y));
  if (!std::isfinite(p.x()) || !std::isfinite(p.y()) || std::fabs(p.x()) > 1e7 || std::fabs(p.y()) > 1e7) return false;
  out->ref = ref;
  out->run = &Layout(dc, text, dx, m, &out->own);
  const Run& run = *out->run;
  const std::uint32_t ha = dc->st.textAlign & TaCenter;
  const std::uint32_t va = dc->st.textAlign & TaBaseline;
  out->ox = 0;
  if (ha == TaRight)
    out->ox = -run.width;
  else if (ha == TaCenter)
    out->ox = -run.width / 2;
  out->by = run.ascent;
  if (va == TaBaseline)
    out->by = 0;
  else if (va == TaBottom)
    out->by = -run.descent;

  double rot = 0;
  if (m.determinant() > 0) rot = std::atan2(m.m12(), m.m11()) * 180.0 / M_PI;
  rot -= std::fmod(dc->st.font.escapement / 10.0, 360.0);
  out->rot = rot;
  out->local = QTransform();
  out->local.rotate(rot);
  out->local *= QTransform::fromTranslate(p.x(), p.y());
  return true;
}

// Draws (or adds to the path) the text with its reference point at logical
// (x, y).
void OutputText(DeviceContext* dc, std::int32_t x, std::int32_t y, const QString& text, const std::int32_t* dx) {
  if (text.isEmpty() || text.size() > kMaxTextLength) return;
  Placement place;
  if (!Place(dc, x, y, text, dx, &place)) return;
  const Point ref = place.ref;
  const Run& run = *place.run;
  const QTransform& local = place.local;
  const double ox = place.ox, by = place.by;

  if ((dc->st.textAlign & TaUpdateCp) != 0) {
    const QTransform& m = place.full;
    const double sx = std::max(1e-9, ScaleX(m));
    const double adv = run.width / sx;
    const double t = place.rot * M_PI / 180.0;
    // The position follows the text's direction, in logical units.
    const double lx = adv * std::cos(t);
    const double ly = (m.m22() < 0 ? -1 : 1) * adv * std::sin(t);
    dc->st.position =
        Point{static_cast<std::int32_t>(std::lround(ref.x + lx)), static_cast<std::int32_t>(std::lround(ref.y + ly))};
  }

  const int n = static_cast<int>(text.size());
  auto eachPiece = [&](auto&& fn) {
    if (!run.advances.empty()) {
      double at = ox;
      for (int i = 0; i < n; ++i) {
        if (!run.wordExtra.empty()) at += run.wordExtra[static_cast<std::size_t>(i)];
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < n) {
          fn(QPointF(at, by), text.mid(i, 2));
          at += run.advances[static_cast<std::size_t>(i)] + run.advances[static_cast<std::size_t>(i) + 1];
          ++i;
          continue;
        }
        if (c != QLatin1Char(' ')) fn(QPointF(at, by), QString(c));
        at += run.advances[static_cast<std::size_t>(i)];
      }
    } else if (!run.wordExtra.empty()) {
      const QFontMetricsF fm = Metrics(dc, run.font);
      double extra = 0;
      int start = 0;
      for (int i = 0; i <= n; ++i) {
        if (i == n || text.at(i) == QLatin1Char(' ')) {
          if (i > start)
            fn(QPointF(ox + fm.horizontalAdvance(text.left(start)) + extra, by), text.mid(start, i - start));
          if (i < n) extra += run.wordExtra[static_cast<std::size_t>(i) + 1];
          start = i + 1;
        }
      }
    } else {
      fn(QPointF(ox, by), text);
    }
  };

  if (dc->st.pathOpen) {
    QPainterPath tp;
    eachPiece([&](QPointF at, const QString& s) { tp.addText(at, run.font, s); });
    PathAdd(dc, local.map(tp));
    return;
  }
  if (!Valid(dc) || dc->st.rop2 == Rop2::Nop) return;
  CountDraw(dc);
  QPainter* qp = dc->painter;
  // Unturned text is placed by its position, the painter staying in device
  // units: a printer or a PDF takes every change of the transform as a new
  // graphics state.
  const bool turned = local.type() > QTransform::TxTranslate;
  const QPointF shift = turned ? QPointF() : QPointF(local.dx(), local.dy());
  if (turned) qp->setTransform(local * dc->base);
  SetHint(qp, QPainter::Antialiasing, dc->st.font.antialiased);
  SetHint(qp, QPainter::TextAntialiasing, dc->st.font.antialiased);
  if (dc->st.bkMode == BkMode::Opaque)
    qp->fillRect(QRectF(ox, by - run.ascent, run.width, run.ascent + run.descent).translated(shift),
                 ToQColor(dc->st.bkColour));
  // The font goes to the painter only when the painter holds another: the
  // painter keeps a copy of every font it is given, which looks its face up
  // again at the next text.
  if (!dc->paintedFontValid || !run.font.isCopyOf(dc->paintedFontGiven) || !qp->font().isCopyOf(dc->paintedFontHeld)) {
    qp->setFont(run.font);
    dc->paintedFontGiven = run.font;
    dc->paintedFontHeld = qp->font();
    dc->paintedFontValid = true;
  }
  if (dc->st.textBrush.style() != Qt::NoBrush) {
    // The brush is fixed to the device: a turned text's painter is in the
    // text's own frame, where the brush is moved back by the turn.
    QBrush brush = dc->st.textBrush;
    if (turned) brush.setTransform(brush.transform() * local.inverted());
    qp->setPen(QPen(brush, 1.0));
  } else {
    qp->setPen(ToQColor(dc->st.textColour));
  }
  qp->setBrush(Qt::NoBrush);
  eachPiece([&](QPointF at, const QString& s) { qp->drawText(at + shift, s); });
  if (turned) qp->setTransform(dc->base);
}

QFont MakeQFontFor(const DeviceContext* dc, const Font& f, const QTransform& m, double* deviceHeight) {
  const double sx = ScaleX(m), sy = ScaleY(m);
  for (const DeviceContext::FontCacheEntry& e : dc->fontCache) {
    if (e.valid && e.scaleX == sx && e.scaleY == sy && SameFont(e.key, f)) {
      if (deviceHeight) *deviceHeight = e.height;
      return e.font;
    }
  }
  QFont q(f.face.trimmed().isEmpty() ? QStringLiteral("Arial") : f.face.trimmed());
  q.setStyleHint(QFont::SansSerif);
  const int weight = f.weight <= 0 ? 400 : std::clamp(f.weight, 100, 900);
  q.setWeight(static_cast<QFont::Weight>(weight));
  q.setItalic(f.italic);
  q.setUnderline(f.underline);
  q.setStrikeOut(f.strikeOut);
  // No kerning and, where the script allows, no shaping: a text's advance is
  // the sum of its characters' advances, so a text measured piece by piece
  // (the text library grows its lines a character at a time) is as wide as
  // the same text drawn at once, and drawing agrees with measuring.
  q.setStyleStrategy(static_cast<QFont::StyleStrategy>((f.antialiased ? QFont::PreferAntialias : QFont::NoAntialias) |
                                                       QFont::PreferNoShaping));
  q.setKerning(false);
  q.setHintingPreference(QFont::PreferNoHinting);
  double px;
  if (f.height == 0) {
    px = 12.0 * std::max(1, dc->info.dpiY) / 72.0;
  } else {
    px = std::fabs(static_cast<double>(f.height)) * sy;
  }
  if (!std::isfinite(px)) px = 1;
  px = std::clamp(px, 1.0, kMaxFontPx);
  q.setPixelSize(std::max(1, static_cast<int>(std::lround(px))));
  if (f.height > 0) {
    // A positive height is the cell: ascent + descent.
    const QFontMetricsF fm = Metrics(dc, q);
    const double cell = fm.ascent() + fm.descent();
    if (cell > 0) {
      const double em = std::clamp(px * px / cell, 1.0, kMaxFontPx);
      q.setPixelSize(std::max(1, static_cast<int>(std::lround(em))));
    }
  }
  if (f.width > 0) {
    const QFontMetricsF fm = Metrics(dc, q);
    const double avg = fm.averageCharWidth();
    const double want = f.width * sx;
    if (avg > 0 && std::isfinite(want))
      q.setStretch(std::clamp(static_cast<int>(std::lround(want / avg * 100.0)), 1, 4000));
  }
  // Made for the painter's device, the font keeps the face it looked up
  // when measured there (a font of another resolution looks it up anew).
  if (QPaintDevice* dev = dc->painter ? dc->painter->device() : nullptr) q = QFont(q, dev);
  DeviceContext::FontCacheEntry& e = dc->fontCache[dc->fontCacheNext];
  dc->fontCacheNext = (dc->fontCacheNext + 1) % DeviceContext::kFontCacheSize;
  e.valid = true;
  e.glyphs.clear();
  e.key = f;
  e.scaleX = sx;
  e.scaleY = sy;
  e.font = q;
  e.height = px;
  if (deviceHeight) *deviceHeight = px;
  return q;
}

}  // namespace

namespace detail {

QFont MakeQFont(const DeviceContext* dc, const Font& f, double* deviceHeight) {
  return MakeQFontFor(dc, f, FullTransform(dc), deviceHeight);
}

}  // namespace detail

std::uint32_t SetTextAlign(DeviceContext* dc, std::uint32_t flags) {
  if (!dc) return 0;
  std::uint32_t old = dc->st.textAlign;
  dc->st.textAlign = flags & (TaUpdateCp | TaCenter | TaBaseline);
  return old;
}
std::uint32_t GetTextAlign(const DeviceContext* dc) { return dc ? dc->st.textAlign : 0; }

void SetTextJustification(DeviceContext* dc, std::int32_t extra, std::int32_t breakCount) {
  if (!dc) return;
  if (breakCount <= 0 || extra == 0 || std::abs(extra) > 10000000) {
    dc->st.justExtra = 0;
    dc->st.justCount = 0;
    return;
  }
  dc->st.justExtra = extra;
  dc->st.justCount = breakCount;
}

std::int32_t SetTextCharacterExtra(DeviceContext* dc, std::int32_t extra) {
  if (!dc) return 0;
  std::int32_t old = dc->st.charExtra;
  if (std::abs(extra) <= 100000) dc->st.charExtra = extra;
  return old;
}

void SetTextBrush(DeviceContext* dc, const QBrush& brush) {
  if (!dc) return;
  dc->st.textBrush = brush;
}

void TextOut(DeviceContext* dc, std::int32_t x, std::int32_t y, const QString& text) {
  if (!dc) return;
  OutputText(dc, x, y, text, nullptr);
}

void ExtTextOut(DeviceContext* dc, std::int32_t x, std::int32_t y, std::uint32_t options, const Rect* rect,
                const QString& text, const std::int32_t* dx) {
  if (!dc) return;
  if (rect && (options & EtoOpaque) && Valid(dc) && !dc->st.pathOpen) FillRect(dc, *rect, dc->st.bkColour);
  const bool clip = rect && (options & EtoClipped) && Valid(dc) && !dc->st.pathOpen;
  if (clip) {
    const QTransform m = FullTransform(dc);
    const QRectF d = m.mapRect(QRectF(QPointF(rect->left, rect->top), QPointF(rect->right, rect->bottom)).normalized());
    dc->painter->save();
    dc->painter->setClipRect(d, dc->painter->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
  }
  OutputText(dc, x, y, text, dx);
  if (clip) dc->painter->restore();
}

namespace {

// The ink box of the placed text.
QRectF InkBox(const DeviceContext* dc, const QString& text, const Placement& place) {
  const Run& run = *place.run;
  const QFontMetricsF fm = Metrics(dc, run.font);
  QRectF ink = fm.boundingRect(text);
  // Justification and character extra only ever move glyphs to the right
  // of where they stand unspaced (or back towards the start).
  if (!run.advances.empty() || !run.wordExtra.empty()) {
    const double plain = fm.horizontalAdvance(text);
    if (run.width > plain) ink.setRight(ink.right() + run.width - plain);
  }
  return place.local.mapRect(ink.translated(place.ox, place.by));
}

// A box that holds the ink box of the placed text (before the turn and move
// of the placement), from the glyph boxes of its font, when the text has no
// spacing of its own and only printable characters below U+0300: one glyph
// each, side by side at the sums of the advances before them. Its left and
// top are the layout's own: the leftmost glyph edge (less a 64th of a pixel)
// and the highest of the glyph tops and the font's ascent, so that a line
// set at the edge of its box is seen inside it. Right and bottom are given
// a margin: twice the largest bearing and a pixel on the right, which
// covers how the layout joins the boxes of its runs, a pixel below the
// lowest of the glyph bottoms and the descent.
std::optional<QRectF> GlyphBound(const DeviceContext* dc, const QString& text, const Run& run) {
  if (!run.advances.empty() || !run.wordExtra.empty()) return std::nullopt;
  DeviceContext::FontCacheEntry* entry = nullptr;
  for (DeviceContext::FontCacheEntry& e : dc->fontCache)
    if (e.valid && e.font.isCopyOf(run.font)) entry = &e;
  if (!entry) return std::nullopt;
  constexpr char16_t kEnd = 0x0300;
  std::optional<QFontMetricsF> fm;
  double at = 0, left = std::numeric_limits<double>::infinity(), top = -run.ascent, right = run.width,
         bottom = run.descent, bearing = 0;
  for (const QChar ch : text) {
    const char16_t c = ch.unicode();
    if (c >= kEnd || c < 0x20 || (c >= 0x7F && c < 0xA0) || c == 0xAD) return std::nullopt;
    if (entry->glyphs.empty()) entry->glyphs.resize(kEnd);
    DeviceContext::FontCacheEntry::GlyphBox& g = entry->glyphs[c];
    if (!g.known) {
      if (!fm) fm.emplace(Metrics(dc, run.font));
      const QRectF ink = fm->boundingRect(ch);
      g.advance = fm->horizontalAdvance(ch);
      g.left = ink.left();
      g.top = ink.top();
      g.right = ink.right();
      g.bottom = ink.bottom();
      g.known = true;
    }
    if (!(g.advance >= 0)) return std::nullopt;
    left = std::min(left, at + g.left);
    right = std::max(right, at + g.right);
    top = std::min(top, g.top);
    bottom = std::max(bottom, g.bottom);
    bearing = std::max({bearing, std::fabs(g.left), g.right - g.advance});
    at += g.advance;
  }
  if (!std::isfinite(left)) return std::nullopt;
  const double spare = 2 * bearing + 1;
  return QRectF(QPointF(left - 1.0 / 64, top), QPointF(right + spare, bottom + 1));
}

}  // namespace

QRectF GetTextInkBox(const DeviceContext* dc, std::int32_t x, std::int32_t y, const QString& text) {
  if (!dc || text.isEmpty() || text.size() > kMaxTextLength) return QRectF();
  Placement place;
  if (!Place(dc, x, y, text, nullptr, &place)) return QRectF();
  return InkBox(dc, text, place);
}

bool TextInkInside(const DeviceContext* dc, std::int32_t x, std::int32_t y, const QString& text, const QRectF& box) {
  if (!dc || text.isEmpty() || text.size() > kMaxTextLength) return true;
  Placement place;
  if (!Place(dc, x, y, text, nullptr, &place)) return true;
  if (const std::optional<QRectF> bound = GlyphBound(dc, text, *place.run)) {
    if (box.contains(place.local.mapRect(bound->translated(place.ox, place.by)))) return true;
  }
  const QRectF ink = InkBox(dc, text, place);
  return ink.isEmpty() || box.contains(ink);
}

Size GetTextExtent(const DeviceContext* dc, const QString& text) {
  if (!dc || text.size() > kMaxTextLength) return Size{};
  const QTransform m = FullTransform(dc);
  const double sx = std::max(1e-9, ScaleX(m));
  const double sy = std::max(1e-9, ScaleY(m));
  const Run& run = Layout(dc, text, nullptr, m, nullptr);
  const double h = std::round(run.ascent) + std::round(run.descent);
  return Size{static_cast<std::int32_t>(std::lround(std::min(run.width / sx, 2.0e9))),
              static_cast<std::int32_t>(std::lround(std::min(h / sy, 2.0e9)))};
}

TextMetrics GetTextMetrics(const DeviceContext* dc) {
  TextMetrics tm;
  if (!dc) return tm;
  const QTransform m = FullTransform(dc);
  const double sx = std::max(1e-9, ScaleX(m));
  const double sy = std::max(1e-9, ScaleY(m));
  const QFont f = MakeQFont(dc, dc->st.font);
  const QFontMetricsF fm = Metrics(dc, f);
  const double asc = std::round(fm.ascent());
  const double desc = std::round(fm.descent());
  auto L = [](double v, double s) { return static_cast<std::int32_t>(std::lround(std::min(v / s, 2.0e9))); };
  tm.ascent = L(asc, sy);
  tm.descent = L(desc, sy);
  tm.height = tm.ascent + tm.descent;
  tm.internalLeading = std::max(0, L(asc + desc - f.pixelSize(), sy));
  tm.externalLeading = std::max(0, L(fm.leading(), sy));
  tm.aveCharWidth = L(fm.averageCharWidth(), sx);
  tm.maxCharWidth = L(fm.maxWidth(), sx);
  tm.weight = dc->st.font.weight <= 0 ? 400 : dc->st.font.weight;
  return tm;
}

QString GetTextFace(const DeviceContext* dc) {
  if (!dc) return QString();
  const QFont f = MakeQFont(dc, dc->st.font);
  return QFontInfo(f).family();
}

std::int32_t DrawText(DeviceContext* dc, const QString& text, Rect* rect, std::uint32_t format) {
  if (!dc || !rect || text.size() > kMaxTextLength) return 0;
  const Rect r = *rect;
  // Lines.
  QStringList paragraphs;
  if (format & DtSingleLine) {
    QString one = text;
    one.replace(QLatin1String("\r\n"), QLatin1String(" "));
    one.replace(QLatin1Char('\n'), QLatin1Char(' '));
    one.replace(QLatin1Char('\r'), QLatin1Char(' '));
    paragraphs << one;
  } else {
    QString t = text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    paragraphs = t.split(QLatin1Char('\n'));
  }
  const long long width = static_cast<long long>(r.right) - r.left;
  QStringList lines;
  for (const QString& para : paragraphs) {
    if (!(format & DtWordBreak) || (format & DtSingleLine)) {
      lines << para;
      continue;
    }
    const QStringList words = para.split(QLatin1Char(' '));
    QString cur;
    for (const QString& w : words) {
      const QString cand = cur.isEmpty() ? w : cur + QLatin1Char(' ') + w;
      if (!cur.isEmpty() && GetTextExtent(dc, cand).cx > width) {
        lines << cur;
        cur = w;
      } else {
        cur = cand;
      }
    }
    lines << cur;
  }
  const TextMetrics tm = GetTextMetrics(dc);
  const std::int32_t lineH = std::max(1, tm.height);
  const long long total = static_cast<long long>(lineH) * lines.size();
  std::int32_t maxW = 0;
  std::vector<std::int32_t> widths;
  widths.reserve(static_cast<std::size_t>(lines.size()));
  for (const QString& l : lines) {
    const std::int32_t w = GetTextExtent(dc, l).cx;
    widths.push_back(w);
    maxW = std::max(maxW, w);
  }
  if (format & DtCalcRect) {
    rect->right = static_cast<std::int32_t>(std::min<long long>(static_cast<long long>(r.left) + maxW, 2147483647LL));
    rect->bottom = static_cast<std::int32_t>(std::min<long long>(static_cast<long long>(r.top) + total, 2147483647LL));
    return static_cast<std::int32_t>(std::min<long long>(total, 2147483647LL));
  }
  long long y = r.top;
  if (format & DtVCenter)
    y = r.top + (static_cast<long long>(r.bottom) - r.top - total) / 2;
  else if (format & DtBottom)
    y = r.bottom - total;
  const bool clip = !(format & DtNoClip) && Valid(dc) && !dc->st.pathOpen;
  if (clip) {
    const QRectF d = FullTransform(dc).mapRect(QRectF(QPointF(r.left, r.top), QPointF(r.right, r.bottom)).normalized());
    dc->painter->save();
    dc->painter->setClipRect(d, dc->painter->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
  }
  const std::uint32_t align = dc->st.textAlign;
  const std::int32_t esc = dc->st.font.escapement;
  dc->st.textAlign = TaLeft | TaTop;
  dc->st.font.escapement = 0;
  for (int i = 0; i < lines.size(); ++i) {
    long long x = r.left;
    const std::int32_t w = widths[static_cast<std::size_t>(i)];
    if (format & DtCenter)
      x = (static_cast<long long>(r.left) + r.right - w) / 2;
    else if (format & DtRight)
      x = static_cast<long long>(r.right) - w;
    if (std::llabs(x) < 2000000000LL && std::llabs(y) < 2000000000LL)
      OutputText(dc, static_cast<std::int32_t>(x), static_cast<std::int32_t>(y), lines.at(i), nullptr);
    y += lineH;
  }
  dc->st.textAlign = align;
  dc->st.font.escapement = esc;
  if (clip) dc->painter->restore();
  return static_cast<std::int32_t>(std::min<long long>(total, 2147483647LL));
}

}  // namespace pv
