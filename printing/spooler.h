#pragma once
// Hands a finished PDF file to a CUPS queue through libcups, with the paper
// and orientation it was laid out on and its title, so that it prints on
// that sheet; a queue that refuses the job (unknown, not accepting, the print
// system not answering) is known at once, and so is a stopped queue that
// took it. Tests put their own spooler in place.

#include <QPageLayout>
#include <QString>

#include <functional>
#include <optional>

namespace pv {

// The paper of a job: the page of its PDF, and the media the queue is asked
// for (a PWG media name: the standard size's name when the sheet is one,
// turned or not, else a custom size of the sheet's width and depth).
struct JobPaper {
  QPageLayout Page;
  QString Media;
  bool Landscape = false;  // a standard size turned: orientation-requested landscape
};

// The paper of a sheet of `width` x `depth` millimetres; nothing for a sheet
// with no size (or not a number, or beyond 100 m).
std::optional<JobPaper> PaperForSheet(double width, double depth);

struct SpoolRequest {
  QString Printer;  // as PrinterNames() shows it
  QString PdfFile;
  QString Title;  // the job's name in the queue
  JobPaper Paper;
};

struct SpoolResult {
  bool Accepted = false;
  // Accepted by a stopped queue: the print system keeps the job until the
  // queue is started again.
  bool QueueStopped = false;
  // When refused: why, in the program's words, naming the printer, with the
  // print system's own words.
  QString Error;
};

using Spooler = std::function<SpoolResult(const SpoolRequest& request)>;

// Submits through libcups at the document's own scale.
SpoolResult SpoolWithCups(const SpoolRequest& request);

// The spooler print jobs use (SpoolWithCups unless a test set another).
SpoolResult Spool(const SpoolRequest& request);
// Returns the previous one; an empty function puts SpoolWithCups back.
Spooler SetSpooler(Spooler spooler);

// What the user is told when a stopped queue took the job.
QString QueueStoppedText(const QString& printer);

}  // namespace pv
