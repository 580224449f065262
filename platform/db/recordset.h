#pragma once
// A recordset over a Qt SQL connection: the rows of a table or of a query,
// with a current row that every user of the object sees, moved through,
// filtered, searched and sorted in memory and written back row by row.
//
// - Open(source, connection): a bare table name opens the whole table in its
//   own row order; any other text is run as a query. A table, or a query over
//   one table, can be written: AddNew / field assignments / Update, Delete.
//   Rows are written back by the table's primary key (or, without one, by all
//   the row's old values).
// - Fields are reached by name without regard to case; Null stays Null.
// - Assigning a field of the current row starts an edit; moving to another
//   row while an edit is pending commits it first. A failed Update throws and
//   cancels the pending change, so the recordset stays usable.
// - Moves return whether a row is current afterwards: MoveNext from the
//   last row goes to the end (Eof() true) and returns false; MoveFirst of an
//   empty recordset returns false. Before the first row Bof() is true. A closed
//   recordset has neither rows nor fields: moves return false, Eof() and
//   Bof() are true, everything else throws DbError(DbErrClosed).
// - Filter: criteria text (see criteria.h); "" shows every row. Setting it
//   moves to the first row it leaves. Find searches from the current row.
// - Sort: "[Field] ASC, ..." orders the rows; "" restores the source order.
// - Requery reads the source again, keeping filter and sort.
// Booleans are written as -1 and 0.

#include "platform/db/criteria.h"
#include "platform/db/dberror.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <vector>

namespace pv {

class Recordset {
 public:
  using Bookmark = qint64;
  enum class EditMode { None, Edit, Add };

  Recordset() = default;
  Recordset(const Recordset&) = delete;
  Recordset& operator=(const Recordset&) = delete;

  void Open(const QString& source, const QString& connectionName);
  void Close();
  bool IsOpen() const { return m_open; }
  QString Source() const { return m_source; }
  QString ConnectionName() const { return m_connection; }
  // The table rows are written to; empty when the source cannot be written.
  QString BaseTable() const { return m_table; }

  bool MoveFirst();
  bool MoveLast();
  bool MoveNext();
  bool MovePrevious();
  bool Bof() const;
  bool Eof() const;
  // Rows the filter lets through (0 when closed).
  long RecordCount() const;
  // 1-based position of the current row; 0 when there is none.
  long AbsolutePosition() const;

  int FieldCount() const;
  QStringList FieldNames() const;
  QString FieldName(int index) const;
  bool HasField(const QString& name) const;
  QVariant Value(const QString& name) const;
  QVariant Value(int index) const;
  // Value as text; Null gives "".
  QString Text(const QString& name) const;
  // Value read as a Boolean: true when not Null and not zero.
  bool Flag(const QString& name) const;
  void SetValue(const QString& name, const QVariant& value);

  void AddNew();
  void Update();
  void CancelUpdate();
  EditMode Editing() const { return m_mode; }
  // Deletes the current row. It stays current (its fields cannot be read)
  // until the next move; MoveNext then goes to the row that followed it.
  void Delete();

  void SetFilter(const QString& criteria);
  QString Filter() const { return m_filterText; }
  // Searches for the first row matching `criteria`, from the current row
  // (skipping `skip` rows first), forward or backward. Not found: Eof()
  // (forward) or Bof() (backward) and false.
  bool Find(const QString& criteria, long skip = 0, bool forward = true);
  void SetSort(const QString& sort);
  QString Sort() const { return m_sortText; }
  void Requery();

  Bookmark GetBookmark() const;
  // Makes the row of the bookmark current; false when it is gone or filtered out.
  bool SetBookmark(Bookmark bookmark);

 private:
  struct Row {
    std::vector<QVariant> values;
    bool deleted = false;
  };

  void RequireOpen() const;
  void RequireCurrent() const;
  void Load();
  void RebuildView();
  void CommitPending();
  int Index(const QString& name) const;
  std::vector<QVariant> FetchRow(const std::vector<QVariant>& keyValues, bool* found) const;
  QString Quote(const QString& identifier) const;
  // The WHERE condition that finds a stored row again: by its primary key, or
  // by all its old values when there is none. Appends the values to bind.
  QString RowWhere(const std::vector<QVariant>& old, std::vector<QVariant>* binds) const;

  bool m_open = false;
  QString m_source;
  QString m_connection;
  QString m_table;
  QStringList m_fields;
  std::vector<int> m_keyFields;  // indices of the primary key fields; empty: match all
  bool m_refetch = false;        // every field is a column of m_table
  std::vector<Row> m_rows;       // source order; a bookmark is an index here
  std::vector<int> m_view;       // rows on show, in order
  long m_pos = -1;               // index in m_view; -1 BOF, size() EOF
  bool m_currentDeleted = false;
  QString m_filterText;
  Criteria m_filter;
  QString m_sortText;
  std::vector<SortKey> m_sort;
  EditMode m_mode = EditMode::None;
  std::vector<QVariant> m_buffer;
  std::vector<bool> m_changed;
};

}  // namespace pv
