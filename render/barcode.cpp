#include "render/barcode.h"

#include <zint.h>

#include <QFont>
#include <QGlyphRun>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRawFont>
#include <QTextLayout>
#include <QTransform>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <vector>

namespace pv {

namespace {

// What a format needs besides its symbology.
enum FormatFlags : unsigned {
  kNone = 0,
  kCheckOption = 1u << 0,  // option_2 = 1 adds the check character
  kMatrix = 1u << 1,       // two-dimensional: modules reduced both ways
  kGs1 = 1u << 2,          // data in GS1 form ("[01]..." or "(01)...")
  kItf = 1u << 3,          // bearer bars
  kItf14 = 1u << 4,        // bearer box
};

struct Format {
  const char* name;
  int symbology;
  unsigned flags;
  int minDigits;  // digits-only formats of fixed length: the main part's
  int maxDigits;  // allowed lengths (0: no length rule)
};

// The list of the barcode dialog; the order is the stored format index.
constexpr std::array<Format, 35> kFormats{{
    {"EAN-13", BARCODE_EANX, kNone, 12, 13},
    {"EAN-8", BARCODE_EANX, kNone, 7, 8},
    {"UPC-A", BARCODE_UPCA, kNone, 11, 12},
    {"UPC-E", BARCODE_UPCE, kNone, 6, 8},
    {"Code 39", BARCODE_CODE39, kCheckOption, 0, 0},
    {"Code 39 Extended", BARCODE_EXCODE39, kCheckOption, 0, 0},
    {"Code 93", BARCODE_CODE93, kNone, 0, 0},
    {"Codabar", BARCODE_CODABAR, kCheckOption, 0, 0},
    {"Interleaved 2 of 5", BARCODE_C25INTER, kCheckOption | kItf, 0, 0},
    {"ITF-14", BARCODE_ITF14, kItf14, 0, 0},
    {"Code 128", BARCODE_CODE128, kNone, 0, 0},
    {"GS1-128", BARCODE_GS1_128, kGs1, 0, 0},
    {"Code 11", BARCODE_CODE11, kNone, 0, 0},
    {"MSI Plessey", BARCODE_MSI_PLESSEY, kCheckOption, 0, 0},
    {"Industrial 2 of 5", BARCODE_C25IND, kCheckOption, 0, 0},
    {"Matrix 2 of 5", BARCODE_C25STANDARD, kCheckOption, 0, 0},
    {"EAN-14", BARCODE_EAN14, kNone, 0, 0},
    {"SSCC-18", BARCODE_NVE18, kNone, 0, 0},
    {"Code 32", BARCODE_CODE32, kNone, 0, 0},
    {"Pharmacode", BARCODE_PHARMA, kNone, 0, 0},
    {"Telepen", BARCODE_TELEPEN, kNone, 0, 0},
    {"GS1 DataBar", BARCODE_DBAR_OMN, kNone, 0, 0},
    {"GS1 DataBar Limited", BARCODE_DBAR_LTD, kNone, 0, 0},
    {"GS1 DataBar Expanded", BARCODE_DBAR_EXP, kGs1, 0, 0},
    {"ISBN", BARCODE_ISBNX, kNone, 0, 0},
    {"PDF417", BARCODE_PDF417, kNone, 0, 0},
    {"MicroPDF417", BARCODE_MICROPDF417, kNone, 0, 0},
    {"QR Code", BARCODE_QRCODE, kMatrix, 0, 0},
    {"Micro QR Code", BARCODE_MICROQR, kMatrix, 0, 0},
    {"Data Matrix", BARCODE_DATAMATRIX, kMatrix, 0, 0},
    {"Aztec Code", BARCODE_AZTEC, kMatrix, 0, 0},
    {"MaxiCode", BARCODE_MAXICODE, kMatrix, 0, 0},
    {"Code 16K", BARCODE_CODE16K, kNone, 0, 0},
    {"Codablock-F", BARCODE_CODABLOCKF, kNone, 0, 0},
    {"DotCode", BARCODE_DOTCODE, kMatrix, 0, 0},
}};
static_assert(kFormats[BarcodeCode128Index].symbology == BARCODE_CODE128);

const Format* FormatAt(int index) {
  if (index < 0 || index >= int(kFormats.size())) return nullptr;
  return &kFormats[std::size_t(index)];
}

// Digits-only formats of fixed length: the part before an add-on ("+").
bool DigitsFit(const Format& f, const QByteArray& data) {
  if (f.minDigits == 0) return true;
  const int plus = data.indexOf('+');
  const QByteArray main = plus < 0 ? data : data.left(plus);
  if (main.size() < f.minDigits || main.size() > f.maxDigits) return false;
  return std::all_of(main.begin(), main.end(), [](char c) { return c >= '0' && c <= '9'; });
}

QColor UltraColour(int colour, Colour fg) {
  switch (colour) {
    case 1: return QColor(0, 255, 255);
    case 2: return QColor(0, 0, 255);
    case 3: return QColor(255, 0, 255);
    case 4: return QColor(255, 0, 0);
    case 5: return QColor(255, 255, 0);
    case 6: return QColor(0, 255, 0);
    case 7: return QColor(0, 0, 0);
    case 8: return QColor(255, 255, 255);
    default: return ToQColor(fg);
  }
}

// Sets a symbol that has encoded before back to what ZBarcode_Create makes
// of a new one: its outputs are freed and zeroed, and every setting is set
// again, as the engine writes some of them back while encoding (the height
// it chose, an option it picked). False when no defaults could be made.
bool ResetSymbol(zint_symbol* z) {
  static const zint_symbol* const defaults = ZBarcode_Create();
  if (!defaults) return false;
  ZBarcode_Clear(z);
  z->symbology = defaults->symbology;
  z->height = defaults->height;
  z->scale = defaults->scale;
  z->whitespace_width = defaults->whitespace_width;
  z->whitespace_height = defaults->whitespace_height;
  z->border_width = defaults->border_width;
  z->output_options = defaults->output_options;
  std::memcpy(z->fgcolour, defaults->fgcolour, sizeof z->fgcolour);
  std::memcpy(z->bgcolour, defaults->bgcolour, sizeof z->bgcolour);
  z->fgcolor = z->fgcolour;
  z->bgcolor = z->bgcolour;
  std::memcpy(z->outfile, defaults->outfile, sizeof z->outfile);
  std::memcpy(z->primary, defaults->primary, sizeof z->primary);
  z->option_1 = defaults->option_1;
  z->option_2 = defaults->option_2;
  z->option_3 = defaults->option_3;
  z->show_hrt = defaults->show_hrt;
  z->fontsize = defaults->fontsize;
  z->input_mode = defaults->input_mode;
  z->eci = defaults->eci;
  z->dot_size = defaults->dot_size;
  z->guard_descent = defaults->guard_descent;
  z->structapp = defaults->structapp;
  z->warn_level = defaults->warn_level;
  z->debug = defaults->debug;
  return true;
}

}  // namespace

int BarcodeFormatCount() { return int(kFormats.size()); }

QString BarcodeFormatName(int index) {
  const Format* f = FormatAt(index);
  return f ? QString::fromLatin1(f->name) : QString();
}

int BarcodeFormatSymbology(int index) {
  const Format* f = FormatAt(index);
  return f ? f->symbology : 0;
}

namespace {

constexpr int kTextOversize = 16;

// A human-readable text of a symbol: laid out at 16 times its size (smooth
// glyphs at any scale) and placed by its transform, in the symbol's units.
// It is shaped once, when the symbol is encoded: the glyphs measured are the
// glyphs drawn, with the baseline at y = 0 of their own units.
struct SymbolText {
  QList<QGlyphRun> runs;
  QTransform place;
  QRectF ink;  // the box of its glyphs, in the symbol's units
};

// The font of the human-readable text at a pixel size. A barcode from a
// field is encoded anew for every label: the fonts of the last few sizes are
// kept, as a font made afresh looks its face up again.
QFont TextFont(int pixelSize) {
  static std::array<std::pair<int, QFont>, 4> made{};
  static std::size_t next = 0;
  for (const auto& [size, font] : made)
    if (size == pixelSize) return font;
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(pixelSize);
  made[next] = {pixelSize, font};
  next = (next + 1) % made.size();
  return font;
}

// One text of the symbol: its glyphs, its size, and where its baseline goes.
SymbolText PlaceText(double x, double y, double size, double width, int halign, const QString& text) {
  SymbolText t;
  QTextLayout layout(text, TextFont(std::max(1, int(std::lround(size * kTextOversize)))));
  layout.setCacheEnabled(true);  // the glyphs are read after the layout: no shaping twice
  layout.beginLayout();
  const QTextLine line = layout.createLine();
  layout.endLayout();
  double w = line.isValid() ? line.horizontalAdvance() / kTextOversize : 0.0;
  double sx = 1.0;
  if (width > 0 && w > width) {  // squeezed into the width the symbol gives it
    sx = width / w;
    w = width;
  }
  const double left = halign == 1 ? x : halign == 2 ? x - w : x - w / 2;
  t.place = QTransform::fromScale(sx / kTextOversize, 1.0 / kTextOversize) * QTransform::fromTranslate(left, y);
  if (!line.isValid()) return t;
  t.runs = line.glyphRuns();
  // The box of the glyphs as the font measures a text's: across, from the
  // ink's left to its right rounded up on the glyphs' pixels; up and down,
  // at least the font's ascent and descent.
  const double baseline = line.y() + line.ascent();
  double x0 = 0, y0 = 0, x1 = 0, y1 = 0, height = 0;
  bool first = true;
  for (QGlyphRun& run : t.runs) {
    QList<QPointF> positions = run.positions();
    const QList<quint32> glyphs = run.glyphIndexes();
    const QRawFont font = run.rawFont();
    if (first) {
      y0 = -font.ascent();
      height = font.ascent() + font.descent();
    }
    for (qsizetype i = 0; i < positions.size(); ++i) {
      positions[i].ry() -= baseline;
      if (i >= glyphs.size()) continue;
      const QRectF r = font.boundingRect(glyphs[i]);
      const double gx = positions[i].x() + r.left(), gy = positions[i].y() + r.top();
      x0 = first ? gx : std::min(x0, gx);
      y0 = std::min(y0, gy);
      x1 = std::max(x1, std::ceil(gx) + r.width());
      y1 = std::max(y1, std::ceil(gy) + r.height());
      first = false;
    }
    run.setPositions(positions);
  }
  height = std::max(height, y1 - y0);
  t.ink = t.place.mapRect(QRectF(x0, y0, x1 - x0, height));
  return t;
}

}  // namespace

// The encoded picture, kept in the engine's own units.
struct BarcodeControl::Symbol {
  bool valid = false;
  QString error;
  bool matrix = false;
  double width = 0, height = 0;  // the whole picture
  double module = 2;             // width of one module
  struct Bar {
    QRectF r;
    int colour;  // -1 the bar colour, 1-8 the fixed colours
  };
  std::vector<Bar> bars;
  QPainterPath hexagons;          // foreground
  QPainterPath rings;             // foreground (rings and dots)
  QPainterPath backgroundDots;    // discs drawn in white over the foreground
  std::vector<SymbolText> texts;  // the human-readable text
  // What Draw places in device units; kept from label to label for the
  // room already made.
  std::vector<QRect> snapped;

