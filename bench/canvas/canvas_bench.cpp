// A full repaint of the canvas with 200 selected objects at 100% and 400%
// zoom: page, grid, rulers, outlines and handles, with the events going to a
// host that draws nothing. This is the canvas's own share of a frame.
#include "document/canvas/drageditor.h"
#include "document/model.h"
#include "platform/runtime.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

namespace {

void Fill(int count) {
  pv::ResetDocumentState();
  for (int i = 1; i <= count; ++i) {
    pv::ObjectRecord& r = pv::Objects[std::size_t(i)];
    r.Key = i;
    const float x = 105.0f + float(i % 20) * 4.5f;
    const float y = 130.0f + float(i / 20) * 4.0f;
    if (i % 5 == 0) {
      r.GeomType = pv::GeomLine;
      r.UserType = 104;
      r.X1 = x;
      r.Y1 = y;
      r.X2 = x + 3;
      r.Y2 = y + 2;
    } else {
      r.GeomType = pv::GeomBox;
      r.UserType = 105;
      r.CenterX = x;
      r.CenterY = y;
      r.Width = 3;
      r.Height = 2;
      r.Angle = (i * 15) % 360;
    }
    r.IsSelected = pv::VbTrue;
  }
  pv::ObjCount = count;
}

void BM_Repaint(benchmark::State& state) {
  Fill(200);
  pv::DragEditorHost host;
  pv::DragEditor canvas(&host, 1000, 700);
  canvas.SetShowPage(false);
  canvas.SetWorkArea(300, 300, false);
  canvas.SetPage(100, 50, false);
  canvas.SetTool(pv::ToolSelect, pv::ToolSelect);
  float zoom = float(state.range(0)) / 100.0f;
  if (zoom == 1.0f) zoom = 0.0f;  // the zoom value 0 becomes 1
  canvas.p_SetZoomValue(zoom);
  for (auto _ : state) {
    canvas.Refresh(false);
    benchmark::DoNotOptimize(canvas.SurfaceImage().constBits());
  }
  pv::ResetDocumentState();
}
BENCHMARK(BM_Repaint)->Arg(100)->Arg(400)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
