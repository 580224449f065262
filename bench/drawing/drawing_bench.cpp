// What drawing costs: every kind of fill and shape on a label-sized image at
// printer resolution (100 x 70 mm at 600 dpi), and the same into a 600-dpi
// PDF page, the print path (the *_Pdf cases: the page's content grows with
// every drawing, pictures and patterns are written out as they come, as in
// a print job). CPU time is the whole process's: Qt fills large areas on
// worker threads too.

#include "bench/labelpdfpage.h"
#include "platform/colmo2/colmo2.h"
#include "platform/dc.h"
#include "platform/lineo2/lineo2.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

namespace {

constexpr int kDpi = pv::bench::LabelPdfPage::kDpi;
constexpr int kW = 100 * kDpi * 10 / 254;  // 100 mm
constexpr int kH = 70 * kDpi * 10 / 254;   // 70 mm

void EnsureApp() {
  static int argc = 1;
  static char name[] = "drawing_bench";
  static char* argv[] = {name, nullptr};
  if (!QGuiApplication::instance()) new QGuiApplication(argc, argv);  // kept to the end
}

pv::ImageSurface& Surface() {
  static auto* s = new pv::ImageSurface(kW, kH, kDpi, kDpi);  // kept to the end
  return *s;
}

pv::DeviceContext* Pdf() {
  static auto* page = new pv::bench::LabelPdfPage;  // kept to the end
  return page->dc.get();
}

pv::DeviceContext* Target(bool pdf) { return pdf ? Pdf() : Surface().dc(); }

const pv::Rect kLabel{0, 0, kW, kH};
const pv::Rect kInner{kW / 8, kH / 8, kW * 7 / 8, kH * 7 / 8};

void FillRectangle(benchmark::State& state, bool pdf) {
  EnsureApp();
  pv::DeviceContext* dc = Target(pdf);
  LineoPen(dc, 2, pv::Rgb(0, 0, 0));
  const int fill = static_cast<int>(state.range(0));
  for (auto _ : state) LineoRectangle(dc, &kLabel, 0.0, fill, pv::Rgb(250, 240, 200), pv::Rgb(30, 60, 120), 100);
  state.SetLabel(fill == 1     ? "solid"
                 : fill <= 7   ? "hatch"
                 : fill <= 26  ? "brush"
                 : fill <= 139 ? "texture"
                               : "gradient");
}
void BM_FillRectangle(benchmark::State& state) { FillRectangle(state, false); }
void BM_FillRectangle_Pdf(benchmark::State& state) { FillRectangle(state, true); }
BENCHMARK(BM_FillRectangle)
    ->Arg(1)
    ->Arg(4)
    ->Arg(12)
    ->Arg(27)
    ->Arg(80)
    ->Arg(139)
    ->Arg(140)
    ->Arg(148)
    ->Arg(150)
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillRectangle_Pdf)
    ->Arg(1)
    ->Arg(4)
    ->Arg(12)
    ->Arg(27)
    ->Arg(140)
    ->Arg(148)
    ->Arg(150)
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond);

void FillTranslucent(benchmark::State& state, bool pdf) {
  EnsureApp();
  pv::DeviceContext* dc = Target(pdf);
  for (auto _ : state) LineoEllipse(dc, &kLabel, 0.0, static_cast<int>(state.range(0)), 0xFF, 0xFF0000, 40);
}
void BM_FillTranslucent(benchmark::State& state) { FillTranslucent(state, false); }
void BM_FillTranslucent_Pdf(benchmark::State& state) { FillTranslucent(state, true); }
BENCHMARK(BM_FillTranslucent)->Arg(1)->Arg(60)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillTranslucent_Pdf)->Arg(1)->Arg(60)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

void Shapes(benchmark::State& state, bool pdf) {
  EnsureApp();
  pv::DeviceContext* dc = Target(pdf);
  LineoPen(dc, 4, pv::Rgb(0, 0, 0));
  const double angle = static_cast<double>(state.range(0));
  for (auto _ : state) {
    LineoEllipse(dc, &kInner, angle, 1, 0xFF, 0, 100);
    LineoChamferRect(dc, &kInner, 20.0, angle, 1, 0xFF00, 0, 100);
    LineoRoundedRect(dc, &kInner, 20.0, angle, 1, 0xFF00, 0, 100);
    for (int shape = 200; shape <= 213; ++shape) LineoShape(dc, &kInner, 5.0, angle, shape, 1, 0xFF0000, 0, 100);
  }
}
void BM_Shapes(benchmark::State& state) { Shapes(state, false); }
void BM_Shapes_Pdf(benchmark::State& state) { Shapes(state, true); }
BENCHMARK(BM_Shapes)->Arg(0)->Arg(30)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Shapes_Pdf)->Arg(0)->Arg(30)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

// Args: the envelope, and the fill (0 for 146, a two-colour gradient; 1 solid).
// Every entry gives both: the library refuses entries of different lengths.
void ArtText(benchmark::State& state, bool pdf) {
  EnsureApp();
  pv::DeviceContext* dc = Target(pdf);
  LineoPen(dc, 2, pv::Rgb(0, 0, 0));
  const int shape = static_cast<int>(state.range(0));
  const int fill = state.range(1) != 0 ? static_cast<int>(state.range(1)) : 146;
  for (auto _ : state) LineoArtTextDraw(dc, "Nuovo testo", "Arial", &kInner, 0.0, shape, fill, 0xFF, 0xFF0000, 100);
}
void BM_ArtText(benchmark::State& state) { ArtText(state, false); }
void BM_ArtText_Pdf(benchmark::State& state) { ArtText(state, true); }
// The same envelopes and fills on a picture and on a PDF.
void ArtTextCases(benchmark::internal::Benchmark* b) {
  b->Args({0, 0})->Args({3, 0})->Args({14, 0})->Args({0, 1})->Args({3, 1});
  b->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);
}
BENCHMARK(BM_ArtText)->Apply(ArtTextCases);
BENCHMARK(BM_ArtText_Pdf)->Apply(ArtTextCases);

void BM_TextureTileFirstUse(benchmark::State& state) {
  EnsureApp();
  int t = 1;
  for (auto _ : state) {
    // A resolution not used elsewhere, so every texture is made afresh.
    benchmark::DoNotOptimize(pv::colmo::TextureImage(t, 16, 16, 601 + (t % 7)));
    t = t % 113 + 1;
  }
}
BENCHMARK(BM_TextureTileFirstUse)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

void BM_TextAndInvert(benchmark::State& state) {
  EnsureApp();
  pv::DeviceContext* dc = Surface().dc();
  pv::Font f;
  f.height = -100;
  pv::SelectFont(dc, f);
  pv::SetBkMode(dc, pv::BkMode::Transparent);
  for (auto _ : state) {
    pv::TextOut(dc, 100, 100, QStringLiteral("Etichetta di prova 0123456789"));
    pv::InvertRect(dc, kInner);
  }
}
BENCHMARK(BM_TextAndInvert)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
