#include "formats/templatestore.h"

#include "core/database.h"
#include "formats/templatedesigns.h"

#include <QSqlQuery>

namespace pv {

std::vector<TemplateRow> AllTemplates() {
  QSqlQuery q = RunProgramQuery(
      QStringLiteral("SELECT Width, Height, Description, ID_TEMPLATE FROM rst_template ORDER BY rowid"));
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
    RunProgramQuery(QStringLiteral("INSERT OR REPLACE INTO rst_template (Width, Height, Description, ID_TEMPLATE) "
                                   "VALUES (?, ?, ?, ?)"),
                    {t.Width, t.Height, t.Description, t.ID_TEMPLATE});
    written = true;
  }
  if (written && rsTemplate.IsOpen()) rsTemplate.Requery();
}

}  // namespace pv
