// The data engine on a 50,000-record dBASE file (ten fields, the sample's
// layout): first open through the reader program and in this process, the
// reader program's own cost, cached open, filter + sort + requery, a sort by
// two text fields alone, every field of
// every record read by index, one label's reads; and the criteria parser's
// time against the length of a filter.

#include "datasources/connectionstring.h"
#include "datasources/sourcerecordset.h"
#include "datasources/tablecache.h"

#include "platform/db/criteria.h"

#include <QCoreApplication>
#include <QDate>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <shapefil.h>

namespace {

constexpr int kRecords = 50000;

// The folder with clienti.dbf, written once.
QString Folder() {
  static QTemporaryDir dir;
  static const bool made = [] {
    const QByteArray file = QFile::encodeName(dir.filePath(QStringLiteral("clienti.dbf")));
    DBFHandle h = DBFCreateEx(file.constData(), "LDID/87");
    DBFAddField(h, "NOME", FTString, 20, 0);
    DBFAddField(h, "COGNOME", FTString, 25, 0);
    DBFAddField(h, "INDIRIZZO", FTString, 40, 0);
    DBFAddField(h, "CAP", FTString, 5, 0);
    DBFAddField(h, "CITTA", FTString, 30, 0);
    DBFAddField(h, "PROV", FTString, 2, 0);
    DBFAddNativeFieldType(h, "NASCITA", 'D', 8, 0);
    DBFAddField(h, "CODICE", FTString, 13, 0);
    DBFAddNativeFieldType(h, "ATTIVO", 'L', 1, 0);
    DBFAddNativeFieldType(h, "SALDO", 'N', 10, 2);
    const char* const cities[] = {"Milano", "Roma", "Mantova", "Bari", "Modena", "Torino", "Forl\xEC"};
    for (int r = 0; r < kRecords; ++r) {
      const QByteArray n = QByteArray::number(r);
      DBFWriteStringAttribute(h, r, 0, ("Nome" + QByteArray::number(r % 97)).constData());
      DBFWriteStringAttribute(h, r, 1, ("Cognome" + QByteArray::number((r * 7919) % 5003)).constData());
      DBFWriteStringAttribute(h, r, 2, ("Via Roma " + n).constData());
      DBFWriteStringAttribute(h, r, 3, QByteArray::number(10000 + r % 90000).constData());
      DBFWriteStringAttribute(h, r, 4, cities[r % 7]);
      DBFWriteStringAttribute(h, r, 5, "MI");
      QByteArray date = QDate(1950, 1, 1).addDays(r % 20000).toString(QStringLiteral("yyyyMMdd")).toLatin1();
      DBFWriteAttributeDirectly(h, r, 6, date.data());
      DBFWriteStringAttribute(h, r, 7, QByteArray::number(8000000000000LL + r).constData());
      DBFWriteLogicalAttribute(h, r, 8, r % 3 == 0 ? 'F' : 'T');
      DBFWriteDoubleAttribute(h, r, 9, (r % 2001 - 1000) * 1.25);
    }
    DBFClose(h);
    return true;
  }();
  (void)made;
  return dir.path();
}

QString Connection() { return pv::BuildConnectionString(pv::kSourceDBaseIII, Folder(), false, {}, {}); }

void FirstOpen(benchmark::State& state) {
  pv::SourceRecordset rs;
  Folder();  // written before the clock starts
  for (auto _ : state) {
    pv::ClearTableCache();
    rs.Open(Connection(), QStringLiteral("clienti"));
    benchmark::DoNotOptimize(rs.RecordCount());
  }
}
BENCHMARK(FirstOpen)->Unit(benchmark::kMillisecond);

// The same with the readers in this process instead of the reader program.
void FirstOpenInProcess(benchmark::State& state) {
  pv::SourceRecordset rs(pv::OpenSourceReaderInProcess);
  Folder();
  for (auto _ : state) {
    pv::ClearTableCache();
    rs.Open(Connection(), QStringLiteral("clienti"));
    benchmark::DoNotOptimize(rs.RecordCount());
  }
}
BENCHMARK(FirstOpenInProcess)->Unit(benchmark::kMillisecond);

// What a reader program costs by itself: started, the table opened, its
// columns answered, ended.
void ReaderProgramColumns(benchmark::State& state) {
  const pv::SourceLocation where{pv::SourceKind::DBase, Folder(), {}, {}};
  for (auto _ : state) benchmark::DoNotOptimize(pv::OpenSourceReader(where)->Columns(QStringLiteral("clienti")));
}
BENCHMARK(ReaderProgramColumns)->Unit(benchmark::kMillisecond);

void CachedOpen(benchmark::State& state) {
  pv::SourceRecordset rs;
  rs.Open(Connection(), QStringLiteral("clienti"));
  for (auto _ : state) {
    rs.Open(Connection(), QStringLiteral("clienti"));
    benchmark::DoNotOptimize(rs.RecordCount());
  }
}
BENCHMARK(CachedOpen)->Unit(benchmark::kMillisecond);

void FilterSortRequery(benchmark::State& state) {
  pv::SourceRecordset rs;
  rs.Open(Connection(), QStringLiteral("clienti"));
  for (auto _ : state) {
    rs.SetFilter(QStringLiteral("CITTA LIKE 'M*' AND SALDO > 0 AND ATTIVO = True"));
    rs.SetSort(QStringLiteral("[COGNOME] ASC, [NOME] DESC"));
    rs.Requery();
    benchmark::DoNotOptimize(rs.RecordCount());
    state.PauseTiming();
    rs.SetFilter(QString());
    rs.SetSort(QString());
    state.ResumeTiming();
  }
}
BENCHMARK(FilterSortRequery)->Unit(benchmark::kMillisecond);

// The sort alone of the 50,000 records by two text fields (the collation's
// cost): the table is already in the in-memory database.
void SortByName(benchmark::State& state) {
  pv::SourceRecordset rs;
  rs.Open(Connection(), QStringLiteral("clienti"));
  rs.SetFilter(QStringLiteral("SALDO > -10000"));  // the table goes into the database once
  for (auto _ : state) {
    rs.SetSort(QStringLiteral("[COGNOME] ASC, [NOME] ASC"));
    benchmark::DoNotOptimize(rs.RecordCount());
    state.PauseTiming();
    rs.SetSort(QString());
    state.ResumeTiming();
  }
}
BENCHMARK(SortByName)->Unit(benchmark::kMillisecond);

// An open followed by a filter and a sort: the table goes into the
// in-memory database for them.
void OpenThenFilter(benchmark::State& state) {
  pv::SourceRecordset rs;
  rs.Open(Connection(), QStringLiteral("clienti"));
  for (auto _ : state) {
    rs.Open(Connection(), QStringLiteral("clienti"));
    rs.SetFilter(QStringLiteral("CITTA LIKE 'M*' AND SALDO > 0"));
    rs.SetSort(QStringLiteral("[COGNOME] ASC"));
    benchmark::DoNotOptimize(rs.RecordCount());
  }
}
BENCHMARK(OpenThenFilter)->Unit(benchmark::kMillisecond);

void ReadEveryField(benchmark::State& state) {
  pv::SourceRecordset rs;
  rs.Open(Connection(), QStringLiteral("clienti"));
  for (auto _ : state) {
    for (int n = 0; n < rs.RecordCount(); ++n) {
      rs.MoveTo(n);
      for (int f = 0; f < rs.FieldCount(); ++f) benchmark::DoNotOptimize(rs.Value(f));
    }
  }
  state.SetItemsProcessed(state.iterations() * rs.RecordCount() * rs.FieldCount());
}
BENCHMARK(ReadEveryField)->Unit(benchmark::kMillisecond);

// What one label costs: its record reached at once, five fields by name.
void OneLabelsReads(benchmark::State& state) {
  pv::SourceRecordset rs;
  rs.Open(Connection(), QStringLiteral("clienti"));
  int n = 0;
  for (auto _ : state) {
    rs.MoveTo(n);
    n = (n + 7919) % kRecords;
    for (const char* f : {"NOME", "COGNOME", "INDIRIZZO", "CAP", "CITTA"}) {
      benchmark::DoNotOptimize(rs.Value(QString::fromLatin1(f)).toString());
    }
  }
}
BENCHMARK(OneLabelsReads)->Unit(benchmark::kMicrosecond);

// Parse time against the length of the filter: a chain of numeric terms and
// one nested as deep as allowed, repeated.
void ParseNumericChain(benchmark::State& state) {
  const QStringList fields{QStringLiteral("Price")};
  QStringList terms;
  for (int i = 0; i < state.range(0); ++i) terms << QStringLiteral("Price < %1.25").arg(i);
  const QString text = terms.join(QStringLiteral(" AND "));
  for (auto _ : state) benchmark::DoNotOptimize(pv::Criteria::Parse(text, fields).IsEmpty());
  state.SetComplexityN(text.size());
}
BENCHMARK(ParseNumericChain)
    ->RangeMultiplier(4)
    ->Range(256, 65536)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
