#pragma once
// What this program adds to its in-memory SQLite databases (QSQLITE
// connections): the collation text sorts by (sortcollation.h), a function
// that filters as the criteria of criteria.h do, the sort key of exact
// decimals, and the way typed values are kept in SQLite.
//
// Stored values: Null, integers, doubles and text as themselves; Booleans as
// -1 and 0; dates as "yyyy-MM-dd" and date-times as "yyyy-MM-ddTHH:mm:ss"
// (".zzz" after it for milliseconds), which sort and compare in time order,
// and read back as wall-clock times (the UTC spec); exact decimals (exactdecimal.h) as
// doubles where a double holds them (so a query computes and compares with
// them), else as their text, in a column of kDecimalDeclaredType, which
// keeps either as it is given.

#include "platform/db/criteria.h"

#include <QSqlDatabase>
#include <QVariant>

#include <chrono>
#include <vector>

namespace pv {

// The collation an ORDER BY sorts text with (CompareForSort).
inline constexpr const char* kSortCollation = "PVSORT";
// The function `pv_decimalkey(value)`: a blob that sorts as the exact
// decimal a value of a kDecimalDeclaredType column is (Null stays Null).
inline constexpr const char* kDecimalKeyFunction = "pv_decimalkey";
// The declared type of a column of exact decimals (no affinity: SQLite
// converts nothing stored there).
inline constexpr const char* kDecimalDeclaredType = "DECIMAL BLOB";
// The function `pv_match(value, ...)`: whether a row passes the criteria in
// force, given the values of the fields they read (Criteria::Fields), in that
// order. The whole filter is that one call, however long its chains.
inline constexpr const char* kMatchFunction = "pv_match";

// The criteria a connection's pv_match answers for, and the type of each
// field's values (a QMetaType id; 0 reads them as they are stored).
struct SqliteCriteria {
  const Criteria* criteria = nullptr;
  std::vector<int> fieldTypes;
  mutable std::vector<QVariant> row;  // pv_match's row, kept between calls
};

// Installs the collation, pv_match and pv_decimalkey on an open QSQLITE
// connection.
// pv_match reads `*binding` at each call: it must live as long as the
// connection. Throws DbError when the connection is not SQLite.
void InstallSqliteFunctions(const QSqlDatabase& db, const SqliteCriteria* binding);
// Takes from a connection whatever reaches beyond it: no database can be
// attached and no extension loaded, and the schema is not writable as data.
void RestrictSqliteConnection(const QSqlDatabase& db);
// The most arguments a function call takes, and the most columns (and
// ORDER BY terms) a statement has, on a connection.
int SqliteArgumentLimit(const QSqlDatabase& db);
int SqliteColumnLimit(const QSqlDatabase& db);

// A value as SQLite keeps it, and back by the field's type.
QVariant StoredValue(const QVariant& value);
QVariant TypedValue(QVariant stored, int metaType);

// Bulk work straight on the SQLite connection under a QSQLITE connection;
// every failure throws DbError with SQLite's text.
struct SqliteColumn {
  QString name;
  QString declaredType;  // INTEGER, REAL, TEXT, DATE, DATETIME, BOOLEAN, kDecimalDeclaredType
};
// The QMetaType id of a declared type (0 when it is none of the above).
int MetaTypeOfDeclared(const QString& declaredType);
// Runs statements that return no rows.
void ExecSql(const QSqlDatabase& db, const QString& sql);
// Stops the statement running on the connection, if any, which fails as
// interrupted; safe from any thread while another runs it.
void InterruptSqlite(const QSqlDatabase& db);
// Creates `table` and fills it with rows of typed values in one transaction.
void CreateFilledTable(const QSqlDatabase& db, const QString& table, const std::vector<SqliteColumn>& columns,
                       const std::vector<std::vector<QVariant>>& rows);
// Runs a query with its bound values. `types` (QMetaType ids by column, may
// be empty) turns the stored values back into typed ones.
struct SqliteRows {
  std::vector<SqliteColumn> columns;  // declared type empty for an expression
  std::vector<QVariant> values;       // row after row
  qint64 rowCount = 0;
};
SqliteRows SelectRows(const QSqlDatabase& db, const QString& sql, const QVariantList& binds,
                      const std::vector<int>& types = {});
// Runs a user's query, which must be one statement that only reads (a ";",
// blanks and comments may follow it), into a new `table` whose columns are
// named c0, c1, ... with the declared types of the query's columns where
// they are the ones above. Returns the query's columns: its names, made
// unique as SQLite names a subquery's ("Nome", "Nome:1"), and declared types.
// The text runs under an authorizer that lets it read and call plain
// functions only. Throws DbError: an Italian refusal for any other text;
// SQLite's text when the query fails (e.g. "no such table: X").
// A query still running after the time limit (60 s unless set otherwise) is
// stopped with an Italian message.
std::vector<SqliteColumn> CreateTableFromQuery(const QSqlDatabase& db, const QString& table, const QString& query);
void SetUserQueryTimeLimit(std::chrono::milliseconds limit);
// An identifier in double quotes.
QString QuoteIdentifier(const QString& name);

}  // namespace pv
