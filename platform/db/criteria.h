#pragma once
// Criteria of a recordset's Filter and Find, and its Sort text.
//
// Criteria: comparisons joined by AND / OR, with parentheses:
//   [Field Name] op value    or    FIELD op value
// op: = <> < <= > >= LIKE; value: a number (with "." as decimal point),
// 'text' ('' for a quote), #date# (mm/dd/yyyy, optionally with a time, or
// yyyy-mm-dd) or NULL. LIKE takes * or % for any run of characters and ? or _
// for one. Text compares without regard to case (over all of Unicode).
// TRUE and FALSE are the numbers -1 and 0, which is how Booleans compare.
// Parentheses nest at most 100 deep.
//
// Sort: "[Field] ASC, Field2 DESC, Field3" (ASC when no direction is given).

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <vector>

namespace pv {

class Criteria {
 public:
  // Parses `text` against the field names (matched without regard to case).
  // Throws DbError (DbErrArguments) for bad syntax or an unknown field.
  static Criteria Parse(const QString& text, const QStringList& fieldNames);

  Criteria();
  ~Criteria();
  Criteria(Criteria&&) noexcept;
  Criteria& operator=(Criteria&&) noexcept;

  bool IsEmpty() const { return m_root == nullptr; }
  // Whether a row (values in field order) matches; an empty criteria matches.
  bool Matches(const std::vector<QVariant>& row) const;

  // The same criteria as an SQL condition, for a database that filters the
  // rows itself. fieldSql holds the SQL expression of each field. Tests for
  // Null are plain SQL; every other comparison is a call `function(?, field)`
  // whose bound value is the comparison's number: the database's function
  // answers with MatchTerm(number, field value), so both ways give the same
  // rows. Empty criteria give an empty text.
  struct SqlCondition {
    QString text;
    QVariantList binds;
  };
  SqlCondition ToSql(const QStringList& fieldSql, const QString& function) const;
  // The field a comparison reads, and whether a value passes it.
  int TermField(int term) const;
  bool MatchTerm(int term, const QVariant& value) const;

  struct Node;

 private:
  std::unique_ptr<Node> m_root;
  std::vector<const Node*> m_terms;
};

struct SortKey {
  int field = 0;
  bool descending = false;
};

// Throws DbError (DbErrArguments or DbErrItemNotFound).
std::vector<SortKey> ParseSort(const QString& text, const QStringList& fieldNames);

// Orders two field values as the recordset's Sort does: Null first, numbers
// by value, dates by time, text without regard to case. <0, 0, >0.
int CompareValues(const QVariant& a, const QVariant& b);

// The index of `name` among `fieldNames` without regard to case, or -1.
int FieldIndex(const QStringList& fieldNames, const QString& name);

}  // namespace pv
