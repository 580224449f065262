#pragma once
// Hands a finished PDF file to a CUPS queue through libcups, so that a queue
// that refuses the job (stopped, not accepting, unknown) is known at once.
// Tests put their own spooler in place.

#include <QString>

#include <functional>

namespace pv {

struct SpoolResult {
  bool Accepted = false;
  QString Error;  // the print system's words when refused
};

using Spooler = std::function<SpoolResult(const QString& printer, const QString& pdfFile, const QString& title)>;

// Submits through cupsPrintFile at the document's own scale.
SpoolResult SpoolWithCups(const QString& printer, const QString& pdfFile, const QString& title);

// The spooler print jobs use (SpoolWithCups unless a test set another).
SpoolResult Spool(const QString& printer, const QString& pdfFile, const QString& title);
// Returns the previous one; an empty function puts SpoolWithCups back.
Spooler SetSpooler(Spooler spooler);

}  // namespace pv
