#pragma once
// Sheet layout without drawing: which positions of a page print, where each
// label lies in the target's device units, which running index (and record)
// it takes; the page count of a label count; the page caption. Pure
// functions over plain values, so the page drawing, the preview and the
// print job all walk the same result.

#include <QString>

#include <cstdint>
#include <vector>

namespace pv {

// The print format's sheet values as the layout reads them (millimetres,
// counts as stored: they may come with fractions).
struct SheetFormat {
  double Width = 0;  // the label cell
  double Height = 0;
  double nOri = 0;  // labels across
  double nVer = 0;  // labels down
  double TopMargin = 0;
  double LeftMargin = 0;
  double vertipitch = 0;  // gap between neighbouring labels down
  double horizpitch = 0;  // and across
  double sheetwidth = 0;  // the preview's page
  double sheetdepth = 0;
};

// Labels across and down, each rounded once (halves to even; no fewer than
// 0), and P, their product: the labels of one page.
std::int32_t LabelsAcross(const SheetFormat& f);
std::int32_t LabelsDown(const SheetFormat& f);
std::int32_t LabelsPerPage(const SheetFormat& f);

// The most labels a page is laid out with: far more than any label stock
// holds (the densest sheets have a few hundred), so that a format that came
// past the format dialog's checks cannot make one page's layout grow without
// bound.
inline constexpr std::int32_t MaxLabelsPerPage = 10000;
// The bound of every value of a format, as the format dialog has it.
inline constexpr double MaxSheetValue = 100000;

// Whether a format can be laid out: each of its values a number from 0 to
// MaxSheetValue, and no more than MaxLabelsPerPage labels a page.
enum class SheetCheck { Ok, BadValue, TooManyLabels };
SheetCheck CheckSheet(const SheetFormat& f);

// The run values the layout reads.
struct RunValues {
  std::int32_t PageCount = 1;
  std::int32_t FirstLabel = 1;
  std::int32_t LastLabel = 1;
  std::int32_t RangePages = 0;  // 0 none, 1 first page, 2 all pages, 3 last page
};

// The preview sheet: its size in pixels, the page it shows (mm) and the
// printer resolution its coordinates come in.
struct PreviewSheet {
  std::int32_t WidthPx = 0;
  std::int32_t HeightPx = 0;
  double PageWidth = 210;
  double PageHeight = 297;
  std::int32_t PrinterResX = 300;
  std::int32_t PrinterResY = 300;
};

// Printer device units (dots of PrinterRes) to sheet pixels: to millimetres,
// then to pixels, rounded halves to even. A sheet with no size or no
// resolution maps everything to 0.
std::int32_t SheetX(const PreviewSheet& sheet, std::int32_t x);
std::int32_t SheetY(const PreviewSheet& sheet, std::int32_t y);

// Where a page goes: the printer (dpi, the printable area's offset, the
// calibration, all in device units), or the preview sheet (device units at
// dpi, then mapped through SheetX / SheetY).
struct LayoutTarget {
  bool Preview = false;
  std::int32_t DpiX = 0;
  std::int32_t DpiY = 0;
  std::int32_t OffsetX = 0;
  std::int32_t OffsetY = 0;
  std::int32_t CalibrationX = 0;
  std::int32_t CalibrationY = 0;
  PreviewSheet Sheet;
};

// One printed position.
struct LabelCell {
  std::int32_t n = 0;    // 1-based position on the sheet, row by row
  std::int32_t Row = 0;  // 1-based
  std::int32_t Column = 0;
  std::int32_t X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;  // target units
  std::int32_t LabelIndex = 0;                  // running index of the run (0-based)
  std::int32_t RecordIndex = 0;                 // 0-based record the label takes
};

struct PageLayout {
  std::vector<LabelCell> Cells;        // printed positions only, in order
  std::int32_t LabelCounterStart = 0;  // (page - 1) x P
  std::int32_t LabelCounterEnd = 0;    // after the last printed label
};

// The printed positions of page `pageNumber` (1-based) with the label size
// (mm) the document draws at. A page prints whole unless the range applies
// to it; in range means FirstLabel <= n <= LastLabel. Labels take running
// indexes from (page - 1) x P on, one per printed label, and the record of
// the same number. No resolution, (preview) no sheet, or a format that
// CheckSheet refuses: no cells.
PageLayout LayoutPage(const SheetFormat& format, double labelWidth, double labelHeight, const RunValues& run,
                      std::int32_t pageNumber, const LayoutTarget& target);

// Millimetres to device units at dpi, halves to even.
std::int32_t MmToDevice(float mm, std::int32_t dpi);

// N labels on sheets of P: the pages, and the last position of the last
// page (P when it is full). P of 0 or less, or N of 0 or less: 0 pages.
struct Pagination {
  std::int32_t PageCount = 0;
  std::int32_t LastLabel = 0;
};
Pagination PaginateLabels(std::int64_t labels, std::int32_t perPage);

// The caption below the preview: "Numero di pagine:", the page with a
// leading blank, " di ", the count with a leading blank.
QString PageCaption(std::int32_t pageNumber, std::int32_t pageCount);

// The sheet's placement in a preview control of the given inner size: the
// page scaled to fit with a tenth to spare, centred.
struct PreviewPlacement {
  bool Valid = false;  // false: zero page size (the picture stays as it was)
  double Zoom = 0;     // pixels per millimetre
  std::int32_t Left = 0, Top = 0, Width = 0, Height = 0;
};
PreviewPlacement PlacePreviewSheet(std::int32_t controlWidth, std::int32_t controlHeight, double pageWidth,
                                   double pageHeight);

// Sheet pixels per typographic point: sheet height x 25.4 / page height / 72;
// 0 for a page of no height.
float SheetFontRatio(std::int32_t sheetHeight, double pageHeight);

}  // namespace pv
