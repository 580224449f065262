// One page of the clip-art grid and of the background grid repainted over
// the program's own graphics, at the pickers' window sizes and larger.
// Goal: under 30 ms a page.
#include "properties/backgroundpicker.h"
#include "properties/clipartpicker.h"
#include "render/pictures.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>

namespace {

void UseProgramFolder() { qputenv("PLAVIK_HOME", PLAVIK_PROGRAM_DIR); }

void BM_ClipArtPage(benchmark::State& state) {
  UseProgramFolder();
  pv::ClipArtPickerModel m(pv::ClipArtRoot(QString()));
  m.Load({{QStringLiteral("Animali"), 1}, {QStringLiteral("Natura"), 6}});
  const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
  m.Grid().Resize(w, h, 17);
  for (auto _ : state) m.Grid().Paint();
  state.counters["cells"] = m.Grid().Layout().perPage();
}
BENCHMARK(BM_ClipArtPage)->Args({400, 300})->Args({1000, 800})->Unit(benchmark::kMillisecond);

void BM_BackgroundPage(benchmark::State& state) {
  UseProgramFolder();
  pv::BackgroundPickerModel m;
  const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
  m.Grid().Resize(w, h, 17);
  m.SetMode(state.range(2) != 0);
  for (auto _ : state) m.Grid().Paint();
  state.counters["cells"] = m.Grid().Layout().perPage();
}
BENCHMARK(BM_BackgroundPage)->Args({470, 300, 0})->Args({470, 300, 1})->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
