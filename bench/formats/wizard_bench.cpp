// One page of the new-label wizard's grid repainted: the size cards and the
// template cards over a fresh program database, the background and border
// cells over the program's own graphics. Goal: under 30 ms a page.
#include "core/database.h"
#include "formats/wizardhost.h"
#include "formats/wizardmodel.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <algorithm>

namespace {

// A program folder of its own (a fresh database) that sees the program's
// graphics.
class Home {
 public:
  Home() {
    // A hundred backgrounds and borders, the program's own over and over, so
    // that every place of the page holds a cell.
    for (const char* kind : {"background", "border"}) {
      const QDir own(QStringLiteral(PLAVIK_PROGRAM_DIR "/graphics/") + QString::fromLatin1(kind));
      const QStringList files = own.entryList(QDir::Files, QDir::Name);
      const QString folder = m_dir.filePath(QStringLiteral("graphics/") + QString::fromLatin1(kind));
      QDir().mkpath(folder);
      for (int i = 0; i < 100 && !files.isEmpty(); ++i) {
        const QString& file = files[i % files.size()];
        QFile::link(own.filePath(file),
                    QStringLiteral("%1/%2-%3").arg(folder).arg(i, 3, 10, QLatin1Char('0')).arg(file));
      }
    }
    qputenv("PLAVIK_HOME", m_dir.path().toLocal8Bit());
    pv::SetWizardWindowHost(&m_window);
    pv::OpenDatabase();
    // Enough templates for every place of the page.
    QSqlQuery q(QSqlDatabase::database(pv::cnDatabase.ConnectionName));
    for (int id = 100; id < 140; ++id) {
      q.exec(QStringLiteral("INSERT INTO rst_template (Width, Height, Description, ID_TEMPLATE) "
                            "VALUES (%1, 38.1, 'Modello di prova %2', %2)")
                 .arg(40 + id % 60)
                 .arg(id));
    }
  }
  ~Home() { pv::CloseDatabase(); }

 private:
  QTemporaryDir m_dir;
  pv::WizardWindowHost m_window;
};

void BM_WizardPage(benchmark::State& state) {
  Home home;
  pv::WizardModel m;
  m.Init();
  const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
  m.Grid().Resize(w, h, 17);
  m.Command_Click(static_cast<int>(state.range(2)));
  for (auto _ : state) m.Grid().Paint();
  state.counters["cells"] = std::min<int>(m.Grid().Layout().perPage(), m.Grid().nBitmap);
}
// Modes: 1 sizes, 2 templates, 3 backgrounds, 4 borders; the wizard's grid at
// the main window's design size and at a large window.
BENCHMARK(BM_WizardPage)
    ->Args({523, 520, 1})
    ->Args({1100, 900, 1})
    ->Args({1100, 900, 2})
    ->Args({523, 520, 3})
    ->Args({1100, 900, 3})
    ->Args({1100, 900, 4})
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
