#include "libs/scriva2/textrenderer.h"

#include "libs/scriva2/linefit.h"

#include "platform/colmo2/colmo2.h"

#include <QBrush>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QRect>
#include <QRectF>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <utility>
#include <vector>

namespace pv {

namespace {

std::int32_t Clamp32(std::int64_t v) {
  return static_cast<std::int32_t>(
      std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

std::int32_t Mid(std::int32_t a, std::int32_t b) {
  // Integer division truncates toward zero, as the layout rules expect.
  return static_cast<std::int32_t>((static_cast<std::int64_t>(a) + b) / 2);
}

// Angles are taken modulo a full turn (an exact operation), so that a huge
// angle neither overflows the whole-degree escapement nor loses the sense of
// the rotation; a non-finite angle draws unrotated.
double NormalisedAngle(double angle) {
  if (!std::isfinite(angle)) return 0.0;
  return std::fmod(angle, 360.0);
}

void ShrinkByMargin(Rect* rect, std::int32_t margin) {
  rect->left = Clamp32(static_cast<std::int64_t>(rect->left) + margin);
  rect->top = Clamp32(static_cast<std::int64_t>(rect->top) + margin);
  rect->right = Clamp32(static_cast<std::int64_t>(rect->right) - margin);
  rect->bottom = Clamp32(static_cast<std::int64_t>(rect->bottom) - margin);
}

QChar CharAt(const QString& text, qsizetype i) { return i < text.size() ? text.at(i) : QChar(u'\0'); }

// The points of a device path moved to whole 1/2400 inch (a quarter of a
// 600-dpi dot, far below what prints): a PDF writes every point of a clip
// outline with six decimals, and points on a coarse grid compress to about
// two thirds of the bytes.
void SnapToGrid(QPainterPath& path, int dpiX, int dpiY) {
  constexpr double kGrid = 2400.0;
  const double sx = kGrid / std::max(1, dpiX);
  const double sy = kGrid / std::max(1, dpiY);
  for (int i = 0; i < path.elementCount(); ++i) {
    const QPainterPath::Element e = path.elementAt(i);
    path.setElementPositionAt(i, std::round(e.x * sx) / sx, std::round(e.y * sy) / sy);
  }
}

}  // namespace

TextRenderer& TheTextRenderer() {
  static TextRenderer renderer;
  return renderer;
}

void TextRenderer::SetFaceName(const char* utf8) {
  if (!utf8) return;
  QString name = QString::fromUtf8(utf8);
  qsizetype cut = 0;
  for (int count = 0; cut < name.size() && count < kFaceNameMax; ++count) cut = NextChar(name, cut);
  name.truncate(cut);
  faceName = name;
}

std::int32_t TextRenderer::SetHeight(std::int32_t size) {
  if (size <= kMaxHeight) height = size;
  return size;
}

std::int32_t TextRenderer::SetMargin(std::int32_t value) {
  if (value >= 1) margin = value;
  return value;
}

void TextRenderer::RotatePoint(std::int32_t cx, std::int32_t cy, std::int32_t& x, std::int32_t& y, double angle) {
  const double dx = static_cast<double>(x) - cx;
  const double dy = static_cast<double>(y) - cy;
  const double t = angle * 3.141592653589793 * 0.005555555555555556;
  const double c = std::cos(t);
  const double s = std::sin(t);
  const auto round = [](double v) -> std::int64_t {
    if (!std::isfinite(v)) return 0;
    // Wide enough that the centre plus the offset saturates at the Long
    // range, small enough for a 64-bit integer.
    v = std::clamp(v, -1.0e18, 1.0e18);
    const double whole = std::trunc(v);
    return static_cast<std::int64_t>(whole) + (v - whole >= 0.5 ? 1 : 0);
  };
  const std::int64_t rx = round(dx * c - dy * s);
  const std::int64_t ry = round(dx * s + dy * c);
  x = Clamp32(cx + rx);
  y = Clamp32(cy + ry);
}

Font TextRenderer::MakeFont(double angle, bool filled) const {
  Font font;
  font.face = faceName;
  font.height = std::clamp(height, -kMaxHeight, kMaxHeight);
  font.width = 0;
  const std::int32_t tenths = static_cast<std::int32_t>(std::trunc(angle)) * 10;
  font.escapement = tenths;
  font.orientation = tenths;
  font.weight = filled ? 700 : weight;
  font.italic = italic != 0;
  font.underline = underline != 0;
  font.strikeOut = strikeOut != 0;
  font.antialiased = antialiased != 0;
  return font;
}

Region TextRenderer::PolygonRegion(const Point* p) {
  constexpr std::int32_t kNear = 1 << 18;
  const bool near = std::all_of(
      p, p + 4, [](const Point& q) { return q.x >= -kNear && q.x <= kNear && q.y >= -kNear && q.y <= kNear; });
  const bool upright = (p[0].y == p[1].y && p[1].x == p[2].x && p[2].y == p[3].y && p[3].x == p[0].x) ||
                       (p[0].x == p[1].x && p[1].y == p[2].y && p[2].x == p[3].x && p[3].y == p[0].y);
  if (!near || !upright) return Region::FromPolygon(p, 4, FillMode::Winding);
  return Region::FromRect(
      Rect{std::min(p[0].x, p[2].x), std::min(p[0].y, p[2].y), std::max(p[0].x, p[2].x), std::max(p[0].y, p[2].y)});
}

void TextRenderer::FillBackground(DeviceContext* dc, const Point* points) const {
  // The polygon's pixels as a region: exactly the pixels of the clip region
  // that cuts the text, with the same edges as a polygon fill of the
  // original platform (right and bottom edges left out).
  Point device[4] = {points[0], points[1], points[2], points[3]};
  LPtoDP(dc, device, 4);
  const Region area = PolygonRegion(device);
  const Brush brush = Brush::SolidColour(backColor);
  SelectBrush(dc, brush);
  SelectPen(dc, NullPen());
  FillRegion(dc, area, brush);
  SelectBrush(dc, Brush::Hollow());
}

std::vector<TextRenderer::Line> TextRenderer::LayOutLines(DeviceContext* measureDc, const QString& text,
                                                          const Rect& rect, double angle,
                                                          std::int32_t alignment) const {
  std::vector<Line> lines;
  const qsizetype n = text.size();
  const std::int64_t width = static_cast<std::int64_t>(rect.right) - rect.left;
  const std::int32_t cx = Mid(rect.left, rect.right);
  const std::int32_t cy = Mid(rect.top, rect.bottom);
  // Every line of one font has the same cell height (an empty line too). A
  // positive font height is that cell height exactly; the font itself can
  // only come close to it in whole pixel sizes, so the lines advance by the
  // height asked for, and the page keeps the spacing the caller measured.
  const std::int32_t asked = CurrentFont(measureDc).height;
  const std::int64_t lineHeight = asked > 0 ? asked : GetTextMetrics(measureDc).height;
  const double factor = std::isfinite(interline) ? std::clamp(std::trunc(interline), -1.0e6, 1.0e6) : 1.0;
  const std::int64_t advance = static_cast<std::int64_t>(factor) * lineHeight;

  // Latin text averages about 0.4 of the cell height per character.
  SetTextJustification(measureDc, 0, 0);
  LineFitter fitter(measureDc, text, 0.4 * static_cast<double>(lineHeight));

  qsizetype start = 0;
  qsizetype previousBreak = -1;
  bool first = true;
  std::int64_t y = rect.top;

  for (;;) {
    while (start < n && text.at(start) == u' ') ++start;

    // Where the line stops: the first prefix that fills the rectangle, else
    // the end of the text or a line break (the fitter measures only the
    // prefixes that decide it).
    const LineStop stop = fitter.Fit(start, width);
    const LineEnd reason = stop.reason;

    qsizetype breakPos = stop.scan;
    if (reason == LineEnd::Full && CharAt(text, breakPos) != u' ') {
      while (breakPos > start && CharAt(text, breakPos) != u' ') --breakPos;
    }

    Line line;
    line.text = text.mid(start, breakPos - start);
    const std::int64_t w = fitter.Extent(start, breakPos);

    std::int64_t x = rect.left;
    switch (alignment) {
      case AlignRight: x = rect.right - w; break;
      case AlignCentre: x = (static_cast<std::int64_t>(rect.left) + rect.right - w) / 2; break;
      case AlignJustify:
        if (reason != LineEnd::EndOfText) {
          line.spaces = static_cast<std::int32_t>(line.text.count(u' '));
          if (line.spaces > 0) line.extra = Clamp32(width - w);
        }
        break;
      default:  // 20 and any unknown code: left
        break;
    }

    line.origin = Point{Clamp32(x), Clamp32(y)};
    RotatePoint(cx, cy, line.origin.x, line.origin.y, angle);
    if (!line.text.isEmpty()) lines.push_back(std::move(line));

    const std::int64_t nextY = y + advance;
    const bool noProgress = !first && breakPos == previousBreak;
    if (reason == LineEnd::EndOfText || noProgress || nextY >= rect.bottom) break;

    first = false;
    previousBreak = breakPos;
    y = nextY;
    start = reason == LineEnd::LineBreak ? breakPos + LineBreakAt(text, breakPos) : breakPos;
  }
  return lines;
}

void TextRenderer::WriteLines(DeviceContext* outDc, const std::vector<Line>& lines) {
  for (const Line& line : lines) {
    SetTextJustification(outDc, line.extra, line.spaces);
    TextOut(outDc, line.origin.x, line.origin.y, line.text);
  }
  SetTextJustification(outDc, 0, 0);
}

bool TextRenderer::InkInside(DeviceContext* dc, const std::vector<Line>& lines, const Rect& deviceBox) {
  // One device pixel is kept free all round, for the smoothing of edges.
  const QRectF inside(QPointF(deviceBox.left + 1.0, deviceBox.top + 1.0),
                      QPointF(deviceBox.right - 1.0, deviceBox.bottom - 1.0));
  if (inside.isEmpty()) return false;
  bool all = true;
  for (const Line& line : lines) {
    SetTextJustification(dc, line.extra, line.spaces);
    if (!TextInkInside(dc, line.origin.x, line.origin.y, line.text, inside)) {
      all = false;
      break;
    }
  }
  SetTextJustification(dc, 0, 0);
  return all;
}

TextRenderer::DrawSetup TextRenderer::BeginDraw(DeviceContext* dc, double angle, bool filled) const {
  DrawSetup setup;
  setup.safe = safeDC != 0;
  setup.safeLevel = setup.safe ? SaveDC(dc) : 0;
  setup.font = MakeFont(angle, filled);
  SelectFont(dc, setup.font);
  SetTextColour(dc, foreColor);
  SetBkMode(dc, BkMode::Transparent);
  return setup;
}

void TextRenderer::Draw(DeviceContext* dc, const QString& text, Rect* rect, double angle, std::int32_t alignment) {
  if (!rect) return;
  if (!dc) {
    ShrinkByMargin(rect, margin);
    return;
  }
  angle = NormalisedAngle(angle);
  const DrawSetup setup = BeginDraw(dc, angle, false);

  // The rectangle before the margin, turned about its centre.
  const std::int32_t cx = Mid(rect->left, rect->right);
  const std::int32_t cy = Mid(rect->top, rect->bottom);
  Point corners[4] = {
      {rect->left, rect->top}, {rect->right, rect->top}, {rect->right, rect->bottom}, {rect->left, rect->bottom}};
  for (Point& p : corners) RotatePoint(cx, cy, p.x, p.y, -angle);

  if (transparent == 0) FillBackground(dc, corners);

  ShrinkByMargin(rect, margin);

  const int level = SaveDC(dc);
  Point deviceCorners[4] = {corners[0], corners[1], corners[2], corners[3]};
  LPtoDP(dc, deviceCorners, 4);
  const Region clip = PolygonRegion(deviceCorners);
  SetTextAlign(dc, TaLeft | TaTop | TaNoUpdateCp);
  const std::vector<Line> lines = LayOutLines(dc, text, *rect, -angle, alignment);
  // The text is cut to its rectangle. Unturned text whose glyphs all stand
  // inside it is drawn without that clip: the same picture, and a printer
  // or a PDF is spared two changes of its graphics state. Underline and
  // strike-out lines, and slanted glyphs, are always cut.
  const Font& font = setup.font;
  const bool plain = angle == 0.0 && !font.italic && !font.underline && !font.strikeOut;
  if (!plain || !InkInside(dc, lines, clip.boundingRect())) SelectClipRegion(dc, &clip, RegionOp::And);

  WriteLines(dc, lines);

  RestoreDC(dc, level);
  SelectFont(dc, Font{});
  if (setup.safe) RestoreDC(dc, setup.safeLevel);
}

void TextRenderer::DrawEx(DeviceContext* dc, const QString& text, Rect* rect, double angle, std::int32_t alignment,
                          std::int32_t fillStyle, std::int32_t texture, std::int32_t opacity) {
  if (!rect) return;
  if (!dc) {
    ShrinkByMargin(rect, margin);
    return;
  }
  angle = NormalisedAngle(angle);
  const DrawSetup setup = BeginDraw(dc, angle, true);

  ShrinkByMargin(rect, margin);
  const Rect r = *rect;

  // The box that holds the turned rectangle.
  Rect box = r;
  if (angle != 0.0) {
    const std::int32_t cx = Mid(r.left, r.right);
    const std::int32_t cy = Mid(r.top, r.bottom);
    Point corners[4] = {{r.left, r.top}, {r.right, r.top}, {r.right, r.bottom}, {r.left, r.bottom}};
    box = Rect{std::numeric_limits<std::int32_t>::max(), std::numeric_limits<std::int32_t>::max(),
               std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::min()};
    for (Point& p : corners) {
      RotatePoint(cx, cy, p.x, p.y, -angle);
      box.left = std::min(box.left, p.x);
      box.top = std::min(box.top, p.y);
      box.right = std::max(box.right, p.x);
      box.bottom = std::max(box.bottom, p.y);
    }
  }

  const FillJob job{r, box, -angle, alignment, fillStyle, texture, opacity};
  if (TakesVectors(dc)) {
    if (!FillWithBrush(dc, text, job)) FillOutlines(dc, text, job);
  } else
    FillMask(dc, text, setup.font, job);

  SelectFont(dc, Font{});
  if (setup.safe) RestoreDC(dc, setup.safeLevel);
}

bool TextRenderer::TakesVectors(DeviceContext* dc) {
  if (BackingImage(dc)) return false;
  QPainter* painter = Painter(dc);
  const QPaintEngine* engine = painter && painter->isActive() ? painter->paintEngine() : nullptr;
  return engine && engine->type() != QPaintEngine::Raster;
}

bool TextRenderer::FillWithBrush(DeviceContext* dc, const QString& text, const FillJob& job) const {
  if (fillInverse != 0) return false;
  const Rect& box = job.box;
  if (RectIsEmpty(box)) return true;
  QRectF frame;
  if (!colmo::DeviceFillFrame(dc, box, &frame)) return true;  // the fill library would fill nothing
  const QBrush brush = job.texture != 0 ? colmo::TextureFillBrush(job.texture, frame, DpiX(dc))
                                        : colmo::GradientFillBrush(foreColor, backColor, frame, job.fillStyle,
                                                                   fillParam2 != 0, job.opacity);
  if (brush.style() == Qt::NoBrush) return false;

  const int level = SaveDC(dc);
  SetTextAlign(dc, TaLeft | TaTop | TaNoUpdateCp);
  const std::vector<Line> lines = LayOutLines(dc, text, job.rect, job.angle, job.alignment);
  // The fill covers the box and no more: glyphs that reach beyond it are
  // cut there (those wholly inside need no clip, and the device is spared
  // a change of its graphics state).
  Point corners[4] = {{box.left, box.top}, {box.right, box.top}, {box.right, box.bottom}, {box.left, box.bottom}};
  LPtoDP(dc, corners, 4);
  const Region clip = PolygonRegion(corners);
  const Font font = CurrentFont(dc);
  const bool plain = !font.italic && !font.underline && !font.strikeOut;
  if (!plain || !InkInside(dc, lines, clip.boundingRect())) SelectClipRegion(dc, &clip, RegionOp::And);

  QPainter* painter = Painter(dc);
  painter->save();
  if (job.texture != 0) {
    // A picture takes the painter's opacity (a gradient carries its own in
    // its colours); a texture is grain, which a PDF may keep as JPEG.
    painter->setOpacity(colmo::OpacityFraction(job.opacity));
    painter->setRenderHint(QPainter::LosslessImageRendering, false);
    painter->setRenderHint(QPainter::SmoothPixmapTransform, false);
  }
  SetTextBrush(dc, brush);
  WriteLines(dc, lines);
  painter->restore();
  RestoreDC(dc, level);
  return true;
}

void TextRenderer::FillOutlines(DeviceContext* dc, const QString& text, const FillJob& job) const {
  const Rect& box = job.box;
  if (RectIsEmpty(box)) return;
  // The glyph outlines of the lines, written as a path on the target itself
  // (device units, whatever its mapping), cut one fill of the box: the
  // printer or PDF receives the gradient or the texture once, as a vector
  // fill or a pattern, clipped to the letters.
  const int level = SaveDC(dc);
  SetTextAlign(dc, TaLeft | TaTop | TaNoUpdateCp);
  const std::vector<Line> lines = LayOutLines(dc, text, job.rect, job.angle, job.alignment);
  BeginPath(dc);
  WriteLines(dc, lines);
  EndPath(dc);
  QPainterPath outline = CurrentPath(dc);
  outline.setFillRule(Qt::WindingFill);
  SnapToGrid(outline, DpiX(dc), DpiY(dc));

  QPainterPath boxPath;
  boxPath.addRect(QRectF(QPointF(box.left, box.top), QPointF(box.right, box.bottom)));
  boxPath = LogicalToDeviceTransform(dc).map(boxPath);
  if (fillInverse != 0) {
    // The box around the glyphs: the box and the outlines under the
    // even-odd rule, which keeps the counters of the letters filled (where
    // two letters overlap, the overlap is filled as well).
    QPainterPath around = boxPath;
    around.addPath(outline);
    around.setFillRule(Qt::OddEvenFill);
    outline = around;
  }

  if (!outline.isEmpty()) {
    // Inside a clip outline of the caller's (a label's shape) the fill stays
    // inside both; a box wholly inside it needs no intersection.
    QPainterPath outer;
    if (GetClipOutline(dc, &outer) && !outer.contains(boxPath.boundingRect())) outline = outer.intersected(outline);
    SelectClipOutline(dc, &outline);
    if (job.texture != 0)
      ColmoTexture(dc, &box, job.texture, job.opacity);
    else
      ColmoGradient(dc, foreColor, backColor, &box, job.fillStyle, fillParam1, fillParam2, job.opacity);
  }
  RestoreDC(dc, level);
}

namespace {

// The pictures FillMask draws with, kept from one call to the next: a job
// draws the same box on label after label, and a fresh picture of millions
// of pixels costs more in the system's page handling than the drawing does.
// The fill is kept with what made it, so a job paints it once. Boxes larger
// than kKeptPixels are made afresh and let go.
struct MaskPictures {
  static constexpr std::int64_t kKeptPixels = 1LL << 22;
  QImage mask;
  QImage fill;
  QImage layer;
  std::vector<std::int64_t> fillKey;
};

MaskPictures& KeptPictures() {
  thread_local MaskPictures pictures;
  return pictures;
}

// An RGB32 or premultiplied picture of w x h at the resolution, reused when
// it has that size and format already.
void Prepare(QImage& image, int w, int h, int dpiX, int dpiY, QImage::Format format) {
  if (image.width() != w || image.height() != h || image.format() != format) image = QImage(w, h, format);
  image.setDotsPerMeterX(static_cast<int>(std::lround(std::max(1, dpiX) / 0.0254)));
  image.setDotsPerMeterY(static_cast<int>(std::lround(std::max(1, dpiY) / 0.0254)));
}

// A context over a picture, as an image surface gives one.
struct PictureContext {
  PictureContext(QImage& image, int dpiX, int dpiY) : painter(&image) {
    DeviceInfo info;
    info.dpiX = dpiX;
    info.dpiY = dpiY;
    dc.reset(CreateDeviceContext(&painter, info, &image));
  }
  QPainter painter;
  DeviceContextPtr dc;
};

}  // namespace

void TextRenderer::FillMask(DeviceContext* dc, const QString& text, const Font& font, const FillJob& job) const {
  const Rect& r = job.rect;
  const Rect& box = job.box;
  const std::int32_t fillStyle = job.fillStyle;
  const std::int32_t texture = job.texture;
  const std::int32_t opacity = job.opacity;
  const std::int64_t w64 = static_cast<std::int64_t>(box.right) - box.left;
  const std::int64_t h64 = static_cast<std::int64_t>(box.bottom) - box.top;
  if (w64 <= 0 || h64 <= 0 || w64 * h64 > kMaxMaskPixels) return;

  const int w = static_cast<int>(w64);
  const int h = static_cast<int>(h64);
  const int dpiX = DpiX(dc);
  const int dpiY = DpiY(dc);
  MaskPictures fresh;
  MaskPictures& pictures = w64 * h64 <= MaskPictures::kKeptPixels ? KeptPictures() : fresh;

  // The mask: white glyphs on black, laid out as on the target.
  Prepare(pictures.mask, w, h, dpiX, dpiY, QImage::Format_RGB32);
  if (pictures.mask.isNull()) return;
  pictures.mask.fill(0xFF000000u);
  {
    PictureContext mask(pictures.mask, dpiX, dpiY);
    SelectFont(mask.dc.get(), font);
    SetBkColour(mask.dc.get(), Rgb(0, 0, 0));
    SetTextColour(mask.dc.get(), Rgb(255, 255, 255));
    SetBkMode(mask.dc.get(), BkMode::Transparent);
    SetTextAlign(mask.dc.get(), TaLeft | TaTop | TaNoUpdateCp);
    const Rect moved{
        Clamp32(static_cast<std::int64_t>(r.left) - box.left), Clamp32(static_cast<std::int64_t>(r.top) - box.top),
        Clamp32(static_cast<std::int64_t>(r.right) - box.left), Clamp32(static_cast<std::int64_t>(r.bottom) - box.top)};
    WriteLines(mask.dc.get(), LayOutLines(dc, text, moved, job.angle, job.alignment));
  }

  // The fill over the whole box, painted again only when what makes it
  // changed.
  const std::vector<std::int64_t> fillKey{w,         h,         dpiX,      dpiY,       texture,
                                          fillStyle, foreColor, backColor, fillParam1, fillParam2};
  if (pictures.fillKey != fillKey || pictures.fill.isNull()) {
    pictures.fillKey.clear();
    Prepare(pictures.fill, w, h, dpiX, dpiY, QImage::Format_RGB32);
    if (pictures.fill.isNull()) return;
    pictures.fill.fill(0xFF000000u);
    PictureContext fill(pictures.fill, dpiX, dpiY);
    const Rect fillRect{0, 0, w, h};
    if (texture != 0)
      ColmoTexture(fill.dc.get(), &fillRect, texture, 0);
    else
      ColmoGradient(fill.dc.get(), foreColor, backColor, &fillRect, fillStyle, fillParam1, fillParam2, 0);
    pictures.fillKey = fillKey;
  }

  const QImage& maskImage = pictures.mask;
  const QImage& fillImage = pictures.fill;
  const std::uint32_t key = fillInverse != 0 ? 0x00FFFFFFu : 0u;
  const int blend = (opacity < 0 || opacity > 100) ? 100 : opacity;

  Point at{box.left, box.top};
  LPtoDP(dc, &at, 1);

  // The blend of one pixel of the fill over one of the target, by the
  // integer rule.
  const auto mix = [blend](std::uint32_t fp, std::uint32_t bp) {
    if (blend == 0) return fp;
    std::uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
      const std::uint32_t fc = (fp >> shift) & 0xFFu;
      const std::uint32_t bc = (bp >> shift) & 0xFFu;
      out |= (fc * static_cast<std::uint32_t>(blend) + bc * static_cast<std::uint32_t>(100 - blend)) / 100u << shift;
    }
    return out;
  };

  if (QImage* backing = BackingImage(dc)) {
    // The target can be read back: blend the fill into what is there.
    const QRect under(at.x, at.y, w, h);
    const QImage::Format format = backing->format();
    bool layered = backing->rect().contains(under) &&
                   (format == QImage::Format_RGB32 || format == QImage::Format_ARGB32_Premultiplied ||
                    format == QImage::Format_ARGB32);
    if (layered) {
      // Where the target is opaque, straight from it: the blended pixels
      // become an opaque layer, the others nothing, and the layer goes on
      // over the target.
      Prepare(pictures.layer, w, h, dpiX, dpiY, QImage::Format_ARGB32_Premultiplied);
      layered = !pictures.layer.isNull();
      const std::uint32_t opaque = format == QImage::Format_RGB32 ? 0xFF000000u : 0u;
      for (int row = 0; row < h && layered; ++row) {
        const auto* m = reinterpret_cast<const std::uint32_t*>(maskImage.constScanLine(row));
        const auto* f = reinterpret_cast<const std::uint32_t*>(fillImage.constScanLine(row));
        const auto* b = reinterpret_cast<const std::uint32_t*>(backing->constScanLine(at.y + row)) + at.x;
        auto* o = reinterpret_cast<std::uint32_t*>(pictures.layer.scanLine(row));
        // Runs of pixels outside the glyphs, then runs inside them.
        for (int col = 0; col < w && layered;) {
          const int start = col;
          // Eight mask pixels at a time while all are outside (black: no
          // colour bit set in any), then two at a time.
          if (key == 0) {
            while (col + 8 <= w) {
              std::uint64_t q[4];
              std::memcpy(q, m + col, sizeof q);
              if (((q[0] | q[1] | q[2] | q[3]) & 0x00FFFFFF00FFFFFFull) != 0) break;
              col += 8;
            }
          }
          const std::uint64_t key2 = (static_cast<std::uint64_t>(key) << 32) | key;
          while (col + 2 <= w) {
            std::uint64_t pair;
            std::memcpy(&pair, m + col, sizeof pair);
            if ((pair & 0x00FFFFFF00FFFFFFull) != key2) break;
            col += 2;
          }
          while (col < w && (m[col] & 0x00FFFFFFu) == key) ++col;
          std::fill(o + start, o + col, 0u);
          for (; col < w && (m[col] & 0x00FFFFFFu) != key; ++col) {
            const std::uint32_t bp = b[col] | opaque;
            if ((bp >> 24) != 0xFFu) {
              layered = false;
              break;
            }
            o[col] = 0xFF000000u | (blend == 0 || blend == 100 ? f[col] : mix(f[col], bp));
          }
        }
      }
      if (layered) {
        QPainter* p = Painter(dc);
        p->save();
        p->setCompositionMode(QPainter::CompositionMode_SourceOver);
        p->drawImage(QPoint(at.x, at.y), pictures.layer);
        p->restore();
      }
    }
    if (!layered) {
      // The box read, blended and written back whole.
      QImage back = std::as_const(*backing).copy(under).convertToFormat(QImage::Format_ARGB32);
      for (int row = 0; row < h; ++row) {
        const auto* m = reinterpret_cast<const std::uint32_t*>(maskImage.constScanLine(row));
        const auto* f = reinterpret_cast<const std::uint32_t*>(fillImage.constScanLine(row));
        auto* b = reinterpret_cast<std::uint32_t*>(back.scanLine(row));
        for (int col = 0; col < w; ++col) {
          if ((m[col] & 0x00FFFFFFu) == key) continue;
          b[col] = blend == 0 ? f[col] : (b[col] & 0xFF000000u) | mix(f[col], b[col]);
        }
      }
      WritePixels(dc, at.x, at.y, back);
    }
  } else {
    // A printer or a PDF cannot be read back: the mask becomes the alpha
    // channel of the fill, so only the glyphs are painted.
    const std::uint32_t percent = blend == 0 ? 100u : static_cast<std::uint32_t>(blend);
    QImage layer(w, h, QImage::Format_ARGB32);
    for (int row = 0; row < h; ++row) {
      const auto* m = reinterpret_cast<const std::uint32_t*>(maskImage.constScanLine(row));
      const auto* f = reinterpret_cast<const std::uint32_t*>(fillImage.constScanLine(row));
      auto* o = reinterpret_cast<std::uint32_t*>(layer.scanLine(row));
      for (int col = 0; col < w; ++col) {
        const std::uint32_t mp = m[col];
        const std::uint32_t red = (mp >> 16) & 0xFFu;
        const std::uint32_t green = (mp >> 8) & 0xFFu;
        const std::uint32_t blue = mp & 0xFFu;
        const std::uint32_t cover = key == 0 ? std::max({red, green, blue}) : 255u - std::min({red, green, blue});
        const std::uint32_t alpha = (cover * percent + 50u) / 100u;
        o[col] = (alpha << 24) | (f[col] & 0x00FFFFFFu);
      }
    }
    AlphaBlendImage(dc, box, layer, nullptr, 255, true);
  }
}

}  // namespace pv
