#include "datasources/windows/programquery.h"

#include "app/database.h"
#include "platform/db/dberror.h"

#include <QSqlDatabase>
#include <QSqlError>

namespace pv {

QSqlQuery RunProgramQuery(const QString& sql, const QVariantList& values) {
  QSqlDatabase db = QSqlDatabase::database(cnDatabase.ConnectionName, false);
  if (!db.isOpen()) throw DbError(DbErrClosed, QStringLiteral("Il database del programma non è aperto."));
  QSqlQuery q(db);
  if (!q.prepare(sql)) throw DbError(DbErrProvider, q.lastError().text());
  for (const QVariant& v : values) q.addBindValue(v);
  if (!q.exec()) throw DbError(DbErrProvider, q.lastError().text());
  return q;
}

}  // namespace pv
