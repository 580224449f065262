#include "printing/layout.h"

#include "platform/runtime.h"
#include "platform/stringtable.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace pv {
namespace {

std::int32_t RoundCount(double v) {
  if (!std::isfinite(v) || v <= 0) return 0;
  return std::max<std::int32_t>(0, CLng(v));
}

// A page prints whole, by the page filter.
bool WholePage(const RunValues& run, std::int32_t page) {
  switch (run.RangePages) {
    case 0: return true;
    case 1: return page != 1;
    case 2: return false;
    case 3: return page != run.PageCount;
    default: return false;
  }
}

std::int32_t Mapped(double v) {
  if (!std::isfinite(v)) return 0;
  return CLng(v);
}

}  // namespace

std::int32_t LabelsAcross(const SheetFormat& f) { return RoundCount(f.nOri); }
std::int32_t LabelsDown(const SheetFormat& f) { return RoundCount(f.nVer); }

std::int32_t LabelsPerPage(const SheetFormat& f) {
  const std::int64_t p = std::int64_t(LabelsAcross(f)) * LabelsDown(f);
  return p > std::numeric_limits<std::int32_t>::max() ? 0 : std::int32_t(p);
}

std::int32_t SheetX(const PreviewSheet& s, std::int32_t x) {
  if (s.PrinterResX <= 0 || !(s.PageWidth > 0) || s.WidthPx <= 0) return 0;
  return Mapped(double(x) * 25.4 / s.PrinterResX * s.WidthPx / s.PageWidth);
}

std::int32_t SheetY(const PreviewSheet& s, std::int32_t y) {
  if (s.PrinterResY <= 0 || !(s.PageHeight > 0) || s.HeightPx <= 0) return 0;
  return Mapped(double(y) * 25.4 / s.PrinterResY * s.HeightPx / s.PageHeight);
}

std::int32_t MmToDevice(float mm, std::int32_t dpi) { return Mapped(double(mm) * dpi / 25.4); }

SheetCheck CheckSheet(const SheetFormat& f) {
  for (const double v : {f.Width, f.Height, f.nOri, f.nVer, f.TopMargin, f.LeftMargin, f.vertipitch, f.horizpitch,
                         f.sheetwidth, f.sheetdepth}) {
    if (!(v >= 0 && v <= MaxSheetValue)) return SheetCheck::BadValue;
  }
  // Counts up to the bound cannot overflow the product.
  return std::int64_t(LabelsAcross(f)) * LabelsDown(f) > MaxLabelsPerPage ? SheetCheck::TooManyLabels : SheetCheck::Ok;
}

PageLayout LayoutPage(const SheetFormat& f, double labelWidth, double labelHeight, const RunValues& run,
                      std::int32_t pageNumber, const LayoutTarget& t) {
  PageLayout page;
  if (CheckSheet(f) != SheetCheck::Ok) return page;
  const std::int32_t across = LabelsAcross(f);
  const std::int32_t down = LabelsDown(f);
  const std::int32_t perPage = LabelsPerPage(f);
  const std::int64_t start = std::int64_t(perPage) * (std::int64_t(pageNumber) - 1);
  if (start < 0 || start > std::numeric_limits<std::int32_t>::max()) return page;
  page.LabelCounterStart = std::int32_t(start);
  page.LabelCounterEnd = page.LabelCounterStart;
  if (t.DpiX <= 0 || t.DpiY <= 0) return page;
  if (t.Preview && (t.Sheet.WidthPx <= 0 || t.Sheet.HeightPx <= 0 || !(t.Sheet.PageWidth > 0) ||
                    !(t.Sheet.PageHeight > 0) || t.Sheet.PrinterResX <= 0 || t.Sheet.PrinterResY <= 0))
    return page;

  const bool whole = WholePage(run, pageNumber);
  std::int32_t counter = page.LabelCounterStart;
  std::int32_t n = 0;
  for (std::int32_t row = 1; row <= down; ++row) {
    for (std::int32_t col = 1; col <= across; ++col) {
      ++n;
      const bool inRange = run.FirstLabel <= n && n <= run.LastLabel;
      if (!inRange && !whole) continue;
      LabelCell c;
      c.n = n;
      c.Row = row;
      c.Column = col;
      c.LabelIndex = counter;
      c.RecordIndex = counter;
      if (counter < std::numeric_limits<std::int32_t>::max()) ++counter;
      // The cell pitch comes from the format, the drawn size from the document.
      const float x1 = float((f.Width + f.horizpitch) * (col - 1) + f.LeftMargin);
      const float y1 = float((f.Height + f.vertipitch) * (row - 1) + f.TopMargin);
      const float x2 = float(double(x1) + labelWidth);
      const float y2 = float(double(y1) + labelHeight);
      c.X1 = MmToDevice(x1, t.DpiX);
      c.Y1 = MmToDevice(y1, t.DpiY);
      c.X2 = MmToDevice(x2, t.DpiX);
      c.Y2 = MmToDevice(y2, t.DpiY);
      if (t.Preview) {
        c.X1 = SheetX(t.Sheet, c.X1);
        c.X2 = SheetX(t.Sheet, c.X2);
        c.Y1 = SheetY(t.Sheet, c.Y1);
        c.Y2 = SheetY(t.Sheet, c.Y2);
      } else {
        const std::int32_t dx = t.CalibrationX - t.OffsetX;
        const std::int32_t dy = t.CalibrationY - t.OffsetY;
        c.X1 += dx;
        c.X2 += dx;
        c.Y1 += dy;
        c.Y2 += dy;
      }
      page.Cells.push_back(c);
    }
  }
  page.LabelCounterEnd = counter;
  return page;
}

Pagination PaginateLabels(std::int64_t labels, std::int32_t perPage) {
  Pagination p;
  if (labels <= 0 || perPage <= 0) return p;
  std::int64_t pages = labels / perPage;
  std::int64_t last = labels % perPage;
  if (last == 0) {
    last = perPage;
  } else {
    ++pages;
  }
  p.PageCount = std::int32_t(std::min<std::int64_t>(pages, std::numeric_limits<std::int32_t>::max()));
  p.LastLabel = std::int32_t(last);
  return p;
}

QString PageCaption(std::int32_t pageNumber, std::int32_t pageCount) {
  return LoadResString(15033) + StrLong(pageNumber) + LoadResString(15034) + StrLong(pageCount);
}

PreviewPlacement PlacePreviewSheet(std::int32_t controlWidth, std::int32_t controlHeight, double pageWidth,
                                   double pageHeight) {
  PreviewPlacement p;
  if (!(pageWidth > 0) || !(pageHeight > 0) || !std::isfinite(pageWidth) || !std::isfinite(pageHeight)) return p;
  const double rx = double(std::max(0, controlWidth)) / pageWidth;
  const double ry = double(std::max(0, controlHeight)) / pageHeight;
  p.Valid = true;
  p.Zoom = std::min(rx, ry) / 1.1;
  p.Height = std::int32_t(std::lround(pageHeight * p.Zoom));
  p.Width = std::int32_t(std::lround(pageWidth * p.Zoom));
  p.Top = std::int32_t(std::lround(controlHeight / 2.0 - p.Height / 2.0));
  p.Left = std::int32_t(std::lround(controlWidth / 2.0 - p.Width / 2.0));
  return p;
}

float SheetFontRatio(std::int32_t sheetHeight, double pageHeight) {
  if (!(pageHeight > 0)) return 0.0f;
  return float(double(sheetHeight) * 25.4 / pageHeight / 72.0);
}

}  // namespace pv
