// Saving and opening a full document with pictures; undo snapshot and
// restore of a full table.
#include "document/document.h"
#include "platform/msgbox.h"
#include "platform/programfolder.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

void FullDocument(int pictures, qsizetype pictureBytes) {
  pv::ResetDocumentState();
  pv::Header.LabelWidth = 99.1;
  pv::Header.LabelHeight = 38.1;
  for (int i = 0; i < pv::MaxObjects; ++i) {
    const bool image = i < pictures;
    const std::int32_t key = pv::AddObject(10.0f + static_cast<float>(i % 20), 10.0f + static_cast<float>(i / 20), 20,
                                           10, 0, pv::GeomBox, image ? pv::UserTypeImage : pv::UserTypeTextBox, false);
    pv::ObjectRecord& r = pv::Objects[static_cast<std::size_t>(pv::FindObjectIndex(key))];
    r.FontName = QStringLiteral("Arial");
    r.Content = image ? QStringLiteral("jpg") : QStringLiteral("Etichetta di prova numero %1 - perché").arg(i);
    if (image) {
      r.Variant = static_cast<std::int16_t>(i + 1);
      QFile f(pv::TempImageFile(pv::ImageFileName(r)));
      if (f.open(QIODevice::WriteOnly)) f.write(QByteArray(pictureBytes, static_cast<char>(i)));
    }
  }
}

void BM_SaveFullDocument(benchmark::State& state) {
  QTemporaryDir dir;
  FullDocument(20, 1 << 20);
  pv::DocFileName = dir.filePath(QStringLiteral("bench.lab"));
  for (auto _ : state) benchmark::DoNotOptimize(pv::SaveDocument(false));
  state.SetBytesProcessed(state.iterations() * 20 * (1 << 20));
}
BENCHMARK(BM_SaveFullDocument)->Unit(benchmark::kMillisecond);

void BM_OpenFullDocument(benchmark::State& state) {
  QTemporaryDir dir;
  FullDocument(20, 1 << 20);
  const QString path = dir.filePath(QStringLiteral("bench.lab"));
  pv::DocFileName = path;
  pv::SaveDocument(false);
  for (auto _ : state) benchmark::DoNotOptimize(pv::OpenDocumentFile(path));
  state.SetBytesProcessed(state.iterations() * 20 * (1 << 20));
}
BENCHMARK(BM_OpenFullDocument)->Unit(benchmark::kMillisecond);

void BM_UndoSnapshot(benchmark::State& state) {
  FullDocument(0, 0);
  for (auto _ : state) pv::SavedDoc();
}
BENCHMARK(BM_UndoSnapshot)->Unit(benchmark::kMicrosecond);

void BM_SnapshotAndUndo(benchmark::State& state) {
  FullDocument(0, 0);
  pv::SavedDoc();
  for (auto _ : state) {
    pv::SavedDoc();
    pv::Undo();
  }
}
BENCHMARK(BM_SnapshotAndUndo)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  struct Silent : pv::MessageBoxHost {
    pv::MsgAnswer Show(const pv::MsgBoxRequest&) override { return pv::MsgAnswer::Ok; }
  } silent;
  pv::SetMessageBoxHost(&silent);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  pv::RemoveTempImageFolder();
  return 0;
}
