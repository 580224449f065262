#pragma once
// Where a print job's pages go. On the built-in "PDF" printer: into a new
// file beside the chosen one, which takes its place only when the job has
// ended well and the file is whole (replacingfile.h); a target whose folder
// takes no new file is refused before the first page. On a CUPS printer: into a private temporary PDF at the
// printer's resolution on the job's paper, its origin at the corner of the
// printable area, handed to the queue through libcups when the job ends (or
// page by page, one job each, when every page waits for the form to be
// inserted), so a queue that refuses the job is reported.

#include "platform/dc.h"
#include "printing/spooler.h"

#include <QString>

#include <memory>

namespace pv {

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

}  // namespace pv
