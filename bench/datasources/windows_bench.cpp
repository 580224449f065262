// The data-source windows on 50,000-record dBASE tables: the merge-field
// picker opening on 20 registrations (its tree of column lists, first open
// and again), and View in the manager up to the first painted grid.

#include "core/database.h"
#include "core/hosts.h"
#include "datasources/connectionstring.h"
#include "datasources/registrations.h"
#include "datasources/tablecache.h"
#include "datasources/windows/databasedata.h"
#include "datasources/windows/dlgfieldpropety.h"
#include "datasources/models/fieldpickermodel.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QTableView>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <shapefil.h>

namespace {

constexpr int kRecords = 50000;
constexpr int kRegistrations = 20;

// The program folder with its database, the tables t00..t19.dbf and one
// registration of each.
QString Home() {
  static QTemporaryDir dir;
  static const bool made = [] {
    qputenv("PLAVIK_HOME", dir.path().toLocal8Bit());
    const QString first = dir.filePath(QStringLiteral("t00.dbf"));
    DBFHandle h = DBFCreateEx(QFile::encodeName(first).constData(), "LDID/87");
    const char* const names[] = {"NOME", "COGNOME", "INDIRIZZO", "CAP", "CITTA", "PROV", "CODICE", "NOTE"};
    for (const char* n : names) DBFAddField(h, n, FTString, 24, 0);
    DBFAddNativeFieldType(h, "SALDO", 'N', 10, 2);
    for (int r = 0; r < kRecords; ++r) {
      for (int f = 0; f < 8; ++f) {
        DBFWriteStringAttribute(h, r, f, (QByteArray(names[f]) + QByteArray::number((r * (f + 7)) % 9973)).constData());
      }
      DBFWriteDoubleAttribute(h, r, 8, (r % 2001 - 1000) * 1.25);
    }
    DBFClose(h);
    for (int i = 1; i < kRegistrations; ++i) {
      QFile::copy(first, dir.filePath(QStringLiteral("t%1.dbf").arg(i, 2, 10, QLatin1Char('0'))));
    }
    pv::OpenDatabase();
    pv::RegistrationStore store(pv::rsRegistrations);
    for (int i = 0; i < kRegistrations; ++i) {
      pv::Registration r;
      r.label = QStringLiteral("Archivio %1").arg(i, 2, 10, QLatin1Char('0'));
      r.connectionString = pv::BuildConnectionString(pv::kSourceDBaseIII, dir.path(), false, {}, {});
      r.recordSetName = QStringLiteral("t%1").arg(i, 2, 10, QLatin1Char('0'));
      r.sourceName = dir.path();
      r.sourceType = 1;
      r.sourceFormat = pv::kSourceDBaseIII;
      store.Add(r);
    }
    return true;
  }();
  (void)made;
  return dir.path();
}

// The picker's load: the tree with every registration's columns.
void BM_PickerTree(benchmark::State& state) {
  Home();
  const bool cold = state.range(0) != 0;
  for (auto _ : state) {
    if (cold) pv::ClearTableCache();
    pv::dlgFieldPropetyModel m(pv::rsRegistrations);
    m.Load(nullptr);
    benchmark::DoNotOptimize(m.Nodes().size());
  }
}
BENCHMARK(BM_PickerTree)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// The picker dialog made, loaded and drawn once.
void BM_PickerDialog(benchmark::State& state) {
  Home();
  for (auto _ : state) {
    pv::dlgFieldPropety dialog;
    dialog.Load(nullptr);
    benchmark::DoNotOptimize(dialog.grab().width());
  }
}
BENCHMARK(BM_PickerDialog)->Unit(benchmark::kMillisecond);

// View of a 50,000-record table in the manager up to the grid drawn; the
// first run reads the file, the next ones take the kept table.
void BM_ViewToPaintedGrid(benchmark::State& state) {
  Home();
  const bool cold = state.range(0) != 0;
  pv::DataBaseData view;
  view.resize(1000, 700);
  view.Init();
  for (auto _ : state) {
    if (cold) pv::ClearTableCache();
    view.lstRegistrations()->setCurrentRow(3);
    view.Command_Click(pv::DataBaseDataModel::CmdView);
    benchmark::DoNotOptimize(view.grab().width());
  }
  state.counters["rows"] = view.DataView()->model()->rowCount();
}
BENCHMARK(BM_ViewToPaintedGrid)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  pv::ShellViewsHost noPanel;  // the print panel's reload does nothing here
  pv::SetShellViewsHost(&noPanel);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  pv::CloseDatabase();
  return 0;
}
