#pragma once
// How far the print path's drawing of a label can put ink: whether
// everything DrawLabelBackground and DrawLabelObjects draw for the label
// stays inside a device box. The page drawing asks it once per label size,
// so that a label whose content cannot leave its cell is drawn without a
// clip of its own (a printer or a PDF pays for each clip with a new
// graphics state).
//
// Each kind is judged by what its drawing guarantees: text, barcodes,
// raster pictures and shapes keep to their (turned) rectangle, a line to its
// turned end points widened by the widest pen. Metafile pictures, art text,
// the label's background and border can reach anywhere and answer false.
#include "document/model.h"
#include "platform/dc.h"
#include "render/labelobjects.h"

#include <QRectF>

namespace pv {

// Whether the label drawn into rect (as DrawLabelObjects takes it) puts ink
// only inside `inside` (device pixels). dpiX: the device's resolution, which
// sizes pens. A label that draws nothing answers true.
bool LabelInkStaysInside(const Rect& rect, const LabelContent& label, const PrintSurface& surface, int dpiX,
                         const QRectF& inside);

}  // namespace pv
