#pragma once
// Label objects of the render benchmarks, put straight into the document's
// table.
#include "document/model.h"
#include "tests/support/records.h"

#include <QString>

#include <cstdint>

namespace benchlabel {

// A text box or field of the label: Arial at a size in points, left-aligned,
// black on white.
inline pv::ObjectRecord& AddText(std::int16_t kind, float cx, float cy, float w, float h, const QString& content,
                                 int size, int bold = 0) {
  pv::ObjectRecord r = pv::test::BoxRecord(kind, cx, cy, w, h);
  r.Content = content;
  r.FontName = "Arial";
  r.FontSize = std::int16_t(size);
  r.Bold = std::int16_t(bold);
  r.Alignment = 20;
  r.Opacity = 100;
  r.FillStyle = 1;
  r.Color1 = 0;
  r.Color2 = 0xFFFFFF;
  return pv::test::AppendRecord(r);
}

}  // namespace benchlabel
