// What a text object costs: a paragraph of 1024 characters drawn into a
// 100 x 70 mm label at 8 pt, on screen (96 dpi) and on a 600-dpi page, as
// plain text and filled with a gradient; DrawParagraphPdf the same into a
// 600-dpi PDF page (the print path). DrawLabelTextsPdf: the three short
// texts of a merge job's label (a heading, a name and a city in one font),
// label after label, into a 600-dpi PDF page.

#include "bench/labelpdfpage.h"
#include "libs/scriva2/scriva2.h"
#include "platform/dc.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include <cmath>
#include <string>

namespace {

std::string Paragraph() {
  const std::string words = "Etichetta di prova con testo lungo che va a capo parola per parola nel rettangolo, ";
  std::string text;
  while (text.size() < 1024) text += words;
  text.resize(1024);
  return text;
}

void Draw(benchmark::State& state, pv::DeviceContext* dc, int dpi, bool gradient) {
  const int width = static_cast<int>(100.0 / 25.4 * dpi);
  const int height = static_cast<int>(70.0 / 25.4 * dpi);
  const std::string text = Paragraph();
  ScrivaFontName("Liberation Sans");
  ScrivaFontSize(static_cast<int>(std::lround(8.0 * dpi / 72.0)));
  ScrivaSetBold(0);
  ScrivaSetForeColor(static_cast<std::int32_t>(pv::Rgb(200, 0, 0)));
  ScrivaSetBackColor(static_cast<std::int32_t>(pv::Rgb(0, 0, 200)));
  ScrivaSetFillParameter(0, 0, 0);

  for (auto _ : state) {
    pv::Rect rect{0, 0, width, height};
    if (gradient)
      ScrivaDrawEx(dc, text.c_str(), &rect, 0.0, 23, 100, 0, 100);
    else
      ScrivaDraw(dc, text.c_str(), &rect, 0.0, 23);
    benchmark::DoNotOptimize(rect);
  }
  state.SetLabel(gradient ? "gradient" : "plain");
}

void DrawParagraph(benchmark::State& state) {
  const int dpi = static_cast<int>(state.range(0));
  pv::ImageSurface surface(static_cast<int>(100.0 / 25.4 * dpi), static_cast<int>(70.0 / 25.4 * dpi), dpi, dpi);
  Draw(state, surface.dc(), dpi, state.range(1) != 0);
}

constexpr int kDpi = pv::bench::LabelPdfPage::kDpi;

void DrawParagraphPdf(benchmark::State& state) {
  pv::bench::LabelPdfPage page;
  Draw(state, page.dc.get(), kDpi, state.range(0) != 0);
}

void DrawLabelTextsPdf(benchmark::State& state) {
  pv::bench::LabelPdfPage page;
  const int width = static_cast<int>(80.0 / 25.4 * kDpi);
  const int height = static_cast<int>(8.0 / 25.4 * kDpi);
  const char* const cities[] = {"Milano", "Roma", "Mantova", "Bari", "Modena", "Torino"};
  int label = 0;
  for (auto _ : state) {
    const std::string texts[] = {"Spett.le", "Cliente " + std::to_string(label), cities[label % 6]};
    for (int i = 0; i < 3; ++i) {
      ScrivaFontName("DejaVu Sans");
      ScrivaFontSize(static_cast<int>(std::lround(10.0 * kDpi / 72.0)));
      ScrivaSetBold(0);
      ScrivaSetForeColor(0);
      pv::Rect rect{0, i * height, width, (i + 1) * height};
      ScrivaDraw(page.dc.get(), texts[i].c_str(), &rect, 0.0, 20);
      benchmark::DoNotOptimize(rect);
    }
    ++label;
  }
}

BENCHMARK(DrawParagraph)->ArgsProduct({{96, 600}, {0, 1}})->Unit(benchmark::kMillisecond);
BENCHMARK(DrawParagraphPdf)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(DrawLabelTextsPdf)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
