#pragma once
// Inside of the device context: its state and the helpers the drawing files
// share. Not for use outside platform/dc*.cpp.

#include "platform/dc.h"

#include <QBrush>
#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QRegion>
#include <QTransform>

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

  MapMode mapMode = MapMode::Text;
  Point windowOrg;
  Size windowExt{1, 1};
  Point viewportOrg;
  Size viewportExt{1, 1};
  QTransform world;

  bool hasClip = false;
  QRegion clip;   // device units
  // The outer clip as a vector path (device units), under the region above.
  bool hasClipOutline = false;
  QPainterPath clipOutline;

  Point position;
  Point brushOrigin;

  std::uint32_t textAlign = 0;
  std::int32_t justExtra = 0;
  std::int32_t justCount = 0;
  std::int32_t charExtra = 0;

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

}  // namespace pv

struct pv::DeviceContext {
  QPainter* painter = nullptr;
  QImage* backing = nullptr;
  DeviceInfo info;
  QTransform base;          // the painter's transform at creation
  bool hasBaseClip = false;
  QRegion baseClip;         // the painter's clip at creation, device units
  DcState st;
  std::vector<DcState> stack;
  // Last font made for the selected font at a given scale (text calls are
  // frequent; making a QFont is not free).
  mutable bool fontCacheValid = false;
  mutable Font fontCacheKey;
  mutable double fontCacheScale = 0;
  mutable QFont fontCache;
  mutable double fontCacheHeight = 0;
};

namespace pv::detail {

inline bool Valid(const DeviceContext* dc) { return dc && dc->painter && dc->painter->isActive(); }

// Logical -> device.
QTransform PageTransform(const DeviceContext* dc);
inline QTransform FullTransform(const DeviceContext* dc) { return dc->st.world * PageTransform(dc); }
inline bool AxisAligned(const QTransform& t) { return t.m12() == 0.0 && t.m21() == 0.0; }
// Average linear scale of a transform.
double Scale(const QTransform& t);

// Applies the clip (base clip and the context's) to the painter.
void ApplyClip(DeviceContext* dc);

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

// Adds to the open path a figure as given and as it is stroked (see
// DcState::path); Connect joins it to the figure before with a line.
void PathAdd(DeviceContext* dc, const QPainterPath& shape, const QPainterPath& stroke);
void PathConnect(DeviceContext* dc, const QPainterPath& shape, const QPainterPath& stroke);
inline void PathAdd(DeviceContext* dc, const QPainterPath& shape) { PathAdd(dc, shape, shape); }

QFont MakeQFont(const DeviceContext* dc, const Font& f, double* deviceHeight = nullptr);

}  // namespace pv::detail
