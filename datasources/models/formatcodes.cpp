#include "datasources/models/formatcodes.h"

#include "core/database.h"
#include "platform/format.h"

#include <QDateTime>

namespace pv {

std::vector<FormatCode> FormatCodesOfKind(int kind) {
  std::vector<FormatCode> out;
  if (kind == FormatNone) return out;
  QSqlQuery q = RunProgramQuery(
      QStringLiteral("SELECT id_field, Format FROM rst_numericformat WHERE CODE = ? ORDER BY id_field"), {kind});
  while (q.next()) out.push_back({q.value(0).toLongLong(), q.value(1).toString()});
  return out;
}

std::optional<QString> FormatCodeById(qint64 id) {
  QSqlQuery q = RunProgramQuery(QStringLiteral("SELECT Format FROM rst_numericformat WHERE id_field = ?"), {id});
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
