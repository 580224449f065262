// One page of the clip-art grid and of the background grid repainted over
// the program's own graphics, at the pickers' window sizes and larger.
// Goal: under 30 ms a page.
#include "properties/backgroundpicker.h"
#include "properties/clipartpicker.h"
#include "render/pictures.h"

#include <benchmark/benchmark.h>

#include <algorithm>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

namespace {

void UseProgramFolder() { qputenv("PLAVIK_HOME", PLAVIK_PROGRAM_DIR); }

// A category of 200 drawings (the program's own, copied over and over), so
// that every place of the page holds a cell.
void BM_ClipArtPage(benchmark::State& state) {
  UseProgramFolder();
  QTemporaryDir root;
  QDir(root.path()).mkpath(QStringLiteral("clip1"));
  QStringList drawings;
  for (int n = 1; n <= 10; ++n) {
    const QDir dir(pv::ClipArtRoot(QString()) + QStringLiteral("/clip%1").arg(n));
    for (const QString& f : dir.entryList({QStringLiteral("*.emf")}, QDir::Files)) drawings << dir.filePath(f);
  }
  for (int i = 0; i < 200 && !drawings.isEmpty(); ++i) {
    QFile::copy(drawings[i % drawings.size()],
                root.filePath(QStringLiteral("clip1/d%1.emf").arg(i, 3, 10, QLatin1Char('0'))));
  }
  pv::ClipArtPickerModel m(root.path());
  m.Load({{QStringLiteral("Tutte"), 1}});
  const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
  m.Grid().Resize(w, h, 17);
  for (auto _ : state) m.Grid().Paint();
  state.counters["cells"] = std::min<int>(m.Grid().Layout().perPage(), m.Grid().nBitmap);
}
BENCHMARK(BM_ClipArtPage)->Args({400, 300})->Args({1000, 800})->Unit(benchmark::kMillisecond);

void BM_BackgroundPage(benchmark::State& state) {
  UseProgramFolder();
  pv::BackgroundPickerModel m;
  const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
  m.Grid().Resize(w, h, 17);
  m.SetMode(state.range(2) != 0);
  for (auto _ : state) m.Grid().Paint();
  state.counters["cells"] = std::min<int>(m.Grid().Layout().perPage(), m.Grid().nBitmap);
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
