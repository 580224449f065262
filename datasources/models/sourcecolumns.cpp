#include "datasources/models/sourcecolumns.h"

#include "datasources/connectionstring.h"
#include "datasources/registrations.h"

namespace pv {

namespace {

// The reader's name of the table a record source names, or "" for a query.
QString TableNamed(SourceReader& reader, QString source) {
  source = source.trimmed();
  if (source.startsWith(QLatin1Char('[')) && source.endsWith(QLatin1Char(']')))
    source = source.mid(1, source.size() - 2);
  for (const QString& table : reader.Tables()) {
    if (table.compare(source, Qt::CaseInsensitive) == 0) return table;
  }
  return QString();
}

}  // namespace

QStringList RegistrationColumns(const Registration& registration, const SourceRecordset::ReaderFactory& factory) {
  const QString connection = EffectiveConnectionString(registration);
  const SourceLocation where = ParseConnectionString(connection);
  const std::unique_ptr<SourceReader> reader = factory ? factory(where) : OpenSourceReader(where);
  const QString table = TableNamed(*reader, registration.recordSetName);
  if (!table.isEmpty()) {
    QStringList names;
    for (const SourceColumn& c : reader->Columns(table)) names << c.name;
    return names;
  }
  SourceRecordset query(factory);
  query.Open(connection, registration.recordSetName);
  return query.FieldNames();
}

}  // namespace pv
