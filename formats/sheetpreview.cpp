#include "formats/sheetpreview.h"

#include "platform/runtime.h"

#include <algorithm>
#include <cmath>

namespace pv {

namespace {

// More labels than this each way cannot be told apart in the drawing; the
// cap keeps a stored count of thousands from stalling the view.
constexpr double kMaxDrawnLabels = 500;

}  // namespace

SheetPreview MakeSheetPreview(const PrintFormat& f) {
  SheetPreview p;
  if (!(f.sheetwidth > 0) || !(f.sheetdepth > 0) || !std::isfinite(f.sheetwidth) || !std::isfinite(f.sheetdepth)) {
    return p;
  }
  const float scale = static_cast<float>(std::max(f.sheetwidth, f.sheetdepth) / 300.0 * 1.2);
  const double width = f.sheetwidth / scale / 1.5;
  const double height = f.sheetdepth / scale / 1.5;
  p.size = QSize(static_cast<int>(std::lround(width)), static_cast<int>(std::lround(height)));
  if (p.size.width() <= 0 || p.size.height() <= 0) return p;
  p.visible = true;

  const double across = std::min(RoundHalfEven(f.nOri), kMaxDrawnLabels);
  const double down = std::min(RoundHalfEven(f.nVer), kMaxDrawnLabels);
  for (int c = 1; c <= across; ++c) {
    for (int r = 1; r <= down; ++r) {
      const double cx = RoundHalfEven((c - 0.5) * f.Width + f.LeftMargin + (c - 1) * f.horizpitch);
      const double cy = RoundHalfEven((r - 0.5) * f.Height + f.TopMargin + (r - 1) * f.vertipitch);
      p.labels.emplace_back(cx - f.Width / 2, cy - f.Height / 2, f.Width, f.Height);
    }
  }
  return p;
}

}  // namespace pv