  // Nothing encoded; the lists keep their room.
  void Clear() {
    valid = false;
    error.clear();
    matrix = false;
    width = height = 0;
    module = 2;
    bars.clear();
    hexagons = QPainterPath();
    rings = QPainterPath();
    backgroundDots = QPainterPath();
    texts.clear();
  }
};

BarcodeControl::BarcodeControl() = default;
BarcodeControl::~BarcodeControl() { ZBarcode_Delete(m_zint); }

#define PV_BARCODE_SETTER(Name, Field, Type) \
  void BarcodeControl::Name(Type v) {        \
    if (m_props.Field != v) {                \
      m_props.Field = v;                     \
      m_dirty = true;                        \
    }                                        \
  }
PV_BARCODE_SETTER(SetBorder, Border, std::int32_t)
PV_BARCODE_SETTER(SetBearerBars, BearerBars, std::int16_t)
PV_BARCODE_SETTER(SetShowCheckDigit, ShowCheckDigit, std::int16_t)
PV_BARCODE_SETTER(SetShowText, ShowText, std::int16_t)
PV_BARCODE_SETTER(SetShowMargins, ShowMargins, std::int16_t)
PV_BARCODE_SETTER(SetExtraOption1, ExtraOption1, std::int16_t)
PV_BARCODE_SETTER(SetExtraOption2, ExtraOption2, std::int16_t)
PV_BARCODE_SETTER(SetFormatIndex, FormatIndex, std::int32_t)
PV_BARCODE_SETTER(SetOrientation, Orientation, std::int16_t)
PV_BARCODE_SETTER(SetReduction, Reduction, std::int32_t)
#undef PV_BARCODE_SETTER

// Colour, border and orientation only change the drawing, not the symbol.
void BarcodeControl::SetLineColor(Colour v) { m_props.LineColor = v; }

void BarcodeControl::SetData(const QString& v) {
  if (m_props.Data != v) {
    m_props.Data = v;
    m_dirty = true;
  }
}

void BarcodeControl::SetProperties(const BarcodeProperties& p) {
  SetBorder(p.Border);
  SetBearerBars(p.BearerBars);
  SetShowCheckDigit(p.ShowCheckDigit);
  SetShowText(p.ShowText);
  SetShowMargins(p.ShowMargins);
  SetExtraOption1(p.ExtraOption1);
  SetExtraOption2(p.ExtraOption2);
  SetFormatIndex(p.FormatIndex);
  SetOrientation(p.Orientation);
  SetReduction(p.Reduction);
  SetLineColor(p.LineColor);
  SetData(p.Data);
}

bool BarcodeControl::IsValid() {
  Encode();
  return m_symbol->valid;
}

QString BarcodeControl::ErrorText() {
  Encode();
  return m_symbol->error;
}

void BarcodeControl::Encode() {
  if (!m_dirty && m_symbol) return;
  m_dirty = false;
  if (!m_symbol) m_symbol = std::make_unique<Symbol>();
  Symbol& out = *m_symbol;
  out.Clear();

  const Format* f = FormatAt(m_props.FormatIndex);
  if (!f) {
    out.error = QStringLiteral("unknown barcode format %1").arg(m_props.FormatIndex);
    return;
  }
  const QByteArray data = m_props.Data.toUtf8();
  if (data.isEmpty() || data.size() > ZINT_MAX_DATA_LEN) {
    out.error = QStringLiteral("no data to encode");
    return;
  }
  if (!DigitsFit(*f, data)) {
    out.error =
        QStringLiteral("%1 takes %2 to %3 digits").arg(QLatin1String(f->name)).arg(f->minDigits).arg(f->maxDigits);
    return;
  }

  if (!m_zint) m_zint = ZBarcode_Create();
  zint_symbol* z = m_zint;
  if (!z || !ResetSymbol(z)) {
    out.error = QStringLiteral("out of memory");
    return;
  }
  z->symbology = f->symbology;
  z->input_mode = UNICODE_MODE;
  if (f->flags & kGs1) {
    z->input_mode = GS1_MODE | (data.startsWith('(') ? GS1PARENS_MODE : 0);
  }
  if (m_props.ExtraOption1 != 0) z->input_mode |= ESCAPE_MODE;
  z->show_hrt = m_props.ShowText != 0 ? 1 : 0;
  z->output_options = m_props.ShowMargins != 0 ? BARCODE_QUIET_ZONES : BARCODE_NO_QUIET_ZONES;
  if ((f->flags & kCheckOption) && m_props.ShowCheckDigit != 0) z->option_2 = 1;
  if (f->flags & kItf) {
    if (m_props.BearerBars != 0) {
      z->output_options |= BARCODE_BIND;
      z->border_width = 2;
    }
  } else if (f->flags & kItf14) {
    if (m_props.BearerBars != 0) {
      z->output_options |= BARCODE_BOX;
      z->border_width = 5;
    } else {
      z->output_options |= BARCODE_BIND;  // with no width: no bars at all
      z->border_width = 0;
    }
  }
  if (m_props.ExtraOption2 != 0 && (ZBarcode_Cap(f->symbology, ZINT_CAP_DOTTY) & ZINT_CAP_DOTTY)) {
    z->output_options |= BARCODE_DOTTY_MODE;
  }

  int rc = ZBarcode_Encode(z, reinterpret_cast<const unsigned char*>(data.constData()), int(data.size()));
  if (rc < ZINT_ERROR) rc = ZBarcode_Buffer_Vector(z, 0);
  if (rc >= ZINT_ERROR || !z->vector || z->vector->width <= 0 || z->vector->height <= 0) {
    out.error = QString::fromUtf8(z->errtxt);
    if (out.error.isEmpty()) out.error = QStringLiteral("the data cannot be encoded");
    ZBarcode_Clear(z);
    return;
  }

  const zint_vector* v = z->vector;
  out.valid = true;
  out.matrix = (f->flags & kMatrix) != 0;
  out.width = v->width;
  out.height = v->height;
  out.module = 2.0 * double(z->scale > 0 ? z->scale : 1.0f);
  for (const zint_vector_rect* r = v->rectangles; r; r = r->next) {
    out.bars.push_back({QRectF(r->x, r->y, r->width, r->height), r->colour});
  }
  for (const zint_vector_hexagon* h = v->hexagons; h; h = h->next) {
    const double radius = h->diameter / 2.0;
    // Rotation 0 / 180: a corner at the top; 90 / 270: a flat top.
    const double start = (h->rotation == 90 || h->rotation == 270) ? 0.0 : 90.0;
    QPolygonF poly;
    for (int k = 0; k < 6; ++k) {
      const double a = (start + 60.0 * k) * M_PI / 180.0;
      poly << QPointF(h->x + radius * std::cos(a), h->y - radius * std::sin(a));
    }
    poly << poly.first();
    out.hexagons.addPolygon(poly);
  }
  out.rings.setFillRule(Qt::OddEvenFill);
  for (const zint_vector_circle* c = v->circles; c; c = c->next) {
    const QPointF centre(c->x, c->y);
    if (c->width > 0) {
      const double outer = (c->diameter + c->width) / 2.0;
      const double inner = std::max(0.0, double(c->diameter - c->width) / 2.0);
      QPainterPath ring;
      ring.setFillRule(Qt::OddEvenFill);
      ring.addEllipse(centre, outer, outer);
      if (inner > 0) ring.addEllipse(centre, inner, inner);
      (c->colour ? out.backgroundDots : out.rings).addPath(ring);
    } else {
      const double r = c->diameter / 2.0;
      QPainterPath disc;
      disc.addEllipse(centre, r, r);
      (c->colour ? out.backgroundDots : out.rings).addPath(disc);
    }
  }
  for (const zint_vector_string* s = v->strings; s; s = s->next) {
    out.texts.push_back(PlaceText(s->x, s->y, s->fsize, s->width, s->halign,
                                  QString::fromUtf8(reinterpret_cast<const char*>(s->text), s->length)));
  }
  ZBarcode_Clear(z);
}

namespace {

// The symbol's units onto the logical rectangle, turned by the orientation.
QTransform SymbolToLogical(double sw, double sh, const QRectF& area, int orientation) {
  QTransform t;
  switch (orientation) {
    case 1:  // +90 degrees: the symbol runs from the bottom up
      t = QTransform(0, -area.height() / sw, area.width() / sh, 0, area.left(), area.bottom());
      break;
    case 2:  // -90 degrees: from the top down
      t = QTransform(0, area.height() / sw, -area.width() / sh, 0, area.right(), area.top());
      break;
    case 3:  // upside down
      t = QTransform(-area.width() / sw, 0, 0, -area.height() / sh, area.right(), area.bottom());
      break;
    default: t = QTransform(area.width() / sw, 0, 0, area.height() / sh, area.left(), area.top()); break;
  }
  return t;
}

bool AxisAligned(const QTransform& t) { return (t.m12() == 0 && t.m21() == 0) || (t.m11() == 0 && t.m22() == 0); }

// A rectangle snapped to whole device pixels (never thinner than one).
QRectF Snap(const QRectF& r) {
  double l = std::round(r.left()), rr = std::round(r.right());
  double t = std::round(r.top()), b = std::round(r.bottom());
  if (rr <= l) rr = l + 1;
  if (b <= t) b = t + 1;
  return QRectF(QPointF(l, t), QPointF(rr, b));
}

}  // namespace

void BarcodeControl::Draw(DeviceContext* dc, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                          float pointScale) {
  if (!dc || !Painter(dc) || !Painter(dc)->isActive()) return;
  Rect target = NormalizedRect(Rect{x, y, x + width, y + height});
  if (RectIsEmpty(target)) return;
  Encode();
  if (!m_symbol->valid) {
    DrawBarcodePlaceholder(dc, target);
    return;
  }
  const Symbol& s = *m_symbol;
  const QTransform toDevice = LogicalToDeviceTransform(dc);
  const Colour fg = m_props.LineColor & 0xFFFFFFu;
  QPainter* painter = Painter(dc);

  // Everything is placed in device units first; what is drawn is then
  // clipped to the target only where something reaches beyond it (every
  // change of the clip costs a printer or a PDF a new graphics state).
  QRectF area(target.left, target.top, RectWidth(target), RectHeight(target));
  QRectF reach;
  QPainterPath frame;
  if (m_props.Border > 0) {
    const double scale = pointScale > 0 ? pointScale : DpiY(dc) / 72.0;
    // However large the stored value, the frame leaves room for the symbol.
    const double t = std::min(double(m_props.Border) * scale, std::min(area.width(), area.height()) / 8.0);
    frame.setFillRule(Qt::OddEvenFill);
    frame.addRect(area);
    frame.addRect(area.adjusted(t, t, -t, -t));
    frame = toDevice.map(frame);
    reach = frame.boundingRect();
    area = area.adjusted(2 * t, 2 * t, -2 * t, -2 * t);
  }
  const bool symbol = area.width() > 0 && area.height() > 0;
  const QTransform m = symbol ? SymbolToLogical(s.width, s.height, area, m_props.Orientation) * toDevice : QTransform();
  const bool snap = AxisAligned(m);
  QPainterPath bars;
  std::vector<std::pair<QRectF, QColor>> coloured;
  std::vector<QRect>& snapped = m_symbol->snapped;
  snapped.clear();
  QPainterPath smooth;
  QPainterPath dots;
  if (symbol) {
    const double reduction = std::clamp(m_props.Reduction, 0, 90) / 100.0 * s.module;
    if (!snap) bars.setFillRule(Qt::WindingFill);
    for (const Symbol::Bar& b : s.bars) {
      QRectF r = b.r;
      if (reduction > 0) {
        const double dw = std::min(reduction, r.width() * 0.9);
        r.adjust(dw / 2, 0, -dw / 2, 0);
        if (s.matrix) {
          const double dh = std::min(reduction, r.height() * 0.9);
          r.adjust(0, dh / 2, 0, -dh / 2);
        }
      }
      QRectF d = m.mapRect(r);
      if (snap) d = Snap(d);
      reach |= d;
      if (b.colour > 0) {
        coloured.emplace_back(d, UltraColour(b.colour, fg));
      } else if (snap) {
        snapped.push_back(d.toRect());
      } else {
        bars.addRect(d);
      }
    }
    // Hexagons and rings are filled as smoothed paths.
    if (!s.hexagons.isEmpty()) smooth.addPath(m.map(s.hexagons));
    if (!s.rings.isEmpty()) smooth.addPath(m.map(s.rings));
    if (!s.backgroundDots.isEmpty()) dots = m.map(s.backgroundDots);
    reach |= smooth.boundingRect();
    reach |= dots.boundingRect();
    for (const SymbolText& t : s.texts) reach |= m.mapRect(t.ink);
  }
  // The pixels the target's clip lets through: its corners rounded either
  // way are inside them.
  const QRectF box = toDevice.mapRect(QRectF(target.left, target.top, RectWidth(target), RectHeight(target)));
  const QRectF inside(QPointF(std::ceil(box.left()), std::ceil(box.top())),
                      QPointF(std::floor(box.right()), std::floor(box.bottom())));
  const bool clip = !AxisAligned(toDevice) || !inside.contains(reach);
  if (clip) {
    SaveDC(dc);
    IntersectClipRect(dc, target);
  }

  if (!frame.isEmpty()) FillDevicePath(dc, frame, Brush::SolidColour(fg));
  if (symbol) {
    if (snap) {
      // Whole-pixel rectangles in device units straight onto the context's
      // painter, which stands in device units with the context's clip: one
      // brush for all of them, each bar a rectangle filled on its own (a
      // PDF viewer fills a lone rectangle exactly on its pixels, where the
      // edges of one path of many can come out a shade lighter).
      if (!snapped.empty()) {
        painter->setPen(Qt::NoPen);
        painter->setBrush(ToQColor(fg));
        for (const QRect& q : snapped) painter->drawRects(&q, 1);
      }
      if (!smooth.isEmpty()) FillDevicePath(dc, smooth, Brush::SolidColour(fg));
    } else {
      bars.addPath(smooth);
      FillDevicePath(dc, bars, Brush::SolidColour(fg));
    }
    if (!s.texts.empty()) {
      // Text as text, through the context's painter (in device units, with
      // the context's clip): glyphs come from the font cache and stay text
      // in print and PDF. The painter goes back to device units afterwards.
      const QTransform base = painter->transform();
      painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
      if (!painter->testRenderHint(QPainter::Antialiasing)) painter->setRenderHint(QPainter::Antialiasing, true);
      if (!painter->testRenderHint(QPainter::TextAntialiasing))
        painter->setRenderHint(QPainter::TextAntialiasing, true);
      painter->setPen(ToQColor(fg));
      for (const SymbolText& t : s.texts) {
        painter->setTransform(t.place * m * base);
        for (const QGlyphRun& run : t.runs) painter->drawGlyphRun(QPointF(0, 0), run);
      }
      painter->setTransform(base);
    }
    for (const auto& [r, c] : coloured) {
      QPainterPath p;
      p.addRect(r);
      FillDevicePath(dc, p, Brush::SolidColour(FromQColor(c)));
    }
    if (!dots.isEmpty()) FillDevicePath(dc, dots, Brush::SolidColour(Rgb(255, 255, 255)));
  }
  if (clip) RestoreDC(dc, -1);
}

BarcodeControl& Axbarcode1() {
  static BarcodeControl control;
  return control;
}

void DrawBarcode(DeviceContext* hDC, std::int32_t& X, std::int32_t& Y, std::int32_t& Width, std::int32_t& Height,
                 float pointScale) {
  Axbarcode1().Draw(hDC, X, Y, Width, Height, pointScale);
}

void DrawBarcodePlaceholder(DeviceContext* dc, const Rect& rect) {
  if (!dc) return;
  const Rect r = NormalizedRect(rect);
  if (RectIsEmpty(r)) return;
  const QTransform toDevice = LogicalToDeviceTransform(dc);
  SaveDC(dc);
  IntersectClipRect(dc, r);
  const QRectF box(r.left, r.top, RectWidth(r), RectHeight(r));
  const QRectF dev = toDevice.mapRect(box);
  const double w = std::max(1.0, std::round(std::min(dev.width(), dev.height()) / 40.0));
  QPainterPath outline;
  const QRectF inner = dev.adjusted(w / 2, w / 2, -w / 2, -w / 2);
  outline.addRect(inner);
  outline.moveTo(inner.topLeft());
  outline.lineTo(inner.bottomRight());
  outline.moveTo(inner.bottomLeft());
  outline.lineTo(inner.topRight());
  QPainterPathStroker stroker;
  stroker.setWidth(w);
  stroker.setCapStyle(Qt::FlatCap);
  stroker.setJoinStyle(Qt::MiterJoin);
  QPainterPath stroke = stroker.createStroke(outline);
  stroke.setFillRule(Qt::WindingFill);
  FillDevicePath(dc, stroke.simplified(), Brush::SolidColour(Rgb(128, 128, 128)));
  RestoreDC(dc, -1);
}

}  // namespace pv
