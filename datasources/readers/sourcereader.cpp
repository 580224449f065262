#include "datasources/readers/sourcereader.h"

namespace pv {

void RowSink::Table(SourceTable&& table) {
  Columns(table.columns);
  for (std::vector<QVariant>& row : table.rows) Row(row);
}

SourceTable SourceReader::RunQuery(const QString&) {
  throw DbError(DbErrArguments, QStringLiteral("Questa origine dati non esegue query."));
}

}  // namespace pv
