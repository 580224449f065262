// source-dump CONNECTION SOURCE [--filter F] [--sort S]
//
// Lists the records of a table or query of a data source, as the data
// engine gives them: a line of field names, then one line per record
// (fields separated by tabs; Null empty, dates yyyy-mm-dd, Booleans -1 and 0),
// then the record count.

#include "datasources/sourcerecordset.h"

#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QTextStream>

namespace {

QString Text(const QVariant& v) {
  if (!v.isValid() || v.isNull()) return QString();
  switch (v.metaType().id()) {
    case QMetaType::Bool: return v.toBool() ? QStringLiteral("-1") : QStringLiteral("0");
    case QMetaType::QDate: return v.toDate().toString(Qt::ISODate);
    case QMetaType::QDateTime: return v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    case QMetaType::Double: return QString::number(v.toDouble(), 'g', 15);
    default: return v.toString();
  }
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QTextStream out(stdout), err(stderr);
  QStringList args = app.arguments().mid(1);
  QString filter, sort;
  QStringList positional;
  for (int i = 0; i < args.size(); ++i) {
    if ((args[i] == QLatin1String("--filter") || args[i] == QLatin1String("--sort")) && i + 1 < args.size()) {
      (args[i] == QLatin1String("--filter") ? filter : sort) = args[i + 1];
      ++i;
    } else {
      positional << args[i];
    }
  }
  if (positional.size() != 2) {
    err << "uso: source-dump CONNESSIONE ORIGINE [--filter F] [--sort S]\n";
    return 2;
  }
  try {
    pv::SourceRecordset rs;
    rs.Open(positional[0], positional[1]);
    if (!filter.isEmpty()) rs.SetFilter(filter);
    if (!sort.isEmpty()) rs.SetSort(sort);
    out << rs.FieldNames().join(QLatin1Char('\t')) << '\n';
    for (bool more = rs.MoveFirst(); more; more = rs.MoveNext()) {
      QStringList fields;
      for (int i = 0; i < rs.FieldCount(); ++i) fields << Text(rs.Value(i));
      out << fields.join(QLatin1Char('\t')) << '\n';
    }
    out << rs.RecordCount() << " record\n";
  } catch (const pv::DbError& e) {
    out.flush();
    err << "source-dump: " << e.Description() << '\n';
    return 1;
  }
  return 0;
}
