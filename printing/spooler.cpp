#include "printing/spooler.h"

#include "platform/printer/printer.h"

#include <QPageSize>
#include <QSizeF>

#include <cups/cups.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace pv {
namespace {

Spooler& Current() {
  static Spooler s;
  return s;
}

constexpr double kLongestSheet = 100000;  // mm

QString CupsWords() { return QString::fromUtf8(cupsLastErrorString()); }

// Why a submission failed, for the user.
QString RefusalText(const QString& printer, ipp_status_t status, const QString& words) {
  QString text;
  switch (status) {
    case IPP_STATUS_ERROR_NOT_FOUND:
      text = QStringLiteral("La stampante \"%1\" non esiste nel sistema di stampa: è stata rimossa o rinominata.");
      break;
    case IPP_STATUS_ERROR_NOT_ACCEPTING_JOBS: text = QStringLiteral("La stampante \"%1\" non accetta lavori."); break;
    case IPP_STATUS_ERROR_FORBIDDEN:
    case IPP_STATUS_ERROR_NOT_AUTHORIZED:
    case IPP_STATUS_ERROR_CUPS_AUTHENTICATION_CANCELED:
      text = QStringLiteral("Non è permesso stampare sulla stampante \"%1\".");
      break;
    default: text = QStringLiteral("La stampante \"%1\" ha rifiutato il lavoro."); break;
  }
  return text.arg(printer) + QStringLiteral("\n(CUPS: ") + words + QLatin1Char(')');
}

bool Stopped(http_t* http, const QByteArray& name) {
  cups_dest_t* dest = cupsGetNamedDest(http, name.constData(), nullptr);
  if (dest == nullptr) return false;
  const char* state = cupsGetOption("printer-state", dest->num_options, dest->options);
  const bool stopped = state != nullptr && std::atoi(state) == IPP_PSTATE_STOPPED;
  cupsFreeDests(1, dest);
  return stopped;
}

}  // namespace

std::optional<JobPaper> PaperForSheet(double width, double depth) {
  if (!std::isfinite(width) || !std::isfinite(depth) || !(width > 0) || !(depth > 0) || width > kLongestSheet ||
      depth > kLongestSheet)
    return std::nullopt;
  const auto hundredths = [](double mm) { return int(std::lround(mm * 100)); };
  const double shortSide = std::min(width, depth);
  const double longSide = std::max(width, depth);
  JobPaper paper;
  const pwg_media_t* standard = pwgMediaForSize(hundredths(shortSide), hundredths(longSide));
  if (standard != nullptr && std::strncmp(standard->pwg, "custom_", 7) != 0) {
    // A standard size is named upright; a sheet wider than deep is that
    // paper turned.
    paper.Media = QString::fromLatin1(standard->pwg);
    paper.Landscape = width > depth;
    paper.Page = QPageLayout(QPageSize(QSizeF(shortSide, longSide), QPageSize::Millimeter),
                             paper.Landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF(),
                             QPageLayout::Millimeter);
    return paper;
  }
  const pwg_media_t* custom = pwgMediaForSize(hundredths(width), hundredths(depth));
  if (custom == nullptr) return std::nullopt;
  paper.Media = QString::fromLatin1(custom->pwg);
  paper.Page = QPageLayout(QPageSize(QSizeF(width, depth), QPageSize::Millimeter, QString(), QPageSize::ExactMatch),
                           QPageLayout::Portrait, QMarginsF(), QPageLayout::Millimeter);
  return paper;
}

SpoolResult SpoolWithCups(const SpoolRequest& request) {
  SpoolResult r;
  // The messages name the printer as the user sees it; CUPS gets its queue.
  const QByteArray name = PrinterQueueName(request.Printer).toUtf8();
  // One connection for the whole submission, so that a print system that
  // does not answer is told from a queue that is not there.
  http_t* http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, 30000, nullptr);
  if (http == nullptr) {
    r.Error = QStringLiteral(
                  "Il sistema di stampa (CUPS) non risponde: il lavoro per la stampante \"%1\" non è "
                  "stato inviato.\n(%2:%3: %4)")
                  .arg(request.Printer, QString::fromUtf8(cupsServer()))
                  .arg(ippPort())
                  .arg(CupsWords());
    return r;
  }
  cups_dest_t* dest = cupsGetNamedDest(http, name.constData(), nullptr);
  if (dest == nullptr) {
    const ipp_status_t status = cupsLastError();
    r.Error = RefusalText(request.Printer, status == IPP_STATUS_OK ? IPP_STATUS_ERROR_NOT_FOUND : status, CupsWords());
    httpClose(http);
    return r;
  }
  cupsFreeDests(1, dest);

  const QByteArray file = request.PdfFile.toUtf8();
  const QByteArray title = request.Title.toUtf8();
  const QByteArray media = request.Paper.Media.toUtf8();
  cups_option_t* options = nullptr;
  int count = 0;
  // The labels are laid out in the printer's own units on the job's paper:
  // no fitting, and the paper named.
  count = cupsAddOption("print-scaling", "none", count, &options);
  if (!media.isEmpty()) count = cupsAddOption("media", media.constData(), count, &options);
  count = cupsAddIntegerOption("orientation-requested",
                               request.Paper.Landscape ? IPP_ORIENT_LANDSCAPE : IPP_ORIENT_PORTRAIT, count, &options);
  const int job = cupsPrintFile2(http, name.constData(), file.constData(), title.constData(), count, options);
  cupsFreeOptions(count, options);
  r.Accepted = job > 0;
  if (r.Accepted) {
    r.QueueStopped = Stopped(http, name);
  } else {
    r.Error = RefusalText(request.Printer, cupsLastError(), CupsWords());
  }
  httpClose(http);
  return r;
}

SpoolResult Spool(const SpoolRequest& request) {
  if (Current()) return Current()(request);
  return SpoolWithCups(request);
}

Spooler SetSpooler(Spooler spooler) {
  Spooler previous = Current();
  Current() = std::move(spooler);
  return previous;
}

QString QueueStoppedText(const QString& printer) {
  return QStringLiteral(
             "La stampante \"%1\" è ferma. Il lavoro è stato consegnato a CUPS, che lo conserva: sarà "
             "stampato quando la stampante verrà riavviata.")
      .arg(printer);
}

}  // namespace pv
