// Print speed on a 600-dpi PDF: a round label clipped as a pixel region
// against the same clip as a vector path (time and bytes per label), and a
// whole 72-label page through the engine's page drawing.
#include "app/settings.h"
#include "document/model.h"
#include "platform/dc.h"
#include "printing/engine.h"
#include "render/render.h"

#include <QApplication>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPrinter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

namespace {

constexpr int kLabels = 72;

QApplication& App() {
  static int argc = 1;
  static char name[] = "printing_bench";
  static char* argv[] = {name, nullptr};
  static QApplication app(argc, argv);
  return app;
}

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
  App();
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
  App();
  QTemporaryDir dir;
  QImage bg(400, 260, QImage::Format_RGB32);
  bg.fill(QColor(200, 120, 40));
  const QString bgFile = dir.filePath(QStringLiteral("bg.jpg"));
  bg.save(bgFile);
  pv::BackgroundName = bgFile;
  pv::Header.LabelWidth = 30;
  pv::Header.LabelHeight = 20;
  pv::PrinterDpiX = pv::PrinterDpiY = 600;
  pv::PrinterHorzSize = 210;
  pv::PrinterVertSize = 297;
  pv::PrintCircle = 1;
  pv::PageCount = 1;
  pv::FirstLabel = 1;
  pv::LastLabel = kLabels;
  pv::PrintEngine& e = pv::PrintRun();
  e.m_Format.Sheet = pv::SheetFormat{30, 20, 6, 12, 20, 15, 2, 2, 210, 297};
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

}  // namespace

BENCHMARK_MAIN();
