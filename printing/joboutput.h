#pragma once
// Where a print job's pages go. On the built-in "PDF" printer: straight into
// the chosen file. On a CUPS printer: into a private temporary PDF at the
// printer's resolution on the job's paper, its origin at the corner of the
// printable area, handed to the queue through libcups when the job ends (or
// page by page, one job each, when every page waits for the form to be
// inserted), so a queue that refuses the job is reported.

#include "platform/dc.h"
#include "printing/spooler.h"

#include <QPageLayout>
#include <QString>

#include <memory>

class QPrinter;

namespace pv {

// How a job's PDF pages are set up: the page, the writer's resolution, and
// the device context's resolution and printable-area offset. Pages drawn
// apart (the page workers) are set up from it exactly as the job's own.
struct PdfPageSetup {
  QPageLayout Layout;
  bool FullPage = false;
  int Resolution = 0;  // the PDF writer's
  int DpiX = 0;        // the painter's resolution (0: the writer's)
  int DpiY = 0;
  int OffsetX = 0;  // the printable area's offset, device units
  int OffsetY = 0;
};

// A PDF writer for `file` set up as `setup` says.
std::unique_ptr<QPrinter> MakePdfPrinter(const PdfPageSetup& setup, const QString& file);

class JobOutput {
 public:
  virtual ~JobOutput() = default;
  // Opens the output with its first page. False: nothing can be printed.
  virtual bool Begin() = 0;
  // Ends the page and starts the next one.
  virtual bool NewPage() = 0;
  // Ends the last page and delivers the job.
  virtual bool End() = 0;
  // Stops without delivering anything further (after a failure).
  virtual void Abort() = 0;
  // The page's device context (valid between Begin and End).
  virtual DeviceContext* dc() = 0;

  // A job whose pages are drawn elsewhere and joined into one PDF, instead
  // of Begin ... End: the set-up its pages are drawn with and the file the
  // whole job's PDF is to be written to. False when this output takes its
  // pages only one job at a time (a CUPS job a page).
  virtual bool TakesWholeFile(PdfPageSetup* setup, QString* file) = 0;
  // Delivers the whole job's PDF once written to that file.
  virtual bool DeliverWholeFile() = 0;

  // After a failure: why, for the user (empty when there is nothing to add).
  const QString& FailureReason() const { return m_reason; }
  // A stopped queue took the job (or one of its pages): it is kept there.
  bool QueueStopped() const { return m_queueStopped; }

 protected:
  QString m_reason;
  bool m_queueStopped = false;
};

struct JobSettings {
  QString Printer;          // the current printer's name
  QString PdfFile;          // the file of the "PDF" printer
  QString Title;            // the job's name in the queue
  JobPaper Paper;           // the sheet the labels are laid out on (CUPS jobs)
  bool PagePerJob = false;  // a CUPS printer gets one job per page
  int DpiX = 0;             // the painter's resolution (0: the printer's own)
  int DpiY = 0;
  int OffsetX = 0;  // the printable area's offset, device units
  int OffsetY = 0;
};

std::unique_ptr<JobOutput> MakeJobOutput(const JobSettings& settings);

// One part of a job drawn apart, into `file`, set up as the job's output
// said (TakesWholeFile). It delivers nothing: End closes the file.
std::unique_ptr<JobOutput> MakePartOutput(const PdfPageSetup& setup, const QString& file);

}  // namespace pv
