#pragma once
// Drawing of label objects, once for the screen (the editor's handler of the
// canvas's DrawObject, in view pixels) and once for the printer and the page
// preview (every object of the table scaled into a label rectangle in device
// pixels). Text goes through Scriva2, shapes, lines and art text through
// Lineo2, pictures and barcodes through pictures.h and barcode.h; the calls
// into the three libraries go through render/libraries.h.
#include "platform/dc.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>

namespace pv {

// An outline as the canvas hands it over: elements 1-2 (a line's turned end
// points) or 1-4 (a box's turned corners) are used.
using RenderOutline = std::array<std::int32_t, 13>;

// Screen: one visible object. x1, y1, x2, y2: the unturned box's corners (a
// line's unturned ends) in view pixels; X(1), Y(1), X(2), Y(2): a line's end
// points already turned by its angle. The font scale is the canvas's
// FontRatio. Hidden objects and unknown keys draw nothing.
void DragEditor_DrawObject(DeviceContext* hdc, const RenderOutline& X, const RenderOutline& Y, std::int32_t x1,
                           std::int32_t y1, std::int32_t x2, std::int32_t y2, float Angle, std::int32_t lKey,
                           std::int16_t UserType);

// Print and preview: commits the canvas geometry into the table (the editor's
// SaveData), then draws every object of the table, hidden ones included, in
// table order, scaled from label millimetres into rect. An empty rectangle
// or a label of no size draws nothing.
void DrawLabelObjects(DeviceContext* hDC, Rect& rect, bool bPreview);

// While one of these lives, DrawLabelObjects leaves the canvas geometry
// alone: the first (outermost) one commits it once when it is made. A page
// of labels, or a whole print job, commits once instead of once per label.
class LabelDrawingBatch {
 public:
  LabelDrawingBatch();
  ~LabelDrawingBatch();
  LabelDrawingBatch(const LabelDrawingBatch&) = delete;
  LabelDrawingBatch& operator=(const LabelDrawingBatch&) = delete;
};

// Print and preview: one object, by key, into (Left, Top, Right, Bottom) in
// device pixels. A turned line is turned about its midpoint here, as the
// canvas shows it.
void DrawLabelObject(DeviceContext* hDC, std::int32_t Key, std::int16_t UserType, std::int32_t Left, std::int32_t Top,
                     std::int32_t Right, std::int32_t Bottom, float Angle, bool bPreview);

// The text as the libraries receive it: cut to its first 1024 characters,
// leading and trailing blanks removed, UTF-8.
QByteArray WorkingText(const QString& text);

// Scriva2's fill style for a gradient FillStyleCode 140-151 (100-102,
// 104-106), 0 for any other code.
std::int32_t GradientFillStyle(std::int32_t fillStyle);

}  // namespace pv
