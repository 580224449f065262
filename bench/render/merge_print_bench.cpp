// A merge print job into a 600-dpi PDF through the real job path (the print
// engine's PrintDocument on the built-in "PDF" printer): 8 labels a sheet,
// each label a fixed text, two merged fields and a Code 128 barcode whose
// content comes from a field, the field values (the counter field's)
// changing from label to label.
//
//   merge_print_bench                      every case at 1,000 and 10,000 labels,
//                                          each in a process of its own
//   merge_print_bench CASE LABELS [OUT.pdf] one run: CASE is "label" (the
//                                          whole label), "texts" (the three
//                                          texts only), "barcode" (only the
//                                          barcode) or "gradient" (the whole
//                                          label on a box filled with a
//                                          rectangular gradient, and a fourth
//                                          text filled with a gradient)
//
// Each run prints one line: the case, the labels, ms per label (the whole
// job, PDF written; wall clock, and processor time in brackets), peak RSS
// (getrusage) and the PDF's size. A job of one sheet goes before the timed
// one, as in the program the label is shown before it is printed.
#include "core/settings.h"
#include "document/predefinedfields.h"
#include "document/document.h"
#include "platform/commondialogs.h"
#include "platform/printer/printer.h"
#include "platform/programfolder.h"
#include "printing/engine.h"
#include "render/render.h"
#include "bench/render/benchlabel.h"
#include "tests/support/records.h"

#include <QApplication>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

namespace {

constexpr int kAcross = 2;
constexpr int kDown = 4;
constexpr int kPerSheet = kAcross * kDown;

struct OutputFile : pv::CommonDialogHost {
  QString file;
  std::optional<pv::FileDialogResult> ShowFileDialog(const pv::FileDialogRequest&) override {
    return pv::FileDialogResult{file, 1};
  }
};

// The label of 99 x 67 mm: what the case asks of it.
void MakeLabel(const std::string& which) {
  pv::ResetDocumentState();
  pv::Header.LabelWidth = 99;
  pv::Header.LabelHeight = 67;
  pv::PageOrgX = 0;
  pv::PageOrgY = 0;
  const bool texts = which != "barcode", barcode = which != "texts";
  if (which == "gradient") {
    pv::ObjectRecord box = pv::test::BoxRecord(pv::UserTypeRectangle, 49.5f, 33.5f, 97, 65);
    box.FillStyle = 150;  // two colours, rectangular
    box.Color1 = std::int32_t(pv::Rgb(255, 250, 220));
    box.Color2 = std::int32_t(pv::Rgb(200, 220, 255));
    box.LineStyle = 2;
    box.LineColor = 0;
    box.Opacity = 100;
    pv::test::AppendRecord(box);
    pv::ObjectRecord& offer =
        benchlabel::AddText(pv::UserTypeTextBox, 49.5f, 36, 90, 8, QStringLiteral("Offerta speciale"), 14, 1);
    offer.FillStyle = 146;  // two colours, horizontal
    offer.Color1 = std::int32_t(pv::Rgb(200, 0, 0));
    offer.Color2 = std::int32_t(pv::Rgb(0, 0, 160));
  }
  if (texts) {
    benchlabel::AddText(pv::UserTypeTextBox, 49.5f, 8, 90, 8, QStringLiteral("Spett.le"), 10, 0);
    // Each label's values from its running index: the counter field.
    const QString counter = QString::fromLatin1(pv::kPredefinedCounter);
    benchlabel::AddText(pv::UserTypeDatabaseField, 49.5f, 18, 90, 9, counter, 14, 1);
    benchlabel::AddText(pv::UserTypeDatabaseField, 49.5f, 28, 90, 8, counter, 12, 0).FormatText =
        QStringLiteral("#10000+7#");
  }
  if (barcode) {
    pv::ObjectRecord r = pv::test::BoxRecord(pv::UserTypeBarcode, 49.5f, 50, 70, 22);
    r.Content = QString::fromLatin1(pv::kPredefinedCounter);
    r.FormatText = QStringLiteral("00000000");
    r.Variant = 1;  // from a field
    r.Aspect = pv::BarcodeCode128Index;
    r.ShowText = 1;
    r.LineColor = 0;
    pv::test::AppendRecord(r);
  }
}

long PeakRssKb() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss;
}

