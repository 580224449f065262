#include "printing/spooler.h"

#include <cups/cups.h>

namespace pv {
namespace {
Spooler& Current() {
  static Spooler s;
  return s;
}
}  // namespace

SpoolResult SpoolWithCups(const QString& printer, const QString& pdfFile, const QString& title) {
  const QByteArray name = printer.toUtf8();
  const QByteArray file = pdfFile.toUtf8();
  const QByteArray jobTitle = title.toUtf8();
  cups_option_t* options = nullptr;
  int count = 0;
  // The labels are laid out in the printer's own units: no fitting.
  count = cupsAddOption("print-scaling", "none", count, &options);
  const int job = cupsPrintFile(name.constData(), file.constData(), jobTitle.constData(), count, options);
  cupsFreeOptions(count, options);
  SpoolResult r;
  r.Accepted = job > 0;
  if (!r.Accepted) r.Error = QString::fromUtf8(cupsLastErrorString());
  return r;
}

SpoolResult Spool(const QString& printer, const QString& pdfFile, const QString& title) {
  if (Current()) return Current()(printer, pdfFile, title);
  return SpoolWithCups(printer, pdfFile, title);
}

Spooler SetSpooler(Spooler spooler) {
  Spooler previous = Current();
  Current() = std::move(spooler);
  return previous;
}

}  // namespace pv
