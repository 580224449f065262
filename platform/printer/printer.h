#pragma once
// The printer service: the printers the program can print to, the default
// and the current one, their resolution and physical offsets, and the
// printer object of a print job.
//
// Beside the system's printers there is always the built-in printer "PDF",
// which prints to a PDF file at 600 dpi with no physical offsets. When the
// system has no printer, or none is its default, "PDF" is the default, so
// the program starts and prints on any machine. Only when the print system
// cannot be asked at all is there no default printer.
//
// A printer is named by the name the program shows. "PDF" always means the
// built-in printer, as it does in what earlier runs stored. A system queue
// whose own name is "PDF" (cups-pdf gives its queue that name) is shown as
// "PDF (CUPS)": no CUPS queue name holds a space, so that name cannot belong
// to another queue, and the two printers are told apart everywhere.

#include <QPageLayout>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class QPrinter;

namespace pv {

inline constexpr const char* PdfPrinterName = "PDF";
inline constexpr int PdfPrinterDpi = 600;

// The device capabilities the program reads of a printer: pixels per inch,
// the offset of the printable area from the paper corner, in pixels, and the
// printable area's width and height in whole millimetres.
struct PrinterCaps {
  int DpiX = 0;
  int DpiY = 0;
  int OffsetX = 0;
  int OffsetY = 0;
  int HorzSize = 0;
  int VertSize = 0;
  bool operator==(const PrinterCaps&) const = default;
};

// Whether `name` is the built-in printer's (any letter case).
bool IsPdfPrinter(const QString& name);
// The name the program shows for the system queue `queue`, and the system
// queue of a printer the program shows as `name` (unchanged for every
// queue but one named like the built-in printer).
QString PrinterDisplayName(const QString& queue);
QString PrinterQueueName(const QString& name);

// Whether the print system can be asked at all.
bool PrintSystemAvailable();
// The system's printers by their shown names, then "PDF". Empty when the
// print system cannot be asked.
QStringList PrinterNames();
// The default printer's name; nothing when the print system cannot be asked.
std::optional<QString> DefaultPrinterName();

// The printer print jobs go to: the default until SetCurrentPrinter chooses
// another, and then that one, even when it has gone from the system since
// (a job for it then fails; it never goes to another printer). Empty when
// the print system cannot be asked.
QString CurrentPrinterName();
// Chooses a printer of PrinterNames(); false (and no change) for another name.
bool SetCurrentPrinter(const QString& name);
// The paper and orientation of the current printer's jobs.
QPageLayout CurrentPageLayout();
void SetCurrentPageLayout(const QPageLayout& layout);

// The capabilities of a printer of PrinterNames(), with the current page
// layout; nothing for an unknown printer or when the print system cannot be
// asked.
std::optional<PrinterCaps> PrinterCapabilities(const QString& name);
std::optional<PrinterCaps> CurrentPrinterCapabilities();

// The printer object of a print job on the current printer, page layout
// applied and full-page mode off (the painter's origin is the corner of the
// printable area). For the PDF printer the output goes to `pdfFileName`.
// Nothing when the print system cannot be asked.
std::unique_ptr<QPrinter> CreateCurrentPrinter(const QString& pdfFileName = QString());

// Test seam: a stand-in print system. `unavailable` makes it unanswerable;
// otherwise `printers` are its printers (by their queue names),
// `defaultPrinter` its default and `caps` the capabilities of every one of
// them but those of `unreadable`, which cannot be asked. nullptr restores the
// real one (and the current printer goes back to the default).
struct FakePrintSystem {
  bool unavailable = false;
  QStringList printers;
  QString defaultPrinter;
  PrinterCaps caps;
  QStringList unreadable;
};
void SetFakePrintSystem(const FakePrintSystem* fake);

}  // namespace pv
