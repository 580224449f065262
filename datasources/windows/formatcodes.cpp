#include "datasources/windows/formatcodes.h"

#include "app/database.h"
#include "platform/db/dberror.h"
#include "platform/format.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace pv {

namespace {

QSqlQuery Run(const QString& sql, const QVariant& value) {
  QSqlDatabase db = QSqlDatabase::database(cnDatabase.ConnectionName, false);
  if (!db.isOpen()) throw DbError(DbErrClosed, QStringLiteral("Il database del programma non è aperto."));
  QSqlQuery q(db);
  if (!q.prepare(sql)) throw DbError(DbErrProvider, q.lastError().text());
  q.addBindValue(value);
  if (!q.exec()) throw DbError(DbErrProvider, q.lastError().text());
  return q;
}

}  // namespace

std::vector<FormatCode> FormatCodesOfKind(int kind) {
  std::vector<FormatCode> out;
  if (kind == FormatNone) return out;
  QSqlQuery q =
      Run(QStringLiteral("SELECT id_field, Format FROM rst_numericformat WHERE CODE = ? ORDER BY id_field"), kind);
  while (q.next()) out.push_back({q.value(0).toLongLong(), q.value(1).toString()});
  return out;
}

std::optional<QString> FormatCodeById(qint64 id) {
  QSqlQuery q = Run(QStringLiteral("SELECT Format FROM rst_numericformat WHERE id_field = ?"), id);
  if (!q.next()) return std::nullopt;
  return q.value(0).toString();
}

QString FormatSample(int kind, const QString& format) {
  switch (kind) {
    case FormatNumber: return Format(123.456, format);
    case FormatDate:
    case FormatTime: return Format(QDateTime::currentDateTime(), format);
    case FormatCurrency: return Format(1000.0, format);
    case FormatCounter: return format;
    default: return QString();
  }
}

}  // namespace pv
