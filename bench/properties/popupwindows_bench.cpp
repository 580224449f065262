// One page of the fill window's textures repainted (at the window's grid
// size, and on a page that holds all 113) and one of the art-text window's
// twenty styles, as at every kind change, scroll and selection change.
// Goal: under 30 ms a page.
#include "properties/arttextwindow.h"
#include "properties/fillwindow.h"

#include <benchmark/benchmark.h>

#include <algorithm>

namespace {

void BM_FillTexturePage(benchmark::State& state) {
  pv::FillWindowModel m;
  m.Apply(27, 0x0000FF, 0xFF0000, 100);
  const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
  m.Grid().Resize(w, h, 17);
  for (auto _ : state) m.Grid().Paint();
  state.counters["cells"] = std::min<int>(m.Grid().Layout().perPage(), m.Grid().nBitmap);
}
BENCHMARK(BM_FillTexturePage)->Args({300, 200})->Args({560, 820})->Unit(benchmark::kMillisecond);

void BM_FillGradientPage(benchmark::State& state) {
  pv::FillWindowModel m;
  m.Apply(146, 0x0000FF, 0xFF0000, 100);
  m.ChooseKind(4);
  m.Grid().Resize(300, 200, 17);
  for (auto _ : state) m.Grid().Paint();
}
BENCHMARK(BM_FillGradientPage)->Unit(benchmark::kMillisecond);

void BM_ArtTextPage(benchmark::State& state) {
  pv::ArtTextWindowModel m;
  m.Load({QStringLiteral("Arial")});
  const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
  m.Grid().Resize(w, h, 17);
  for (auto _ : state) m.Grid().Paint();
  state.counters["cells"] = std::min<int>(m.Grid().Layout().perPage(), m.Grid().nBitmap);
}
BENCHMARK(BM_ArtTextPage)->Args({230, 270})->Args({430, 1300})->Unit(benchmark::kMillisecond);

}  // namespace
