#include "datasources/models/storedfilters.h"

#include "core/database.h"
#include "platform/db/dberror.h"

namespace pv {

namespace {

void RequeryShared() {
  if (rsSqlString.IsOpen()) rsSqlString.Requery();
}

}  // namespace

std::vector<StoredFilter> LoadStoredFilters() {
  QSqlQuery q = RunProgramQuery(QStringLiteral("SELECT ID, SQL_STRING FROM rst_sqlstring ORDER BY ID"), {});
  std::vector<StoredFilter> out;
  while (q.next()) out.push_back({q.value(0).toLongLong(), q.value(1).toString()});
  return out;
}

void StoreFilter(const QString& text) {
  RunProgramQuery(QStringLiteral("INSERT INTO rst_sqlstring (SQL_STRING) VALUES (?)"), {text});
  RequeryShared();
}

void DeleteStoredFilter(qint64 id) {
  QSqlQuery q = RunProgramQuery(QStringLiteral("DELETE FROM rst_sqlstring WHERE ID = ?"), {id});
  if (q.numRowsAffected() != 1) throw DbError(DbErrNoCurrentRecord, QStringLiteral("Stringa filtro non trovata."));
  RequeryShared();
}

}  // namespace pv
