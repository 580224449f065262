// Print speed on a 600-dpi PDF: a round label clipped as a pixel region
// against the same clip as a vector path (time and bytes per label), a
// whole 72-label page through the engine's page drawing, and merge jobs of
// 1,000 to 50,000 records from a dBASE table through the real print job
// (time per label, peak memory, bytes per label, picture objects), plain,
// with pictures and with gradient fills.
#include "core/database.h"
#include "core/settings.h"
#include "datasources/connectionstring.h"
#include "document/predefinedfields.h"
#include "datasources/registrations.h"
#include "document/model.h"
#include "platform/commondialogs.h"
#include "platform/dc.h"
#include "platform/msgbox.h"
#include "platform/printer/printer.h"
#include "platform/programfolder.h"
#include "printing/engine.h"
#include "render/barcode.h"
#include "render/render.h"
#include "tests/libs/pictor2/fixtures.h"
#include "tests/printing/pdftools.h"
#include "tests/support/records.h"
#include "bench/printing/mergejob.h"

#include <QDir>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <QApplication>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPrinter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <optional>

namespace {

constexpr int kLabels = 72;

std::unique_ptr<QPrinter> PdfAt600(const QString& file) {
  auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  printer->setOutputFormat(QPrinter::PdfFormat);
  printer->setResolution(600);
  printer->setOutputFileName(file);
  printer->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
  printer->setFullPage(false);
  return printer;
}

// 72 round labels of 30 x 20 mm filled through their clip.
void RoundLabels(benchmark::State& state, bool asPath) {
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("bench.pdf"));
  qint64 bytes = 0;
  double totalMs = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    auto printer = PdfAt600(file);
    QPainter painter(printer.get());
    pv::DeviceContextPtr dc(pv::CreateDeviceContext(&painter, 600, 600));
    for (int i = 0; i < kLabels; ++i) {
      const int x = 354 + (i % 6) * 756, y = 472 + (i / 6) * 520;
      const pv::Rect r{x, y, x + 709, y + 472};
      const int level = pv::SaveDC(dc.get());
      if (asPath) {
        QPainterPath path;
        path.addEllipse(QRectF(r.left, r.top, r.right + 1 - r.left, r.bottom + 1 - r.top));
        pv::SelectClipOutline(dc.get(), &path);
      } else {
        const pv::Region region = pv::Region::FromEllipse(pv::Rect{r.left, r.top, r.right + 1, r.bottom + 1});
        pv::SelectClipRegion(dc.get(), &region);
      }
      pv::FillRect(dc.get(), r, pv::Rgb(40, 90, 160));
      pv::RestoreDC(dc.get(), level);
    }
    dc.reset();
    painter.end();
    totalMs += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    bytes = QFileInfo(file).size();
  }
  state.counters["ms_per_label"] = totalMs / double(state.iterations()) / kLabels;
  state.counters["KB_per_label"] = double(bytes) / 1024.0 / kLabels;
}

void BM_RoundClipAsRegion(benchmark::State& state) { RoundLabels(state, false); }
void BM_RoundClipAsPath(benchmark::State& state) { RoundLabels(state, true); }
BENCHMARK(BM_RoundClipAsRegion)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RoundClipAsPath)->Unit(benchmark::kMillisecond);

// One 72-label round page through PrintPage, background picture included.
void BM_PrintPage72(benchmark::State& state) {
  QTemporaryDir dir;
  QImage bg(400, 260, QImage::Format_RGB32);
  bg.fill(QColor(200, 120, 40));
  const QString bgFile = dir.filePath(QStringLiteral("bg.jpg"));
  bg.save(bgFile);
  pv::BackgroundName = bgFile;
  pv::Header.LabelWidth = 30;
  pv::Header.LabelHeight = 20;
  pv::Settings settings;
  settings.Printer = pv::PrinterCaps{.DpiX = 600, .DpiY = 600, .HorzSize = 210, .VertSize = 297};
  settings.PrintCircle = 1;
  pv::ProgramSettings() = settings;
  pv::PrintEngine& e = pv::PrintRun();
  pv::PrintRunValues run = e.Run();
  run.m_Format.Sheet = pv::SheetFormat{30, 20, 6, 12, 20, 15, 2, 2, 210, 297};
  run.m_PageCount = 1;
  run.m_FirstLabel = 1;
  run.m_LastLabel = kLabels;
  e.SetRun(run);
  const QString file = dir.filePath(QStringLiteral("page.pdf"));
  for (auto _ : state) {
    auto printer = PdfAt600(file);
    QPainter painter(printer.get());
    pv::DeviceContextPtr dc(pv::CreateDeviceContext(&painter, 600, 600));
    e.PrintPage(dc.get(), false);
    dc.reset();
    painter.end();
  }
  state.counters["KB"] = double(QFileInfo(file).size()) / 1024.0;
}
BENCHMARK(BM_PrintPage72)->Unit(benchmark::kMillisecond);

