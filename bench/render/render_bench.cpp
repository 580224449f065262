// Label drawing on the printer path: a label of 200 text objects at 600 dpi,
// and a merged label (background picture, border metafile, three texts and
// a barcode) drawn label after label into one page image.
#include "bench/render/benchlabel.h"
#include "document/document.h"
#include "platform/dc.h"
#include "platform/programfolder.h"
#include "render/render.h"
#include "tests/support/records.h"

#include <QByteArray>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstring>

namespace {

pv::ObjectRecord& AddText(float cx, float cy, const QString& text) {
  return benchlabel::AddText(pv::UserTypeTextBox, cx, cy, 18, 5, text, 8);
}

// The open document's label, its canvas geometry committed, as the print
// engine gives it to the drawing.
pv::LabelContent OpenLabel() {
  pv::Editor().SaveData();
  return pv::LabelContent{pv::DocBlock, pv::Header, pv::PageOrgX, pv::PageOrgY};
}

void Put32(QByteArray& b, std::uint32_t v) { b.append(reinterpret_cast<const char*>(&v), 4); }

// A small enhanced metafile: a frame drawn with the default pen.
QByteArray BorderEmf() {
  QByteArray records;
  Put32(records, 37);  // EMR_SELECTOBJECT: the stock hollow brush
  Put32(records, 12);
  Put32(records, 0x80000005u);
  for (int inset : {0, 40, 80}) {
    Put32(records, 43);  // EMR_RECTANGLE
    Put32(records, 24);
    Put32(records, std::uint32_t(inset));
    Put32(records, std::uint32_t(inset));
    Put32(records, std::uint32_t(1000 - inset));
    Put32(records, std::uint32_t(500 - inset));
  }
  Put32(records, 14);  // EMR_EOF
  Put32(records, 20);
  Put32(records, 0);
  Put32(records, 20);
  Put32(records, 20);
  QByteArray h;
  Put32(h, 1);  // EMR_HEADER
  Put32(h, 88);
  for (int v : {0, 0, 1000, 500}) Put32(h, std::uint32_t(v));     // bounds (device pixels)
  for (int v : {0, 0, 26458, 13229}) Put32(h, std::uint32_t(v));  // frame, 0.01 mm
  Put32(h, 0x464D4520u);
  Put32(h, 0x10000u);
  Put32(h, std::uint32_t(88 + records.size()));
  Put32(h, 6);  // records
  Put32(h, 1);  // handles (u16) + reserved (u16)
  Put32(h, 0);  // description
  Put32(h, 0);
  Put32(h, 0);     // palette entries
  Put32(h, 1000);  // reference device, pixels
  Put32(h, 1000);
  Put32(h, 264);  // ... and millimetres
  Put32(h, 264);
  return h + records;
}

void BM_Label200Texts600Dpi(benchmark::State& state) {
  pv::ResetDocumentState();
  pv::Header.LabelWidth = 100;
  pv::Header.LabelHeight = 70;
  for (int i = 0; i < 200; ++i) {
    AddText(10 + float(i % 5) * 20, 3 + float(i / 5) * 1.6f, QStringLiteral("Testo %1").arg(i));
  }
  const int w = int(100 / 25.4 * 600), h = int(70 / 25.4 * 600);
  pv::ImageSurface surface(w, h, 600, 600);
  pv::Rect rect{0, 0, w, h};
  const pv::LabelContent label = OpenLabel();
  const pv::FieldNames fields;
  for (auto _ : state) {
    pv::DrawLabelObjects(surface.dc(), rect, label, fields, pv::PrintSurface{});
    benchmark::DoNotOptimize(surface.image().constBits());
  }
  state.SetItemsProcessed(state.iterations() * 200);
}
BENCHMARK(BM_Label200Texts600Dpi)->Unit(benchmark::kMillisecond);

void BM_MergedLabelsIntoOnePage(benchmark::State& state) {
  QTemporaryDir dir;
  const QString background = dir.filePath("sky.jpg");
  QImage sky(800, 400, QImage::Format_RGB32);
  for (int y = 0; y < sky.height(); ++y)
    for (int x = 0; x < sky.width(); ++x) sky.setPixel(x, y, qRgb(120 + x % 100, 160 + y % 80, 230));
  sky.save(background, "JPG");
  const QString border = dir.filePath("frame.emf");
  QFile f(border);
  f.open(QIODevice::WriteOnly);
  f.write(BorderEmf());
  f.close();

  pv::ResetDocumentState();
  pv::ClearPictureCache();
  pv::Header.LabelWidth = 70;
  pv::Header.LabelHeight = 37;
  pv::BackgroundName = pv::FixedName(background);
  pv::BorderName = pv::FixedName(border);
  AddText(35, 6, "Mario Rossi");
  AddText(35, 12, "Via Roma 1");
  AddText(35, 18, "00100 Roma");
  pv::ObjectRecord& code = AddText(35, 28, "8012345678901");
  code.UserType = pv::UserTypeBarcode;
  code.Width = 40;
  code.Height = 12;
  code.Aspect = 0;
  code.Content = "801234567890";
  code.ShowText = 1;
  code.Color1 = 0;
  code.Color2 = 0;

  // An A4 sheet at 300 dpi, 3 x 8 labels.
  const int dpi = 300;
  pv::ImageSurface page(int(210 / 25.4 * dpi), int(297 / 25.4 * dpi), dpi, dpi);
  const int lw = int(70 / 25.4 * dpi), lh = int(37 / 25.4 * dpi);
  const pv::LabelContent label = OpenLabel();
  const pv::FieldNames fields;
  int n = 0;
  for (auto _ : state) {
    const int col = n % 3, row = (n / 3) % 8;
    ++n;
    pv::Rect rect{col * lw, row * lh, col * lw + lw, row * lh + lh};
    pv::Region clip = pv::Region::FromRect({rect.left, rect.top, rect.right + 1, rect.bottom + 1});
    pv::SelectClipRegion(page.dc(), &clip);
    pv::DrawLabelBackground(page.dc(), rect, false);
    pv::DrawLabelObjects(page.dc(), rect, label, fields, pv::PrintSurface{});
    pv::SelectClipRegion(page.dc(), nullptr);
  }
  state.counters["decodes"] = pv::PictureDecodeCount();
  benchmark::DoNotOptimize(page.image().constBits());
}
BENCHMARK(BM_MergedLabelsIntoOnePage)->Iterations(1000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM",
          qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
  QTemporaryDir home;
  if (qEnvironmentVariableIsEmpty("PLAVIK_HOME")) qputenv("PLAVIK_HOME", home.path().toUtf8());
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  pv::RemoveTempImageFolder();
  return 0;
}
