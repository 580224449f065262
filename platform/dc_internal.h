#pragma once
// Inside of the device context: its state and the helpers the drawing files
// share. Not for use outside platform/dc*.cpp.
//
// The files: dc.cpp (creation, device, selections, modes, mapping, save /
// restore), dc_paint.cpp (pens, brushes, mix modes), dc_pixels.cpp (which
// pixels a figure covers), dc_region.cpp, dc_clip.cpp, dc_lines.cpp,
// dc_figures.cpp, dc_path.cpp, dc_text.cpp and dc_image.cpp.

#include "platform/dc.h"

#include <QBrush>
#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QRegion>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace pv {

struct DcState {
  Pen pen;
  Brush brush;
  Font font;
  Colour textColour = Rgb(0, 0, 0);
  Colour bkColour = Rgb(255, 255, 255);
  BkMode bkMode = BkMode::Opaque;
  Rop2 rop2 = Rop2::CopyPen;
  FillMode fillMode = FillMode::Alternate;
  ArcDirection arcDirection = ArcDirection::CounterClockwise;
  double miterLimit = 10.0;
  bool smoothing = true;
  StretchMode stretchMode = StretchMode::Halftone;
  bool lossyImages = false;

  MapMode mapMode = MapMode::Text;
  Point windowOrg;
  Size windowExt{1, 1};
  Point viewportOrg;
  Size viewportExt{1, 1};
  QTransform world;

  bool hasClip = false;
  QRegion clip;  // device units
  // The outer clip as a vector path (device units), under the region above.
  bool hasClipOutline = false;
  QPainterPath clipOutline;

  Point position;
  Point brushOrigin;

  std::uint32_t textAlign = 0;
  std::int32_t justExtra = 0;
  std::int32_t justCount = 0;
  std::int32_t charExtra = 0;
  QBrush textBrush;  // device units; NoBrush: the text colour

  bool pathOpen = false;
  bool pathReady = false;
  // The path twice, in device units. path holds the figures as the calls
  // gave them: filling it and making it the clip cover the pixels of the
  // same outline as a polygon. strokePath holds them as StrokePath draws
  // them: the line and curve calls put their points on the centres of the
  // pixels they name (x + 0.5, y + 0.5), where their direct drawing runs;
  // figures, arcs and text are the same in both.
  QPainterPath path;
  QPainterPath strokePath;
};

namespace detail {

// A text laid out in one font (dc_text.cpp).
struct TextRun {
  QFont font;
  double width = 0;                 // device units
  std::vector<double> advances{};   // per QChar, when the run is laid out by hand
  std::vector<double> wordExtra{};  // justification: extra before each QChar
  double ascent = 0, descent = 0;
};

}  // namespace detail

}  // namespace pv

struct pv::DeviceContext {
  QPainter* painter = nullptr;
  QImage* backing = nullptr;
  DeviceInfo info;
  QTransform base;  // the painter's transform at creation
  bool hasBaseClip = false;
  QRegion baseClip;  // the painter's clip at creation, device units
  DcState st;
  std::vector<DcState> stack;
  std::uint64_t drawCalls = 0;  // see DrawCallCount
  // The clip last set on the painter (ApplyClip), so that setting the same
  // clip again costs nothing: a printer or a PDF starts a new graphics state
  // for every clip it is given. At creation the painter has its own clip,
  // which is what no clip of the context gives.
  bool paintedHasClip = false;
  QRegion paintedClip;
  bool paintedHasOutline = false;
  QPainterPath paintedOutline;
  // The last fonts made for selected fonts at a given scale (text calls are
  // frequent, a label has a few fonts, and a QFont made afresh looks its
  // face up again), each made for the painter's device. Both scales are part
  // of the key: the height follows the vertical one, a set character width
  // the horizontal one.
  struct FontCacheEntry {
    bool valid = false;
    Font key;
    double scaleX = 0, scaleY = 0;
    QFont font;
    double height = 0;
    // The ink boxes and advances of the font's glyphs for the characters
    // below U+0300 (device units, from the pen position), as they are asked.
    struct GlyphBox {
      bool known = false;
      double left = 0, top = 0, right = 0, bottom = 0, advance = 0;
    };
    std::vector<GlyphBox> glyphs;
  };
  static constexpr int kFontCacheSize = 8;
  mutable FontCacheEntry fontCache[kFontCacheSize];
  mutable int fontCacheNext = 0;  // the entry replaced next
  // The last text laid out (GetTextExtent, GetTextInkBox and TextOut of one
  // text follow each other) and what its layout depended on.
  mutable bool runCacheValid = false;
  mutable QString runCacheText;
  mutable Font runCacheFont;
  mutable QTransform runCacheTransform;
  mutable std::int32_t runCacheExtra[3] = {};  // character extra, justification extra and count
  mutable detail::TextRun runCache;
  // The font last given to the painter by a text call, and the painter's
  // own copy of it then: while the painter still holds that copy, the same
  // font need not be given again.
  bool paintedFontValid = false;
  QFont paintedFontGiven;
  QFont paintedFontHeld;
};

