#pragma once
// The records of one registered data source, as the manager view browses
// them and the print run merges them.
//
// Open(connection string, source) reads the source into a private in-memory
// SQLite database:
// - a source that names one of the source's tables (in any letter case, with
//   or without [brackets]) loads that table;
// - a single word, or a name in [brackets] or ending in "$" (a sheet), that
//   is none of the source's tables is refused: "La tabella o il foglio ...
//   non esiste nell'origine dati.", the message for any table of the source
//   that is gone, at open or at a requery;
// - any other source is a query: it is rewritten from the registrations'
//   SQL dialect (querytext.h) and run there, each table it names being
//   loaded when the query first needs it; an ODBC source runs the query on
//   its server instead. A query is one statement that only reads
//   (CreateTableFromQuery in sqlitefunctions.h): the in-memory database
//   attaches nothing and writes no file.
// Tables read from files are kept for the run (tablecache.h). A table opened
// by name goes into the in-memory database only when a filter or a sort
// first needs it; until then its rows are read from the table as it was read.
//
// The rows on show are the source's rows passed through Filter (criteria.h
// syntax; the same rows Criteria::Matches would let through) and ordered by
// Sort ("[Field] ASC, [Other] DESC": text in the Italian order in any case
// (sortcollation.h), numbers by their exact values, Null first, ties in
// source order). They are read whole whenever the
// filter, the sort or the source changes, so RecordCount is exact and
// MoveTo(n) and Value(i) take constant time. Field names match in any case.
//
// The cursor: after Open, SetFilter, SetSort and Requery the first row is
// current (or Eof when there is none). MoveNext past the last row gives Eof,
// MovePrevious before the first Bof; Value at Bof or Eof throws.
//
// Filtering and sorting the rows (at Open, SetFilter, SetSort and Requery)
// is work the user waits for: with a wait installed it runs on a worker
// thread while the window repaints, shows the reader's notice after a second
// and may be cancelled (waitedwork.h). A cancel throws DbError of
// DbErrCancelled and leaves the rows and settings in force, as a refused
// filter does. While the rows are picked the recordset may be read, and
// every call that would change it is refused.
//
// Values are typed: Null (invalid QVariant), qint64, double, ExactDecimal,
// QString, QDate, QDateTime, bool. Every failure throws DbError; a failed SetFilter or
// SetSort leaves the previous rows and setting in force, and so does a
// Requery that cannot read a table; a Requery that fails later closes the
// recordset. A filter or sort the in-memory database cannot apply is
// refused in the program's words, never the database's.

#include "datasources/readers/sourcereader.h"

#include "platform/db/criteria.h"
#include "platform/db/sqlitefunctions.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace pv {

struct Registration;

class SourceRecordset {
 public:
  using ReaderFactory = std::function<std::unique_ptr<SourceReader>(const SourceLocation&)>;

  // Readers come from OpenSourceReader unless a factory is given (tests).
  explicit SourceRecordset(ReaderFactory factory = {});
  ~SourceRecordset();
  SourceRecordset(const SourceRecordset&) = delete;
  SourceRecordset& operator=(const SourceRecordset&) = delete;

  // Opens a source: a table name or a query text on the source the
  // connection string describes (connectionstring.h). Filter and sort start
  // empty. Closes what was open first.
  void Open(const QString& connectionString, const QString& source);
  // Opens a registration: its effective connection string and record source.
  void Open(const Registration& registration);
  // Closes what is open; the memory of rows that go with it is given back to
  // the system.
  void Close();
  bool IsOpen() const { return m_open; }
  QString ConnectionString() const { return m_connection; }
  QString Source() const { return m_source; }

  // The filter and the sort in force ("" for none); setting one reads the
  // rows again and makes the first current.
  QString Filter() const { return m_filterText; }
  void SetFilter(const QString& filter);
  QString Sort() const { return m_sortText; }
  void SetSort(const QString& sort);
  // Reads the source again (tables whose file changed, the query, an ODBC
  // source) with the filter and sort in force; the first row is current.
  void Requery();

