#include "formats/templatestore.h"

#include "app/database.h"
#include "formats/templatedesigns.h"
#include "platform/db/dberror.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace pv {

namespace {

QSqlQuery Run(const QString& sql, const QVariantList& values = {}) {
  if (!cnDatabase.IsOpen()) throw DbError(DbErrClosed, QStringLiteral("Il database non è aperto."));
  QSqlQuery q(QSqlDatabase::database(cnDatabase.ConnectionName, false));
  if (!q.prepare(sql)) throw DbError(DbErrProvider, q.lastError().text());
  for (const QVariant& v : values) q.addBindValue(v);
  if (!q.exec()) throw DbError(DbErrProvider, q.lastError().text());
  return q;
}

}  // namespace

std::vector<TemplateRow> AllTemplates() {
  QSqlQuery q = Run(QStringLiteral("SELECT Width, Height, Description, ID_TEMPLATE FROM rst_template ORDER BY rowid"));
  std::vector<TemplateRow> out;
  while (q.next()) {
    TemplateRow r;
    r.Width = q.value(0).isNull() ? 0.0 : q.value(0).toDouble();
    r.Height = q.value(1).isNull() ? 0.0 : q.value(1).toDouble();
    r.Description = q.value(2).isNull() ? QString() : q.value(2).toString();
    r.ID_TEMPLATE = q.value(3).toInt();
    out.push_back(r);
  }
  return out;
}

void EnsureDeliveredTemplateRows() {
  std::vector<TemplateRow> stored = AllTemplates();
  bool written = false;
  for (const DeliveredTemplate& t : DeliveredTemplates()) {
    bool same = false;
    for (const TemplateRow& r : stored) {
      if (r.ID_TEMPLATE == t.ID_TEMPLATE) {
        same = r.Width == t.Width && r.Height == t.Height && r.Description == t.Description;
        break;
      }
    }
    if (same) continue;
    Run(QStringLiteral("INSERT OR REPLACE INTO rst_template (Width, Height, Description, ID_TEMPLATE) "
                       "VALUES (?, ?, ?, ?)"),
        {t.Width, t.Height, t.Description, t.ID_TEMPLATE});
    written = true;
  }
  if (written && rsTemplate.IsOpen()) rsTemplate.Requery();
}

}  // namespace pv
