// The print job: the current page or every page of the run on the current
// printer, with the panel's progress bar.
#include "platform/commondialogs.h"
#include "core/settings.h"
#include "document/hosts.h"
#include "document/labelfile.h"
#include "document/model.h"
#include "platform/msgbox.h"
#include "platform/printer/printer.h"
#include "platform/runtime.h"
#include "platform/stringtable.h"
#include "printing/engine.h"
#include "printing/fieldvalue.h"
#include "printing/jobheap.h"
#include "printing/joboutput.h"
#include "printing/panelhost.h"
#include "printing/pdfstreams.h"

#include <QFileInfo>

namespace pv {

// Marks the engine busy for the life of a job.
class PrintJobRun {
 public:
  explicit PrintJobRun(PrintEngine& e) : m_e(e) { m_e.m_jobRunning = true; }
  ~PrintJobRun() { m_e.m_jobRunning = false; }
  PrintJobRun(const PrintJobRun&) = delete;
  PrintJobRun& operator=(const PrintJobRun&) = delete;

 private:
  PrintEngine& m_e;
};

namespace {

void PrintingError(const QString& reason) {
  PrintControls().ShowProgress(false);
  ShowPrintingError(reason);
}

// Why the format cannot be printed; empty when it can.
QString FormatRefusal(const PanelFormat& f) {
  const QString code = Trim(f.Code);
  switch (CheckSheet(f.Sheet)) {
    case SheetCheck::Ok: return QString();
    case SheetCheck::BadValue:
      return QStringLiteral("Il formato di stampa \"%1\" ha misure non valide (non numeriche, negative o oltre %2).")
          .arg(code)
          .arg(MaxSheetValue, 0, 'f', 0);
    case SheetCheck::TooManyLabels:
      return QStringLiteral("Il formato di stampa \"%1\" ha %2 x %3 etichette: una pagina ne può contenere al più %4.")
          .arg(code)
          .arg(LabelsAcross(f.Sheet))
          .arg(LabelsDown(f.Sheet))
          .arg(MaxLabelsPerPage);
  }
  return QString();
}

// The job's name in the queue: the application title and the document's.
QString JobTitle() {
  return LoadResString(1000) + QStringLiteral(" - ") +
         (DocFileName.isEmpty() ? LoadResString(MsgUntitled) : QFileInfo(DocFileName).fileName());
}

// The sheet of the format, or the current paper when the format gives none.
JobPaper Paper(const SheetFormat& f) {
  if (const std::optional<JobPaper> sheet = PaperForSheet(f.sheetwidth, f.sheetdepth)) return *sheet;
  const QPageLayout layout = CurrentPageLayout();
  const QSizeF mm = layout.fullRect(QPageLayout::Millimeter).size();
  if (const std::optional<JobPaper> paper = PaperForSheet(mm.width(), mm.height())) return *paper;
  return JobPaper{layout, QString(), layout.orientation() == QPageLayout::Landscape};
}

}  // namespace

void PrintEngine::PrintDocument(bool bMode) {
  // A message box of a running job runs an event loop: no second job then.
  if (m_jobRunning) return;
  PrintJobRun running(*this);
  PrintPanelControls& controls = PrintControls();

  const QString printer = CurrentPrinterName();
  if (printer.isEmpty()) {
    PrintingError(QStringLiteral("Il sistema di stampa non risponde: nessuna stampante."));
    return;
  }
  // A format that would lay out without bound is refused before anything is
  // drawn.
  if (const QString refusal = FormatRefusal(m_run.m_Format); !refusal.isEmpty()) {
    PrintingError(refusal);
    return;
  }
  JobSettings settings;
  settings.Printer = printer;
  settings.Title = JobTitle();
  settings.Paper = Paper(m_run.m_Format.Sheet);
  const Settings& program = ProgramSettings();
  settings.PagePerJob = IsTrue(program.PrintStopPage);
  settings.DpiX = program.Printer.DpiX;
  settings.DpiY = program.Printer.DpiY;
  settings.OffsetX = program.Printer.OffsetX;
  settings.OffsetY = program.Printer.OffsetY;
  if (IsPdfPrinter(printer)) {
    // Cancelling the file choice prints nothing and says nothing.
    if (ShowSaveDialog(QStringLiteral("pdf"), QStringLiteral("PDF (*.pdf)|*.pdf"), settings.PdfFile, QString()) < 0)
      return;
  }

  controls.ShowProgress(true);

  const JobHeap heap;
  const PdfStreamScope streams;
  const std::unique_ptr<JobOutput> out = MakeJobOutput(settings);
  const std::int32_t firstPage = bMode ? 1 : m_pageNumber;
  const std::int32_t lastPage = bMode ? m_run.m_PageCount : m_pageNumber;
  const double maximum = bMode ? double(m_run.m_PageCount) + 2 : 5;
  controls.SetProgress(0, maximum, 1);

  // The canvas geometry is committed once for the whole job.
  Editor().SaveData();
  PageSteps steps;
  steps.Starting = [&](std::int32_t page) { controls.SetProgress(0, maximum, bMode ? double(page) + 1 : 2); };
  if (!bMode) {
    steps.Drawn = [&](std::int32_t) { controls.SetProgress(0, maximum, 3); };
    steps.Ending = [&] { controls.SetProgress(0, maximum, 4); };
  }
  if (!PrintPages(*out, firstPage, lastPage, steps)) {
    PrintingError(out->FailureReason());
    return;
  }
  controls.SetProgress(0, maximum, bMode ? maximum : 5);
  controls.ShowProgress(false);
  if (out->QueueStopped()) MsgBox(QueueStoppedText(printer), MsgIcon::Exclamation, MsgButtons::Ok);
}

bool PrintEngine::PrintPages(JobOutput& out, std::int32_t first, std::int32_t last, const PageSteps& steps) {
  if (!out.Begin()) return false;
  // The field values are made once for the whole job.
  RecordFields fields = FieldValues();
  bool ok = true;
  for (std::int32_t page = first; ok && page <= last; ++page) {
    if (steps.Starting) steps.Starting(page);
    if (page > first) ok = out.NewPage();
    if (!ok) break;
    ok = DrawPage(out.dc(), false, fields, page);
    if (ok && steps.Drawn) steps.Drawn(page);
  }
  if (ok && steps.Ending) steps.Ending();
  if (ok) return out.End();
  out.Abort();
  return false;
}

}  // namespace pv