  int RecordCount() const { return m_rowCount; }
  bool MoveFirst() { return MoveTo(0); }
  bool MoveLast() { return MoveTo(m_rowCount - 1); }
  bool MoveNext();
  bool MovePrevious();
  // Makes row n (0-based) current; false (and Eof) when there is none.
  bool MoveTo(int n);
  bool Bof() const { return m_pos < 0 || m_rowCount == 0; }
  bool Eof() const { return m_pos >= m_rowCount || m_rowCount == 0; }
  // The current row's 0-based index; -1 at Bof or Eof.
  int Position() const { return Bof() || Eof() ? -1 : m_pos; }

  int FieldCount() const { return static_cast<int>(m_fields.size()); }
  QStringList FieldNames() const { return m_fields; }
  QString FieldName(int index) const;
  ColumnType FieldType(int index) const;
  // The index of a field by name in any case; -1 when there is none.
  int FieldIndex(const QString& name) const;
  // The current row's values.
  QVariant Value(int index) const;
  QVariant Value(const QString& name) const;
  // Any row's value, without moving.
  QVariant ValueAt(int row, int index) const;

 private:
  // Close without giving the rows' memory back: true when rows went with it.
  bool Release();
  struct LoadedTable {
    QString name;                             // as the source spells it
    QString alias;                            // as the SQL names it
    std::shared_ptr<const SourceTable> rows;  // what was loaded
    bool stored = false;                      // in the in-memory database yet
    bool keptAsIs = false;                    // its rows can be shown as they are
  };

  // The rows on show as ReadRows makes them (m_table and the rest below).
  struct ShownRows {
    std::shared_ptr<const SourceTable> table;
    bool allRows = false;
    std::vector<int> order;
    std::vector<QVariant> values;
    int rowCount = 0;
  };

  void Fail();
  void RefuseWhileWorking() const;
  void OpenDatabase();
  QString ReaderTableNamed(const QString& name);
  std::shared_ptr<const SourceTable> ReadSourceTable(const QString& readerName);
  void LoadTable(const QString& readerName, const QString& alias, std::shared_ptr<const SourceTable> rows = nullptr);
  void StoreTable(const QSqlDatabase& db, LoadedTable& table);
  std::optional<ShownRows> CopyTableRows() const;
  const QVariant& At(int row, int index) const;
  void BuildQueryResult();
  // Shows the rows a filter and a sort pick. They are picked on a worker
  // thread while the window waits (waitedwork.h), and shown once picked: a
  // cancel leaves the rows on show as they were.
  void ReadRows(const Criteria& criteria, const std::vector<SortKey>& sort);
  // The picking, which changes nothing on show; `db` is the in-memory
  // database, made beforehand where the rows need it.
  ShownRows PickRows(const QSqlDatabase& db, const Criteria& criteria, const std::vector<SortKey>& sort);
  void Describe(const std::vector<SqliteColumn>& columns, const QStringList& names);

  ReaderFactory m_factory;
  std::unique_ptr<SourceReader> m_reader;
  bool m_open = false;
  SourceKind m_kind = SourceKind::Access;
  QString m_connection;
  QString m_source;
  QString m_dbName;  // the Qt SQL connection of the in-memory database
  bool m_isTable = false;
  QString m_query;  // rewritten query text (query sources)
  QString m_base;   // the SQL table the rows are read from
  std::vector<LoadedTable> m_loaded;

  QStringList m_fields;
  QStringList m_fieldSql;
  std::vector<int> m_types;  // QMetaType ids
  SqliteCriteria m_binding;

  QString m_filterText;
  Criteria m_criteria;
  QString m_sortText;
  std::vector<SortKey> m_sort;

  // The rows on show: rows of a loaded table (all in order, or those
  // picked), else values row after row.
  std::shared_ptr<const SourceTable> m_table;
  bool m_allRows = false;
  std::vector<int> m_order;
  std::vector<QVariant> m_values;
  int m_rowCount = 0;
  int m_pos = -1;
  // Rows are being picked on the worker: the window's events may read the
  // rows on show, and may change nothing.
  bool m_working = false;
};

}  // namespace pv
