// Playing a label picture of a few thousand records into a label rectangle
// (a 70 x 35 mm label) on screen (96 dpi) and print (600 dpi) surfaces.

#include "fixtures.h"
#include "libs/pictor2/metafile.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <cmath>

namespace {

QGuiApplication* App() {
  static int argc = 1;
  static char name[] = "pictor2_bench";
  static char* argv[] = {name, nullptr};
  static auto* app = [] {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    return new QGuiApplication(argc, argv);
  }();
  return app;
}

void BM_PlayLabelPicture(benchmark::State& state) {
  App();
  const int dpi = static_cast<int>(state.range(0));
  static const QByteArray picture = pictor2_fixtures::ManyRecordsEmf(4000);
  const int w = static_cast<int>(std::lround(70 / 25.4 * dpi));
  const int h = static_cast<int>(std::lround(35 / 25.4 * dpi));
  pv::ImageSurface surface(w + 20, h + 20, dpi, dpi);
  const pv::Rect target{10, 10, 10 + w, 10 + h};
  for (auto _ : state) {
    const auto r = pv::pictor::PlayMetafile(surface.dc(), reinterpret_cast<const std::uint8_t*>(picture.constData()),
                                            static_cast<std::size_t>(picture.size()), target);
    benchmark::DoNotOptimize(r);
  }
  state.SetLabel(std::to_string(picture.size()) + " bytes");
}
BENCHMARK(BM_PlayLabelPicture)->Arg(96)->Arg(600)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
