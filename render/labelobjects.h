#pragma once
// Drawing of label objects, once for the screen (the editor's handler of the
// canvas's DrawObject, in view pixels) and once for the printer and the page
// preview (every object of the table scaled into a label rectangle in device
// pixels). Text goes through Scriva2, shapes, lines and art text through
// Lineo2, pictures and barcodes through pictures.h and barcode.h; the calls
// into the three libraries go through render/libraries.h. The caller gives
// the drawing what it draws: the objects, the label's header and page origin,
// and the values of the merge fields (render/fieldsource.h).
#include "document/model.h"
#include "platform/dc.h"
#include "render/fieldsource.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>

namespace pv {

// An outline as the canvas hands it over: elements 1-2 (a line's turned end
// points) or 1-4 (a box's turned corners) are used.
using RenderOutline = std::array<std::int32_t, 13>;

// Screen: one visible object of the table, by key. x1, y1, x2, y2: the
// unturned box's corners (a line's unturned ends) in view pixels; X(1), Y(1),
// X(2), Y(2): a line's end points already turned by its angle. The font scale
// is the canvas's FontRatio; a field shows what `fields` gives (the canvas
// gives the captions). Hidden objects and unknown keys draw nothing.
void DragEditor_DrawObject(DeviceContext* hdc, const RenderOutline& X, const RenderOutline& Y, std::int32_t x1,
                           std::int32_t y1, std::int32_t x2, std::int32_t y2, float Angle, std::int32_t lKey,
                           std::int16_t UserType, const DocumentBlock& objects, const FieldSource& fields);

// One label as the print path draws it: the object table (records
// 1..Count, in paint order), the label's header (its size in millimetres) and
// the page origin that the object coordinates include.
struct LabelContent {
  const DocumentBlock& Block;
  const LabelHeader& Header;
  float OrgX = 0.0f;
  float OrgY = 0.0f;
};

// The surface of the print path: the page preview, with its device pixels
// per typographic point (0 or less: the context's resolution / 72), or a
// printer (the printer's resolution from the settings).
struct PrintSurface {
  bool Preview = false;
  float PreviewFontRatio = 0.0f;
};

// Print and preview: every object of the label, hidden ones included, in
// table order, scaled from label millimetres into rect, the fields showing
// what `fields` gives for this label. The canvas geometry is the caller's to
// commit first. An empty rectangle or a label of no size draws nothing.
void DrawLabelObjects(DeviceContext* hDC, const Rect& rect, const LabelContent& label, const FieldSource& fields,
                      const PrintSurface& surface);

// The size of a shape's shadow in the preview (1) and in print (8).
inline std::int16_t ShadowSize(const PrintSurface& surface) { return surface.Preview ? 1 : 8; }

// A line's end points turned by angle degrees about their midpoint, as the
// canvas shows a turned line (device pixels, rounded).
void TurnAboutMidpoint(Point& p1, Point& p2, float angle);

// The scale DrawLabelObjects draws the label into rect with: label
// millimetres per device pixel across (sx) and down (sy). False for an empty
// rectangle or a label of no size, which draw nothing.
bool LabelScale(const Rect& rect, const LabelHeader& header, float* sx, float* sy);

// The device rectangle (Left, Top, Right, Bottom) that DrawLabelObjects
// gives object o of the label drawn into rect at that scale: a box's
// unturned corners, a line's stored end points.
Rect LabelObjectBox(const ObjectRecord& o, const Rect& rect, const LabelContent& label, float sx, float sy);

// Print and preview: one object into (Left, Top, Right, Bottom) in device
// pixels. A turned line is turned about its midpoint here, as the canvas
// shows it.
void DrawLabelObject(DeviceContext* hDC, const ObjectRecord& o, std::int32_t Left, std::int32_t Top, std::int32_t Right,
                     std::int32_t Bottom, float Angle, const FieldSource& fields, const PrintSurface& surface);

// The text as the libraries receive it: cut to its first 1024 characters,
// leading and trailing blanks removed, UTF-8.
QByteArray WorkingText(const QString& text);

// Scriva2's fill style for a gradient FillStyleCode 140-151 (100-102,
// 104-106), 0 for any other code.
std::int32_t GradientFillStyle(std::int32_t fillStyle);

}  // namespace pv