// --- Merge jobs ------------------------------------------------------------

// Every box answered with OK; a failure is printed.
struct QuietBoxes : pv::MessageBoxHost {
  pv::MsgAnswer Show(const pv::MsgBoxRequest& r) override {
    std::fprintf(stderr, "message: %s\n", qPrintable(r.text));
    return pv::MsgAnswer::Ok;
  }
};

// The job's save dialog answers with `file`.
struct OutputFile : pv::CommonDialogHost {
  QString file;
  std::optional<pv::FileDialogResult> ShowFileDialog(const pv::FileDialogRequest&) override {
    return pv::FileDialogResult{file, 1};
  }
};

// A program folder of its own with the program database, a format of 8
// labels (2 x 4 of 99 x 67 mm on A4) and one registered dBASE table per
// record count. It goes before the application object: the database closed
// and the hosts back at their defaults.
struct MergeSetup {
  QTemporaryDir home;
  QuietBoxes boxes;
  OutputFile output;
  std::map<int, qint64> registrations;

  MergeSetup() {
    qputenv("PLAVIK_HOME", home.path().toUtf8());
    pv::SetMessageBoxHost(&boxes);
    pv::SetCommonDialogHost(&output);
    pv::OpenDatabase();
    QSqlQuery q(QSqlDatabase::database(pv::cnDatabase.ConnectionName));
    q.exec(
        QStringLiteral("INSERT INTO rst_format (Code, Width, Height, nOri, nVer, TopMargin, bottommarg, LeftMargin,"
                       " rightmargin, vertipitch, horizpitch, sheetwidth, sheetdepth)"
                       " VALUES ('B-8', 99, 67, 2, 4, 14, 0, 6, 0, 0, 0, 210, 297)"));
    pv::SetCurrentPrinter(QString::fromLatin1(pv::PdfPrinterName));
  }
  ~MergeSetup() {
    pv::CloseDatabase();
    pv::SetCommonDialogHost(nullptr);
    pv::SetMessageBoxHost(nullptr);
  }
  MergeSetup(const MergeSetup&) = delete;
  MergeSetup& operator=(const MergeSetup&) = delete;

  qint64 Registration(int records) {
    if (auto it = registrations.find(records); it != registrations.end()) return it->second;
    const QString folder = home.filePath(QStringLiteral("dati%1").arg(records));
    mergejob::WriteCustomers(folder, records);
    pv::Registration reg;
    reg.label = QStringLiteral("Clienti %1").arg(records);
    reg.connectionString = pv::BuildConnectionString(pv::kSourceDBaseIII, folder, false, {}, {});
    reg.recordSetName = QStringLiteral("clienti");
    const qint64 id = pv::RegistrationStore(pv::rsRegistrations).Add(reg);
    registrations[records] = id;
    return id;
  }
};

// Made by the first merge job, gone at the end of main().
std::unique_ptr<MergeSetup>& MergeState() {
  static std::unique_ptr<MergeSetup> setup;
  return setup;
}
MergeSetup& Merge() {
  if (!MergeState()) MergeState() = std::make_unique<MergeSetup>();
  return *MergeState();
}

// The label: a heading, the customer's name and city merged, and a Code 128
// barcode of the customer code; with pictures, a background and a border.
void MergeLabel(const QString& folder, bool pictures) {
  pv::ResetDocumentState();
  pv::ClearPictureCache();
  mergejob::AddLabel(0, 0);
  if (pictures) {
    QImage sky(800, 540, QImage::Format_RGB32);
    for (int y = 0; y < sky.height(); ++y)
      for (int x = 0; x < sky.width(); ++x) sky.setPixel(x, y, qRgb(200 + x % 50, 220 + y % 30, 240));
    const QString background = folder + QStringLiteral("/cielo.jpg");
    sky.save(background, "JPG");
    // A border that holds a picture of its own.
    const QString border = folder + QStringLiteral("/cornice.emf");
    QFile f(border);
    f.open(QIODevice::WriteOnly);
    f.write(pictor2_fixtures::BitmapEmf());
    f.close();
    pv::BackgroundName = background;
    pv::BorderName = border;
  }
}