// Processor time of the process so far (user and system), ms: on a busy
// machine a steadier figure than the wall clock.
double CpuMs() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return (double(u.ru_utime.tv_sec) + double(u.ru_stime.tv_sec)) * 1000.0 +
         (double(u.ru_utime.tv_usec) + double(u.ru_stime.tv_usec)) / 1000.0;
}

int RunOne(int argc, char** argv) {
  const std::string which = argv[1];
  const int labels = std::atoi(argv[2]);
  if ((which != "label" && which != "texts" && which != "barcode" && which != "gradient") || labels <= 0) {
    std::fprintf(stderr, "usage: merge_print_bench [label|texts|barcode|gradient LABELS [OUT.pdf]]\n");
    return 2;
  }
  QTemporaryDir home;
  if (qEnvironmentVariableIsEmpty("PLAVIK_HOME")) qputenv("PLAVIK_HOME", home.path().toUtf8());
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  int qargc = 1;
  QApplication app(qargc, argv);

  pv::FakePrintSystem none;  // no system printers: "PDF" is the current one
  pv::SetFakePrintSystem(&none);
  OutputFile out;
  out.file = argc > 3 ? QString::fromLocal8Bit(argv[3]) : home.filePath(QStringLiteral("merge.pdf"));
  pv::SetCommonDialogHost(&out);

  MakeLabel(which);
  pv::ProgramSettings().Printer =
      pv::PrinterCaps{.DpiX = pv::PdfPrinterDpi, .DpiY = pv::PdfPrinterDpi, .HorzSize = 210, .VertSize = 297};
  pv::PrintEngine& e = pv::PrintRun();
  pv::PrintRunValues run;
  run.m_Format.Sheet = pv::SheetFormat{99, 67, kAcross, kDown, 13, 6, 3, 0, 210, 297};
  run.m_PageCount = (labels + kPerSheet - 1) / kPerSheet;
  run.m_FirstLabel = 1;
  run.m_LastLabel = kPerSheet;
  run.m_RangePages = 0;
  pv::PrintRunValues warmUp = run;
  warmUp.m_PageCount = 1;

  // One sheet first, as the program shows the label before it prints: the
  // fonts are loaded and the PDF writer's code is paged in before the job
  // that is timed.
  const QString timed = out.file;
  out.file = home.filePath(QStringLiteral("warm-up.pdf"));
  e.SetRun(warmUp);
  e.PrintDocument(true);
  out.file = timed;
  e.SetRun(run);

  const double cpuStart = CpuMs();
  const auto start = std::chrono::steady_clock::now();
  e.PrintDocument(true);
  const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  const double cpu = CpuMs() - cpuStart;
  const int printed = run.m_PageCount * kPerSheet;
  const double bytes = double(QFileInfo(out.file).size());
  std::printf("%-8s %6d labels  %.4f ms/label (cpu %.4f)  peak RSS %ld MB  PDF %.1f KB (%.0f B/label)\n", which.c_str(),
              printed, ms / printed, cpu / printed, PeakRssKb() / 1024, bytes / 1024.0, bytes / printed);
  pv::SetCommonDialogHost(nullptr);
  pv::SetFakePrintSystem(nullptr);
  pv::RemoveTempImageFolder();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 3) return RunOne(argc, argv);
  if (argc != 1) {
    std::fprintf(stderr, "usage: merge_print_bench [label|texts|barcode|gradient LABELS [OUT.pdf]]\n");
    return 2;
  }
  int status = 0;
  for (const char* which : {"texts", "barcode", "label", "gradient"}) {
    for (const char* labels : {"1000", "10000"}) {
      const std::string command = std::string("'") + argv[0] + "' " + which + " " + labels;
      std::fflush(stdout);
      if (std::system(command.c_str()) != 0) status = 1;
    }
  }
  return status;
}
