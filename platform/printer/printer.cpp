#include "platform/printer/printer.h"

#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>

#include <cmath>

namespace pv {
namespace {

// What tells a system queue named like the built-in printer from it.
const QLatin1String kQueueSuffix(" (CUPS)");

struct State {
  std::optional<FakePrintSystem> fake;
  QString current;  // empty: the default
  std::optional<QPageLayout> layout;
};

State& S() {
  static State s;
  return s;
}

QPageLayout DefaultLayout() {
  return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

QStringList SystemPrinters() {
  if (S().fake) return S().fake->printers;
  return QPrinterInfo::availablePrinterNames();
}

QString SystemDefault() {
  if (S().fake) return S().fake->defaultPrinter;
  return QPrinterInfo::defaultPrinterName();
}

// The whole paper prints on the PDF printer.
PrinterCaps PdfCaps() {
  const QSizeF mm = CurrentPageLayout().fullRect(QPageLayout::Millimeter).size();
  return PrinterCaps{PdfPrinterDpi, PdfPrinterDpi, 0, 0, int(std::floor(mm.width())), int(std::floor(mm.height()))};
}

}  // namespace

bool IsPdfPrinter(const QString& name) { return name.compare(QLatin1String(PdfPrinterName), Qt::CaseInsensitive) == 0; }

QString PrinterDisplayName(const QString& queue) { return IsPdfPrinter(queue) ? queue + kQueueSuffix : queue; }

QString PrinterQueueName(const QString& name) {
  if (name.endsWith(kQueueSuffix)) {
    const QString queue = name.chopped(kQueueSuffix.size());
    if (IsPdfPrinter(queue)) return queue;
  }
  return name;
}

bool PrintSystemAvailable() { return !(S().fake && S().fake->unavailable); }

QStringList PrinterNames() {
  if (!PrintSystemAvailable()) return {};
  QStringList names;
  for (const QString& p : SystemPrinters()) {
    if (!p.isEmpty()) names << PrinterDisplayName(p);
  }
  names << QString::fromLatin1(PdfPrinterName);
  return names;
}

std::optional<QString> DefaultPrinterName() {
  if (!PrintSystemAvailable()) return std::nullopt;
  const QString def = PrinterDisplayName(SystemDefault());
  const QStringList names = PrinterNames();
  if (!def.isEmpty() && !IsPdfPrinter(def) && names.contains(def)) return def;
  return QString::fromLatin1(PdfPrinterName);
}

QString CurrentPrinterName() {
  if (!PrintSystemAvailable()) return {};
  if (!S().current.isEmpty()) return S().current;
  return DefaultPrinterName().value_or(QString());
}

bool SetCurrentPrinter(const QString& name) {
  const QStringList names = PrinterNames();
  for (const QString& n : names) {
    if (n == name || (IsPdfPrinter(n) && IsPdfPrinter(name))) {
      S().current = n;
      return true;
    }
  }
  return false;
}

QPageLayout CurrentPageLayout() { return S().layout.value_or(DefaultLayout()); }

void SetCurrentPageLayout(const QPageLayout& layout) { S().layout = layout; }

std::optional<PrinterCaps> PrinterCapabilities(const QString& name) {
  if (!PrintSystemAvailable()) return std::nullopt;
  if (IsPdfPrinter(name)) return PdfCaps();
  if (!PrinterNames().contains(name)) return std::nullopt;
  if (S().fake) {
    if (S().fake->unreadable.contains(PrinterQueueName(name))) return std::nullopt;
    return S().fake->caps;
  }
  QPrinter printer(QPrinterInfo::printerInfo(PrinterQueueName(name)), QPrinter::HighResolution);
  if (!printer.isValid()) return std::nullopt;
  if (S().layout) {
    printer.setPageSize(S().layout->pageSize());
    printer.setPageOrientation(S().layout->orientation());
  }
  printer.setFullPage(false);
  const int res = printer.resolution();
  const QRect paper = printer.pageLayout().fullRectPixels(res);
  const QRect paint = printer.pageLayout().paintRectPixels(res);
  const QSizeF printable = printer.pageLayout().paintRect(QPageLayout::Millimeter).size();
  return PrinterCaps{printer.logicalDpiX(),
                     printer.logicalDpiY(),
                     paint.left() - paper.left(),
                     paint.top() - paper.top(),
                     int(std::floor(printable.width())),
                     int(std::floor(printable.height()))};
}

std::optional<PrinterCaps> CurrentPrinterCapabilities() {
  if (!PrintSystemAvailable()) return std::nullopt;
  return PrinterCapabilities(CurrentPrinterName());
}

std::unique_ptr<QPrinter> CreateCurrentPrinter(const QString& pdfFileName) {
  if (!PrintSystemAvailable()) return nullptr;
  const QString name = CurrentPrinterName();
  std::unique_ptr<QPrinter> printer;
  if (IsPdfPrinter(name) || S().fake) {
    printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setResolution(PdfPrinterDpi);
    printer->setOutputFileName(pdfFileName);
    const QPageLayout l = CurrentPageLayout();
    printer->setPageLayout(QPageLayout(l.pageSize(), l.orientation(), QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
  } else {
    printer = std::make_unique<QPrinter>(QPrinterInfo::printerInfo(PrinterQueueName(name)), QPrinter::HighResolution);
    if (S().layout) {
      printer->setPageSize(S().layout->pageSize());
      printer->setPageOrientation(S().layout->orientation());
    }
  }
  printer->setFullPage(false);
  return printer;
}

void SetFakePrintSystem(const FakePrintSystem* fake) {
  if (fake != nullptr) {
    S().fake = *fake;
  } else {
    S().fake.reset();
  }
  S().current.clear();
}

}  // namespace pv
