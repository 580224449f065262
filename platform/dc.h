#pragma once
// The device context: the one drawing handle that every drawing in plavik goes
// through (canvas, editor, object drawing, Scriva2, Pictor2, Lineo2, Colmo2,
// previews, thumbnail grids, printer). It wraps a QPainter that the caller
// owns and has begun (the context never begins or ends it) and keeps the
// state that the drawing code relies on and QPainter does not keep apart:
// selected pen, brush and font, text colour (apart from the pen), background
// mode and colour, current position, mapping (window / viewport and a world
// transform), clipping regions, a save / restore stack, the device's
// resolution and an optional readable backing image.
//
// Units. Drawing calls take logical coordinates. They go through the world
// transform, then the window -> viewport mapping, to device units. Device
// units are the coordinates of the caller's painter as it was when the context
// was created (for a QImage surface: its pixels). Regions and clipping are in
// device units.
//
// Edge rules. With the identity mapping, a rectangle, ellipse, round rectangle
// or filled rectangle given as (left, top, right, bottom) covers the pixels
// left..right-1 and top..bottom-1; a line leaves out its end pixel; an
// inverted rectangle inverts exactly its pixels. A pen on a closed figure is
// drawn inside the figure's box, so an outline never leaves the box. A
// filled polygon covers the pixels whose centres are inside it (corners
// (100, 50) - (300, 150): the pixels 100..299 x 50..149), its outline runs
// through the vertices' pixels, and a polygon region holds exactly the pixels
// that filling the same polygon unsmoothed paints.
//
// Bad input never crashes or hangs: a null context, an empty or inverted
// rectangle, a negative count, a null pointer or an unknown constant draws
// nothing (or uses a sensible default) and returns.
//
// Colours are 0x00BBGGRR (Colour). The handle (DeviceContext*) is an opaque
// pointer, so it can travel through the extern "C" boundaries of the shape,
// fill, text and picture libraries.

#include <QImage>
#include <QRectF>
#include <QString>
#include <QTransform>
#include <QtGlobal>

#include <cstdint>
#include <memory>

class QBrush;
class QPainter;
class QRegion;
class QPainterPath;
class QColor;

namespace pv {

// ---------------------------------------------------------------------------
// Plain boundary types
// ---------------------------------------------------------------------------

struct DeviceContext;             // opaque
using DcHandle = DeviceContext*;  // what the C boundaries pass around

struct Rect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
};

struct Point {
  std::int32_t x = 0;
  std::int32_t y = 0;
};

struct Size {
  std::int32_t cx = 0;
  std::int32_t cy = 0;
};

inline constexpr std::int32_t RectWidth(const Rect& r) { return r.right - r.left; }
inline constexpr std::int32_t RectHeight(const Rect& r) { return r.bottom - r.top; }
inline constexpr bool RectIsEmpty(const Rect& r) { return r.right <= r.left || r.bottom <= r.top; }
// The same rectangle with left <= right and top <= bottom.
Rect NormalizedRect(const Rect& r);

