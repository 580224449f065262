// Fuzz target: bytes as a sort over the fixed table (fuzztable.h). A sort
// that parses must order the rows in memory (CompareValues, a stable sort,
// as Recordset does) as SQLite orders them (PVSORT, ties by row, as the
// data engine sorts); SQLite must never refuse it.

#include "bench/fuzz/fuzztable.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace pv;
  fuzz::FuzzTable& table = fuzz::Table();
  const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  std::vector<SortKey> keys;
  try {
    keys = ParseSort(text, table.names);
  } catch (const DbError&) {
    return 0;
  }
  std::vector<int> order(table.rows.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    for (const SortKey& k : keys) {
      const auto f = static_cast<size_t>(k.field);
      const int c = CompareValues(table.rows[static_cast<size_t>(a)][f], table.rows[static_cast<size_t>(b)][f]);
      if (c != 0) return k.descending ? c > 0 : c < 0;
    }
    return false;
  });
  std::vector<QVariant> inMemory;
  for (int i : order) inMemory.emplace_back(static_cast<qint64>(i + 1));

  const QSqlDatabase db = QSqlDatabase::database(table.connection, false);
  // Repeated keys are dropped, so no sort of these fields reaches the limit.
  if (static_cast<int>(keys.size()) + 1 > SqliteColumnLimit(db)) std::abort();
  QStringList terms;
  for (const SortKey& k : keys) {
    terms << table.fieldSql.at(k.field) + QStringLiteral(" COLLATE ") + QString::fromLatin1(kSortCollation) +
                 (k.descending ? QStringLiteral(" DESC") : QString());
  }
  terms << QStringLiteral("rowid");
  SqliteRows rows;
  try {
    rows = SelectRows(db, QStringLiteral("SELECT rowid FROM t ORDER BY ") + terms.join(QStringLiteral(", ")), {});
  } catch (const DbError&) {
    std::abort();
  }
  if (rows.values != inMemory) std::abort();
  return 0;
}

extern "C" void PlavikFuzzSeeds(void (*add)(const uint8_t*, size_t)) {
  pv::fuzz::AddTextSeeds(add, {"[Nome] ASC", "[Prezzo] DESC, [Id]", "[Data] DESC, [Ora] ASC, [Attivo], [Note] DESC",
                               "Nome, Id DESC", "[Note], [Nome] DESC, [Note]"});
}
