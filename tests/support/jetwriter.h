#pragma once
// A minimal writer of Access (Jet 4) database files for tests: a catalogue
// and plain tables of text, whole numbers, doubles, dates and logicals, with
// Null anywhere but in logicals (which Access never leaves Null). No indexes,
// no memos, no long values: just enough for mdbtools to list and read them.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <vector>

namespace pv::testing {

enum class JetType { Text, Short, Long, Double, DateTime, Boolean };

struct JetColumn {
  QString name;
  JetType type = JetType::Text;
};

struct JetTable {
  QString name;
  std::vector<JetColumn> columns;
  // Values: QString, integers, double, QDate or QDateTime, bool; an invalid
  // QVariant is Null.
  std::vector<std::vector<QVariant>> rows;
};

// The whole file. Saved queries appear in the catalogue by name only.
QByteArray JetDatabase(const std::vector<JetTable>& tables, const QStringList& savedQueries = {});
bool WriteJetDatabase(const QString& path, const std::vector<JetTable>& tables, const QStringList& savedQueries = {});

}  // namespace pv::testing
