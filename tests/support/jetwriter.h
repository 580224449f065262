#pragma once
// A minimal writer of Access (Jet 4) database files for tests: a catalogue
// and plain tables of text, whole numbers, doubles, currencies, dates,
// extended date/times, identifiers and logicals, with Null anywhere but in
// logicals (which Access never leaves Null), memos (in their row when short,
// else in a page of their own) and calculated columns, which store their
// results as Access 2010 does. No indexes, no memos over several pages: just
// enough for mdbtools to list and read them.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <vector>

namespace pv::testing {

// Decimal only as the result of a calculated column.
enum class JetType { Text, Short, Long, Double, DateTime, Boolean, Currency, Guid, ExtendedDateTime, Decimal, Memo };

struct JetColumn {
  QString name;
  JetType type = JetType::Text;
  // The column's values are results of a calculation, stored behind the
  // header Access puts before them.
  bool calculated = false;
  // Text in Jet 4's compressed form: one byte for each character up to
  // U+00FF, runs of UTF-16 for the others.
  bool compressed = false;
};

struct JetTable {
  QString name;
  std::vector<JetColumn> columns;
  // Values: QString, integers, double, QDate or QDateTime, bool; an invalid
  // QVariant is Null. Currencies and decimals as their text ("-12.5"),
  // identifiers as "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}".
  std::vector<std::vector<QVariant>> rows;
};

// The whole file. Saved queries appear in the catalogue by name only.
QByteArray JetDatabase(const std::vector<JetTable>& tables, const QStringList& savedQueries = {});
bool WriteJetDatabase(const QString& path, const std::vector<JetTable>& tables, const QStringList& savedQueries = {});

}  // namespace pv::testing
