#pragma once
// The store of the data-merge templates (table rst_template of the program
// database): read with its own query, so no filter or current row of the
// shared recordset rsTemplate matters. Failures throw DbError.

#include <QString>

#include <vector>

namespace pv {

struct TemplateRow {
  double Width = 0;  // millimetres
  double Height = 0;
  QString Description;
  int ID_TEMPLATE = 0;
};

// Every template, in the table's own row order.
std::vector<TemplateRow> AllTemplates();

// Makes the table hold the delivered templates (DeliveredTemplates): a row
// that is missing, or differs from the delivered one, is written; other rows
// are left alone. A database made before a template was delivered gets it
// this way. rsTemplate is read again when something was written.
void EnsureDeliveredTemplateRows();

}  // namespace pv
