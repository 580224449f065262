// Fuzz target: bytes as a filter over the fixed table (fuzztable.h). A
// filter that parses must let the same rows through in memory
// (Criteria::Matches) and in SQLite (pv_match, as the data engine filters);
// SQLite must never refuse it.

#include "bench/fuzz/fuzztable.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace pv;
  fuzz::FuzzTable& table = fuzz::Table();
  const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  Criteria criteria;
  try {
    criteria = Criteria::Parse(text, table.names);
  } catch (const DbError&) {
    return 0;
  }
  std::vector<QVariant> inMemory;
  for (size_t r = 0; r < table.rows.size(); ++r) {
    if (criteria.Matches(table.rows[r])) inMemory.emplace_back(static_cast<qint64>(r + 1));
  }
  if (criteria.IsEmpty()) return 0;
  const QSqlDatabase db = QSqlDatabase::database(table.connection, false);
  if (static_cast<int>(criteria.Fields().size()) > SqliteArgumentLimit(db)) return 0;
  QStringList args;
  for (int f : criteria.Fields()) args << table.fieldSql.at(f);
  const QString sql = QStringLiteral("SELECT rowid FROM t WHERE %1(%2) ORDER BY rowid")
                          .arg(QString::fromLatin1(kMatchFunction), args.join(QStringLiteral(", ")));
  table.binding.criteria = &criteria;
  table.binding.row.clear();
  SqliteRows rows;
  try {
    rows = SelectRows(db, sql, {});
  } catch (const DbError&) {
    std::abort();
  }
  table.binding.criteria = nullptr;
  if (rows.values != inMemory) std::abort();
  return 0;
}

extern "C" void PlavikFuzzSeeds(void (*add)(const uint8_t*, size_t)) {
  pv::fuzz::AddTextSeeds(add,
                         {"[Id] = 1", "[Nome] LIKE 'an*' OR [Nome] LIKE '?lborg'",
                          "([Prezzo] >= 2.5 AND [Prezzo] < 1e10) OR [Prezzo] IS NULL",
                          "NOT [Attivo] = TRUE AND [Data] > #1995-01-01#", "[Ora] <= #2001-02-03 12:00:00#",
                          "[Note] <> '' AND [Note] LIKE '%y_'", "[Nome] = 'O''Brien' OR [Id] IN (1, 2, -7)",
                          "[Data] BETWEEN #1000-01-01# AND #9999-12-31#", "[Attivo] = FALSE OR [Attivo] IS NOT NULL"});
}
