#pragma once
// The print engine without widgets: the print run values, the print panel's
// members that page drawing, printer information and the print job share,
// and those three operations. One process-wide instance; the panel's
// controls are reached through PrintControls() (printing/panelhost.h).

#include "platform/dc.h"
#include "printing/layout.h"

#include <QString>

#include <cstdint>

namespace pv {

// Print run values (process-wide, zero at start-up).
extern std::int32_t CountMode;   // what the count box counts: 0 pages, 1 labels
extern std::int32_t PageCount;   // pages in the run
extern std::int32_t FirstLabel;  // first position that prints where the range applies
extern std::int32_t LastLabel;   // the last such position
extern std::int32_t RangePages;  // 0 none, 1 first page, 2 all pages, 3 last page

// The print panel's copy of the current print format.
struct PanelFormat {
  QString Code;  // 50 characters, padded with blanks
  SheetFormat Sheet;
  double bottommarg = 0;
  double rightmargin = 0;
};

class PrintEngine {
 public:
  std::int32_t m_PageNumber = 1;    // the page to lay out, 1-based
  std::int32_t m_LabelCounter = 0;  // labels placed so far in the run
  std::int32_t m_LabelIndex = 0;    // running index of the label being drawn
  bool m_MergeActive = false;       // a data source is open
  PanelFormat m_Format;

  // Lays out and draws page m_PageNumber on hdc: the preview surface's
  // sheet (bPreview) or a printer page. Returns false when the page could
  // not be finished (the labels drawn so far stay); a preview never throws.
  bool PrintPage(DeviceContext* hdc, bool bPreview);

  // Prints the current page (false) or every page of the run (true) on the
  // current printer. Reports its failures itself ("Printing error: 1").
  void PrintDocument(bool bMode);
  // Whether a job is running (no second one starts meanwhile).
  bool JobRunning() const { return m_jobRunning; }

  // Reloads the print format of the document's format code, the printer
  // values and the preview page, and makes the run one whole page.
  void ResetPrinterInformation();
  // Re-reads the current printer's resolution, offsets and printable area,
  // and passes the page to the preview.
  void ReloadPrinterInfo();

  // Puts every member back to its start value (tests).
  void Reset();

 private:
  friend class PrintJobRun;
  bool m_jobRunning = false;
};

PrintEngine& PrintRun();

// Puts the run values back to zero (tests).
void ResetRunValues();

// The program's one report of a print failure: "Printing error: 1" with the
// critical icon.
void ShowPrintingError();

}  // namespace pv