namespace pv::detail {

inline bool Valid(const DeviceContext* dc) { return dc && dc->painter && dc->painter->isActive(); }
// Counts one drawing operation that reaches the painter.
inline void CountDraw(DeviceContext* dc) { ++dc->drawCalls; }
// Sets a render hint only when it changes: a printer or a PDF takes every
// change of the hints as a change of its graphics state.
inline void SetHint(QPainter* p, QPainter::RenderHint hint, bool on) {
  if (p->testRenderHint(hint) != on) p->setRenderHint(hint, on);
}

// ---- Coordinates --------------------------------------------------------------

// Device coordinates beyond this are taken as bad input: nothing is drawn.
inline constexpr double kMaxCoord = 1.0e7;

// From a pixel's corner to its centre. The line and curve calls name pixels:
// their strokes run through the centres of the pixels at their points.
inline constexpr QPointF kCentre(0.5, 0.5);

inline bool Sane(const QPointF& p) {
  return std::isfinite(p.x()) && std::isfinite(p.y()) && std::fabs(p.x()) < kMaxCoord && std::fabs(p.y()) < kMaxCoord;
}
inline bool Sane(const QRectF& r) { return Sane(r.topLeft()) && Sane(r.bottomRight()); }
inline bool Sane(const QPainterPath& p) { return Sane(p.boundingRect()); }

inline std::int32_t ClampRound(double v) {
  if (!std::isfinite(v)) return 0;
  return static_cast<std::int32_t>(std::clamp(std::round(v), -2147483648.0, 2147483647.0));
}

inline Qt::FillRule Rule(FillMode m) { return m == FillMode::Winding ? Qt::WindingFill : Qt::OddEvenFill; }

// ---- State and mapping (dc.cpp) -------------------------------------------------

// Logical -> device.
QTransform PageTransform(const DeviceContext* dc);
inline QTransform FullTransform(const DeviceContext* dc) { return dc->st.world * PageTransform(dc); }
inline bool AxisAligned(const QTransform& t) { return t.m12() == 0.0 && t.m21() == 0.0; }
inline QPointF MapF(const DeviceContext* dc, double x, double y) { return FullTransform(dc).map(QPointF(x, y)); }
// Average linear scale of a transform.
double Scale(const QTransform& t);

// ---- Pens, brushes and mix modes (dc_paint.cpp) -------------------------------

bool RasterEngine(const DeviceContext* dc);

// Prepares the painter for pen or brush drawing with the current mix mode;
// returns false when the mix mode draws nothing (Nop).
bool BeginMix(DeviceContext* dc, bool smoothOk);
void EndMix(DeviceContext* dc);

QColor MixColour(const DeviceContext* dc, Colour c);
QBrush MakeQBrush(const DeviceContext* dc, const Brush& brush);
QPen MakeQPen(const DeviceContext* dc, const Pen& pen, double deviceWidth, bool forLine);

// Paints a device path with a brush / pen, honouring the mix mode.
void PaintFill(DeviceContext* dc, const QPainterPath& path, const Brush& brush);
void PaintStroke(DeviceContext* dc, const QPainterPath& path, const Pen& pen, bool forLine);
// Fills a device path with a brush, ignoring the mix mode (as a plain fill).
void FillNoMix(DeviceContext* dc, const QPainterPath& p, const Brush& b);
// Inverts the pixels of a device path (raster devices only).
void InvertDevicePath(DeviceContext* dc, const QPainterPath& p);

// ---- Pixel coverage (dc_pixels.cpp) ---------------------------------------------

// A logical rectangle in device units, corners rounded to whole pixels;
// *aligned tells whether the mapping keeps it axis-aligned.
QRectF DeviceRectOf(const DeviceContext* dc, const Rect& r, bool* aligned);
QRect RoundedDeviceRect(const DeviceContext* dc, const Rect& logical);
// The pixels whose centres are inside the polygons / the path (device units).
QRegion ScanPolygons(const QList<QPolygonF>& polys, Qt::FillRule rule);
QRegion RegionFromPath(const QPainterPath& path);
void FillOutline(DeviceContext* dc, const QPainterPath& outline);
QPainterPath HairlineEnds(const DeviceContext* dc, const QPainterPath& p);
// A line from pixel a up to, not including, pixel b (device units).
void StrokeLineDevice(DeviceContext* dc, QPointF a, QPointF b);

// ---- Regions and clipping (dc_region.cpp, dc_clip.cpp) ----------------------

QRegion Combine(const QRegion& a, const QRegion& b, RegionOp op);
// Applies the clip (base clip and the context's) to the painter.
void ApplyClip(DeviceContext* dc);

// ---- Paths (dc_path.cpp) -----------------------------------------------------------

// Adds to the open path a figure as given and as it is stroked (see
// DcState::path); Connect joins it to the figure before with a line.
void PathAdd(DeviceContext* dc, const QPainterPath& shape, const QPainterPath& stroke);
void PathConnect(DeviceContext* dc, const QPainterPath& shape, const QPainterPath& stroke);
inline void PathAdd(DeviceContext* dc, const QPainterPath& shape) { PathAdd(dc, shape, shape); }
// The ended path as given (shape) and as stroked; the path is used up.
bool TakePath(DeviceContext* dc, QPainterPath* shape, QPainterPath* stroke);

// ---- Text (dc_text.cpp) ------------------------------------------------------------

QFont MakeQFont(const DeviceContext* dc, const Font& f, double* deviceHeight = nullptr);

}  // namespace pv::detail
