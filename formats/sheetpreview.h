#pragma once
// The small drawing of a format's sheet in the archive view: its size in
// pixels (the longer side about 167 pixels) and the outlines of its labels
// in millimetres of the sheet.

#include "formats/printformat.h"

#include <QRectF>
#include <QSize>

#include <vector>

namespace pv {

struct SheetPreview {
  bool visible = false;        // false when the sheet cannot be drawn (no size)
  QSize size;                  // pixels
  std::vector<QRectF> labels;  // millimetres from the sheet's top-left corner
};

SheetPreview MakeSheetPreview(const PrintFormat& format);

}  // namespace pv
