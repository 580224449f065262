#pragma once
// Reading a user's data source: the tables of an Access file, a folder of
// dBASE or Paradox files, the sheets of an Excel workbook, or an ODBC data
// source name. A reader lists tables and their columns without loading
// records, and reads one table whole into typed values; the data engine loads
// what it reads into its own in-memory database.
//
// Values are Null (an invalid QVariant), qint64, double, ExactDecimal
// (platform/exactdecimal.h), QString, QDate or QDateTime, and bool. A number
// is never read into a double that cannot hold it: whole numbers of 64 bits
// are qint64, and a column of exact decimals (a server's NUMERIC with a
// scale or too wide for 64 bits, a currency, a wide dBASE number) holds
// ExactDecimal values. A QDateTime holds the source's wall-clock time with
// the UTC time spec (no zone, so no daylight-saving shift); a time of day
// alone stands on 30 December 1899. Every failure throws DbError with a readable text:
// a missing, damaged, truncated or foreign file never crashes or hangs.
#include "platform/db/dberror.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <vector>

namespace pv {

enum class SourceKind { Access, DBase, Paradox, Excel, Odbc };

enum class ColumnType { Integer, Double, Text, Date, DateTime, Boolean, Decimal };

struct SourceLocation {
  SourceKind kind = SourceKind::Access;
  // Access and Excel: the file; dBASE and Paradox: the folder; ODBC: the
  // data source name.
  QString path;
  QString user;
  QString password;
  // ODBC: the connection string as the registration holds it ("DSN=...;"
  // and the driver's own keys), given to the driver as it is. Empty: the
  // driver is given the data source name, and the user and password when
  // there are any.
  QString connection{};
};

struct SourceColumn {
  QString name;
  ColumnType type = ColumnType::Text;
};

struct SourceTable {
  std::vector<SourceColumn> columns;
  std::vector<std::vector<QVariant>> rows;  // each row has columns.size() values
};

// A table as a reader reads it: its columns once, then its rows in order.
// A reader that fails half way throws, and what the sink holds by then is
// no table.
class RowSink {
 public:
  virtual ~RowSink() = default;
  virtual void Columns(const std::vector<SourceColumn>& columns) = 0;
  // About how many rows follow, where the reader knows it beforehand.
  virtual void Reserve(std::size_t /*rows*/) {}
  // One row of columns.size() values; the sink may take them, leaving the
  // row empty, and the reader fills it again for the next.
  virtual void Row(std::vector<QVariant>& row) = 0;
  // A table read whole: its columns and then its rows, one by one.
  virtual void Table(SourceTable&& table);
};

class SourceReader {
 public:
  virtual ~SourceReader() = default;
  // The tables a user may pick: Access user tables (no system tables, no
  // saved queries), dBASE/Paradox files of the folder by name without
  // extension, Excel sheets as "Name$", ODBC tables.
  virtual QStringList Tables() = 0;
  // The columns of one table, without reading its records.
  virtual std::vector<SourceColumn> Columns(const QString& table) = 0;
  // One table whole. Table names match in any letter case.
  virtual SourceTable ReadTable(const QString& table) = 0;
  // ODBC only: the text runs on the server. Other readers throw.
  virtual bool RunsQueries() const { return false; }
  virtual SourceTable RunQuery(const QString& sql);
  // The same into a sink, row by row as the reader reads them where it can
  // (the reader program sends them on while it reads); by default the
  // table read whole.
  virtual void ReadTableRows(const QString& table, RowSink& sink) { sink.Table(ReadTable(table)); }
  virtual void RunQueryRows(const QString& sql, RowSink& sink) { sink.Table(RunQuery(sql)); }
  // The file a table is read from (for caching by modification time and
  // size); empty when there is none (ODBC).
  virtual QString TableFile(const QString& table) = 0;
};

// Opens the reader for a location. Throws DbError when the file or folder
// cannot be opened as that kind of source. The libraries run in the reader
// program (datasources/process), a process of its own, so a file that
// crashes or exhausts one is a DbError here too.
std::unique_ptr<SourceReader> OpenSourceReader(const SourceLocation& location);
// The same reader in this process: what the reader program runs.
std::unique_ptr<SourceReader> OpenSourceReaderInProcess(const SourceLocation& location);

}  // namespace pv