// 0x00BBGGRR
using Colour = std::uint32_t;
inline constexpr Colour Rgb(int r, int g, int b) {
  return static_cast<Colour>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
inline constexpr int ColourRed(Colour c) { return static_cast<int>(c & 0xFF); }
inline constexpr int ColourGreen(Colour c) { return static_cast<int>((c >> 8) & 0xFF); }
inline constexpr int ColourBlue(Colour c) { return static_cast<int>((c >> 16) & 0xFF); }
QColor ToQColor(Colour c);           // opaque; the top byte is ignored
Colour FromQColor(const QColor& c);  // alpha is dropped
// 0xAARRGGBB as QImage::Format_ARGB32 / RGB32 pixels hold it (opaque).
inline constexpr std::uint32_t ColourToArgb(Colour c) {
  return 0xFF000000u | (static_cast<std::uint32_t>(ColourRed(c)) << 16) |
         (static_cast<std::uint32_t>(ColourGreen(c)) << 8) | static_cast<std::uint32_t>(ColourBlue(c));
}
inline constexpr Colour ArgbToColour(std::uint32_t argb) {
  return Rgb(static_cast<int>((argb >> 16) & 0xFF), static_cast<int>((argb >> 8) & 0xFF),
             static_cast<int>(argb & 0xFF));
}

// ---------------------------------------------------------------------------
// Creation
// ---------------------------------------------------------------------------

// What the device reports about itself (device capabilities). Zero sizes are
// taken from the painter's device.
struct DeviceInfo {
  int dpiX = 96;
  int dpiY = 96;
  int widthPx = 0;  // printable / drawable width in device units
  int heightPx = 0;
  int physicalWidthPx = 0;  // the whole sheet (printers); 0 = widthPx
  int physicalHeightPx = 0;
  int physicalOffsetX = 0;  // unprintable margin left / top (printers)
  int physicalOffsetY = 0;
  bool isPrinter = false;
};

// A context over the caller's begun painter. backing, when given, is the
// image the painter paints into: it makes the target readable (ReadPixels,
// GetPixel) and enables the raster operations that need the destination.
// Returns nullptr when painter is null or not active.
DeviceContext* CreateDeviceContext(QPainter* painter, int dpiX, int dpiY, QImage* backing = nullptr);
DeviceContext* CreateDeviceContext(QPainter* painter, const DeviceInfo& info, QImage* backing = nullptr);
// Leaves the painter in the state it had at creation (transform, clip, pen,
// brush, font, composition mode). A null context is ignored.
void DeleteDeviceContext(DeviceContext* dc);

struct DeviceContextDeleter {
  void operator()(DeviceContext* dc) const { DeleteDeviceContext(dc); }
};
using DeviceContextPtr = std::unique_ptr<DeviceContext, DeviceContextDeleter>;

// A self-contained drawing surface: a QImage (ARGB32_Premultiplied unless
// told), its QPainter and a context over both with the image as backing.
// Memory surfaces, thumbnails, previews and tests use it.
class ImageSurface {
 public:
  ImageSurface(int width, int height, int dpiX = 96, int dpiY = 96, Colour fill = Rgb(255, 255, 255),
               QImage::Format format = QImage::Format_ARGB32_Premultiplied);
  ~ImageSurface();
  ImageSurface(const ImageSurface&) = delete;
  ImageSurface& operator=(const ImageSurface&) = delete;

  DeviceContext* dc() const { return m_dc; }
  QPainter* painter() const;
  // Ends painting (once) and gives the finished picture; the context is gone
  // afterwards (dc() returns nullptr).
  QImage finish();
  // The image as painted so far (painting goes on).
  const QImage& image() const { return m_image; }

 private:
  QImage m_image;
  std::unique_ptr<QPainter> m_painter;
  DeviceContext* m_dc = nullptr;
};

// ---------------------------------------------------------------------------
// Device
// ---------------------------------------------------------------------------

enum class DeviceCap {
  LogPixelsX,  // dots per inch
  LogPixelsY,
  HorzRes,  // drawable width / height in device units
  VertRes,
  HorzSize,  // drawable width / height in millimetres
  VertSize,
  PhysicalWidth,  // device units
  PhysicalHeight,
  PhysicalOffsetX,
  PhysicalOffsetY,
  IsPrinter,        // 1 or 0
  HasBackingImage,  // 1 or 0
};
std::int32_t GetDeviceCaps(const DeviceContext* dc, DeviceCap cap);
int DpiX(const DeviceContext* dc);  // 96 for a null context
int DpiY(const DeviceContext* dc);
QPainter* Painter(DeviceContext* dc);
// The readable image behind the painter, or nullptr (printers).
QImage* BackingImage(DeviceContext* dc);
// The drawing operations that reached the painter since the context was made:
// each fill, outline, line, text run, picture and pixel counts one. What a
// repaint costs, whatever the machine's speed.
std::uint64_t DrawCallCount(const DeviceContext* dc);

// ---------------------------------------------------------------------------
// Pens, brushes, fonts
// ---------------------------------------------------------------------------

enum class PenStyle : std::int32_t {
  Solid = 0,
  Dash = 1,
  Dot = 2,
  DashDot = 3,
  DashDotDot = 4,
  Null = 5,
  InsideFrame = 6,
  User = 7,       // dashes[] gives the on / off lengths
  Alternate = 8,  // every other pixel
};
enum class PenCap : std::int32_t { Round = 0, Square = 1, Flat = 2 };
enum class PenJoin : std::int32_t { Round = 0, Bevel = 1, Miter = 2 };

struct Pen {
  PenStyle style = PenStyle::Solid;
  std::int32_t width = 0;  // logical units; 0 or 1 = one device pixel (cosmetic)
  Colour colour = Rgb(0, 0, 0);
  PenCap cap = PenCap::Round;
  PenJoin join = PenJoin::Round;
  bool geometric = false;  // dash lengths scale with the width (else device pixels)
  int dashCount = 0;       // PenStyle::User: entries used in dashes
  double dashes[16] = {};  // on, off, on, off ... in logical units (geometric) or device pixels
  // When true a closed figure's outline lies inside its box (the default of
  // this layer's closed figures for every pen). When false (metafile pens
  // that are not inside-frame) the pen is centred on the figure's edge.
  bool insideFrame = true;
};

enum class BrushStyle : std::int32_t { Solid = 0, Null = 1, Hatched = 2, Pattern = 3 };
enum class HatchStyle : std::int32_t {
  Horizontal = 0,
  Vertical = 1,
  FDiagonal = 2,  // top-left to bottom-right
  BDiagonal = 3,  // bottom-left to top-right
  Cross = 4,
  DiagCross = 5,
};

struct Brush {
  BrushStyle style = BrushStyle::Null;
  Colour colour = Rgb(255, 255, 255);  // Solid; the lines of Hatched
  HatchStyle hatch = HatchStyle::Horizontal;
  // Pattern: tiled from the brush origin in device units. When monochrome is
  // true the pattern's dark pixels take the text colour and its light pixels
  // the background colour at drawing time (a mono pattern brush); otherwise
  // its own colours are used.
  QImage pattern;
  bool monochrome = false;
  // Hatched: spacing of the lines in device pixels (8 by default).
  int hatchSpacing = 8;

  static Brush Hollow() { return Brush{}; }
  static Brush SolidColour(Colour c) {
    Brush b;
    b.style = BrushStyle::Solid;
    b.colour = c;
    return b;
  }
  static Brush Hatch(HatchStyle h, Colour c) {
    Brush b;
    b.style = BrushStyle::Hatched;
    b.hatch = h;
    b.colour = c;
    return b;
  }
  static Brush PatternImage(const QImage& image) {
    Brush b;
    b.style = BrushStyle::Pattern;
    b.pattern = image;
    return b;
  }
};

inline Pen SolidPen(Colour c, std::int32_t width = 0) {
  Pen p;
  p.colour = c;
  p.width = width;
  return p;
}
inline Pen NullPen() {
  Pen p;
  p.style = PenStyle::Null;
  return p;
}

struct Font {
  QString face = QStringLiteral("Arial");  // an unknown face falls back to a sans-serif
  // Logical units. Positive: the cell height (ascent + descent); negative:
  // the character height (cell height less the internal leading); 0: a
  // default of 12 points at the device's resolution.
  std::int32_t height = 0;
  std::int32_t width = 0;        // average character width; 0 = natural
  std::int32_t escapement = 0;   // tenths of a degree, counter-clockwise on screen
  std::int32_t orientation = 0;  // kept; the glyphs turn with the escapement
  std::int32_t weight = 400;     // 100..900; 700 bold; 0 = 400
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  bool antialiased = true;
};

// Select* returns what was selected before. The default selection of a new
// context: a black one-pixel solid pen, the hollow brush, Font{}.
Pen SelectPen(DeviceContext* dc, const Pen& pen);
Brush SelectBrush(DeviceContext* dc, const Brush& brush);
Font SelectFont(DeviceContext* dc, const Font& font);
Pen CurrentPen(const DeviceContext* dc);
Brush CurrentBrush(const DeviceContext* dc);
Font CurrentFont(const DeviceContext* dc);
// Where pattern and hatch brushes start (device units); default (0, 0).
Point SetBrushOrigin(DeviceContext* dc, Point origin);

// Text colour is kept apart from the pen: setting one never changes the other.
Colour SetTextColour(DeviceContext* dc, Colour c);  // returns the previous one
Colour GetTextColour(const DeviceContext* dc);
enum class BkMode : std::int32_t { Transparent = 1, Opaque = 2 };
BkMode SetBkMode(DeviceContext* dc, BkMode mode);  // default Opaque (as GDI)
BkMode GetBkMode(const DeviceContext* dc);
Colour SetBkColour(DeviceContext* dc, Colour c);  // default white
Colour GetBkColour(const DeviceContext* dc);

// Mix mode of pens and brushes (binary raster operation). Values are those
// of the metafile records (1..16).
enum class Rop2 : std::int32_t {
  Black = 1,
  NotMergePen = 2,
  MaskNotPen = 3,
  NotCopyPen = 4,
  MaskPenNot = 5,
  Not = 6,
  XorPen = 7,
  NotMaskPen = 8,
  MaskPen = 9,
  NotXorPen = 10,
  Nop = 11,
  MergeNotPen = 12,
  CopyPen = 13,
  MergePenNot = 14,
  MergePen = 15,
  White = 16,
};
Rop2 SetRop2(DeviceContext* dc, Rop2 mode);  // default CopyPen
Rop2 GetRop2(const DeviceContext* dc);

enum class FillMode : std::int32_t { Alternate = 1, Winding = 2 };
FillMode SetPolyFillMode(DeviceContext* dc, FillMode mode);  // default Alternate
FillMode GetPolyFillMode(const DeviceContext* dc);

enum class ArcDirection : std::int32_t { CounterClockwise = 1, Clockwise = 2 };
ArcDirection SetArcDirection(DeviceContext* dc, ArcDirection dir);  // default CounterClockwise
ArcDirection GetArcDirection(const DeviceContext* dc);

double SetMiterLimit(DeviceContext* dc, double limit);  // default 10

// Smoothing of curves, slanted lines and turned figures. On by default;
// axis-aligned rectangles stay pixel-exact either way, and mix modes other
// than CopyPen always draw unsmoothed.
bool SetSmoothing(DeviceContext* dc, bool on);
bool GetSmoothing(const DeviceContext* dc);

// ---------------------------------------------------------------------------
// Mapping
// ---------------------------------------------------------------------------

// The mapping modes of the metafile records.
enum class MapMode : std::int32_t {
  Text = 1,       // one logical unit = one device unit
  LoMetric = 2,   // 0.1 mm, y up
  HiMetric = 3,   // 0.01 mm, y up
  LoEnglish = 4,  // 0.01 inch, y up
  HiEnglish = 5,  // 0.001 inch, y up
  Twips = 6,      // 1/1440 inch, y up
  Isotropic = 7,
  Anisotropic = 8,
};
MapMode SetMapMode(DeviceContext* dc, MapMode mode);  // returns the previous one
MapMode GetMapMode(const DeviceContext* dc);
// Window and viewport: device = (logical - windowOrg) * viewportExt / windowExt + viewportOrg.
// The extents take effect in Isotropic / Anisotropic mode only (as GDI);
// Isotropic keeps the units square. A zero extent is refused (returns false).
Point SetWindowOrg(DeviceContext* dc, std::int32_t x, std::int32_t y);
Size SetWindowExt(DeviceContext* dc, std::int32_t cx, std::int32_t cy);
Point SetViewportOrg(DeviceContext* dc, std::int32_t x, std::int32_t y);
Size SetViewportExt(DeviceContext* dc, std::int32_t cx, std::int32_t cy);
Point GetWindowOrg(const DeviceContext* dc);
Size GetWindowExt(const DeviceContext* dc);
Point GetViewportOrg(const DeviceContext* dc);
Size GetViewportExt(const DeviceContext* dc);
Point OffsetWindowOrg(DeviceContext* dc, std::int32_t dx, std::int32_t dy);
Point OffsetViewportOrg(DeviceContext* dc, std::int32_t dx, std::int32_t dy);
Size ScaleWindowExt(DeviceContext* dc, std::int32_t xNum, std::int32_t xDenom, std::int32_t yNum, std::int32_t yDenom);
Size ScaleViewportExt(DeviceContext* dc, std::int32_t xNum, std::int32_t xDenom, std::int32_t yNum,
                      std::int32_t yDenom);

// World transform (applied before the window / viewport mapping):
// x' = x * m11 + y * m21 + dx, y' = x * m12 + y * m22 + dy.
struct XForm {
  float m11 = 1, m12 = 0, m21 = 0, m22 = 1, dx = 0, dy = 0;
};
enum class XFormMode : std::int32_t { Identity = 1, LeftMultiply = 2, RightMultiply = 3, Set = 4 };
bool SetWorldTransform(DeviceContext* dc, const XForm& xf);  // false for a singular matrix
bool ModifyWorldTransform(DeviceContext* dc, const XForm& xf, XFormMode mode);
XForm GetWorldTransform(const DeviceContext* dc);

// Logical <-> device (through world transform and mapping); rounded.
void LPtoDP(const DeviceContext* dc, Point* points, int count);
void DPtoLP(const DeviceContext* dc, Point* points, int count);
// The whole logical -> device transform (device units of the painter at creation).
QTransform LogicalToDeviceTransform(const DeviceContext* dc);

// ---------------------------------------------------------------------------
// Save / restore
// ---------------------------------------------------------------------------

// SaveDC keeps everything above (selections, colours, modes, mapping,
// world transform, clipping, current position, path) and returns the new
// depth (1, 2, ...). RestoreDC(level) goes back to that depth's state;
// a negative level counts back from the top (-1 = the last save). Returns
// false (and changes nothing) for a level that is not on the stack.
int SaveDC(DeviceContext* dc);
bool RestoreDC(DeviceContext* dc, int level = -1);

// ---------------------------------------------------------------------------
// Regions and clipping (device units)
// ---------------------------------------------------------------------------

// A set of device pixels. Value type.
class Region {
 public:
  Region();
  ~Region();
  Region(const Region& other);
  Region& operator=(const Region& other);
  Region(Region&&) noexcept;
  Region& operator=(Region&&) noexcept;
  explicit Region(const QRegion& r);

  static Region FromRect(const Rect& r);     // pixels left..right-1, top..bottom-1
  static Region FromEllipse(const Rect& r);  // the ellipse inscribed in r
  static Region FromRoundRect(const Rect& r, std::int32_t ellipseWidth, std::int32_t ellipseHeight);
  static Region FromPolygon(const Point* points, int count, FillMode mode);
  static Region FromPolyPolygon(const Point* points, const std::int32_t* counts, int polygons, FillMode mode);
  static Region FromRects(const Rect* rects, int count);  // union

  bool isEmpty() const;
  bool contains(std::int32_t x, std::int32_t y) const;
  Rect boundingRect() const;
  void offset(std::int32_t dx, std::int32_t dy);
  const QRegion& qregion() const;

 private:
  std::unique_ptr<QRegion> m_rgn;
};

enum class RegionOp : std::int32_t { And = 1, Or = 2, Xor = 3, Diff = 4, Copy = 5 };
Region CombineRegion(const Region& a, const Region& b, RegionOp op);

// Selects a clip region: Copy replaces the clip with rgn (nullptr = no clip
// at all, "select none"); And intersects; Or, Xor, Diff combine with the
// current clip (no clip = the whole device).
void SelectClipRegion(DeviceContext* dc, const Region* rgn, RegionOp op = RegionOp::Copy);
// Convenience forms; rectangles here in LOGICAL units, as GDI.
void IntersectClipRect(DeviceContext* dc, const Rect& logical);
void ExcludeClipRect(DeviceContext* dc, const Rect& logical);
void OffsetClipRegion(DeviceContext* dc, std::int32_t dx, std::int32_t dy);  // device units
// The current clip (device units), or false when there is none.
bool GetClipRegion(const DeviceContext* dc, Region* out);
// Bounding box of the visible part, logical units.
Rect GetClipBox(const DeviceContext* dc);
bool PtVisible(const DeviceContext* dc, std::int32_t x, std::int32_t y);  // logical point

// ---------------------------------------------------------------------------
// Lines and figures (logical units). Closed figures are outlined with the
// pen and filled with the brush; a Null pen or hollow brush leaves that out.
// ---------------------------------------------------------------------------

Point MoveTo(DeviceContext* dc, std::int32_t x, std::int32_t y);  // returns the old position
void LineTo(DeviceContext* dc, std::int32_t x, std::int32_t y);   // end pixel left out
Point GetCurrentPosition(const DeviceContext* dc);
void Polyline(DeviceContext* dc, const Point* points, int count);
void PolylineTo(DeviceContext* dc, const Point* points, int count);
void PolyPolyline(DeviceContext* dc, const Point* points, const std::int32_t* counts, int polylines);
void PolyBezier(DeviceContext* dc, const Point* points, int count);    // 1 + 3n points
void PolyBezierTo(DeviceContext* dc, const Point* points, int count);  // 3n points
// types: 0x06 move-to, 0x02 line-to, 0x04 bezier-to, | 0x01 close figure.
void PolyDraw(DeviceContext* dc, const Point* points, const std::uint8_t* types, int count);

void Rectangle(DeviceContext* dc, std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom);
void Rectangle(DeviceContext* dc, const Rect& r);
void Ellipse(DeviceContext* dc, std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom);
void Ellipse(DeviceContext* dc, const Rect& r);
void RoundRect(DeviceContext* dc, const Rect& r, std::int32_t ellipseWidth, std::int32_t ellipseHeight);
void Polygon(DeviceContext* dc, const Point* points, int count);
void PolyPolygon(DeviceContext* dc, const Point* points, const std::int32_t* counts, int polygons);
// Arcs: the ellipse inscribed in r, from the ray through start to the ray
// through end, in the arc direction. Chord closes with a straight line, Pie
// with the two radii; both are filled.
void Arc(DeviceContext* dc, const Rect& r, Point start, Point end);
void ArcTo(DeviceContext* dc, const Rect& r, Point start, Point end);  // moves the current position
void Chord(DeviceContext* dc, const Rect& r, Point start, Point end);
void Pie(DeviceContext* dc, const Rect& r, Point start, Point end);
void AngleArc(DeviceContext* dc, std::int32_t x, std::int32_t y, std::uint32_t radius, float startDeg, float sweepDeg);

// Brush-only operations (no pen): FillRect covers left..right-1 x top..bottom-1.
void FillRect(DeviceContext* dc, const Rect& r, const Brush& brush);
void FillRect(DeviceContext* dc, const Rect& r, Colour c);
// A one-unit frame inside r drawn with the brush.
void FrameRect(DeviceContext* dc, const Rect& r, const Brush& brush);
// Inverts every pixel of r (logical units); applying it twice restores the
// picture exactly (the canvas's XOR feedback, thumbnail highlight).
void InvertRect(DeviceContext* dc, const Rect& r);
// Region painting (regions in device units).
void FillRegion(DeviceContext* dc, const Region& rgn, const Brush& brush);
void PaintRegion(DeviceContext* dc, const Region& rgn);  // with the selected brush
void FrameRegion(DeviceContext* dc, const Region& rgn, const Brush& brush, std::int32_t w, std::int32_t h);
void InvertRegion(DeviceContext* dc, const Region& rgn);
// Pattern fill of a rectangle with the selected brush and a ternary raster
// operation (PatCopy, PatInvert, DstInvert, Blackness, Whiteness).
void PatBlt(DeviceContext* dc, const Rect& r, std::uint32_t rop);

void SetPixel(DeviceContext* dc, std::int32_t x, std::int32_t y, Colour c);
// The pixel at a logical point from the backing image; 0xFFFFFFFF (CLR_INVALID)
// without a backing image or outside it.
Colour GetPixel(const DeviceContext* dc, std::int32_t x, std::int32_t y);
inline constexpr Colour ClrInvalid = 0xFFFFFFFFu;

// ---------------------------------------------------------------------------
// Paths
// ---------------------------------------------------------------------------

// Between BeginPath and EndPath the line, figure, curve and text calls add
// to the path instead of drawing. After EndPath the path can be stroked,
// filled (poly-fill mode), made the clip, widened or flattened.
//
// The path keeps its points as given. Filling it covers what filling the
// same outline as a polygon covers (MoveTo (100, 50), LineTo (300, 50),
// (300, 150), (100, 150), closed and filled: the pixels 100..299 x 50..149),
// and SelectClipPath lets through exactly the pixels that FillPath paints
// unsmoothed. StrokePath draws the lines and curves through the pixels they
// name, as the same calls draw outside a path (with their end pixels).
void BeginPath(DeviceContext* dc);
void EndPath(DeviceContext* dc);
void AbortPath(DeviceContext* dc);
void CloseFigure(DeviceContext* dc);
void StrokePath(DeviceContext* dc);
void FillPath(DeviceContext* dc);
void StrokeAndFillPath(DeviceContext* dc);
void SelectClipPath(DeviceContext* dc, RegionOp op);
// An outer clip given as a vector path in device units, kept apart from the
// clip region: every clip operation (regions, rectangles, paths) works inside
// it and cannot widen it, SaveDC / RestoreDC keep it with the rest of the
// state, and printers and PDF files receive it as a path, not as pixels.
// nullptr removes it. GetClipOutline gives it, or false when there is none.
void SelectClipOutline(DeviceContext* dc, const QPainterPath* devicePath);
bool GetClipOutline(const DeviceContext* dc, QPainterPath* out);
void FlattenPath(DeviceContext* dc);
void WidenPath(DeviceContext* dc);  // the outline the current pen would stroke
bool PathIsOpen(const DeviceContext* dc);
// The ended path in device units, points as given (empty when none).
QPainterPath CurrentPath(const DeviceContext* dc);

// ---------------------------------------------------------------------------
// Direct path drawing (device units) with explicit pen and brush: for the
// shape and fill libraries, which build their own outlines.
// ---------------------------------------------------------------------------

void FillDevicePath(DeviceContext* dc, const QPainterPath& path, const Brush& brush);
void StrokeDevicePath(DeviceContext* dc, const QPainterPath& path, const Pen& pen);
// Device width in pixels of a pen as this context draws it (>= 1).
double DevicePenWidth(const DeviceContext* dc, const Pen& pen);
// Draws a path with the painter's pen and brush, as QPainter::drawPath does.
// On a picture, smoothed, a tall path is filled band of rows by band of rows
// (a wide pen as the outline it strokes): Qt's smoothing rasteriser slows
// down far more than in proportion to a large outline, and in bands it gives
// the same pixels, up to the flattening of curves (an eighth of a pixel).
// Other devices, and painters turned or scaled, draw the path whole.
void DrawPainterPath(QPainter* painter, const QPainterPath& path);

// ---------------------------------------------------------------------------
// Text (logical units; the selected font, text colour, background mode)
// ---------------------------------------------------------------------------

// Text alignment flags (as the metafile records carry them).
enum : std::uint32_t {
  TaNoUpdateCp = 0,
  TaUpdateCp = 1,
  TaLeft = 0,
  TaRight = 2,
  TaCenter = 6,
  TaTop = 0,
  TaBottom = 8,
  TaBaseline = 24,
};
std::uint32_t SetTextAlign(DeviceContext* dc, std::uint32_t flags);  // default TaLeft | TaTop
std::uint32_t GetTextAlign(const DeviceContext* dc);
// Extra space spread over the break characters (spaces) of the next text
// outputs; (0, 0) resets. Logical units.
void SetTextJustification(DeviceContext* dc, std::int32_t extra, std::int32_t breakCount);
std::int32_t SetTextCharacterExtra(DeviceContext* dc, std::int32_t extra);  // returns the old one
// The brush the text is written with instead of the text colour (a
// gradient or a picture pattern), in device units: it stays where it is
// however the text is turned or wherever it is placed. A brush of style
// NoBrush writes with the text colour again. Kept by SaveDC / RestoreDC.
void SetTextBrush(DeviceContext* dc, const QBrush& brush);

// The text at (x, y) by the text alignment; escapement turns it about
// (x, y). With BkMode Opaque the text's cell is first filled with the
// background colour.
void TextOut(DeviceContext* dc, std::int32_t x, std::int32_t y, const QString& text);
enum : std::uint32_t { EtoOpaque = 2, EtoClipped = 4 };
// dx, when given, holds one advance per character (logical units).
void ExtTextOut(DeviceContext* dc, std::int32_t x, std::int32_t y, std::uint32_t options, const Rect* rect,
                const QString& text, const std::int32_t* dx);

// Extent of the text with the selected font (logical units), ignoring
// escapement; justification and character extra are included.
Size GetTextExtent(const DeviceContext* dc, const QString& text);
// The box of the glyphs that TextOut(dc, x, y, text) draws, in device units,
// the font's underline and strike-out lines left out; empty for an empty
// text. Whether a clip would cut the text can be answered with it before
// the clip is set.
QRectF GetTextInkBox(const DeviceContext* dc, std::int32_t x, std::int32_t y, const QString& text);
// Whether that box is empty or lies inside box (device units). A text of
// Latin characters is mostly answered from the boxes of its glyphs, kept
// per font, without laying the text out again.
bool TextInkInside(const DeviceContext* dc, std::int32_t x, std::int32_t y, const QString& text, const QRectF& box);
struct TextMetrics {
  std::int32_t height = 0;  // ascent + descent
  std::int32_t ascent = 0;
  std::int32_t descent = 0;
  std::int32_t internalLeading = 0;
  std::int32_t externalLeading = 0;
  std::int32_t aveCharWidth = 0;
  std::int32_t maxCharWidth = 0;
  std::int32_t weight = 400;
};
TextMetrics GetTextMetrics(const DeviceContext* dc);
// The face actually used for the selected font.
QString GetTextFace(const DeviceContext* dc);

// Formatted text in a rectangle.
enum : std::uint32_t {
  DtLeft = 0x0,
  DtCenter = 0x1,
  DtRight = 0x2,
  DtVCenter = 0x4,
  DtBottom = 0x8,
  DtWordBreak = 0x10,
  DtSingleLine = 0x20,
  DtNoClip = 0x100,
  DtCalcRect = 0x400,
};
// Returns the height of the text drawn (logical units); with DtCalcRect it
// measures only and sets rect's right and bottom.
std::int32_t DrawText(DeviceContext* dc, const QString& text, Rect* rect, std::uint32_t format);

// ---------------------------------------------------------------------------
// Images
// ---------------------------------------------------------------------------

// Ternary raster operations of the blit records.
enum : std::uint32_t {
  RopSrcCopy = 0x00CC0020,
  RopSrcPaint = 0x00EE0086,
  RopSrcAnd = 0x008800C6,
  RopSrcInvert = 0x00660046,
  RopSrcErase = 0x00440328,
  RopNotSrcCopy = 0x00330008,
  RopNotSrcErase = 0x001100A6,
  RopMergeCopy = 0x00C000CA,
  RopMergePaint = 0x00BB0226,
  RopPatCopy = 0x00F00021,
  RopPatPaint = 0x00FB0A09,
  RopPatInvert = 0x005A0049,
  RopDstInvert = 0x00550009,
  RopBlackness = 0x00000042,
  RopWhiteness = 0x00FF0062,
};
enum class StretchMode : std::int32_t { BlackOnWhite = 1, WhiteOnBlack = 2, ColorOnColor = 3, Halftone = 4 };
StretchMode SetStretchMode(DeviceContext* dc, StretchMode mode);  // default Halftone (smooth)
// Whether the pictures drawn next may be stored with a lossy encoding (JPEG)
// by a PDF or a printer. Off by default: a picture, and every pattern a fill
// makes, is stored as its exact pixels; a picture that came from a JPEG file
// may go in as JPEG again. Kept by SaveDC. Returns the previous setting.
bool SetLossyImages(DeviceContext* dc, bool lossy);

// Stretches the image (or its src part, in image pixels; nullptr = whole)
// into dest (logical units; a negative width or height mirrors). SrcCopy
// draws the picture over the target (an image with an alpha channel blends
// by it; give Format_RGB32 for a plain opaque copy). The other raster ops
// combine with the destination where the device can (QImage targets; on a
// printer they fall back to SrcCopy); they ignore the image's alpha.
void StretchImage(DeviceContext* dc, const Rect& dest, const QImage& image, const Rect* src = nullptr,
                  std::uint32_t rop = RopSrcCopy);
// Blended: constantAlpha 0..255 times the image's own alpha when
// usePixelAlpha is true.
void AlphaBlendImage(DeviceContext* dc, const Rect& dest, const QImage& image, const Rect* src, int constantAlpha,
                     bool usePixelAlpha);
// Pixels of exactly the key colour are left out.
void TransparentImage(DeviceContext* dc, const Rect& dest, const QImage& image, const Rect* src, Colour key);

// Reads device pixels from the backing image: an image of the rectangle's
// size (Format_ARGB32) whose pixels outside the backing image are opaque
// white; a null image without a backing image or for an empty rectangle.
QImage ReadPixels(const DeviceContext* dc, const Rect& deviceRect);
// Plain copy of an image onto the device at a device position, one pixel
// per pixel, through the current clip (no mapping, no blending).
void WritePixels(DeviceContext* dc, std::int32_t deviceX, std::int32_t deviceY, const QImage& image);

// Gradient fill of the metafile records: rectangles (horizontal or vertical)
// or triangles between coloured vertices (logical units; 16-bit channels).
struct TriVertex {
  std::int32_t x = 0, y = 0;
  std::uint16_t red = 0, green = 0, blue = 0, alpha = 0;
};
enum class GradientMode : std::uint32_t { RectH = 0, RectV = 1, Triangle = 2 };
// indices: pairs (rectangles) or triples (triangles) into vertices.
void GradientFill(DeviceContext* dc, const TriVertex* vertices, int vertexCount, const std::uint32_t* indices,
                  int indexCount, GradientMode mode);

}  // namespace pv