// What makes a label of this program's own: a box behind the label filled
// with a two-colour gradient and a heading filled with a gradient.
void AddFills() {
  pv::ObjectRecord box = pv::test::BoxRecord(pv::UserTypeRectangle, 49.5f, 33.5f, 97, 65);
  box.FillStyle = 147;  // two colours, vertical
  box.Color1 = std::int32_t(pv::Rgb(255, 250, 220));
  box.Color2 = std::int32_t(pv::Rgb(200, 220, 255));
  box.LineStyle = 2;
  box.LineColor = 0;
  box.Opacity = 100;
  pv::test::AppendRecord(box);
  pv::ObjectRecord& offer = mergejob::AddText(0, 0, 50, 36, QStringLiteral("Offerta speciale"), pv::UserTypeTextBox);
  offer.FontSize = 14;
  offer.Bold = 1;
  offer.FillStyle = 146;  // two colours, horizontal
  offer.Color1 = std::int32_t(pv::Rgb(200, 0, 0));
  offer.Color2 = std::int32_t(pv::Rgb(0, 0, 160));
}

double PeakRssMb() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return double(u.ru_maxrss) / 1024.0;
}

// The merge label (with pictures, with fills) on a source of `records`
// records, chosen as the print panel chooses it. False (the benchmark
// skipped) when it does not merge.
bool StartMerge(benchmark::State& state, int records, const QString& folder, bool pictures, bool fills) {
  const qint64 id = Merge().Registration(records);
  MergeLabel(folder, pictures);
  if (fills) AddFills();
  pv::PrintEngine& e = pv::PrintRun();
  e.ResetPrinterInformation();
  e.ChooseMergeSource(std::int32_t(id));
  if (e.Merging()) return true;
  state.SkipWithError("the source did not merge");
  return false;
}

// One merge job of state.range(0) records, 8 labels a sheet, into a PDF.
void MergeJob(benchmark::State& state, bool pictures, bool fills = false) {
  MergeSetup& m = Merge();
  const int records = int(state.range(0));
  QTemporaryDir out;
  if (!StartMerge(state, records, out.path(), pictures, fills)) return;
  m.output.file = out.filePath(QStringLiteral("merge.pdf"));
  pv::PrintEngine& e = pv::PrintRun();
  double totalMs = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    e.PrintDocument(true);
    totalMs += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  }
  const double labels = double(records) * double(state.iterations());
  state.counters["ms_per_label"] = totalMs / labels;
  state.counters["peak_rss_MB"] = PeakRssMb();
  state.counters["KB_per_label"] = double(QFileInfo(m.output.file).size()) / 1024.0 / double(records);
  state.counters["pages"] = e.Run().m_PageCount;
  if (pictures) state.counters["image_objects"] = printtest::PdfImageObjects(m.output.file);
  e.GiveUpMergeSource();
}

void BM_MergeJob(benchmark::State& state) { MergeJob(state, false); }
void BM_MergeJobWithPictures(benchmark::State& state) { MergeJob(state, true); }
BENCHMARK(BM_MergeJob)->Arg(1000)->Arg(10000)->Arg(50000)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MergeJobWithPictures)->Arg(1000)->Iterations(1)->Unit(benchmark::kMillisecond);

// The plain job's label with a gradient box and a gradient text.
void BM_MergeJobWithFills(benchmark::State& state) { MergeJob(state, false, true); }
BENCHMARK(BM_MergeJobWithFills)->Arg(1000)->Arg(10000)->Iterations(1)->Unit(benchmark::kMillisecond);
}  // namespace

// The application object lives from before the first benchmark to after the
// last one's set-up is gone; Qt SQL's own globals outlive it.
int main(int argc, char** argv) {
  int qtArgc = 1;
  QApplication app(qtArgc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  MergeState().reset();
  return 0;
}
