// The print job: the current page or every page of the run on the current
// printer, with the panel's progress bar.
#include "platform/commondialogs.h"
#include "app/settings.h"
#include "platform/printer/printer.h"
#include "printing/engine.h"
#include "printing/jobheap.h"
#include "printing/joboutput.h"
#include "printing/panelhost.h"
#include "render/labelobjects.h"

namespace pv {

// Marks the engine busy for the life of a job.
class PrintJobRun {
 public:
  explicit PrintJobRun(PrintEngine& e) : e_(e) { e_.m_jobRunning = true; }
  ~PrintJobRun() { e_.m_jobRunning = false; }
  PrintJobRun(const PrintJobRun&) = delete;
  PrintJobRun& operator=(const PrintJobRun&) = delete;

 private:
  PrintEngine& e_;
};

namespace {

void PrintingError() {
  PrintControls().ShowProgress(false);
  ShowPrintingError();
}

}  // namespace

void PrintEngine::PrintDocument(bool bMode) {
  // A message box of a running job runs an event loop: no second job then.
  if (m_jobRunning) return;
  PrintJobRun running(*this);
  PrintPanelControls& controls = PrintControls();

  const QString printer = CurrentPrinterName();
  if (printer.isEmpty()) {
    PrintingError();
    return;
  }
  JobSettings settings;
  settings.Printer = printer;
  settings.PagePerJob = IsTrue(PrintStopPage);
  settings.DpiX = PrinterDpiX;
  settings.DpiY = PrinterDpiY;
  settings.OffsetX = PrinterOffsetX;
  settings.OffsetY = PrinterOffsetY;
  if (IsPdfPrinter(printer)) {
    // Cancelling the file choice prints nothing and says nothing.
    if (ShowSaveDialog(QStringLiteral("pdf"), QStringLiteral("PDF (*.pdf)|*.pdf"), settings.PdfFile, QString()) < 0)
      return;
  }

  m_LabelIndex = 0;
  m_LabelCounter = 0;
  controls.ShowProgress(true);

  const JobHeap heap;
  const std::unique_ptr<JobOutput> out = MakeJobOutput(settings);
  const std::int32_t firstPage = bMode ? 1 : m_PageNumber;
  const std::int32_t lastPage = bMode ? PageCount : m_PageNumber;
  const std::int32_t remembered = m_PageNumber;
  const double maximum = bMode ? double(PageCount) + 2 : 5;
  controls.SetProgress(0, maximum, 1);

  bool ok = out->Begin();
  if (ok) {
    // The canvas geometry is committed once for the whole job.
    LabelDrawingBatch batch;
    if (!bMode) controls.SetProgress(0, maximum, 2);
    for (std::int32_t page = firstPage; ok && page <= lastPage; ++page) {
      if (bMode) controls.SetProgress(0, maximum, double(page) + 1);
      if (page > firstPage) ok = out->NewPage();
      if (!ok) break;
      m_PageNumber = page;
      ok = PrintPage(out->dc(), false);
      if (!bMode && ok) controls.SetProgress(0, maximum, 3);
    }
    if (!bMode && ok) controls.SetProgress(0, maximum, 4);
    if (ok) {
      ok = out->End();
    } else {
      out->Abort();
    }
    if (ok) controls.SetProgress(0, maximum, bMode ? maximum : 5);
  }
  if (bMode) m_PageNumber = remembered;
  if (!ok) {
    PrintingError();
    return;
  }
  controls.ShowProgress(false);
}

}  // namespace pv
