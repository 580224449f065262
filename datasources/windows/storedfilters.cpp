#include "datasources/windows/storedfilters.h"

#include "app/database.h"
#include "platform/db/dberror.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace pv {

namespace {

QSqlQuery Prepared(const QString& sql) {
  QSqlDatabase db = QSqlDatabase::database(cnDatabase.ConnectionName, false);
  if (!db.isOpen()) throw DbError(DbErrClosed, QStringLiteral("Il database del programma non è aperto."));
  QSqlQuery q(db);
  if (!q.prepare(sql)) throw DbError(DbErrProvider, q.lastError().text());
  return q;
}

void Run(QSqlQuery& q) {
  if (!q.exec()) throw DbError(DbErrProvider, q.lastError().text());
}

void RequeryShared() {
  if (rsSqlString.IsOpen()) rsSqlString.Requery();
}

}  // namespace

std::vector<StoredFilter> LoadStoredFilters() {
  QSqlQuery q = Prepared(QStringLiteral("SELECT ID, SQL_STRING FROM rst_sqlstring ORDER BY ID"));
  Run(q);
  std::vector<StoredFilter> out;
  while (q.next()) out.push_back({q.value(0).toLongLong(), q.value(1).toString()});
  return out;
}

void StoreFilter(const QString& text) {
  QSqlQuery q = Prepared(QStringLiteral("INSERT INTO rst_sqlstring (SQL_STRING) VALUES (?)"));
  q.addBindValue(text);
  Run(q);
  RequeryShared();
}

void DeleteStoredFilter(qint64 id) {
  QSqlQuery q = Prepared(QStringLiteral("DELETE FROM rst_sqlstring WHERE ID = ?"));
  q.addBindValue(id);
  Run(q);
  if (q.numRowsAffected() != 1) throw DbError(DbErrNoCurrentRecord, QStringLiteral("Stringa filtro non trovata."));
  RequeryShared();
}

}  // namespace pv
