#pragma once
// The fixed table the filter and sort fuzz targets read: fields of every
// type the data engine keeps, a few rows with Null, letter case, Unicode and
// numbers in text, held both as typed values and in an in-memory SQLite
// table filled as the data engine fills one.

#include "platform/db/criteria.h"
#include "platform/db/dberror.h"
#include "platform/db/sqlitefunctions.h"

#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QSqlDatabase>

#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <vector>

namespace pv::fuzz {

struct FuzzTable {
  QStringList names;
  std::vector<SqliteColumn> columns;
  std::vector<int> types;  // QMetaType ids by field
  std::vector<std::vector<QVariant>> rows;
  QStringList fieldSql;
  QString connection;
  SqliteCriteria binding;
};

inline FuzzTable& Table() {
  static FuzzTable* table = [] {
    static int argc = 1;
    static char name[] = "plavik_fuzz";
    static char* argv[] = {name, nullptr};
    if (QCoreApplication::instance() == nullptr) new QCoreApplication(argc, argv);
    auto* t = new FuzzTable;
    t->columns = {
        {QStringLiteral("Id"), QStringLiteral("INTEGER")},   {QStringLiteral("Nome"), QStringLiteral("TEXT")},
        {QStringLiteral("Prezzo"), QStringLiteral("REAL")},  {QStringLiteral("Data"), QStringLiteral("DATE")},
        {QStringLiteral("Ora"), QStringLiteral("DATETIME")}, {QStringLiteral("Attivo"), QStringLiteral("BOOLEAN")},
        {QStringLiteral("Note"), QStringLiteral("TEXT")}};
    for (size_t i = 0; i < t->columns.size(); ++i) {
      t->names << t->columns[i].name;
      t->types.push_back(MetaTypeOfDeclared(t->columns[i].declaredType));
      t->fieldSql << QuoteIdentifier(t->columns[i].name);
    }
    const QVariant null;
    const auto at = [](int y, int mo, int d, int h, int mi, int s) {
      return QDateTime(QDate(y, mo, d), QTime(h, mi, s));
    };
    t->rows = {
        {qint64(1), QStringLiteral("Anna"), 12.5, QDate(1990, 5, 1), at(2001, 2, 3, 12, 0, 0), true,
         QStringLiteral("12")},
        {qint64(2), QStringLiteral("anna"), -3.25, QDate(1996, 12, 31), at(1999, 12, 31, 23, 59, 59), false, null},
        {qint64(-7), QStringLiteral("Ålborg"), 0.0, null, null, true, QStringLiteral("")},
        {null, QStringLiteral("ΟΔΟΣ"), null, QDate(2017, 3, 4), at(2017, 3, 4, 0, 0, 0), null, QStringLiteral("x*y?")},
        {qint64(34), QStringLiteral("O'Brien"), 1e10, QDate(1000, 1, 1), at(2020, 6, 1, 8, 30, 0), false,
         QStringLiteral("2001-02-03")},
        {qint64(0), null, 2.5, QDate(9999, 12, 31), null, true, QStringLiteral("straße")},
    };
    t->connection = QStringLiteral("pv_fuzz");
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), t->connection);
    db.setDatabaseName(QStringLiteral(":memory:"));
    if (!db.open()) std::abort();
    try {
      ExecSql(db, QStringLiteral("PRAGMA encoding = 'UTF-16le'"));
      InstallSqliteFunctions(db, &t->binding);
      RestrictSqliteConnection(db);
      CreateFilledTable(db, QStringLiteral("t"), t->columns, t->rows);
    } catch (const DbError&) {
      std::abort();
    }
    t->binding.fieldTypes = t->types;
    return t;
  }();
  return *table;
}

}  // namespace pv::fuzz

namespace pv::fuzz {

// Texts to start from, one a seed.
inline void AddTextSeeds(void (*add)(const uint8_t*, size_t), std::initializer_list<const char*> texts) {
  for (const char* t : texts) add(reinterpret_cast<const uint8_t*>(t), std::strlen(t));
}

}  // namespace pv::fuzz
